#include "gui/reverse/reverseactions.h"

#include "gui/common/stagewindow.h"
#include "gui/common/windowservices.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/reverse/forwardreversewindow.h"
#include "gui/reverse/reversehostnamedialog.h"
#include "gui/reverse/reversezonesdialog.h"
#include "gui/reverse/secondaryreversedialog.h"
#include "platform/prompter.h"
#include "reverse/reversegeneration.h"
#include "reverse/secondaryreverse.h"
#include "session/appstate.h"
#include "session/settings.h"

#include <QApplication>

ReverseActions::ReverseActions(WindowServices& window, ServerOptionsPage& optionsPage, StageWindow& stage,
                               AppState& state, Prompter& prompter)
    : QObject(&window.window()), m_window(window), m_optionsPage(optionsPage), m_state(state), m_prompter(prompter),
      m_stage(&stage)
{
    m_hostName = new ReverseHostNameDialog(&window.window());
    m_ips = new SecondaryReverseDialog(
        prompter,
        [this](const QList<SecondaryReverseBlock>& blocks) {
            BootContext boot = m_window.serverContext().bootContext();
            saveSecondaryReverseBlocks(boot, blocks);
            m_window.showLoadedServer();
            showSecondaryReverseStatus();
        },
        &window.window());
    connect(&optionsPage, &ServerOptionsPage::addSecondaryReverseRequested, this, &ReverseActions::addsecreverseClick);
    connect(&optionsPage, &ServerOptionsPage::deleteSecondaryReverseRequested, this,
            &ReverseActions::delsecreverseClick);
}

void ReverseActions::reversemappingClick()
{
    ServerContext server = m_window.serverContext();
    ReverseContext context{m_state, server.store, m_prompter, *m_stage, *m_hostName};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReverseResult result = generateReverseMapping(context);
    QApplication::restoreOverrideCursor();
    m_window.showSettings();
    m_window.showLoadedServer();
    if (!result.ok) {
        reportGeneralError(m_prompter, result.errorText);
        return;
    }
    m_window.showStatus(QStringLiteral("Reverse mapping written: %1 files (%2) and the boot file.")
                            .arg(result.filesWritten.size())
                            .arg(result.filesWritten.join(QStringLiteral(", "))));
}

void ReverseActions::addsecreverseClick()
{
    m_ips->exec();
}

void ReverseActions::delsecreverseClick()
{
    const int row = m_optionsPage.selectedSecondaryReverseRow();
    BootContext boot = m_window.serverContext().bootContext();
    if (deleteSecondaryReverse(boot, row)) {
        m_window.showLoadedServer();
        showSecondaryReverseStatus();
    }
}

void ReverseActions::showSecondaryReverseStatus()
{
    m_window.showStatus(QStringLiteral("Boot file written: %1 secondary reverse blocks.")
                            .arg(m_state.boot.secondaryReverseComments.size()));
}

void ReverseActions::resetReverseMapping()
{
    if (!m_state.serverLoaded)
        return;
    const qsizetype forgotten = m_state.zoneLists.reverseignore.size();
    ::resetReverseMapping(m_state);
    // Kept at once, so that the next start does not bring the answers back.
    QString error;
    if (!saveSettings(m_state, m_window.serverContext().store, &error)) {
        reportGeneralError(m_prompter, error);
        return;
    }
    m_window.showStatus(QStringLiteral("Reverse mapping reset: %1 host names forgotten; the next Reverse Mapping "
                                       "asks again which name a shared address maps back to.")
                            .arg(forgotten));
}

void ReverseActions::forwardAndReverse()
{
    if (!m_state.serverLoaded)
        return;
    if (!m_forwardReverse)
        m_forwardReverse = new ForwardReverseWindow(
            m_state, m_window.serverContext().store, m_prompter,
            [this] {
                m_window.showLoadedServer();
                m_window.showStatus(QStringLiteral("Forward and reverse mapping fixed; the history holds the change "
                                                   "as one revision."));
            },
            &m_window.window());
    m_forwardReverse->check();
    m_forwardReverse->exec();
}

void ReverseActions::reverseZones()
{
    if (!m_state.serverLoaded)
        return;
    if (!m_reverseZones)
        m_reverseZones =
            new ReverseZonesDialog(m_state, m_window.serverContext().store, m_prompter, &m_window.window());
    if (m_reverseZones->openForServer() == QDialog::Accepted)
        m_window.showStatus(QStringLiteral("Reverse zones chosen; the next Reverse Mapping makes them."));
}
