// The history of a server's files through the real quorvane-cli: every changing command one revision in words of
// its own, undone and reverted as new revisions, read back by Git itself; two processes at once; a history that
// cannot be written; the preview before the name server reloads.
#include "fakendc.h"
#include "server/history/serverhistory.h"
#include "support/clirun.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");

struct Step
{
    QStringList arguments; // after the server
    QString description;
};

} // namespace

class TstHistoryCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void operationsUndoneLeaveEveryFileAsBefore();
    void everyRecordChangeNamesItself_data();
    void everyRecordChangeNamesItself();
    void firstLoadKeepsTheFilesAsFound();
    void firstRevisionOfManyZonesIsOnePack();
    void diffAndZoneFilterShowOneRevision();
    void revertIsANewRevisionThatCanBeUndone();
    void undoAsksBeforeOverwritingAnOutsideChange();
    void twoProcessesEachGetTheirOwnRevisions();
    void historyThatCannotBeWrittenIsReported();
    void previewShowsTheChangesSinceTheLastReload();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("winnt/named.boot")); }
    QString dataDir() const { return path(QStringLiteral("dns")); }
    QString gitDir() const { return ServerHistory::gitDirectory(dataDir()); }
    CliRun cli(const QStringList& arguments, const QString& answers = QStringLiteral("ok")) const
    {
        return runCli(QStringList{QStringLiteral("--identity"), kIdentity, QStringLiteral("--answers"), answers} +
                          arguments,
                      m_dir->path());
    }
    // The command's words, the server, the rest.
    CliRun onServer(const QStringList& arguments, const QString& answers = QStringLiteral("ok")) const
    {
        static const QStringList twoWords{QStringLiteral("boot"), QStringLiteral("record"), QStringLiteral("zone"),
                                          QStringLiteral("secondary")};
        const qsizetype words = twoWords.contains(arguments.first()) ? 2 : 1;
        return cli(arguments.mid(0, words) + QStringList{bootFile()} + arguments.mid(words), answers);
    }
    // Every file of the server's two folders but its history, by its path inside the test folder.
    QMap<QString, QByteArray> serverFiles() const;
    // The descriptions "history" prints, newest first.
    QStringList historyDescriptions(const QString& zone = QString()) const;
    QStringList gitLog(const QStringList& arguments) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeNdc> m_ndc;
};

void TstHistoryCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("winnt/system32")));
    QDir().mkpath(dataDir());
    QVERIFY(writeBytes(bootFile(), "directory     " + dataDir().toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"),
                       readBytes(testDataPath(QStringLiteral("editors/example.com.dns")))));
    m_ndc = std::make_unique<FakeNdc>(path(QStringLiteral("winnt")));
    // The files once in the program's layout, and no history yet: a server as an earlier version left it.
    QCOMPARE(onServer({QStringLiteral("boot"), QStringLiteral("read")}).status, 0);
    QVERIFY(QDir(gitDir()).removeRecursively());
}

void TstHistoryCli::cleanup()
{
    m_ndc.reset();
}

QMap<QString, QByteArray> TstHistoryCli::serverFiles() const
{
    QMap<QString, QByteArray> files;
    for (const QString& folder : {path(QStringLiteral("winnt")), dataDir()}) {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (!file.startsWith(gitDir()))
                files.insert(QDir(m_dir->path()).relativeFilePath(file), readBytes(file));
        }
    }
    return files;
}

QStringList TstHistoryCli::historyDescriptions(const QString& zone) const
{
    const CliRun run = onServer(zone.isEmpty() ? QStringList{QStringLiteral("history")}
                                               : QStringList{QStringLiteral("history"), zone});
    if (run.status != 0)
        return {QStringLiteral("history failed: ") + QString::fromLocal8Bit(run.err)};
    QStringList descriptions;
    for (const QString& line : QString::fromLocal8Bit(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        descriptions << line.section(QStringLiteral("  "), 3);
    return descriptions;
}

QStringList TstHistoryCli::gitLog(const QStringList& arguments) const
{
    QProcess git;
    git.start(QStringLiteral("git"), QStringList{QStringLiteral("--git-dir=") + gitDir()} + arguments);
    if (!git.waitForFinished(30000) || git.exitCode() != 0)
        return {QStringLiteral("git failed: ") + QString::fromLocal8Bit(git.readAllStandardError())};
    return QString::fromUtf8(git.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void TstHistoryCli::operationsUndoneLeaveEveryFileAsBefore()
{
    const QMap<QString, QByteArray> before = serverFiles();
    QCOMPARE(historyDescriptions(), QStringList{QStringLiteral("Files as found")});

    const QList<Step> steps = {
        {{"record", "add", "example.com", "host", "www2", "10.0.0.9"}, "Add host www2.example.com 10.0.0.9"},
        {{"record", "add", "example.com", "alias", "ftp", "www2.example.com"},
         "Add alias ftp.example.com www2.example.com"},
        {{"record", "add", "example.com", "mx", "mail2.example.com", "20"},
         "Add mail server example.com 20 mail2.example.com"},
        {{"record", "change", "example.com", "host", "1", "ns1", "10.0.0.11"},
         "Change host ns1.example.com 10.0.0.1 to 10.0.0.11"},
        {{"record", "delete", "example.com", "alias", "1"}, "Delete alias www.example.com ns1.example.com"},
        {{"record", "change", "example.com", "soa", "Refresh", "2000"}, "Change start of authority of example.com"},
        {{"record", "add", "example.com", "person", "joe", "joe@example.com", "Joe Bloggs"},
         "Add responsible person joe joe.example.com"},
        {{"zone", "fastadd", "foo.org"}, "Add primary zone foo.org"},
        {{"secondary", "add", "sec.net", "10.1.1.1"}, "Add secondary zone sec.net"},
        {{"options", "set", "--forwarder", "10.9.9.9"}, "Change boot options"},
        {{"reverse"}, "Reverse mapping: 2 files"},
        {{"zone", "delete", "foo.org"}, "Delete primary zone foo.org"},
        {{"secondary", "delete", "sec.net"}, "Delete secondary zone sec.net"},
        {{"zone", "create", "bar.net", "--host", "www=10.0.5.5"}, "Add primary zone bar.net"},
    };
    QStringList expected{QStringLiteral("Files as found")};
    for (const Step& step : steps) {
        const CliRun run = onServer(step.arguments, QStringLiteral("ok,ok,yes"));
        QVERIFY2(run.status == 0, qPrintable(step.arguments.join(' ') + ": " + QString::fromLocal8Bit(run.err)));
        expected.prepend(step.description);
        QCOMPARE(historyDescriptions().first(), step.description);
    }
    QCOMPARE(historyDescriptions(), expected);
    QCOMPARE(gitLog({QStringLiteral("log"), QStringLiteral("--format=%s")}), expected);
    QUORVANE_VERIFY_ZONES_LOAD(bootFile(), dataDir());

    for (qsizetype i = 0; i < steps.size(); ++i) {
        const CliRun undo = onServer({QStringLiteral("undo")});
        QVERIFY2(undo.status == 0, undo.err.constData());
        QCOMPARE(historyDescriptions().first(), QStringLiteral("Undo: ") + steps.at(steps.size() - 1 - i).description);
    }
    const QMap<QString, QByteArray> after = serverFiles();
    QCOMPARE(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
    // Nothing is rewritten: the undone revisions are all still there, and Git finds the store sound.
    QCOMPARE(gitLog({QStringLiteral("rev-list"), QStringLiteral("--count"), QStringLiteral("HEAD")}),
             QStringList{QString::number(2 * steps.size() + 1)});
    const QStringList fsck = gitLog({QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY2(fsck.isEmpty() || !fsck.first().startsWith(QLatin1String("git failed")), qPrintable(fsck.join('\n')));
    const CliRun nothing = onServer({QStringLiteral("undo")});
    QCOMPARE(nothing.status, 1);
    QCOMPARE(QString::fromLocal8Bit(nothing.err), QStringLiteral("Attention!: There is no change to undo.\n"));
}

// Each editor names the record it added, changed or deleted with its values, whatever the record's kind; the
// description is the editor's own, not read back from the zone file.
void TstHistoryCli::everyRecordChangeNamesItself_data()
{
    QTest::addColumn<QList<QStringList>>("before"); // commands run first
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("description");
    using Commands = QList<QStringList>;
    const QStringList addNs{"record", "add", "example.com", "ns", "ns2.example.net"};
    const QStringList addPerson{"record", "add", "example.com", "person", "joe", "joe@example.com", "Joe Bloggs"};
    const QStringList addSrv{"record", "add", "example.com", "other", "_sip._tcp",       "-",
                             "SRV",    "0",   "5",           "5060",  "ns1.example.com."};
    QTest::newRow("host added") << Commands() << QStringList{"record", "add", "example.com", "host", "www2", "10.0.0.9"}
                                << "Add host www2.example.com 10.0.0.9";
    QTest::newRow("host changed") << Commands()
                                  << QStringList{"record", "change", "example.com", "host", "2", "mail", "10.0.0.12"}
                                  << "Change host mail.example.com 10.0.0.2 to 10.0.0.12";
    QTest::newRow("host deleted") << Commands() << QStringList{"record", "delete", "example.com", "host", "2"}
                                  << "Delete host mail.example.com 10.0.0.2";
    QTest::newRow("alias added") << Commands()
                                 << QStringList{"record", "add", "example.com", "alias", "ftp", "ns1.example.com"}
                                 << "Add alias ftp.example.com ns1.example.com";
    QTest::newRow("alias changed") << Commands() << QStringList{"record", "change", "example.com",    "alias",
                                                                "1",      "web",    "ns1.example.com"}
                                   << "Change alias www.example.com ns1.example.com to web.example.com ns1.example.com";
    QTest::newRow("alias deleted") << Commands() << QStringList{"record", "delete", "example.com", "alias", "1"}
                                   << "Delete alias www.example.com ns1.example.com";
    QTest::newRow("name server added") << Commands() << addNs << "Add name server example.com ns2.example.net";
    QTest::newRow("name server changed") << Commands()
                                         << QStringList{"record", "change", "example.com", "ns", "1", "ns3.example.net"}
                                         << "Change name server example.com ns1.example.com to ns3.example.net";
    QTest::newRow("name server deleted") << Commands{addNs} << QStringList{"record", "delete", "example.com", "ns", "2"}
                                         << "Delete name server example.com ns2.example.net";
    QTest::newRow("mail server added") << Commands()
                                       << QStringList{"record", "add", "example.com", "mx", "mx.example.net", "20"}
                                       << "Add mail server example.com 20 mx.example.net";
    QTest::newRow("mail server changed") << Commands()
                                         << QStringList{"record",           "change", "example.com", "mx", "1",
                                                        "mail.example.com", "5"}
                                         << "Change mail server example.com 10 mail.example.com to 5 mail.example.com";
    QTest::newRow("mail server deleted") << Commands() << QStringList{"record", "delete", "example.com", "mx", "1"}
                                         << "Delete mail server example.com 10 mail.example.com";
    QTest::newRow("person added") << Commands() << addPerson << "Add responsible person joe joe.example.com";
    QTest::newRow("person changed") << Commands{addPerson}
                                    << QStringList{"record", "change", "example.com",    "person",
                                                   "1",      "joe",    "jo@example.com", "Joe Bloggs"}
                                    << "Change responsible person joe joe.example.com to jo.example.com";
    QTest::newRow("person deleted") << Commands{addPerson}
                                    << QStringList{"record", "delete", "example.com", "person", "1"}
                                    << "Delete responsible person joe joe.example.com";
    QTest::newRow("other record added") << Commands() << addSrv
                                        << "Add SRV record _sip._tcp.example.com 0 5 5060 ns1.example.com";
    QTest::newRow("other record changed")
        << Commands{addSrv} << QStringList{"record", "change", "example.com", "other", "1",    "_sip._tcp",
                                           "3600",   "SRV",    "0",           "5",     "5061", "ns1.example.com."}
        << "Change SRV record _sip._tcp.example.com 0 5 5060 ns1.example.com to TTL 3600 0 5 5061 ns1.example.com";
    QTest::newRow("other record deleted")
        << Commands{addSrv} << QStringList{"record", "delete", "example.com", "other", "1"}
        << "Delete SRV record _sip._tcp.example.com 0 5 5060 ns1.example.com";
    QTest::newRow("text record added") << Commands() << QStringList{"record", "add", "example.com", "other",
                                                                    "@",      "-",   "TXT",         "\"v=spf1 -all\""}
                                       << "Add text example.com \"v=spf1 -all\"";
    QTest::newRow("start of authority changed")
        << Commands() << QStringList{"record", "change", "example.com", "soa", "Expire", "1209600"}
        << "Change start of authority of example.com";
}

void TstHistoryCli::everyRecordChangeNamesItself()
{
    QFETCH(QList<QStringList>, before);
    QFETCH(QStringList, command);
    QFETCH(QString, description);
    for (const QStringList& step : before) {
        const CliRun run = onServer(step, QStringLiteral("ok,ok,yes"));
        QVERIFY2(run.status == 0, run.err.constData());
    }
    // The mail server names the host deleted: asked whether it goes too, it is kept.
    const bool pointedTo = QByteArray(QTest::currentDataTag()) == "host deleted";
    const CliRun run = onServer(command, pointedTo ? QStringLiteral("no") : QStringLiteral("ok,ok,yes"));
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(historyDescriptions().first(), description);
    QUORVANE_VERIFY_ZONES_LOAD(bootFile(), dataDir());
}

void TstHistoryCli::firstLoadKeepsTheFilesAsFound()
{
    const QByteArray found = "directory     " + dataDir().toLatin1() +
                             "\ncache . cache.dns\nprimary example.com "
                             "example.com.dns\n";
    QVERIFY(writeBytes(bootFile(), found));
    const QByteArray zone = readBytes(dataDir() + QStringLiteral("/example.com.dns"));
    QCOMPARE(onServer({QStringLiteral("history")}).status, 0);
    QCOMPARE(historyDescriptions(), (QStringList{QStringLiteral("Load server NS1"), QStringLiteral("Files as found")}));
    QCOMPARE(gitLog({QStringLiteral("show"), QStringLiteral("HEAD~1:named.boot")}),
             QString::fromLatin1(found).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    QCOMPARE(gitLog({QStringLiteral("ls-tree"), QStringLiteral("-r"), QStringLiteral("--name-only"),
                     QStringLiteral("HEAD~1")}),
             (QStringList{QStringLiteral("50/cache.dns"), QStringLiteral("e8/example.com.dns"),
                          QStringLiteral("named.boot")}));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), zone);
}

// Thousands of zones would be thousands of object files: the first revision of a large server is one pack.
void TstHistoryCli::firstRevisionOfManyZonesIsOnePack()
{
    constexpr int kZones = 300;
    QByteArray boot = "directory " + dataDir().toLatin1() + "\ncache . cache.dns\n";
    // The last ten alike, as a hosting server's parked domains are: their contents are kept once.
    constexpr int kAlike = 10;
    for (int i = 0; i < kZones; ++i) {
        const QByteArray name = "zone" + QByteArray::number(i) + ".example";
        boot += "primary " + name + " " + name + ".dns\n";
        QVERIFY(writeBytes(dataDir() + QStringLiteral("/") + QString::fromLatin1(name) + QStringLiteral(".dns"),
                           i < kZones - kAlike ? QByteArray("; the zone file of " + name + "\r\n")
                                               : QByteArray("; parked\r\n")));
    }
    QVERIFY(writeBytes(bootFile(), boot));
    const CliRun run = onServer({QStringLiteral("history")});
    QVERIFY2(run.status == 0, run.err.constData());
    QCOMPARE(historyDescriptions(), (QStringList{QStringLiteral("Load server NS1"), QStringLiteral("Files as found")}));

    // Every file under its own name with its own bytes.
    const QStringList names = gitLog(
        {QStringLiteral("ls-tree"), QStringLiteral("-r"), QStringLiteral("--name-only"), QStringLiteral("HEAD~1")});
    QCOMPARE(names.size(), kZones + 2); // the zones, cache.dns and named.boot
    const auto held = [this, &names](const QString& fileName) {
        const auto path = std::find_if(names.cbegin(), names.cend(), [&fileName](const QString& name) {
            return name.endsWith(QLatin1Char('/') + fileName);
        });
        return path == names.cend() ? QStringList{fileName + QStringLiteral(" is missing")}
                                    : gitLog({QStringLiteral("show"), QStringLiteral("HEAD~1:") + *path});
    };
    for (const int i : {0, 150, kZones - kAlike - 1}) {
        const QString zone = QStringLiteral("zone%1.example").arg(i);
        QCOMPARE(held(zone + QStringLiteral(".dns")),
                 QStringList{QStringLiteral("; the zone file of ") + zone + QStringLiteral("\r")});
    }
    QCOMPARE(held(QStringLiteral("zone%1.example.dns").arg(kZones - 1)), QStringList{QStringLiteral("; parked\r")});
    QCOMPARE(QDir(gitDir() + QStringLiteral("/objects/pack")).entryList({QStringLiteral("*.pack")}).size(), 1);
    const QStringList counts = gitLog({QStringLiteral("count-objects"), QStringLiteral("-v")});
    const auto inPack = std::find_if(counts.cbegin(), counts.cend(),
                                     [](const QString& line) { return line.startsWith(QLatin1String("in-pack: ")); });
    QVERIFY2(inPack != counts.cend(), qPrintable(counts.join('\n')));
    QCOMPARE(inPack->mid(9).toInt(), kZones - kAlike + 1 + 2); // and cache.dns and named.boot
    const QStringList fsck = gitLog({QStringLiteral("fsck"), QStringLiteral("--strict")});
    QVERIFY2(fsck.isEmpty() || !fsck.first().startsWith(QLatin1String("git failed")), qPrintable(fsck.join('\n')));

    // And the history goes on as before: a change on top of the packed revision, undone.
    const QByteArray before = readBytes(dataDir() + QStringLiteral("/zone7.example.dns"));
    QCOMPARE(onServer({QStringLiteral("undo")}).status, 0);
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/zone7.example.dns")), before);
}

void TstHistoryCli::diffAndZoneFilterShowOneRevision()
{
    QCOMPARE(onServer({QStringLiteral("record"), QStringLiteral("add"), QStringLiteral("example.com"),
                       QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")})
                 .status,
             0);
    QCOMPARE(onServer({QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("foo.org")}).status, 0);
    QCOMPARE(historyDescriptions(QStringLiteral("example.com")),
             (QStringList{QStringLiteral("Add host www2.example.com 10.0.0.9"), QStringLiteral("Files as found")}));
    QCOMPARE(historyDescriptions(QStringLiteral("foo.org")), QStringList{QStringLiteral("Add primary zone foo.org")});
    const CliRun unknown = onServer({QStringLiteral("history"), QStringLiteral("nowhere.net")});
    QCOMPARE(unknown.status, 1);
    QCOMPARE(QString::fromLocal8Bit(unknown.err), QStringLiteral("Error: The server has no zone nowhere.net.\n"));

    const QString id =
        gitLog({QStringLiteral("log"), QStringLiteral("--format=%h"), QStringLiteral("-1"), QStringLiteral("HEAD~1")})
            .value(0);
    const CliRun diff = onServer({QStringLiteral("diff"), id});
    QVERIFY2(diff.status == 0, diff.err.constData());
    const QStringList lines = QString::fromLocal8Bit(diff.out).split(QLatin1Char('\n'));
    QVERIFY2(lines.first().startsWith(id.left(8)) &&
                 lines.first().endsWith(QLatin1String("Add host www2.example.com 10.0.0.9")),
             qPrintable(lines.first()));
    QVERIFY(lines.contains(QStringLiteral("--- a/example.com.dns")));
    QVERIFY(lines.contains(QStringLiteral("+++ b/example.com.dns")));
    QVERIFY(lines.contains(QStringLiteral("+www2.example.com.     IN     A     10.0.0.9 ")));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^\\+[^+]"))).size(),
             3); // the host, the serial, the mailbox
    const CliRun missing = onServer({QStringLiteral("diff"), QStringLiteral("0123456789abcdef")});
    QCOMPARE(missing.status, 1);
    QCOMPARE(QString::fromLocal8Bit(missing.err),
             QStringLiteral("Attention!: The history holds no revision 0123456789abcdef.\n"));
}

void TstHistoryCli::revertIsANewRevisionThatCanBeUndone()
{
    QCOMPARE(onServer({QStringLiteral("boot"), QStringLiteral("read")}).status, 0);
    const QMap<QString, QByteArray> loaded = serverFiles();
    const QString loadedId = gitLog({QStringLiteral("rev-parse"), QStringLiteral("HEAD")}).value(0);
    QCOMPARE(onServer({QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("foo.org")}).status, 0);
    QCOMPARE(onServer({QStringLiteral("record"), QStringLiteral("add"), QStringLiteral("example.com"),
                       QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")})
                 .status,
             0);
    const QMap<QString, QByteArray> changed = serverFiles();

    const CliRun revert = onServer({QStringLiteral("revert"), loadedId.left(10)});
    QVERIFY2(revert.status == 0, revert.err.constData());
    QCOMPARE(serverFiles(), loaded);
    QCOMPARE(historyDescriptions().first(),
             QStringLiteral("Revert to revision %1: Files as found").arg(loadedId.left(8)));
    QCOMPARE(onServer({QStringLiteral("undo")}).status, 0);
    QCOMPARE(serverFiles(), changed);
    QCOMPARE(historyDescriptions().first(),
             QStringLiteral("Undo: Revert to revision %1: Files as found").arg(loadedId.left(8)));
}

void TstHistoryCli::undoAsksBeforeOverwritingAnOutsideChange()
{
    QCOMPARE(onServer({QStringLiteral("record"), QStringLiteral("add"), QStringLiteral("example.com"),
                       QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")})
                 .status,
             0);
    // Another program edits the zone after the change.
    const QString zone = dataDir() + QStringLiteral("/example.com.dns");
    const QByteArray edited = readBytes(zone) + "extra.example.com.     IN     A     10.0.0.77 \r\n";
    QVERIFY(writeBytes(zone, edited));

    const CliRun refused = onServer({QStringLiteral("undo")}, QStringLiteral("no"));
    QCOMPARE(refused.status, 1);
    QCOMPARE(QString::fromLocal8Bit(refused.err),
             QStringLiteral("Question!: The server was changed since this program last read it: example.com.dns by "
                            "another program. Overwrite those changes?\n"));
    QCOMPARE(readBytes(zone), edited);
    QCOMPARE(historyDescriptions().first(), QStringLiteral("Add host www2.example.com 10.0.0.9"));

    const CliRun agreed = onServer({QStringLiteral("undo")}, QStringLiteral("yes"));
    QVERIFY2(agreed.status == 0, agreed.err.constData());
    QVERIFY(!readBytes(zone).contains("www2.example.com."));
    QVERIFY(!readBytes(zone).contains("extra.example.com."));
    QCOMPARE(historyDescriptions().first(), QStringLiteral("Undo: Add host www2.example.com 10.0.0.9"));
}

void TstHistoryCli::twoProcessesEachGetTheirOwnRevisions()
{
    QCOMPARE(onServer({QStringLiteral("boot"), QStringLiteral("read")}).status, 0);
    constexpr int kEach = 8;
    // Two shells, each adding its own hosts one command after the other, at the same time.
    QProcess lanes[2];
    for (int lane = 0; lane < 2; ++lane) {
        QString script;
        for (int i = 0; i < kEach; ++i)
            script += QStringLiteral("\"$0\" --identity %1 --answers ok record add \"$1\" example.com host h%2x%3 "
                                     "10.%2.0.%3 >/dev/null || exit 1\n")
                          .arg(kIdentity)
                          .arg(lane + 1)
                          .arg(i + 1);
        lanes[lane].setProcessEnvironment(cliEnvironment(m_dir->path()));
        lanes[lane].start(QStringLiteral("/bin/sh"),
                          {QStringLiteral("-c"), script, QStringLiteral(QUORVANE_CLI), bootFile()});
    }
    for (QProcess& lane : lanes) {
        QVERIFY(lane.waitForFinished(240000));
        QVERIFY2(lane.exitCode() == 0, lane.readAllStandardError().constData());
    }
    const QStringList descriptions = historyDescriptions();
    QCOMPARE(descriptions.size(), 2 * kEach + 1);
    const QByteArray zone = readBytes(dataDir() + QStringLiteral("/example.com.dns"));
    for (int lane = 1; lane <= 2; ++lane) {
        for (int i = 1; i <= kEach; ++i) {
            const QString host = QStringLiteral("h%1x%2.example.com").arg(lane).arg(i);
            QVERIFY2(descriptions.contains(QStringLiteral("Add host %1 10.%2.0.%3").arg(host).arg(lane).arg(i)),
                     qPrintable(host));
            QVERIFY(zone.contains(QByteArray(host.toLatin1() + ".     IN     A")));
        }
    }
    // Each revision holds exactly its own host.
    const QStringList added = gitLog({QStringLiteral("log"), QStringLiteral("-p"), QStringLiteral("--format=")})
                                  .filter(QRegularExpression(QStringLiteral("^\\+h\\d+x\\d+\\.")));
    QCOMPARE(added.size(), 2 * kEach);
}

void TstHistoryCli::historyThatCannotBeWrittenIsReported()
{
    QDir().mkpath(dataDir() + QStringLiteral("/dnsbackup"));
    // A file where the history's folder would go.
    QVERIFY(writeBytes(gitDir(), "in the way"));
    const CliRun run = onServer({QStringLiteral("record"), QStringLiteral("add"), QStringLiteral("example.com"),
                                 QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")});
    QCOMPARE(run.status, 1);
    const QString err = QString::fromLocal8Bit(run.err);
    QVERIFY2(err.contains(QStringLiteral("Attention!: The change was made, but the server's history could not record "
                                         "it: The history %1 could not be made: ")
                              .arg(gitDir())),
             qPrintable(err));
    QVERIFY(readBytes(dataDir() + QStringLiteral("/example.com.dns")).contains("www2.example.com."));
}

void TstHistoryCli::previewShowsTheChangesSinceTheLastReload()
{
    QCOMPARE(cli({QStringLiteral("ndc"), bootFile(), QStringLiteral("reload")}).status, 0);
    QCOMPARE(gitLog({QStringLiteral("rev-parse"), QStringLiteral("refs/quorvane/loaded")}),
             gitLog({QStringLiteral("rev-parse"), QStringLiteral("HEAD")}));
    m_ndc->clearRuns();

    const CliRun unchanged =
        cli({QStringLiteral("ndc"), bootFile(), QStringLiteral("reload"), QStringLiteral("--preview")},
            QStringLiteral("no"));
    QCOMPARE(unchanged.status, 1);
    QCOMPARE(unchanged.out, QByteArray("No changes since the name server last loaded the files.\n"));
    QCOMPARE(unchanged.err, QByteArray("Question!: Apply these changes?\n"));
    QVERIFY(m_ndc->runs().isEmpty());

    QCOMPARE(onServer({QStringLiteral("record"), QStringLiteral("add"), QStringLiteral("example.com"),
                       QStringLiteral("host"), QStringLiteral("www2"), QStringLiteral("10.0.0.9")})
                 .status,
             0);
    QCOMPARE(onServer({QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("foo.org")}).status, 0);
    const CliRun declined =
        cli({QStringLiteral("ndc"), bootFile(), QStringLiteral("reload"), QStringLiteral("--preview")},
            QStringLiteral("no"));
    QCOMPARE(declined.status, 1);
    const QStringList lines = QString::fromLocal8Bit(declined.out).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("+++ b/example.com.dns")));
    QVERIFY(lines.contains(QStringLiteral("+www2.example.com.     IN     A     10.0.0.9 ")));
    QVERIFY(lines.contains(QStringLiteral("--- a/named.boot")));
    QVERIFY(lines.contains(QStringLiteral("+primary     foo.org     foo.org.DNS")));
    QVERIFY(lines.contains(QStringLiteral("--- /dev/null")));
    QVERIFY(lines.contains(QStringLiteral("+++ b/foo.org.DNS")));
    QVERIFY(m_ndc->runs().isEmpty());

    const CliRun applied =
        cli({QStringLiteral("ndc"), bootFile(), QStringLiteral("reload"), QStringLiteral("--preview")},
            QStringLiteral("yes"));
    QVERIFY2(applied.status == 0, applied.err.constData());
    QCOMPARE(m_ndc->runs(), QStringList{QStringLiteral("[RELOAD][\\\\NS1]")});
    QCOMPARE(gitLog({QStringLiteral("rev-parse"), QStringLiteral("refs/quorvane/loaded")}),
             gitLog({QStringLiteral("rev-parse"), QStringLiteral("HEAD")}));
    const CliRun after = cli({QStringLiteral("ndc"), bootFile(), QStringLiteral("reload"), QStringLiteral("--preview")},
                             QStringLiteral("no"));
    QCOMPARE(after.out, QByteArray("No changes since the name server last loaded the files.\n"));
}

QTEST_GUILESS_MAIN(TstHistoryCli)
#include "tst_historycli.moc"
