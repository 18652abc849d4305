// A boot file is only text: its directory line must not make the program create, copy or delete files in the
// system's own folders. Refused on the first reading (the real command line), and by the deletion of a server.
#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "platform/systemfolders.h"
#include "server/serverdeletion.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/clirun.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TstSystemFolders : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void systemFolders_data();
    void systemFolders();
    void rootFolderIsRefusedBeforeAnythingIsWritten();
    void homeFolderIsRefusedAndAnotherOneTaken();
    void deletionLeavesASystemFolderAlone();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("win/named.boot")); }
    void writeBootFile(const QString& directory);
    CliRun readWithAnswers(const QString& answers);

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_home;
};

void TstSystemFolders::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("win")));
    QDir().mkpath(path(QStringLiteral("home")));
    // A home folder of the test's own stands for the user's: whatever goes wrong lands in the test's folder.
    m_home = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
}

void TstSystemFolders::cleanup()
{
    qputenv("HOME", m_home);
}

void TstSystemFolders::writeBootFile(const QString& directory)
{
    QVERIFY(writeBytes(bootFile(), "directory     " + directory.toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n;OS: Windows NT 4.X\r\n"));
}

CliRun TstSystemFolders::readWithAnswers(const QString& answers)
{
    return runCli({QStringLiteral("--identity"), QStringLiteral("NS1@ns1.example.com"), QStringLiteral("--answers"),
                   answers, QStringLiteral("boot"), QStringLiteral("read"), bootFile()},
                  m_dir->path());
}

void TstSystemFolders::systemFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("system");
    for (const char* folder : {"/",           "/etc",  "/etc/", "/usr/../etc", "/usr",  "/bin",       "/sbin",
                               "/lib",        "/boot", "/dev",  "/dev/shm",    "/proc", "/proc/self", "/sys",
                               "/sys/kernel", "/run",  "/var",  "/home",       "/root", "/home/alice"})
        QTest::newRow(folder) << QString::fromLatin1(folder) << true;
    for (const char* folder : {"/var/named", "/srv/dns", "/etc/bind", "/var/lib/bind", "/home/alice/dns", "/srv"})
        QTest::newRow(folder) << QString::fromLatin1(folder) << false;
}

void TstSystemFolders::systemFolders()
{
    QFETCH(QString, folder);
    QFETCH(bool, system);
    QCOMPARE(isSystemFolder(folder), system);
    // The user's own home folder, however it is named, but not the folders inside it.
    QVERIFY(isSystemFolder(path(QStringLiteral("home"))));
    QVERIFY(!isSystemFolder(path(QStringLiteral("home/dns"))));
}

void TstSystemFolders::rootFolderIsRefusedBeforeAnythingIsWritten()
{
    writeBootFile(QStringLiteral("/"));
    const QByteArray before = readBytes(bootFile());
    const QStringList rootBefore = QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const CliRun run = readWithAnswers(QStringLiteral("cancel"));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith("Attention!: / is a system folder. Quorvane does not keep a server's data files "
                                "there; please choose the server's own data directory.\n"),
             run.err.constData());
    QCOMPARE(QDir(QStringLiteral("/")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), rootBefore);
    QCOMPARE(readBytes(bootFile()), before);
    QCOMPARE(QDir(path(QStringLiteral("win"))).entryList(QDir::Files | QDir::Hidden), QStringList{"named.boot"});
}

void TstSystemFolders::homeFolderIsRefusedAndAnotherOneTaken()
{
    const QString home = path(QStringLiteral("home"));
    const QString data = path(QStringLiteral("home/dns"));
    QDir().mkpath(data);
    writeBootFile(home);
    const CliRun run = readWithAnswers(data);
    QVERIFY2(run.status == 0, run.err.constData());
    QVERIFY(run.err.contains("is a system folder"));
    // The root hints go where the user pointed, nothing into the home folder itself.
    QCOMPARE(QDir(home).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo::exists(QDir(data).filePath(QStringLiteral("cache.dns"))));
    QVERIFY(readBytes(bootFile()).contains(QByteArray("directory     " + data.toLatin1() + " \r\n")));
}

void TstSystemFolders::deletionLeavesASystemFolderAlone()
{
    const QString home = path(QStringLiteral("home"));
    QVERIFY(writeBytes(QDir(home).filePath(QStringLiteral(".profile")), "the user's own\n"));
    writeBootFile(home);
    SettingsStore store(path(QStringLiteral("settings.ini")));
    AppState state;
    state.catalog.add({QStringLiteral("NS1@ns1.example.com"), bootFile()});
    saveSettings(state, store);
    ScriptedPrompter prompter;
    FakePlatform platform(path(QStringLiteral("appdata")));
    NullProgress progress;
    ServerContext context{state, store, prompter, platform, progress, {}};
    prompter.expectMessage(QStringLiteral("Attention!"),
                           systemFolderRefusal(home) + QStringLiteral(" Its files have not been deleted."));
    deleteServer(context, bootFile(), QStringLiteral("NS1@ns1.example.com"), false);
    QCOMPARE(readBytes(QDir(home).filePath(QStringLiteral(".profile"))), QByteArray("the user's own\n"));
    QVERIFY(!QFileInfo::exists(bootFile()));
    QCOMPARE(prompter.problems(), QStringList());
}

QTEST_GUILESS_MAIN(TstSystemFolders)
#include "tst_systemfolders.moc"
