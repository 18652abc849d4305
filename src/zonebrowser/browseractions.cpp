#include "zonebrowser/browseractions.h"

#include "editors/dependentrecords.h"
#include "editors/editresult.h"
#include "editors/recorddeletion.h"
#include "platform/prompter.h"
#include "server/serverchange.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "zone/zonereader.h"
#include "zone/zoneselect.h"
#include "zonebrowser/zonetree.h"

namespace {

// False when the zone file could not be read at all (which the reading has said).
bool readSelectedZone(ZoneContext& context, int index)
{
    AppState& state = context.state;
    selectPrimary(state.selection, state.zoneLists, index);
    const ZoneLoadStatus status = loadZone(context, state.selection.primfilename, state.selection.primdnsname);
    rebuildDisplays(state.zone, context.soaStep);
    return status != ZoneLoadStatus::NoFileName && status != ZoneLoadStatus::Unreadable;
}

} // namespace

bool openZoneForEdit(ZoneContext& context, const QString& zone)
{
    const int index = context.state.zoneLists.primaryIndex(zone, context.state.selection.primview);
    if (index < 0) {
        context.prompter.message(QStringLiteral("Information"),
                                 QStringLiteral("There was a file/domain correlation error while trying to load ") +
                                     zone + QStringLiteral(" data files. Please restore your server."),
                                 Prompter::Button::Ok, Prompter::Icon::Information);
        return false;
    }
    readSelectedZone(context, index);
    return true;
}

bool openZoneForChange(ZoneContext& context, const QString& zone)
{
    context.state.selection.primfilename = QStringLiteral("*");
    const int index = context.state.zoneLists.primaryIndex(zone, context.state.selection.primview);
    if (index < 0) {
        context.prompter.message(QStringLiteral("Attention!"),
                                 QStringLiteral("System error while in zone processing. Please restore from backup."));
        return false;
    }
    // A change of a zone whose file cannot be read would only lead to questions about a zone that is not there.
    return readSelectedZone(context, index);
}

QString deleteQuestion(RecordKind kind)
{
    switch (kind) {
    case RecordKind::NameServer:
        return QStringLiteral("Are you sure you want to delete this Name Server?");
    case RecordKind::MailServer:
        return QStringLiteral("Are you sure you want to delete this Mail Server?");
    case RecordKind::HostAddress:
        return QStringLiteral("Are you sure you want to delete this Host Address?");
    case RecordKind::Alias:
        return QStringLiteral("Are you sure you want to delete this Alias?");
    case RecordKind::ResponsiblePerson:
    case RecordKind::TextRecord:
        break;
    }
    return QStringLiteral("Are you sure you want to delete this Responsible Person entry?");
}

RecordDeletion deleteRecordFromBrowser(ZoneContext& context, const QString& zone, RecordKind kind, int index)
{
    if (!openZoneForChange(context, zone))
        return RecordDeletion::ZoneMissing;
    const RecordDeletionPlan plan = planRecordDeletion(context, kind, index);
    const DependentsChoice choice = askBeforeTreeDeletion(context.prompter, kind, plan);
    if (choice == DependentsChoice::Cancel)
        return RecordDeletion::Cancelled;
    context.state.zone.records(kind).setEditIndex(index);
    const EditResult deleted = deleteWithDependents(
        context, kind, index, choice == DependentsChoice::DeleteThemToo ? plan.dependents : QList<DependentRecord>());
    if (deleted.status == EditStatus::NoRecord)
        return RecordDeletion::RecordMissing;
    return RecordDeletion::Deleted;
}

DependentsChoice askBeforeTreeDeletion(Prompter& prompter, RecordKind kind, const RecordDeletionPlan& plan)
{
    if (!plan.dependents.isEmpty())
        return askAboutDependents(prompter, plan);
    const QString text = kind == RecordKind::HostAddress && !plan.subject.isEmpty()
                             ? QStringLiteral("Are you sure you want to delete %1?").arg(plan.subject)
                             : deleteQuestion(kind);
    const Prompter::Button answer = prompter.message(
        QStringLiteral("Question!"), text, Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Question);
    return answer == Prompter::Button::Ok ? DependentsChoice::KeepThem : DependentsChoice::Cancel;
}
