#pragma once

#include "operations/servercontrol.h"

#include <QObject>
#include <QPointer>

struct AppState;
class NameServerQuery;
class Platform;
class Prompter;
class SettingsStore;
class WindowServices;

// The main window's server operations: the six name server commands (their buttons and menu items, and "Update
// Changes"), the backup and restore of the "Utilities" menu and "Check Server".
class ServerOperations : public QObject
{
    Q_OBJECT
public:
    ServerOperations(WindowServices& window, AppState& state, SettingsStore& store, Prompter& prompter,
                     Platform& platform);

    void runCommand(NdcCommand command);
    // "Update Changes": the changes since the name server last loaded the files, then a restart when applied.
    void updateChanges();
    void backupServer();
    void restoreServer();
    // "Check Server": BIND 9's checkers over the loaded server's configuration and zones, shown in the viewer.
    void checkServer();
    // The "Name Server:" line of the "Server Info" page, from a query to the name server; the line changes when
    // the answer comes, and nothing waits for it.
    void showNameServerStatus();

private:
    void showDataFile(const QString& path);
    void showLines(const QStringList& lines);

    WindowServices& m_window;
    AppState& m_state;
    SettingsStore& m_store;
    Prompter& m_prompter;
    Platform& m_platform;
    QPointer<NameServerQuery> m_statusQuery;
};
