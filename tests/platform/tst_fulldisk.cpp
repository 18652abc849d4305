// Every writer of the program on a real file system that is full: a small tmpfs mounted by the test (as root),
// filled to no free page and to one free page, under the files each command writes. Each command must end
// with status 1 and leave every file of that file system as it was, byte for byte, with no temporary behind.
// The commands are real quorvane-cli runs; the lookup listing is written by the real lookup interpreter
// against a real name server; the registration files, which only the window writes, are written through the
// workspace's own function.
#include "namedpeer.h"
#include "registration/registrationdocument.h"
#include "registration/registrationworkspace.h"
#include "sampleregistrations.h"
#include "support/clirun.h"
#include "support/fakeplatform.h"
#include "support/smalltmpfs.h"
#include "support/testfiles.h"
#include "utilities/nslookup.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");
constexpr int kHosts = 200;
constexpr qint64 kDiskPages = 1024;

using Snapshot = std::map<QString, QByteArray>;

// A zone of the program's layout with enough hosts to fill a few pages.
QByteArray bigZone(int serialSuffix)
{
    QByteArray zone = readBytes(testDataPath(QStringLiteral("editors/example.com.dns")));
    zone.replace("2026120100", QByteArray("20261201" + QByteArray::number(10 + serialSuffix)));
    QByteArray hosts;
    for (int i = 1; i <= kHosts; ++i)
        hosts += "host" + QByteArray::number(i) + ".example.com.     IN     A     10.0.0." +
                 QByteArray::number(10 + i % 240) + " \r\n";
    zone.replace("mail.example.com.     IN     A     10.0.0.2 \r\n",
                 QByteArray("mail.example.com.     IN     A     10.0.0.2 \r\n" + hosts));
    return zone;
}

// Every file under the folder with its bytes, the filler aside.
Snapshot snapshot(const QString& folder)
{
    Snapshot files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() != QLatin1String(".filler"))
            files[QDir(folder).relativeFilePath(path)] = readBytes(path);
    }
    return files;
}

QStringList differences(const Snapshot& before, const Snapshot& after)
{
    QStringList changed;
    for (const auto& [name, bytes] : after) {
        const auto old = before.find(name);
        if (old == before.end())
            changed << name + QStringLiteral(" (new)");
        else if (old->second != bytes)
            changed << name + QStringLiteral(" (changed)");
    }
    for (const auto& [name, bytes] : before) {
        if (!after.count(name))
            changed << name + QStringLiteral(" (gone)");
    }
    return changed;
}

} // namespace

class TstFullDisk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void commandLeavesTheFullDiskAsItWas_data();
    void commandLeavesTheFullDiskAsItWas();
    void fastAddKeepsOnlyWholeZones_data();
    void fastAddKeepsOnlyWholeZones();
    void lookupListing_data();
    void lookupListing();
    void registrationFiles_data();
    void registrationFiles();

private:
    QString home(const QString& relative) const { return QDir(m_home->path()).filePath(relative); }
    // A server with its boot file in `bootDir` over the data directory `dataDir`, its zone file, its root cache,
    // and `secondaries` secondary zones to make the boot file large, `primaries` more primary zones to make the
    // catalog of them large.
    void makeServer(const QString& bootDir, const QString& dataDir, int secondaries = 0, int primaries = 0);
    CliRun cli(const QStringList& arguments) const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<SmallTmpfs> m_disk;
    QString m_bootFile;
};

void TstFullDisk::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_disk = std::make_unique<SmallTmpfs>(kDiskPages * SmallTmpfs::pageSize());
    if (!m_disk->isMounted())
        QSKIP(qPrintable(m_disk->why()));
}

CliRun TstFullDisk::cli(const QStringList& arguments) const
{
    return runCli(
        QStringList{QStringLiteral("--identity"), kIdentity, QStringLiteral("--answers"), QStringLiteral("ok")} +
            arguments,
        m_home->path());
}

void TstFullDisk::makeServer(const QString& bootDir, const QString& dataDir, int secondaries, int primaries)
{
    QDir().mkpath(bootDir);
    QDir().mkpath(dataDir);
    QByteArray boot = "directory     " + dataDir.toLatin1() +
                      " \r\ncache       .     cache.dns \r\nprimary     example.com     example.com.dns \r\n"
                      ";OS: Windows NT 4.X\r\n";
    for (int i = 0; i < secondaries; ++i)
        boot += "secondary     zone" + QByteArray::number(i) + ".example.org     10.1.1.1     zone" +
                QByteArray::number(i) + ".bak\r\n";
    for (int i = 0; i < primaries; ++i) {
        const QByteArray zone = "zone" + QByteArray::number(i) + ".example.net";
        boot += "primary     " + zone + "     " + zone + ".dns\r\n";
        QVERIFY(writeBytes(
            QDir(dataDir).filePath(QString::fromLatin1(zone + ".dns")),
            readBytes(testDataPath(QStringLiteral("editors/example.com.dns"))).replace("example.com", zone)));
    }
    m_bootFile = QDir(bootDir).filePath(QStringLiteral("named.boot"));
    QVERIFY(writeBytes(m_bootFile, boot));
    QVERIFY(writeBytes(QDir(dataDir).filePath(QStringLiteral("example.com.dns")), bigZone(0)));
    // Root hints repeated past a page, so that no file of the server fits into one free page.
    QVERIFY(writeBytes(QDir(dataDir).filePath(QStringLiteral("cache.dns")),
                       readBytes(testDataPath(QStringLiteral("operations/cache.dns.expected"))).repeated(8)));
    // The program's own layout once, with the space still there.
    const CliRun read = cli({QStringLiteral("boot"), QStringLiteral("read"), m_bootFile});
    QVERIFY2(read.status == 0, read.err.constData());
}

void TstFullDisk::commandLeavesTheFullDiskAsItWas_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("freePages");
    for (const char* writer :
         {"zone file", "zone file without its server", "zone file written elsewhere", "boot file", "backup", "restore",
          "root cache", "reverse files", "named.conf export", "catalog zone"}) {
        for (const int pages : {0, 1})
            QTest::addRow("%s, %s", writer, pages == 0 ? "no page free" : "one page free")
                << QString::fromLatin1(writer) << pages;
    }
}

void TstFullDisk::commandLeavesTheFullDiskAsItWas()
{
    QFETCH(QString, writer);
    QFETCH(int, freePages);
    const bool bootOnDisk = writer == QLatin1String("boot file");
    const QString bootDir = bootOnDisk ? m_disk->filePath(QStringLiteral("win")) : home(QStringLiteral("win"));
    const QString dataDir = bootOnDisk ? home(QStringLiteral("dns")) : m_disk->filePath(QStringLiteral("dns"));
    // Each writer's file comes to more than a page.
    const bool largeConf = writer == QLatin1String("named.conf export");
    makeServer(bootDir, dataDir, bootOnDisk || largeConf ? 150 : 0, writer == QLatin1String("catalog zone") ? 80 : 0);
    const QString backup = QDir(dataDir).filePath(QStringLiteral("dnsbackup"));

    QStringList command;
    if (writer == QLatin1String("zone file")) {
        command = {QStringLiteral("record"),      QStringLiteral("add"),  m_bootFile,
                   QStringLiteral("example.com"), QStringLiteral("host"), QStringLiteral("new"),
                   QStringLiteral("10.0.1.1")};
    } else if (writer == QLatin1String("zone file without its server")) {
        command = {QStringLiteral("zone"), QStringLiteral("save"), dataDir, QStringLiteral("example.com.dns"),
                   QStringLiteral("example.com")};
    } else if (writer == QLatin1String("zone file written elsewhere")) {
        // Its first rewrite keeps the file as it came in the backup folder, on the same full disk.
        QByteArray foreign =
            "$TTL 1h\n@ SOA ns1.example.com. hostmaster.example.com. 1 2h 1h 4w 1h\n@ NS ns1\nns1 A 10.0.0.1\n";
        for (int i = 1; i <= 2 * kHosts; ++i)
            foreign += "host" + QByteArray::number(i) + " A 10.0.2." + QByteArray::number(i % 250) + "\n";
        QVERIFY(writeBytes(QDir(dataDir).filePath(QStringLiteral("example.com.dns")), foreign));
        command = {QStringLiteral("record"),      QStringLiteral("add"),  m_bootFile,
                   QStringLiteral("example.com"), QStringLiteral("host"), QStringLiteral("new"),
                   QStringLiteral("10.0.1.1")};
    } else if (writer == QLatin1String("named.conf export")) {
        const QString conf = QDir(dataDir).filePath(QStringLiteral("named.conf"));
        QVERIFY(writeBytes(conf, bigZone(4)));
        command = {QStringLiteral("export"), m_bootFile, QStringLiteral("--output"), conf};
    } else if (writer == QLatin1String("catalog zone")) {
        command = {QStringLiteral("export"), m_bootFile, QStringLiteral("--catalog"),
                   QStringLiteral("catalog.invalid")};
    } else if (writer == QLatin1String("boot file")) {
        command = {QStringLiteral("secondary"), QStringLiteral("add"), m_bootFile, QStringLiteral("new.example.net"),
                   QStringLiteral("10.2.2.2")};
    } else if (writer == QLatin1String("backup") || writer == QLatin1String("restore")) {
        // A backup of other content, so that a copy in either direction would change a file.
        QDir().mkpath(backup);
        QVERIFY(writeBytes(QDir(backup).filePath(QStringLiteral("example.com.dns")), bigZone(1)));
        QVERIFY(writeBytes(QDir(backup).filePath(QStringLiteral("cache.dns")), bigZone(2)));
        QVERIFY(writeBytes(QDir(backup).filePath(QStringLiteral("named.boot")), readBytes(m_bootFile)));
        command = {writer, m_bootFile};
    } else if (writer == QLatin1String("root cache")) {
        // The download fails (nobody listens), so the previous download is installed, into the full disk.
        const QString programFolder = home(QStringLiteral("share/Mervale/Quorvane"));
        QDir().mkpath(programFolder);
        QVERIFY(writeBytes(QDir(programFolder).filePath(QStringLiteral("cache.tmp")), bigZone(3)));
        command = {QStringLiteral("cache"), QStringLiteral("fetch"), m_bootFile, QStringLiteral("--ftp"),
                   QStringLiteral("127.0.0.1:1")};
    } else {
        QVERIFY(writeBytes(QDir(dataDir).filePath(QStringLiteral("0.0.10.IN-ADDR.ARPA.reverse.DNS")), "older\r\n"));
        command = {QStringLiteral("reverse"), m_bootFile};
    }

    const Snapshot before = snapshot(m_disk->path());
    QVERIFY(m_disk->leaveFree(freePages));
    const CliRun run = cli(command);
    m_disk->release();
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("No space left on device") || run.err.contains("lock file"), run.err.constData());
    const QStringList changed = differences(before, snapshot(m_disk->path()));
    QVERIFY2(changed.isEmpty(), qPrintable(changed.join(QStringLiteral(", "))));

    // With the space back the same command goes through: the failure was the disk's, not the command's. (The
    // root hints download itself still fails, nobody listening; its previous download is installed.)
    const CliRun again = cli(command);
    QVERIFY2(again.status == (writer == QLatin1String("root cache") ? 1 : 0), again.err.constData());
    QVERIFY(!differences(before, snapshot(m_disk->path())).isEmpty());
}

void TstFullDisk::fastAddKeepsOnlyWholeZones_data()
{
    QTest::addColumn<int>("freePages");
    QTest::newRow("no page free") << 0;
    QTest::newRow("one page free") << 1;
}

void TstFullDisk::fastAddKeepsOnlyWholeZones()
{
    QFETCH(int, freePages);
    const QString dataDir = m_disk->filePath(QStringLiteral("dns"));
    makeServer(home(QStringLiteral("win")), dataDir);
    const QByteArray bootBefore = readBytes(m_bootFile);
    const Snapshot before = snapshot(m_disk->path());
    QVERIFY(m_disk->leaveFree(freePages));
    const CliRun run = cli({QStringLiteral("zone"), QStringLiteral("fastadd"), m_bootFile, QStringLiteral("one.com"),
                            QStringLiteral("two.com")});
    m_disk->release();
    QCOMPARE(run.status, 1);
    QVERIFY(!run.out.contains("created two.com"));
    // A page holds one new zone file: that zone is made and registered, the next one is neither.
    const bool firstMade = freePages > 0;
    QCOMPARE(run.out.contains("created one.com"), firstMade);
    QStringList expected;
    if (firstMade)
        expected << QStringLiteral("dns/one.com.DNS (new)");
    QCOMPARE(differences(before, snapshot(m_disk->path())), expected);
    const QByteArray boot = readBytes(m_bootFile);
    QCOMPARE(boot.contains("primary     one.com     one.com.DNS"), firstMade);
    QVERIFY(!boot.contains("two.com"));
    if (!firstMade)
        QCOMPARE(boot, bootBefore);
}

void TstFullDisk::lookupListing_data()
{
    fastAddKeepsOnlyWholeZones_data();
}

void TstFullDisk::lookupListing()
{
    QFETCH(int, freePages);
    if (!NamedPeer::available())
        QSKIP("named and dig are not installed");
    NamedPeer named;
    QByteArray zone = bigZone(0);
    QVERIFY(named.addZone(QStringLiteral("example.com"), zone));
    QVERIFY2(named.start(), qPrintable(named.error()));
    const QString listing = m_disk->filePath(QStringLiteral("listing.txt"));
    QVERIFY(writeBytes(listing, "an older listing\r\n"));
    QVERIFY(writeBytes(home(QStringLiteral("command.txt")),
                       "server 127.0.0.1\r\nls -t ANY example.com > " + listing.toLatin1() + "\r\nexit\r\n"));
    QVERIFY(writeBytes(home(QStringLiteral("nsbatch.bat")), "type command.txt | nslookup\r\n"));
    FakePlatform platform;
    const auto runBatch = [&] {
        QProcess batch;
        batch.start(NsLookup::defaultInterpreter(platform),
                    {QStringLiteral("--port"), QString::number(named.port()), home(QStringLiteral("nsbatch.bat"))});
        batch.waitForFinished(60000);
        return std::pair{batch.exitCode(), batch.readAllStandardError()};
    };
    const Snapshot before = snapshot(m_disk->path());
    QVERIFY(m_disk->leaveFree(freePages));
    const auto [status, err] = runBatch();
    m_disk->release();
    QCOMPARE(status, 1);
    QVERIFY2(err.contains("No space left on device"), err.constData());
    QCOMPARE(differences(before, snapshot(m_disk->path())), QStringList());

    const auto [statusAgain, errAgain] = runBatch();
    QVERIFY2(statusAgain == 0, errAgain.constData());
    QVERIFY(readBytes(listing).contains("host200.example.com."));
}

void TstFullDisk::registrationFiles_data()
{
    fastAddKeepsOnlyWholeZones_data();
}

void TstFullDisk::registrationFiles()
{
    QFETCH(int, freePages);
    // Only the window writes these: its workspace function is what it calls.
    DomainRegistration record = sampleDomain();
    record.purpose = QString(3 * SmallTmpfs::pageSize(), QLatin1Char('p'));
    const RegistrationDocument document = registrationDocument(record, QStringLiteral("today"));
    const QString dataPath = m_disk->path();
    QStringList lines;
    QString error;
    QVERIFY2(writeRegistrationFiles(document, dataPath, &lines, &error), qPrintable(error));
    record.purpose = QString(3 * SmallTmpfs::pageSize(), QLatin1Char('q'));
    const RegistrationDocument changed = registrationDocument(record, QStringLiteral("today"));

    const Snapshot before = snapshot(m_disk->path());
    QVERIFY(m_disk->leaveFree(freePages));
    QVERIFY(!writeRegistrationFiles(changed, dataPath, &lines, &error));
    m_disk->release();
    QVERIFY2(error.endsWith(QStringLiteral("No space left on device")), qPrintable(error));
    QCOMPARE(differences(before, snapshot(m_disk->path())), QStringList());
    QVERIFY(writeRegistrationFiles(changed, dataPath, &lines, &error));
}

QTEST_GUILESS_MAIN(TstFullDisk)
#include "tst_fulldisk.moc"
