#include "gui/servers/newserverwizard.h"

#include "gui/servers/networkdrivedialog.h"
#include "gui/servers/windowsdirectorydialog.h"
#include "gui/servers/wizardhelpwindow.h"
#include "platform/osdetect.h"
#include "platform/prompter.h"
#include "server/conftakeover.h"
#include "server/serverimport.h"
#include "session/appstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <array>

namespace {

template <typename Widget> Widget* named(Widget* widget, const QString& objectName)
{
    widget->setObjectName(objectName);
    return widget;
}

QPushButton* makeButton(QWidget* parent, const QString& objectName, const QString& caption)
{
    return named(new QPushButton(caption, parent), objectName);
}

QLineEdit* makeField(QWidget* parent, const QString& objectName)
{
    return named(new QLineEdit(parent), objectName);
}

QHBoxLayout* buttonRow(const QList<QPushButton*>& buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QPushButton* button : buttons)
        row->addWidget(button);
    return row;
}

// The hourglass for the duration of a scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

NewServerWizard::NewServerWizard(ContextFactory makeContext, Stage& stage, QWidget* parent)
    : QDialog(parent), m_makeContext(std::move(makeContext)), m_stage(stage)
{
    setObjectName(QStringLiteral("NewServerWizard"));
    setWindowTitle(QStringLiteral("New Server Wizard"));
    setWindowModality(Qt::WindowModal);

    pages = named(new QStackedWidget(this), QStringLiteral("pages"));
    pages->addWidget(buildServerPage());
    pages->addWidget(buildFoldersPage());
    pages->addWidget(buildDefaultsPage());
    drivetransfer = makeField(this, QStringLiteral("drivetransfer"));
    drivetransfer->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);

    connect(serverPageNext, &QPushButton::clicked, this, &NewServerWizard::nextFromServerPage);
    connect(browsecomputer, &QPushButton::clicked, this, &NewServerWizard::browsecomputerClick);
    connect(takecontrol, &QPushButton::clicked, this, &NewServerWizard::takecontrolClick);
    connect(importserver, &QPushButton::clicked, this, &NewServerWizard::importserverClick);
    connect(takeoverbind9, &QPushButton::clicked, this, &NewServerWizard::takeOverBind9Click);
    connect(serverPageCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(foldersPageNext, &QPushButton::clicked, this, &NewServerWizard::nextFromFoldersPage);
    connect(foldersPageBack, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(browsedir, &QPushButton::clicked, this, &NewServerWizard::browsedirClick);
    connect(finish, &QPushButton::clicked, this, &NewServerWizard::finishClick);
    connect(defaultsPageBack, &QPushButton::clicked, this, [this] { showPage(1); });
    connect(serverPageHelp, &QPushButton::clicked, this, [this] { showHelp(1); });
    connect(foldersPageHelp, &QPushButton::clicked, this, [this] { showHelp(2); });
    connect(defaultsPageHelp, &QPushButton::clicked, this, [this] { showHelp(3); });
}

QWidget* NewServerWizard::buildServerPage()
{
    auto* page = named(new QWidget(this), QStringLiteral("page1"));
    name = makeField(page, QStringLiteral("name"));
    firstzone = makeField(page, QStringLiteral("firstzone"));
    defaultos = named(new QComboBox(page), QStringLiteral("defaultos"));
    defaultos->addItems(operatingSystemChoices());
    defaultos->setPlaceholderText(noOperatingSystemChosen());
    filename = makeField(page, QStringLiteral("filename"));
    filename->setReadOnly(true);
    filename->hide();
    secondary = named(new QCheckBox(QStringLiteral("Convert imported server files to secondary"), page),
                      QStringLiteral("secondary"));
    serverPageNext = makeButton(page, QStringLiteral("next1"), QStringLiteral("Next"));
    browsecomputer = makeButton(page, QStringLiteral("browsecomputer"), QStringLiteral("Browse"));
    takecontrol = makeButton(page, QStringLiteral("takecontrol"),
                             QStringLiteral("Take Control of a server on a networked computer"));
    importserver =
        makeButton(page, QStringLiteral("importserver"), QStringLiteral("Import Server from a networked computer"));
    takeoverbind9 = makeButton(page, QStringLiteral("takeoverbind9"),
                               QStringLiteral("Take over a BIND 9 server as it is, from its named.conf"));
    takeoverbind9->setToolTip(QStringLiteral("The server keeps its configuration: the zones Quorvane adds go into a "
                                             "file of their own, which the configuration includes."));
    serverPageHelp = makeButton(page, QStringLiteral("help1"), QStringLiteral("Help"));
    serverPageCancel = makeButton(page, QStringLiteral("cancel1"), QStringLiteral("Cancel"));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(name, 1);
    nameRow->addWidget(browsecomputer);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Server's Computer Name"), nameRow);
    form->addRow(QStringLiteral("Server's Domain Name"), firstzone);
    form->addRow(QStringLiteral("Server's Operating System"), defaultos);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(takecontrol);
    layout->addWidget(importserver);
    layout->addWidget(takeoverbind9);
    layout->addWidget(secondary);
    layout->addStretch(1);
    layout->addLayout(buttonRow({serverPageHelp, serverPageCancel, serverPageNext}));
    return page;
}

QWidget* NewServerWizard::buildFoldersPage()
{
    auto* page = named(new QWidget(this), QStringLiteral("page2"));
    auto* text = new QLabel(QStringLiteral("Choose the Windows directory of the new server: the folder that will hold "
                                           "its named.boot."),
                            page);
    text->setWordWrap(true);
    dirlabel = named(new QLabel(page), QStringLiteral("dirlabel"));
    windowsdir = makeField(page, QStringLiteral("windowsdir"));
    dfiles = makeField(page, QStringLiteral("dfiles"));
    dfiles->hide();
    foldersPageNext = makeButton(page, QStringLiteral("next2"), QStringLiteral("Next"));
    foldersPageBack = makeButton(page, QStringLiteral("back2"), QStringLiteral("Back"));
    browsedir = makeButton(page, QStringLiteral("browsedir"), QStringLiteral("Browse"));
    foldersPageHelp = makeButton(page, QStringLiteral("help2"), QStringLiteral("Help"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Current Choice:"), dirlabel);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(text);
    layout->addWidget(browsedir, 0, Qt::AlignLeft);
    layout->addWidget(windowsdir);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttonRow({foldersPageHelp, foldersPageBack, foldersPageNext}));
    return page;
}

QWidget* NewServerWizard::buildDefaultsPage()
{
    auto* page = named(new QWidget(this), QStringLiteral("page3"));
    serial = makeField(page, QStringLiteral("serial"));
    refresh = makeField(page, QStringLiteral("refresh"));
    retry = makeField(page, QStringLiteral("retry"));
    expire = makeField(page, QStringLiteral("expire"));
    minimum = makeField(page, QStringLiteral("minimum"));
    emailaddr = makeField(page, QStringLiteral("emailaddr"));
    finish = makeButton(page, QStringLiteral("finish"), QStringLiteral("Finish"));
    defaultsPageBack = makeButton(page, QStringLiteral("back3"), QStringLiteral("Back"));
    defaultsPageHelp = makeButton(page, QStringLiteral("help3"), QStringLiteral("Help"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Serial"), serial);
    form->addRow(QStringLiteral("Refresh"), refresh);
    form->addRow(QStringLiteral("Retry"), retry);
    form->addRow(QStringLiteral("Expire"), expire);
    form->addRow(QStringLiteral("Time To Live"), minimum);
    form->addRow(QStringLiteral("Server Administrator's E-Mail Address :"), emailaddr);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttonRow({defaultsPageHelp, defaultsPageBack, finish}));
    return page;
}

int NewServerWizard::currentPage() const
{
    return pages->currentIndex() + 1;
}

NewServerFields NewServerWizard::fields() const
{
    NewServerFields values;
    values.name = name->text();
    values.firstzone = firstzone->text();
    values.defaultos = defaultos->currentIndex() >= 0 ? defaultos->currentText() : QString();
    values.filename = filename->text();
    values.secondary = secondary->isChecked();
    values.dirlabel = dirlabel->text();
    values.windowsdir = windowsdir->text();
    values.dfiles = dfiles->text();
    values.serial = serial->text();
    values.refresh = refresh->text();
    values.retry = retry->text();
    values.expire = expire->text();
    values.minimum = minimum->text();
    values.emailaddr = emailaddr->text();
    return values;
}

void NewServerWizard::showFields(const NewServerFields& values)
{
    name->setText(values.name);
    firstzone->setText(values.firstzone);
    defaultos->setCurrentIndex(int(operatingSystemChoices().indexOf(values.defaultos)));
    filename->setText(values.filename);
    secondary->setChecked(values.secondary);
    dirlabel->setText(values.dirlabel);
    windowsdir->setText(values.windowsdir);
    dfiles->setText(values.dfiles);
    serial->setText(values.serial);
    refresh->setText(values.refresh);
    retry->setText(values.retry);
    expire->setText(values.expire);
    minimum->setText(values.minimum);
    emailaddr->setText(values.emailaddr);
}

WizardHooks NewServerWizard::hooks()
{
    WizardHooks hooks;
    hooks.hideWizard = [this] { hide(); };
    hooks.setServerBoxText = [this](const QString& text) { Q_EMIT serverBoxTextRequested(text); };
    hooks.driveMapping.dialog = [this](const QString& localDrive) -> std::optional<QString> {
        NetworkDriveDialog dialog(
            localDrive, [this] { Q_EMIT helpRequested(); }, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        drivetransfer->setText(dialog.drivetransfer);
        return dialog.drivetransfer;
    };
    hooks.specifyWindowsDirectory = [this](const QString& text) -> std::optional<QString> {
        WindowsDirectoryDialog dialog(text, m_makeContext().prompter, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.directory();
    };
    return hooks;
}

void NewServerWizard::showNewServerWizard()
{
    ServerContext context = m_makeContext();
    NewServerFields values = initialWizardFields(context.state);
    // The typed path is the one field a new showing keeps.
    values.windowsdir = windowsdir->text();
    showFields(values);
    m_typed = typesWindowsDirectory(context.state, context.platform);
    windowsdir->setVisible(m_typed);
    browsedir->setVisible(!m_typed);
    dirlabel->setVisible(!m_typed);
    show();
    raise();
    activateWindow();
    showPage(0);
}

void NewServerWizard::showPage(int page)
{
    pages->setCurrentIndex(page);
    const std::array<QPushButton*, 3> forward{serverPageNext, foldersPageNext, finish};
    forward[std::size_t(page)]->setDefault(true);
    const std::array<QWidget*, 3> first{name, m_typed ? static_cast<QWidget*>(windowsdir) : browsedir, serial};
    first[std::size_t(page)]->setFocus(Qt::OtherFocusReason);
}

void NewServerWizard::hideEvent(QHideEvent* event)
{
    // A window system hide (the main window minimised) is no closing of the wizard.
    if (event->spontaneous()) {
        QDialog::hideEvent(event);
        return;
    }
    NewServerFields values = fields();
    clearWizardFields(values);
    showFields(values);
    QDialog::hideEvent(event);
}

void NewServerWizard::showHelp(int page)
{
    auto* help = new WizardHelpWindow(page, this);
    help->show();
}

void NewServerWizard::nextFromServerPage()
{
    ServerContext context = m_makeContext();
    NewServerFields values = fields();
    if (!checkServerPage(values, context.state.catalog, context.prompter))
        return;
    showFields(values);
    showPage(1);
}

void NewServerWizard::browsecomputerClick()
{
    NewServerFields values = fields();
    browseForComputer(values, m_makeContext().prompter);
    name->setText(values.name);
}

void NewServerWizard::startImport(ImportMode mode)
{
    ServerContext context = m_makeContext();
    NewServerFields values = fields();
    WaitCursor wait;
    const bool imported = takeControlOrImport(context, m_stage, values, mode, hooks());
    if (isVisible())
        showFields(values);
    if (imported)
        Q_EMIT serverAdded();
}

void NewServerWizard::takecontrolClick()
{
    startImport(ImportMode::TakeControl);
}

void NewServerWizard::importserverClick()
{
    startImport(ImportMode::Import);
}

void NewServerWizard::takeOverBind9Click()
{
    ServerContext context = m_makeContext();
    const std::optional<QString> confFile =
        context.prompter.openFile(QStringLiteral("Choose the server's named.conf"), QStringLiteral("/etc/bind"),
                                  QStringLiteral("BIND 9 configuration (*.conf)"));
    if (!confFile)
        return;
    WaitCursor wait;
    if (!takeOverConfServer(context, name->text(), *confFile))
        return;
    Q_EMIT serverBoxTextRequested(name->text().trimmed());
    Q_EMIT serverAdded();
    accept();
}

void NewServerWizard::browsedirClick()
{
    Prompter& prompter = m_makeContext().prompter;
    const std::optional<QString> folder =
        prompter.browseFolder(QStringLiteral("Browse for a server directory."), QString());
    if (!folder)
        return;
    NewServerFields values = fields();
    chooseWindowsDirectory(values, *folder, prompter);
    dirlabel->setText(values.dirlabel);
    dfiles->setText(values.dfiles);
}

void NewServerWizard::nextFromFoldersPage()
{
    NewServerFields values = fields();
    if (!checkDirectoryPage(values, m_typed, true, m_makeContext().prompter)) {
        dirlabel->setText(values.dirlabel);
        dfiles->setText(values.dfiles);
        return;
    }
    dirlabel->setText(values.dirlabel);
    dfiles->setText(values.dfiles);
    showPage(2);
}

void NewServerWizard::finishClick()
{
    ServerContext context = m_makeContext();
    NewServerFields values = fields();
    WaitCursor wait;
    const bool created = finishNewServer(context, m_stage, values, hooks());
    if (isVisible())
        showFields(values);
    if (created)
        Q_EMIT serverAdded();
}
