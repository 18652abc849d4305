#include "operations/serveroperations.h"

#include "bind9/configcheck.h"
#include "bind9/nameserverprobe.h"
#include "bind9/nameserverquery.h"
#include "bootfile/bootcontext.h"
#include "history/changepreviewdialog.h"
#include "history/historyactions.h"
#include "operations/backuprestore.h"
#include "operations/commandlock.h"
#include "operations/datafileviewer.h"
#include "operations/loadedserver.h"
#include "platform/prompter.h"
#include "servers/serverinfopage.h"
#include "shell/appstate.h"
#include "shell/mainwindow.h"
#include "shell/progresswindow.h"
#include "ui/zonebrowser/domaineditpage.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

ServerOperations::ServerOperations(MainWindow& window, AppState& state, SettingsStore& store, Prompter& prompter,
                                   Platform& platform)
    : QObject(&window), m_window(window), m_state(state), m_store(store), m_prompter(prompter), m_platform(platform)
{
    setObjectName(QStringLiteral("serveroperations"));
    ServerInfoPage* page = window.serverInfo();
    const QList<std::pair<QPushButton*, NdcCommand>> buttons = {
        {page->startserver, NdcCommand::Start}, {page->stopserver, NdcCommand::Stop},
        {page->reloaddb, NdcCommand::Reload},   {page->restartserver, NdcCommand::Restart},
        {page->viewdb, NdcCommand::DumpDb},     {page->viewstats, NdcCommand::Stats},
    };
    for (const auto& [button, command] : buttons)
        connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
    connect(window.domainEdit()->updatechanges, &QPushButton::clicked, this, &ServerOperations::updateChanges);
    if (QAction* backup = window.findChild<QAction*>(QStringLiteral("backupserver")))
        connect(backup, &QAction::triggered, this, &ServerOperations::backupServer);
    if (QAction* restore = window.findChild<QAction*>(QStringLiteral("restoreserver")))
        connect(restore, &QAction::triggered, this, &ServerOperations::restoreServer);
    if (QAction* check = window.findChild<QAction*>(QStringLiteral("checkservermenu")))
        connect(check, &QAction::triggered, this, &ServerOperations::checkServer);
    connect(&window, &MainWindow::bootFileRead, this, &ServerOperations::showNameServerStatus);
}

void ServerOperations::runCommand(NdcCommand command)
{
    if (!m_state.serverLoaded)
        return;
    // The dump and statistics name their server by the selection box, the other commands take the loaded one.
    const bool view = command == NdcCommand::DumpDb || command == NdcCommand::Stats;
    const std::optional<NdcTarget> target =
        view ? selectedServerTarget(m_state, m_store, m_window.serverInfo()->serverbox->currentText())
             : loadedServerTarget(m_state, m_store);
    if (!target)
        return;

    NdcOutcome outcome;
    {
        // A second command must not start while the control program of the first is still running.
        CommandLock lock(m_window);
        observeRunState(m_state);
        outcome = runNdcCommand(command, *target, m_state.ndcProgram, m_state.serverRunState, m_prompter, m_platform,
                                [this](const QString& text) { m_window.showStatus(text); });
        showNameServerStatus();
    }
    if (outcome.end == NdcOutcome::End::Done && loadsFiles(command)) {
        if (const QString error = markLoaded(m_state); !error.isEmpty())
            m_prompter.message(QStringLiteral("Attention!"), error);
    }
    if (outcome.end == NdcOutcome::End::Done && view)
        showDataFile(outcome.outputFile);
    else if (outcome.clearStatusLater)
        m_window.clearStatusLater();
}

void ServerOperations::updateChanges()
{
    if (!m_state.serverLoaded)
        return;
    QString error;
    const std::optional<QString> changes = changesSinceLoaded(m_state, &error);
    if (!changes) {
        m_prompter.message(QStringLiteral("Attention!"), error);
        return;
    }
    ChangePreviewDialog preview(*changes, &m_window);
    if (preview.exec() == QDialog::Accepted)
        runCommand(NdcCommand::Restart);
}

void ServerOperations::showDataFile(const QString& path)
{
    DatafileViewer viewer(&m_window);
    QCoreApplication::processEvents();
    QString error;
    const std::optional<QString> text = readDataFile(path, &error);
    if (!text) {
        reportGeneralError(m_prompter, error);
        return;
    }
    viewer.datatext->setPlainText(*text);
    viewer.exec();
    m_window.clearStatusLater();
}

void ServerOperations::checkServer()
{
    if (!m_state.serverLoaded)
        return;
    ServerCheckReport report;
    {
        CommandLock lock(m_window);
        ProgressWindow* progress = m_window.progressWindow();
        progress->showProgress();
        m_window.showStatus(QStringLiteral("Checking Server..."));
        report = checkLoadedServer(m_state, m_platform, [progress](int percent) { progress->setProgress(percent); });
        progress->hideProgress();
        m_window.showStatus(report.check.passed ? QStringLiteral("Server Checked.")
                                                : QStringLiteral("Server Checked: problems found."));
    }
    showLines(serverCheckLines(report));
}

void ServerOperations::showLines(const QStringList& lines)
{
    DatafileViewer viewer(&m_window);
    viewer.datatext->setPlainText(lines.join(QLatin1Char('\n')));
    viewer.exec();
}

void ServerOperations::showNameServerStatus()
{
    QLabel* label = m_window.serverInfo()->nameserverstatus;
    // Only the last question counts.
    delete m_statusQuery;
    if (!m_state.serverLoaded) {
        label->setText(QStringLiteral("Not Loaded"));
        return;
    }
    m_statusQuery = new NameServerQuery(this);
    const NameServerStatus target = nameServerTarget(m_state);
    connect(m_statusQuery, &NameServerQuery::finished, label, [label, target, query = m_statusQuery](bool answered) {
        NameServerStatus status = target;
        status.answering = answered;
        label->setText(nameServerStatusText(status));
        query->deleteLater();
    });
    m_statusQuery->ask(target.address, target.port, target.zone, kNameServerQueryMs);
}

void ServerOperations::backupServer()
{
    if (!m_state.serverLoaded)
        return;
    const QString data = m_state.zoneLists.datapath;
    // The data directory's files and the boot file.
    const qsizetype files = QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System).size() + 1;
    if (backupLoadedServer(m_state, m_store, *m_window.progressWindow(), m_prompter))
        m_window.showStatus(QStringLiteral("Backup made: %1 files copied to %2.")
                                .arg(files)
                                .arg(QDir::toNativeSeparators(backupFolder(data))));
}

void ServerOperations::restoreServer()
{
    if (!m_state.serverLoaded || !confirmRestore(m_state, m_store, m_prompter))
        return;
    const QString folder = backupFolder(m_state.zoneLists.datapath);
    // The zone files and the cache file (names matched without regard to case), and the boot file.
    const qsizetype files = QDir(folder).entryList({QStringLiteral("*.DNS")}, QDir::Files).size() + 1;
    if (restoreLoadedServer(m_state, m_store, *m_window.progressWindow(), m_prompter))
        m_window.showStatus(QStringLiteral("Backup restored: %1 files as backed up in %2; load the server again to "
                                           "see them.")
                                .arg(files)
                                .arg(QDir::toNativeSeparators(folder)));
}
