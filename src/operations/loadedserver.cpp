#include "operations/loadedserver.h"

#include "bootfile/bootreader.h"
#include "bootfile/drivetable.h"
#include "operations/backuprestore.h"
#include "platform/prompter.h"
#include "servers/serverloading.h"
#include "shell/appstate.h"

#include <QDir>
#include <QFileInfo>

QString localBootFile(const QString& bootFilePath, const SettingsStore& store)
{
    return localBootFilePath(bootFilePath, DriveTable::load(store)).value_or(bootFilePath);
}

NdcTarget loadedServerTarget(const AppState& state, const SettingsStore& store)
{
    return NdcTarget{ManagedServer{state.tobelname, localBootFile(state.tobeloaded, store)}, state.defaultos};
}

std::optional<NdcTarget> selectedServerTarget(const AppState& state, const SettingsStore& store, const QString& boxText)
{
    const int row = findServerRow(state.catalog, boxText);
    if (row < 0)
        return std::nullopt;
    const ManagedServer& server = state.catalog.rows().at(row);
    return NdcTarget{ManagedServer{server.identifier, localBootFile(server.bootFilePath, store)}, state.defaultos};
}

bool backupLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter)
{
    return backupServer(state.zoneLists.datapath, localBootFile(state.tobeloaded, store), state.autoBackup, progress,
                        prompter);
}

bool restoreLoadedServer(const AppState& state, const SettingsStore& store, Prompter& prompter)
{
    return restoreServer(state.zoneLists.datapath, localBootFile(state.tobeloaded, store), prompter);
}

std::optional<QDateTime> loadedServerBackupDate(const AppState& state, const SettingsStore& store)
{
    const QDir folder(backupFolder(state.zoneLists.datapath));
    if (state.zoneLists.datapath.isEmpty() || !folder.exists())
        return std::nullopt;
    const QFileInfo bootCopy(folder.filePath(QFileInfo(localBootFile(state.tobeloaded, store)).fileName()));
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
