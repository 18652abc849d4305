#pragma once

#include <QString>

#include <optional>

struct AppState;
class Platform;
class Prompter;
class SettingsStore;

// What the first showing of the main window does before anything is drawn: the platform name, the guess of
// the server's operating system, the settings, and the administrator's address when none is stored.
void prepareFirstShowing(AppState& state, const SettingsStore& store, Prompter& prompter, const Platform& platform);

// Asks for the administrator's address until it passes the character test (with "@" read as ".").
void askAdministratorAddress(AppState& state, Prompter& prompter);

// The lines of the last root cache download in the program's folder, when there is one.
std::optional<QString> readCacheDownload(const QString& folder);

// The hidden debug log switch: on with its message and stamped line, or off the same way.
void toggleDebugLog(AppState& state, Prompter& prompter, const Platform& platform);
