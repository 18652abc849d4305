#include "platform/progress.h"
#include "server/backuprestore.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

// Every step the operation took on the progress window.
class RecordingProgress : public Progress
{
public:
    void showProgress() override { steps << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { steps << QStringLiteral("caption ") + caption; }
    void setProgress(int percent) override { steps << QString::number(percent); }
    void hideProgress() override { steps << QStringLiteral("hide"); }

    QStringList steps;
};

const QList<std::pair<QString, QByteArray>> kDataFiles = {
    {QStringLiteral("example.com.dns"), "@ IN SOA ns1.example.com. admin.example.com. ( 1 2 3 4 5 )\r\n"},
    {QStringLiteral("EXAMPLE.ORG.DNS"), "@ IN SOA ns1.example.org. admin.example.org. ( 1 2 3 4 5 )\r\n"},
    {QStringLiteral("cache.dns"), ".     3600000  IN  NS    A.ROOT-SERVERS.NET.\r\n"},
    {QStringLiteral("ns1.0.reverse.DNS"), "1  IN  PTR  www.example.com.\r\n"},
    {QStringLiteral("notes.txt"), "kept beside the zones\r\n"},
    {QStringLiteral("secondary.bak"), "a secondary's backup file\r\n"},
};
const QByteArray kBootFile = "directory     /srv/dns \r\ncache       .     cache.dns \r\n";
// The data files the boot file names, as its lists hold them: in lower case, whatever case the disk has.
const QStringList kNamedFiles = {QStringLiteral("example.com.dns"), QStringLiteral("example.org.dns"),
                                 QStringLiteral("cache.dns"), QStringLiteral("ns1.0.reverse.DNS"),
                                 QStringLiteral("secondary.bak")};

// A file written anew is another file on disk: its inode changes.
quint64 inodeOf(const QString& path)
{
    struct stat info = {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return quint64(info.st_ino);
}

bool isNamed(const QString& name)
{
    return kNamedFiles.contains(name, Qt::CaseInsensitive);
}

} // namespace

class TstBackupRestore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void backupCopiesFilesAndBootFile();
    void backupKeepsPermissions();
    void namedFileNotYetThereIsSkipped();
    void backupBoxOnlyWithoutAutomaticBackup_data();
    void backupBoxOnlyWithoutAutomaticBackup();
    void secondBackupOverwritesAndKeepsStaleCopies();
    void secondBackupWritesOnlyChangedFiles();
    void restoreWritesOnlyChangedFiles();
    void failingCopyIsNamed();
    void missingBootFileIsNamed();
    void restoreWithoutBackupRefuses();
    void restoreBringsBackZonesCacheAndBootFile();
    void restoreWithoutCacheFile();
    void restoreKeepsBootFileNameOfItsPath();
    void failingRestoreIsNamed();

private:
    QString dataDir() const { return m_dir->filePath(QStringLiteral("dns")); }
    QString bootFile() const { return m_dir->filePath(QStringLiteral("winnt/named.boot")); }
    QString backupDir() const { return dataDir() + QStringLiteral("/dnsbackup"); }
    bool backup(bool autoBackup = true);
    static QStringList filesIn(const QString& folder);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    RecordingProgress m_progress;
};

void TstBackupRestore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_progress.steps.clear();
    QDir().mkpath(dataDir() + QStringLiteral("/olddata"));
    QDir().mkpath(QFileInfo(bootFile()).absolutePath());
    for (const auto& [name, bytes] : kDataFiles)
        QVERIFY(writeBytes(QDir(dataDir()).filePath(name), bytes));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/olddata/old.dns"), "in a sub-folder\r\n"));
    QVERIFY(writeBytes(bootFile(), kBootFile));
}

void TstBackupRestore::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
}

bool TstBackupRestore::backup(bool autoBackup)
{
    return backupServer(dataDir(), kNamedFiles, bootFile(), autoBackup, m_progress, *m_prompter);
}

QStringList TstBackupRestore::filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

void TstBackupRestore::backupCopiesFilesAndBootFile()
{
    QVERIFY(backup());
    QStringList expected{QStringLiteral("named.boot")};
    for (const auto& [name, bytes] : kDataFiles) {
        if (!isNamed(name))
            continue;
        expected << name;
        QCOMPARE(readBytes(QDir(backupDir()).filePath(name)), bytes);
    }
    expected.sort();
    // Only what the boot file names: a file of the folder it does not name ("notes.txt") stays out.
    QCOMPARE(filesIn(backupDir()), expected);
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/named.boot")), kBootFile);
    // Files only: neither the sub-folder nor the backup folder itself is copied.
    QCOMPARE(QDir(backupDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(m_progress.steps, (QStringList{"show", "caption Backing up data files...", "30", "60", "85", "100",
                                            "caption Progress...", "hide"}));
}

void TstBackupRestore::backupKeepsPermissions()
{
    // A private file stays private in the backup and again after a restore, whatever the copies were before.
    const QString zone = dataDir() + QStringLiteral("/example.com.dns");
    const QString copy = backupDir() + QStringLiteral("/example.com.dns");
    QVERIFY(QFile::setPermissions(zone, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(bootFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QDir().mkpath(backupDir());
    QVERIFY(writeBytes(copy, "an older copy\r\n"));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(backup());
    QCOMPARE(QFile::permissions(copy), QFile::permissions(zone));
    QCOMPARE(QFile::permissions(backupDir() + QStringLiteral("/named.boot")), QFile::permissions(bootFile()));
    QCOMPARE(readBytes(copy), kDataFiles.first().second);

    const QFile::Permissions private_ = QFile::permissions(zone);
    QVERIFY(QFile::remove(zone));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    QVERIFY(restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    QCOMPARE(QFile::permissions(zone), private_);
    QVERIFY(!(private_ & (QFile::ReadGroup | QFile::ReadOther)));
}

void TstBackupRestore::namedFileNotYetThereIsSkipped()
{
    // A secondary zone's backup file appears only once the name server has transferred the zone.
    QVERIFY(QFile::remove(dataDir() + QStringLiteral("/secondary.bak")));
    QVERIFY(backup());
    QVERIFY(!QFileInfo::exists(backupDir() + QStringLiteral("/secondary.bak")));
    QVERIFY(QFileInfo::exists(backupDir() + QStringLiteral("/example.com.dns")));
}

void TstBackupRestore::backupBoxOnlyWithoutAutomaticBackup_data()
{
    QTest::addColumn<bool>("autoBackup");
    QTest::newRow("automatic backup on") << true;
    QTest::newRow("automatic backup off") << false;
}

void TstBackupRestore::backupBoxOnlyWithoutAutomaticBackup()
{
    QFETCH(bool, autoBackup);
    if (!autoBackup)
        m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Backup completed successfully."));
    QVERIFY(backup(autoBackup));
    QCOMPARE(m_prompter->prompts().size(), autoBackup ? 0 : 1);
}

void TstBackupRestore::secondBackupOverwritesAndKeepsStaleCopies()
{
    QVERIFY(backup());
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), "changed\r\n"));
    QVERIFY(QFile::remove(dataDir() + QStringLiteral("/secondary.bak")));
    QVERIFY(backup());
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/example.com.dns")), QByteArray("changed\r\n"));
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/secondary.bak")), QByteArray("a secondary's backup file\r\n"));
}

// A copy is written again only when its file's bytes changed: one the folder holds already stays the same file
// on disk, whatever its time says.
void TstBackupRestore::secondBackupWritesOnlyChangedFiles()
{
    QVERIFY(backup());
    QHash<QString, quint64> inodes;
    for (const QString& name : filesIn(backupDir()))
        inodes.insert(name, inodeOf(QDir(backupDir()).filePath(name)));
    // One file changed, one rewritten with the same bytes, the boot file untouched.
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), ".     3600000  IN  NS    B.ROOT-SERVERS.NET.\r\n"));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), kDataFiles.first().second));
    m_progress.steps.clear();
    // The boot file's copy, not written again, still tells when this backup was made.
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(backupDir() + QStringLiteral("/named.boot")).constData(), old, 0),
             0);
    const QDateTime made = QDateTime::currentDateTime().addSecs(-2);
    QVERIFY(backup());
    QVERIFY(QFileInfo(backupDir() + QStringLiteral("/named.boot")).lastModified() >= made);
    for (const QString& name : filesIn(backupDir())) {
        const bool changed = name == QLatin1String("cache.dns");
        QCOMPARE(inodeOf(QDir(backupDir()).filePath(name)) != inodes.value(name), changed);
    }
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/cache.dns")),
             QByteArray(".     3600000  IN  NS    B.ROOT-SERVERS.NET.\r\n"));
    QCOMPARE(m_progress.steps, (QStringList{"show", "caption Backing up data files...", "30", "60", "85", "100",
                                            "caption Progress...", "hide"}));
}

void TstBackupRestore::restoreWritesOnlyChangedFiles()
{
    QVERIFY(backup());
    const QString zone = dataDir() + QStringLiteral("/example.com.dns");
    const QString other = dataDir() + QStringLiteral("/EXAMPLE.ORG.DNS");
    QVERIFY(writeBytes(zone, "damaged\r\n"));
    const QDateTime untouched = QFileInfo(other).lastModified();
    const quint64 otherInode = inodeOf(other);
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    QVERIFY(restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    QCOMPARE(readBytes(zone), kDataFiles.first().second);
    // The file that held the backup's bytes already is left as it is, its time too: the name server's reload
    // goes by that time.
    QCOMPARE(inodeOf(other), otherInode);
    QCOMPARE(QFileInfo(other).lastModified(), untouched);
}

void TstBackupRestore::failingCopyIsNamed()
{
    // A folder where a copy must go cannot be overwritten by a file: that copy fails, the others go through.
    QDir().mkpath(backupDir() + QStringLiteral("/secondary.bak"));
    m_prompter->answer(Prompter::Button::Ok);
    QVERIFY(!backup(false));
    QCOMPARE(m_prompter->prompts().size(), 1);
    const ScriptedPrompter::Prompt& box = m_prompter->prompts().first();
    QCOMPARE(box.caption, QStringLiteral("Error."));
    QVERIFY2(box.text.startsWith(QStringLiteral("Backup failed. These files could not be copied:\nsecondary.bak: ")),
             qPrintable(box.text));
    QCOMPARE(box.text.count(QLatin1Char('\n')), 1);
    QVERIFY(!box.text.contains(QStringLiteral("successfully")));
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/example.com.dns")), kDataFiles.first().second);
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/named.boot")), kBootFile);
    QCOMPARE(m_progress.steps.last(), QStringLiteral("hide"));
}

void TstBackupRestore::missingBootFileIsNamed()
{
    QVERIFY(QFile::remove(bootFile()));
    m_prompter->answer(Prompter::Button::Ok);
    QVERIFY(!backup(true));
    const QString text = m_prompter->prompts().value(0).text;
    QVERIFY2(text.startsWith(QStringLiteral("Backup failed. These files could not be copied:\n") +
                             QDir::toNativeSeparators(bootFile()) + QStringLiteral(": ")),
             qPrintable(text));
    QCOMPARE(filesIn(backupDir()).size(), kNamedFiles.size());
}

void TstBackupRestore::restoreWithoutBackupRefuses()
{
    m_prompter->expectMessage(QStringLiteral("Error."),
                              QStringLiteral("You must first execute a backup before attempting to restore."));
    QVERIFY(!restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    QVERIFY(!QFileInfo::exists(backupDir()));
}

void TstBackupRestore::restoreBringsBackZonesCacheAndBootFile()
{
    QVERIFY(backup());
    for (const auto& [name, bytes] : kDataFiles)
        QVERIFY(writeBytes(QDir(dataDir()).filePath(name), "damaged\r\n"));
    QVERIFY(QFile::remove(dataDir() + QStringLiteral("/EXAMPLE.ORG.DNS")));
    QVERIFY(writeBytes(bootFile(), "damaged\r\n"));

    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    QVERIFY(restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    for (const auto& [name, bytes] : kDataFiles) {
        const bool restored = name.endsWith(QStringLiteral(".dns"), Qt::CaseInsensitive);
        QCOMPARE(readBytes(QDir(dataDir()).filePath(name)), restored ? bytes : QByteArray("damaged\r\n"));
    }
    QCOMPARE(readBytes(bootFile()), kBootFile);
    // The boot file goes back beside its path only, not into the data directory.
    QVERIFY(!QFileInfo::exists(dataDir() + QStringLiteral("/named.boot")));
}

void TstBackupRestore::restoreWithoutCacheFile()
{
    QVERIFY(backup());
    QVERIFY(QFile::remove(backupDir() + QStringLiteral("/cache.dns")));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/cache.dns"), "newer hints\r\n"));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), "damaged\r\n"));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    QVERIFY(restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/cache.dns")), QByteArray("newer hints\r\n"));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), kDataFiles.first().second);
}

void TstBackupRestore::restoreKeepsBootFileNameOfItsPath()
{
    const QString otherBoot = m_dir->filePath(QStringLiteral("server2/conf/boot.named"));
    QDir().mkpath(QFileInfo(otherBoot).absolutePath());
    QVERIFY(writeBytes(otherBoot, kBootFile));
    QVERIFY(backupServer(dataDir(), kNamedFiles, otherBoot, true, m_progress, *m_prompter));
    QCOMPARE(readBytes(backupDir() + QStringLiteral("/boot.named")), kBootFile);
    QVERIFY(QFile::remove(otherBoot));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    QVERIFY(restoreServer(dataDir(), otherBoot, m_progress, *m_prompter));
    QCOMPARE(readBytes(otherBoot), kBootFile);
}

void TstBackupRestore::failingRestoreIsNamed()
{
    QVERIFY(backup());
    QVERIFY(QFile::remove(backupDir() + QStringLiteral("/named.boot")));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), "damaged\r\n"));
    m_prompter->answer(Prompter::Button::Ok);
    QVERIFY(!restoreServer(dataDir(), bootFile(), m_progress, *m_prompter));
    const ScriptedPrompter::Prompt& box = m_prompter->prompts().first();
    QCOMPARE(box.caption, QStringLiteral("Error."));
    QVERIFY2(box.text.startsWith(QStringLiteral("Restore failed. These files could not be copied:\n") +
                                 QDir::toNativeSeparators(backupDir() + QStringLiteral("/named.boot")) +
                                 QStringLiteral(": ")),
             qPrintable(box.text));
    // What could be copied was.
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), kDataFiles.first().second);
}

QTEST_GUILESS_MAIN(TstBackupRestore)
#include "tst_backuprestore.moc"
