// Root starts the name server and reads what it leaves; the name server's user can write some of those folders. As
// that user the test plants links and pipes where root reads and writes (the process file, the log, the control
// key, a secondary zone's copy): the commands must neither follow them, nor hang, nor crash, nor show what a
// link points to, and must name the planted file. The folders that user may write are only those named for it.
#include "servedserver.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kSecret = "SECRET-ONLY-ROOT-READS-THIS-0123456789";

// A command run as the name server's user.
bool asBind(const QStringList& command)
{
    QProcess process;
    process.start(QStringLiteral("runuser"),
                  QStringList{QStringLiteral("-u"), QStringLiteral("bind"), QStringLiteral("--")} + command);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

struct Mode
{
    uid_t owner = 0;
    gid_t group = 0;
    mode_t bits = 0;
};

Mode modeOf(const QString& path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return {info.st_uid, info.st_gid, mode_t(info.st_mode & 07777)};
}

// Every entry below the folder, with the checksum of each file.
QMap<QString, QByteArray> folderState(const QString& folder)
{
    QMap<QString, QByteArray> state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        state.insert(QDir(folder).relativeFilePath(path),
                     QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256));
    }
    return state;
}

} // namespace

class TstBindPlanted : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void onlyTheNamedFoldersAreTheNameServers();
    void plantedFilesAreNamedNeverFollowed_data();
    void plantedFilesAreNamedNeverFollowed();
    void plantedSecondaryCopyIsNotBackedUp();
    void filesOutsideTheDataDirectoryAreNeverServed();

private:
    QString bind9(const QString& name) const
    {
        return m_server->bootFile().section(QLatin1Char('/'), 0, -2) + QStringLiteral("/bind9/") + name;
    }
    // Starts and stops the server once, so that its folders are as a running server leaves them.
    void startAndStop();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_server;
    QString m_decoy;
};

void TstBindPlanted::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
    if (::geteuid() != 0 || !::getpwnam("bind"))
        QSKIP("the name server's own user needs root and the user bind");
}

void TstBindPlanted::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_server->create(), qPrintable(m_server->lastError()));
    QVERIFY2(m_server->createZone(QStringLiteral("example.com"),
                                  {"--host", "www=127.0.0.10", "--host", "ns1=127.0.0.9", "--ns", "ns1"}),
             qPrintable(m_server->lastError()));
    // A file only root may read, standing for /etc/shadow.
    m_decoy = m_dir->filePath(QStringLiteral("decoy"));
    QVERIFY(writeBytes(m_decoy, kSecret + '\n'));
    QVERIFY(QFile::setPermissions(m_decoy, QFile::ReadOwner | QFile::WriteOwner));
}

void TstBindPlanted::cleanup()
{
    m_server.reset();
    m_dir.reset();
}

void TstBindPlanted::startAndStop()
{
    const CliRun started = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
    const CliRun stopped = m_server->cli({"ndc", m_server->bootFile(), "stop"});
    QVERIFY2(stopped.status == 0, qPrintable(stopped.err));
}

void TstBindPlanted::onlyTheNamedFoldersAreTheNameServers()
{
    QVERIFY(m_server->cli({"secondary", "add", m_server->bootFile(), "sec.example", "127.0.0.1"}).status == 0);
    const CliRun started = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
    const gid_t group = ::getpwnam("bind")->pw_gid;
    // The data directory is root's alone to write; the run folder and the secondaries' folder are shared with the
    // name server's group, sticky, so that it cannot rename or remove what root put there.
    QVERIFY(!asBind({QStringLiteral("test"), QStringLiteral("-w"), m_server->dataDirectory()}));
    for (const QString& folder : {bind9(QString()), m_server->dataFile(QStringLiteral("secondaries"))}) {
        const Mode mode = modeOf(folder);
        QCOMPARE(mode.owner, uid_t(0));
        QCOMPARE(mode.group, group);
        QCOMPARE(mode.bits, mode_t(01770));
        QVERIFY(asBind({QStringLiteral("test"), QStringLiteral("-w"), folder}));
    }
    // Root's files there stay root's: the name server's user cannot put a link in their place.
    QVERIFY(!asBind({QStringLiteral("ln"), QStringLiteral("-sf"), m_decoy, bind9(QStringLiteral("named.log"))}));
    QVERIFY(!asBind({QStringLiteral("ln"), QStringLiteral("-sf"), m_decoy, bind9(QStringLiteral("named.conf"))}));
    const Mode key = modeOf(bind9(QStringLiteral("rndc.key")));
    QCOMPARE(key.owner, uid_t(0));
    QCOMPARE(key.bits, mode_t(0640));
    // The secondary zone's copy is reached from the data directory by its own name.
    QCOMPARE(QFileInfo(m_server->dataFile(QStringLiteral("sec.example.DNS"))).symLinkTarget(),
             QFileInfo(m_server->dataFile(QStringLiteral("secondaries/sec.example.DNS"))).absoluteFilePath());
    QCOMPARE(m_server->cli({"ndc", m_server->bootFile(), "stop"}).status, 0);
}

void TstBindPlanted::plantedFilesAreNamedNeverFollowed_data()
{
    QTest::addColumn<QString>("file");    // in bind9/
    QTest::addColumn<QString>("planted"); // "link" to the decoy, "zero" a link to /dev/zero, "fifo"
    QTest::addColumn<bool>("running");    // planted while the name server runs, as its user may
    QTest::addColumn<QStringList>("commands");
    const QStringList whileRunning{"stop", "reload", "dumpdb"};
    for (const char* planted : {"zero", "fifo", "link"}) {
        QTest::addRow("process file %s, stopped", planted) << "named.pid" << planted << false << QStringList{"start"};
        QTest::addRow("process file %s, running", planted) << "named.pid" << planted << true << whileRunning;
    }
    QTest::newRow("log to a secret") << "named.log"
                                     << "link" << false << QStringList{"start"};
    QTest::newRow("log a pipe") << "named.log"
                                << "fifo" << false << QStringList{"start"};
    QTest::newRow("control key to a secret") << "rndc.key"
                                             << "link" << false << QStringList{"start"};
    QTest::newRow("control key a pipe") << "rndc.key"
                                        << "fifo" << false << QStringList{"start"};
}

void TstBindPlanted::plantedFilesAreNamedNeverFollowed()
{
    QFETCH(QString, file);
    QFETCH(QString, planted);
    QFETCH(bool, running);
    QFETCH(QStringList, commands);
    startAndStop();
    qint64 pid = 0;
    if (running) {
        const CliRun started = m_server->cli({"ndc", m_server->bootFile(), "start"});
        QVERIFY2(started.status == 0, qPrintable(started.err));
        pid = m_server->namedProcess();
        QVERIFY(pid > 0);
    } else {
        // As an earlier version left the run folder: the name server user's own.
        const passwd* bind = ::getpwnam("bind");
        QVERIFY(::chown(QFile::encodeName(bind9(QString())).constData(), bind->pw_uid, bind->pw_gid) == 0);
        QVERIFY(::chmod(QFile::encodeName(bind9(QString())).constData(), 0755) == 0);
        QFile::remove(bind9(file));
    }
    // The name server's user replaces what it may.
    const QString target = planted == QLatin1String("zero") ? QStringLiteral("/dev/zero") : m_decoy;
    QVERIFY(asBind({QStringLiteral("rm"), QStringLiteral("-f"), bind9(file)}));
    if (planted == QLatin1String("fifo"))
        QVERIFY(asBind({QStringLiteral("mkfifo"), bind9(file)}));
    else
        QVERIFY(asBind({QStringLiteral("ln"), QStringLiteral("-s"), target, bind9(file)}));

    for (const QString& command : commands) {
        QElapsedTimer timer;
        timer.start();
        const CliRun run = m_server->cli({"ndc", m_server->bootFile(), command});
        QVERIFY2(run.status == 1, qPrintable(command + QStringLiteral(": ") + run.err));
        QVERIFY2(timer.elapsed() < 20000, qPrintable(command));
        QVERIFY2(run.err.contains(bind9(file)), qPrintable(command + QStringLiteral(": ") + run.err));
        const QString secret = QString::fromLatin1(kSecret).left(12);
        QVERIFY2(!run.err.contains(secret) && !run.out.contains(secret), qPrintable(run.err));
    }
    QCOMPARE(readBytes(m_decoy), kSecret + '\n');
    QVERIFY(QFileInfo(bind9(file)).isSymLink() || planted == QLatin1String("fifo"));
    // The planted file goes before the name server is ended by its number.
    QFile::remove(bind9(file));
    if (running) {
        QVERIFY(processAlive(pid));
        ::kill(pid_t(pid), SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!processAlive(pid), 20000);
    }
}

void TstBindPlanted::plantedSecondaryCopyIsNotBackedUp()
{
    QVERIFY(m_server->cli({"secondary", "add", m_server->bootFile(), "sec.example", "127.0.0.1"}).status == 0);
    startAndStop();
    // The secondaries' folder is the name server's to write: a link to a secret in place of a copy.
    const QString copy = m_server->dataFile(QStringLiteral("secondaries/sec.example.DNS"));
    QFile::remove(copy);
    QVERIFY(asBind({QStringLiteral("ln"), QStringLiteral("-s"), m_decoy, copy}));
    const CliRun backup = m_server->cli({"backup", m_server->bootFile()}, QStringLiteral("ok,ok"));
    // Named as soon as the server is read, and never copied.
    QVERIFY2(backup.err.contains(QStringLiteral("lie outside the data directory")), qPrintable(backup.err));
    QVERIFY2(backup.err.contains(QStringLiteral("sec.example.DNS")) &&
                 !backup.err.contains(QString::fromLatin1(kSecret)),
             qPrintable(backup.err));
    QVERIFY(!readBytes(m_server->dataFile(QStringLiteral("dnsbackup/sec.example.DNS"))).contains(kSecret));
    QCOMPARE(readBytes(m_decoy), kSecret + '\n');
}

void TstBindPlanted::filesOutsideTheDataDirectoryAreNeverServed()
{
    // A folder standing for /etc, with a zone file root may read and a folder the name server would write into.
    const QString etc = m_dir->filePath(QStringLiteral("etc"));
    QVERIFY(QDir().mkpath(etc + QStringLiteral("/cron.d")));
    QVERIFY(writeBytes(etc + QStringLiteral("/precious.conf"), readBytes(m_server->dataFile("example.com.dns"))));
    const QByteArray outside = "primary     precious.example     " + QFile::encodeName(etc) +
                               "/precious.conf \r\n"
                               "secondary     evil.example     127.0.0.1     ../../../etc/cron.d/evil \r\n";
    QByteArray boot = readBytes(m_server->bootFile());
    const qsizetype primary = boot.indexOf("\nprimary");
    QVERIFY(primary > 0);
    boot.insert(primary + 1, outside);
    QVERIFY(writeBytes(m_server->bootFile(), boot));
    const QMap<QString, QByteArray> before = folderState(etc);

    const CliRun started = m_server->cli({"ndc", m_server->bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
    QVERIFY2(started.err.contains(QStringLiteral("lie outside the data directory")) &&
                 started.err.contains(etc + QStringLiteral("/precious.conf")) &&
                 started.err.contains(QStringLiteral("../../../etc/cron.d/evil")),
             qPrintable(started.err));
    // The name server is told of neither: it serves the zone inside, and never writes the secondary's copy.
    const QByteArray conf = readBytes(bind9(QStringLiteral("named.conf")));
    QVERIFY(conf.contains("example.com"));
    QVERIFY2(!conf.contains("precious") && !conf.contains("evil") && !conf.contains("/etc"), conf.constData());
    QCOMPARE(m_server->cli({"ndc", m_server->bootFile(), "reload"}).status, 0);
    QCOMPARE(m_server->cli({"ndc", m_server->bootFile(), "stop"}).status, 0);
    QCOMPARE(folderState(etc), before);
    QVERIFY(!QFileInfo::exists(etc + QStringLiteral("/cron.d/evil")));
    // The entries stay in the boot file as they stood.
    QVERIFY(readBytes(m_server->bootFile()).contains(QByteArray(QFile::encodeName(etc) + "/precious.conf")));
    QVERIFY(readBytes(m_server->bootFile()).contains("../../../etc/cron.d/evil"));
}

QTEST_GUILESS_MAIN(TstBindPlanted)
#include "tst_bindplanted.moc"
