#include "reverse/reverseactions.h"

#include "operations/addlpropertiespage.h"
#include "platform/prompter.h"
#include "reverse/reversegeneration.h"
#include "reverse/reversehostnamedialog.h"
#include "reverse/secondaryreverse.h"
#include "reverse/secondaryreversedialog.h"
#include "shell/appstate.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/setuppage.h"
#include "shell/stagewindow.h"
#include "ui/zonebrowser/domaineditpage.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

ReverseActions::ReverseActions(MainWindow& window, AppState& state, Prompter& prompter)
    : QObject(&window), m_window(window), m_state(state), m_prompter(prompter)
{
    m_stage = window.stageWindow(); // the one "Processing..." window the main window shares
    m_hostName = new ReverseHostNameDialog(&window);
    m_ips = new SecondaryReverseDialog(
        prompter,
        [this](const QList<SecondaryReverseBlock>& blocks) {
            BootContext boot = m_window.serverContext().bootContext();
            saveSecondaryReverseBlocks(boot, blocks);
            m_window.showLoadedServer();
            showSecondaryReverseStatus();
        },
        &window);

    AddlPropertiesPage* page = window.addlProperties();
    connect(window.domainEdit()->reversemapping, &QPushButton::clicked, this, &ReverseActions::reversemappingClick);
    connect(page->addsecreverse, &QPushButton::clicked, this, &ReverseActions::addsecreverseClick);
    connect(page->delsecreverse, &QPushButton::clicked, this, &ReverseActions::delsecreverseClick);
    connect(page->secreverse, &QListWidget::itemSelectionChanged, this,
            [page] { page->delsecreverse->setEnabled(!page->secreverse->selectedItems().isEmpty()); });
    if (QAction* reset = window.findChild<QAction*>(QStringLiteral("resetreversemapping")))
        connect(reset, &QAction::triggered, this, &ReverseActions::resetReverseMapping);
}

void ReverseActions::reversemappingClick()
{
    ServerContext server = m_window.serverContext();
    ReverseContext context{m_state, server.store, m_prompter, *m_stage, *m_hostName};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReverseResult result = generateReverseMapping(context);
    QApplication::restoreOverrideCursor();
    m_window.setupPage()->showState();
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
    AddlPropertiesPage* page = m_window.addlProperties();
    const int row = page->secreverse->selectedItems().isEmpty() ? -1 : page->secreverse->currentRow();
    BootContext boot = m_window.serverContext().bootContext();
    if (deleteSecondaryReverse(boot, row)) {
        m_window.showLoadedServer();
        showSecondaryReverseStatus();
    }
    page->delsecreverse->setEnabled(false);
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
