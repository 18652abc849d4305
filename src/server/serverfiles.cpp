#include "server/serverfiles.h"

#include "bootfile/bootconfig.h"
#include "bootfile/bootlines.h"
#include "platform/drivetable.h"
#include "platform/filechangenotice.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

QString localBootFile(const QString& bootFilePath, const SettingsStore& store)
{
    return localBootFilePath(bootFilePath, DriveTable::load(store)).value_or(bootFilePath);
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

FolderConfinement serverDataFolders(const AppState& state)
{
    if (!state.conf.isLoaded())
        return serverDataFolders(state.zoneLists.datapath);
    // A server taken over from its named.conf keeps its zones where the administrator's configuration puts them
    // (Debian: /etc/bind for the default zones, /var/cache/bind as the directory): the folders of the files it
    // declares are the server's, and no other.
    QStringList folders{state.zoneLists.datapath, QFileInfo(state.conf.confFile).absolutePath()};
    QSet<QString> seen(folders.cbegin(), folders.cend());
    for (const ConfZone& zone : state.conf.config.zones) {
        if (zone.file.isEmpty())
            continue;
        const QString folder = QFileInfo(QDir(state.zoneLists.datapath).absoluteFilePath(zone.file)).absolutePath();
        if (!seen.contains(folder)) {
            seen.insert(folder);
            folders << folder;
        }
    }
    return FolderConfinement(folders);
}

FolderConfinement serverDataFolders(const QString& dataDirectory)
{
    return dataDirectory.isEmpty() ? FolderConfinement() : FolderConfinement({dataDirectory});
}

FileWriteResult replaceServerFile(const FolderConfinement& inside, const QString& path, const QByteArray& bytes,
                                  FileReplacement::Durability durability)
{
    const std::optional<QString> target = inside.resolve(path);
    if (!target)
        return {false, QStringLiteral("%1 could not be written: it leads out of the data directory %2")
                           .arg(path, inside.folders().join(QStringLiteral(", ")))};
    // The history keeps the file by the name the server gives it.
    if (*target != path)
        announceFileChange(path);
    return replaceFile(*target, bytes, durability);
}

QString backupFolder(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral("dnsbackup"));
}
