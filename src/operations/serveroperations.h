#pragma once

#include "operations/servercontrol.h"

#include <QObject>

struct AppState;
class Platform;
class Prompter;
class SettingsStore;
class MainWindow;

// The main window's server operations: the six name server commands on their buttons and menu items and on
// "Update Changes", and the backup and restore of the "Utilities" menu.
class ServerOperations : public QObject
{
    Q_OBJECT
public:
    ServerOperations(MainWindow& window, AppState& state, SettingsStore& store, Prompter& prompter, Platform& platform);

    void runCommand(NdcCommand command);
    // "Update Changes": the changes since the name server last loaded the files, then a restart when applied.
    void updateChanges();
    void backupServer();
    void restoreServer();

private:
    void showDataFile(const QString& path);

    MainWindow& m_window;
    AppState& m_state;
    SettingsStore& m_store;
    Prompter& m_prompter;
    Platform& m_platform;
};
