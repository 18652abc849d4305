// A boot file is only text, and root runs the program: names in it that lead out of the data directory (absolute
// paths, "..", links planted in the folder) must never make the real command line create, change or delete a
// file there. A decoy folder beside the server stands for /etc; its checksums before and after each command must
// match, and each command must say which entries it left alone.
#include "sandbox.h"
#include "support/clirun.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");

} // namespace

class TstConfinement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void commandsLeaveTheDecoyAlone_data();
    void commandsLeaveTheDecoyAlone();
    void outsideEntriesStayInTheBootFileAsTheyStand();
    void exportLeavesOutsideFilesOut();
    void restoreDoesNotFollowAPlantedCopy();
    void zoneFileLinkInsideIsWrittenThrough();
    void deepSystemFolderIsNoDataDirectory_data();
    void deepSystemFolderIsNoDataDirectory();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("winnt/named.boot")); }
    QString dataDir() const { return path(QStringLiteral("dns")); }
    QString decoy(const QString& name = QString()) const
    {
        return name.isEmpty() ? path(QStringLiteral("decoy")) : path(QStringLiteral("decoy/") + name);
    }
    CliRun cli(const QStringList& arguments, const QString& answers = QStringLiteral("ok,ok,ok")) const
    {
        return runCli(QStringList{QStringLiteral("--identity"), kIdentity, QStringLiteral("--answers"), answers} +
                          arguments,
                      m_dir->path());
    }
    // Every entry of the decoy folder, with the checksum of each file: links, pipes and folders count too.
    QMap<QString, QByteArray> decoyState() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

QMap<QString, QByteArray> TstConfinement::decoyState() const
{
    QMap<QString, QByteArray> state = treeChecksums(decoy());
    QDirIterator it(decoy(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        state.insert(QStringLiteral("entry ") + QDir(decoy()).relativeFilePath(it.next()), QByteArray());
    return state;
}

void TstConfinement::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(path(QStringLiteral("winnt/system32"))));
    QVERIFY(QDir().mkpath(dataDir()));
    QVERIFY(QDir().mkpath(decoy(QStringLiteral("cron.d"))));
    const QByteArray zone = readBytes(testDataPath(QStringLiteral("editors/example.com.dns")));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), zone));
    for (const char* name : {"precious.conf", "other.conf", "linked.conf", "cache.conf", "sec.dns"})
        QVERIFY(writeBytes(decoy(QString::fromLatin1(name)), zone));
    // Planted by whoever could write into the data directory.
    QVERIFY(::symlink(QFile::encodeName(decoy(QStringLiteral("linked.conf"))).constData(),
                      QFile::encodeName(dataDir() + QStringLiteral("/linked.dns")).constData()) == 0);
    const QByteArray boot = "directory     " + dataDir().toLatin1() +
                            " \r\n"
                            "cache       .     ../decoy/cache.conf \r\n"
                            "primary     example.com     example.com.dns \r\n"
                            "primary     precious.example     " +
                            decoy(QStringLiteral("precious.conf")).toLatin1() +
                            " \r\n"
                            "primary     other.example     ../decoy/other.conf \r\n"
                            "primary     linked.example     linked.dns \r\n"
                            "secondary     evil.example     10.0.0.1     " +
                            decoy(QStringLiteral("cron.d/evil")).toLatin1() +
                            " \r\n"
                            "secondary     sec.example     10.0.0.1     ../decoy/sec.dns \r\n"
                            ";OS: Windows NT 4.X\r\n";
    QVERIFY(writeBytes(bootFile(), boot));
}

void TstConfinement::commandsLeaveTheDecoyAlone_data()
{
    QTest::addColumn<QStringList>("arguments"); // the server's boot file goes after the command's words
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("status");
    QTest::newRow("boot read") << QStringList{"boot", "read"} << 2 << 0;
    QTest::newRow("zone delete absolute") << QStringList{"zone", "delete", "precious.example"} << 2 << 1;
    QTest::newRow("zone delete dot dot") << QStringList{"zone", "delete", "other.example"} << 2 << 1;
    QTest::newRow("zone delete planted link") << QStringList{"zone", "delete", "linked.example"} << 2 << 1;
    QTest::newRow("record add absolute") << QStringList{"record", "add", "precious.example", "host", "www", "10.0.0.5"}
                                         << 2 << 1;
    QTest::newRow("record add planted link")
        << QStringList{"record", "add", "linked.example", "host", "www", "10.0.0.5"} << 2 << 1;
    QTest::newRow("secondary delete") << QStringList{"secondary", "delete", "evil.example"} << 2 << 1;
    QTest::newRow("backup") << QStringList{"backup"} << 1 << 0;
    QTest::newRow("reverse") << QStringList{"reverse"} << 1 << 0;
    // What is left out makes the export fail, as it always did.
    QTest::newRow("export") << QStringList{"export"} << 1 << 1;
}

void TstConfinement::commandsLeaveTheDecoyAlone()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, words);
    QFETCH(int, status);
    const QMap<QString, QByteArray> before = decoyState();
    QVERIFY(!before.isEmpty());
    const CliRun run = cli(arguments.mid(0, words) + QStringList{bootFile()} + arguments.mid(words));
    QVERIFY2(run.status == status, run.err.constData());
    QCOMPARE(decoyState(), before);
    // Every reading names the entries it leaves alone.
    const QString err = QString::fromLocal8Bit(run.err);
    QVERIFY2(err.contains(QStringLiteral("lie outside the data directory")), qPrintable(err));
    for (const QString& named :
         {decoy(QStringLiteral("precious.conf")), QStringLiteral("../decoy/other.conf"), QStringLiteral("linked.dns"),
          QStringLiteral("../decoy/cache.conf"), decoy(QStringLiteral("cron.d/evil"))})
        QVERIFY2(err.contains(named), qPrintable(named + QStringLiteral(" not named in: ") + err));
}

void TstConfinement::outsideEntriesStayInTheBootFileAsTheyStand()
{
    const CliRun run = cli({QStringLiteral("boot"), QStringLiteral("read"), bootFile()});
    QVERIFY2(run.status == 0, run.err.constData());
    const QByteArray written = readBytes(bootFile());
    for (const QByteArray& line : QList<QByteArray>{
             QByteArray("primary     precious.example     ") + decoy(QStringLiteral("precious.conf")).toLatin1(),
             QByteArray("primary     other.example     ../decoy/other.conf"),
             QByteArray("primary     linked.example     linked.dns"),
             QByteArray("secondary     sec.example     10.0.0.1     ../decoy/sec.dns")})
        QVERIFY2(written.contains(line), written.constData());
    // The cache line names the program's own root cache file, as for every boot file it writes; the root hints
    // were made in the data directory rather than copied from the file named.
    QVERIFY(written.contains("cache       .     cache.dns"));
    QVERIFY(QFileInfo(dataDir() + QStringLiteral("/cache.dns")).isFile());
    QVERIFY(readBytes(dataDir() + QStringLiteral("/cache.dns")) != readBytes(decoy(QStringLiteral("cache.conf"))));
    // Only the zone inside is the server's.
    const CliRun zones =
        cli({QStringLiteral("zone"), QStringLiteral("delete"), bootFile(), QStringLiteral("example.com")});
    QVERIFY2(zones.status == 0, zones.err.constData());
    QVERIFY(!QFileInfo::exists(dataDir() + QStringLiteral("/example.com.dns")));
}

void TstConfinement::exportLeavesOutsideFilesOut()
{
    const QMap<QString, QByteArray> before = decoyState();
    const CliRun run = cli({QStringLiteral("export"), bootFile()});
    QVERIFY2(run.status == 1, run.err.constData());
    QVERIFY2(!run.out.contains("decoy") && !run.out.contains("linked.dns"), run.out.constData());
    QVERIFY(run.out.contains("zone \"example.com\""));
    const QString err = QString::fromLocal8Bit(run.err);
    for (const QString& zone :
         {QStringLiteral("precious.example"), QStringLiteral("other.example"), QStringLiteral("linked.example"),
          QStringLiteral("evil.example"), QStringLiteral("sec.example")})
        QVERIFY2(err.contains(zone + QStringLiteral("     ")) || err.contains(zone + QLatin1Char(' ')),
                 qPrintable(zone + QStringLiteral(" not left out: ") + err));
    QVERIFY2(err.contains(QStringLiteral("lies outside the data directory")), qPrintable(err));
    QCOMPARE(decoyState(), before);
}

void TstConfinement::restoreDoesNotFollowAPlantedCopy()
{
    QVERIFY2(cli({QStringLiteral("backup"), bootFile()}).status == 0, "backup");
    const QString planted = dataDir() + QStringLiteral("/dnsbackup/planted.DNS");
    QVERIFY(::symlink(QFile::encodeName(decoy(QStringLiteral("precious.conf"))).constData(),
                      QFile::encodeName(planted).constData()) == 0);
    const QMap<QString, QByteArray> before = decoyState();
    const CliRun run = cli({QStringLiteral("restore"), bootFile()}, QStringLiteral("yes,ok,ok"));
    QCOMPARE(run.status, 1);
    const QString err = QString::fromLocal8Bit(run.err);
    QVERIFY2(err.contains(QStringLiteral("planted.DNS: ")) && err.contains(QStringLiteral("so it was not copied")),
             qPrintable(err));
    QVERIFY(!QFileInfo::exists(dataDir() + QStringLiteral("/planted.DNS")));
    QCOMPARE(decoyState(), before);
}

void TstConfinement::zoneFileLinkInsideIsWrittenThrough()
{
    // The administrator keeps the zone in a folder of the data directory and links it by the boot file's name.
    QVERIFY(QDir().mkpath(dataDir() + QStringLiteral("/zones")));
    const QString real = dataDir() + QStringLiteral("/zones/example.com");
    const QString linked = dataDir() + QStringLiteral("/example.com.dns");
    QVERIFY(QFile::rename(linked, real));
    QVERIFY(QFile::link(QStringLiteral("zones/example.com"), linked));
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const CliRun run = cli({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
                            QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")});
    QVERIFY2(run.status == 0, run.err.constData());
    QVERIFY(QFileInfo(linked).isSymLink());
    QVERIFY(readBytes(real).contains("www2.example.com."));
    struct stat info;
    QVERIFY(::stat(QFile::encodeName(real).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, mode_t(0640));
    // Undone through the link as well, as the history keeps the file by the boot file's name.
    const CliRun undone = cli({QStringLiteral("undo"), bootFile()}, QStringLiteral("yes"));
    QVERIFY2(undone.status == 0, undone.err.constData());
    QVERIFY(QFileInfo(linked).isSymLink());
    QVERIFY(!readBytes(real).contains("www2.example.com."));
}

void TstConfinement::deepSystemFolderIsNoDataDirectory_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("below /usr") << "/usr/share";
    QTest::newRow("below /etc") << "/etc/default";
    QTest::newRow("below /var") << "/var/lib";
    QTest::newRow("/tmp itself") << "/tmp";
}

void TstConfinement::deepSystemFolderIsNoDataDirectory()
{
    QFETCH(QString, folder);
    if (!QFileInfo(folder).isDir())
        QSKIP("the folder is not there on this system");
    QVERIFY(writeBytes(bootFile(), "directory     " + folder.toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n;OS: Windows NT 4.X\r\n"));
    // Other programs may change such a folder meanwhile: what the reading would have made there is looked for.
    const QStringList made{QStringLiteral("cache.dns"), QStringLiteral("dnsbackup")};
    QStringList before;
    for (const QString& name : made)
        before << QString::number(QFileInfo::exists(QDir(folder).filePath(name)));
    const CliRun run = cli({QStringLiteral("boot"), QStringLiteral("read"), bootFile()}, QStringLiteral("cancel"));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith(QStringLiteral("Attention!: %1 is a system folder.").arg(folder).toLatin1()),
             run.err.constData());
    QStringList after;
    for (const QString& name : made)
        after << QString::number(QFileInfo::exists(QDir(folder).filePath(name)));
    QCOMPARE(after, before);
}

QTEST_GUILESS_MAIN(TstConfinement)
#include "tst_confinement.moc"
