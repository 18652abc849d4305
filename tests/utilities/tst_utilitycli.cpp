#include "loopbackpeers.h"
#include "namedpeer.h"
#include "net/icmpping.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Three namespaces of the test's own, client - router - target, joined by two veth pairs with private
// addresses. Nothing in the test's own namespace is touched. The client resolves names from a hosts file of
// its own that names the router, and asks no name server but its own loopback.
class ThreeNamespaces
{
public:
    ThreeNamespaces()
    {
        const QString tag = QStringLiteral("qv%1").arg(::getpid());
        m_client = tag + QStringLiteral("c");
        m_router = tag + QStringLiteral("r");
        m_target = tag + QStringLiteral("t");
    }
    ~ThreeNamespaces()
    {
        for (const QString& name : std::as_const(m_created))
            run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("del"), name});
        if (!m_etcDir.isEmpty())
            QDir(m_etcDir).removeRecursively();
    }

    QString client() const { return m_client; }
    QString router() const { return m_router; }

    bool build()
    {
        for (const QString& name : {m_client, m_router, m_target}) {
            if (!ip({QStringLiteral("netns"), QStringLiteral("add"), name}))
                return false;
            m_created << name;
            if (!ip({QStringLiteral("-n"), name, QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"),
                     QStringLiteral("up")}))
                return false;
        }
        const QString c0 = m_client + QStringLiteral("0"), r0 = m_router + QStringLiteral("0");
        const QString r1 = m_router + QStringLiteral("1"), t0 = m_target + QStringLiteral("0");
        const QList<QStringList> steps = {
            {"link", "add", c0, "netns", m_client, "type", "veth", "peer", "name", r0, "netns", m_router},
            {"link", "add", r1, "netns", m_router, "type", "veth", "peer", "name", t0, "netns", m_target},
            {"-n", m_client, "addr", "add", "10.77.1.1/24", "dev", c0},
            {"-n", m_router, "addr", "add", "10.77.1.2/24", "dev", r0},
            {"-n", m_router, "addr", "add", "10.77.2.1/24", "dev", r1},
            {"-n", m_target, "addr", "add", "10.77.2.2/24", "dev", t0},
            {"-n", m_client, "link", "set", c0, "up"},
            {"-n", m_router, "link", "set", r0, "up"},
            {"-n", m_router, "link", "set", r1, "up"},
            {"-n", m_target, "link", "set", t0, "up"},
            {"-n", m_client, "route", "add", "10.77.2.0/24", "via", "10.77.1.2"},
            {"-n", m_target, "route", "add", "10.77.1.0/24", "via", "10.77.2.1"},
        };
        for (const QStringList& step : steps) {
            if (!ip(step))
                return false;
        }
        m_etcDir = QStringLiteral("/etc/netns/") + m_client;
        return QDir().mkpath(m_etcDir) &&
               writeBytes(m_etcDir + QStringLiteral("/resolv.conf"), "nameserver 127.0.0.1\n") &&
               writeBytes(m_etcDir + QStringLiteral("/hosts"), "127.0.0.1 localhost\n10.77.1.2 router.qv.test\n") &&
               setForwarding(true);
    }

    bool setForwarding(bool on)
    {
        return sysctl(m_router, QStringLiteral("net.ipv4.ip_forward=") + (on ? QLatin1Char('1') : QLatin1Char('0')));
    }

    bool sysctl(const QString& name, const QString& setting)
    {
        return run(QStringLiteral("ip"), {QStringLiteral("netns"), QStringLiteral("exec"), name,
                                          QStringLiteral("sysctl"), QStringLiteral("-qw"), setting});
    }

private:
    static bool ip(const QStringList& arguments) { return run(QStringLiteral("ip"), arguments); }

    QString m_client, m_router, m_target;
    QStringList m_created;
    QString m_etcDir;
};

} // namespace

class TstUtilityCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fingerPrintsAnswer();
    void fingerRefused();
    void whoisPrintsAnswer();
    void lookupListsMailExchangers();
    void lookupOfRefusedZoneTimesOut();
    void pingThreeTimes();
    void pingRefusesBadCount();
    void traceOfLoopback();
    void usageErrors_data();
    void usageErrors();
    void twoHopTrace_data();
    void twoHopTrace();
    void silentHostIsNotSuccessful();

private:
    // Runs the command line program while this test's own servers keep answering.
    CliRun cli(const QStringList& arguments, const QStringList& wrapper = {}, int timeoutMs = 30000);
    void requireNamespaces();

    QTemporaryDir m_home;
    NamedPeer m_named;
    QString m_namedProblem;
    QString m_noIcmp;
    std::unique_ptr<ThreeNamespaces> m_namespaces;
    QString m_namespaceProblem;
};

void TstUtilityCli::initTestCase()
{
    if (!NamedPeer::available())
        m_namedProblem = QStringLiteral("named or dig is not installed (packages bind9, bind9-dnsutils)");
    else if (!m_named.start())
        QFAIL(qPrintable(m_named.error()));
    if (const auto error = IcmpPing().setHost(QStringLiteral("127.0.0.1")))
        m_noIcmp = QStringLiteral("No ICMP socket for this user: ") + *error;
}

CliRun TstUtilityCli::cli(const QStringList& arguments, const QStringList& wrapper, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(environment);
    if (wrapper.isEmpty())
        process.start(QStringLiteral(QUORVANE_CLI), arguments);
    else
        process.start(wrapper.first(), wrapper.mid(1) + QStringList{QStringLiteral(QUORVANE_CLI)} + arguments);
    CliRun result;
    if (!process.waitForStarted(5000))
        return result;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TstUtilityCli::fingerPrintsAnswer()
{
    LineServer server("Line one\r\nLine two\r\n");
    const CliRun result = cli({QStringLiteral("finger"), QStringLiteral("root@127.0.0.1"), QStringLiteral("--port"),
                               QString::number(server.port())});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Connected. Waiting for data...\n\nLine one\nLine two\n"));
    QCOMPARE(server.received(), QByteArray("root\r\n"));
}

void TstUtilityCli::fingerRefused()
{
    const CliRun result = cli({QStringLiteral("finger"), QStringLiteral("root@127.0.0.1"), QStringLiteral("--port"),
                               QString::number(refusingPort())});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QByteArray("Connection failed: Connection refused\n"));
    QCOMPARE(result.err, QByteArray());
}

void TstUtilityCli::whoisPrintsAnswer()
{
    LineServer server("Domain Name: EXAMPLE.TEST\r\n\r\nRegistrar: Test\r\n");
    const CliRun result = cli({QStringLiteral("whois"), QStringLiteral("example.test"), QStringLiteral("--host"),
                               QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(server.port())});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Looking up host 127.0.0.1...\nConnecting to 127.0.0.1 ...\n"
                                    "Domain Name: EXAMPLE.TEST\n\nRegistrar: Test\n"));
    QCOMPARE(server.received(), QByteArray("example.test\r\n"));
}

void TstUtilityCli::lookupListsMailExchangers()
{
    if (!m_namedProblem.isEmpty())
        QSKIP(qPrintable(m_namedProblem));
    const CliRun result = cli({QStringLiteral("lookup"), QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                               QStringLiteral("MX"), QStringLiteral("--port"), QString::number(m_named.port())});
    QCOMPARE(result.exitCode, 0);
    QByteArray expected = readBytes(testDataPath(QStringLiteral("utilities/output-mx.txt")));
    expected.replace("\r\n", "\n");
    expected = expected.mid(expected.indexOf('\n')); // the first line is shown blank
    QCOMPARE(result.out, expected);
    const QString folder = m_home.filePath(QStringLiteral("data/Mervale/Quorvane"));
    QCOMPARE(readBytes(folder + QStringLiteral("/output.txt")),
             readBytes(testDataPath(QStringLiteral("utilities/output-mx.txt"))));
    QCOMPARE(readBytes(folder + QStringLiteral("/nsbatch.bat")),
             readBytes(testDataPath(QStringLiteral("utilities/nsbatch.bat"))));
    QVERIFY(!QFile::exists(folder + QStringLiteral("/command.txt")));
}

void TstUtilityCli::lookupOfRefusedZoneTimesOut()
{
    if (!m_namedProblem.isEmpty())
        QSKIP(qPrintable(m_namedProblem));
    const CliRun result = cli({QStringLiteral("lookup"), QStringLiteral("127.0.0.1"), QStringLiteral("refused.test"),
                               QStringLiteral("MX - Mail Exchange"), QStringLiteral("--timeout"), QStringLiteral("0"),
                               QStringLiteral("--port"), QString::number(m_named.port())});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QByteArray());
    QVERIFY2(result.err.endsWith("Attention!: NS Lookup could not complete your request in the time allowed.\n"),
             result.err.constData());
}

void TstUtilityCli::pingThreeTimes()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    const CliRun result =
        cli({QStringLiteral("ping"), QStringLiteral("127.0.0.1"), QStringLiteral("--count"), QStringLiteral("3")});
    QCOMPARE(result.exitCode, 0);
    const QRegularExpression form(QStringLiteral("^\\(1\\)Ping 127\\.0\\.0\\.1  ---> \\d+ milliseconds\\n"
                                                 "\\(2\\)Ping 127\\.0\\.0\\.1  ---> \\d+ milliseconds\\n"
                                                 "\\(3\\)Ping 127\\.0\\.0\\.1  ---> \\d+ milliseconds\\n$"));
    QVERIFY2(form.match(QString::fromLatin1(result.out)).hasMatch(), result.out.constData());
}

void TstUtilityCli::pingRefusesBadCount()
{
    const CliRun result =
        cli({QStringLiteral("ping"), QStringLiteral("127.0.0.1"), QStringLiteral("--count"), QStringLiteral("three")});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, QByteArray("Attention!: Times to Ping must be a whole number.\n"));
}

void TstUtilityCli::traceOfLoopback()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    const CliRun result = cli({QStringLiteral("trace"), QStringLiteral("127.0.0.1")});
    QCOMPARE(result.exitCode, 0);
    const QRegularExpression form(QStringLiteral("^1:   \\d+ milliseconds localhost \\(127\\.0\\.0\\.1\\)\\n$"));
    QVERIFY2(form.match(QString::fromLatin1(result.out)).hasMatch(), result.out.constData());
}

void TstUtilityCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("finger without target") << QStringList{"finger"};
    QTest::newRow("finger with bad port") << QStringList{"finger", "a@127.0.0.1", "--port", "0"};
    QTest::newRow("whois with unknown option") << QStringList{"whois", "x", "--count", "3"};
    QTest::newRow("lookup with two words") << QStringList{"lookup", "127.0.0.1", "example.test"};
    QTest::newRow("ping with two hosts") << QStringList{"ping", "a", "b"};
    QTest::newRow("trace with option") << QStringList{"trace", "127.0.0.1", "--port", "1"};
}

void TstUtilityCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    const CliRun result = cli(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.err.startsWith("Usage: "));
}

void TstUtilityCli::requireNamespaces()
{
    if (::geteuid() != 0)
        QSKIP("Network namespaces need root; the two-hop path was not built.");
    if (!m_namespaces && m_namespaceProblem.isEmpty()) {
        m_namespaces = std::make_unique<ThreeNamespaces>();
        if (!m_namespaces->build()) {
            m_namespaces.reset();
            m_namespaceProblem = QStringLiteral("Network namespaces are not available here (ip netns, veth).");
        }
    }
    if (!m_namespaceProblem.isEmpty())
        QSKIP(qPrintable(m_namespaceProblem));
}

void TstUtilityCli::twoHopTrace_data()
{
    QTest::addColumn<bool>("unprivileged");
    QTest::newRow("raw socket") << false;
    QTest::newRow("datagram socket of an ordinary user") << true;
}

void TstUtilityCli::twoHopTrace()
{
    QFETCH(bool, unprivileged);
    requireNamespaces();
    QVERIFY(m_namespaces->setForwarding(true));
    QStringList wrapper{QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), m_namespaces->client()};
    if (unprivileged) {
        // Without the right to raw sockets the component falls back to ICMP datagram sockets, which this
        // namespace allows every group.
        QVERIFY(m_namespaces->sysctl(m_namespaces->client(), QStringLiteral("net.ipv4.ping_group_range=0 2147483647")));
        wrapper << QStringLiteral("setpriv") << QStringLiteral("--reuid=65534") << QStringLiteral("--regid=65534")
                << QStringLiteral("--clear-groups");
    }
    const CliRun result = cli({QStringLiteral("trace"), QStringLiteral("10.77.2.2")}, wrapper);
    QCOMPARE(result.exitCode, 0);
    const QStringList lines = QString::fromLatin1(result.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    // The router has a name in the client's hosts file; the target has none and stays dotted.
    QVERIFY2(QRegularExpression(QStringLiteral("^1:   \\d+ milliseconds router\\.qv\\.test \\(10\\.77\\.1\\.2\\)$"))
                 .match(lines.at(0))
                 .hasMatch(),
             qPrintable(lines.at(0)));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^2:   \\d+ milliseconds    10\\.77\\.2\\.2$")).match(lines.at(1)).hasMatch(),
        qPrintable(lines.at(1)));
}

void TstUtilityCli::silentHostIsNotSuccessful()
{
    requireNamespaces();
    // A router that does not forward drops the requests without a word: each one ends in the time-out.
    QVERIFY(m_namespaces->setForwarding(false));
    const CliRun result =
        cli({QStringLiteral("ping"), QStringLiteral("10.77.2.2"), QStringLiteral("--count"), QStringLiteral("2")},
            {QStringLiteral("ip"), QStringLiteral("netns"), QStringLiteral("exec"), m_namespaces->client()});
    QVERIFY(m_namespaces->setForwarding(true));
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Ping 1  ---> was not successful.\nPing 2  ---> was not successful.\n"));
}

QTEST_GUILESS_MAIN(TstUtilityCli)
#include "tst_utilitycli.moc"
