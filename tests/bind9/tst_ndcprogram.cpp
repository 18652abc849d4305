#include "servedserver.h"
#include "support/loopback.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

struct NdcRun
{
    int status = -1;
    QString out;
    QString err;
};

} // namespace

// quorvane-ndc run as the operations page runs it: its command lines, the environment naming the server, its
// one line of failure; the system mode against a name server the test runs as a distribution would.
class TstNdcProgram : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void helpDocumentsCommandsAndSettings();
    void usageErrors_data();
    void usageErrors();
    void failuresSayWhyInOneLine_data();
    void failuresSayWhyInOneLine();
    void restartInTheWordsOfThePage();
    void portHeldByAnotherNameServer();
    void systemModeRefusesStartAndStop_data();
    void systemModeRefusesStartAndStop();
    void systemModeReloadsTheSystemsServer();
    void twoSystemModeServersKeepTheirZonesApart();

private:
    NdcRun ndc(const QStringList& arguments, const QString& bootFile) const;
    void makeZone();
    // A configuration as a distribution's: its own key and control channel, and the given files included.
    QString writeSystemConfig(const QString& system, const QStringList& includes);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_server;
};

void TstNdcProgram::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
}

void TstNdcProgram::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_server->create(), qPrintable(m_server->lastError()));
}

void TstNdcProgram::cleanup()
{
    m_server.reset();
    m_dir.reset();
}

NdcRun TstNdcProgram::ndc(const QStringList& arguments, const QString& bootFile) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_server->configHome());
    env.remove(QStringLiteral("QUORVANE_BOOT_FILE"));
    if (!bootFile.isEmpty())
        env.insert(QStringLiteral("QUORVANE_BOOT_FILE"), bootFile);
    env.insert(QStringLiteral("QUORVANE_SERVER"), QStringLiteral("ns1@ns1.example.com."));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_NDC), arguments);
    NdcRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

void TstNdcProgram::makeZone()
{
    QVERIFY2(m_server->createZone(QStringLiteral("example.com"),
                                  {"--host", "www=127.0.0.10", "--host", "ns1=127.0.0.9", "--ns", "ns1"}),
             qPrintable(m_server->lastError()));
}

void TstNdcProgram::helpDocumentsCommandsAndSettings()
{
    const NdcRun help = ndc({QStringLiteral("--help")}, QString());
    QCOMPARE(help.status, 0);
    const QStringList words{"START",
                            "STOP",
                            "RELOAD",
                            "RESTART",
                            "DUMPDB",
                            "STATS",
                            "QUORVANE_BOOT_FILE",
                            "QUORVANE_SERVER",
                            "\"BIND 9\"",
                            "Mode",
                            "Address",
                            "Port",
                            "Control Port",
                            "Extra Options",
                            "Named Program",
                            "Rndc Program",
                            "Zones File",
                            "Rndc Key",
                            "System Config",
                            "Catalog Zone",
                            "named-checkconf -z",
                            "named-checkzone -k fail",
                            "Exit status"};
    for (const QString& word : words)
        QVERIFY2(help.out.contains(word), qPrintable(word + QStringLiteral(" is not in\n") + help.out));
}

void TstNdcProgram::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList{"FLUSH"};
    QTest::newRow("too many words") << QStringList{"START", "\\\\NS1", "again"};
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "START"};
}

void TstNdcProgram::usageErrors()
{
    QFETCH(QStringList, arguments);
    const NdcRun run = ndc(arguments, m_server->bootFile());
    QCOMPARE(run.status, 2);
    QCOMPARE(m_server->namedProcess(), 0);
}

void TstNdcProgram::failuresSayWhyInOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("bootFile");
    QTest::addColumn<QString>("line");
    QTest::newRow("no server named")
        << QStringList{"START"} << QString()
        << "No server is named: QUORVANE_BOOT_FILE must name the loaded server's boot file (Quorvane sets it when "
           "it runs this program).";
    QTest::newRow("boot file missing") << QStringList{"STOP", "\\\\NS1"} << "/nonexistent/named.boot"
                                       << "Fatal Error! Your boot file could not be found.";
    QTest::newRow("stop what does not run") << QStringList{"STOP", "\\\\NS1"} << "@BOOT@"
                                            << "The name server of this server is not running.";
    QTest::newRow("reload what does not run") << QStringList{"RELOAD"} << "@BOOT@"
                                              << "The name server of this server is not running.";
    QTest::newRow("dump what does not run") << QStringList{"DUMPDB", "\\\\NS1"} << "@BOOT@"
                                            << "The name server of this server is not running.";
}

void TstNdcProgram::failuresSayWhyInOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, bootFile);
    QFETCH(QString, line);
    const NdcRun run = ndc(arguments, bootFile == QLatin1String("@BOOT@") ? m_server->bootFile() : bootFile);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, line + QLatin1Char('\n'));
    QVERIFY(run.out.isEmpty());
}

void TstNdcProgram::restartInTheWordsOfThePage()
{
    makeZone();
    // The page passes "restart" in lower case; a name server that does not run is simply started.
    const NdcRun first = ndc({QStringLiteral("restart"), QStringLiteral("\\\\NS1")}, m_server->bootFile());
    QVERIFY2(first.status == 0, qPrintable(first.err));
    const qint64 before = m_server->namedProcess();
    QVERIFY(before > 0);
    const NdcRun second = ndc({QStringLiteral("restart"), QStringLiteral("\\\\NS1")}, m_server->bootFile());
    QVERIFY2(second.status == 0, qPrintable(second.err));
    const qint64 after = m_server->namedProcess();
    QVERIFY(after > 0 && after != before);
    QVERIFY(!processAlive(before));
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});
    const NdcRun again = ndc({QStringLiteral("START")}, m_server->bootFile());
    QCOMPARE(again.status, 1);
    QCOMPARE(again.err, QStringLiteral("The name server of this server already runs (process %1).\n").arg(after));
    QCOMPARE(ndc({QStringLiteral("STOP")}, m_server->bootFile()).status, 0);
    QVERIFY(!processAlive(after));
}

void TstNdcProgram::portHeldByAnotherNameServer()
{
    makeZone();
    const QString other = m_dir->filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    QVERIFY(
        writeBytes(other + QStringLiteral("/named.conf"),
                   (NamedProcess::options(other, m_server->port()) + QStringLiteral("controls { };\n")).toLatin1()));
    NamedProcess holder;
    QVERIFY2(holder.start(other + QStringLiteral("/named.conf")), qPrintable(holder.log()));
    // The other name server answers on the port: that must not pass for this one having started.
    const NdcRun run = ndc({QStringLiteral("START")}, m_server->bootFile());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("named does not answer at 127.0.0.1 port %1: ").arg(m_server->port())) &&
                 run.err.contains(QStringLiteral("address in use")),
             qPrintable(run.err));
    QCOMPARE(m_server->namedProcess(), 0);
}

void TstNdcProgram::systemModeRefusesStartAndStop_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("start") << "START";
    QTest::newRow("stop") << "STOP";
}

void TstNdcProgram::systemModeRefusesStartAndStop()
{
    QFETCH(QString, command);
    QVERIFY(m_server->setSetting(QStringLiteral("BIND 9"), QStringLiteral("Mode"), QStringLiteral("system")));
    const NdcRun run = ndc({command}, m_server->bootFile());
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QStringLiteral("The name server is the system's (BIND 9 mode \"system\"): start and stop it "
                                     "with the service manager; Quorvane only reloads it.\n"));
    QCOMPARE(m_server->namedProcess(), 0);
}

QString TstNdcProgram::writeSystemConfig(const QString& system, const QStringList& includes)
{
    if (!QDir().mkpath(system + QStringLiteral("/dump")))
        return QString();
    const QString key = system + QStringLiteral("/rndc.key");
    QProcess confgen;
    confgen.start(QStringLiteral("/usr/sbin/rndc-confgen"),
                  {QStringLiteral("-a"), QStringLiteral("-k"), QStringLiteral("rndc-key"), QStringLiteral("-c"), key});
    if (!confgen.waitForFinished(30000) || confgen.exitCode() != 0)
        return QString();
    QString text =
        NamedProcess::options(system, m_server->port(), QStringLiteral("    dump-file \"dump/named_dump.db\";\n")) +
        QStringLiteral("include \"%1\";\ncontrols { inet 127.0.0.1 port %2 allow { 127.0.0.1; } "
                       "keys { \"rndc-key\"; }; };\n")
            .arg(key)
            .arg(m_server->controlPort());
    for (const QString& included : includes) {
        if (!writeBytes(included, QByteArray()))
            return QString();
        text += QStringLiteral("include \"%1\";\n").arg(included);
    }
    const QString config = system + QStringLiteral("/named.conf");
    return writeBytes(config, text.toLatin1()) ? config : QString();
}

void TstNdcProgram::systemModeReloadsTheSystemsServer()
{
    makeZone();
    // A name server set up as a distribution sets one up: its own configuration includes the zones file and
    // takes commands with its own key.
    const QString system = m_dir->filePath(QStringLiteral("system"));
    QVERIFY(QDir().mkpath(system));
    const QString zones = system + QStringLiteral("/named.conf.quorvane");
    const QString key = system + QStringLiteral("/rndc.key");
    const QString config = writeSystemConfig(system, {zones});
    QVERIFY(!config.isEmpty());
    NamedProcess named;
    QVERIFY2(named.start(config), qPrintable(named.log()));
    const QString section = QStringLiteral("BIND 9");
    QVERIFY(m_server->setSetting(section, QStringLiteral("Mode"), QStringLiteral("system")));
    QVERIFY(m_server->setSetting(section, QStringLiteral("Zones File"), zones));
    QVERIFY(m_server->setSetting(section, QStringLiteral("Rndc Key"), key));
    QVERIFY(m_server->setSetting(section, QStringLiteral("System Config"), config));

    QVERIFY(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")).isEmpty());
    const CliRun reloaded = m_server->cli({"ndc", m_server->bootFile(), "reload"});
    QVERIFY2(reloaded.status == 0, qPrintable(reloaded.err + named.log()));
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});
    QVERIFY(readBytes(zones).contains(QStringLiteral("zone \"example.com\" { type primary; file \"%1\"; };")
                                          .arg(m_server->dataFile(QStringLiteral("example.com.DNS")))
                                          .toLatin1()));

    // The dump and statistics are written where the system's configuration says, and shown from the page's files.
    const CliRun dump = m_server->cli({"ndc", m_server->bootFile(), "dumpdb"});
    QVERIFY2(dump.status == 0, qPrintable(dump.err));
    QVERIFY2(dump.out.contains(QStringLiteral("127.0.0.10")) && dump.out.contains(QStringLiteral("; Dump complete")),
             qPrintable(dump.out));
    QVERIFY(QFile::exists(system + QStringLiteral("/dump/named_dump.db")));
    const CliRun stats = m_server->cli({"ndc", m_server->bootFile(), "stats"});
    QVERIFY2(stats.status == 0, qPrintable(stats.err));
    QVERIFY2(stats.out.contains(QStringLiteral("--- Statistics Dump ---")), qPrintable(stats.out));
    QVERIFY(QFile::exists(system + QStringLiteral("/named.stats")));

    const CliRun refused = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.out, QStringLiteral("Server already started.\n"));
}

void TstNdcProgram::twoSystemModeServersKeepTheirZonesApart()
{
    makeZone();
    const QString secondFolder = m_dir->filePath(QStringLiteral("ns2"));
    QVERIFY(QDir().mkpath(secondFolder) && openToNameServer(secondFolder));
    const CliRun added = m_server->cli({"server", "add", "ns2", "example.org", secondFolder});
    QVERIFY2(added.status == 0, qPrintable(added.err));
    const QString secondBoot = secondFolder + QStringLiteral("/named.boot");
    const CliRun created = m_server->cli({"zone", "create", secondBoot, "example.net", "--host", "www=127.0.0.20",
                                          "--host", "ns1=127.0.0.9", "--ns", "ns1"},
                                         QStringLiteral("all,all,all,all,all,all"));
    QVERIFY2(created.status == 0, qPrintable(created.err));

    // One system name server, one zones file for each server, both included.
    const QString system = m_dir->filePath(QStringLiteral("system"));
    const QString firstZones = system + QStringLiteral("/zones-ns1.conf");
    const QString secondZones = system + QStringLiteral("/zones-ns2.conf");
    const QString config = writeSystemConfig(system, {firstZones, secondZones});
    QVERIFY(!config.isEmpty());
    NamedProcess named;
    QVERIFY2(named.start(config), qPrintable(named.log()));
    const QString section = QStringLiteral("BIND 9");
    QVERIFY(m_server->setSetting(section, QStringLiteral("Mode"), QStringLiteral("system")));
    QVERIFY(m_server->setSetting(section, QStringLiteral("Rndc Key"), system + QStringLiteral("/rndc.key")));
    QVERIFY(m_server->setSetting(section, QStringLiteral("System Config"), config));
    for (const auto& [server, zones] :
         {std::pair{QStringLiteral("ns1"), firstZones}, {QStringLiteral("ns2"), secondZones}}) {
        const CliRun set = m_server->cli({"server", "settings", server, QStringLiteral("Zones File=") + zones});
        QVERIFY2(set.status == 0, qPrintable(set.err));
        QVERIFY2(set.out.contains(QStringLiteral("Zones File=%1\n").arg(zones)), qPrintable(set.out));
    }

    // Each reload writes only its own server's zones; after both, both servers' zones answer.
    for (const QString& boot : {m_server->bootFile(), secondBoot}) {
        const CliRun reloaded = m_server->cli({"ndc", boot, "reload"});
        QVERIFY2(reloaded.status == 0, qPrintable(reloaded.err + named.log()));
    }
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.net"), QStringLiteral("A")),
             QStringList{"127.0.0.20"});
    QVERIFY(!readBytes(firstZones).contains("example.net"));
    QVERIFY(!readBytes(secondZones).contains("example.com"));
    QProcess checkconf;
    checkconf.start(QStringLiteral("named-checkconf"), {QStringLiteral("-z"), config});
    QVERIFY(checkconf.waitForFinished(60000));
    QVERIFY2(checkconf.exitCode() == 0, checkconf.readAllStandardOutput().constData());

    // The second server pointed at the first one's file: refused by name, and the first server's zones stay.
    const QByteArray firstBefore = readBytes(firstZones);
    const CliRun shared = m_server->cli({"server", "settings", "ns2", QStringLiteral("Zones File=") + firstZones});
    QVERIFY2(shared.status == 0, qPrintable(shared.err));
    const CliRun refused = m_server->cli({"ndc", secondBoot, "reload"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains(QStringLiteral("holds the zones of the server of %1").arg(m_server->bootFile())),
             qPrintable(refused.err));
    QCOMPARE(readBytes(firstZones), firstBefore);
    QCOMPARE(digShort(m_server->port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
             QStringList{"127.0.0.10"});
}

QTEST_GUILESS_MAIN(TstNdcProgram)
#include "tst_ndcprogram.moc"
