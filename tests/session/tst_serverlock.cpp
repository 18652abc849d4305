// Two Quorvanes on one server: real quorvane-cli processes racing each other, a lock held by this process as a
// window would hold it, a lock left behind by a process killed outright, and a zone file changed by one program
// while another had it open.
#include "editors/hosteditors.h"
#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "server/bootload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/serverlock.h"
#include "support/clirun.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"
#include "zonebrowser/browseractions.h"

#include <QDir>
#include <QProcess>
#include <QSysInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");
constexpr int kRounds = 50;

} // namespace

class TstServerLock : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void busyServerIsNamedAndLeftAlone();
    void lockOfAKilledProcessIsTakenOver();
    void concurrentRecordAdditionsAllArrive();
    void concurrentFastAddsAllArrive();
    void zoneChangedMeanwhileIsReadAgain();
    void holdsAreSharedWithinTheProcess();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("win/named.boot")); }
    QString dataDir() const { return path(QStringLiteral("dns")); }
    QString zoneFile() const { return path(QStringLiteral("dns/example.com.dns")); }
    // Every host name is given without its zone, which the editor's question completes ("ok").
    QStringList globals() const
    {
        return {QStringLiteral("--identity"), kIdentity, QStringLiteral("--answers"), QStringLiteral("ok")};
    }
    CliRun cli(const QStringList& arguments) const { return runCli(globals() + arguments, m_dir->path()); }
    // Two processes at a time, each working through its own list of commands one after the other.
    QList<CliRun> race(const QList<QStringList>& first, const QList<QStringList>& second);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstServerLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("win")));
    QDir().mkpath(dataDir());
    QVERIFY(writeBytes(bootFile(), "directory     " + dataDir().toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"));
    QVERIFY(writeBytes(zoneFile(), readBytes(testDataPath(QStringLiteral("editors/example.com.dns")))));
    // The program's layout once, so that what follows compares like with like.
    QCOMPARE(cli({QStringLiteral("boot"), QStringLiteral("read"), bootFile()}).status, 0);
}

QList<CliRun> TstServerLock::race(const QList<QStringList>& first, const QList<QStringList>& second)
{
    QList<CliRun> runs;
    const QList<QStringList> lanes[] = {first, second};
    QProcess processes[2];
    int next[2] = {0, 0};
    const auto startNext = [&](int lane) {
        if (next[lane] < lanes[lane].size())
            startCli(processes[lane], globals() + lanes[lane].at(next[lane]++), m_dir->path());
    };
    startNext(0);
    startNext(1);
    while (processes[0].state() != QProcess::NotRunning || processes[1].state() != QProcess::NotRunning) {
        for (int lane = 0; lane < 2; ++lane) {
            if (processes[lane].state() == QProcess::NotRunning || !processes[lane].waitForFinished(20))
                continue;
            runs << finishedRun(processes[lane]);
            startNext(lane);
        }
    }
    return runs;
}

void TstServerLock::busyServerIsNamedAndLeftAlone()
{
    const QByteArray zoneBefore = readBytes(zoneFile());
    {
        // This process holds the server as a window does while it changes it.
        const ServerLock held(path(QStringLiteral("win")), QStringLiteral("NS1"));
        QVERIFY(held.isHeld());
        const CliRun refused =
            cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
                 QStringLiteral("host"), QStringLiteral("busy"), QStringLiteral("10.0.9.9")});
        QCOMPARE(refused.status, 1);
        QCOMPARE(QString::fromLocal8Bit(refused.err),
                 QStringLiteral("Attention!: The server NS1 is being changed by another Quorvane (pid %1 on %2). Try "
                                "again when it has finished.\n")
                     .arg(QCoreApplication::applicationPid())
                     .arg(QSysInfo::machineHostName()));
        QCOMPARE(readBytes(zoneFile()), zoneBefore);
    }
    // Once it is let go the same command goes through.
    const CliRun added =
        cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
             QStringLiteral("host"), QStringLiteral("busy"), QStringLiteral("10.0.9.9")});
    QVERIFY2(added.status == 0, added.err.constData());
    QVERIFY(readBytes(zoneFile()).contains("busy.example.com."));
    QVERIFY(!QFileInfo::exists(ServerLock::lockFilePath(path(QStringLiteral("win")))));
}

void TstServerLock::lockOfAKilledProcessIsTakenOver()
{
    // A root hints download from a server that accepts and never answers keeps the command, and its lock, busy.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    QProcess holder;
    startCli(holder,
             globals() + QStringList{QStringLiteral("cache"), QStringLiteral("fetch"), bootFile(),
                                     QStringLiteral("--ftp"), QStringLiteral("127.0.0.1:%1").arg(silent.serverPort())},
             m_dir->path());
    const QString lockFile = ServerLock::lockFilePath(path(QStringLiteral("win")));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(lockFile) && silent.hasPendingConnections(), 20000);
    holder.kill();
    QVERIFY(holder.waitForFinished());
    QVERIFY(QFileInfo::exists(lockFile));

    const CliRun added =
        cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
             QStringLiteral("host"), QStringLiteral("after"), QStringLiteral("10.0.9.8")});
    QVERIFY2(added.status == 0, added.err.constData());
    QVERIFY(readBytes(zoneFile()).contains("after.example.com."));
    QVERIFY(!QFileInfo::exists(lockFile));
}

void TstServerLock::concurrentRecordAdditionsAllArrive()
{
    QList<QStringList> first;
    QList<QStringList> second;
    for (int round = 1; round <= kRounds; ++round) {
        for (const auto& [lane, prefix, net] :
             {std::tuple{&first, "a", "10.1.1."}, std::tuple{&second, "b", "10.1.2."}})
            *lane << QStringList{QStringLiteral("record"),
                                 QStringLiteral("add"),
                                 bootFile(),
                                 QStringLiteral("example.com"),
                                 QStringLiteral("host"),
                                 QLatin1String(prefix) + QString::number(round),
                                 QLatin1String(net) + QString::number(round)};
    }
    const QList<CliRun> runs = race(first, second);
    QCOMPARE(runs.size(), 2 * kRounds);
    const QByteArray zone = readBytes(zoneFile());
    int added = 0;
    for (int round = 1; round <= kRounds; ++round) {
        for (const char* prefix : {"a", "b"}) {
            if (zone.contains(QByteArray(prefix + QByteArray::number(round) + ".example.com.")))
                ++added;
        }
    }
    // Each command either added its record or was told that the server was busy; none was lost in silence.
    int busy = 0;
    for (const CliRun& run : runs) {
        if (run.status == 0)
            continue;
        QVERIFY2(run.status == 1 && run.err.contains("is being changed by another Quorvane"), run.err.constData());
        ++busy;
    }
    qInfo("%d of %d records added, %d commands told the server was busy", added, 2 * kRounds, busy);
    QCOMPARE(added + busy, 2 * kRounds);
    QVERIFY2(added >= kRounds, "most of the commands should have waited their turn rather than give up");
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), zoneFile());
    QVERIFY(check.ran);
    QCOMPARE(check.complaints, QStringList());
}

void TstServerLock::concurrentFastAddsAllArrive()
{
    QList<QStringList> first;
    QList<QStringList> second;
    for (int round = 1; round <= kRounds; ++round) {
        first << QStringList{QStringLiteral("zone"), QStringLiteral("fastadd"), bootFile(),
                             QStringLiteral("first%1.com").arg(round)};
        second << QStringList{QStringLiteral("zone"), QStringLiteral("fastadd"), bootFile(),
                              QStringLiteral("second%1.com").arg(round)};
    }
    const QList<CliRun> runs = race(first, second);
    const QByteArray boot = readBytes(bootFile());
    int busy = 0;
    for (const CliRun& run : runs) {
        if (run.status != 0) {
            QVERIFY2(run.err.contains("is being changed by another Quorvane"), run.err.constData());
            ++busy;
        }
    }
    int listed = 0;
    for (int round = 1; round <= kRounds; ++round) {
        for (const QString& zone :
             {QStringLiteral("first%1.com").arg(round), QStringLiteral("second%1.com").arg(round)}) {
            const bool inBoot =
                boot.contains(QByteArray("primary     " + zone.toLatin1() + "     " + zone.toLatin1() + ".DNS"));
            const bool hasFile = QFileInfo::exists(QDir(dataDir()).filePath(zone + QStringLiteral(".DNS")));
            // A zone file without its boot entry would be an orphan nobody sees.
            QCOMPARE(hasFile, inBoot);
            listed += inBoot ? 1 : 0;
        }
    }
    qInfo("%d of %d zones added, %d commands told the server was busy", listed, 2 * kRounds, busy);
    QCOMPARE(listed + busy, 2 * kRounds);
    QVERIFY(listed >= kRounds);
}

void TstServerLock::zoneChangedMeanwhileIsReadAgain()
{
    // This process has the server loaded and the zone open, as a window with an editor does.
    SettingsStore store(path(QStringLiteral("settings.ini")));
    AppState state;
    ScriptedPrompter prompter;
    NullProgress progress;
    state.pendingBootFilePath = bootFile();
    state.pendingServerId = kIdentity;
    state.servername = QStringLiteral("NS1");
    state.setup.runningSerial = QStringLiteral("2030010101");
    state.emailaddr = QStringLiteral("admin@example.com");
    BootContext boot{state, store, prompter};
    QVERIFY(readBootFile(boot, false).ok());
    ZoneContext context{state, prompter, progress, serverBootFileSaver(), {}};
    QVERIFY(openZoneForEdit(context, QStringLiteral("example.com")));

    // Meanwhile the command line adds a record to the same zone.
    const CliRun other =
        cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
             QStringLiteral("host"), QStringLiteral("other"), QStringLiteral("10.0.7.1")});
    QVERIFY2(other.status == 0, other.err.constData());

    state.zone.hostaddrs.setEditIndex(-1);
    HostFields fields{QStringLiteral("mine"), QStringLiteral("10.0.7.2")};
    prompter.answer(Prompter::Button::Ok);
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("The zone file %1 was changed by another program since it was read. It has "
                                          "been read again; please make your change again.")
                               .arg(zoneFile()));
    QCOMPARE(saveHost(context, fields).status, EditStatus::SaveFailed);
    QVERIFY(readBytes(zoneFile()).contains("other.example.com."));
    QVERIFY(!readBytes(zoneFile()).contains("mine.example.com."));
    QVERIFY(state.zone.hostaddrs.lines().join(QLatin1Char('\n')).contains(QStringLiteral("other.example.com.")));

    // Made again, the change goes onto what the file now holds.
    state.zone.hostaddrs.setEditIndex(-1);
    fields = HostFields{QStringLiteral("mine"), QStringLiteral("10.0.7.2")};
    prompter.answer(Prompter::Button::Ok);
    QVERIFY(saveHost(context, fields).stored());
    const QByteArray zone = readBytes(zoneFile());
    QVERIFY(zone.contains("other.example.com.") && zone.contains("mine.example.com."));
    QCOMPARE(prompter.problems(), QStringList());
}

void TstServerLock::holdsAreSharedWithinTheProcess()
{
    const QString folder = path(QStringLiteral("win"));
    const QString lockFile = ServerLock::lockFilePath(folder);
    {
        const ServerLock outer(folder, QStringLiteral("NS1"));
        QVERIFY(outer.isHeld());
        {
            // An operation inside another one, reaching the same folder by another spelling.
            const ServerLock inner(folder + QStringLiteral("/../win/"), QStringLiteral("NS1"), 0);
            QVERIFY(inner.isHeld());
        }
        QVERIFY(QFileInfo::exists(lockFile));
        // Another process still finds it held.
        const CliRun refused = cli({QStringLiteral("boot"), QStringLiteral("read"), bootFile()});
        QCOMPARE(refused.status, 1);
    }
    QVERIFY(!QFileInfo::exists(lockFile));
}

QTEST_GUILESS_MAIN(TstServerLock)
#include "tst_serverlock.moc"
