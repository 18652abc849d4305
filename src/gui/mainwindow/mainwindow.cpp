#include "gui/mainwindow/mainwindow.h"

#include "bootfile/bootlines.h"
#include "editors/domaindefaults.h"
#include "gui/common/progresswindow.h"
#include "gui/common/stagewindow.h"
#include "gui/common/windowconventions.h"
#include "gui/editors/zonecreationactions.h"
#include "gui/editors/zoneeditors.h"
#include "gui/help/helpwindow.h"
#include "gui/history/historymenu.h"
#include "gui/mainwindow/pagetooltips.h"
#include "gui/operations/serveroperations.h"
#include "gui/operations/serveroptionsactions.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/registration/registrationpage.h"
#include "gui/reverse/reverseactions.h"
#include "gui/servers/deleteserverdialog.h"
#include "gui/servers/newserverwizard.h"
#include "gui/servers/sampleserveroffer.h"
#include "gui/servers/serverinfopage.h"
#include "gui/setup/setuppage.h"
#include "gui/setup/tldlisteditor.h"
#include "gui/utilities/utilitiespage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/helpfile.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "sample/sampleserver.h"
#include "server/bootload.h"
#include "server/serverdeletion.h"
#include "server/serverloading.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/sessionstart.h"
#include "session/settings.h"
#include "zonebrowser/primarydeletion.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kStatusClearMs = 10000;
constexpr int kPreferredWidth = 960;
constexpr int kPreferredHeight = 680;
const QString kWindowSection = QStringLiteral("Window");
const QString kGeometry = QStringLiteral("Geometry");

// The hourglass for the duration of a scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

MainWindow::MainWindow(AppState& state, SettingsStore& store, Prompter& prompter, Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_store(store), m_prompter(prompter), m_platform(platform)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quorvane 2.0"));

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_serverInfo = new ServerInfoPage(m_pages);
    m_domainEdit = new DomainEditPage(m_state, m_prompter, m_pages);
    m_serverOptions = new ServerOptionsPage(m_pages);
    m_registration = new RegistrationPage(m_state, m_store, m_prompter, m_platform, m_pages);
    m_utilities = new UtilitiesPage(m_state, m_prompter, m_platform, m_pages);
    m_setup = new SetupPage(m_state, m_pages);
    m_pages->addTab(m_serverInfo, QStringLiteral("Server Info"));
    m_pages->addTab(m_domainEdit, QStringLiteral("Domain Edit"));
    m_pages->addTab(m_serverOptions, QStringLiteral("Addl Properties"));
    m_pages->addTab(m_registration, QStringLiteral("InterNic Registration"));
    m_pages->addTab(m_utilities, QStringLiteral("Utilities"));
    m_pages->addTab(m_setup, QStringLiteral("Setup"));
    // The pages scroll inside the window when it is smaller than they would like, so that the window fits a small
    // screen or a large scale factor and its status bar stays in sight.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("pagescroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(m_pages);
    setCentralWidget(scroller);
    m_sampleOffer = new SampleServerOffer(m_serverInfo);
    static_cast<QVBoxLayout*>(m_serverInfo->layout())->insertWidget(0, m_sampleOffer);
    connect(m_sampleOffer->opensample, &QPushButton::clicked, this, &MainWindow::openSampleServer);

    m_statusPanel = new QLabel(this);
    m_statusPanel->setObjectName(QStringLiteral("statuspanel"));
    statusBar()->addWidget(m_statusPanel, 1);
    m_statusTimer = new QTimer(this);
    m_statusTimer->setObjectName(QStringLiteral("statustimer"));
    m_statusTimer->setInterval(kStatusClearMs);
    m_statusTimer->setSingleShot(true);
    connect(m_statusTimer, &QTimer::timeout, m_statusPanel, &QLabel::clear);

    m_progress = new ProgressWindow(this);
    m_stage = new StageWindow(this);
    m_newServer = new NewServerWizard([this] { return serverContext(); }, *m_stage, this);
    m_domainEdit->setProgress(m_progress);
    // Every zone save ends with the boot file: the status bar says what was written.
    m_domainEdit->setBootFileSaver([this, save = serverBootFileSaver()](AppState& state, Progress& progress) {
        const FileWriteResult result = save(state, progress);
        if (result.ok)
            showStatus(zoneSavedText(state));
        return result;
    });
    m_domainEdit->setStatusReporter([this](const QString& text) { showStatus(text); });
    m_domainEdit->setBootFileDrop([this](const QString& zone) {
        BootContext boot = serverContext().bootContext();
        const FileWriteResult result = dropPrimaryFromBootFile(boot, zone);
        showLoadedServer();
        if (result.ok)
            showStatus(QStringLiteral("Zone %1 deleted: its file removed and the boot file written.").arg(zone));
        return result;
    });
    m_domainEdit->setSecondaryRows([this] {
        QList<SecondaryZoneEntry> rows;
        for (const ZoneGridRow& row : std::as_const(m_state.boot.secondaryFullGrid))
            rows << SecondaryZoneEntry{row.zone, row.masters, row.file};
        return rows;
    });
    m_editors = new ZoneEditors(m_state, m_prompter, *m_domainEdit, this);
    m_setup->setPrompter(&m_prompter);
    // New and fast-added primary zones, secondary zones.
    new ZoneCreationActions(*m_domainEdit, m_state, m_prompter, this, [this] {
        BootContext boot = serverContext().bootContext();
        readBootFile(boot, false);
        showLoadedServer();
    });
    connect(this, &MainWindow::primaryTreeNeeded, m_domainEdit, &DomainEditPage::buildPrimaryTree);
    connect(this, &MainWindow::secondaryTreeNeeded, m_domainEdit, &DomainEditPage::buildSecondaryTree);
    connect(this, &MainWindow::zoneTreesCleared, m_domainEdit, &DomainEditPage::clearTrees);

    buildMenu();
    m_serverOperations = new ServerOperations(*this, m_state, m_store, m_prompter, m_platform);
    m_serverOptionsActions = new ServerOptionsActions(*this, *m_serverOptions, m_state, m_prompter);
    m_reverseActions = new ReverseActions(*this, *m_serverOptions, *m_stage, m_state, m_prompter);
    m_historyMenu = new HistoryMenu(*this, *m_serverMenu, *m_domainEdit, m_state, m_prompter);
    connectControllers();

    // Creation: nothing is loaded, so no zone can be deleted yet, and the first page is the server's.
    m_domainEdit->deleteprimary->setEnabled(false);
    m_domainEdit->delsecondary->setEnabled(false);
    m_pages->setCurrentWidget(m_serverInfo);
    m_state.exepath = m_platform.appDataPath();
    m_state.path = m_state.exepath;
    m_serverInfo->pathlabel->setText(QDir::toNativeSeparators(m_state.path));

    m_state.debugLog.setPath(QDir(m_state.exepath).filePath(QStringLiteral("dns.log")));
    m_state.debugLog.setErrorHandler([this](const QString& text) { reportError(text); });

    connect(m_setup->updatedefaults, &QPushButton::clicked, this, &MainWindow::updateDefaults);
    connect(m_serverInfo->serverbox, &QComboBox::textActivated, this, &MainWindow::serverboxChange);
    connect(m_serverInfo->deleteserver, &QPushButton::clicked, this, &MainWindow::deleteserverClick);
    connect(m_serverInfo->addserver, &QPushButton::clicked, this, &MainWindow::addserverClick);
    connect(m_newServer, &NewServerWizard::serverAdded, this, &MainWindow::showNewServer);
    connect(m_newServer, &NewServerWizard::serverBoxTextRequested, m_serverInfo->serverbox, &QComboBox::setEditText);
    connect(m_newServer, &NewServerWizard::helpRequested, this, &MainWindow::openHelp);
    setServerCommandsEnabled(false);
    addShortcuts();
    addPageTooltips(m_pages);
    new WindowConventions([this](QWidget* from) { openHelpFor(from); }, this);
    placeWindow();
}

MainWindow::~MainWindow() = default;

void MainWindow::placeWindow()
{
    // A size that suits the pages, but never more than most of the screen; then where the user left it.
    QSize size(kPreferredWidth, kPreferredHeight);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    const QByteArray geometry = QByteArray::fromBase64(m_store.text(kWindowSection, kGeometry).toLatin1());
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
}

void MainWindow::rememberPlace()
{
    m_store.setText(kWindowSection, kGeometry, QString::fromLatin1(saveGeometry().toBase64()));
    m_store.sync();
}

void MainWindow::buildMenu()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("filemenu"));
    file->addAction(QStringLiteral("Open Sample Server"), this, &MainWindow::openSampleServer)
        ->setObjectName(QStringLiteral("opensamplemenu"));
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("Exit"), this, &MainWindow::exitWithoutSaving);
    exit->setObjectName(QStringLiteral("exit"));

    QMenu* server = menuBar()->addMenu(QStringLiteral("Server"));
    server->setObjectName(QStringLiteral("servermenu"));
    m_serverMenu = server;
    QAction* addServer = server->addAction(QStringLiteral("Add Server"));
    addServer->setObjectName(QStringLiteral("addservermenu"));
    connect(addServer, &QAction::triggered, m_serverInfo->addserver, &QPushButton::click);
    const QList<std::pair<QString, QPushButton*>> serverItems = {
        {QStringLiteral("Delete Selected"), m_serverInfo->deleteserver},
        {QStringLiteral("Stop Server"), m_serverInfo->stopserver},
        {QStringLiteral("Start Server"), m_serverInfo->startserver},
        {QStringLiteral("Reload Database"), m_serverInfo->reloaddb},
        {QStringLiteral("Restart Server"), m_serverInfo->restartserver},
        {QStringLiteral("View Database"), m_serverInfo->viewdb},
        {QStringLiteral("View Statistics"), m_serverInfo->viewstats},
    };
    for (const auto& [caption, button] : serverItems) {
        QAction* action = server->addAction(caption);
        action->setObjectName(button->objectName() + QStringLiteral("menu"));
        connect(action, &QAction::triggered, button, &QPushButton::click);
        m_serverActions << action;
    }
    // Connected with the server operations.
    m_serverActions << server->addAction(QStringLiteral("Check Server"));
    m_serverActions.last()->setObjectName(QStringLiteral("checkservermenu"));
    // Connected with the reverse mapping.
    m_serverActions << server->addAction(QStringLiteral("Forward and Reverse..."));
    m_serverActions.last()->setObjectName(QStringLiteral("forwardreversemenu"));
    m_serverActions << server->addAction(QStringLiteral("Reverse Zones..."));
    m_serverActions.last()->setObjectName(QStringLiteral("reversezonesmenu"));

    QMenu* utilities = menuBar()->addMenu(QStringLiteral("Utilities"));
    utilities->setObjectName(QStringLiteral("utilitiesmenu"));
    QAction* getCache = utilities->addAction(QStringLiteral("Get Cache File"));
    getCache->setObjectName(QStringLiteral("getcachemenu"));
    connect(getCache, &QAction::triggered, m_serverOptions->getcache, &QPushButton::click);
    for (const QString& caption :
         {QStringLiteral("Backup Server"), QStringLiteral("Restore Server"), QStringLiteral("Reset Domain Defaults"),
          QStringLiteral("Modify TLD/Extensions"), QStringLiteral("Reset Reverse Mapping")}) {
        QAction* action = utilities->addAction(caption);
        action->setObjectName(caption.toLower().remove(QLatin1Char(' ')).remove(QLatin1Char('/')));
        if (action->objectName() == QLatin1String("modifytldextensions"))
            connect(action, &QAction::triggered, this, &MainWindow::modifyTlds);
        if (action->objectName() == QLatin1String("resetdomaindefaults"))
            connect(action, &QAction::triggered, this,
                    [this] { resetDomainEditDefaults(m_state.domainDefaults, m_prompter); });
    }
    m_utilityActions = utilities->actions().mid(0, 3);
    // Resetting forgets answers given for the loaded server's hosts; without a server there is nothing to reset.
    m_utilityActions << utilities->actions().constLast();

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("helpmenu"));
    QAction* helpItem = help->addAction(QStringLiteral("Help"), this, &MainWindow::openHelp);
    helpItem->setObjectName(QStringLiteral("helpitem"));
    helpItem->setShortcut(QKeySequence::HelpContents);
    helpItem->setShortcutContext(Qt::WidgetShortcut);
    help->addAction(QStringLiteral("About"), this, &MainWindow::showAbout)->setObjectName(QStringLiteral("about"));

    // The hidden debug log switch: an item without caption that only its shortcut reaches.
    auto* debug = new QAction(this);
    debug->setObjectName(QStringLiteral("debuglog"));
    debug->setShortcut(QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace));
    debug->setShortcutContext(Qt::ApplicationShortcut);
    connect(debug, &QAction::triggered, this, &MainWindow::toggleDebugLog);
    addAction(debug);
}

void MainWindow::connectControllers()
{
    const QList<std::pair<QPushButton*, NdcCommand>> commands = {
        {m_serverInfo->startserver, NdcCommand::Start}, {m_serverInfo->stopserver, NdcCommand::Stop},
        {m_serverInfo->reloaddb, NdcCommand::Reload},   {m_serverInfo->restartserver, NdcCommand::Restart},
        {m_serverInfo->viewdb, NdcCommand::DumpDb},     {m_serverInfo->viewstats, NdcCommand::Stats},
    };
    for (const auto& [button, command] : commands)
        connect(button, &QPushButton::clicked, m_serverOperations,
                [this, command = command] { m_serverOperations->runCommand(command); });
    connect(m_domainEdit->updatechanges, &QPushButton::clicked, m_serverOperations, &ServerOperations::updateChanges);
    const QList<std::pair<QString, void (ServerOperations::*)()>> items = {
        {QStringLiteral("backupserver"), &ServerOperations::backupServer},
        {QStringLiteral("restoreserver"), &ServerOperations::restoreServer},
        {QStringLiteral("checkservermenu"), &ServerOperations::checkServer},
    };
    for (const auto& [name, operation] : items)
        connect(findChild<QAction*>(name), &QAction::triggered, m_serverOperations, operation);
    connect(this, &MainWindow::bootFileRead, m_serverOperations, &ServerOperations::showNameServerStatus);
    connect(this, &MainWindow::bootFileRead, m_serverOptionsActions,
            [this] { m_serverOptionsActions->fillOptions(m_state.boot.parameterLines); });
    connect(m_domainEdit->reversemapping, &QPushButton::clicked, m_reverseActions,
            &ReverseActions::reversemappingClick);
    connect(findChild<QAction*>(QStringLiteral("resetreversemapping")), &QAction::triggered, m_reverseActions,
            &ReverseActions::resetReverseMapping);
    connect(findChild<QAction*>(QStringLiteral("forwardreversemenu")), &QAction::triggered, m_reverseActions,
            &ReverseActions::forwardAndReverse);
    connect(findChild<QAction*>(QStringLiteral("reversezonesmenu")), &QAction::triggered, m_reverseActions,
            &ReverseActions::reverseZones);
}

void MainWindow::setServerCommandsEnabled(bool on)
{
    for (QAction* action : std::as_const(m_serverActions))
        action->setEnabled(on);
    for (QAction* action : std::as_const(m_utilityActions))
        action->setEnabled(on);
    for (QPushButton* button :
         {m_serverInfo->stopserver, m_serverInfo->startserver, m_serverInfo->reloaddb, m_serverInfo->restartserver,
          m_serverInfo->viewdb, m_serverInfo->viewstats, m_domainEdit->newprimary, m_domainEdit->fastadd,
          m_domainEdit->reversemapping, m_domainEdit->newsecondary, m_domainEdit->updatechanges,
          m_serverOptions->getcache, m_serverOptions->updateoptions, m_serverOptions->addsecreverse})
        button->setEnabled(on);
    // Nothing is selected in the secondary reverse list after a load, and zone deletion needs a selected zone.
    m_serverOptions->delsecreverse->setEnabled(false);
    if (!on) {
        m_domainEdit->deleteprimary->setEnabled(false);
        m_domainEdit->delsecondary->setEnabled(false);
    }
}

ServerContext MainWindow::serverContext()
{
    ServerHooks hooks;
    hooks.buildPrimaryTree = [this] { Q_EMIT primaryTreeNeeded(); };
    hooks.buildSecondaryTree = [this] { Q_EMIT secondaryTreeNeeded(); };
    hooks.clearZoneTrees = [this] {
        m_domainEdit->primaryTree->clear();
        m_domainEdit->secondaryTree->clear();
        Q_EMIT zoneTreesCleared();
    };
    hooks.showStatus = [this](const QString& text) { showStatus(text); };
    return ServerContext{m_state, m_store, m_prompter, m_platform, *m_progress, std::move(hooks)};
}

void MainWindow::showServerList()
{
    QComboBox* box = m_serverInfo->serverbox;
    const QString text = box->currentText();
    box->clear();
    box->addItems(m_state.catalog.displayNames());
    box->setEditText(text);
    m_sampleOffer->setVisible(m_state.catalog.displayNames().isEmpty());
}

void MainWindow::showLoadedServer()
{
    m_serverInfo->pathlabel->setText(QDir::toNativeSeparators(m_state.path));
    m_serverInfo->servernamelabel->setText(m_state.servername);
    m_serverInfo->bootFileLabel->setText(m_state.bootFileName);
    m_serverInfo->showGrids(m_state.boot);
    m_serverOptions->showSecondaryReverse(m_state.boot.secondaryReverseComments);
    setServerCommandsEnabled(m_state.serverLoaded);
    Q_EMIT bootFileRead();
}

void MainWindow::serverboxChange(const QString& text)
{
    WaitCursor wait;
    ServerContext context = serverContext();
    const LoadOutcome outcome = ::selectServer(context, text);
    if (!outcome.attempted)
        return;
    showLoadedServer();
    m_serverInfo->serverbox->setEditText(displayNameOf(m_state.pendingServerId));
}

void MainWindow::deleteserverClick()
{
    if (m_state.catalog.displayNames().isEmpty()) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("There are no servers to delete!"));
        return;
    }
    const QString boxText = m_serverInfo->serverbox->currentText();
    const bool wasLoaded = m_state.serverLoaded;
    DeleteServerDialog dialog(
        m_state.catalog.displayNames(),
        [this, &boxText](const std::optional<QString>& selected) {
            ServerContext context = serverContext();
            return deleteSelectedServer(context, selected, boxText, true);
        },
        this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    showServerList();
    if (wasLoaded && !m_state.serverLoaded) {
        m_serverInfo->serverbox->setEditText(QString());
        showLoadedServer();
    }
}

void MainWindow::addserverClick()
{
    m_newServer->showNewServerWizard();
}

void MainWindow::showNewServer()
{
    showServerList();
    showLoadedServer();
    m_serverInfo->serverbox->setEditText(displayNameOf(m_state.pendingServerId));
    showStatus(QStringLiteral("Server %1 added and loaded: its boot file is %2.")
                   .arg(displayNameOf(m_state.pendingServerId), QDir::toNativeSeparators(m_state.pendingBootFilePath)));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // After the window is on the screen, so that the questions of the first showing have it behind them.
    QTimer::singleShot(0, this, &MainWindow::firstShowing);
}

void MainWindow::firstShowing()
{
    prepareFirstShowing(m_state, m_store, m_prompter, m_platform);
    showServerList();
    m_serverInfo->serverbox->setEditText(QStringLiteral("Select A Server"));
    m_serverInfo->pathlabel->setText(QDir::toNativeSeparators(m_state.path));
    m_setup->showState();
    m_registration->showState();
    if (const std::optional<QString> cache = readCacheDownload(m_state.exepath)) {
        m_state.rootCacheText = *cache;
        m_serverOptions->cachetext->setPlainText(*cache);
    }
    if (m_sampleAtStart)
        openSampleServer();
    Q_EMIT firstShown();
}

void MainWindow::openSampleServer()
{
    SampleServerResult result;
    {
        WaitCursor wait;
        ServerContext context = serverContext();
        result = ::openSampleServer(context, *m_stage);
    }
    showServerList();
    showLoadedServer();
    if (!result.ok) {
        reportError(result.errorText);
        return;
    }
    m_serverInfo->serverbox->setEditText(sampleServerName());
    showStatus(QStringLiteral("%1 the sample server: %2 primary and %3 secondary zones in %4.")
                   .arg(result.created ? QStringLiteral("Made and loaded") : QStringLiteral("Loaded"))
                   .arg(m_state.zoneLists.primdns.size())
                   .arg(m_state.zoneLists.secdns.size())
                   .arg(QDir::toNativeSeparators(sampleServerFolder(m_platform))));
}

void MainWindow::addShortcuts()
{
    // Ctrl+S stores what the page in front holds, where a page has something to store.
    for (const auto& [page, button] : {std::pair<QWidget*, QPushButton*>{m_setup, m_setup->updatedefaults},
                                       {m_serverOptions, m_serverOptions->updateoptions}}) {
        auto* save = new QShortcut(QKeySequence::Save, page);
        save->setContext(Qt::WidgetWithChildrenShortcut);
        connect(save, &QShortcut::activated, button, &QPushButton::animateClick);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    rememberPlace();
    if (!m_exiting) {
        QString error;
        if (!saveSettings(m_state, m_store, &error))
            reportError(error);
    }
    event->accept();
}

void MainWindow::exitWithoutSaving()
{
    // The Setup page's values stay unsaved on this path; where the window stood is no setting and is kept.
    rememberPlace();
    m_exiting = true;
    QApplication::exit(0);
}

void MainWindow::updateDefaults()
{
    WaitCursor wait;
    m_progress->showProgress();
    m_progress->setProgress(50);
    QString error;
    const bool saved = saveSettings(m_state, m_store, &error);
    m_progress->setProgress(100);
    m_progress->hideProgress();
    if (!saved) {
        reportError(error);
        return;
    }
    showStatus(QStringLiteral("Defaults saved to %1.").arg(QDir::toNativeSeparators(m_store.fileName())));
}

void MainWindow::showStatus(const QString& text)
{
    m_statusPanel->setText(text);
    clearStatusLater();
}

void MainWindow::clearStatusLater()
{
    m_statusTimer->start();
}

Progress& MainWindow::progress()
{
    return *m_progress;
}

QString MainWindow::selectedServerName() const
{
    return m_serverInfo->serverbox->currentText();
}

void MainWindow::showNameServerStatus(const QString& text)
{
    m_serverInfo->nameserverstatus->setText(text);
}

void MainWindow::showSettings()
{
    m_setup->showState();
}

QString MainWindow::statusText() const
{
    return m_statusPanel->text();
}

void MainWindow::openHelp()
{
    openHelpFor(nullptr);
}

HelpWindow* MainWindow::helpWindow() const
{
    return m_help;
}

void MainWindow::openHelpFor(QWidget* from)
{
    if (from && from->window() == m_help)
        return;
    // The window belongs to the window in front, so that it is not blocked by a modal dialog being worked in.
    QWidget* owner = from ? from->window() : this;
    if (QWidget* modal = QApplication::activeModalWidget())
        owner = modal;
    if (!m_help || m_help->parentWidget() != owner) {
        delete m_help;
        m_help = new HelpWindow(helpDocumentPath(m_platform.programPath()), owner);
    }
    m_help->showTopic(from ? HelpWindow::topicFor(from, m_help->html()) : gettingStartedTopic());
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, QStringLiteral("About Quorvane"),
                       QStringLiteral("<b>Quorvane 2.0</b><p>Name server administration for boot-file driven "
                                      "name servers.</p>"));
}

void MainWindow::toggleDebugLog()
{
    ::toggleDebugLog(m_state, m_prompter, m_platform);
}

void MainWindow::modifyTlds()
{
    TldListEditor form(m_state.tlds, m_prompter, this);
    form.exec();
}

void MainWindow::reportError(const QString& text)
{
    m_prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
}
