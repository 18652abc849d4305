#include "gui/operations/serveroperations.h"

#include "bind9/configcheck.h"
#include "bind9/nameserverprobe.h"
#include "bind9/nameserverquery.h"
#include "gui/common/windowservices.h"
#include "gui/history/changepreviewdialog.h"
#include "gui/mainwindow/commandlock.h"
#include "gui/operations/datafileviewer.h"
#include "operations/servercontrol.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/backuprestore.h"
#include "server/history/historyactions.h"
#include "server/loadedserver.h"
#include "server/serverfiles.h"
#include "session/appstate.h"
#include "session/bootcontext.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

ServerOperations::ServerOperations(WindowServices& window, AppState& state, SettingsStore& store, Prompter& prompter,
                                   Platform& platform)
    : QObject(&window.window()), m_window(window), m_state(state), m_store(store), m_prompter(prompter),
      m_platform(platform)
{
    setObjectName(QStringLiteral("serveroperations"));
}

void ServerOperations::runCommand(NdcCommand command)
{
    if (!m_state.serverLoaded)
        return;
    // The dump and statistics name their server by the selection box, the other commands take the loaded one.
    const bool view = command == NdcCommand::DumpDb || command == NdcCommand::Stats;
    const std::optional<NdcTarget> target = view ? selectedServerTarget(m_state, m_store, m_window.selectedServerName())
                                                 : loadedServerTarget(m_state, m_store);
    if (!target)
        return;

    NdcOutcome outcome;
    {
        // A second command must not start while the control program of the first is still running.
        CommandLock lock(m_window.window());
        observeRunState(m_state);
        outcome = runNdcCommand(command, *target, m_state.ndcProgram, m_state.runState, m_prompter, m_platform,
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
    ChangePreviewDialog preview(*changes, &m_window.window());
    if (preview.exec() == QDialog::Accepted)
        runCommand(NdcCommand::Restart);
}

void ServerOperations::showDataFile(const QString& path)
{
    DatafileViewer viewer(&m_window.window());
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
        CommandLock lock(m_window.window());
        Progress* progress = &m_window.progress();
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
    DatafileViewer viewer(&m_window.window());
    viewer.datatext->setPlainText(lines.join(QLatin1Char('\n')));
    viewer.exec();
}

void ServerOperations::showNameServerStatus()
{
    // Only the last question counts.
    delete m_statusQuery;
    if (!m_state.serverLoaded) {
        m_window.showNameServerStatus(QStringLiteral("Not Loaded"));
        return;
    }
    m_statusQuery = new NameServerQuery(this);
    const NameServerStatus target = nameServerTarget(m_state);
    connect(m_statusQuery, &NameServerQuery::finished, this, [this, target, query = m_statusQuery](bool answered) {
        NameServerStatus status = target;
        status.answering = answered;
        m_window.showNameServerStatus(nameServerStatusText(status));
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
    if (backupLoadedServer(m_state, m_store, m_window.progress(), m_prompter))
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
    if (restoreLoadedServer(m_state, m_store, m_window.progress(), m_prompter))
        m_window.showStatus(QStringLiteral("Backup restored: %1 files as backed up in %2; load the server again to "
                                           "see them.")
                                .arg(files)
                                .arg(QDir::toNativeSeparators(folder)));
}
