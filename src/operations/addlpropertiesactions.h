#pragma once

#include "operations/bootoptions.h"

#include <QObject>
#include <QStringList>

#include <functional>

struct AppState;
class AddlPropertiesPage;
class Platform;
class Prompter;
class QListWidget;
class QTimer;
class Tdnsmain;
class Tftpclientform;

// The "Addl Properties" page's work: the boot options editor (the lists' "Add" and "Delete", "Update") and the
// root cache retrieval with its FTP window and cache timer.
class AddlPropertiesActions : public QObject
{
    Q_OBJECT
public:
    // How "Update" reaches the loaded server's boot file: its option lines, and the writer of the whole file.
    struct BootFileAccess
    {
        std::function<QStringList*()> optionLines;
        std::function<bool()> writeBootFile;
    };

    AddlPropertiesActions(Tdnsmain& window, AppState& state, Prompter& prompter, Platform& platform);

    void setBootFileAccess(BootFileAccess access) { m_bootFile = std::move(access); }

    // Fills the page from the loaded server's option lines.
    void fillOptions(const QStringList& optionLines);
    BootOptions pageOptions() const;

    void addEntry(OptionEntryKind kind);
    void deleteEntry(OptionEntryKind kind);
    void updateOptions();

    void getCache();
    void cacheTimerFired();

    Tftpclientform* ftpWindow() const { return m_ftpWindow; }
    QTimer* cacheTimer() const { return m_cacheTimer; }

private:
    QListWidget* listOf(OptionEntryKind kind) const;
    void reportError(const QString& text);

    Tdnsmain& m_window;
    AddlPropertiesPage* m_page;
    AppState& m_state;
    Prompter& m_prompter;
    Platform& m_platform;
    BootFileAccess m_bootFile;
    Tftpclientform* m_ftpWindow;
    QTimer* m_cacheTimer;
};
