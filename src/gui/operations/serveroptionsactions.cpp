#include "gui/operations/serveroptionsactions.h"

#include "gui/common/windowservices.h"
#include "gui/mainwindow/commandlock.h"
#include "gui/operations/addoptiondialog.h"
#include "gui/operations/ftpprogresswindow.h"
#include "gui/operations/serveroptionspage.h"
#include "operations/rootcache.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "server/serverchange.h"
#include "session/appstate.h"
#include "session/bootcontext.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kCacheDelayMs = 3000;

QStringList entriesOf(const QListWidget* list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

void setEntries(QListWidget* list, const QStringList& entries)
{
    list->clear();
    list->addItems(entries);
}

} // namespace

ServerOptionsActions::ServerOptionsActions(WindowServices& window, ServerOptionsPage& page, AppState& state,
                                           Prompter& prompter)
    : QObject(&window.window()), m_window(window), m_page(&page), m_state(state), m_prompter(prompter)
{
    setObjectName(QStringLiteral("addlpropertiesactions"));
    m_ftpWindow = new FtpProgressWindow(&window.window());
    m_cacheTimer = new QTimer(this);
    m_cacheTimer->setObjectName(QStringLiteral("cachetimer"));
    m_cacheTimer->setInterval(kCacheDelayMs);
    m_cacheTimer->setSingleShot(true);
    m_cacheTimer->setTimerType(Qt::PreciseTimer);
    connect(m_cacheTimer, &QTimer::timeout, this, &ServerOptionsActions::cacheTimerFired);
    connect(m_ftpWindow, &FtpProgressWindow::cancelRequested, this, [this] { m_cancelRequested = true; });

    const QList<std::pair<QPushButton*, OptionEntryKind>> adds = {
        {m_page->addxfrnet, OptionEntryKind::Xfr},
        {m_page->addbogus, OptionEntryKind::Bogus},
        {m_page->addforwarder, OptionEntryKind::Forwarder},
    };
    for (const auto& [button, kind] : adds)
        connect(button, &QPushButton::clicked, this, [this, kind] { addEntry(kind); });
    const QList<std::pair<QPushButton*, OptionEntryKind>> deletes = {
        {m_page->delxfrnet, OptionEntryKind::Xfr},
        {m_page->delbogus, OptionEntryKind::Bogus},
        {m_page->delforwarder, OptionEntryKind::Forwarder},
    };
    for (const auto& [button, kind] : deletes)
        connect(button, &QPushButton::clicked, this, [this, kind] { deleteEntry(kind); });
    connect(m_page->updateoptions, &QPushButton::clicked, this, &ServerOptionsActions::updateOptions);
    connect(m_page->getcache, &QPushButton::clicked, this, &ServerOptionsActions::getCache);
}

QListWidget* ServerOptionsActions::listOf(OptionEntryKind kind) const
{
    switch (kind) {
    case OptionEntryKind::Xfr:
        return m_page->xfrnets;
    case OptionEntryKind::Bogus:
        return m_page->bogusns;
    case OptionEntryKind::Forwarder:
        break;
    }
    return m_page->forwarders;
}

void ServerOptionsActions::fillOptions(const QStringList& optionLines)
{
    m_page->showConfOptions(m_state.conf.isLoaded() ? std::optional(m_state.conf.optionLines()) : std::nullopt);
    const BootOptions options = parseBootOptionLines(optionLines);
    m_page->forwardonly->setChecked(options.forwardOnly);
    m_page->norecursion->setChecked(options.noRecursion);
    m_page->querylog->setChecked(options.queryLog);
    m_page->limittransfers->setChecked(options.limitTransfersIn);
    m_page->limittransfersvalue->setText(options.transfersIn);
    m_page->limitpername->setChecked(options.limitTransfersPerNs);
    m_page->limitpernamevalue->setText(options.transfersPerNs);
    setEntries(m_page->xfrnets, options.xfrnets);
    setEntries(m_page->bogusns, options.bogusns);
    setEntries(m_page->forwarders, options.forwarders);
}

BootOptions ServerOptionsActions::pageOptions() const
{
    BootOptions options;
    options.forwardOnly = m_page->forwardonly->isChecked();
    options.noRecursion = m_page->norecursion->isChecked();
    options.queryLog = m_page->querylog->isChecked();
    options.limitTransfersIn = m_page->limittransfers->isChecked();
    options.transfersIn = m_page->limittransfersvalue->text();
    options.limitTransfersPerNs = m_page->limitpername->isChecked();
    options.transfersPerNs = m_page->limitpernamevalue->text();
    options.xfrnets = entriesOf(m_page->xfrnets);
    options.bogusns = entriesOf(m_page->bogusns);
    options.forwarders = entriesOf(m_page->forwarders);
    return options;
}

void ServerOptionsActions::addEntry(OptionEntryKind kind)
{
    AddOptionDialog dialog(kind, m_prompter, &m_window.window());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    if (dialog.exec() == QDialog::Accepted)
        listOf(kind)->addItem(dialog.entry());
}

void ServerOptionsActions::deleteEntry(OptionEntryKind kind)
{
    QListWidget* list = listOf(kind);
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("You must first select an entry."));
        return;
    }
    delete selected.first();
}

void ServerOptionsActions::updateOptions()
{
    if (!m_state.serverLoaded)
        return;
    const bool updated = updateBootOptions(pageOptions(), m_state.boot.parameterLines, m_prompter, [this] {
        const BootWriteResult written = writeBootFile(m_state);
        if (!written.ok)
            reportGeneralError(m_prompter, written.errorText);
        return written.ok;
    });
    if (updated)
        m_window.showStatus(QStringLiteral("Boot options written: %1 option lines in %2.")
                                .arg(m_state.boot.parameterLines.size())
                                .arg(QDir::toNativeSeparators(m_state.pendingBootFilePath)));
}

void ServerOptionsActions::getCache()
{
    m_cancelRequested = false;
    m_ftpWindow->showCentred();
    RootCacheFetch fetched = RootCacheFetch::Failed;
    {
        // Nothing else may reach the server while the exchange lets window messages run.
        CommandLock lock(m_window.window());
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const RootCacheSource source{m_state.ftpHost, m_state.ftpPort, m_state.emailaddr};
        fetched = fetchRootCache(
            source, m_state.exepath, [this](const QString& line) { m_ftpWindow->addLine(line); },
            [this] { m_ftpWindow->clearLines(); }, m_prompter, [this] { return m_cancelRequested; });
        QApplication::restoreOverrideCursor();
        m_ftpWindow->hide();
    }
    if (fetched == RootCacheFetch::Cancelled) {
        m_window.showStatus(QStringLiteral("Root hints download cancelled; the cache file is as it was."));
        return;
    }
    // A refused download installs nothing. After a failed one an earlier download is installed again; without
    // one there is nothing to install, and the failure has been reported once already.
    if (fetched == RootCacheFetch::TooLarge ||
        (fetched == RootCacheFetch::Failed && !QFileInfo::exists(rootCacheDownload(m_state.exepath))))
        return;
    m_cacheTimer->start();
    m_page->cachelabel->setText(QStringLiteral("Processing InterNIC Download..."));
}

void ServerOptionsActions::cacheTimerFired()
{
    m_cacheTimer->stop();
    m_page->cachelabel->setText(QStringLiteral("Latest InterNIC Download: "));
    const ServerChange change(m_state);
    if (!change.isHeld()) {
        reportGeneralError(m_prompter, change.errorText());
        return;
    }
    const RootCacheInstall install = installRootCache(m_state.exepath, m_state.zoneLists.datapath);
    if (install.read) {
        m_state.rootCacheText = install.text;
        m_page->cachetext->setPlainText(install.text);
    }
    if (!install.errorText.isEmpty()) {
        reportGeneralError(m_prompter, install.errorText);
        return;
    }
    const QString cacheFile = QDir(m_state.zoneLists.datapath).filePath(QStringLiteral("cache.dns"));
    m_window.showStatus(
        install.installed ? QStringLiteral("Root hints installed: %1 written.").arg(QDir::toNativeSeparators(cacheFile))
                          : QStringLiteral("Root hints shown; no data directory to install them in."));
}
