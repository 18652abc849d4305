#include "operations/loadedserver.h"

#include "bootfile/bootlines.h"
#include "bootfile/bootreader.h"
#include "bootfile/drivetable.h"
#include "operations/backuprestore.h"
#include "platform/prompter.h"
#include "servers/serverloading.h"
#include "servers/serverlock.h"
#include "shell/appstate.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

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

QStringList serverDataFiles(const AppState& state)
{
    QStringList names = state.zoneLists.primfiles + state.zoneLists.secfiles;
    for (const QString& line : state.boot.reversePrimaryLines)
        names << textFromField(blanksForTabs(line), 2).trimmed();
    for (const QString& line : state.boot.secondaryReverseLines) {
        const QStringList fields = fieldsOf(blanksForTabs(line));
        if (fields.size() >= 4)
            names << fields.last();
    }
    names << QStringLiteral("cache.dns");
    QStringList plain;
    // Looked up in a set: a server of ten thousand zones would otherwise compare every name with every other.
    QSet<QString> seen;
    for (const QString& name : std::as_const(names)) {
        // The backup folder is flat and a restore puts files back into the data directory itself.
        if (!name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
            name != QLatin1String(".") && name != QLatin1String("..") && !seen.contains(name.toLower())) {
            seen.insert(name.toLower());
            plain << name;
        }
    }
    return plain;
}

QStringList historyFiles(const AppState& state)
{
    QStringList names = serverDataFiles(state);
    // A secondary's backup file is the name server's to write, not the program's.
    for (const QString& file : state.zoneLists.secfiles)
        names.removeAll(file);
    names.prepend(BootConfig::fileName());
    return names;
}

bool backupLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter)
{
    const ServerLock lock(state);
    if (!lock.isHeld()) {
        prompter.message(QStringLiteral("Attention!"), lock.errorText());
        return false;
    }
    return backupServer(state.zoneLists.datapath, serverDataFiles(state), localBootFile(state.tobeloaded, store),
                        state.autoBackup, progress, prompter);
}

bool restoreLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter)
{
    const ServerLock lock(state);
    if (!lock.isHeld()) {
        prompter.message(QStringLiteral("Attention!"), lock.errorText());
        return false;
    }
    return restoreServer(state.zoneLists.datapath, localBootFile(state.tobeloaded, store), progress, prompter);
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
