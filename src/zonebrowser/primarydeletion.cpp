#include "zonebrowser/primarydeletion.h"

#include "editors/recorddeletion.h"
#include "platform/filechangenotice.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/bootload.h"
#include "server/bootsave.h"
#include "server/confload.h"
#include "server/confzones.h"
#include "server/serverchange.h"
#include "server/serverfiles.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/primaryzoneentry.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zonebrowser/zonetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool askToDelete(ZoneContext& context, const QString& zone)
{
    ServerZoneLists& lists = context.state.zoneLists;
    if (lists.skipNextDeleteQuestion) {
        lists.skipNextDeleteQuestion = false;
        return true;
    }
    return context.prompter.message(QStringLiteral("Question!"),
                                    QStringLiteral("Are you sure you want to delete ") + zone + QLatin1Char('?'),
                                    Prompter::Button::Ok | Prompter::Button::Cancel,
                                    Prompter::Icon::Question) == Prompter::Button::Ok;
}

void finish(ZoneContext& context, const PrimaryDeletionHooks& hooks, const QString& zone)
{
    context.state.debugLog.logLine(QStringLiteral("--End Deleting Primary File: ") + zone);
    context.progress.setProgress(75);
    if (hooks.rebuildPrimaryTree)
        hooks.rebuildPrimaryTree();
    context.progress.setProgress(100);
    context.progress.hideProgress();
    if (hooks.showBusy)
        hooks.showBusy(false);
}

PrimaryDeletion stop(ZoneContext& context, const PrimaryDeletionHooks& hooks, PrimaryDeletion outcome,
                     const QString& caption, const QString& text)
{
    context.prompter.message(caption, text);
    context.progress.hideProgress();
    if (hooks.showBusy)
        hooks.showBusy(false);
    return outcome;
}

} // namespace

FileWriteResult dropPrimaryFromBootFile(BootContext& context, const QString& zone)
{
    QStringList& entries = context.state.boot.primaryEntries;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<PrimaryZoneEntry> entry = PrimaryZoneEntry::parse(entries.at(i));
        if (entry && entry->zone.compare(zone, Qt::CaseInsensitive) == 0) {
            entries.removeAt(i);
            break;
        }
    }
    const BootWriteResult written = writeBootFile(context.state);
    if (!written.ok)
        return {false, written.errorText};
    // The reading reports what it finds wrong itself.
    readBootFile(context, false);
    return {};
}

PrimaryDeletion deletePrimaryZone(ZoneContext& context, const PrimaryDeletionHooks& hooks)
{
    AppState& state = context.state;
    const QString zone = state.selection.primdnsname;
    if (zone.isEmpty()) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
        return PrimaryDeletion::NothingSelected;
    }
    if (!askToDelete(context, zone) || !confirmConfZoneRemoval(state, zone, state.selection.primview, context.prompter))
        return PrimaryDeletion::Cancelled;
    const ServerChange change(state, QStringLiteral("Delete primary zone %1").arg(zone.toLower()));
    if (!change.isHeld()) {
        context.prompter.message(QStringLiteral("Attention!"), change.errorText());
        return PrimaryDeletion::Busy;
    }
    if (hooks.showBusy)
        hooks.showBusy(true);
    context.progress.showProgress();
    context.progress.setProgress(50);
    state.debugLog.logLine(QStringLiteral("--Begin Deleting Primary File: ") + zone);

    ServerZoneLists& lists = state.zoneLists;
    const int index = lists.primaryIndex(zone, state.selection.primview);
    if (index < 0)
        return stop(context, hooks, PrimaryDeletion::NotListed, QStringLiteral("Attention!"),
                    QStringLiteral("Primary Zone processing Error. Please restore server."));
    const QString file = lists.primfiles.value(index);
    loadZone(context, file, lists.primdns.at(index));
    rebuildDisplays(state.zone, context.soaStep);
    deleteAllHostRecords(state);

    state.selection.primfilename.clear();
    state.selection.primdnsname.clear();
    state.zone.dnsname.clear();
    state.zone.clearRecords();

    const QString path = zoneFilePath(lists.datapath, file);
    // A server that a named.conf describes has its zone's statement taken out first: a statement that stays must
    // keep its file.
    if (state.conf.isLoaded()) {
        lists.primdns.removeAt(index);
        lists.primfiles.removeAt(index);
        if (index < lists.primviews.size())
            lists.primviews.removeAt(index);
        const BootWriteResult written = writeBootFile(state);
        if (!written.ok) {
            QString ignored;
            rereadConfServer(state, &ignored);
            return stop(context, hooks, PrimaryDeletion::BootFileFailed, QStringLiteral("Error"), written.errorText);
        }
        if (!file.isEmpty() && QFileInfo(path).isFile())
            announceFileChange(path);
        if (!file.isEmpty() && QFileInfo(path).isFile() && !QFile::remove(path))
            context.prompter.message(QStringLiteral("Error"),
                                     QStringLiteral("The zone file %1 could not be deleted.").arg(path),
                                     Prompter::Button::Ok, Prompter::Icon::Critical);
        finish(context, hooks, zone);
        return PrimaryDeletion::Deleted;
    }
    if (file.isEmpty() || !QFileInfo(path).isFile()) {
        context.prompter.message(QStringLiteral("Error!"), QStringLiteral("This file does not exist."));
        finish(context, hooks, zone);
        return PrimaryDeletion::FileMissing;
    }
    // The entry goes, never what a link in its place leads to; a name that leads out of the data directory is left.
    if (!serverDataFolders(state).contains(path, FolderConfinement::FinalLink::Keep)) {
        context.prompter.message(
            QStringLiteral("Error"),
            QStringLiteral("The zone file %1, so it was not deleted.").arg(outsideFolderText(path, lists.datapath)),
            Prompter::Button::Ok, Prompter::Icon::Critical);
        finish(context, hooks, zone);
        return PrimaryDeletion::FileNotRemoved;
    }
    QFile target(path);
    announceFileChange(path);
    if (!target.remove()) {
        context.prompter.message(
            QStringLiteral("Error"),
            QStringLiteral("The zone file %1 could not be deleted: %2").arg(path, target.errorString()),
            Prompter::Button::Ok, Prompter::Icon::Critical);
        finish(context, hooks, zone);
        return PrimaryDeletion::FileNotRemoved;
    }
    lists.primdns.removeAt(index);
    lists.primfiles.removeAt(index);
    PrimaryDeletion outcome = PrimaryDeletion::Deleted;
    if (hooks.dropFromBootFile) {
        const FileWriteResult boot = hooks.dropFromBootFile(zone);
        if (!boot.ok) {
            context.prompter.message(QStringLiteral("Error"), boot.errorText, Prompter::Button::Ok,
                                     Prompter::Icon::Critical);
            outcome = PrimaryDeletion::BootFileFailed;
        }
    }
    finish(context, hooks, zone);
    return outcome;
}
