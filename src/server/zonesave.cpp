#include "server/zonesave.h"

#include "platform/filereplacement.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/backuprestore.h"
#include "server/bootsave.h"
#include "server/serverchange.h"
#include "server/serverfiles.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/recorddisplay.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zoneserial.h"
#include "zone/zonewriter.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Before a file written elsewhere is first rewritten, it is copied into the backup folder as FILE.orig, which
// is never replaced afterwards: whatever the rewrite changes, the file as it came stays at hand.
FileWriteResult keepOriginal(const QString& datapath, const QString& path)
{
    if (isOwnLayoutFile(path))
        return {};
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (!bytes || isOwnLayout(*bytes))
        return {};
    const QString folder = backupFolder(datapath);
    const QString original = QDir(folder).filePath(QFileInfo(path).fileName() + QStringLiteral(".orig"));
    if (QFileInfo::exists(original))
        return {};
    if (!QDir().mkpath(folder))
        return {false, QStringLiteral("%1 could not be created").arg(folder)};
    // A copy, so that it keeps the permissions of the file it keeps.
    return copyFileReplacing(path, original);
}

ZoneSaveResult fail(ZoneContext& context, ZoneSaveStatus status, const QString& text)
{
    context.prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
    context.progress.hideProgress();
    return {status, text};
}

// Another program changed the file since it was read: writing this copy would undo that change. The zone is
// read anew instead, so that the next change is made to what the file now holds.
ZoneSaveResult rereadChangedZone(ZoneContext& context, const QString& path)
{
    AppState& state = context.state;
    const QString text = QStringLiteral("The zone file %1 was changed by another program since it was read. It has "
                                        "been read again; please make your change again.")
                             .arg(path);
    context.progress.hideProgress();
    context.prompter.message(QStringLiteral("Attention!"), text);
    loadZone(context, state.selection.primfilename, state.selection.primdnsname);
    rebuildDisplays(state.zone, context.soaStep);
    return {ZoneSaveStatus::ChangedOnDisk, text};
}

} // namespace

ZoneSaveResult writeZone(ZoneContext& context)
{
    AppState& state = context.state;
    const QString& fileName = state.selection.primfilename;
    const QString path = zoneFilePath(state.zoneLists.datapath, fileName);
    if (fileName.isEmpty() || !QFileInfo(path).isFile()) {
        context.prompter.message(QStringLiteral("Error..."), QStringLiteral("No files are open."));
        context.progress.hideProgress();
        return {ZoneSaveStatus::NoFileOpen, QStringLiteral("No files are open.")};
    }
    if (state.zone.sourceofauth.isEmpty())
        return fail(context, ZoneSaveStatus::NoStartOfAuthority,
                    QStringLiteral("The zone file %1 has no start of authority, so it was not written.").arg(fileName));
    const ServerChange change(state);
    if (!change.isHeld())
        return fail(context, ZoneSaveStatus::Busy, change.errorText());
    if (state.zone.fileStamp.path == path && !state.zone.fileStamp.isCurrent())
        return rereadChangedZone(context, path);
    // A link in the file's place that leads out of the data directory is never written through.
    if (!serverDataFolders(state).contains(path))
        return fail(context, ZoneSaveStatus::WriteFailed,
                    QStringLiteral("The zone file %1, so it was not written.")
                        .arg(outsideFolderText(path, state.zoneLists.datapath)));
    context.progress.setProgress(75);

    if (const FileWriteResult kept = keepOriginal(state.zoneLists.datapath, path); !kept.ok)
        return fail(context, ZoneSaveStatus::WriteFailed,
                    QStringLiteral("The zone file was not rewritten, as the file as it came could not be kept: ") +
                        kept.errorText);
    const QByteArray bytes = zoneFileBytes(state.zone);
    // A link to a file elsewhere in the data directory stays, and the file it leads to is written.
    const FileWriteResult written = replaceServerFile(serverDataFolders(state), path, bytes);
    if (!written.ok)
        return fail(context, ZoneSaveStatus::WriteFailed, QStringLiteral("The zone file ") + written.errorText);
    state.zone.serialAsRead = state.zone.sourceofauth.value(SoaRecord::Serial);
    state.zone.fileStamp = FileStamp::of(path, bytes);

    if (!context.saveBootFile) {
        context.progress.setProgress(100);
        context.progress.hideProgress();
        return {};
    }
    const FileWriteResult boot = context.saveBootFile(state, context.progress);
    if (!boot.ok)
        return fail(context, ZoneSaveStatus::BootFileFailed, boot.errorText);
    return {};
}

ZoneSaveResult saveZone(ZoneContext& context)
{
    AppState& state = context.state;
    if (state.zone.sourceofauth.isEmpty())
        return fail(context, ZoneSaveStatus::NoStartOfAuthority,
                    QStringLiteral("The zone file %1 has no start of authority, so it was not written.")
                        .arg(state.selection.primfilename));
    const QString& running = state.setup.runningSerial;
    const std::optional<quint32> next = nextZoneSerial(running, state.zone.serialAsRead);
    if (!next) {
        const QString text =
            serialNumber(running)
                ? QStringLiteral("The serial of %1 cannot be raised beyond 4294967295, so the zone was not saved.")
                      .arg(state.selection.primfilename)
                : QStringLiteral("The running serial \"%1\" is not a whole number, so the zone was not saved.")
                      .arg(running);
        return fail(context, ZoneSaveStatus::BadSerial, text);
    }
    state.setup.runningSerial = QString::number(*next);
    state.zone.sourceofauth.setValue(SoaRecord::Serial, state.setup.runningSerial);
    context.progress.showProgress();
    context.progress.setProgress(50);
    return writeZone(context);
}

BootFileSaver serverBootFileSaver()
{
    return [](AppState& state, Progress& progress) {
        const BootWriteResult result = writeBootFile(state, &progress);
        return FileWriteResult{result.ok, result.errorText};
    };
}

QString zoneSavedText(const AppState& state)
{
    return QStringLiteral("Zone %1 saved: 2 files written, %2 (serial %3) and the boot file.")
        .arg(state.selection.primdnsname, state.selection.primfilename,
             state.zone.sourceofauth.value(SoaRecord::Serial));
}
