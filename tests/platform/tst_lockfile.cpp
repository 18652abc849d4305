// The server lock as other processes leave it: whole from its first byte, judged by what it holds, taken over
// when its holder is gone (or was never written), never when it lives or lives on another host.
#include "platform/lockfile.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

// A minute old, the entry itself rather than what a link leads to.
void makeOld(const QString& path)
{
    const struct timeval old[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
    QVERIFY(::lutimes(QFile::encodeName(path).constData(), old) == 0);
}

// The number of a process that has ended.
qint64 endedProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

// The lines of this process's lock with some replaced: 0 the number, 2 the host, 3 the machine, 4 the boot, 5 the
// start.
QByteArray lockText(const QMap<int, QByteArray>& replaced)
{
    QList<QByteArray> lines = LockFile::content().split('\n');
    for (auto it = replaced.cbegin(); it != replaced.cend(); ++it)
        lines[it.key()] = it.value();
    return lines.join('\n');
}

} // namespace

class TstLockFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void aLockHoldsItsHolderFromTheStart();
    void lockInTheWay_data();
    void lockInTheWay();
    void unreadableLockIsWaitedForWhileItIsYoung();
    void aLockTakenOverIsNotRemovedByItsFormerHolder();

private:
    QString lockPath() const { return QDir(m_dir->path()).filePath(QStringLiteral("named.boot.lock")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstLockFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TstLockFile::aLockHoldsItsHolderFromTheStart()
{
    {
        LockFile lock(lockPath());
        QVERIFY(lock.tryLock(0));
        const QList<QByteArray> lines = readBytes(lockPath()).split('\n');
        QCOMPARE(lines.value(0), QByteArray::number(QCoreApplication::applicationPid()));
        QCOMPARE(lines.value(2), QSysInfo::machineHostName().toUtf8());
        QVERIFY(lines.value(5).startsWith("start ") && lines.value(5).size() > 6);
        // Nothing but the lock is left beside it.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"named.boot.lock"});

        LockFile second(lockPath());
        QVERIFY(!second.tryLock(50));
        QCOMPARE(second.error(), LockFile::Error::Busy);
        QVERIFY(second.holder());
        QCOMPARE(second.holder()->pid, QCoreApplication::applicationPid());
        QVERIFY(second.takenOver().isEmpty());
    }
    QVERIFY(!QFileInfo::exists(lockPath()));
}

void TstLockFile::lockInTheWay_data()
{
    QTest::addColumn<QByteArray>("content"); // "FIFO" and "LINK" stand for a pipe and a link in the lock's place
    QTest::addColumn<bool>("takenOver");
    QTest::addColumn<QString>("told"); // what the user hears of it; empty: nothing
    const QByteArray ended = QByteArray::number(endedProcess());
    QTest::newRow("process ended") << lockText({{0, ended}}) << true << QString();
    QTest::newRow("number taken by another process") << lockText({{0, "1"}, {5, "start 1"}}) << true << QString();
    QTest::newRow("before the last boot") << lockText({{4, "another-boot"}}) << true << QString();
    QTest::newRow("written by an older version")
        << QByteArray(ended + "\nquorvane\n" + QSysInfo::machineHostName().toUtf8() + "\n") << true << QString();
    QTest::newRow("live process") << lockText({}) << false << QString();
    QTest::newRow("another host") << lockText({{0, ended}, {2, "elsewhere"}, {3, "another-machine"}}) << false
                                  << QString();
    QTest::newRow("empty") << QByteArray() << true << "was empty";
    QTest::newRow("cut short") << QByteArray("12") << true << "could not be read as a lock";
    QTest::newRow("no process number") << QByteArray("x\nquorvane\nhost\n") << true << "could not be read as a lock";
    QTest::newRow("pipe") << QByteArray("FIFO") << true << "could not be read as a lock";
    QTest::newRow("link") << QByteArray("LINK") << true << "could not be read as a lock";
}

void TstLockFile::lockInTheWay()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, takenOver);
    QFETCH(QString, told);
    const QString target = QDir(m_dir->path()).filePath(QStringLiteral("target"));
    if (content == "FIFO") {
        QVERIFY(::mkfifo(QFile::encodeName(lockPath()).constData(), 0644) == 0);
    } else if (content == "LINK") {
        QVERIFY(writeBytes(target, lockText({})));
        QVERIFY(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(lockPath()).constData()) == 0);
    } else {
        QVERIFY(writeBytes(lockPath(), content));
    }
    makeOld(lockPath());

    LockFile lock(lockPath());
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(lock.tryLock(300), takenOver);
    QVERIFY(timer.elapsed() < 5000);
    if (takenOver) {
        QCOMPARE(readBytes(lockPath()), LockFile::content());
        QVERIFY(QFileInfo(lockPath()).isFile() && !QFileInfo(lockPath()).isSymLink());
    } else {
        QCOMPARE(lock.error(), LockFile::Error::Busy);
        QCOMPARE(readBytes(lockPath()), content);
    }
    if (told.isEmpty()) {
        QCOMPARE(lock.takenOver(), QString());
    } else {
        QVERIFY2(lock.takenOver().contains(told) && lock.takenOver().contains(lockPath()),
                 qPrintable(lock.takenOver()));
    }
    // What a link led to is left alone.
    if (content == "LINK")
        QCOMPARE(readBytes(target), lockText({}));
}

void TstLockFile::unreadableLockIsWaitedForWhileItIsYoung()
{
    // Another process may be just making it.
    QVERIFY(writeBytes(lockPath(), QByteArray()));
    LockFile lock(lockPath());
    QVERIFY(!lock.tryLock(200));
    QCOMPARE(lock.error(), LockFile::Error::Busy);
    QVERIFY(!lock.holder());
    QCOMPARE(readBytes(lockPath()), QByteArray());
    // Once old enough, it was left behind.
    QVERIFY(lock.tryLock((LockFile::kUnreadableStaleSeconds + 2) * 1000));
    QVERIFY(lock.takenOver().contains(QStringLiteral("was empty")));
}

void TstLockFile::aLockTakenOverIsNotRemovedByItsFormerHolder()
{
    LockFile first(lockPath());
    QVERIFY(first.tryLock(0));
    // Another process judged it stale and made its own in its place.
    QVERIFY(QFile::remove(lockPath()));
    const QByteArray other = lockText({{0, "1"}});
    QVERIFY(writeBytes(lockPath(), other));
    first.unlock();
    QCOMPARE(readBytes(lockPath()), other);
}

QTEST_GUILESS_MAIN(TstLockFile)
#include "tst_lockfile.moc"
