#include "editors/dependentrecords.h"

#include "checks/namechecks.h"
#include "editors/editresult.h"
#include "platform/prompter.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/hostaddresses.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonemodel.h"

#include <QSet>

namespace {

const QString kQuestion = QStringLiteral("Question!");

// The name as the question shows it: absolute, with its final dot, in the case it was written.
QString shownName(const QString& owner, const QString& origin)
{
    if (owner == QLatin1String("@"))
        return origin + QLatin1Char('.');
    return qualifyWithOrigin(owner, origin);
}

QString textOf(const QString& line, const QString& origin)
{
    const OtherRecordFields fields = otherRecordFields(line);
    if (!fields.record)
        return line.simplified();
    return shownName(fields.owner, origin) + QLatin1Char(' ') + fields.type.toUpper() + QLatin1Char(' ') +
           fields.data.simplified();
}

// The name a record points to: the last word of a mail server's or a service's data, the data of the others.
std::optional<QString> targetOf(const OtherRecordFields& fields)
{
    const QString type = fields.type.toUpper();
    const QString data = fields.data.simplified();
    if (type == QLatin1String("MX") || type == QLatin1String("SRV"))
        return data.section(QLatin1Char(' '), -1);
    if (type == QLatin1String("CNAME") || type == QLatin1String("NS") || type == QLatin1String("PTR"))
        return data;
    return std::nullopt;
}

class DependentSearch
{
public:
    DependentSearch(const ZoneModel& zone, const QString& origin, const QString& excludedLine)
        : m_zone(zone), m_origin(origin), m_excluded(excludedLine)
    {
    }

    // Everything of the zone that points to the name, and to the aliases that go with it.
    void follow(const QString& name);

    QList<DependentRecord> found;

private:
    void take(DependentRecord::Place place, RecordKind kind, const QString& line, QList<QString>& queue);

    const ZoneModel& m_zone;
    const QString& m_origin;
    const QString m_excluded;
    QSet<QString> m_taken;
};

void DependentSearch::take(DependentRecord::Place place, RecordKind kind, const QString& line, QList<QString>& queue)
{
    const QString key = QString::number(int(place)) + QLatin1Char(' ') + line;
    if (line == m_excluded || m_taken.contains(key))
        return;
    m_taken.insert(key);
    DependentRecord record;
    record.place = place;
    record.kind = kind;
    record.line = line;
    record.text = textOf(line, m_origin);
    found << record;
    // An alias that goes leaves what points to it without a target too.
    const OtherRecordFields fields = otherRecordFields(line);
    if (fields.type.compare(QLatin1String("CNAME"), Qt::CaseInsensitive) == 0)
        queue << absoluteName(fields.owner, m_origin);
}

void DependentSearch::follow(const QString& name)
{
    QList<QString> queue{absoluteName(name, m_origin)};
    QSet<QString> seen;
    while (!queue.isEmpty()) {
        const QString wanted = queue.takeFirst();
        if (seen.contains(wanted))
            continue;
        seen.insert(wanted);
        // The zone's own name server records are not among them: only their editor deletes one, and never the
        // last, without which the name server refuses the zone.
        const std::pair<const RecordList*, RecordKind> lists[] = {{&m_zone.mailservers, RecordKind::MailServer},
                                                                  {&m_zone.aliases, RecordKind::Alias}};
        for (const auto& [list, kind] : lists) {
            for (const QString& line : list->lines()) {
                const std::optional<QString> target = targetOf(otherRecordFields(line));
                if (target && absoluteName(*target, m_origin) == wanted)
                    take(DependentRecord::Place::List, kind, line, queue);
            }
        }
        for (const QString& line : m_zone.otherrecords.lines()) {
            const OtherRecordFields fields = otherRecordFields(line);
            const std::optional<QString> target = fields.record ? targetOf(fields) : std::nullopt;
            const bool apexNameServer =
                fields.type.compare(QLatin1String("NS"), Qt::CaseInsensitive) == 0 &&
                absoluteName(fields.owner, m_origin) == absoluteName(QStringLiteral("@"), m_origin);
            if (target && !apexNameServer && absoluteName(*target, m_origin) == wanted)
                take(DependentRecord::Place::Other, RecordKind::MailServer, line, queue);
        }
    }
}

void addPointers(ZoneContext& context, RecordDeletionPlan& plan, const QString& name, const IpAddress& address)
{
    ConsistencyContext consistency{context.state, nullptr, context.prompter};
    for (const ConsistencyFinding& pointer : pointersNaming(consistency, name, address)) {
        DependentRecord record;
        record.place = DependentRecord::Place::Reverse;
        record.pointer = pointer;
        record.text = pointer.owner + QStringLiteral(" PTR ") + pointer.target;
        plan.dependents << record;
    }
}

} // namespace

DependentsChoice dependentsChoiceOf(Prompter::Button answer)
{
    if (answer == Prompter::Button::Yes)
        return DependentsChoice::DeleteThemToo;
    if (answer == Prompter::Button::No || answer == Prompter::Button::Ok)
        return DependentsChoice::KeepThem;
    return DependentsChoice::Cancel;
}

DependentsChoice askAboutDependents(Prompter& prompter, const RecordDeletionPlan& plan)
{
    return dependentsChoiceOf(prompter.message(kQuestion, dependentsQuestion(plan),
                                               Prompter::Button::Yes | Prompter::Button::No | Prompter::Button::Cancel,
                                               Prompter::Icon::Question));
}

RecordDeletionPlan planRecordDeletion(ZoneContext& context, RecordKind kind, int index)
{
    const ZoneModel& zone = context.state.zone;
    const QString origin = zoneOrigin(context.state);
    RecordDeletionPlan plan;
    if (kind == RecordKind::HostAddress) {
        const std::optional<HostAddressEntry> entry = hostAddressEntryAt(zone, index);
        if (!entry)
            return plan;
        const QString name = shownName(entry->owner, origin);
        const std::optional<IpAddress> address = IpAddress::fromStored(entry->address);
        plan.subject = QStringLiteral("the host %1 (%2)").arg(name, address ? address->text() : entry->address);
        bool keepsAnAddress = false;
        for (const HostAddressEntry& other : addressRecords(zone)) {
            if (!sameRecord(other, *entry) && absoluteName(other.owner, origin) == absoluteName(entry->owner, origin))
                keepsAnAddress = true;
        }
        if (!keepsAnAddress) {
            DependentSearch search(zone, origin, entry->line);
            search.follow(entry->owner);
            plan.dependents = search.found;
        }
        if (address)
            addPointers(context, plan, name, *address);
        return plan;
    }
    if (kind == RecordKind::Alias && zone.aliases.isValidIndex(index)) {
        const QString line = zone.aliases.line(index);
        const QString name = shownName(recordOwner(line), origin);
        plan.subject = QStringLiteral("the alias %1").arg(name);
        DependentSearch search(zone, origin, line);
        search.follow(recordOwner(line));
        plan.dependents = search.found;
    }
    return plan;
}

QString dependentsQuestion(const RecordDeletionPlan& plan)
{
    QStringList texts;
    for (const DependentRecord& record : plan.dependents)
        texts << record.text;
    return QStringLiteral("Are you sure you want to delete %1? These records point to it (%2). Press \"YES\" to "
                          "delete them as well, \"NO\" to keep them, or \"CANCEL\" to delete nothing.")
        .arg(plan.subject, texts.join(QStringLiteral("; ")));
}

DependentsChoice askBeforeEditorDeletion(Prompter& prompter, const RecordDeletionPlan& plan)
{
    if (plan.dependents.isEmpty())
        return DependentsChoice::KeepThem;
    return askAboutDependents(prompter, plan);
}

void removeZoneDependents(ZoneModel& zone, const QList<DependentRecord>& dependents)
{
    for (const DependentRecord& record : dependents) {
        if (record.place == DependentRecord::Place::List) {
            RecordList& list = zone.records(record.kind);
            list.removeAt(int(list.lines().indexOf(record.line)));
        } else if (record.place == DependentRecord::Place::Other) {
            zone.otherrecords.removeAt(int(zone.otherrecords.lines().indexOf(record.line)));
        }
    }
}

ConsistencyFixResult removeReverseDependents(ZoneContext& context, const QList<DependentRecord>& dependents)
{
    QList<ConsistencyFinding> pointers;
    for (const DependentRecord& record : dependents) {
        if (record.place == DependentRecord::Place::Reverse)
            pointers << record.pointer;
    }
    if (pointers.isEmpty())
        return {};
    AppState& state = context.state;
    const ZoneSelection selection = state.selection;
    ConsistencyContext consistency{state, nullptr, context.prompter};
    const ConsistencyFixResult result = fixFindings(consistency, pointers);
    // A reverse zone of the primary list is edited as the loaded zone; the zone the user works in comes back.
    if (state.selection.primdnsname != selection.primdnsname) {
        state.selection = selection;
        loadZone(context, selection.primfilename, selection.primdnsname);
        rebuildDisplays(state.zone, context.soaStep);
    }
    return result;
}

QString dependentsDescription(const QList<DependentRecord>& dependents)
{
    if (dependents.isEmpty())
        return QString();
    return dependents.size() == 1 ? QStringLiteral(" with the record that points to it")
                                  : QStringLiteral(" with the %1 records that point to it").arg(dependents.size());
}
