// The completion of the names of imported zones: the qualifying rule, the rewritten record lines, the pass over
// a server's primary zones with its stop at a zone without a whole start of authority, and the repaired files
// checked by named-checkzone.

#include "checks/tldlist.h"
#include "sandbox.h"
#include "server/bootload.h"
#include "server/importedzones.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonereader.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

// What the name server's checker says against the zone; empty when it loads.
QString checkZone(const QString& zone, const QString& file)
{
    const ZoneCheck check = checkZoneFile(zone, file);
    if (!check.ran)
        return QStringLiteral("named-checkzone (bind9-utils) could not be run");
    return check.exitCode == 0 ? QString() : check.output.join(QLatin1Char('\n'));
}

// A server of the given zones in "win", its data directory "win/data", read as loading reads it.
struct ZoneServer : Sandbox
{
    void write(const QStringList& zones, const QList<QByteArray>& files)
    {
        QByteArray boot = "directory C:\\\\win\\\\data\r\ncache . cache.dns\r\n";
        for (qsizetype i = 0; i < zones.size(); ++i) {
            boot += "primary " + zones.at(i).toLatin1() + " " + zones.at(i).toLatin1() + ".dns\r\n";
            file(QStringLiteral("win/data/") + zones.at(i) + QStringLiteral(".dns"), files.at(i));
        }
        file(QStringLiteral("win/data/cache.dns"), "; hints\r\n");
        file(QStringLiteral("win/named.boot"), boot);
        state.pendingBootFilePath = path(QStringLiteral("win/named.boot"));
        state.pendingServerId = QStringLiteral("ns9@example.com.");
        BootContext context{state, store, prompter};
        QVERIFY(readBootFile(context, false).ok());
    }

    void qualify() { qualifyImportedZones(state, prompter, progress); }
    QByteArray zoneFile(const QString& zone) const { return bytes(QStringLiteral("win/data/") + zone + ".dns"); }
};

const QByteArray kRelative = "relative.net. IN SOA ns1 hostmaster ( 7 10800 3600 604800 86400 )\r\n"
                             "relative.net. IN NS ns1\r\n"
                             "ns1 IN A 10.1.1.1\r\n";

} // namespace

class TstImportedZones : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void qualifyingRule_data();
    void qualifyingRule();
    void hostLines_data();
    void hostLines();
    void nameServerLines_data();
    void nameServerLines();
    void mailServerLines_data();
    void mailServerLines();
    void aliasLines_data();
    void aliasLines();
    void importRepairsTheZones();
    void takeControlRepairsTheServersOwnFiles();
    void secondaryImportRepairsNothing();
    void zoneUnderAtIsNotWritten();
    void zoneWithoutStartOfAuthorityStopsThePass();
    void incompleteStartOfAuthorityStopsThePass();
    void recordsWithTheirOwnTtlAreKept();
    void zoneNamedWithItsPoint();
    void namesRelativeToAnOriginOfTheFileAreReadAsTheNameServerReadsThem();
};

void TstImportedZones::qualifyingRule_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("qualified");
    QTest::newRow("at") << QStringLiteral("@") << QStringLiteral("@");
    QTest::newRow("complete") << QStringLiteral("mail.other.org.") << QStringLiteral("mail.other.org.");
    QTest::newRow("single label") << QStringLiteral("www") << QStringLiteral("www.zone.example.");
    QTest::newRow("two labels") << QStringLiteral("www.sub") << QStringLiteral("www.sub.zone.example.");
    QTest::newRow("known top-level domain")
        << QStringLiteral("mail.partner.com") << QStringLiteral("mail.partner.com.");
    QTest::newRow("country extension") << QStringLiteral("ns.partner.de") << QStringLiteral("ns.partner.de.");
    QTest::newRow("in capitals") << QStringLiteral("MAIL.PARTNER.COM") << QStringLiteral("MAIL.PARTNER.COM.");
    QTest::newRow("unknown ending") << QStringLiteral("host.internal") << QStringLiteral("host.internal.zone.example.");
}

void TstImportedZones::qualifyingRule()
{
    QFETCH(QString, name);
    QFETCH(QString, qualified);
    TldList tlds;
    QCOMPARE(qualifyImportedName(name, QStringLiteral("zone.example"), tlds), qualified);
}

void TstImportedZones::hostLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program layout") << QStringLiteral("www     IN     A     10.0.0.1 ")
                                    << QStringLiteral("www.a.org.     IN     A     10.0.0.1 ");
    QTest::newRow("tabs") << QStringLiteral("www\tIN\tA\t10.0.0.1") << QStringLiteral("www.a.org.\tIN\tA\t10.0.0.1");
    QTest::newRow("complete") << QStringLiteral("www.a.org. IN A 10.0.0.1")
                              << QStringLiteral("www.a.org. IN A 10.0.0.1");
    QTest::newRow("known ending") << QStringLiteral("www.a.org IN A 10.0.0.1")
                                  << QStringLiteral("www.a.org. IN A 10.0.0.1");
    QTest::newRow("at") << QStringLiteral("@ IN A 10.0.0.1") << QStringLiteral("@ IN A 10.0.0.1");
}

void TstImportedZones::hostLines()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(qualifiedHostLine(line, QStringLiteral("a.org"), TldList()), expected);
}

void TstImportedZones::nameServerLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("relative") << QStringLiteral("a.org. IN NS ns1") << QStringLiteral("a.org. IN NS ns1.a.org.");
    QTest::newRow("trailing blank dropped")
        << QStringLiteral("@     IN     NS     ns1 ") << QStringLiteral("@     IN     NS     ns1.a.org.");
    QTest::newRow("tabs") << QStringLiteral("a.org.\tIN\tNS\tns.partner.com")
                          << QStringLiteral("a.org.\tIN\tNS\tns.partner.com.");
    QTest::newRow("complete keeps its blank")
        << QStringLiteral("@     IN     NS     ns1.a.org. ") << QStringLiteral("@     IN     NS     ns1.a.org. ");
}

void TstImportedZones::nameServerLines()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(qualifiedNameServerLine(line, QStringLiteral("a.org"), TldList()), expected);
}

void TstImportedZones::mailServerLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("relative") << QStringLiteral("a.org. IN MX 10 mail")
                              << QStringLiteral("a.org. IN MX 10 mail.a.org.");
    QTest::newRow("program layout") << QStringLiteral("@     IN     MX     10     mail ")
                                    << QStringLiteral("@     IN     MX     10     mail.a.org.");
    QTest::newRow("tabs") << QStringLiteral("a.org.\tIN\tMX\t20\tmx.partner.com")
                          << QStringLiteral("a.org.\tIN\tMX\t20\tmx.partner.com.");
    QTest::newRow("complete") << QStringLiteral("a.org. IN MX 10 mx.b.net.")
                              << QStringLiteral("a.org. IN MX 10 mx.b.net.");
}

void TstImportedZones::mailServerLines()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(qualifiedMailServerLine(line, QStringLiteral("a.org"), TldList()), expected);
}

void TstImportedZones::aliasLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("both relative") << QStringLiteral("ftp\tIN\tCNAME\twww")
                                   << QStringLiteral("ftp.a.org.     IN     CNAME     www.a.org.");
    QTest::newRow("alias relative") << QStringLiteral("ftp IN CNAME www.a.org. ")
                                    << QStringLiteral("ftp.a.org.     IN     CNAME     www.a.org.");
    QTest::newRow("target relative") << QStringLiteral("ftp.a.org. IN CNAME www")
                                     << QStringLiteral("ftp.a.org.     IN     CNAME     www.a.org.");
    QTest::newRow("complete stays as read")
        << QStringLiteral("ftp.a.org. IN CNAME www.a.org. ") << QStringLiteral("ftp.a.org. IN CNAME www.a.org. ");
}

void TstImportedZones::aliasLines()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QCOMPARE(qualifiedAliasLine(line, QStringLiteral("a.org"), TldList()), expected);
}

void TstImportedZones::importRepairsTheZones()
{
    ImportBox box;
    const QMap<QString, QByteArray> before = treeChecksums(box.path(QStringLiteral("src")));
    const QString source = box.path(QStringLiteral("src/dns/data/handwritten.org.dns"));
    // Before the repair the hand-written zone names a name server inside the zone that does not exist.
    QVERIFY(!checkZone(QStringLiteral("handwritten.org"), source).isEmpty());

    box.prompter.expectMessage(QStringLiteral("Attention!"),
                               QStringLiteral("Your server has been successfully imported."));
    QVERIFY(box.run(ImportMode::Import, box.byName()));
    QCOMPARE(treeChecksums(box.path(QStringLiteral("src"))), before);
    const QString zones = box.path(QStringLiteral("dest/quorvane/zones/"));
    QCOMPARE(readBytes(zones + QStringLiteral("example.com.dns")),
             box.bytes(QStringLiteral("src/dns/data/example.com.dns")));
    for (const QString& zone : {QStringLiteral("handwritten.org"), QStringLiteral("written-out.net")})
        QCOMPARE(readBytes(zones + zone + QStringLiteral(".dns")),
                 readBytes(testDataPath(QStringLiteral("newserver/repaired/") + zone + QStringLiteral(".dns"))));
    for (const QString& zone :
         {QStringLiteral("example.com"), QStringLiteral("handwritten.org"), QStringLiteral("written-out.net")}) {
        const QString problems = checkZone(zone, zones + zone + QStringLiteral(".dns"));
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }
    // The serial is not raised.
    QVERIFY(readBytes(zones + QStringLiteral("handwritten.org.dns")).contains("\r\n2025123101\r\n"));
    QCOMPARE(box.state.setup.runningSerial, QStringLiteral("2026120701"));
}

void TstImportedZones::takeControlRepairsTheServersOwnFiles()
{
    ImportBox box;
    box.file(QStringLiteral("ns3/named.boot"), "directory C:\\\\src\\\\dns\\\\data\r\ncache . root.cache\r\n"
                                               "primary handwritten.org handwritten.org.dns\r\n");
    box.fields.name = QStringLiteral("ns3");
    ImportRequest request;
    request.sourceWindowsDirectory = box.path(QStringLiteral("ns3"));
    box.prompter.expectMessage(QStringLiteral("Attention!"),
                               QStringLiteral("Your server has been successfully imported."));
    QVERIFY(box.run(ImportMode::TakeControl, request));
    QCOMPARE(box.bytes(QStringLiteral("src/dns/data/handwritten.org.dns")),
             readBytes(testDataPath(QStringLiteral("newserver/repaired/handwritten.org.dns"))));
}

void TstImportedZones::secondaryImportRepairsNothing()
{
    ImportBox box;
    box.fields.secondary = true;
    box.file(QStringLiteral("ns3/named.boot"), "directory C:\\\\src\\\\dns\\\\data\r\ncache . root.cache\r\n"
                                               "primary handwritten.org handwritten.org.dns\r\n");
    box.fields.name = QStringLiteral("ns3");
    ImportRequest request;
    request.sourceWindowsDirectory = box.path(QStringLiteral("ns3"));
    const QByteArray before = box.bytes(QStringLiteral("src/dns/data/handwritten.org.dns"));
    box.prompter.expectMessage(QStringLiteral("Attention!"),
                               QStringLiteral("Your server has been successfully imported."));
    QVERIFY(box.run(ImportMode::TakeControl, request));
    QCOMPARE(box.bytes(QStringLiteral("src/dns/data/handwritten.org.dns")), before);
}

void TstImportedZones::zoneUnderAtIsNotWritten()
{
    ZoneServer server;
    const QByteArray at =
        "@ IN SOA ns1 hostmaster ( 7 10800 3600 604800 86400 )\r\n@ IN NS ns1\r\nns1 IN A 10.1.1.1\r\n";
    server.write({QStringLiteral("at.net")}, {at});
    const QFileInfo before(server.path(QStringLiteral("win/data/at.net.dns")));
    const QDateTime written = before.lastModified();
    QTest::qWait(20);
    server.qualify();
    QCOMPARE(server.zoneFile(QStringLiteral("at.net")), at);
    QCOMPARE(QFileInfo(server.path(QStringLiteral("win/data/at.net.dns"))).lastModified(), written);
    QCOMPARE(server.prompter.prompts().size(), 0);
}

void TstImportedZones::zoneWithoutStartOfAuthorityStopsThePass()
{
    ZoneServer server;
    const QByteArray noSoa = "b.net. IN NS ns1.b.net.\r\nns1.b.net. IN A 10.2.2.2\r\n";
    const QByteArray relativeC = QByteArray(kRelative).replace("relative.net", "c.net");
    server.write({QStringLiteral("a.net"), QStringLiteral("b.net"), QStringLiteral("c.net")},
                 {QByteArray(kRelative).replace("relative.net", "a.net"), noSoa, relativeC});
    server.prompter.expectMessage(QStringLiteral("Information"),
                                  QStringLiteral("A serious error was found in zone file: b.net.dns. This file must be "
                                                 "manually repaired."));
    server.qualify();
    QVERIFY(server.zoneFile(QStringLiteral("a.net")).contains("\r\nns1.a.net.     IN     A     10.1.1.1 \r\n"));
    QVERIFY(server.zoneFile(QStringLiteral("a.net")).startsWith(";[*-Quorvane-*]\r\n"));
    QCOMPARE(server.zoneFile(QStringLiteral("b.net")), noSoa);
    QCOMPARE(server.zoneFile(QStringLiteral("c.net")), relativeC);
    QCOMPARE(server.prompter.pending(), 0);
}

void TstImportedZones::incompleteStartOfAuthorityStopsThePass()
{
    ZoneServer server;
    const QByteArray shortSoa = "d.net. IN SOA ns1.d.net. hostmaster.d.net. ( 7 10800 3600 )\r\n"
                                "ns1 IN A 10.4.4.4\r\n";
    server.write({QStringLiteral("d.net")}, {shortSoa});
    // No scanner reads the start of authority: it is kept as a comment, and the zone has none.
    server.prompter.expectMessage(
        QStringLiteral("Attention!"),
        unreadableLinesText(QStringLiteral("d.net.dns"), {QStringLiteral("line 1 (invalid number)")}));
    server.prompter.expectMessage(QStringLiteral("Information"),
                                  QStringLiteral("A serious error was found in zone file: d.net.dns. This file must be "
                                                 "manually repaired."));
    server.qualify();
    QCOMPARE(server.zoneFile(QStringLiteral("d.net")), shortSoa);
}

// A record with a time to live of its own was once left out of the rewritten zone; it is kept, with it.
void TstImportedZones::recordsWithTheirOwnTtlAreKept()
{
    ZoneServer server;
    server.write({QStringLiteral("e.net")},
                 {QByteArray(kRelative).replace("relative.net", "e.net") + "www 3600 IN A 10.5.5.5\r\n"});
    server.qualify();
    QCOMPARE(server.prompter.prompts().size(), 0);
    const QByteArray written = server.zoneFile(QStringLiteral("e.net"));
    QVERIFY(written.contains("\r\n;[Other Records]\r\nwww.e.net.     3600     IN     A     10.5.5.5 \r\n;\r\n"));
    QVERIFY(written.contains("\r\ne.net.     IN     NS     ns1.e.net.\r\n"));
    const QString problems = checkZone(QStringLiteral("e.net"), server.path(QStringLiteral("win/data/e.net.dns")));
    QVERIFY2(problems.isEmpty(), qPrintable(problems));
}

void TstImportedZones::zoneNamedWithItsPoint()
{
    ZoneServer server;
    server.write({QStringLiteral("f.net.")}, {QByteArray(kRelative).replace("relative.net", "f.net")});
    server.qualify();
    QVERIFY(server.zoneFile(QStringLiteral("f.net.")).contains("\r\nns1.f.net.     IN     A     10.1.1.1 \r\n"));
    QCOMPARE(server.prompter.prompts().size(), 0);
}

// The qualifying rule is for the names a file leaves relative to its zone; a name relative to an "$ORIGIN" of
// the file, a blank owner and the names of other record types mean what the name server makes of them.
void TstImportedZones::namesRelativeToAnOriginOfTheFileAreReadAsTheNameServerReadsThem()
{
    ZoneServer server;
    const QByteArray zone = "g.net. IN SOA ns1 hostmaster ( 7 10800 3600 604800 86400 )\r\n"
                            "g.net. IN NS ns.partner.com\r\n"
                            "www IN CNAME web.partner.com\r\n"
                            "$ORIGIN sub.g.net.\r\n"
                            "ftp IN CNAME files.partner.com\r\n"
                            "    IN TXT \"sub\"\r\n"
                            "h IN A 10.7.7.7\r\n"
                            "  IN AAAA ::7\r\n";
    server.write({QStringLiteral("g.net")}, {zone});
    server.qualify();
    QCOMPARE(server.prompter.prompts().size(), 0);
    const QByteArray written = server.zoneFile(QStringLiteral("g.net"));
    QVERIFY(written.contains("\r\ng.net.     IN     NS     ns.partner.com.\r\n"));
    QVERIFY(written.contains("\r\nwww.g.net.     IN     CNAME     web.partner.com. \r\n"));
    QVERIFY(written.contains("\r\nftp.sub.g.net.     IN     CNAME     files.partner.com.sub.g.net. \r\n"));
    QVERIFY(written.contains("\r\nftp.sub.g.net.     IN     TXT     \"sub\" \r\n"));
    QVERIFY(written.contains("\r\nh.sub.g.net.     IN     A     10.7.7.7 \r\n"));
    QVERIFY(written.contains("\r\nh.sub.g.net.     IN     AAAA     ::7\r\n"));
    // The file as it came is kept.
    QCOMPARE(server.bytes(QStringLiteral("win/data/dnsbackup/g.net.dns.orig")), zone);
}

QTEST_GUILESS_MAIN(TstImportedZones)
#include "tst_importedzones.moc"
