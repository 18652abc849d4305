#include "editors/primarywizard.h"

#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "checks/namechecks.h"
#include "checks/numberchecks.h"
#include "editors/namecompletion.h"
#include "editors/newzoneserver.h"
#include "editors/primaryzonecreation.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "zone/recordlines.h"
#include "zone/zonenormaliser.h"
#include "zone/zoneselect.h"
#include "zonebrowser/zonetree.h"

#include <algorithm>

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kInformation = QStringLiteral("Information");

const std::array<QString, 5> kNumberWords{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                                          QStringLiteral("four"), QStringLiteral("five")};
const std::array<QString, 5> kOrdinals{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third"),
                                       QStringLiteral("fourth"), QStringLiteral("fifth")};

bool isBlank(const QString& text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

// An IPv4 address goes into the host list, an IPv6 address into the other records, as the host editor puts them.
void appendHostAddress(ZoneModel& zone, const QString& host, const QString& address)
{
    if (address.contains(QLatin1Char(':')))
        zone.otherrecords.append(
            contextFreeLine(host, QString(), QStringLiteral("IN"), QStringLiteral("AAAA"), address));
    else
        zone.hostaddrs.appendLine(hostAddressLine(host, address));
}

QString withoutFinalDot(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) ? text.chopped(1) : text;
}

QStringList hostNames(const WizardFields& fields)
{
    return QStringList(fields.names.begin(), fields.names.end());
}

bool isHostName(const WizardFields& fields, const QString& name)
{
    return std::find(fields.names.begin(), fields.names.end(), name) != fields.names.end();
}

// The first non-empty field that a later field repeats.
std::optional<QString> firstRepeated(const std::array<QString, 5>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i].isEmpty())
            continue;
        for (std::size_t j = i + 1; j < values.size(); ++j) {
            if (values[j] == values[i])
                return values[i];
        }
    }
    return std::nullopt;
}

bool refuseRepeated(const std::array<QString, 5>& values, const QString& what, Prompter& prompter)
{
    const std::optional<QString> repeated = firstRepeated(values);
    if (!repeated)
        return false;
    prompter.message(kInformation,
                     what + *repeated + QStringLiteral(" has been entered more than once. Please Re-Enter."),
                     Prompter::Button::Ok, Prompter::Icon::Information);
    return true;
}

// The question when a server or alias target has no host of the wizard: true to go on. Yes lets the user pick
// one of the host names, which replaces the field.
bool confirmWithoutHost(const WizardFields& fields, std::size_t row, const QString& subject, const QString& caption,
                        QString& field, Prompter& prompter, const WizardHostPicker& pick)
{
    if (isHostName(fields, field))
        return true;
    const QString start =
        QStringLiteral("You have not defined a host address record for ") + subject + QStringLiteral(". ");
    const bool noHosts =
        std::all_of(fields.names.begin(), fields.names.end(), [](const QString& name) { return name.isEmpty(); });
    Prompter::Button answer;
    if (noHosts) {
        answer = prompter.message(kInformation,
                                  start + QStringLiteral("You have not created any host addresses to choose from. "
                                                         "Click \"OK\" to proceed anyways, or \"CANCEL\" to re-enter."),
                                  Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
    } else {
        answer = prompter.message(
            kInformation,
            start + QStringLiteral("Press \"YES\" to select from the list of already defined host "
                                   "addresses, \"OK\" to proceed anyways, or \"CANCEL\" to "
                                   "re-enter."),
            Prompter::Button::Yes | Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
    }
    if (answer == Prompter::Button::Yes) {
        if (const std::optional<QString> chosen = pick(caption, hostNames(fields), int(row) + 1))
            field = *chosen;
        return true;
    }
    return answer == Prompter::Button::Ok;
}

// The name and mail server pages share their checks; only the texts differ.
bool checkServers(std::array<QString, 5>& servers, WizardFields& fields, AppState& state, Prompter& prompter,
                  const WizardHostPicker& pick, const QString& pickerCaption, bool mail)
{
    for (std::size_t row = 0; row < servers.size(); ++row) {
        QString& server = servers[row];
        if (server.isEmpty())
            continue;
        if (hasIllegalCharacters(server)) {
            const QString text = mail && row == 4 ? QStringLiteral("You have illegal characters in field five.")
                                                  : QStringLiteral("You have illegal characters in name field ") +
                                                        kNumberWords[row] + QLatin1Char('.');
            prompter.message(kAttention, text);
            return false;
        }
        const std::optional<QString> completed =
            checkServerName(server, fields.name, state.tlds, state.domainDefaults.askBeforeEachNameServer, prompter);
        if (!completed)
            return false;
        server = stripToNameCharacters(*completed);
        if (!confirmWithoutHost(fields, row, QStringLiteral("name ") + kNumberWords[row], pickerCaption, server,
                                prompter, pick))
            return false;
        if (!mail && !isHostName(fields, server) && liesInZone(server, fields.name) &&
            !proceedWithoutHost(server, ServerKind::NameServer, prompter).proceed)
            return false;
    }
    return true;
}

} // namespace

WizardHostPicker prompterHostPicker(Prompter& prompter)
{
    return [&prompter](const QString& caption, const QStringList& names, int) -> std::optional<QString> {
        const std::optional<int> index = prompter.pick(caption, names);
        if (!index || *index < 0 || *index >= names.size())
            return std::nullopt;
        return names.at(*index);
    };
}

WizardFields prefillWizard(const AppState& state, const QString& zone)
{
    WizardFields fields;
    fields.name = zone;
    const SoaTimings timings = wizardTimings(state.setup);
    fields.serial = timings.serial;
    fields.refresh = timings.refresh;
    fields.retry = timings.retry;
    fields.expire = timings.expire;
    fields.minimum = timings.minimum;
    fields.user = state.emailaddr;
    fields.nameservers = state.setup.defaultns;
    fields.mailservers = state.setup.defaultmail;
    fields.names = state.setup.defaulthost;
    fields.aliases = state.setup.defaultalias;
    return fields;
}

bool checkZoneInformation(WizardFields& fields, Prompter& prompter)
{
    const std::array<std::pair<const QString*, QString>, 5> values{{
        {&fields.serial, QStringLiteral("Serial Input Error. Re-Enter.")},
        {&fields.refresh, QStringLiteral("Refresh Input Error. Re-Enter.")},
        {&fields.retry, QStringLiteral("Retry Input Error. Re-Enter.")},
        {&fields.expire, QStringLiteral("Expire Input Error. Re-Enter.")},
        {&fields.minimum, QStringLiteral("Time To Live Input Error. Re-Enter.")},
    }};
    for (const auto& value : values) {
        if (isBlank(*value.first)) {
            prompter.message(kAttention, QStringLiteral("You must enter all values before proceeding."));
            return false;
        }
    }
    for (const auto& value : values) {
        if (hasIllegalCharacters(*value.first)) {
            prompter.message(QStringLiteral("Error."), value.second);
            return false;
        }
        // A value the name server cannot read as a number or a time makes it refuse the zone.
        const bool serial = value.first == &fields.serial;
        if (serial ? !isSoaSerial(*value.first) : !isSoaTime(*value.first)) {
            prompter.message(QStringLiteral("Error."), value.second + QStringLiteral(" The value must be ") +
                                                           (serial ? soaSerialForm() : soaTimeForm()) +
                                                           QLatin1Char('.'));
            return false;
        }
    }
    QString user = fields.user.isEmpty() ? QStringLiteral("default.default.com") : fields.user;
    user.replace(QLatin1Char('@'), QLatin1Char('.'));
    if (isBlank(user) || hasIllegalCharacters(user)) {
        prompter.message(kAttention, QStringLiteral("The administrator's e-mail address on the Setup page cannot "
                                                    "serve as the zone's mailbox. Correct it there first."));
        return false;
    }
    if (!user.endsWith(QLatin1Char('.')))
        user += QLatin1Char('.');
    fields.user = user;
    return true;
}

bool checkHostAddresses(WizardFields& fields, AppState& state, Prompter& prompter)
{
    for (std::size_t row = 0; row < 5; ++row) {
        if (!fields.names[row].isEmpty() && fields.ips[row].isEmpty()) {
            prompter.message(QStringLiteral("Error!"), QStringLiteral("If you fill in a name field, you must fill in a "
                                                                      "corresponding IP field."));
            return false;
        }
    }
    for (std::size_t row = 0; row < 5; ++row) {
        if (fields.names[row].isEmpty() && !fields.ips[row].isEmpty()) {
            prompter.message(QStringLiteral("Error!"), QStringLiteral("If you fill in an IP field, you must fill in a "
                                                                      "corresponding name field."));
            return false;
        }
    }
    for (std::size_t row = 0; row < 5; ++row) {
        QString& name = fields.names[row];
        QString& address = fields.ips[row];
        if (name.isEmpty())
            continue;
        const QString ordinal = row == 0 ? QString() : kOrdinals[row] + QLatin1Char(' ');
        if (hasIllegalCharacters(name)) {
            prompter.message(kAttention, QStringLiteral("You have illegal characters in the ") + ordinal +
                                             QStringLiteral("host name field."));
            return false;
        }
        if (hasIllegalAddressCharacters(address)) {
            prompter.message(kAttention, QStringLiteral("You have illegal characters in the ") + ordinal +
                                             QStringLiteral("IP field."));
            return false;
        }
        const std::optional<IpAddress> parsed = IpAddress::parse(withoutFinalDot(address));
        if (!parsed) {
            prompter.message(kAttention, ipAddressRefusal(QStringLiteral("You have entered an invalid IP# in the ") +
                                                              kOrdinals[row] + QStringLiteral(" IP# field. Re-Enter."),
                                                          withoutFinalDot(address)));
            return false;
        }
        const std::optional<QString> completed = completeZoneName(
            name.toLower(), fields.name, state.tlds, state.domainDefaults.askBeforeEachNameServer, prompter);
        if (!completed)
            return false;
        name = stripToNameCharacters(*completed);
        address = parsed->text();
    }
    return !refuseRepeated(fields.names, QStringLiteral("Host address "), prompter);
}

bool checkNameServers(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick)
{
    if (!checkServers(fields.nameservers, fields, state, prompter, pick, QStringLiteral("Name Server Selection..."),
                      false))
        return false;
    return !refuseRepeated(fields.nameservers, QStringLiteral("Name Server "), prompter);
}

bool checkAliases(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick)
{
    for (std::size_t row = 0; row < 5; ++row) {
        if (!fields.aliases[row].isEmpty() && fields.actuals[row].isEmpty()) {
            prompter.message(QStringLiteral("Error!"), QStringLiteral("If you fill in an alias field, you must fill "
                                                                      "in a corresponding real field."));
            return false;
        }
    }
    for (std::size_t row = 0; row < 5; ++row) {
        if (fields.aliases[row].isEmpty() && !fields.actuals[row].isEmpty()) {
            prompter.message(QStringLiteral("Error!"), QStringLiteral("If you fill in a real field, you must fill in "
                                                                      "a corresponding alias field."));
            return false;
        }
    }
    for (std::size_t row = 0; row < 5; ++row) {
        QString& alias = fields.aliases[row];
        QString& target = fields.actuals[row];
        if (alias.isEmpty())
            continue;
        const QString word = kNumberWords[row];
        if (hasIllegalCharacters(alias)) {
            prompter.message(kAttention, QStringLiteral("You have illegal characters in alias name field ") + word +
                                             QLatin1Char('.'));
            return false;
        }
        const std::optional<QString> completedAlias =
            checkServerName(alias, fields.name, state.tlds, state.domainDefaults.askBeforeEachNameServer, prompter);
        if (!completedAlias)
            return false;
        alias = *completedAlias;
        if (hasIllegalCharacters(target)) {
            prompter.message(kAttention,
                             QStringLiteral("You have illegal characters in alias name-to-point-to field ") + word +
                                 QLatin1Char('.'));
            return false;
        }
        const std::optional<QString> completedTarget =
            completeZoneName(target, fields.name, state.tlds, state.domainDefaults.askBeforeEachNameServer, prompter);
        if (!completedTarget)
            return false;
        target = stripToNameCharacters(*completedTarget);
        if (isHostName(fields, alias)) {
            prompter.message(QStringLiteral("Please re-enter."),
                             QStringLiteral("Alias ") + QString::number(row + 1) +
                                 QStringLiteral(" is already referenced as a host address."));
            return false;
        }
        if (!confirmWithoutHost(fields, row, QStringLiteral("alias ") + word,
                                QStringLiteral("Alias Host Address Selection..."), target, prompter, pick))
            return false;
    }
    return !refuseRepeated(fields.aliases, QStringLiteral("Alias "), prompter);
}

bool checkMailServers(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick)
{
    if (!checkServers(fields.mailservers, fields, state, prompter, pick, QStringLiteral("Mail Server Selection..."),
                      true))
        return false;
    return !refuseRepeated(fields.mailservers, QStringLiteral("Mail Server "), prompter);
}

void buildWizardZone(ZoneModel& zone, const WizardFields& fields, const NewZoneServer& owner)
{
    const QString& z = fields.name;
    zone.dnsname = z;
    zone.sourceofauth =
        SoaRecord(QStringList{z + QLatin1Char('.'), owner.server + QLatin1Char('.') + z + QLatin1Char('.'), fields.user,
                              fields.serial, fields.refresh, fields.retry, fields.expire, fields.minimum});
    zone.nameservers.clear();
    zone.mailservers.clear();
    zone.hostaddrs.clear();
    zone.aliases.clear();
    for (const QString& nameServer : fields.nameservers) {
        if (!nameServer.isEmpty())
            zone.nameservers.appendLine(wizardNameServerLine(z, nameServer));
    }
    // A zone without a name server is refused by the name server: with none given, the loaded server serves it.
    const bool ownNameServer = zone.nameservers.isEmpty();
    if (ownNameServer)
        zone.nameservers.appendLine(wizardNameServerLine(z, owner.nameServer));
    for (std::size_t row = 0; row < fields.mailservers.size(); ++row) {
        if (!fields.mailservers[row].isEmpty())
            zone.mailservers.appendLine(
                wizardMailServerLine(z, QString::number((row + 1) * 10), fields.mailservers[row]));
    }
    zone.otherrecords.clear();
    QStringList hostsGiven;
    for (std::size_t row = 0; row < fields.names.size(); ++row) {
        if (!fields.names[row].isEmpty() && !fields.ips[row].isEmpty()) {
            appendHostAddress(zone, fields.names[row], fields.ips[row]);
            hostsGiven << fields.names[row];
        }
    }
    if (ownNameServer && !owner.address.isEmpty() && !hostsGiven.contains(owner.nameServer))
        appendHostAddress(zone, owner.nameServer, owner.address);
    for (std::size_t row = 0; row < fields.aliases.size(); ++row) {
        if (!fields.aliases[row].isEmpty() && !fields.actuals[row].isEmpty())
            zone.aliases.appendLine(aliasLine(fields.aliases[row], fields.actuals[row]));
    }
}

WizardFinish finishWizard(ZoneContext& context, WizardFields& fields, const WizardHostPicker& pick,
                          const std::function<void()>& reloadBootFile)
{
    if (!checkMailServers(fields, context.state, context.prompter, pick))
        return WizardFinish::Refused;
    return saveWizardZone(context, fields, reloadBootFile);
}

WizardFinish saveWizardZone(ZoneContext& context, const WizardFields& fields,
                            const std::function<void()>& reloadBootFile)
{
    AppState& state = context.state;
    context.progress.showProgress();
    context.progress.setProgress(25);
    // The zone of this wizard is the one saved, whatever the browser selected meanwhile.
    state.selection.primdnsname = fields.name;
    state.selection.primfilename = fields.name + QStringLiteral(".DNS");
    buildWizardZone(state.zone, fields, newZoneServer(state, fields.name));
    context.progress.setProgress(50);
    const ZoneSaveResult saved = saveZone(context);
    context.progress.hideProgress();
    if (!saved.ok())
        return WizardFinish::SaveFailed;
    if (reloadBootFile)
        reloadBootFile();
    return WizardFinish::Finished;
}

bool abandonWizardZone(AppState& state, QString& zone, const std::function<void()>& deletePrimary)
{
    const QString created = zone;
    zone.clear();
    const int index = created.isEmpty() ? -1 : findZoneIndex(state.zoneLists.primdns, created);
    if (index < 0)
        return false;
    selectPrimary(state.selection, state.zoneLists, index);
    state.zoneLists.skipNextDeleteQuestion = true;
    deletePrimary();
    return true;
}
