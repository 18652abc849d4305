#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct AppState;
class Progress;
class Prompter;
class SettingsStore;

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
