#include "gui/editors/zonecreationactions.h"

#include "gui/editors/fastadddialog.h"
#include "gui/editors/newprimaryzonedialog.h"
#include "gui/editors/primaryzonewizard.h"
#include "gui/secondary/modifysecondarydialog.h"
#include "gui/secondary/newsecondarydialog.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "session/appstate.h"

#include <QApplication>
#include <QPushButton>

ZoneCreationActions::ZoneCreationActions(DomainEditPage& page, AppState& state, Prompter& prompter, QWidget* mainWindow,
                                         std::function<void()> reloadBootFile)
    : QObject(&page), m_page(page), m_state(state), m_prompter(prompter), m_reloadBootFile(std::move(reloadBootFile))
{
    const auto zoneContext = [this] { return m_page.zoneContext(); };
    PrimaryWizardHooks hooks;
    hooks.zoneContext = zoneContext;
    hooks.deletePrimary = [this] { m_page.deleteSelectedZone(); };
    hooks.reloadBootFile = m_reloadBootFile;
    hooks.showCreateDialog = [this] { m_create->show(); };
    hooks.zoneFinished = [this] { m_page.buildPrimaryTree(); };
    m_wizard = new PrimaryZoneWizard(state, prompter, hooks, mainWindow);
    m_create = new NewPrimaryZoneDialog(
        zoneContext, [this](const QString& zone) { m_wizard->startFor(zone); }, mainWindow);
    m_fastAdd = new FastAddDialog(
        state, zoneContext, [this] { m_page.buildPrimaryTree(); }, mainWindow);

    const auto secondaryContext = [this] {
        SecondaryContext context = secondaryZoneContext();
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
    connect(page.newprimary, &QPushButton::clicked, m_create.get(), &QWidget::show);
    connect(page.fastadd, &QPushButton::clicked, m_fastAdd, &QDialog::exec);
    connect(page.newsecondary, &QPushButton::clicked, m_newSecondary, &QDialog::open);
    connect(page.delsecondary, &QPushButton::clicked, this, &ZoneCreationActions::deleteSecondary);
}

ZoneCreationActions::~ZoneCreationActions()
{
    delete m_create;
    delete m_wizard;
}

NewPrimaryZoneDialog* ZoneCreationActions::createDialog() const
{
    return m_create;
}

PrimaryZoneWizard* ZoneCreationActions::wizard() const
{
    return m_wizard;
}

SecondaryContext ZoneCreationActions::secondaryZoneContext()
{
    // A secondary zone lives in the boot file alone: once it is written, the status bar says so.
    const auto reload = [this] {
        if (m_reloadBootFile)
            m_reloadBootFile();
        m_page.reportStatus(QStringLiteral("Boot file written: the server has %1 secondary zones now.")
                                .arg(m_state.zoneLists.secdns.size()));
    };
    SecondaryContext context{m_state, m_prompter, m_page.zoneContext().progress, reload, {}, {}};
    context.rebuildSecondaryTree = [this] { m_page.buildSecondaryTree(); };
    return context;
}

void ZoneCreationActions::deleteSecondary()
{
    SecondaryContext context = secondaryZoneContext();
    deleteSecondaryZone(context);
}
