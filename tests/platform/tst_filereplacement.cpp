// The one routine every file of the program is replaced through, and the reading that every file is taken in
// by: on a real small file system filled to its last page, against a writer that died with its temporary left
// behind and one still at work (a real process holding the temporary), with pipes and devices where files
// should be.
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

using Durability = FileReplacement::Durability;

// Content that needs more than one page, so that one free page is not enough for it.
QByteArray twoPages()
{
    return QByteArray(int(SmallTmpfs::pageSize() + 100), 'n');
}

mode_t modeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QStringList entriesOf(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral(".filler"));
    return names;
}

} // namespace

class TstFileReplacement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void replacesAndKeepsPermissions();
    void newFileFollowsTheUmask();
    void linkIsReplacedNotFollowed();
    void leftoverOfACrashedWriterIsCleaned();
    void temporaryHeldByALiveWriterIsLeftAlone();
    void fullFileSystemLeavesTheOldFile_data();
    void fullFileSystemLeavesTheOldFile();
    void copyKeepsTheSourcePermissions();
    void copyRefusesWhatIsNoFile();
    void readingRefusesWhatIsNoFile_data();
    void readingRefusesWhatIsNoFile();
    void readingHoldsToTheLimit();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstFileReplacement::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstFileReplacement::replacesAndKeepsPermissions()
{
    const QString file = path(QStringLiteral("zone.dns"));
    QVERIFY(writeBytes(file, "old\r\n"));
    QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
    const FileWriteResult written = replaceFile(file, "new\r\n");
    QVERIFY2(written.ok, qPrintable(written.errorText));
    QCOMPARE(readBytes(file), QByteArray("new\r\n"));
    QCOMPARE(modeOf(file), mode_t(0640));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("zone.dns")});
}

void TstFileReplacement::newFileFollowsTheUmask()
{
    const mode_t previous = ::umask(027);
    const FileWriteResult written = replaceFile(path(QStringLiteral("new.dns")), "x\r\n");
    ::umask(previous);
    QVERIFY(written.ok);
    QCOMPARE(modeOf(path(QStringLiteral("new.dns"))), mode_t(0640));
}

void TstFileReplacement::linkIsReplacedNotFollowed()
{
    // A link in a data folder must not make a zone save write wherever the link points.
    const QString elsewhere = path(QStringLiteral("elsewhere"));
    QVERIFY(writeBytes(elsewhere, "not to be touched\n"));
    QVERIFY(QFile::link(elsewhere, path(QStringLiteral("zone.dns"))));
    QVERIFY(replaceFile(path(QStringLiteral("zone.dns")), "zone\r\n").ok);
    QCOMPARE(readBytes(elsewhere), QByteArray("not to be touched\n"));
    QVERIFY(!QFileInfo(path(QStringLiteral("zone.dns"))).isSymLink());
    QCOMPARE(readBytes(path(QStringLiteral("zone.dns"))), QByteArray("zone\r\n"));
}

void TstFileReplacement::leftoverOfACrashedWriterIsCleaned()
{
    // What a writer killed in the middle leaves: its temporary, no longer held by anyone.
    const QString file = path(QStringLiteral("named.boot"));
    QVERIFY(writeBytes(file, "old\r\n"));
    QVERIFY(writeBytes(FileReplacement::temporaryPath(file), "half of a new"));
    QVERIFY(replaceFile(file, "new\r\n").ok);
    QCOMPARE(readBytes(file), QByteArray("new\r\n"));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("named.boot")});
}

void TstFileReplacement::temporaryHeldByALiveWriterIsLeftAlone()
{
    if (QStandardPaths::findExecutable(QStringLiteral("flock")).isEmpty())
        QSKIP("flock(1) is not installed");
    const QString file = path(QStringLiteral("named.boot"));
    const QString temporary = FileReplacement::temporaryPath(file);
    QVERIFY(writeBytes(file, "old\r\n"));
    QVERIFY(writeBytes(temporary, "being written"));
    // Another process holds the temporary, as a writer at work does.
    QProcess writer;
    writer.start(QStringLiteral("flock"),
                 {QStringLiteral("-x"), temporary, QStringLiteral("sleep"), QStringLiteral("30")});
    QVERIFY(writer.waitForStarted());
    QTest::qWait(300);
    const FileWriteResult written = replaceFile(file, "new\r\n");
    writer.kill();
    writer.waitForFinished();
    QVERIFY(!written.ok);
    QCOMPARE(written.errorText,
             file + QStringLiteral(" could not be written: another program is writing it at this moment"));
    QCOMPARE(readBytes(file), QByteArray("old\r\n"));
    QCOMPARE(readBytes(temporary), QByteArray("being written"));
}

void TstFileReplacement::fullFileSystemLeavesTheOldFile_data()
{
    QTest::addColumn<int>("freePages");
    QTest::addColumn<QString>("how");
    for (const int pages : {0, 1}) {
        const QByteArray free = pages == 0 ? "no page free" : "one page free";
        for (const char* how : {"synced", "unsynced", "streamed", "copied"})
            QTest::newRow(QByteArray(free + ", " + how).constData()) << pages << QString::fromLatin1(how);
    }
}

void TstFileReplacement::fullFileSystemLeavesTheOldFile()
{
    QFETCH(int, freePages);
    QFETCH(QString, how);
    SmallTmpfs disk(64 * SmallTmpfs::pageSize());
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    const QString file = disk.filePath(QStringLiteral("zone.dns"));
    const QByteArray old = "the old zone\r\n";
    QVERIFY(writeBytes(file, old));
    const QString source = path(QStringLiteral("source.dns"));
    QVERIFY(writeBytes(source, twoPages()));
    QVERIFY(disk.leaveFree(freePages));

    FileWriteResult written;
    if (how == QLatin1String("synced") || how == QLatin1String("unsynced")) {
        written =
            replaceFile(file, twoPages(), how == QLatin1String("synced") ? Durability::Synced : Durability::Unsynced);
    } else if (how == QLatin1String("streamed")) {
        FileReplacement stream(file);
        QVERIFY(stream.open());
        const QByteArray piece(100, 's');
        int pieces = 0;
        while (pieces < 60 && stream.write(piece))
            ++pieces;
        QVERIFY(pieces < 60);
        written = stream.commit();
    } else {
        written = copyFileReplacing(source, file);
    }
    QVERIFY(!written.ok);
    QVERIFY2(written.errorText.endsWith(QStringLiteral("No space left on device")), qPrintable(written.errorText));
    QCOMPARE(readBytes(file), old);
    QCOMPARE(entriesOf(disk.path()), QStringList{QStringLiteral("zone.dns")});

    // With the space back the same replacement goes through.
    disk.release();
    QVERIFY(replaceFile(file, twoPages()).ok);
    QCOMPARE(readBytes(file), twoPages());
}

void TstFileReplacement::copyKeepsTheSourcePermissions()
{
    const QString source = path(QStringLiteral("secret.dns"));
    const QString target = path(QStringLiteral("copy.dns"));
    QVERIFY(writeBytes(source, "private\r\n"));
    QVERIFY(::chmod(QFile::encodeName(source).constData(), 0600) == 0);
    QVERIFY(writeBytes(target, "an older, public copy\r\n"));
    QVERIFY(::chmod(QFile::encodeName(target).constData(), 0644) == 0);
    QVERIFY(copyFileReplacing(source, target).ok);
    QCOMPARE(readBytes(target), QByteArray("private\r\n"));
    QCOMPARE(modeOf(target), mode_t(0600));
}

void TstFileReplacement::copyRefusesWhatIsNoFile()
{
    const QString fifo = path(QStringLiteral("fifo"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QElapsedTimer clock;
    clock.start();
    for (const QString& source : {fifo, QStringLiteral("/dev/zero"), m_dir->path()}) {
        const FileWriteResult copied = copyFileReplacing(source, path(QStringLiteral("copy")));
        QVERIFY(!copied.ok);
        QCOMPARE(copied.errorText, source + QStringLiteral(" could not be read: it is not a file"));
    }
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("copy"))));
}

void TstFileReplacement::readingRefusesWhatIsNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("problem");
    QTest::newRow("pipe without a writer") << QStringLiteral("fifo") << int(FileReadResult::Problem::NotRegular);
    QTest::newRow("endless device") << QStringLiteral("/dev/zero") << int(FileReadResult::Problem::NotRegular);
    QTest::newRow("folder") << QStringLiteral(".") << int(FileReadResult::Problem::NotRegular);
    QTest::newRow("missing") << QStringLiteral("gone") << int(FileReadResult::Problem::Missing);
}

void TstFileReplacement::readingRefusesWhatIsNoFile()
{
    QFETCH(QString, name);
    QFETCH(int, problem);
    QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600) == 0);
    const QString file = name.startsWith(QLatin1Char('/')) ? name : path(name);
    QElapsedTimer clock;
    clock.start();
    const FileReadResult read = readWholeFile(file, ReadLimit::kSmallFile);
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(!read.ok());
    QCOMPARE(int(read.problem), problem);
}

void TstFileReplacement::readingHoldsToTheLimit()
{
    const QString file = path(QStringLiteral("big"));
    QVERIFY(writeBytes(file, QByteArray(ReadLimit::kMegabyte + 1, 'b')));
    const FileReadResult refused = readWholeFile(file, ReadLimit::kMegabyte);
    QVERIFY(!refused.ok());
    QCOMPARE(int(refused.problem), int(FileReadResult::Problem::TooLarge));
    QCOMPARE(refused.errorText, file + QStringLiteral(" is larger than 1 MB, so it was not read."));
    const FileReadResult read = readWholeFile(file, 2 * ReadLimit::kMegabyte);
    QVERIFY(read.ok());
    QCOMPARE(read.bytes->size(), ReadLimit::kMegabyte + 1);
}

QTEST_GUILESS_MAIN(TstFileReplacement)
#include "tst_filereplacement.moc"
