#pragma once

#include "operations/servercontrol.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct AppState;
class Progress;
class Prompter;
class SettingsStore;

// A registered boot file path as this machine reaches it: its drive letter through the drive table. The path as
// it stands when its drive has no folder here, so that what fails names the path the user registered.
QString localBootFile(const QString& bootFilePath, const SettingsStore& store);

// The loaded server as the control commands see it.
NdcTarget loadedServerTarget(const AppState& state, const SettingsStore& store);

// The server the selection box names, found as selecting a server finds it; none when the catalog has no such
// row.
std::optional<NdcTarget> selectedServerTarget(const AppState& state, const SettingsStore& store,
                                              const QString& boxText);

// The files of the data directory that the loaded server's boot file names: its primary and secondary zone
// files, its reverse files and the root cache file, each once. Names with a folder part are left out.
QStringList serverDataFiles(const AppState& state);
// The files the program keeps for the loaded server and its history holds: the boot file and the data files
// above but the secondaries' backup files, which the name server writes.
QStringList historyFiles(const AppState& state);

// Backup and restore of the loaded server (its data files and its boot file), under the server's lock.
bool backupLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter);
bool restoreLoadedServer(const AppState& state, const SettingsStore& store, Progress& progress, Prompter& prompter);

// When the loaded server's backup was made: the time its boot file copy, the last file a backup writes, was
// written (the newest copy when that one is missing). None without a backup.
std::optional<QDateTime> loadedServerBackupDate(const AppState& state, const SettingsStore& store);

// The question before a restore from the windows: a restore replaces live zone files, so the user is shown
// which backup it takes them from and may say no. True to go on, also when there is no backup (the restore then
// says so itself).
bool confirmRestore(const AppState& state, const SettingsStore& store, Prompter& prompter);
