#include "session/settings.h"

#include "checks/namechecks.h"
#include "platform/filereading.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"

#include <QDir>
#include <algorithm>
#include <array>

namespace {

const QString kInit = QStringLiteral("Initialization");
const QString kChoices = QStringLiteral("Default Choices");
const QString kServers = QStringLiteral("Servers");
const QString kReverse = QStringLiteral("Reverse Mapping");
const QString kSoa = QStringLiteral("Default Start of Authority");

struct DefaultsSection
{
    QString section;
    QString valuePrefix;
    std::array<QString, 5> SetupDefaults::*field;
};

const DefaultsSection kWizardSections[] = {
    {QStringLiteral("Default Name Servers"), QStringLiteral("Name Server "), &SetupDefaults::defaultns},
    {QStringLiteral("Default Mail Servers"), QStringLiteral("Mail Server "), &SetupDefaults::defaultmail},
    {QStringLiteral("Default Host Addresses"), QStringLiteral("Host Address "), &SetupDefaults::defaulthost},
    {QStringLiteral("Default Aliases"), QStringLiteral("Alias "), &SetupDefaults::defaultalias},
};

struct NamedField
{
    QString name;
    QString SetupDefaults::*field;
};

const NamedField kSoaFields[] = {
    {QStringLiteral("Serial"), &SetupDefaults::runningSerial},
    {QStringLiteral("Refresh"), &SetupDefaults::defaultrefresh},
    {QStringLiteral("Retry"), &SetupDefaults::defaultretry},
    {QStringLiteral("Expire"), &SetupDefaults::defaultexpire},
    {QStringLiteral("Minimum"), &SetupDefaults::defaultminimum},
};

// Each "don't ask again" is stored as "YES"; anything else asks.
struct ChoiceField
{
    QString name;
    bool DomainEditDefaults::*ask;
};

const ChoiceField kChoiceFields[] = {
    {QStringLiteral("Host Addresses"), &DomainEditDefaults::askBeforeEachHost},
    {QStringLiteral("Name Servers"), &DomainEditDefaults::askBeforeEachNameServer},
    {QStringLiteral("Mail Servers"), &DomainEditDefaults::askBeforeEachMailServer},
    {QStringLiteral("Alias Names"), &DomainEditDefaults::askBeforeEachAliasName},
    {QStringLiteral("Alias Point"), &DomainEditDefaults::askBeforeEachAliasTarget},
};

const QString kDoNotAsk = QStringLiteral("YES");

// The indexes of the numbered values ("Server 0", "Ignore 3") below the stored count that are really present,
// in order. A damaged count far above the entries present must cost nothing.
QList<int> presentIndexes(const SettingsStore& store, const QString& section, const QString& prefix, int count)
{
    QList<int> indexes;
    for (const QString& name : store.valueNames(section)) {
        if (!name.startsWith(prefix))
            continue;
        bool ok = false;
        const int index = name.mid(prefix.size()).toInt(&ok);
        if (ok && index >= 0 && index < count && name == prefix + QString::number(index))
            indexes << index;
    }
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

QString askServerDomain(const QString& identifier, Prompter& prompter)
{
    const QString question = QStringLiteral("Question : What is the domain name of server:\n") + identifier +
                             QStringLiteral("\nThis dialog will only appear once for each server.");
    for (;;) {
        const QString answer =
            prompter.input(QStringLiteral("Database Requirement Change"), question).value_or(QString());
        if (!answer.isEmpty() && !hasIllegalCharacters(answer))
            return identifier + QLatin1Char('@') + identifier + QLatin1Char('.') + answer;
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("You have entered an invalid server name."));
    }
}

void loadCatalog(AppState& state, const SettingsStore& store, Prompter& prompter)
{
    state.catalog.clear();
    const int count = store.integer(kServers, QStringLiteral("Number of Servers"));
    const QString prefix = QStringLiteral("Server ");
    for (const int index : presentIndexes(store, kServers, prefix, count)) {
        ManagedServer server = ManagedServer::fromStoredForm(store.text(kServers, prefix + QString::number(index)));
        if (server.identifier.isEmpty())
            continue;
        if (!server.identifier.contains(QLatin1Char('@')))
            server.identifier = askServerDomain(server.identifier, prompter);
        state.catalog.add(server);
    }
}

void loadReverseIgnores(AppState& state, const SettingsStore& store)
{
    state.zoneLists.reverseignore.clear();
    const int count = store.integer(kReverse, QStringLiteral("Number of Ignores"));
    const QString prefix = QStringLiteral("Ignore ");
    for (const int index : presentIndexes(store, kReverse, prefix, count))
        state.zoneLists.reverseignore << store.text(kReverse, prefix + QString::number(index));
}

QStringList readNameList(const QString& folder, const QString& fileName)
{
    // Name filters match without regard to case, so "contacts.CBX" is found as well.
    const QDir dir(folder);
    const QStringList matches = dir.entryList({fileName}, QDir::Files);
    QStringList lines;
    if (matches.isEmpty())
        return lines;
    const FileReadResult read = readWholeFile(dir.filePath(matches.first()), ReadLimit::kSmallFile);
    if (!read.ok())
        return lines;
    for (QByteArray line : read.bytes->split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLatin1(line);
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

QString runningSerialForDate(const QDate& date)
{
    return date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("01");
}

void loadSettings(AppState& state, const SettingsStore& store, Prompter& prompter, const Platform& platform)
{
    state.emailaddr = store.text(kInit, QStringLiteral("E-Mail Address"));
    state.version = store.text(kInit, QStringLiteral("Version"), QStringLiteral("1.0"));
    state.autoBackup =
        store.text(kInit, QStringLiteral("AutoBackup"), QStringLiteral("true")) != QLatin1String("false");

    state.tlds.load(store.text(kInit, QStringLiteral("TLD")));
    state.ndcProgram = store.text(kInit, QStringLiteral("Control Program"), defaultControlProgram());
    state.bind9 = Bind9Settings::load(store);
    state.ftpHost = store.text(kInit, QStringLiteral("Root Cache FTP Server"), AppState().ftpHost);
    bool portOk = false;
    const int port = store.text(kInit, QStringLiteral("Root Cache FTP Port")).toInt(&portOk);
    state.ftpPort = portOk && port > 0 && port < 65536 ? port : AppState().ftpPort;
    state.whoisserver = store.text(kInit, QStringLiteral("WHOIS Server"));
    if (state.whoisserver.trimmed().isEmpty())
        state.whoisserver = AppState::defaultWhoisServer();

    for (const ChoiceField& choice : kChoiceFields)
        state.domainDefaults.*choice.ask = store.text(kChoices, choice.name) != kDoNotAsk;
    state.firsttime = store.text(kInit, QStringLiteral("First Time?"));
    state.defaultsecondary = store.text(kInit, QStringLiteral("Default Secondary"));
    for (const DefaultsSection& section : kWizardSections) {
        for (int i = 0; i < 5; ++i)
            (state.setup.*section.field)[i] = store.text(section.section, section.valuePrefix + QString::number(i + 1));
    }
    for (const NamedField& soa : kSoaFields)
        state.setup.*soa.field = store.text(kSoa, soa.name);

    state.setup.runningSerial = runningSerialForDate(platform.now().date());

    loadReverseIgnores(state, store);
    loadCatalog(state, store, prompter);

    if (state.version == QLatin1String("1.0") && !state.catalog.displayNames().isEmpty()) {
        prompter.message(QStringLiteral("Attention!"),
                         QStringLiteral("Due to changes in Quorvane, you will need to re-import your servers via the "
                                        "ADD SERVER option. None of your server data has been modified, however, "
                                        "Quorvane will not be able to access your servers until you re-import them."));
        state.catalog.clear();
        state.zoneLists.reverseignore.clear();
    }
    state.version = QStringLiteral("1.50");

    state.mail.registryAddress = store.text(kInit, QStringLiteral("NIC-Mailto"));
    state.mail.smtpServer = store.text(kInit, QStringLiteral("NIC-Server"));
    state.mail.senderAddress = store.text(kInit, QStringLiteral("NIC-EMail"));
    state.mail.senderName = store.text(kInit, QStringLiteral("NIC-Name"));
    for (const QString& section : RegistrationDefaults::sections()) {
        auto& values = state.registration.values[section];
        values.clear();
        for (const QString& name : RegistrationDefaults::valueNames(section))
            values.insert(name, store.text(section, name));
    }

    loadNameLists(state, platform.appDataPath());
}

void loadNameLists(AppState& state, const QString& folder)
{
    state.contactNames = readNameList(folder, QStringLiteral("Contacts.cbx"));
    state.hostNames = readNameList(folder, QStringLiteral("hosts.cbx"));
    state.domainNames = readNameList(folder, QStringLiteral("domains.cbx"));
}

bool saveSettings(const AppState& state, SettingsStore& store, QString* errorText)
{
    store.setText(kInit, QStringLiteral("E-Mail Address"), state.emailaddr);
    store.setText(kInit, QStringLiteral("Version"), state.version);
    store.setText(kInit, QStringLiteral("Default Secondary"), state.defaultsecondary);
    store.setText(kInit, QStringLiteral("First Time?"), state.firsttime);
    store.setText(kInit, QStringLiteral("NIC-EMail"), state.mail.senderAddress);
    store.setText(kInit, QStringLiteral("NIC-Name"), state.mail.senderName);
    store.setText(kInit, QStringLiteral("NIC-Server"), state.mail.smtpServer);
    store.setText(kInit, QStringLiteral("NIC-Mailto"), state.mail.registryAddress);
    store.setText(kInit, QStringLiteral("AutoBackup"),
                  state.autoBackup ? QStringLiteral("true") : QStringLiteral("false"));
    store.setText(kInit, QStringLiteral("TLD"), state.tlds.storedValue());
    store.setText(kInit, QStringLiteral("Control Program"), state.ndcProgram);
    state.bind9.save(store);
    store.setText(kInit, QStringLiteral("Root Cache FTP Server"), state.ftpHost);
    store.setText(kInit, QStringLiteral("Root Cache FTP Port"), QString::number(state.ftpPort));
    store.setText(kInit, QStringLiteral("WHOIS Server"), state.whoisserver);

    for (const ChoiceField& choice : kChoiceFields)
        store.setText(kChoices, choice.name, state.domainDefaults.*choice.ask ? QString() : kDoNotAsk);
    for (const DefaultsSection& section : kWizardSections) {
        for (int i = 0; i < 5; ++i)
            store.setText(section.section, section.valuePrefix + QString::number(i + 1),
                          (state.setup.*section.field)[i]);
    }
    for (const NamedField& soa : kSoaFields)
        store.setText(kSoa, soa.name, state.setup.*soa.field);

    const QList<ManagedServer> servers = state.catalog.liveRows();
    store.setInteger(kServers, QStringLiteral("Number of Servers"), int(servers.size()));
    for (int i = 0; i < servers.size(); ++i)
        store.setText(kServers, QStringLiteral("Server ") + QString::number(i), servers.at(i).storedForm());

    store.setInteger(kReverse, QStringLiteral("Number of Ignores"), int(state.zoneLists.reverseignore.size()));
    for (int i = 0; i < state.zoneLists.reverseignore.size(); ++i)
        store.setText(kReverse, QStringLiteral("Ignore ") + QString::number(i), state.zoneLists.reverseignore.at(i));

    return store.sync(errorText);
}
