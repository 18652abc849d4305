#include "fakendc.h"
#include "ftppeer.h"
#include "support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");
const QByteArray kZone = "@ IN SOA ns1.example.com. admin.example.com. ( 1 2 3 4 5 )\r\n";

} // namespace

class TstOperationsCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void ndcRunsTheControlProgram_data();
    void ndcRunsTheControlProgram();
    void ndcPrintsTheDump();
    void ndcUsageErrors_data();
    void ndcUsageErrors();
    void backupAndRestore();
    void optionsShowAndSet();
    void optionsSetRefusesABadEntry();
    void cacheFetchInstallsThreeSecondsLater();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("winnt/named.boot")); }
    QString dataDir() const { return path(QStringLiteral("dns")); }
    CliRun run(const QStringList& arguments) const;
    QByteArray parameterSection() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeNdc> m_ndc;
};

void TstOperationsCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("winnt/system32")));
    QDir().mkpath(dataDir());
    QVERIFY(writeBytes(bootFile(), "directory     " + dataDir().toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"
                                       "options query-log\r\n"));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), kZone));
    m_ndc = std::make_unique<FakeNdc>(path(QStringLiteral("winnt")));
}

void TstOperationsCli::cleanup()
{
    m_ndc.reset();
}

CliRun TstOperationsCli::run(const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_CLI), QStringList{QStringLiteral("--identity"), kIdentity,
                                                             QStringLiteral("--email"),
                                                             QStringLiteral("john.doe@example.com")} +
                                                     arguments);
    CliRun result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray TstOperationsCli::parameterSection() const
{
    const QByteArray file = readBytes(bootFile());
    const QByteArray heading = ";[PARAMETERS]\r\n";
    const qsizetype start = file.indexOf(heading);
    if (start < 0 || !file.endsWith("\r\n;\r\n"))
        return "no parameter section";
    return file.mid(start + heading.size(), file.size() - 3 - start - heading.size());
}

void TstOperationsCli::ndcRunsTheControlProgram_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("start") << "start" << "[START][\\\\NS1]" << QByteArray("Starting Server...\nServer Started.\n");
    QTest::newRow("stop") << "stop" << "[STOP][\\\\NS1]" << QByteArray("Stopping Server...\nServer Stopped.\n");
    QTest::newRow("reload") << "reload" << "[RELOAD][\\\\NS1]"
                            << QByteArray("Reloading Database...\nDatabase Reloaded.\n");
    QTest::newRow("restart") << "restart" << "[restart][\\\\NS1]"
                             << QByteArray("Restarting Server...\nServer Restarted.\n");
}

void TstOperationsCli::ndcRunsTheControlProgram()
{
    QFETCH(QString, word);
    QFETCH(QString, recorded);
    QFETCH(QByteArray, out);
    const CliRun result = run({QStringLiteral("ndc"), bootFile(), word});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, out);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(m_ndc->runs(), QStringList{recorded});
}

void TstOperationsCli::ndcPrintsTheDump()
{
    CliRun result = run({QStringLiteral("ndc"), bootFile(), QStringLiteral("dumpdb")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QByteArray("Processing Database...\nNow Displaying Database.\n; Dumped for \\\\NS1\n"
                                    "$ORIGIN example.com.\nwww\t3600\tIN\tA\t10.0.0.1\n"));
    result = run({QStringLiteral("ndc"), bootFile(), QStringLiteral("stats")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QByteArray("Processing Statistics...\nNow Displaying Statistics.\n"
                                    "+++ Statistics Dump +++ (\\\\NS1)\n7\tA queries\n"));
    QCOMPARE(m_ndc->runs(), (QStringList{"[DUMPDB][\\\\NS1]", "[STATS][\\\\NS1]"}));
}

void TstOperationsCli::ndcUsageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no command word") << QStringList{"ndc", "SERVER"};
    QTest::newRow("unknown word") << QStringList{"ndc", "SERVER", "START"};
    QTest::newRow("too many") << QStringList{"ndc", "SERVER", "start", "again"};
}

void TstOperationsCli::ndcUsageErrors()
{
    QFETCH(QStringList, arguments);
    arguments.replace(1, bootFile());
    const CliRun result = run(arguments);
    QCOMPARE(result.status, 2);
    QVERIFY(result.err.startsWith("usage: quorvane-cli [options] ndc SERVER start|stop|reload|restart|dumpdb|stats"));
    QVERIFY(m_ndc->runs().isEmpty());
}

void TstOperationsCli::backupAndRestore()
{
    CliRun result = run({QStringLiteral("backup"), bootFile()});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/dnsbackup/example.com.dns")), kZone);
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/dnsbackup/named.boot")), readBytes(bootFile()));

    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), "damaged\r\n"));
    result = run({QStringLiteral("restore"), bootFile()});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QByteArray("Attention!: Restore completed successfully.\n"));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), kZone);
}

void TstOperationsCli::optionsShowAndSet()
{
    CliRun result = run({QStringLiteral("options"), bootFile(), QStringLiteral("show")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QByteArray("Forward Only: no\nNo Recursion: no\nQuery Log: yes\nLimit Transfers-In: no\t\n"
                                    "Limit-Xfers-Per-NS: no\t\nXFRNets: \nBogusNS: \nForwarders: \n"));

    result = run({QStringLiteral("options"), bootFile(), QStringLiteral("set"), QStringLiteral("--forwarder"),
                  QStringLiteral("10.0.0.1"), QStringLiteral("--forwarder"), QStringLiteral("10.0.0.2"),
                  QStringLiteral("--forward-only"), QStringLiteral("--no-recursion"), QStringLiteral("--query-log"),
                  QStringLiteral("--transfers-in"), QStringLiteral("5"), QStringLiteral("--transfers-per-ns"),
                  QStringLiteral("2"), QStringLiteral("--xfrnet"), QStringLiteral("1.2.3.0&255.255.255.0"),
                  QStringLiteral("--xfrnet"), QStringLiteral("10.1.1.1"), QStringLiteral("--bogusns"),
                  QStringLiteral("192.168.1.1")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(parameterSection(), readBytes(testDataPath(QStringLiteral("operations/bootoptions-all.lines"))));

    result = run({QStringLiteral("options"), bootFile(), QStringLiteral("show")});
    QCOMPARE(result.out, QByteArray("Forward Only: yes\nNo Recursion: yes\nQuery Log: yes\nLimit Transfers-In: yes\t5\n"
                                    "Limit-Xfers-Per-NS: yes\t2\nXFRNets: 1.2.3.0&255.255.255.0\t10.1.1.1\n"
                                    "BogusNS: 192.168.1.1\nForwarders: 10.0.0.1\t10.0.0.2\n"));

    result = run({QStringLiteral("options"), bootFile(), QStringLiteral("set")});
    QCOMPARE(result.status, 0);
    QCOMPARE(parameterSection(), QByteArray());
}

void TstOperationsCli::optionsSetRefusesABadEntry()
{
    QVERIFY(run({QStringLiteral("options"), bootFile(), QStringLiteral("show")}).status == 0);
    const QByteArray before = readBytes(bootFile());
    CliRun result = run({QStringLiteral("options"), bootFile(), QStringLiteral("set"), QStringLiteral("--xfrnet"),
                         QStringLiteral("1.2.3")});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err, QByteArray("Re-Enter.: Your xfrnets option is entered incorrectly. An IP address is four "
                                    "numbers from 0 to 255 separated by dots, such as 192.168.1.10.\n"));
    result = run({QStringLiteral("options"), bootFile(), QStringLiteral("set"), QStringLiteral("--transfers-in"),
                  QStringLiteral("5/2")});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err, QByteArray("Re-Enter.: Your transfers-in option is entered incorrectly.\n"));
    QCOMPARE(readBytes(bootFile()), before);
    result = run({QStringLiteral("options"), bootFile(), QStringLiteral("set"), QStringLiteral("--mystery")});
    QCOMPARE(result.status, 2);
}

void TstOperationsCli::cacheFetchInstallsThreeSecondsLater()
{
    const QByteArray hints = readBytes(testDataPath(QStringLiteral("operations/named.root")));
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), hints}}, &error), qPrintable(error));
    QElapsedTimer clock;
    clock.start();
    const CliRun result = run({QStringLiteral("cache"), QStringLiteral("fetch"), bootFile(), QStringLiteral("--ftp"),
                               QStringLiteral("127.0.0.1:") + QString::number(peer.port())});
    QVERIFY(clock.elapsed() >= 3000);
    QCOMPARE(result.status, 0);
    const QList<QByteArray> lines = result.out.split('\n');
    QCOMPARE(lines.value(0), QByteArray("Loading Winsock"));
    QVERIFY(lines.contains("CLIENT: PASS john.doe@example.com"));
    QVERIFY(lines.contains("TRANSFER: " + QByteArray::number(hints.size()) + " Bytes"));
    QVERIFY(lines.contains("TRANSFER END."));
    QVERIFY(lines.contains("Processing InterNIC Download..."));
    QCOMPARE(lines.value(lines.size() - 2),
             "Latest InterNIC Download: " + (dataDir() + QStringLiteral("/cache.dns")).toLatin1());
    QCOMPARE(readBytes(path(QStringLiteral("share/Mervale/Quorvane/cache.tmp"))), hints);
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")),
             readBytes(testDataPath(QStringLiteral("operations/cache.dns.expected"))));

    // Nobody answers: the box, and the previous download installed all the same.
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), "stale\r\n"));
    const CliRun failed = run({QStringLiteral("cache"), QStringLiteral("fetch"), bootFile(), QStringLiteral("--ftp"),
                               QStringLiteral("127.0.0.1:") + QString::number(freeLoopbackPort())});
    QCOMPARE(failed.status, 1);
    QCOMPARE(failed.err, QByteArray("Attention!: Error loading Winsock or connecting to InterNIC. Please check your "
                                    "configuration.\n"));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")),
             readBytes(testDataPath(QStringLiteral("operations/cache.dns.expected"))));
}

QTEST_GUILESS_MAIN(TstOperationsCli)
#include "tst_operationscli.moc"
