// The windows of the new server wizard: the wizard's pages and buttons over the main window, the stage window,
// the drive mapping dialog, the typed Windows directory and the help windows.

#include "gui/common/stagewindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/servers/networkdrivedialog.h"
#include "gui/servers/newserverwizard.h"
#include "gui/servers/serverinfopage.h"
#include "gui/servers/windowsdirectorydialog.h"
#include "gui/servers/wizardhelpwindow.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

struct Window
{
    Window()
    {
        store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
        state.version = QStringLiteral("1.50");
        state.defaultos = QStringLiteral("Windows NT 4.X");
        state.emailaddr = QStringLiteral("hostmaster@example.com");
        state.setup.runningSerial = QStringLiteral("2026120701");
        state.autoBackup = false;
        QDir().mkpath(path(QStringLiteral("win")));
        main = std::make_unique<MainWindow>(state, store, prompter, platform);
        wizard = main->newServerWizard();
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    void type(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void openWizard()
    {
        main->serverInfo()->addserver->click();
        QVERIFY(wizard->isVisible());
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform{QDir(dir.path()).filePath(QStringLiteral("appdata"))};
    std::unique_ptr<MainWindow> main;
    NewServerWizard* wizard = nullptr;
};

} // namespace

class TstNewServerWizard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addServerShowsPageOne();
    void menuItemShowsTheWizard();
    void typedPathOnNt3();
    void refusalStaysOnThePage();
    void throughThePagesToANewServer();
    void cancelLeavesNoServerButKeepsTheFolders();
    void backButtons();
    void helpWindows_data();
    void helpWindows();
    void importThroughTheWizard();
    void takeOverBind9ThroughTheWizard();
    void stageWindowShowsItsTexts();
    void driveMappingDialog();
    void typedWindowsDirectoryDialog();
};

void TstNewServerWizard::addServerShowsPageOne()
{
    Window w;
    w.openWizard();
    QCOMPARE(w.wizard->windowTitle(), QStringLiteral("New Server Wizard"));
    // Modal to the main window; what it asks belongs to it and comes in front of it.
    QCOMPARE(w.wizard->windowModality(), Qt::WindowModal);
    QCOMPARE(w.wizard->parentWidget(), w.main.get());
    QCOMPARE(w.wizard->currentPage(), 1);
    QCOMPARE(w.wizard->defaultos->currentText(), QStringLiteral("Windows NT 4.X"));
    QCOMPARE(w.wizard->serial->text(), QStringLiteral("2026120701"));
    QCOMPARE(w.wizard->refresh->text(), QStringLiteral("1080"));
    QCOMPARE(w.wizard->retry->text(), QStringLiteral("3600"));
    QCOMPARE(w.wizard->expire->text(), QStringLiteral("604800"));
    QCOMPARE(w.wizard->minimum->text(), QStringLiteral("86400"));
    QCOMPARE(w.wizard->emailaddr->text(), QStringLiteral("hostmaster@example.com"));
    QCOMPARE(w.wizard->filename->text(), QStringLiteral("named.boot"));
    QVERIFY(w.wizard->filename->isReadOnly());
    QVERIFY(!w.wizard->secondary->isChecked());
    QVERIFY(w.wizard->name->text().isEmpty());
    QVERIFY(!w.wizard->browsedir->isHidden());
    QVERIFY(w.wizard->windowsdir->isHidden());
}

void TstNewServerWizard::menuItemShowsTheWizard()
{
    Window w;
    QAction* item = w.main->menuBar()->findChild<QAction*>(QStringLiteral("addservermenu"));
    QVERIFY(item);
    item->trigger();
    QVERIFY(w.wizard->isVisible());
}

void TstNewServerWizard::typedPathOnNt3()
{
    Window w;
    w.state.defaultos = QStringLiteral("Windows NT 3.X");
    w.openWizard();
    QVERIFY(w.wizard->browsedir->isHidden());
    QVERIFY(w.wizard->dirlabel->isHidden());
    QVERIFY(!w.wizard->windowsdir->isHidden());
}

void TstNewServerWizard::refusalStaysOnThePage()
{
    Window w;
    w.openWizard();
    w.prompter.expectMessage(QStringLiteral("Error."), QStringLiteral("Name of Server Input Error. Re-Enter."));
    w.wizard->serverPageNext->click();
    QCOMPARE(w.wizard->currentPage(), 1);
    QCOMPARE(w.prompter.pending(), 0);
}

void TstNewServerWizard::throughThePagesToANewServer()
{
    Window w;
    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns1."));
    w.type(w.wizard->firstzone, QStringLiteral("example.com"));
    w.wizard->serverPageNext->click();
    QCOMPARE(w.wizard->currentPage(), 2);
    QCOMPARE(w.wizard->name->text(), QStringLiteral("ns1"));
    QCOMPARE(w.wizard->firstzone->text(), QStringLiteral("ns1.example.com."));

    w.prompter.answerText(w.path(QStringLiteral("win")));
    w.wizard->browsedir->click();
    QCOMPARE(w.prompter.prompts().last().caption, QStringLiteral("Browse for a server directory."));
    QCOMPARE(w.wizard->dirlabel->text(), w.path(QStringLiteral("win")));
    QCOMPARE(w.wizard->dfiles->text(), w.path(QStringLiteral("win/quorvane/zones")));
    QVERIFY(QFileInfo(w.path(QStringLiteral("win/quorvane/zones"))).isDir());

    w.prompter.expectMessage(QStringLiteral("Question!"),
                             QStringLiteral("Please press YES to confirm that ") + w.path(QStringLiteral("win")) +
                                 QStringLiteral(" is your Windows directory. Otherwise, press NO to re-enter."),
                             Prompter::Button::Yes);
    w.wizard->foldersPageNext->click();
    QCOMPARE(w.wizard->currentPage(), 3);

    w.wizard->defaultos->setCurrentText(QStringLiteral("Windows 95"));
    w.wizard->finish->click();
    QCOMPARE(w.prompter.pending(), 0);
    QVERIFY(!w.wizard->isVisible());
    QVERIFY(!w.main->stageWindow()->isVisible());
    QCOMPARE(w.state.catalog.displayNames(), QStringList{QStringLiteral("ns1")});
    QCOMPARE(w.main->serverInfo()->serverbox->currentText(), QStringLiteral("ns1"));
    QCOMPARE(w.main->serverInfo()->serverbox->count(), 1);
    QCOMPARE(w.main->serverInfo()->servernamelabel->text(), QStringLiteral("ns1"));
    QCOMPARE(readBytes(w.path(QStringLiteral("win/named.boot"))),
             readBytes(testDataPath(QStringLiteral("newserver/new.boot"))));
    QCOMPARE(w.main->serverInfo()->stopserver->isEnabled(), true);
    // Closed, the wizard forgot what was typed.
    QVERIFY(w.wizard->name->text().isEmpty());
    QVERIFY(w.wizard->dirlabel->text().isEmpty());
}

void TstNewServerWizard::cancelLeavesNoServerButKeepsTheFolders()
{
    Window w;
    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns1"));
    w.type(w.wizard->firstzone, QStringLiteral("example.com"));
    w.wizard->serverPageNext->click();
    w.prompter.answerText(w.path(QStringLiteral("win")));
    w.wizard->browsedir->click();
    w.wizard->foldersPageBack->click();
    w.wizard->serverPageCancel->click();
    QVERIFY(!w.wizard->isVisible());
    QVERIFY(w.state.catalog.rows().isEmpty());
    QCOMPARE(w.store.integer(QStringLiteral("Servers"), QStringLiteral("Number of Servers")), 0);
    QVERIFY(QFileInfo(w.path(QStringLiteral("win/quorvane/zones"))).isDir());
    QVERIFY(w.wizard->name->text().isEmpty());
    QVERIFY(w.wizard->emailaddr->text().isEmpty());

    // A new showing starts afresh.
    w.openWizard();
    QCOMPARE(w.wizard->currentPage(), 1);
    QCOMPARE(w.wizard->emailaddr->text(), QStringLiteral("hostmaster@example.com"));
}

void TstNewServerWizard::backButtons()
{
    Window w;
    w.openWizard();
    w.wizard->pages->setCurrentIndex(2);
    w.wizard->defaultsPageBack->click();
    QCOMPARE(w.wizard->currentPage(), 2);
    w.wizard->foldersPageBack->click();
    QCOMPARE(w.wizard->currentPage(), 1);
}

void TstNewServerWizard::helpWindows_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("page 1") << 1 << QStringLiteral("New Server Wizard Help") << QStringLiteral("Take Control");
    QTest::newRow("page 2") << 2 << QStringLiteral("New Server Wizard - Page 2") << QStringLiteral("NT 3.51");
    QTest::newRow("page 3") << 3 << QStringLiteral("New Server Wizard - Page 3") << QStringLiteral("defaults");
}

void TstNewServerWizard::helpWindows()
{
    QFETCH(int, page);
    QFETCH(QString, caption);
    QFETCH(QString, mentions);
    Window w;
    w.openWizard();
    w.wizard->pages->setCurrentIndex(page - 1);
    QPushButton* help = page == 1   ? w.wizard->serverPageHelp
                        : page == 2 ? w.wizard->foldersPageHelp
                                    : w.wizard->defaultsPageHelp;
    help->click();
    WizardHelpWindow* window = w.wizard->findChild<WizardHelpWindow*>();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), caption);
    QVERIFY(window->helptext->isReadOnly());
    QVERIFY(window->helptext->toPlainText().contains(mentions));
    window->closeit->click();
    QTRY_VERIFY(!w.wizard->findChild<WizardHelpWindow*>());
}

void TstNewServerWizard::importThroughTheWizard()
{
    Window w;
    const QString from = testDataPath(QStringLiteral("newserver/source"));
    for (const QString& file :
         {QStringLiteral("winnt/named.boot"), QStringLiteral("dns/data/example.com.dns"),
          QStringLiteral("dns/data/handwritten.org.dns"), QStringLiteral("dns/data/written-out.net.dns"),
          QStringLiteral("dns/data/root.cache")}) {
        QDir().mkpath(QFileInfo(w.path(QStringLiteral("src/") + file)).absolutePath());
        QVERIFY(writeBytes(w.path(QStringLiteral("src/") + file), readBytes(QDir(from).filePath(file))));
    }
    QDir().mkpath(w.path(QStringLiteral("dest")));
    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns2"));
    w.type(w.wizard->firstzone, QStringLiteral("example.com"));
    w.prompter.answerText(w.path(QStringLiteral("src/winnt")));
    w.prompter.answerText(w.path(QStringLiteral("dest")));
    w.prompter.expectMessage(QStringLiteral("Attention!"),
                             QStringLiteral("Your server has been successfully imported."));
    w.wizard->importserver->click();
    QCOMPARE(w.prompter.pending(), 0);
    QVERIFY(!w.wizard->isVisible());
    QVERIFY(!w.main->stageWindow()->isVisible());
    QCOMPARE(w.state.catalog.rows().first().identifier, QStringLiteral("ns2@example.com."));
    QCOMPARE(w.main->serverInfo()->serverbox->currentText(), QStringLiteral("ns2"));
    QCOMPARE(w.main->serverInfo()->primgrid->rowCount(), 3);

    // A refused take control keeps the wizard open with what was typed.
    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns2"));
    w.type(w.wizard->firstzone, QStringLiteral("example.com"));
    w.prompter.expectMessage(QStringLiteral("Error."), QStringLiteral("Server Name Already Exists."));
    w.wizard->takecontrol->click();
    QVERIFY(w.wizard->isVisible());
    QCOMPARE(w.wizard->name->text(), QStringLiteral("ns2"));
}

// A BIND 9 server taken over from its named.conf, chosen in the file dialog: the server is loaded, each zone of a
// view shows its view, the options page shows the configuration's options where it sets them and offers no boot
// option to edit; a second time the name is refused and the wizard stays.
void TstNewServerWizard::takeOverBind9ThroughTheWizard()
{
    Window w;
    const QString source = testDataPath(QStringLiteral("namedconf/views"));
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = w.path(QStringLiteral("bind/") + QDir(source).relativeFilePath(file));
        QDir().mkpath(QFileInfo(copy).absolutePath());
        QVERIFY(writeBytes(copy, readBytes(file)));
    }
    const QString conf = w.path(QStringLiteral("bind/named.conf"));
    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns9"));
    w.prompter.answerText(conf);
    w.wizard->takeoverbind9->click();
    QCOMPARE(w.prompter.problems(), QStringList());
    QCOMPARE(w.prompter.pending(), 0);
    QVERIFY(!w.wizard->isVisible());
    QCOMPARE(w.state.catalog.rows().last().bootFilePath, conf);
    QCOMPARE(w.main->serverInfo()->serverbox->currentText(), QStringLiteral("ns9"));
    QCOMPARE(w.main->serverInfo()->primgrid->rowCount(), 3);

    QTreeWidget* tree = w.main->domainEdit()->primaryTree;
    QStringList zones;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        zones << tree->topLevelItem(i)->text(0) + QLatin1Char(' ') + tree->topLevelItem(i)->text(1);
    QCOMPARE(zones, (QStringList{"example.com view external", "example.com view internal",
                                 "intranet.example.com view internal"}));
    ServerOptionsPage* options = w.main->serverOptions();
    QVERIFY(!options->updateoptions->isVisibleTo(options));
    QVERIFY(options->bind9options->isVisibleTo(options));
    QCOMPARE(options->bind9options->toPlainText(),
             QStringLiteral("(BIND's defaults: the configuration sets none of these options.)"));

    w.openWizard();
    w.type(w.wizard->name, QStringLiteral("ns9"));
    w.prompter.answerText(conf);
    w.prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("Server Name Already Exists."));
    w.wizard->takeoverbind9->click();
    QCOMPARE(w.prompter.problems(), QStringList());
    QVERIFY(w.wizard->isVisible());
}

void TstNewServerWizard::stageWindowShowsItsTexts()
{
    StageWindow stage;
    stage.showStage(QStringLiteral("Importing Server..."));
    QVERIFY(stage.isVisible());
    QCOMPARE(stage.windowTitle(), QStringLiteral("Processing..."));
    // Questions raised while it shows must be able to come in front of it.
    QVERIFY(!stage.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!stage.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(stage.titlelabel->text(), QStringLiteral("Importing Server..."));
    stage.setStage(QStringLiteral("Drive Mapping"), QStringLiteral("Dialog display."));
    stage.setStageProgress(70);
    QCOMPARE(stage.stagetext->text(), QStringLiteral("Drive Mapping"));
    QCOMPARE(stage.itemtext->text(), QStringLiteral("Dialog display."));
    QCOMPARE(stage.stagebar->value(), 70);
    stage.setItemText(QStringLiteral("named.boot"));
    QCOMPARE(stage.stagetext->text(), QStringLiteral("Drive Mapping"));
    QCOMPARE(stage.itemtext->text(), QStringLiteral("named.boot"));
    stage.hideStage();
    QVERIFY(!stage.isVisible());
    // A new showing starts empty.
    stage.showStage(QStringLiteral("Creating Server..."));
    QCOMPARE(stage.stagetext->text(), QString());
    QCOMPARE(stage.stagebar->value(), 0);
}

void TstNewServerWizard::driveMappingDialog()
{
    int helps = 0;
    NetworkDriveDialog dialog(QStringLiteral("G"), [&helps] { ++helps; });
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Network Drive Mapping"));
    QCOMPARE(dialog.localdrive->text(), QStringLiteral("G"));
    QVERIFY(dialog.localdrive->isReadOnly());
    QCOMPARE(dialog.driveletter->count(), 26);
    QCOMPARE(dialog.driveletter->itemText(0), QStringLiteral("A"));
    QCOMPARE(dialog.driveletter->itemText(25), QStringLiteral("Z"));
    dialog.driveletter->setCurrentText(QStringLiteral("D"));
    dialog.okbutton->click();
    QCOMPARE(dialog.drivetransfer, QStringLiteral("D"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    // What is typed goes to the caller as it stands; the caller checks it.
    NetworkDriveDialog typed(QStringLiteral("/srv/share"), {});
    typed.driveletter->setEditText(QStringLiteral("cd"));
    typed.okbutton->click();
    QCOMPARE(typed.drivetransfer, QStringLiteral("cd"));

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_F1);
    QCOMPARE(helps, 1);
}

void TstNewServerWizard::typedWindowsDirectoryDialog()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    WindowsDirectoryDialog dialog(
        QStringLiteral("Please locate the Windows directory where you want to place this server."), prompter);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Specify Your Windows Dir."));
    QCOMPARE(dialog.windowstext->text(),
             QStringLiteral("Please locate the Windows directory where you want to place this server."));
    dialog.show();
    dialog.networkpath->setText(dir.path() + QStringLiteral("/missing"));
    prompter.expectMessage(QStringLiteral("Re-Enter."), QStringLiteral("That Windows directory could not be found."));
    dialog.importit->click();
    QVERIFY(dialog.isVisible());
    dialog.networkpath->setText(dir.path() + QLatin1Char('/'));
    dialog.importit->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.directory(), dir.path());
    QCOMPARE(prompter.pending(), 0);
}

QTEST_MAIN(TstNewServerWizard)
#include "tst_newserverwizard.moc"
