#include "operations/loadedserver.h"

#include "bootfile/bootreader.h"
#include "bootfile/drivetable.h"
#include "operations/backuprestore.h"
#include "servers/serverloading.h"
#include "shell/appstate.h"

QString localBootFile(const QString& bootFilePath, const SettingsStore& store)
{
    return localBootFilePath(bootFilePath, DriveTable::load(store)).value_or(bootFilePath);
}

NdcTarget loadedServerTarget(const AppState& state, const SettingsStore& store)
{
    return NdcTarget{ManagedServer{state.tobelname, localBootFile(state.tobeloaded, store)}, state.defaultos};
}

std::optional<NdcTarget> selectedServerTarget(const AppState& state, const SettingsStore& store,
                                              const QString& boxText)
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
