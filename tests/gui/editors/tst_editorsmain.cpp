// The editors as the main window wires them: the browser's "New" opens the host editor, modal to the main
// window while it is shown; "Reset Domain Defaults" forgets the remembered answers; the Setup page checks
// its start-of-authority defaults on leaving them.
#include "gui/editors/hosteditor.h"
#include "gui/editors/zoneeditors.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/setup/setuppage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/clirun.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

class TestEditorsMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newHostFromTheBrowser();
    void zoneChangedWhileTheEditorIsOpen();
    void resetDomainDefaultsFromTheMenu();
    void setupDefaultIsCheckedOnLeaving();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    HostEditor* openNewHostEditor();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestEditorsMain::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<FakePlatform>(path(QStringLiteral("appdata")));
    m_store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
    m_store->setText(QStringLiteral("Drive Table"), QStringLiteral("C"), m_dir->path());
    m_state = std::make_unique<AppState>();
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeBytes(path(QStringLiteral("ns/data/example.com.dns")),
               readBytes(testDataPath(QStringLiteral("editors/example.com.dns"))));
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(path(QStringLiteral("ns/named.boot")), "directory C:\\\\ns\\\\data\r\n"
                                                      "cache . cache.dns\r\n"
                                                      "primary example.com example.com.dns\r\n");
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->answerText(QStringLiteral("admin@example.com"));
    m_window->resize(900, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(m_prompter->pending(), 0);
    m_state->defaultos = QStringLiteral("Windows NT 4.X");
    m_state->autoBackup = false;
    m_state->setup.runningSerial = QStringLiteral("2026120701");
    m_state->catalog.add({QStringLiteral("ns@ns.example.com."), path(QStringLiteral("ns/named.boot"))});
    m_window->serverboxChange(QStringLiteral("ns"));
    QVERIFY(m_state->serverLoaded);
}

void TestEditorsMain::cleanup()
{
    QCOMPARE(m_prompter->problems(), QStringList());
    QCOMPARE(m_prompter->pending(), 0);
    m_window.reset();
}

void TestEditorsMain::newHostFromTheBrowser()
{
    DomainEditPage* page = m_window->domainEdit();
    m_window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(page);
    QTreeWidgetItem* root = page->primaryTree->topLevelItem(0);
    root->setExpanded(true);
    QTreeWidgetItem* hosts = root->child(3);
    QCOMPARE(hosts->text(0), QStringLiteral("Host Addresses"));
    hosts->setExpanded(true);
    const QPoint at = page->primaryTree->visualItemRect(hosts).center();
    QTest::mousePress(page->primaryTree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(page->primaryTree->viewport(), Qt::RightButton, {}, at);
    page->newRecord();

    HostEditor* editor = m_window->zoneEditors()->hostEditor();
    QVERIFY(editor->isVisible());
    // Modal to the main window, which stays enabled: a window the editor's questions belong to is never a
    // disabled one.
    QCOMPARE(editor->parentWidget(), m_window.get());
    QCOMPARE(editor->windowModality(), Qt::WindowModal);
    QCOMPARE(QApplication::activeModalWidget(), editor);
    QVERIFY(m_window->isEnabled());
    editor->first->setText(QStringLiteral("web.example.com"));
    editor->second->setText(QStringLiteral("10.0.0.5"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(m_window->isEnabled());
    QCOMPARE(hosts->childCount(), 3);
    QCOMPARE(hosts->child(2)->text(0), QStringLiteral("web.example.com."));
    // Saved with the running serial, and the boot file written after the zone.
    const QByteArray zone = readBytes(path(QStringLiteral("ns/data/example.com.dns")));
    QVERIFY(zone.contains("\r\nweb.example.com.     IN     A     10.0.0.5 \r\n"));
    QVERIFY(zone.contains("\r\n2026120702\r\n"));
    QVERIFY(readBytes(path(QStringLiteral("ns/named.boot"))).contains("example.com.dns"));
}

HostEditor* TestEditorsMain::openNewHostEditor()
{
    DomainEditPage* page = m_window->domainEdit();
    QTreeWidgetItem* hosts = page->primaryTree->topLevelItem(0)->child(3);
    const QPoint at = page->primaryTree->visualItemRect(hosts).center();
    QTest::mousePress(page->primaryTree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(page->primaryTree->viewport(), Qt::RightButton, {}, at);
    page->newRecord();
    return m_window->zoneEditors()->hostEditor();
}

void TestEditorsMain::zoneChangedWhileTheEditorIsOpen()
{
    DomainEditPage* page = m_window->domainEdit();
    m_window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(page);
    QTreeWidgetItem* root = page->primaryTree->topLevelItem(0);
    root->setExpanded(true);
    root->child(3)->setExpanded(true);
    HostEditor* editor = openNewHostEditor();
    QVERIFY(editor->isVisible());

    // While the editor is open, the command line adds a host to the same zone: a real second Quorvane.
    QDir().mkpath(path(QStringLiteral("config/Mervale")));
    QVERIFY(writeBytes(path(QStringLiteral("config/Mervale/Quorvane.conf")),
                       "[Drive%20Table]\nC=" + m_dir->path().toLatin1() + "\n"));
    const CliRun other =
        runCli({QStringLiteral("--identity"), QStringLiteral("ns@ns.example.com."), QStringLiteral("record"),
                QStringLiteral("add"), path(QStringLiteral("ns/named.boot")), QStringLiteral("example.com"),
                QStringLiteral("host"), QStringLiteral("other.example.com"), QStringLiteral("10.0.0.7")},
               m_dir->path());
    QVERIFY2(other.status == 0, other.err.constData());

    const QString zoneFile = path(QStringLiteral("ns/data/example.com.dns"));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("The zone file %1 was changed by another program since it was read. It "
                                             "has been read again; please make your change again.")
                                  .arg(zoneFile));
    editor->first->setText(QStringLiteral("web.example.com"));
    editor->second->setText(QStringLiteral("10.0.0.5"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(m_window->isEnabled());
    QByteArray zone = readBytes(zoneFile);
    QVERIFY(zone.contains("other.example.com."));
    QVERIFY(!zone.contains("web.example.com."));

    // Made again, the change goes onto what the file now holds: nothing of either is lost.
    editor = openNewHostEditor();
    editor->first->setText(QStringLiteral("web.example.com"));
    editor->second->setText(QStringLiteral("10.0.0.5"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    zone = readBytes(zoneFile);
    QVERIFY(zone.contains("other.example.com.") && zone.contains("web.example.com."));
}

void TestEditorsMain::resetDomainDefaultsFromTheMenu()
{
    auto* reset = m_window->findChild<QAction*>(QStringLiteral("resetdomaindefaults"));
    QVERIFY(reset);
    QVERIFY(reset->isEnabled());
    m_state->domainDefaults = DomainEditDefaults{false, false, false, false, false};
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("Your domain edit defaults have been reset."));
    reset->trigger();
    QVERIFY(m_state->domainDefaults.askBeforeEachNameServer);
    QVERIFY(m_state->domainDefaults.askBeforeEachHost);
    QVERIFY(m_state->domainDefaults.askBeforeEachAliasTarget);
    QVERIFY(reset->isEnabled());
}

void TestEditorsMain::setupDefaultIsCheckedOnLeaving()
{
    QLineEdit* refresh = m_window->setupPage()->defaultrefresh;
    refresh->setText(QStringLiteral("abc"));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("You have entered an invalid character in your refresh value on the "
                                             "setup page."));
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(refresh, &leave);
    QCOMPARE(m_state->setup.defaultrefresh, QStringLiteral("abc"));
}

QTEST_MAIN(TestEditorsMain)
#include "tst_editorsmain.moc"
