#include "operations/serveroperations.h"

#include "operations/backuprestore.h"
#include "operations/tdatafileviewer.h"
#include "platform/prompter.h"
#include "servers/serverinfopage.h"
#include "shell/appstate.h"
#include "shell/progresswindow.h"
#include "shell/tdnsmain.h"
#include "ui/zonebrowser/domaineditpage.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>

ServerOperations::ServerOperations(Tdnsmain& window, AppState& state, Prompter& prompter, Platform& platform)
    : QObject(&window), m_window(window), m_state(state), m_prompter(prompter), m_platform(platform)
{
    setObjectName(QStringLiteral("serveroperations"));
    ServerInfoPage* page = window.serverInfo();
    const QList<std::pair<QPushButton*, NdcCommand>> buttons = {
        {page->startserver, NdcCommand::Start},   {page->stopserver, NdcCommand::Stop},
        {page->reloaddb, NdcCommand::Reload},     {page->restartserver, NdcCommand::Restart},
        {page->viewdb, NdcCommand::DumpDb},       {page->viewstats, NdcCommand::Stats},
        {window.domainEdit()->updatechanges, NdcCommand::Restart},
    };
    for (const auto& [button, command] : buttons)
        connect(button, &QPushButton::clicked, this, [this, command] { runCommand(command); });
    if (QAction* backup = window.findChild<QAction*>(QStringLiteral("backupserver")))
        connect(backup, &QAction::triggered, this, &ServerOperations::backupServer);
    if (QAction* restore = window.findChild<QAction*>(QStringLiteral("restoreserver")))
        connect(restore, &QAction::triggered, this, &ServerOperations::restoreServer);
}

std::optional<NdcTarget> ServerOperations::targetNamed(const QString& computerName) const
{
    const std::optional<ManagedServer> server = findCatalogServer(m_state.catalog, computerName);
    if (!server)
        return std::nullopt;
    return NdcTarget{*server, m_state.defaultos};
}

void ServerOperations::setCommandsEnabled(bool on)
{
    QPushButton* updateChanges = m_window.domainEdit()->updatechanges;
    if (!on)
        m_updateChangesWasEnabled = updateChanges->isEnabled();
    m_window.setServerCommandsEnabled(on);
    updateChanges->setEnabled(on ? m_updateChangesWasEnabled : false);
}

void ServerOperations::runCommand(NdcCommand command)
{
    // The dump and statistics name their server by the selection box, the other commands by the loaded server.
    const bool view = command == NdcCommand::DumpDb || command == NdcCommand::Stats;
    const QString name = view ? m_window.serverInfo()->serverbox->currentText() : m_state.servername;
    const std::optional<NdcTarget> target = targetNamed(name);
    if (!target)
        return;

    // A second command must not start while the control program of the first is still running.
    setCommandsEnabled(false);
    const NdcOutcome outcome =
        runNdcCommand(command, *target, m_state.ndcProgram, m_state.serverRunState, m_prompter, m_platform,
                      [this](const QString& text) { m_window.showStatus(text); });
    setCommandsEnabled(true);

    if (outcome.end == NdcOutcome::End::Done && view)
        showDataFile(outcome.outputFile);
    else if (outcome.clearStatusLater)
        m_window.clearStatusLater();
}

void ServerOperations::showDataFile(const QString& path)
{
    Tdatafileviewer viewer(&m_window);
    QCoreApplication::processEvents();
    QString error;
    const std::optional<QString> text = readDataFile(path, &error);
    if (!text) {
        m_prompter.message(QStringLiteral("Error"), error, Prompter::Button::Ok, Prompter::Icon::Critical);
        return;
    }
    viewer.datatext->setPlainText(*text);
    viewer.exec();
    m_window.clearStatusLater();
}

void ServerOperations::backupServer()
{
    const std::optional<ManagedServer> server = findCatalogServer(m_state.catalog, m_state.servername);
    if (!server)
        return;
    ::backupServer(m_state.zoneLists.datapath, server->bootFilePath, m_state.autoBackup, *m_window.progressWindow(),
                   m_prompter);
}

void ServerOperations::restoreServer()
{
    const std::optional<ManagedServer> server = findCatalogServer(m_state.catalog, m_state.servername);
    if (!server)
        return;
    ::restoreServer(m_state.zoneLists.datapath, server->bootFilePath, m_prompter);
}
