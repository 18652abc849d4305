#include "server/changedfilecopy.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QByteArray kContent = "@ IN SOA ns1.example.com. admin.example.com. ( 1 2 3 4 5 )\r\n";
// The same size as kContent, other bytes.
const QByteArray kOtherSameSize = "@ IN SOA ns1.example.com. admin.example.com. ( 9 2 3 4 5 )\r\n";

struct stat statOf(const QString& path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

void setTime(const QString& path, qint64 seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

// Copies into and out of the backup folder leave alone every copy that holds the same bytes already.
class TstChangedFileCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void copiesOnlyWhatDiffers_data();
    void copiesOnlyWhatDiffers();
    void permissionsFollowTheFile();
    void ownerFollowsTheFile();
    void freshTimesLeaveUnchangedFilesAlone();
    void fileChangedJustNowIsComparedNextTime();
    void goesInSteps();
    void unreadableFileIsNamed();

private:
    QString source() const { return m_dir->filePath(QStringLiteral("data/zone.dns")); }
    QString target() const { return m_dir->filePath(QStringLiteral("backup/zone.dns")); }
    ChangedFileCopy::File file() const { return {source(), target(), QStringLiteral("zone.dns")}; }
    static void runToEnd(ChangedFileCopy& copy);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstChangedFileCopy::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("data"))));
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("backup"))));
}

void TstChangedFileCopy::runToEnd(ChangedFileCopy& copy)
{
    while (copy.step(50ms)) {
    }
    QTRY_VERIFY(copy.flushed(10ms));
}

void TstChangedFileCopy::copiesOnlyWhatDiffers_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("copyBytes");
    QTest::addColumn<qint64>("copyTime"); // seconds; the file's own time is 1,000,000,000
    QTest::addColumn<bool>("copied");
    QTest::addColumn<QByteArray>("expected");
    const qint64 same = 1000000000;
    QTest::newRow("no copy yet") << false << QByteArray() << same << true << kContent;
    QTest::newRow("same bytes, same time") << true << kContent << same << false << kContent;
    QTest::newRow("same bytes, other time: compared") << true << kContent << same - 60 << false << kContent;
    QTest::newRow("other size") << true << kContent + "x" << same << true << kContent;
    QTest::newRow("same size, other bytes, other time") << true << kOtherSameSize << same - 60 << true << kContent;
    // Size and time together are taken as the same without reading: what any quick comparison trusts.
    QTest::newRow("same size and time, other bytes") << true << kOtherSameSize << same << false << kOtherSameSize;
}

void TstChangedFileCopy::copiesOnlyWhatDiffers()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, copyBytes);
    QFETCH(qint64, copyTime);
    QFETCH(bool, copied);
    QFETCH(QByteArray, expected);
    QVERIFY(writeBytes(source(), kContent));
    setTime(source(), 1000000000);
    if (present) {
        QVERIFY(writeBytes(target(), copyBytes));
        setTime(target(), copyTime);
    }
    const ino_t before = present ? statOf(target()).st_ino : 0;

    ChangedFileCopy copy({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(copy);
    QCOMPARE(copy.failures(), QStringList());
    QCOMPARE(copy.copied(), copied ? 1 : 0);
    QCOMPARE(readBytes(target()), expected);
    // A copy left alone is the same file; every copy now carries the file's time, so the next pass reads nothing.
    if (present && !copied)
        QCOMPARE(statOf(target()).st_ino, before);
    QCOMPARE(qint64(statOf(target()).st_mtim.tv_sec), qint64(1000000000));
}

void TstChangedFileCopy::permissionsFollowTheFile()
{
    QVERIFY(writeBytes(source(), kContent));
    QVERIFY(QFile::setPermissions(source(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    ChangedFileCopy first({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(first);
    QCOMPARE(statOf(target()).st_mode & 07777, mode_t(0640));

    // The bytes are the same, only the permissions changed: the copy follows without being written again.
    const ino_t before = statOf(target()).st_ino;
    QVERIFY(QFile::setPermissions(source(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ChangedFileCopy second({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(second);
    QCOMPARE(second.copied(), 0);
    QCOMPARE(statOf(target()).st_ino, before);
    QCOMPARE(statOf(target()).st_mode & 07777, mode_t(0600));
}

// A backup restored as root must give the name server back files it may read: a copy left alone because its
// bytes are the same still takes the file's new owner.
void TstChangedFileCopy::ownerFollowsTheFile()
{
    if (::geteuid() != 0)
        QSKIP("only root can give a file away");
    constexpr uid_t kNobody = 65534;
    QVERIFY(writeBytes(source(), kContent));
    ChangedFileCopy first({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(first);
    QCOMPARE(statOf(target()).st_uid, uid_t(0));

    const ino_t before = statOf(target()).st_ino;
    QCOMPARE(::chown(QFile::encodeName(source()).constData(), kNobody, kNobody), 0);
    ChangedFileCopy second({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(second);
    QCOMPARE(second.copied(), 0);
    QCOMPARE(statOf(target()).st_ino, before);
    QCOMPARE(statOf(target()).st_uid, kNobody);
    QCOMPARE(statOf(target()).st_gid, gid_t(kNobody));

    // And back into the data directory: the restored file is the owner's again.
    QCOMPARE(::chown(QFile::encodeName(source()).constData(), 0, 0), 0);
    ChangedFileCopy restore({ChangedFileCopy::File{target(), source(), QStringLiteral("zone.dns")}},
                            ChangedFileCopy::Times::Fresh);
    runToEnd(restore);
    QCOMPARE(statOf(source()).st_uid, kNobody);
}

// Restoring into the data directory: a written file is new to the name server, one with the same bytes keeps
// its time.
void TstChangedFileCopy::freshTimesLeaveUnchangedFilesAlone()
{
    QVERIFY(writeBytes(source(), kContent));
    setTime(source(), 1000000000);
    ChangedFileCopy restore({file()}, ChangedFileCopy::Times::Fresh);
    runToEnd(restore);
    QCOMPARE(restore.copied(), 1);
    QVERIFY(statOf(target()).st_mtim.tv_sec > 1000000000);

    setTime(target(), 1100000000);
    ChangedFileCopy again({file()}, ChangedFileCopy::Times::Fresh);
    runToEnd(again);
    QCOMPARE(again.copied(), 0);
    QCOMPARE(qint64(statOf(target()).st_mtim.tv_sec), qint64(1100000000));
}

// A file written again within one tick of the file system's clock keeps its size and time; its copy, made
// just before, must not pass for it.
void TstChangedFileCopy::fileChangedJustNowIsComparedNextTime()
{
    QVERIFY(writeBytes(source(), kContent));
    const struct stat written = statOf(source());
    ChangedFileCopy first({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(first);
    QCOMPARE(first.copied(), 1);
    QVERIFY(statOf(target()).st_mtim.tv_sec != written.st_mtim.tv_sec);

    QVERIFY(writeBytes(source(), kOtherSameSize));
    const struct timespec sameTick[2] = {written.st_mtim, written.st_mtim};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(source()).constData(), sameTick, 0), 0);
    ChangedFileCopy second({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(second);
    QCOMPARE(second.copied(), 1);
    QCOMPARE(readBytes(target()), kOtherSameSize);
}

// With no time to spare each step takes one file, so that a window gets a turn after every file.
void TstChangedFileCopy::goesInSteps()
{
    QList<ChangedFileCopy::File> files;
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("zone%1.dns").arg(i);
        QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("data/") + name), kContent + QByteArray::number(i)));
        files.append(
            {m_dir->filePath(QStringLiteral("data/") + name), m_dir->filePath(QStringLiteral("backup/") + name), name});
    }
    ChangedFileCopy copy(files, ChangedFileCopy::Times::OfSource);
    int steps = 1;
    while (copy.step(0ms)) {
        QCOMPARE(copy.done(), qsizetype(steps));
        ++steps;
    }
    QCOMPARE(steps, 40);
    QCOMPARE(copy.done(), copy.count());
    QVERIFY(!copy.step(0ms));
    QTRY_VERIFY(copy.flushed(10ms));
    QCOMPARE(copy.copied(), 40);
    QCOMPARE(readBytes(m_dir->filePath(QStringLiteral("backup/zone39.dns"))), kContent + "39");

    // Nothing changed: the second pass writes nothing and has nothing to force onto the disk.
    ChangedFileCopy again(files, ChangedFileCopy::Times::OfSource);
    QVERIFY(!again.step(10s));
    QVERIFY(again.flushed(0ms));
    QCOMPARE(again.copied(), 0);
}

void TstChangedFileCopy::unreadableFileIsNamed()
{
    QVERIFY(writeBytes(target(), kContent));
    ChangedFileCopy copy({file()}, ChangedFileCopy::Times::OfSource);
    runToEnd(copy);
    QCOMPARE(copy.failures().size(), 1);
    QVERIFY(copy.failures().first().startsWith(QStringLiteral("zone.dns: ") + source() +
                                               QStringLiteral(" could not be read: ")));
    // The copy that was there stays as it was.
    QCOMPARE(readBytes(target()), kContent);
}

QTEST_GUILESS_MAIN(TstChangedFileCopy)
#include "tst_changedfilecopy.moc"
