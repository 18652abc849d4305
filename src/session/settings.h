#pragma once

struct AppState;
class Platform;
class Prompter;
class SettingsStore;

#include <QDate>
#include <QString>

// The running serial as the date sets it: four-digit year, month, day, then "01".
QString runningSerialForDate(const QDate& date);

// Reads the whole store into the program, in the order the settings were designed to be read: the catalog is
// rebuilt, old entries are upgraded with a question, and an old format's servers are dropped with a message.
void loadSettings(AppState& state, const SettingsStore& store, Prompter& prompter, const Platform& platform);

// Writes the whole store; false with the reason when it cannot be written.
bool saveSettings(const AppState& state, SettingsStore& store, QString* errorText = nullptr);

// The registration name lists, kept in the program's per-user data folder.
void loadNameLists(AppState& state, const QString& folder);
