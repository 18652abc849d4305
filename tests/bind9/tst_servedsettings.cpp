// The "BIND 9" settings as they reach a name server: a port stored as a word, a listen address that is none or
// is not this machine's, text that would add statements to the configuration, and two servers of Quorvane's
// own on one port, each through the real command line and control program.
#include "bind9/settingscheck.h"
#include "platform/settingsstore.h"
#include "servedserver.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <memory>

class TstServedSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listenAddresses_data();
    void listenAddresses();
    void storedWordsAreRefusedNotTakenForDefaults();
    void init();
    void cleanup();
    void settingsThatAreNoneServeNothing_data();
    void settingsThatAreNoneServeNothing();
    void exportNeverCarriesAnAddressThatIsNone();
    void secondServerOnTheSamePortIsRefused();
    void portHeldByAnotherProgramIsRefused();

private:
    void makeZone(ServedServer& server);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_server;
};

void TstServedSettings::listenAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("IPv4") << "127.0.0.1" << true;
    QTest::newRow("IPv6") << "::1" << true;
    QTest::newRow("blanks around") << " 127.0.0.1 " << true;
    QTest::newRow("short form") << "127.1" << false;
    QTest::newRow("one number") << "1" << false;
    QTest::newRow("a name") << "localhost" << false;
    QTest::newRow("statements after it") << "127.0.0.1; }; include \"/etc/shadow\"; options {" << false;
    QTest::newRow("scope") << "fe80::1%lo" << false;
    QTest::newRow("empty") << "" << false;
}

void TstServedSettings::listenAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, valid);
    QCOMPARE(isListenAddress(address), valid);
}

void TstServedSettings::storedWordsAreRefusedNotTakenForDefaults()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    store.setText(Bind9Settings::sectionName(), QStringLiteral("Port"), QStringLiteral("domain"));
    const Bind9Settings settings = Bind9Settings::load(store);
    QCOMPARE(settings.refusedValues, QStringList{QStringLiteral("Port \"domain\"")});
    QCOMPARE(bind9SettingsRefusal(settings),
             QStringLiteral("The settings of BIND 9 hold values that are none: Port \"domain\". A port is a number "
                            "from 1 to 65535; please correct them on the Setup page."));
    Bind9Settings stored;
    stored.address = QStringLiteral("192.0.2.77");
    QCOMPARE(bind9SettingsRefusal(stored),
             QStringLiteral("The BIND 9 setting Address 192.0.2.77 is no address of this machine. It must be one of "
                            "its addresses, or \"any\"."));
    stored.address = QStringLiteral("127.0.0.2");
    QCOMPARE(bind9SettingsRefusal(stored), QString());
    stored.address = QStringLiteral("any");
    QCOMPARE(bind9SettingsRefusal(stored), QString());
}

void TstServedSettings::init()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_server->create(), qPrintable(m_server->lastError()));
    makeZone(*m_server);
}

void TstServedSettings::cleanup()
{
    m_server.reset();
    m_dir.reset();
}

void TstServedSettings::makeZone(ServedServer& server)
{
    QVERIFY2(server.createZone(QStringLiteral("example.com"),
                               {"--host", "www=127.0.0.10", "--host", "ns1=127.0.0.9", "--ns", "ns1"}),
             qPrintable(server.lastError()));
}

void TstServedSettings::settingsThatAreNoneServeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("said");
    QTest::newRow("port as a word") << "Port"
                                    << "domain"
                                    << "hold values that are none: Port \"domain\"";
    QTest::newRow("control port out of range") << "Control Port"
                                               << "70000"
                                               << "Control Port \"70000\"";
    QTest::newRow("statements for an address") << "Address"
                                               << "127.0.0.1; }; include \"/etc/shadow\"; options {"
                                               << "is no address";
}

void TstServedSettings::settingsThatAreNoneServeNothing()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, said);
    QVERIFY(m_server->setSetting(QStringLiteral("BIND 9"), name, value));
    const CliRun run = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(run.status == 1 && run.err.contains(said), qPrintable(run.err));
    QCOMPARE(m_server->namedProcess(), 0);
    QVERIFY(!readBytes(m_server->bootFile().section(QLatin1Char('/'), 0, -2) + QStringLiteral("/bind9/named.conf"))
                 .contains("shadow"));
}

void TstServedSettings::exportNeverCarriesAnAddressThatIsNone()
{
    QVERIFY(m_server->setSetting(QStringLiteral("BIND 9"), QStringLiteral("Address"),
                                 QStringLiteral("127.0.0.1; }; include \"/etc/shadow\"; options {")));
    const CliRun exported = m_server->cli({"export", m_server->bootFile()});
    QCOMPARE(exported.status, 1);
    QVERIFY2(!exported.out.contains(QStringLiteral("shadow")), qPrintable(exported.out));
    QVERIFY(exported.out.contains(QStringLiteral("listen-on port %1 { 127.0.0.1; };").arg(m_server->port())));
    QVERIFY2(exported.err.contains(QStringLiteral("no address; the name server listens on 127.0.0.1 instead")),
             qPrintable(exported.err));
}

void TstServedSettings::secondServerOnTheSamePortIsRefused()
{
    const CliRun first = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(first.status == 0, qPrintable(first.err));
    const qint64 running = m_server->namedProcess();
    QVERIFY(running > 0);
    // A second server of Quorvane's own, set to the first one's port: its name server would share the port and
    // take half the queries.
    ServedServer second(m_dir->filePath(QStringLiteral("ns2")), QStringLiteral("ns2"));
    QVERIFY2(second.create(), qPrintable(second.lastError()));
    makeZone(second);
    QVERIFY(second.setSetting(QStringLiteral("BIND 9"), QStringLiteral("Port"), QString::number(m_server->port())));
    const CliRun refused = second.cli({"ndc", second.bootFile(), "start"});
    QCOMPARE(refused.status, 1);
    // The first one answers there, so the second one counts as started already.
    QVERIFY2(QString(refused.out + refused.err).contains(QStringLiteral("Server already started.")),
             qPrintable(refused.out + refused.err));
    QCOMPARE(second.namedProcess(), 0);
    QCOMPARE(m_server->namedProcess(), running);
    QCOMPARE(m_server->cli({"ndc", m_server->bootFile(), "stop"}).status, 0);
}

void TstServedSettings::portHeldByAnotherProgramIsRefused()
{
    // Something that is no name server holds the port: nothing answers there, yet a name server started on it
    // would share it.
    QUdpSocket datagrams;
    QVERIFY(datagrams.bind(QHostAddress::LocalHost, m_server->port()));
    const CliRun refused = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("named does not answer at 127.0.0.1 port %1: address in use by "
                                                 "another program")
                                      .arg(m_server->port())),
             qPrintable(refused.err));
    QCOMPARE(m_server->namedProcess(), 0);
    datagrams.close();
    const CliRun started = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
    QCOMPARE(m_server->cli({"ndc", m_server->bootFile(), "stop"}).status, 0);
}

QTEST_GUILESS_MAIN(TstServedSettings)
#include "tst_servedsettings.moc"
