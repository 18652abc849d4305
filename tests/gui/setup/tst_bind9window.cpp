#include "gui/common/guiprompter.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/datafileviewer.h"
#include "gui/servers/serverinfopage.h"
#include "gui/setup/bind9setupgroup.h"
#include "gui/setup/setuppage.h"
#include "platform/settingsstore.h"
#include "servedserver.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

// Answers the next modal window as a person would: the check looks at it and presses what it should.
void whenModal(const std::function<void(QWidget*)>& answer)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            answer(modal);
        }
    });
    poll->start();
}

} // namespace

// The main window with the real prompter over a server served by a real named through quorvane-ndc: the Setup
// page's fields, the server buttons, the name server's status, the "Error." box of a refused reload and
// "Check Server".
class TstBind9Window : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void setupPageHoldsTheSettings();
    void portStoredAsAWordStaysUntilThePageSetsOne();
    void serverButtonsFollowTheNameServer();

private:
    ServerInfoPage* info() const { return m_window->serverInfo(); }
    QString status() const { return info()->nameserverstatus->text(); }
    QString zoneFile() const { return m_server->dataFile(QStringLiteral("example.com.DNS")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_server;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<GuiPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TstBind9Window::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
}

void TstBind9Window::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_server->create(), qPrintable(m_server->lastError()));
    QVERIFY2(m_server->createZone(QStringLiteral("example.com"), {"--host", "www=127.0.0.10", "--host", "ns1=127.0.0.9",
                                                                  "--ns", "ns1", "--mx", "ns1"}),
             qPrintable(m_server->lastError()));
    // The control program the window runs reads the same settings as the window.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_server->configHome()));
    m_platform = std::make_unique<FakePlatform>(m_dir->filePath(QStringLiteral("program")));
    m_store = std::make_unique<SettingsStore>(m_server->settingsFile());
    m_state = std::make_unique<AppState>();
    m_prompter = std::make_unique<GuiPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->setParent(m_window.get());
    m_window->show();
    QTRY_COMPARE(info()->serverbox->count(), 1);
    m_state->autoBackup = false;
    Q_EMIT info()->serverbox->textActivated(QStringLiteral("ns1"));
    QVERIFY(m_state->serverLoaded);
}

void TstBind9Window::cleanup()
{
    m_window.reset();
    m_prompter.reset();
    m_server.reset();
    m_dir.reset();
}

void TstBind9Window::setupPageHoldsTheSettings()
{
    Bind9SetupGroup* group = m_window->setupPage()->bind9setup;
    QCOMPARE(group->ndcprogram->text(), QStringLiteral("quorvane-ndc"));
    QCOMPARE(group->bind9mode->currentText(), QStringLiteral("own"));
    QCOMPARE(group->bind9address->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(group->bind9port->value(), int(m_server->port()));
    QCOMPARE(group->bind9controlport->value(), int(m_server->controlPort()));
    QCOMPARE(group->bind9extraoptions->text(), ServedServer::safeOptions());

    group->bind9mode->setCurrentText(QStringLiteral("system"));
    group->bind9zonesfile->setText(QStringLiteral("/etc/bind/named.conf.local.quorvane"));
    group->bind9catalogzone->setText(QStringLiteral("catalog.invalid"));
    group->bind9port->setValue(5300);
    group->ndcprogram->setText(QStringLiteral("/usr/local/sbin/ndc"));
    QTest::mouseClick(m_window->setupPage()->updatedefaults, Qt::LeftButton);

    SettingsStore stored(m_server->settingsFile());
    const QString section = QStringLiteral("BIND 9");
    QCOMPARE(stored.text(section, QStringLiteral("Mode")), QStringLiteral("system"));
    QCOMPARE(stored.text(section, QStringLiteral("Zones File")), QStringLiteral("/etc/bind/named.conf.local.quorvane"));
    QCOMPARE(stored.text(section, QStringLiteral("Catalog Zone")), QStringLiteral("catalog.invalid"));
    QCOMPARE(stored.text(section, QStringLiteral("Port")), QStringLiteral("5300"));
    QCOMPARE(stored.text(section, QStringLiteral("Extra Options")), ServedServer::safeOptions());
    QCOMPARE(stored.text(QStringLiteral("Initialization"), QStringLiteral("Control Program")),
             QStringLiteral("/usr/local/sbin/ndc"));
}

void TstBind9Window::portStoredAsAWordStaysUntilThePageSetsOne()
{
    m_window.reset();
    m_store->setText(QStringLiteral("BIND 9"), QStringLiteral("Port"), QStringLiteral("domain"));
    m_state = std::make_unique<AppState>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->setParent(m_window.get());
    m_window->show();
    Bind9SetupGroup* group = m_window->setupPage()->bind9setup;
    // The page can show no word in a number field: it shows the default, which must not replace the word unseen.
    QCOMPARE(group->bind9port->value(), 53);
    QTest::mouseClick(m_window->setupPage()->updatedefaults, Qt::LeftButton);
    QCOMPARE(SettingsStore(m_server->settingsFile()).text(QStringLiteral("BIND 9"), QStringLiteral("Port")),
             QStringLiteral("domain"));
    QVERIFY(m_state->bind9.isRefused(QStringLiteral("Port")));

    group->bind9port->setValue(5300);
    QTest::mouseClick(m_window->setupPage()->updatedefaults, Qt::LeftButton);
    QCOMPARE(SettingsStore(m_server->settingsFile()).text(QStringLiteral("BIND 9"), QStringLiteral("Port")),
             QStringLiteral("5300"));
    QVERIFY(m_state->bind9.refusedValues.isEmpty());
}

void TstBind9Window::serverButtonsFollowTheNameServer()
{
    const QString where = QStringLiteral("127.0.0.1 port %1.").arg(m_server->port());
    QTRY_COMPARE(status(), QStringLiteral("Not answering at ") + where);

    QTest::mouseClick(info()->startserver, Qt::LeftButton);
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Started."));
    QTRY_COMPARE(status(), QStringLiteral("Answering at ") + where);
    const qint64 pid = m_server->namedProcess();
    QVERIFY(pid > 0);
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});

    // The name server answers, so a second start is refused, whatever button was pressed last.
    QTest::mouseClick(info()->startserver, Qt::LeftButton);
    QCOMPARE(m_window->statusText(), QStringLiteral("Server already started."));
    QCOMPARE(m_server->namedProcess(), pid);

    // A zone broken on purpose: the reload is refused in the checker's words, in the "Error." box.
    const QByteArray good = readBytes(zoneFile());
    QByteArray broken = good;
    broken.replace("IN     MX 10     ns1", "IN     MX     70000     ns1");
    QVERIFY(broken != good);
    QVERIFY(writeBytes(zoneFile(), broken));
    QString caption;
    QString text;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        QCOMPARE(box->parentWidget(), m_window.get());
        caption = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(info()->reloaddb, Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Error."));
    QVERIFY2(
        text.startsWith(QStringLiteral("The configuration fails its check: dns_rdata_fromtext: example.com.DNS:")) &&
            text.contains(QStringLiteral("near '70000': out of range")),
        qPrintable(text));
    QCOMPARE(m_window->statusText(), QString());
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});

    // "Check Server" names every problem in the viewer.
    QString report;
    whenModal([&](QWidget* modal) {
        auto* viewer = qobject_cast<DatafileViewer*>(modal);
        QVERIFY(viewer);
        report = viewer->datatext->toPlainText();
        viewer->closeviewer->click();
    });
    QAction* check = m_window->findChild<QAction*>(QStringLiteral("checkservermenu"));
    QVERIFY(check && check->isEnabled());
    check->trigger();
    QVERIFY2(report.contains(QRegularExpression(
                 QStringLiteral("^dns_rdata_fromtext: example\\.com\\.DNS:\\d+: near '70000': out of range$"),
                 QRegularExpression::MultilineOption)),
             qPrintable(report));
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Checked: problems found."));

    QVERIFY(writeBytes(zoneFile(), good));
    QTest::mouseClick(info()->stopserver, Qt::LeftButton);
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Stopped."));
    QTRY_COMPARE(status(), QStringLiteral("Not answering at ") + where);
    QVERIFY(!processAlive(pid));
    QTest::mouseClick(info()->reloaddb, Qt::LeftButton);
    QCOMPARE(m_window->statusText(), QStringLiteral("Server currently stopped. Cannot execute command."));
}

QTEST_MAIN(TstBind9Window)
#include "tst_bind9window.moc"
