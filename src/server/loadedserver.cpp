#include "server/loadedserver.h"

#include "platform/prompter.h"
#include "server/backuprestore.h"
#include "server/bootload.h"
#include "server/serverchange.h"
#include "server/serverfiles.h"
#include "server/serverloading.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>

bool backupLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter)
{
    const ServerChange change(state);
    if (!change.isHeld()) {
        prompter.message(QStringLiteral("Attention!"), change.errorText());
        return false;
    }
    return backupServer(state.zoneLists.datapath, serverDataFiles(state),
                        localBootFile(state.pendingBootFilePath, store), state.autoBackup, progress, prompter);
}

bool restoreLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter)
{
    const ServerChange change(state);
    if (!change.isHeld()) {
        prompter.message(QStringLiteral("Attention!"), change.errorText());
        return false;
    }
    return restoreServer(state.zoneLists.datapath, localBootFile(state.pendingBootFilePath, store), progress, prompter);
}

std::optional<QDateTime> loadedServerBackupDate(const AppState& state, const SettingsStore& store)
{
    const QDir folder(backupFolder(state.zoneLists.datapath));
    if (state.zoneLists.datapath.isEmpty() || !folder.exists())
        return std::nullopt;
    const QFileInfo bootCopy(folder.filePath(QFileInfo(localBootFile(state.pendingBootFilePath, store)).fileName()));
    if (bootCopy.isFile())
        return bootCopy.lastModified();
    const QFileInfoList copies = folder.entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    if (copies.isEmpty())
        return std::nullopt;
    return copies.first().lastModified();
}

bool confirmRestore(const AppState& state, const SettingsStore& store, Prompter& prompter)
{
    const std::optional<QDateTime> made = loadedServerBackupDate(state, store);
    if (!made)
        return true;
    const QString text =
        QStringLiteral("Restore the backup of %1 made on %2? The zone files, the cache file and the boot file of "
                       "the server will be replaced by the copies in %3.")
            .arg(state.servername, made->toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                 QDir::toNativeSeparators(backupFolder(state.zoneLists.datapath)));
    return prompter.message(QStringLiteral("Question!"), text, Prompter::Button::Yes | Prompter::Button::No,
                            Prompter::Icon::Question) == Prompter::Button::Yes;
}
