#include "editors/editresult.h"

#include "checks/namechecks.h"
#include "editors/dependentrecords.h"
#include "editors/newzoneserver.h"
#include "editors/recorddeletion.h"
#include "platform/prompter.h"
#include "server/history/changesummary.h"
#include "server/serverchange.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "zone/hostaddresses.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/recordlist.h"

QString zoneOrigin(const AppState& state)
{
    QString origin = state.zone.dnsname.isEmpty() ? state.selection.primdnsname : state.zone.dnsname;
    if (origin.endsWith(QLatin1Char('.')))
        origin.chop(1);
    return origin;
}

EditResult refuse(Prompter& prompter, const QString& caption, const QString& text)
{
    prompter.message(caption, text);
    return EditResult{EditStatus::Refused, QString()};
}

EditResult saveChanged(ZoneContext& context, const QString& treeText, const QString& description)
{
    const ChangeNote note(description);
    const ZoneSaveResult saved = saveZone(context);
    return EditResult{saved.ok() ? EditStatus::Stored : EditStatus::SaveFailed, treeText};
}

QString recordChangeDescription(const AppState& state, const QStringList& removedLines, const QStringList& addedLines)
{
    return describeRecordChange(zoneOrigin(state), removedLines, addedLines);
}

QString recordLineAt(const ZoneModel& zone, RecordKind kind, int index)
{
    if (kind == RecordKind::HostAddress) {
        const std::optional<HostAddressEntry> entry = hostAddressEntryAt(zone, index);
        return entry ? entry->line : QString();
    }
    return zone.records(kind).line(index);
}

QStringList lineAtEditIndex(const RecordList& records)
{
    return records.isValidIndex(records.editIndex()) ? QStringList{records.line(records.editIndex())} : QStringList();
}

EditResult storeRecord(ZoneContext& context, RecordList& records, const QString& line, const QString& display,
                       const QString& treeText)
{
    const QString description = recordChangeDescription(context.state, lineAtEditIndex(records), {line});
    if (!records.storeAtEditIndex(line, display))
        return EditResult{EditStatus::NoRecord, treeText};
    return saveChanged(context, treeText, description);
}

QString absoluteName(const QString& name, const QString& origin)
{
    if (name == QLatin1String("@"))
        return origin.toLower() + QLatin1Char('.');
    return qualifyWithOrigin(name, origin).toLower();
}

bool ownsRecordIn(const RecordList& records, const QString& name, const QString& origin, int except)
{
    const QString wanted = absoluteName(name, origin);
    for (int index = 0; index < records.count(); ++index) {
        if (index != except && absoluteName(recordOwner(records.line(index)), origin) == wanted)
            return true;
    }
    return false;
}

bool otherRecordAt(const ZoneModel& zone, const QString& name, const QString& origin, bool aliasOnly)
{
    const QString wanted = absoluteName(name, origin);
    for (const QString& line : zone.otherrecords.lines()) {
        const OtherRecordFields fields = otherRecordFields(line);
        if (fields.record && absoluteName(fields.owner, origin) == wanted &&
            (!aliasOnly || fields.type.compare(QLatin1String("CNAME"), Qt::CaseInsensitive) == 0))
            return true;
    }
    return false;
}

namespace {

// The other records of the types, each as its absolute owner and its data: records a list does not hold (a time
// to live of their own, say) count as much as the list's.
QList<std::pair<QString, QString>> otherRecordsOf(const ZoneModel& zone, const QStringList& types,
                                                  const QString& origin)
{
    QList<std::pair<QString, QString>> found;
    for (const QString& line : zone.otherrecords.lines()) {
        const OtherRecordFields fields = otherRecordFields(line);
        if (fields.record && types.contains(fields.type, Qt::CaseInsensitive))
            found.append({absoluteName(fields.owner, origin), fields.data});
    }
    return found;
}

// Whether the zone keeps a name server record of its own without the list's record at the index.
bool otherNameServerOfTheZone(const AppState& state, int index)
{
    const QString origin = zoneOrigin(state);
    const QString apex = absoluteName(QStringLiteral("@"), origin);
    if (state.zone.nameservers.count() > 1 || index != 0)
        return true;
    for (const auto& [owner, target] : otherRecordsOf(state.zone, {QStringLiteral("NS")}, origin)) {
        if (owner == apex)
            return true;
    }
    return false;
}

// The name server inside the zone whose only address record is the host at the position of the "Host Addresses"
// list, if any: without that host the name server refuses the zone.
std::optional<QString> nameServerLeftWithoutAddress(const AppState& state, int position)
{
    const std::optional<HostAddressEntry> deleted = hostAddressEntryAt(state.zone, position);
    if (!deleted)
        return std::nullopt;
    const QString origin = zoneOrigin(state);
    const QString host = absoluteName(deleted->owner, origin);
    for (const HostAddressEntry& entry : addressRecords(state.zone)) {
        if (!sameRecord(entry, *deleted) && absoluteName(entry.owner, origin) == host)
            return std::nullopt;
    }
    QStringList targets;
    for (const QString& line : state.zone.nameservers.lines()) {
        const QList<RecordField> fields = recordFields(line);
        if (fields.size() >= 4)
            targets << line.mid(fields.at(3).start, fields.at(3).length);
    }
    for (const auto& [owner, target] : otherRecordsOf(state.zone, {QStringLiteral("NS")}, origin))
        targets << target;
    for (const QString& target : std::as_const(targets)) {
        if (absoluteName(target, origin) == host && liesInZone(host, origin))
            return target;
    }
    return std::nullopt;
}

QString nameServerHostRefusal(const QString& nameServer)
{
    return QStringLiteral("This host is the address of the name server ") + nameServer +
           QStringLiteral(", and the name server does not load a zone whose name server inside it has no host "
                          "address. Delete or change the name server first.");
}

} // namespace

EditResult deleteRecord(ZoneContext& context, RecordKind kind)
{
    AppState& state = context.state;
    const int index = state.zone.records(kind).editIndex();
    // The name server refuses a zone without a name server, or whose name server inside it has no address.
    if (kind == RecordKind::NameServer && !otherNameServerOfTheZone(state, index))
        return refuse(context.prompter, QStringLiteral("Attention!"),
                      QStringLiteral("A zone needs a name server record: the name server does not load a zone "
                                     "without one. Add another name server first."));
    if (kind == RecordKind::HostAddress) {
        if (const std::optional<QString> nameServer = nameServerLeftWithoutAddress(state, index))
            return refuse(context.prompter, QStringLiteral("Attention!"), nameServerHostRefusal(*nameServer));
    }
    const RecordDeletionPlan plan = planRecordDeletion(context, kind, index);
    const DependentsChoice choice = askBeforeEditorDeletion(context.prompter, plan);
    if (choice == DependentsChoice::Cancel)
        return EditResult{EditStatus::Refused, QString()};
    return deleteWithDependents(context, kind, index,
                                choice == DependentsChoice::DeleteThemToo ? plan.dependents : QList<DependentRecord>());
}

EditResult deleteWithDependents(ZoneContext& context, RecordKind kind, int index,
                                const QList<DependentRecord>& dependents)
{
    AppState& state = context.state;
    const QString description =
        recordChangeDescription(state, {recordLineAt(state.zone, kind, index)}, {}) + dependentsDescription(dependents);
    // The zone and the reverse zones that lose a pointer make one revision.
    const ServerChange change(state, description);
    if (!deleteRecordAt(state, kind, index))
        return EditResult{EditStatus::NoRecord, QString()};
    removeZoneDependents(state.zone, dependents);
    const EditResult saved = saveChanged(context, QString(), description);
    if (!saved.stored())
        return saved;
    const ConsistencyFixResult reverse = removeReverseDependents(context, dependents);
    if (!reverse.ok)
        context.prompter.message(QStringLiteral("Error"), reverse.errorText, Prompter::Button::Ok,
                                 Prompter::Icon::Critical);
    return saved;
}
