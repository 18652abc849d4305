#include "servedserver.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The zones of a server made with quorvane-cli, served by a real named through "ndc" and Quorvane's control
// program, asked with dig, changed, reloaded, dumped, counted, broken and stopped.
class TstBind9Served : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void servedEndToEnd();
    void exportCommand();
    void checkCommand();
    void startRefusedByItsCheckLeavesNothingRunning();

private:
    QStringList ask(const QString& name, const QString& type) const { return digShort(m_server->port(), name, type); }
    // A zone with hosts, a mail server and an alias, made through the command line.
    void makeZone();
    QString zoneFile() const { return m_server->dataFile(QStringLiteral("example.com.DNS")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_server;
};

void TstBind9Served::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
}

void TstBind9Served::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_server->create(), qPrintable(m_server->lastError()));
}

void TstBind9Served::cleanup()
{
    m_server.reset();
    m_dir.reset();
}

void TstBind9Served::makeZone()
{
    QVERIFY2(m_server->createZone(QStringLiteral("example.com"),
                                  {"--host", "www=127.0.0.10", "--host", "mail=127.0.0.11", "--host", "ns1=127.0.0.9",
                                   "--host", "backup=127.0.0.12", "--ns", "ns1", "--mx", "mail", "--alias", "ftp=www"}),
             qPrintable(m_server->lastError()));
    const CliRun mx = m_server->cli({"record", "add", m_server->bootFile(), "example.com", "mx", "backup", "20"},
                                    QStringLiteral("ok,ok"));
    QVERIFY2(mx.status == 0, qPrintable(mx.err));
}

void TstBind9Served::servedEndToEnd()
{
    makeZone();
    const QString boot = m_server->bootFile();
    const CliRun started = m_server->cli({"ndc", boot, "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
    QCOMPARE(started.out, QStringLiteral("Starting Server...\nServer Started.\n"));
    const qint64 pid = m_server->namedProcess();
    QVERIFY(pid > 0);

    QCOMPARE(ask("www.example.com", "A"), QStringList{"127.0.0.10"});
    QCOMPARE(ask("mail.example.com", "A"), QStringList{"127.0.0.11"});
    QCOMPARE(ask("ftp.example.com", "CNAME"), QStringList{"www.example.com."});
    QCOMPARE(ask("example.com", "NS"), QStringList{"ns1.example.com."});
    QStringList mail = ask("example.com", "MX");
    mail.sort();
    QCOMPARE(mail, QStringList({"10 mail.example.com.", "20 backup.example.com."}));

    // The status now comes from the name server itself: a second start is refused.
    const CliRun again = m_server->cli({"ndc", boot, "start"});
    QCOMPARE(again.status, 1);
    QCOMPARE(again.out, QStringLiteral("Server already started.\n"));

    // A changed host, reloaded.
    const CliRun changed = m_server->cli({"record", "change", boot, "example.com", "host", "1", "www", "127.0.0.20"},
                                         QStringLiteral("ok"));
    QVERIFY2(changed.status == 0, qPrintable(changed.err));
    const CliRun reloaded = m_server->cli({"ndc", boot, "reload"});
    QVERIFY2(reloaded.status == 0, qPrintable(reloaded.err));
    QCOMPARE(reloaded.out, QStringLiteral("Reloading Database...\nDatabase Reloaded.\n"));
    QCOMPARE(ask("www.example.com", "A"), QStringList{"127.0.0.20"});
    const QStringList servedSoa = ask("example.com", "SOA");

    // BIND's own dump and statistics.
    const CliRun dump = m_server->cli({"ndc", boot, "dumpdb"});
    QVERIFY2(dump.status == 0, qPrintable(dump.err));
    QVERIFY(dump.out.startsWith(QStringLiteral("Processing Database...\nNow Displaying Database.\n")));
    QVERIFY2(dump.out.contains(
                 QRegularExpression(QStringLiteral("www\\.example\\.com\\.\\s+\\d+\\s+IN A\\s+127\\.0\\.0\\.20"))),
             qPrintable(dump.out));
    QVERIFY(dump.out.trimmed().endsWith(QStringLiteral("; Dump complete")));
    const CliRun stats = m_server->cli({"ndc", boot, "stats"});
    QVERIFY2(stats.status == 0, qPrintable(stats.err));
    QVERIFY2(stats.out.contains(QStringLiteral("+++ Statistics Dump +++")) &&
                 stats.out.contains(QStringLiteral("--- Statistics Dump ---")) &&
                 stats.out.contains(QStringLiteral("QUERY")),
             qPrintable(stats.out));

    // A zone broken on purpose: a mail priority BIND refuses. The reload is refused with the checker's line and
    // the name server keeps the data it had.
    const QByteArray good = readBytes(zoneFile());
    QByteArray broken = good;
    broken.replace("IN     MX     20     ", "IN     MX     70000     ");
    QVERIFY(broken != good);
    QVERIFY(writeBytes(zoneFile(), broken));
    const CliRun refused = m_server->cli({"ndc", boot, "reload"});
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.out, QStringLiteral("Reloading Database...\n"));
    QVERIFY2(refused.err.contains(QRegularExpression(QStringLiteral(
                 "^Error\\.: The configuration fails its check: dns_rdata_fromtext: example\\.com\\.DNS:\\d+: near "
                 "'70000': out of range"))),
             qPrintable(refused.err));
    QCOMPARE(ask("www.example.com", "A"), QStringList{"127.0.0.20"});
    QCOMPARE(ask("example.com", "SOA"), servedSoa);
    // restart checks before it stops anything
    const CliRun notRestarted = m_server->cli({"ndc", boot, "restart"});
    QCOMPARE(notRestarted.status, 1);
    QCOMPARE(m_server->namedProcess(), pid);
    QVERIFY(writeBytes(zoneFile(), good));

    const CliRun stopped = m_server->cli({"ndc", boot, "stop"});
    QVERIFY2(stopped.status == 0, qPrintable(stopped.err));
    QCOMPARE(stopped.out, QStringLiteral("Stopping Server...\nServer Stopped.\n"));
    QVERIFY(!processAlive(pid));
    QVERIFY(loopbackPortFree(m_server->port()));
    const CliRun stopAgain = m_server->cli({"ndc", boot, "stop"});
    QCOMPARE(stopAgain.status, 1);
    QCOMPARE(stopAgain.out, QStringLiteral("Server already stopped.\n"));
    const CliRun reloadStopped = m_server->cli({"ndc", boot, "reload"});
    QCOMPARE(reloadStopped.status, 1);
    QCOMPARE(reloadStopped.out, QStringLiteral("Server currently stopped. Cannot execute command.\n"));
}

void TstBind9Served::exportCommand()
{
    makeZone();
    const QString boot = m_server->bootFile();
    // The new server's loopback reverse zone has no file until the reverse zones are generated: left out, and said.
    const CliRun exported = m_server->cli({"export", boot});
    QCOMPARE(exported.status, 1);
    QCOMPARE(exported.err,
             QStringLiteral("Left out: primary 0.0.127.IN-ADDR.ARPA ns1.local.DNS: its zone file %1 does not exist.\n")
                 .arg(m_server->dataFile(QStringLiteral("ns1.local.DNS"))));
    QVERIFY(exported.out.contains(QStringLiteral("zone \"example.com\" { type primary; file \"example.com.DNS\"; };")));
    QVERIFY(exported.out.contains(QStringLiteral("    listen-on port %1 { 127.0.0.1; };").arg(m_server->port())));

    const CliRun reverse = m_server->cli({"--identity", "ns1@ns1.example.com.", "reverse", boot});
    QVERIFY2(reverse.status == 0, qPrintable(reverse.err));
    const QString output = m_dir->filePath(QStringLiteral("out.conf"));
    const CliRun written = m_server->cli({"export", boot, "--output", output});
    QVERIFY2(written.status == 0, qPrintable(written.err));
    QVERIFY(written.out.isEmpty());
    QVERIFY(written.err.isEmpty());
    const QString text = QString::fromUtf8(readBytes(output));
    QVERIFY(text.contains(QStringLiteral("zone \"0.0.127.IN-ADDR.ARPA\" { type primary; file \"ns1.local.DNS\"; };")));

    const CliRun zones = m_server->cli({"export", boot, "--zones-only"});
    QCOMPARE(zones.status, 0);
    QVERIFY(!zones.out.contains(QStringLiteral("options {")));
    QVERIFY(zones.out.contains(QStringLiteral("zone \"example.com\" { type primary; file \"%1\"; };").arg(zoneFile())));

    QCOMPARE(m_server->cli({"export"}).status, 2);
    QCOMPARE(m_server->cli({"export", boot, "--output"}).status, 2);
    QCOMPARE(m_server->cli({"export", boot, "--catalog", "bad name"}).status, 2);
    QCOMPARE(m_server->cli({"export", boot, "--frobnicate", "x"}).status, 2);
}

void TstBind9Served::checkCommand()
{
    makeZone();
    const QString boot = m_server->bootFile();
    const CliRun clean = m_server->cli({"check", boot});
    QCOMPARE(clean.status, 0);
    QVERIFY2(clean.out.startsWith(QStringLiteral(
                 "No problem found: the configuration and its 1 primary zone file(s) load in BIND 9.\n")),
             qPrintable(clean.out));

    QByteArray broken = readBytes(zoneFile());
    broken.replace("IN     MX 10     mail", "IN     MX     70000     mail");
    broken.append("bad_name     IN     A     127.0.0.3 \r\n");
    QVERIFY(writeBytes(zoneFile(), broken));
    const CliRun found = m_server->cli({"check", boot});
    QCOMPARE(found.status, 1);
    QStringList lines = found.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // One line per problem, each naming the file and its line, and none twice.
    QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^dns_rdata_fromtext: example\\.com\\.DNS:\\d+: near "
                                                            "'70000': out of range$")))
                     .size() == 1,
             qPrintable(found.out));
    QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^example\\.com\\.DNS:\\d+: bad_name\\.example\\.com: bad "
                                                            "owner name \\(check-names\\)$")))
                     .size() == 1,
             qPrintable(found.out));
    QCOMPARE(lines.removeDuplicates(), 0);
}

void TstBind9Served::startRefusedByItsCheckLeavesNothingRunning()
{
    makeZone();
    QByteArray broken = readBytes(zoneFile());
    broken.replace("IN     MX 10     mail", "IN     MX     70000     mail");
    QVERIFY(writeBytes(zoneFile(), broken));
    const CliRun refused = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("near '70000': out of range")), qPrintable(refused.err));
    QCOMPARE(m_server->namedProcess(), 0);
    QVERIFY(loopbackPortFree(m_server->port()));
    // Neither the refused configuration nor its candidate is left for the name server.
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("ns1/bind9/named.conf"))));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("ns1/bind9/named.conf.new"))));
}

QTEST_GUILESS_MAIN(TstBind9Served)
#include "tst_bind9served.moc"
