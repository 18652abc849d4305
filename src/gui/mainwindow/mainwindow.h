#pragma once

#include "gui/common/windowservices.h"
#include "session/servercontext.h"

#include <QMainWindow>
#include <QPointer>

struct AppState;
class ServerOptionsActions;
class HelpWindow;
class SampleServerOffer;
class ServerOptionsPage;
class DomainEditPage;
class HistoryMenu;
class Platform;
class ProgressWindow;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class RegistrationPage;
class ReverseActions;
class ServerInfoPage;
class ServerOperations;
class SettingsStore;
class SetupPage;
class StageWindow;
class NewServerWizard;
class UtilitiesPage;
class ZoneEditors;

// The main window: six pages, a one-panel status bar and the main menu, the command surface of the program. It
// makes the pages and the controllers of the features and wires them together; they reach it as WindowServices.
class MainWindow : public QMainWindow, public WindowServices
{
    Q_OBJECT
public:
    MainWindow(AppState& state, SettingsStore& store, Prompter& prompter, Platform& platform,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    ServerInfoPage* serverInfo() const { return m_serverInfo; }
    DomainEditPage* domainEdit() const { return m_domainEdit; }
    ZoneEditors* zoneEditors() const { return m_editors; }
    ServerOptionsPage* serverOptions() const { return m_serverOptions; }
    SetupPage* setupPage() const { return m_setup; }
    ProgressWindow* progressWindow() const { return m_progress; }
    StageWindow* stageWindow() const { return m_stage; }
    NewServerWizard* newServerWizard() const { return m_newServer; }
    ServerOperations* serverOperations() const { return m_serverOperations; }
    ServerOptionsActions* serverOptionsActions() const { return m_serverOptionsActions; }
    ReverseActions* reverseActions() const { return m_reverseActions; }
    HistoryMenu* historyMenu() const { return m_historyMenu; }

    // What the controllers of the features reach the window by.
    QWidget& window() override { return *this; }
    void showStatus(const QString& text) override;
    void clearStatusLater() override;
    ServerContext serverContext() override;
    Progress& progress() override;
    void showLoadedServer() override;
    void selectServer(const QString& name) override { serverboxChange(name); }
    QString selectedServerName() const override;
    void showNameServerStatus(const QString& text) override;
    void showSettings() override;

    QString statusText() const;

    // Enables or disables the commands that need a loaded server.
    void setServerCommandsEnabled(bool on);

    // Fills the server selection box's list from the catalog, keeping its text.
    void showServerList();
    // The user picked a server in the selection box.
    void serverboxChange(const QString& text);
    // "Delete Server" and "Server" / "Delete Selected".
    void deleteserverClick();
    // "Add New Server" and "Server" / "Add Server".
    void addserverClick();

    void updateDefaults();
    // The help window at "Getting started", and at the section for the widget (F1).
    void openHelp();
    void openHelpFor(QWidget* from);
    HelpWindow* helpWindow() const;
    void showAbout();
    // "Open the sample server": makes it when it is not there yet, and loads it.
    void openSampleServer();
    // Opens the sample server once the first showing has read the settings (the command line's --sample).
    void openSampleServerAtStart() { m_sampleAtStart = true; }
    void toggleDebugLog();
    void modifyTlds();
    void exitWithoutSaving();

Q_SIGNALS:
    // Loading reached the point where the zone trees are built; the zone browser builds them.
    void primaryTreeNeeded();
    void secondaryTreeNeeded();
    // The loaded server was deleted: the trees must be emptied.
    void zoneTreesCleared();
    // A boot file was read: pages that show its options fill themselves from `BootConfig`.
    void bootFileRead();
    // The first showing has read the settings (and opened the sample server when asked to).
    void firstShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeWindow();
    void rememberPlace();
    void buildMenu();
    void connectControllers();
    void addShortcuts();
    void firstShowing();
    void reportError(const QString& text);
    void showNewServer();

    AppState& m_state;
    SettingsStore& m_store;
    Prompter& m_prompter;
    Platform& m_platform;

    QTabWidget* m_pages = nullptr;
    ServerInfoPage* m_serverInfo = nullptr;
    DomainEditPage* m_domainEdit = nullptr;
    ZoneEditors* m_editors = nullptr;
    ServerOptionsPage* m_serverOptions = nullptr;
    RegistrationPage* m_registration = nullptr;
    UtilitiesPage* m_utilities = nullptr;
    SetupPage* m_setup = nullptr;
    QLabel* m_statusPanel = nullptr;
    QTimer* m_statusTimer = nullptr;
    ProgressWindow* m_progress = nullptr;
    StageWindow* m_stage = nullptr;
    NewServerWizard* m_newServer = nullptr;
    ServerOperations* m_serverOperations = nullptr;
    ServerOptionsActions* m_serverOptionsActions = nullptr;
    ReverseActions* m_reverseActions = nullptr;
    HistoryMenu* m_historyMenu = nullptr;
    SampleServerOffer* m_sampleOffer = nullptr;
    QPointer<HelpWindow> m_help;

    QMenu* m_serverMenu = nullptr;
    QList<QAction*> m_serverActions;  // the "Server" menu's items after "Add Server"
    QList<QAction*> m_utilityActions; // the first three of "Utilities" and "Reset Reverse Mapping"
    bool m_shownOnce = false;
    bool m_sampleAtStart = false;
    bool m_exiting = false;
};
