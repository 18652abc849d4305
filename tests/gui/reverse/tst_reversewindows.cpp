#include "gui/common/stagewindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/reverse/reverseactions.h"
#include "gui/reverse/reversehostnamedialog.h"
#include "gui/reverse/secondaryreversedialog.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/latin1lines.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "zone/zonefileio.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

QStringList lineItems(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList secondaryReverseBootLines(const QString& bootFile)
{
    QStringList found;
    for (const QString& line : readTextFile(bootFile).value_or(QStringList())) {
        if (line.startsWith(QStringLiteral("secondary")))
            found << line;
    }
    return found;
}

// Runs the action once the window is shown, since the work before it lets timers run early.
void whenShown(QObject* context, QWidget* window, std::function<void()> action)
{
    auto* poll = new QTimer(context);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, context, [poll, window, action] {
        if (!window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action();
    });
    poll->start();
}

} // namespace

class TestReverseWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void addChecks_data();
    void addChecks();
    void blocksListedAndDeleted();
    void closingEmptiesRange();
    void saveWritesBootFile();
    void deleteFromPage();
    void reverseMappingButton();
    void hostNameDialog();
    void resetReverseMapping();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    SecondaryReverseDialog* ips() const { return m_window->reverseActions()->ipsDialog(); }
    void fillBlock(const QString& low, const QString& high, const QString& master);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestReverseWindows::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<FakePlatform>(path(QStringLiteral("appdata")));
    m_store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
    m_state = std::make_unique<AppState>();
    QDir().mkpath(path(QStringLiteral("ns/data")));
    QVERIFY(writeBytes(
        path(QStringLiteral("ns/data/example.com.dns")),
        crlfLines({QStringLiteral("@ IN     SOA     ns1.example.com. hostmaster.example.com. ("),
                   QStringLiteral("2026120701"), QStringLiteral("1080"), QStringLiteral("3600"),
                   QStringLiteral("604800"), QStringLiteral("86400 )"),
                   QStringLiteral("@     IN     NS     ns1.example.com."),
                   QStringLiteral("ns1     IN     A     10.1.2.1 "), QStringLiteral("www     IN     A     10.1.2.5 "),
                   QStringLiteral("web     IN     A     10.1.2.5 ")})));
    QVERIFY(writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray()));
    QVERIFY(writeBytes(path(QStringLiteral("ns/named.boot")),
                       (QStringLiteral("directory ") + path(QStringLiteral("ns/data")) +
                        QStringLiteral("\r\ncache . cache.dns\r\nprimary example.com example.com.dns\r\n"))
                           .toLatin1()));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->answerText(QStringLiteral("admin@example.com"));
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

void TestReverseWindows::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
    QVERIFY2(m_prompter->problems().isEmpty(), qPrintable(m_prompter->problems().join(QLatin1Char('\n'))));
    m_window.reset();
}

void TestReverseWindows::fillBlock(const QString& low, const QString& high, const QString& master)
{
    ips()->lowip->setText(low);
    ips()->highip->setText(high);
    ips()->masterip->setText(master);
    QTest::mouseClick(ips()->addip, Qt::LeftButton);
}

void TestReverseWindows::addChecks_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("master");
    QTest::addColumn<QString>("message"); // empty: the block is added
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("entry");

    const QString first = QStringLiteral("Your first IP is entered incorrectly. An IP address is four numbers from 0 "
                                         "to 255 separated by dots, such as 192.168.1.10.");
    const QString second = QStringLiteral("Your second IP is entered incorrectly. An IP address is four numbers from 0 "
                                          "to 255 separated by dots, such as 192.168.1.10.");
    const QString master = QStringLiteral("Your primary server IP is entered incorrectly. An IP address is four "
                                          "numbers from 0 to 255 separated by dots, such as 192.168.1.10.");
    QTest::newRow("class C block") << "206.117.30.0"
                                   << "206.117.30.255"
                                   << "10.0.0.1"
                                   << ""
                                   << "206.117.30.0 <--> 206.117.30.255 on server: 10.0.0.1"
                                   << "30.117.206.IN-ADDR.ARPA     10.0.0.1";
    QTest::newRow("class B block") << "10.1.0.0"
                                   << "10.1.255.255"
                                   << "10.0.0.1"
                                   << ""
                                   << "10.1.0.0 <--> 10.1.255.255 on server: 10.0.0.1"
                                   << "1.10.IN-ADDR.ARPA     10.0.0.1";
    QTest::newRow("empty first") << ""
                                 << "10.1.2.3"
                                 << "10.0.0.1" << first << ""
                                 << "";
    QTest::newRow("first not an address") << "10.1.2"
                                          << "10.1.2.3"
                                          << "10.0.0.1" << first << ""
                                          << "";
    QTest::newRow("first illegal character") << "10.1.2.0!"
                                             << "10.1.2.3"
                                             << "10.0.0.1" << first << ""
                                             << "";
    QTest::newRow("second octet too big") << "10.1.2.0"
                                          << "10.1.2.300"
                                          << "10.0.0.1" << second << ""
                                          << "";
    QTest::newRow("no octet in common") << "10.1.2.0"
                                        << "11.1.2.255"
                                        << "10.0.0.1" << second << ""
                                        << "";
    QTest::newRow("master missing") << "10.1.2.0"
                                    << "10.1.2.255"
                                    << "" << master << ""
                                    << "";
    QTest::newRow("master a name") << "10.1.2.0"
                                   << "10.1.2.255"
                                   << "ns.example.com" << master << ""
                                   << "";
}

void TestReverseWindows::addChecks()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, master);
    QFETCH(QString, message);
    QFETCH(QString, display);
    QFETCH(QString, entry);
    QTimer::singleShot(0, this, [&] {
        if (!message.isEmpty())
            m_prompter->expectMessage(QStringLiteral("Re-Enter"), message);
        fillBlock(low, high, master);
        ips()->reject();
    });
    // The dialog keeps the fields until it closes; look at them before that.
    QString lowAfter;
    QString masterAfter;
    QStringList listed;
    QList<SecondaryReverseBlock> blocks;
    connect(ips(), &QDialog::rejected, this, [&] {
        listed = lineItems(ips()->iplist);
        blocks = ips()->blocks();
        masterAfter = ips()->masterip->text();
    });
    QTest::mouseClick(m_window->serverOptions()->addsecreverse, Qt::LeftButton);
    lowAfter = ips()->lowip->text();
    QVERIFY(lowAfter.isEmpty());
    if (message.isEmpty()) {
        QCOMPARE(listed, QStringList{display});
        QCOMPARE(blocks.size(), 1);
        QCOMPARE(blocks.first().workingEntry(), entry);
        QVERIFY(masterAfter.isEmpty());
    } else {
        QVERIFY(listed.isEmpty());
        QCOMPARE(masterAfter, master);
    }
    // Closing without "Save" adds nothing.
    QVERIFY(secondaryReverseBootLines(path(QStringLiteral("ns/named.boot"))).isEmpty());
}

void TestReverseWindows::blocksListedAndDeleted()
{
    QStringList listedAfter;
    bool deleteEnabledAtStart = true;
    QTimer::singleShot(0, this, [&] {
        deleteEnabledAtStart = ips()->deleteip->isEnabled();
        fillBlock(QStringLiteral("10.1.2.0"), QStringLiteral("10.1.2.255"), QStringLiteral("10.0.0.1"));
        fillBlock(QStringLiteral("10.1.3.0"), QStringLiteral("10.1.3.255"), QStringLiteral("10.0.0.2"));
        m_prompter->expectMessage(QStringLiteral("Error"), QStringLiteral("You must first make a selection."));
        ips()->deleteip->setEnabled(true);
        QTest::mouseClick(ips()->deleteip, Qt::LeftButton);
        ips()->iplist->setCurrentRow(0);
        QVERIFY(ips()->deleteip->isEnabled());
        m_prompter->expectMessage(
            QStringLiteral("Question!"),
            QStringLiteral("Are you sure you want to delete 10.1.2.0 <--> 10.1.2.255 on server: 10.0.0.1 ?"),
            Prompter::Button::No);
        QTest::mouseClick(ips()->deleteip, Qt::LeftButton);
        QVERIFY(!ips()->deleteip->isEnabled());
        ips()->iplist->clearSelection();
        ips()->iplist->setCurrentRow(0);
        m_prompter->expectMessage(
            QStringLiteral("Question!"),
            QStringLiteral("Are you sure you want to delete 10.1.2.0 <--> 10.1.2.255 on server: 10.0.0.1 ?"),
            Prompter::Button::Yes);
        QTest::mouseClick(ips()->deleteip, Qt::LeftButton);
        listedAfter = lineItems(ips()->iplist);
        QCOMPARE(ips()->blocks().size(), 1);
        QCOMPARE(ips()->blocks().first().zone, QStringLiteral("3.1.10.IN-ADDR.ARPA"));
        ips()->reject();
    });
    QTest::mouseClick(m_window->serverOptions()->addsecreverse, Qt::LeftButton);
    QVERIFY(!deleteEnabledAtStart);
    QCOMPARE(listedAfter, QStringList{QStringLiteral("10.1.3.0 <--> 10.1.3.255 on server: 10.0.0.2")});

    // The next showing starts with an empty list.
    int countAtShow = -1;
    QTimer::singleShot(0, this, [&] {
        countAtShow = ips()->iplist->count();
        ips()->reject();
    });
    QTest::mouseClick(m_window->serverOptions()->addsecreverse, Qt::LeftButton);
    QCOMPARE(countAtShow, 0);
}

void TestReverseWindows::closingEmptiesRange()
{
    QTimer::singleShot(0, this, [&] {
        ips()->lowip->setText(QStringLiteral("10.1.2.0"));
        ips()->highip->setText(QStringLiteral("10.1.2.255"));
        ips()->masterip->setText(QStringLiteral("10.0.0.1"));
        ips()->close();
    });
    QTest::mouseClick(m_window->serverOptions()->addsecreverse, Qt::LeftButton);
    QVERIFY(ips()->lowip->text().isEmpty());
    QVERIFY(ips()->highip->text().isEmpty());
}

void TestReverseWindows::saveWritesBootFile()
{
    QTimer::singleShot(0, this, [&] {
        fillBlock(QStringLiteral("206.117.30.0"), QStringLiteral("206.117.30.255"), QStringLiteral("10.0.0.1"));
        fillBlock(QStringLiteral("10.1.0.0"), QStringLiteral("10.1.255.255"), QStringLiteral("10.0.0.2"));
        QTest::mouseClick(ips()->saveips, Qt::LeftButton);
    });
    QTest::mouseClick(m_window->serverOptions()->addsecreverse, Qt::LeftButton);
    QVERIFY(!ips()->isVisible());
    QCOMPARE(secondaryReverseBootLines(path(QStringLiteral("ns/named.boot"))),
             QStringList({QStringLiteral("secondary     30.117.206.IN-ADDR.ARPA     10.0.0.1     "
                                         "30.117.206.IN-ADDR.ARPA.secondary.reverse.DNS ;206.117.30.0 <--> "
                                         "206.117.30.255 on server: 10.0.0.1"),
                          QStringLiteral("secondary     1.10.IN-ADDR.ARPA     10.0.0.2     "
                                         "1.10.IN-ADDR.ARPA.secondary.reverse.DNS ;10.1.0.0 <--> 10.1.255.255 on "
                                         "server: 10.0.0.2")}));
    QCOMPARE(lineItems(m_window->serverOptions()->secreverse),
             QStringList({QStringLiteral("206.117.30.0 <--> 206.117.30.255 on server: 10.0.0.1"),
                          QStringLiteral("10.1.0.0 <--> 10.1.255.255 on server: 10.0.0.2")}));
    QVERIFY(m_state->zoneLists.secdns.isEmpty());
}

void TestReverseWindows::deleteFromPage()
{
    QTimer::singleShot(0, this, [&] {
        fillBlock(QStringLiteral("10.1.2.0"), QStringLiteral("10.1.2.255"), QStringLiteral("10.0.0.1"));
        fillBlock(QStringLiteral("10.1.3.0"), QStringLiteral("10.1.3.255"), QStringLiteral("10.0.0.1"));
        QTest::mouseClick(ips()->saveips, Qt::LeftButton);
    });
    ServerOptionsPage* page = m_window->serverOptions();
    QTest::mouseClick(page->addsecreverse, Qt::LeftButton);
    QVERIFY(!page->delsecreverse->isEnabled());
    m_prompter->expectMessage(QStringLiteral("Error"), QStringLiteral("You must first make a selection."));
    page->delsecreverse->setEnabled(true);
    QTest::mouseClick(page->delsecreverse, Qt::LeftButton);
    QVERIFY(!page->delsecreverse->isEnabled());

    page->secreverse->setCurrentRow(0);
    QVERIFY(page->delsecreverse->isEnabled());
    m_prompter->expectMessage(
        QStringLiteral("Question!"),
        QStringLiteral("Are you sure you want to delete 10.1.2.0 <--> 10.1.2.255 on server: 10.0.0.1 ?"),
        Prompter::Button::Yes);
    QTest::mouseClick(page->delsecreverse, Qt::LeftButton);
    QVERIFY(!page->delsecreverse->isEnabled());
    QCOMPARE(secondaryReverseBootLines(path(QStringLiteral("ns/named.boot"))),
             QStringList{QStringLiteral("secondary     3.1.10.IN-ADDR.ARPA     10.0.0.1     "
                                        "3.1.10.IN-ADDR.ARPA.secondary.reverse.DNS ;10.1.3.0 <--> 10.1.3.255 on "
                                        "server: 10.0.0.1")});
    QCOMPARE(lineItems(page->secreverse), QStringList{QStringLiteral("10.1.3.0 <--> 10.1.3.255 on server: 10.0.0.1")});
    QCOMPARE(m_window->statusText(), QStringLiteral("Boot file written: 1 secondary reverse blocks."));
}

void TestReverseWindows::reverseMappingButton()
{
    StageWindow* stage = m_window->reverseActions()->stageWindow();
    QStringList seen;
    ReverseHostNameDialog* dialog = m_window->reverseActions()->hostNameDialog();
    whenShown(this, dialog, [&] {
        seen << dialog->windowTitle() << dialog->ipaddress->text() << lineItems(dialog->hostlist)
             << stage->windowTitle() << stage->stagetext->text();
        dialog->hostlist->setCurrentRow(1);
        QTest::mouseClick(dialog->okbutton, Qt::LeftButton);
    });
    m_state->setup.defaultrefresh = QStringLiteral("x");
    QTest::mouseClick(m_window->domainEdit()->reversemapping, Qt::LeftButton);
    QCOMPARE(seen, QStringList({QStringLiteral("Hostname for Reverse Mapping"), QStringLiteral("10.1.2.5"),
                                QStringLiteral("web.example.com."), QStringLiteral("www.example.com."),
                                QStringLiteral("Processing..."),
                                QStringLiteral("Global Reverse Mapping Error Processing Phase")}));
    QVERIFY(!stage->isVisible());
    QCOMPARE(m_state->zoneLists.reverseignore, QStringList{QStringLiteral("web.example.com.")});
    const QStringList lines =
        readTextFile(path(QStringLiteral("ns/data/2.1.10.IN-ADDR.ARPA.reverse.DNS"))).value_or(QStringList());
    QVERIFY(lines.contains(QStringLiteral("5     IN     PTR     www.example.com.")));
    QVERIFY(QFile::exists(path(QStringLiteral("ns/data/ns.local.DNS"))));
    QVERIFY2(m_window->statusText().startsWith(QStringLiteral("Reverse mapping written: 2 files (")),
             qPrintable(m_window->statusText()));
    // The fallback went back into the Setup page.
    QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("defaultrefresh"))->text(), QStringLiteral("1080"));
}

void TestReverseWindows::hostNameDialog()
{
    ReverseHostNameDialog* dialog = m_window->reverseActions()->hostNameDialog();
    QCOMPARE(dialog->assigned->text(),
             QStringLiteral("has been assigned to more than one host address. While you can have multiple hostnames "
                            "point to the same IP#, you can only have one host name for an IP#'s reverse mapping."));
    QCOMPARE(dialog->selecttext->text(),
             QStringLiteral("The host names listed below are the one you are assigning this IP# to and the one that "
                            "is this IP# currently maps to.  Please select the one you wish to use:"));
    QTimer::singleShot(0, this, [&] { QTest::mouseClick(dialog->okbutton, Qt::LeftButton); });
    QCOMPARE(dialog->chooseHostName(QStringLiteral("10.0.0.1"), {QStringLiteral("a."), QStringLiteral("b.")}),
             std::nullopt);
    QTimer::singleShot(0, this, [&] {
        dialog->hostlist->setCurrentRow(0);
        QTest::mouseClick(dialog->okbutton, Qt::LeftButton);
    });
    QCOMPARE(dialog->chooseHostName(QStringLiteral("10.0.0.1"), {QStringLiteral("a."), QStringLiteral("b.")}),
             std::optional<int>(0));
}

void TestReverseWindows::resetReverseMapping()
{
    // The answers are forgotten and stored at once; the program goes on (it used to close itself).
    m_state->zoneLists.reverseignore = {QStringLiteral("web.example.com."), QStringLiteral("old.example.com.")};
    QAction* reset = m_window->findChild<QAction*>(QStringLiteral("resetreversemapping"));
    QVERIFY(reset->isEnabled());
    const qsizetype promptsBefore = m_prompter->prompts().size();
    reset->trigger();
    QVERIFY(m_state->zoneLists.reverseignore.isEmpty());
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_prompter->prompts().size(), promptsBefore);
    QVERIFY(m_window->statusText().startsWith(QStringLiteral("Reverse mapping reset: 2 host names forgotten")));
    QCOMPARE(SettingsStore(path(QStringLiteral("settings.ini")))
                 .integer(QStringLiteral("Reverse Mapping"), QStringLiteral("Number of Ignores")),
             0);

    // Without a loaded server there is nothing to reset.
    m_window->setServerCommandsEnabled(false);
    QVERIFY(!reset->isEnabled());
}

QTEST_MAIN(TestReverseWindows)
#include "tst_reversewindows.moc"
