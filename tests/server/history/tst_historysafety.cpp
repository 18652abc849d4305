// The history as bad luck and other users meet it, through the real quorvane-cli: file modes kept from other
// users, links planted in the data directory, changes a process made and never recorded, lock files left behind,
// a disk that fills while a revision is written, and processes killed at random moments.
#include "server/history/serverhistory.h"
#include "session/serverlock.h"
#include "support/clirun.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");

struct GitRun
{
    int status = -1;
    QString out;
    QString err;
};

// Git itself, optionally as another user.
GitRun git(const QString& gitDir, const QStringList& arguments, const QString& user = QString())
{
    QProcess process;
    QStringList command{QStringLiteral("git"), QStringLiteral("--git-dir=") + gitDir};
    command += arguments;
    if (!user.isEmpty())
        command = QStringList{QStringLiteral("-u"), user, QStringLiteral("--")} + command;
    process.start(user.isEmpty() ? command.takeFirst() : QStringLiteral("runuser"), command);
    GitRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Leftovers of libgit2's writers: an object or pack file half written.
QStringList temporaries(const QString& gitDir)
{
    QStringList found;
    QDirIterator it(gitDir + QStringLiteral("/objects"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().contains(QLatin1String("_git2_")))
            found << it.fileName();
    }
    return found;
}

void makeOld(const QString& path)
{
    struct utimbuf old = {::time(nullptr) - 60, ::time(nullptr) - 60};
    ::utime(QFile::encodeName(path).constData(), &old);
}

} // namespace

class TstHistorySafety : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void privateZoneKeepsItsHistoryPrivate();
    void linkLeavingTheFoldersIsNotRecorded();
    void unrecordedChangeIsNotTakenAwayByTheNextUndo();
    void leftBehindLocksAreTakenOverAndNamed_data();
    void leftBehindLocksAreTakenOverAndNamed();
    void largeHistoryIsPackedInTheBackground();
    void fullDiskNeverPassesForSaved();
    void killedCommandsLeaveNoPermanentDamage();

private:
    QString path(const QString& relative) const { return QDir(m_root).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("winnt/named.boot")); }
    QString dataDir() const { return path(QStringLiteral("dns")); }
    QString zoneFile() const { return dataDir() + QStringLiteral("/example.com.dns"); }
    QString gitDir() const { return ServerHistory::gitDirectory(dataDir()); }
    void makeServer(const QString& root);
    QStringList cliArguments(const QStringList& arguments, const QString& answers) const;
    CliRun cli(const QStringList& arguments, const QString& answers = QStringLiteral("ok")) const
    {
        return runCli(cliArguments(arguments, answers), m_home);
    }
    CliRun addHost(const QString& name, const QString& address) const
    {
        return cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
                    QStringLiteral("host"), name, address});
    }
    // What the newest revision holds of the zone file, as Git reads it.
    QByteArray headZone() const;
    QStringList descriptions() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
    QString m_home;
};

void TstHistorySafety::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_home = m_dir->path();
    makeServer(m_dir->path());
}

void TstHistorySafety::makeServer(const QString& root)
{
    m_root = root;
    QVERIFY(QDir().mkpath(path(QStringLiteral("winnt/system32"))));
    QVERIFY(QDir().mkpath(dataDir()));
    QVERIFY(writeBytes(bootFile(), "directory     " + dataDir().toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"));
    QVERIFY(writeBytes(zoneFile(), readBytes(testDataPath(QStringLiteral("editors/example.com.dns")))));
}

QStringList TstHistorySafety::cliArguments(const QStringList& arguments, const QString& answers) const
{
    return QStringList{QStringLiteral("--identity"), kIdentity, QStringLiteral("--answers"), answers} + arguments;
}

QByteArray TstHistorySafety::headZone() const
{
    const GitRun tree = git(gitDir(), {QStringLiteral("ls-tree"), QStringLiteral("-r"), QStringLiteral("HEAD")});
    for (const QString& line : tree.out.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1String("/example.com.dns")))
            return git(gitDir(), {QStringLiteral("cat-file"), QStringLiteral("blob"),
                                  line.section(QLatin1Char(' '), 2, 2).section(QLatin1Char('\t'), 0, 0)})
                .out.toLatin1();
    }
    return QByteArray();
}

QStringList TstHistorySafety::descriptions() const
{
    return git(gitDir(), {QStringLiteral("log"), QStringLiteral("--format=%s")})
        .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TstHistorySafety::privateZoneKeepsItsHistoryPrivate()
{
    if (::geteuid() != 0 || !::getpwnam("nobody"))
        QSKIP("another user's view needs root and the user nobody");
    // Every folder on the way is open to the other user: only the history's own modes may keep it out.
    for (QString folder = dataDir(); folder != QLatin1String("/"); folder = QFileInfo(folder).path())
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    QVERIFY(QFile::setPermissions(zoneFile(), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(bootFile(), QFile::ReadOwner | QFile::WriteOwner));
    const CliRun added = addHost(QStringLiteral("www2"), QStringLiteral("10.0.0.9"));
    QVERIFY2(added.status == 0, added.err.constData());
    QCOMPARE(QFileInfo(gitDir()).permissions() & (QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup), 0);

    // The owner reads it with Git; another user neither through Git nor through the files.
    const QString blob =
        QStringLiteral("HEAD:") + git(gitDir(), {QStringLiteral("ls-tree"), QStringLiteral("-r"),
                                                 QStringLiteral("--name-only"), QStringLiteral("HEAD")})
                                      .out.split(QLatin1Char('\n'))
                                      .filter(QStringLiteral("example.com.dns"))
                                      .value(0);
    QVERIFY(git(gitDir(), {QStringLiteral("cat-file"), QStringLiteral("-p"), blob}).out.contains("www2.example.com."));
    const GitRun other =
        git(gitDir(), {QStringLiteral("cat-file"), QStringLiteral("-p"), blob}, QStringLiteral("nobody"));
    QVERIFY2(other.status != 0 && !other.out.contains(QStringLiteral("example.com")), qPrintable(other.out));
    QDirIterator it(gitDir(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString object = it.next();
        QVERIFY2(!(QFileInfo(object).permissions() & (QFile::ReadOther | QFile::ReadGroup)), qPrintable(object));
    }
    // A later change keeps it so.
    QVERIFY(addHost(QStringLiteral("www3"), QStringLiteral("10.0.0.10")).status == 0);
    QCOMPARE(QFileInfo(gitDir()).permissions() & (QFile::ReadOther | QFile::ExeOther), 0);
}

void TstHistorySafety::linkLeavingTheFoldersIsNotRecorded()
{
    // A file of the server replaced by a link to a private file elsewhere, before the history was made.
    const QString secret = path(QStringLiteral("elsewhere/secret.key"));
    QVERIFY(QDir().mkpath(QFileInfo(secret).path()));
    QVERIFY(writeBytes(secret, "SECRET-KEY-MATERIAL\n"));
    QVERIFY(QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner));
    QFile::remove(dataDir() + QStringLiteral("/cache.dns"));
    QVERIFY(QFile::link(secret, dataDir() + QStringLiteral("/cache.dns")));
    const CliRun added = addHost(QStringLiteral("www2"), QStringLiteral("10.0.0.9"));
    QVERIFY2(added.status == 0, added.err.constData());
    const GitRun all = git(gitDir(), {QStringLiteral("log"), QStringLiteral("-p"), QStringLiteral("--all")});
    QCOMPARE(all.status, 0);
    QVERIFY(all.out.contains(QStringLiteral("www2.example.com.")));
    QVERIFY2(!all.out.contains(QStringLiteral("SECRET-KEY-MATERIAL")), qPrintable(all.out));
}

void TstHistorySafety::unrecordedChangeIsNotTakenAwayByTheNextUndo()
{
    QVERIFY(addHost(QStringLiteral("www2"), QStringLiteral("10.0.0.9")).status == 0);
    // A change made as a process would have made it before it was ended: on the disk, with no revision.
    const QByteArray unrecorded = readBytes(zoneFile()) + "lost.example.com.     IN     A     10.0.0.66 \r\n";
    QVERIFY(writeBytes(zoneFile(), unrecorded));
    QVERIFY(addHost(QStringLiteral("www3"), QStringLiteral("10.0.0.10")).status == 0);
    const QStringList recorded = descriptions();
    QCOMPARE(recorded.value(0), QStringLiteral("Add host www3.example.com 10.0.0.10"));
    QCOMPARE(recorded.value(1), QStringLiteral("Changes the history did not record: example.com.dns"));

    // Undoing the newest change keeps the unrecorded one.
    const CliRun undone = cli({QStringLiteral("undo"), bootFile()}, QStringLiteral("yes"));
    QVERIFY2(undone.status == 0, undone.err.constData());
    QVERIFY(readBytes(zoneFile()).contains("lost.example.com."));
    QVERIFY(!readBytes(zoneFile()).contains("www3.example.com."));
    // The next undo would take it away: it asks first, naming the file.
    const CliRun asked = cli({QStringLiteral("undo"), bootFile()}, QStringLiteral("no"));
    QCOMPARE(asked.status, 1);
    QVERIFY2(asked.err.contains("example.com.dns, which the history recorded only after it was changed"),
             asked.err.constData());
    QVERIFY(readBytes(zoneFile()).contains("lost.example.com."));

    // A file an undo does not touch, changed without a revision, is named as well.
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), "; changed and never recorded\r\n"));
    const CliRun other = cli({QStringLiteral("undo"), bootFile()}, QStringLiteral("no"));
    QCOMPARE(other.status, 1);
    QVERIFY2(other.err.contains("cache.dns, which the history did not record"), other.err.constData());
}

void TstHistorySafety::leftBehindLocksAreTakenOverAndNamed_data()
{
    QTest::addColumn<QString>("lockFile"); // relative to the test folder; empty: the history's branch lock
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("told");
    QTest::newRow("empty server lock") << "winnt/named.boot.lock" << QByteArray() << "was empty";
    QTest::newRow("server lock cut short") << "winnt/named.boot.lock" << QByteArray("123") << "could not be read";
    QTest::newRow("history branch lock") << QString() << QByteArray("") << "lock files that a Quorvane";
}

void TstHistorySafety::leftBehindLocksAreTakenOverAndNamed()
{
    QFETCH(QString, lockFile);
    QFETCH(QByteArray, content);
    QFETCH(QString, told);
    QVERIFY(addHost(QStringLiteral("www2"), QStringLiteral("10.0.0.9")).status == 0);
    // The branch the history's HEAD names, as the library chose it.
    const QString branch =
        QString::fromLatin1(readBytes(gitDir() + QStringLiteral("/HEAD")).trimmed()).section(QLatin1Char(' '), 1);
    const QString lock =
        lockFile.isEmpty() ? gitDir() + QLatin1Char('/') + branch + QStringLiteral(".lock") : path(lockFile);
    QVERIFY(writeBytes(lock, content));
    makeOld(lock);
    const CliRun added = addHost(QStringLiteral("www3"), QStringLiteral("10.0.0.10"));
    QVERIFY2(added.status == 0, added.err.constData());
    QVERIFY2(added.out.startsWith("saved "), added.out.constData());
    QVERIFY2(added.err.contains(told.toLatin1()) && added.err.contains(lock.toLatin1()), added.err.constData());
    QCOMPARE(descriptions().value(0), QStringLiteral("Add host www3.example.com 10.0.0.10"));
    QVERIFY(!QFileInfo::exists(lock));

    // One just made is another process at work: waited for, then named with its file when it stays.
    QVERIFY(writeBytes(path(QStringLiteral("winnt/named.boot.lock")), QByteArray()));
    QElapsedTimer timer;
    timer.start();
    const CliRun young = addHost(QStringLiteral("www4"), QStringLiteral("10.0.0.11"));
    QVERIFY2(young.status == 0, young.err.constData());
    QVERIFY(timer.elapsed() >= 2000);
}

void TstHistorySafety::largeHistoryIsPackedInTheBackground()
{
    QVERIFY(addHost(QStringLiteral("www2"), QStringLiteral("10.0.0.9")).status == 0);
    // Loose objects past the threshold, as Git counts them: from one of the 256 folders.
    const QString sample = gitDir() + QStringLiteral("/objects/17");
    QVERIFY(QDir().mkpath(sample));
    const qint64 needed = ServerHistory::kPackObjects / 256 + 2;
    qint64 made = 0;
    for (quint64 i = 0; made < needed; ++i) {
        // Contents whose object falls into that folder.
        const QByteArray content = "filler " + QByteArray::number(i) + '\n';
        const QByteArray object = "blob " + QByteArray::number(content.size()) + '\0' + content;
        if (!QCryptographicHash::hash(object, QCryptographicHash::Sha1).toHex().startsWith("17"))
            continue;
        QProcess hash;
        hash.start(QStringLiteral("git"), {QStringLiteral("--git-dir=") + gitDir(), QStringLiteral("hash-object"),
                                           QStringLiteral("-w"), QStringLiteral("--stdin")});
        hash.write(content);
        hash.closeWriteChannel();
        QVERIFY(hash.waitForFinished());
        ++made;
    }
    QVERIFY(QDir(sample).entryList(QDir::Files).size() >= needed);
    QVERIFY(addHost(QStringLiteral("www3"), QStringLiteral("10.0.0.10")).status == 0);
    // Packed by a process of its own: the loose objects go, and Git finds every object in the pack.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(gitDir() + QStringLiteral("/objects/pack")).entryList({QStringLiteral("*.pack")}, QDir::Files).isEmpty(),
        20000);
    QTRY_COMPARE_WITH_TIMEOUT(
        git(gitDir(), {QStringLiteral("count-objects"), QStringLiteral("-v")}).out.split(QLatin1Char('\n')).value(0),
        QStringLiteral("count: 0"), 20000);
    const GitRun check = git(gitDir(), {QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
    QVERIFY(headZone().contains("www3.example.com."));
}

void TstHistorySafety::fullDiskNeverPassesForSaved()
{
    SmallTmpfs disk(8 * 1024 * 1024);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    makeServer(disk.path());
    QVERIFY(addHost(QStringLiteral("first"), QStringLiteral("10.0.1.1")).status == 0);
    int saved = 0;
    int refused = 0;
    for (int pages = 0; pages <= 100; ++pages) {
        QVERIFY2(disk.leaveFree(pages),
                 qPrintable(QStringLiteral("%1 pages asked, %2 free").arg(pages).arg(disk.freePages())));
        const QString name = QStringLiteral("p%1").arg(pages);
        const CliRun run = addHost(name, QStringLiteral("10.0.2.%1").arg(pages + 1));
        disk.release();
        const bool inHistory = headZone().contains(QByteArray(name.toLatin1() + ".example.com."));
        if (run.status == 0) {
            ++saved;
            QVERIFY2(run.out.startsWith("saved "), run.out.constData());
            QVERIFY2(inHistory, qPrintable(QStringLiteral("saved with %1 free pages, but no revision").arg(pages)));
        } else {
            ++refused;
            QCOMPARE(run.status, 1);
            QVERIFY2(!run.out.contains("saved"), run.out.constData());
            QVERIFY2(!run.err.isEmpty(), "a failure without a message");
            // A change that reached the disk without its revision says so.
            if (readBytes(zoneFile()).contains(QByteArray(name.toLatin1() + ".example.com.")) && !inHistory)
                QVERIFY2(run.err.contains("could not record it"), run.err.constData());
        }
    }
    QVERIFY(saved > 0);
    QVERIFY(refused > 0);
    const GitRun check = git(gitDir(), {QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
}

void TstHistorySafety::killedCommandsLeaveNoPermanentDamage()
{
    // The test run keeps to a few dozen rounds; QUORVANE_KILL_ROUNDS=500 runs the long version.
    const int rounds =
        qEnvironmentVariableIsSet("QUORVANE_KILL_ROUNDS") ? qEnvironmentVariableIntValue("QUORVANE_KILL_ROUNDS") : 24;
    QVERIFY(addHost(QStringLiteral("first"), QStringLiteral("10.0.1.1")).status == 0);
    QRandomGenerator random(20261208);
    for (int round = 0; round < rounds; ++round) {
        QProcess process;
        startCli(process,
                 cliArguments({QStringLiteral("record"), QStringLiteral("add"), bootFile(),
                               QStringLiteral("example.com"), QStringLiteral("host"), QStringLiteral("k%1").arg(round),
                               QStringLiteral("10.1.%1.%2").arg(round / 200).arg(round % 200 + 1)},
                              QStringLiteral("ok")),
                 m_home);
        QVERIFY(process.waitForStarted());
        QTest::qWait(int(random.bounded(160)));
        // A number of 0 would stand for this test's own process group.
        if (const qint64 pid = process.processId(); pid > 0 && process.state() == QProcess::Running)
            ::kill(pid_t(pid), SIGKILL);
        QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished());
    }
    // Whatever was written and not recorded is named by the next undo before anything is undone.
    if (readBytes(zoneFile()) != headZone()) {
        const CliRun asked = cli({QStringLiteral("undo"), bootFile()}, QStringLiteral("no"));
        QVERIFY2(asked.status != 0 && asked.err.contains("example.com.dns"), asked.err.constData());
    }
    // Leftovers of the last kill are stale once they are a few seconds old.
    QTest::qWait(4000);
    const CliRun after = addHost(QStringLiteral("after"), QStringLiteral("10.2.0.1"));
    QVERIFY2(after.status == 0, after.err.constData());
    QCOMPARE(headZone(), readBytes(zoneFile()));
    QCOMPARE(temporaries(gitDir()), QStringList());
    const GitRun check = git(gitDir(), {QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY2(check.status == 0, qPrintable(check.out + check.err));
    QVERIFY(!QFileInfo::exists(ServerLock::lockFilePath(path(QStringLiteral("winnt")))));
    // Nor any of the lock's own leftovers: a lock being written, or the guard of its removal.
    QCOMPARE(
        QDir(path(QStringLiteral("winnt"))).entryList({QStringLiteral("named.boot.lock*")}, QDir::Files | QDir::Hidden),
        QStringList());
}

QTEST_GUILESS_MAIN(TstHistorySafety)
#include "tst_historysafety.moc"
