#pragma once

#include "operations/bootoptions.h"

#include <QObject>
#include <QStringList>

struct AppState;
class ServerOptionsPage;
class Prompter;
class QListWidget;
class QTimer;
class WindowServices;
class FtpProgressWindow;

// The "Addl Properties" page's work: the boot options editor (the lists' "Add" and "Delete", "Update") and the
// root cache retrieval with its FTP window and cache timer. What each writes is told in the status bar.
class ServerOptionsActions : public QObject
{
    Q_OBJECT
public:
    ServerOptionsActions(WindowServices& window, ServerOptionsPage& page, AppState& state, Prompter& prompter);

    // Fills the page from option lines; every reading of the boot file does it with the server's lines.
    void fillOptions(const QStringList& optionLines);
    BootOptions pageOptions() const;

    void addEntry(OptionEntryKind kind);
    void deleteEntry(OptionEntryKind kind);
    void updateOptions();

    void getCache();
    void cacheTimerFired();

    FtpProgressWindow* ftpWindow() const { return m_ftpWindow; }
    QTimer* cacheTimer() const { return m_cacheTimer; }

private:
    QListWidget* listOf(OptionEntryKind kind) const;

    WindowServices& m_window;
    ServerOptionsPage* m_page;
    AppState& m_state;
    Prompter& m_prompter;
    FtpProgressWindow* m_ftpWindow;
    QTimer* m_cacheTimer;
    bool m_cancelRequested = false;
};
