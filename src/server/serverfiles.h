#pragma once

#include "platform/filereplacement.h"
#include "platform/folderconfinement.h"

#include <QString>
#include <QStringList>

struct AppState;
class SettingsStore;

// What belongs to a server on the disk, in one place: its boot file (named.boot in its boot directory), the files
// of its data directory that the boot file names, and the folder inside the data directory that holds the backup
// generation, the original of each zone file written elsewhere, and the history.

// A registered boot file path as this machine reaches it: its drive letter through the drive table. The path as
// it stands when its drive has no folder here, so that what fails names the path the user registered.
QString localBootFile(const QString& bootFilePath, const SettingsStore& store);

// The files of the data directory that the loaded server's boot file names: its primary and secondary zone
// files, its reverse files and the root cache file, each once. Names with a folder part are left out.
QStringList serverDataFiles(const AppState& state);
// The files the program keeps for the loaded server and its history holds: the boot file and the data files
// above but the secondaries' backup files, which the name server writes.
QStringList historyFiles(const AppState& state);

// The folders the files of the loaded server's boot file must lie in: its data directory.
FolderConfinement serverDataFolders(const AppState& state);
// The same for a server whose data directory is given.
FolderConfinement serverDataFolders(const QString& dataDirectory);

// Replaces a server's file. A symbolic link in its place that leads to a file inside the folders is written through,
// so that the link stays; one that leads out of them is not written through, and the write fails.
FileWriteResult replaceServerFile(const FolderConfinement& inside, const QString& path, const QByteArray& bytes,
                                  FileReplacement::Durability durability = FileReplacement::Durability::Synced);

// The folder inside the data directory that holds the one backup generation, the originals and the history.
QString backupFolder(const QString& dataDirectory);
