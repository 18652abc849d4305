#pragma once

#include "reverse/forwardreversecheck.h"

#include <QDialog>
#include <functional>

struct AppState;
class Prompter;
class QLabel;
class QPushButton;
class QTreeWidget;
class SettingsStore;

// The "Forward and Reverse" window: what the consistency check found on the loaded server, one row per finding
// with its fix (and, for an address several hosts hold, the host it is to map to), and the buttons that check
// again, fix the selected finding or fix them all as one change.
class ForwardReverseWindow : public QDialog
{
    Q_OBJECT
public:
    // changed runs after a fix wrote files, for the main window to show the server anew.
    ForwardReverseWindow(AppState& state, SettingsStore& store, Prompter& prompter, std::function<void()> changed,
                         QWidget* parent);

    QLabel* summary;
    QTreeWidget* findings;
    QPushButton* checkagain;
    QPushButton* fixselected;
    QPushButton* fixall;
    QPushButton* closeit;

    // Checks the server and shows what it found.
    void check();
    void fixSelectedClick();
    void fixAllClick();

    const QList<ConsistencyFinding>& shownFindings() const { return m_findings; }

private:
    void fill(const ConsistencyReport& report);
    void fix(const QList<ConsistencyFinding>& chosen);
    void updateButtons();

    AppState& m_state;
    SettingsStore& m_store;
    Prompter& m_prompter;
    std::function<void()> m_changed;
    QList<ConsistencyFinding> m_findings;
};
