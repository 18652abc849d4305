#include "editors/servereditors.h"

#include "checks/namechecks.h"
#include "checks/numberchecks.h"
#include "editors/namecompletion.h"
#include "platform/prompter.h"
#include "session/appstate.h"
#include "zone/recordlines.h"

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kReEnter = QStringLiteral("Re-Enter.");

// A display text's part before its first blank, and the part after the run of blanks that follows it.
QString firstPart(const QString& display)
{
    const qsizetype blank = display.indexOf(QLatin1Char(' '));
    return blank < 0 ? display : display.left(blank);
}

QString afterFirstBlanks(const QString& display)
{
    qsizetype at = display.indexOf(QLatin1Char(' '));
    if (at < 0)
        return QString();
    while (at < display.size() && display.at(at) == QLatin1Char(' '))
        ++at;
    return display.mid(at);
}

// checkServerName and checkHostRecord: the name field receives the completed name, or the host picked
// instead. False when the user is to re-enter.
bool completeServerName(ZoneContext& context, QString& name, ServerKind kind)
{
    AppState& state = context.state;
    const QString origin = zoneOrigin(state);
    const std::optional<QString> completed =
        checkServerName(name, origin, state.tlds, state.domainDefaults.askBeforeEachNameServer, context.prompter);
    if (!completed)
        return false;
    name = *completed;
    const HostRecordCheck host = checkHostRecord(name, kind, origin, state.zone.hostaddrs, context.prompter);
    if (host.pickedHost)
        name = *host.pickedHost;
    return host.proceed;
}

EditResult refusePriority(Prompter& prompter)
{
    return refuse(prompter, kAttention,
                  QStringLiteral("You have entered an invalid priority in the value field (MX): it must be a whole "
                                 "number from 0 to 65535. Re-Enter"));
}

} // namespace

NameServerFields nameServerFieldsAt(const ZoneModel& zone, int index)
{
    QString name = zone.nameservers.display(index);
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return NameServerFields{name};
}

MailServerFields mailServerFieldsAt(const ZoneModel& zone, int index)
{
    const QString display = zone.mailservers.display(index);
    return MailServerFields{firstPart(display), afterFirstBlanks(display)};
}

EditResult saveNameServer(ZoneContext& context, NameServerFields& fields)
{
    AppState& state = context.state;
    Prompter& prompter = context.prompter;
    RecordList& records = state.zone.nameservers;
    if (fields.second.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the name field before saving. Re-Enter"));
    if (hasIllegalCharacters(fields.second))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in field one."));
    const QString soaOwner = state.zone.sourceofauth.value(SoaRecord::Owner);
    if (!usesAtOwner(soaOwner)) {
        if (!completeServerName(context, fields.second, ServerKind::NameServer))
            return EditResult{EditStatus::Refused, QString()};
        const QStringList& displays = records.displays();
        for (int i = 0; i < displays.size(); ++i) {
            if (i != records.editIndex() && displays.at(i) == fields.second)
                return refuse(prompter, kReEnter, QStringLiteral("You already have entered this name server."));
        }
    }
    const QString name = stripToNameCharacters(fields.second);
    return storeRecord(context, records, nameServerLine(soaOwner, state.selection.primdnsname, name), name, name);
}

EditResult saveMailServer(ZoneContext& context, MailServerFields& fields)
{
    AppState& state = context.state;
    Prompter& prompter = context.prompter;
    RecordList& records = state.zone.mailservers;
    if (fields.second.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the name field before saving. Re-Enter"));
    if (fields.value.isEmpty())
        return refuse(prompter, kAttention, QStringLiteral("You must enter a priority before saving. Re-Enter"));
    if (hasIllegalCharacters(fields.second))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in the name field."));
    const QString soaOwner = state.zone.sourceofauth.value(SoaRecord::Owner);
    if (!usesAtOwner(soaOwner)) {
        const QStringList& displays = records.displays();
        for (int i = 0; i < displays.size(); ++i) {
            if (i != records.editIndex() && afterFirstBlanks(displays.at(i)) == fields.value)
                return refuse(prompter, kAttention,
                              QStringLiteral("You have entered the same mail server priority for 2 servers. Please "
                                             "Re-Enter."));
        }
        if (hasIllegalCharacters(fields.value))
            return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in value field (MX)."));
        if (!isMailPriority(fields.value))
            return refusePriority(prompter);
        if (!completeServerName(context, fields.second, ServerKind::MailServer))
            return EditResult{EditStatus::Refused, QString()};
        for (int i = 0; i < displays.size(); ++i) {
            if (i != records.editIndex() && firstPart(displays.at(i)) == fields.second)
                return refuse(prompter, kReEnter, QStringLiteral("You already have entered this mail server."));
        }
    }
    // The name server refuses a zone whose mail priority is no number from 0 to 65535, whatever the owner.
    if (!isMailPriority(fields.value))
        return refusePriority(prompter);
    const QString name = stripToNameCharacters(fields.second);
    const QString line = mailServerLine(soaOwner, state.selection.primdnsname, fields.value, name);
    return storeRecord(context, records, line, name + QStringLiteral("     ") + fields.value, name);
}
