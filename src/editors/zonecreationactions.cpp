#include "editors/zonecreationactions.h"

#include "editors/fastadddialog.h"
#include "editors/newprimaryzonedialog.h"
#include "editors/primaryzonewizard.h"
#include "secondary/modifysecondarydialog.h"
#include "secondary/newsecondarydialog.h"
#include "shell/appstate.h"
#include "ui/zonebrowser/domaineditpage.h"

#include <QApplication>
#include <QPushButton>

ZoneCreationActions::ZoneCreationActions(DomainEditPage& page, AppState& state, Prompter& prompter, QWidget* mainWindow,
                                         std::function<void()> reloadBootFile)
    : QObject(&page), m_page(page), m_state(state), m_prompter(prompter), m_mainWindow(mainWindow),
      m_reloadBootFile(std::move(reloadBootFile))
{
    const auto zoneContext = [this] { return m_page.zoneContext(); };
    PrimaryWizardHooks hooks;
    hooks.zoneContext = zoneContext;
    hooks.deletePrimary = [this] { m_page.deleteprimaryClick(); };
    hooks.reloadBootFile = m_reloadBootFile;
    hooks.enableMainWindow = [this](bool on) {
        if (m_mainWindow)
            m_mainWindow->setEnabled(on);
    };
    hooks.showCreateDialog = [this] { m_create->show(); };
    hooks.zoneFinished = [this] { m_page.buildPrimaryTree(); };
    // Without a parent: the main window is disabled while they are shown, which would disable its children too.
    m_wizard = new PrimaryZoneWizard(state, prompter, hooks);
    m_create = new NewPrimaryZoneDialog(zoneContext, [this](const QString& zone) { m_wizard->startFor(zone); });
    m_fastAdd = new FastAddDialog(
        state, zoneContext, [this] { m_page.buildPrimaryTree(); }, mainWindow);

    const auto secondaryContext = [this] {
        SecondaryContext context{m_state, m_prompter, m_page.zoneContext().progress, m_reloadBootFile, {}, {}};
        context.rebuildSecondaryTree = [this] { m_page.buildSecondaryTree(); };
        context.showBusy = [](bool on) {
            if (on)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        };
        return context;
    };
    m_newSecondary = new NewSecondaryDialog(secondaryContext, mainWindow);
    m_modifySecondary = new ModifySecondaryDialog(secondaryContext, mainWindow);

    page.setWizardOpen([this] { return m_wizard->isVisible(); });
    page.setSecondaryEditorOpener([this](const QString& zone) { m_modifySecondary->openFor(zone); });
    connect(page.newprimary, &QPushButton::clicked, m_create, &QWidget::show);
    connect(page.fastadd, &QPushButton::clicked, m_fastAdd, &QDialog::exec);
    connect(page.newsecondary, &QPushButton::clicked, m_newSecondary, &QDialog::open);
    connect(page.delsecondary, &QPushButton::clicked, this, &ZoneCreationActions::deleteSecondary);
}

ZoneCreationActions::~ZoneCreationActions()
{
    delete m_create;
    delete m_wizard;
}

void ZoneCreationActions::deleteSecondary()
{
    SecondaryContext context{m_state, m_prompter, m_page.zoneContext().progress, m_reloadBootFile, {}, {}};
    context.rebuildSecondaryTree = [this] { m_page.buildSecondaryTree(); };
    deleteSecondaryZone(context);
}
