#pragma once

#include <QObject>

struct AppState;
class DomainEditPage;
class QMenu;
class WindowServices;
class Prompter;
class QAction;

// The history's commands in the main window: "History..." and "Undo Last Change" (Ctrl+Z where no text field
// has the focus) in the "Server" menu, "History" in the zone trees' menus for one zone, and the report of a
// change the history could not record.
class HistoryMenu : public QObject
{
    Q_OBJECT
public:
    HistoryMenu(WindowServices& window, QMenu& serverMenu, DomainEditPage& zonePage, AppState& state,
                Prompter& prompter);
    ~HistoryMenu() override;

    // Opens the window over all zones, or over one; returns when it is closed.
    void showHistory(const QString& zone = QString());
    void undoLastChangeClick();

    QAction* historyAction() const { return m_history; }
    QAction* undoAction() const { return m_undo; }

private:
    void reloadServer();

    WindowServices& m_window;
    AppState& m_state;
    Prompter& m_prompter;
    QAction* m_history;
    QAction* m_undo;
};
