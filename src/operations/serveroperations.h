#pragma once

#include "operations/servercontrol.h"

#include <QObject>

#include <optional>

struct AppState;
class Platform;
class Prompter;
class Tdnsmain;

// The main window's server operations: the six name server commands on their buttons and menu items and on
// "Update Changes", and the backup and restore of the "Utilities" menu.
class ServerOperations : public QObject
{
    Q_OBJECT
public:
    ServerOperations(Tdnsmain& window, AppState& state, Prompter& prompter, Platform& platform);

    void runCommand(NdcCommand command);
    void backupServer();
    void restoreServer();

private:
    std::optional<NdcTarget> targetNamed(const QString& computerName) const;
    void showDataFile(const QString& path);
    void setCommandsEnabled(bool on);

    Tdnsmain& m_window;
    AppState& m_state;
    Prompter& m_prompter;
    Platform& m_platform;
    bool m_updateChangesWasEnabled = false;
};
