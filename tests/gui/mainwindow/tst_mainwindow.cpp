#include "gui/common/progresswindow.h"
#include "gui/help/helpwindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/servers/serverinfopage.h"
#include "gui/setup/setuppage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

class TstMainWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void windowHasItsPagesAndMenus();
    void menuItemsStartAsTheyShould();
    void firstShowingLoadsSettingsAndCache();
    void updateDefaultsWritesTheStore();
    void closingSavesButExitDoesNot();
    void statusTextClearsItself();
    void hiddenShortcutTogglesDebugLog();
    void helpOpensTheHelpWindow();
    void startsQuickly();

private:
    QAction* action(const QString& name) const { return m_window->findChild<QAction*>(name); }
    void showAndAnswerAddress();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    ScriptedPrompter* m_prompter = nullptr;
    std::unique_ptr<ScriptedPrompter> m_prompterOwner;
    std::unique_ptr<MainWindow> m_window;
};

void TstMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<FakePlatform>(m_dir->filePath(QStringLiteral("data")));
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("q.conf")));
    m_state = std::make_unique<AppState>();
    m_prompterOwner = std::make_unique<ScriptedPrompter>();
    m_prompter = m_prompterOwner.get();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
}

void TstMainWindow::cleanup()
{
    m_window.reset();
}

void TstMainWindow::showAndAnswerAddress()
{
    m_prompter->answerText(QStringLiteral("admin@example.com"));
    m_window->show();
    QTRY_COMPARE(m_prompter->pending(), 0);
    QTRY_COMPARE(m_state->emailaddr, QStringLiteral("admin@example.com"));
}

void TstMainWindow::windowHasItsPagesAndMenus()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quorvane 2.0"));
    auto* pages = m_window->findChild<QTabWidget*>(QStringLiteral("pages"));
    QVERIFY(pages);
    QStringList titles;
    for (int i = 0; i < pages->count(); ++i)
        titles << pages->tabText(i);
    QCOMPARE(titles, (QStringList{QStringLiteral("Server Info"), QStringLiteral("Domain Edit"),
                                  QStringLiteral("Addl Properties"), QStringLiteral("InterNic Registration"),
                                  QStringLiteral("Utilities"), QStringLiteral("Setup")}));
    QCOMPARE(pages->currentIndex(), 0);

    QStringList menus;
    for (QAction* menu : m_window->menuBar()->actions())
        menus << menu->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("File"), QStringLiteral("Server"), QStringLiteral("Utilities"),
                                 QStringLiteral("Help")}));
    QStringList serverItems;
    for (QAction* item : m_window->menuBar()->actions().at(1)->menu()->actions())
        serverItems << item->text();
    QCOMPARE(serverItems, (QStringList{QStringLiteral("Add Server"), QStringLiteral("Delete Selected"),
                                       QStringLiteral("Stop Server"), QStringLiteral("Start Server"),
                                       QStringLiteral("Reload Database"), QStringLiteral("Restart Server"),
                                       QStringLiteral("View Database"), QStringLiteral("View Statistics"),
                                       QStringLiteral("Check Server"), QStringLiteral("Forward and Reverse..."),
                                       QStringLiteral("Reverse Zones..."), QString(), QStringLiteral("History..."),
                                       QStringLiteral("Undo Last Change")}));
    QStringList utilityItems;
    for (QAction* item : m_window->menuBar()->actions().at(2)->menu()->actions())
        utilityItems << item->text();
    QCOMPARE(utilityItems,
             (QStringList{QStringLiteral("Get Cache File"), QStringLiteral("Backup Server"),
                          QStringLiteral("Restore Server"), QStringLiteral("Reset Domain Defaults"),
                          QStringLiteral("Modify TLD/Extensions"), QStringLiteral("Reset Reverse Mapping")}));

    const ServerInfoPage* info = m_window->serverInfo();
    QCOMPARE(info->serverbox->currentText(), QStringLiteral("Select A Server"));
    QCOMPARE(info->servernamelabel->text(), QStringLiteral("Not Loaded"));
    QCOMPARE(info->bootFileLabel->text(), QStringLiteral("Not Loaded"));
    for (const char* name :
         {"addserver", "deleteserver", "stopserver", "startserver", "reloaddb", "restartserver", "viewdb", "viewstats"})
        QVERIFY2(m_window->findChild<QPushButton*>(QLatin1String(name)), name);
    for (const char* name : {"newprimary", "fastadd", "deleteprimary", "reversemapping", "newsecondary", "delsecondary",
                             "updatechanges", "sortprim", "sortsec", "findprim", "findsec"})
        QVERIFY2(m_window->findChild<QPushButton*>(QLatin1String(name)), name);
    for (const char* name : {"emailaddr", "defaultns1", "defaultns5", "defaulthost1", "defaultmail3", "defaultalias5",
                             "defaultserial", "defaultrefresh", "defaultretry", "defaultexpire", "defaultminimum",
                             "nicserver", "nicname", "nicaddr", "nicmailto", "defaultsecondary"})
        QVERIFY2(m_window->findChild<QLineEdit*>(QLatin1String(name)), name);
}

void TstMainWindow::menuItemsStartAsTheyShould()
{
    QVERIFY(action(QStringLiteral("addservermenu"))->isEnabled());
    // "Reset Reverse Mapping" forgets answers given about the loaded server's hosts: it waits for a server too.
    for (const char* name :
         {"deleteservermenu", "stopservermenu", "startservermenu", "reloaddbmenu", "restartservermenu", "viewdbmenu",
          "viewstatsmenu", "getcachemenu", "backupserver", "restoreserver", "resetreversemapping"})
        QVERIFY2(!action(QLatin1String(name))->isEnabled(), name);
    for (const char* name : {"resetdomaindefaults", "modifytldextensions", "helpitem", "about", "exit"})
        QVERIFY2(action(QLatin1String(name))->isEnabled(), name);
    QVERIFY(!m_window->domainEdit()->deleteprimary->isEnabled());
    QVERIFY(!m_window->domainEdit()->delsecondary->isEnabled());

    m_window->setServerCommandsEnabled(true);
    QVERIFY(action(QStringLiteral("stopservermenu"))->isEnabled());
    QVERIFY(action(QStringLiteral("restoreserver"))->isEnabled());
    QVERIFY(action(QStringLiteral("resetreversemapping"))->isEnabled());
    QVERIFY(m_window->serverOptions()->getcache->isEnabled());
    m_window->setServerCommandsEnabled(false);
    QVERIFY(!action(QStringLiteral("viewstatsmenu"))->isEnabled());
}

void TstMainWindow::firstShowingLoadsSettingsAndCache()
{
    m_store->setText(QStringLiteral("Initialization"), QStringLiteral("Version"), QStringLiteral("1.50"));
    m_store->setText(QStringLiteral("Servers"), QStringLiteral("Number of Servers"), QStringLiteral("2"));
    m_store->setText(QStringLiteral("Servers"), QStringLiteral("Server 0"),
                     QStringLiteral("ns@ns.example.com.     /a/named.boot"));
    m_store->setText(QStringLiteral("Servers"), QStringLiteral("Server 1"),
                     QStringLiteral("ns1@ns1.example.com.     /b/named.boot"));
    m_store->setText(QStringLiteral("Default Name Servers"), QStringLiteral("Name Server 2"),
                     QStringLiteral("ns2.example.com"));
    QVERIFY(writeBytes(QDir(m_platform->appDataPath()).filePath(QStringLiteral("cache.tmp")), "; root hints\r\n"));

    showAndAnswerAddress();
    QCOMPARE(m_prompter->prompts().first().caption, QStringLiteral("Enter E-Mail Address"));
    const ServerInfoPage* info = m_window->serverInfo();
    QCOMPARE(info->serverbox->count(), 2);
    QCOMPARE(info->serverbox->itemText(1), QStringLiteral("ns1"));
    QCOMPARE(info->serverbox->currentText(), QStringLiteral("Select A Server"));
    QCOMPARE(m_window->serverOptions()->cachetext->toPlainText(), QStringLiteral("; root hints\n"));
    QCOMPARE(m_window->setupPage()->defaultns[1]->text(), QStringLiteral("ns2.example.com"));
    QCOMPARE(m_window->setupPage()->runningSerialEdit->text(), QStringLiteral("2026120701"));
    QCOMPARE(m_window->setupPage()->emailaddr->text(), QStringLiteral("admin@example.com"));
    QVERIFY(m_window->setupPage()->autobackup->isChecked());
}

void TstMainWindow::updateDefaultsWritesTheStore()
{
    showAndAnswerAddress();
    QTest::keyClicks(m_window->setupPage()->defaultmail[0], QStringLiteral("mail.example.com"));
    m_window->setupPage()->autobackup->setChecked(false);
    QTest::mouseClick(m_window->setupPage()->updatedefaults, Qt::LeftButton);
    QVERIFY(!m_window->progressWindow()->isVisible());
    QSettings raw(m_store->fileName(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Default Mail Servers/Mail Server 1")).toString(),
             QStringLiteral("mail.example.com"));
    QCOMPARE(raw.value(QStringLiteral("Initialization/AutoBackup")).toString(), QStringLiteral("false"));
    QCOMPARE(raw.value(QStringLiteral("Initialization/E-Mail Address")).toString(),
             QStringLiteral("admin@example.com"));
}

void TstMainWindow::closingSavesButExitDoesNot()
{
    showAndAnswerAddress();
    QTest::keyClicks(m_window->setupPage()->defaulthost[0], QStringLiteral("www"));
    m_window->exitWithoutSaving();
    m_window->close();
    {
        QSettings raw(m_store->fileName(), QSettings::IniFormat);
        QVERIFY(!raw.contains(QStringLiteral("Default Host Addresses/Host Address 1")));
    }

    // A fresh window, closed the ordinary way, keeps the change.
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    showAndAnswerAddress();
    QTest::keyClicks(m_window->setupPage()->defaulthost[0], QStringLiteral("www"));
    m_window->close();
    QSettings raw(m_store->fileName(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Default Host Addresses/Host Address 1")).toString(), QStringLiteral("www"));
}

void TstMainWindow::statusTextClearsItself()
{
    m_window->showStatus(QStringLiteral("Server Started"));
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Started"));
    auto* timer = m_window->findChild<QTimer*>(QStringLiteral("statustimer"));
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 10000);
    timer->start(1);
    QTRY_VERIFY(m_window->statusText().isEmpty());
    QVERIFY(!timer->isActive());
}

void TstMainWindow::hiddenShortcutTogglesDebugLog()
{
    showAndAnswerAddress();
    QAction* debug = action(QStringLiteral("debuglog"));
    QVERIFY(debug);
    QVERIFY(debug->text().isEmpty());
    QCOMPARE(debug->shortcut(), QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Quorvane Debug Logging Activated."));
    debug->trigger();
    QVERIFY(m_state->debugLog.isOn());
    QCOMPARE(m_state->debugLog.path(), QDir(m_platform->appDataPath()).filePath(QStringLiteral("dns.log")));
    QVERIFY(readBytes(m_state->debugLog.path()).startsWith("Quorvane Debug Log Activated At "));
}

void TstMainWindow::helpOpensTheHelpWindow()
{
    // The help is shown by the program itself, so that it works where the desktop has no viewer for it.
    action(QStringLiteral("helpitem"))->trigger();
    HelpWindow* help = m_window->helpWindow();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->topic(), QStringLiteral("getting-started"));
    QVERIFY(help->helptext->toPlainText().contains(QStringLiteral("Getting started")));
    QCOMPARE(help->windowTitle(), QStringLiteral("Quorvane Help"));
}

void TstMainWindow::startsQuickly()
{
    // Building and showing the main window is the start-up's whole cost; the settings are read right after.
    m_window.reset();
    QElapsedTimer timer;
    timer.start();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->answerText(QStringLiteral("admin@example.com"));
    m_window->show();
    QTRY_COMPARE(m_prompter->pending(), 0);
    // Catches a start that waits on something (a name lookup, a time-out), not speed: bench/startupbench has
    // the figure, and this bound holds under the sanitizers on a loaded machine.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QStringLiteral("took %1 ms").arg(timer.elapsed())));
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
