// Zone files written elsewhere put in context-free form: names, times to live, directives and the lines no
// scanner reads, each against what BIND 9 makes of the same text.
#include "platform/filereading.h"
#include "support/testfiles.h"
#include "zone/generatedirective.h"
#include "zone/legacyrecord.h"
#include "zone/zonenormaliser.h"
#include "zone/zonetext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

NormalisedZone normalised(const QByteArray& text, const QString& dataDirectory = QString())
{
    return normaliseZone(text, QStringLiteral("example.com"), dataDirectory);
}

const QByteArray kSoa = "@ IN SOA ns hm 1 2 3 4 300\n";
const QString kSoaLine = QStringLiteral("example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300");

} // namespace

class TstZoneNormaliser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void recordsBecomeContextFree_data();
    void recordsBecomeContextFree();
    void timesToLive_data();
    void timesToLive();
    void kindsTellTheListsWhatTheyTake_data();
    void kindsTellTheListsWhatTheyTake();
    void unreadableLinesAreKeptAsComments_data();
    void unreadableLinesAreKeptAsComments();
    void includesInsideTheDataDirectoryAreFollowed();
    void includesOutsideAreKeptAsTheyStand();
    void includeOfItselfEnds();
    void includesThatCannotBeHeldAreKept();
    void generateExpands_data();
    void generateExpands();
    void ttlValues_data();
    void ttlValues();
    void legacyRecords_data();
    void legacyRecords();
    void invalidZoneNameReadsNothing();
};

void TstZoneNormaliser::recordsBecomeContextFree_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines"); // after the start of authority
    QTest::newRow("relative owner and data")
        << QByteArray("www IN CNAME web\n") << QStringList{"www.example.com.     IN     CNAME     web.example.com. "};
    QTest::newRow("blank owner continues the last one")
        << QByteArray("web IN A 10.0.0.1\n\tIN AAAA ::1\n")
        << QStringList{"web.example.com.     IN     A     10.0.0.1 ", "web.example.com.     IN     AAAA     ::1"};
    QTest::newRow("no class") << QByteArray("web A 10.0.0.1\n")
                              << QStringList{"web.example.com.     IN     A     10.0.0.1 "};
    QTest::newRow("relative $ORIGIN is relative to the one before")
        << QByteArray("$ORIGIN sub\nx A 10.0.0.2\n$ORIGIN example.net.\ny A 10.0.0.3\n")
        << QStringList{"x.sub.example.com.     IN     A     10.0.0.2 ", "y.example.net.     IN     A     10.0.0.3 "};
    QTest::newRow("$ORIGIN . as named-compilezone writes it")
        << QByteArray("$ORIGIN .\nexample.com MX 5 mail.example.com.\n")
        << QStringList{"example.com.     IN     MX     5     mail.example.com. "};
    QTest::newRow("parentheses over lines, comments inside")
        << QByteArray("t TXT ( \"a\" ; first\n  \"b\" )\n")
        << QStringList{"t.example.com.     IN     TXT     \"a\" \"b\" "};
    QTest::newRow("quotes glued to words, as the name server splits them")
        << QByteArray("t TXT \"x\"y z\"w v\"\n")
        << QStringList{"t.example.com.     IN     TXT     \"x\" \"y\" \"z\" \"w v\" "};
    QTest::newRow("person: two blanks between its names")
        << QByteArray("p RP mbox p\n")
        << QStringList{"p.example.com.     IN     RP     mbox.example.com.  p.example.com. "};
    QTest::newRow("types without a list, in the scanner's presentation")
        << QByteArray("_sip._tcp SRV 0 5 5060 sip\nc CAA 0 issue \"ca.example\"\nh HINFO PC Unix\n")
        << QStringList{"_sip._tcp.example.com.     IN     SRV     0 5 5060 sip.example.com.",
                       "c.example.com.     IN     CAA     0 issue \"ca.example\"",
                       "h.example.com.     IN     HINFO     \"PC\" \"Unix\""};
    QTest::newRow("CR LF and lone CR end lines")
        << QByteArray("a A 10.0.0.1\r\nb A 10.0.0.2\rc A 10.0.0.3")
        << QStringList{"a.example.com.     IN     A     10.0.0.1 ", "b.example.com.     IN     A     10.0.0.2 ",
                       "c.example.com.     IN     A     10.0.0.3 "};
    QTest::newRow("escaped characters stay escaped")
        << QByteArray("we\\ b A 10.0.0.1\nt TXT \"\\\"q\\\" \\233\"\n")
        << QStringList{"we\\032b.example.com.     IN     A     10.0.0.1 ",
                       "t.example.com.     IN     TXT     \"\\\"q\\\" \\233\" "};
}

void TstZoneNormaliser::recordsBecomeContextFree()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    const NormalisedZone zone = normalised("$TTL 300\n" + kSoa + text);
    QVERIFY(zone.ok);
    QCOMPARE(zone.unreadable, QStringList());
    QCOMPARE(zone.lines.mid(0, 2), (QStringList{QStringLiteral("$TTL 300"), kSoaLine}));
    QCOMPARE(zone.lines.mid(2), lines);
}

void TstZoneNormaliser::timesToLive_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");
    // With $TTL, records of that time to live carry none, the others theirs.
    QTest::newRow("$TTL") << QByteArray("$TTL 1h\n@ SOA ns hm 1 2 3 4 300\na 3600 A 10.0.0.1\nb 60 A 10.0.0.2\n")
                          << QStringList{"$TTL 3600",
                                         "example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300",
                                         "a.example.com.     IN     A     10.0.0.1 ",
                                         "b.example.com.     60     IN     A     10.0.0.2 "};
    // The first $TTL is the default written; a later one is carried by the records it governed.
    QTest::newRow("two $TTL") << QByteArray("$TTL 100\n@ SOA ns hm 1 2 3 4 300\n$TTL 200\na A 10.0.0.1\n")
                              << QStringList{
                                     "$TTL 100",
                                     "example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300",
                                     "a.example.com.     200     IN     A     10.0.0.1 "};
    // Without $TTL the start of authority's minimum is the default, as in the program's own files.
    QTest::newRow("minimum") << QByteArray("@ SOA ns hm 1 2 3 4 300\na A 10.0.0.1\nb 60 A 10.0.0.2\nc A 10.0.0.3\n")
                             << QStringList{
                                    "example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300",
                                    "a.example.com.     IN     A     10.0.0.1 ",
                                    "b.example.com.     60     IN     A     10.0.0.2 ",
                                    "c.example.com.     IN     A     10.0.0.3 "};
    // A start of authority with a time to live of its own and no $TTL: the records after it take the last time
    // to live given, so that one is written as $TTL.
    QTest::newRow("last time to live given")
        << QByteArray("@ 900 SOA ns hm 1 2 3 4 300\na A 10.0.0.1\nb 60 A 10.0.0.2\nc A 10.0.0.3\n")
        << QStringList{"$TTL 900", "example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300",
                       "a.example.com.     IN     A     10.0.0.1 ", "b.example.com.     60     IN     A     10.0.0.2 ",
                       "c.example.com.     60     IN     A     10.0.0.3 "};
    QTest::newRow("a time to live beyond 2^31 - 1 is 0")
        << QByteArray("$TTL 300\n@ SOA ns hm 1 2 3 4 300\na 3000000000 A 10.0.0.1\n")
        << QStringList{"$TTL 300", "example.com.     IN     SOA     ns.example.com. hm.example.com. 1 2 3 4 300",
                       "a.example.com.     0     IN     A     10.0.0.1 "};
}

void TstZoneNormaliser::timesToLive()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    QCOMPARE(normalised(text).lines, lines);
}

void TstZoneNormaliser::kindsTellTheListsWhatTheyTake_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("kind");
    QTest::newRow("host") << QByteArray("a A 10.0.0.1") << int(NormalisedKind::Host);
    QTest::newRow("host with its own time to live") << QByteArray("a 60 A 10.0.0.1") << int(NormalisedKind::Other);
    QTest::newRow("name server") << QByteArray("@ NS ns") << int(NormalisedKind::NameServer);
    QTest::newRow("mail") << QByteArray("@ MX 1 m") << int(NormalisedKind::MailServer);
    QTest::newRow("alias") << QByteArray("w CNAME a") << int(NormalisedKind::Alias);
    QTest::newRow("person") << QByteArray("p RP p p") << int(NormalisedKind::Person);
    QTest::newRow("text") << QByteArray("p TXT x") << int(NormalisedKind::Text);
    QTest::newRow("another class") << QByteArray("a CH A 10.0.0.1") << int(NormalisedKind::Other);
    // Type names in the data (denial records, signatures) never make a record of that type.
    QTest::newRow("denial naming types") << QByteArray("a NSEC b.example.com. A NS SOA") << int(NormalisedKind::Other);
    QTest::newRow("AAAA") << QByteArray("a AAAA ::1") << int(NormalisedKind::Other);
}

void TstZoneNormaliser::kindsTellTheListsWhatTheyTake()
{
    QFETCH(QByteArray, record);
    QFETCH(int, kind);
    const NormalisedZone zone = normalised(kSoa + record + '\n');
    QCOMPARE(zone.kinds.size(), zone.lines.size());
    QCOMPARE(zone.kinds, (QList<NormalisedKind>{NormalisedKind::StartOfAuthority, NormalisedKind(kind)}));
}

void TstZoneNormaliser::unreadableLinesAreKeptAsComments_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("bad address, the next record kept")
        << QByteArray("a A 300.1.2.3\nb A 10.0.0.2\n")
        << QStringList{";line 2 could not be read: a A 300.1.2.3", "b.example.com.     IN     A     10.0.0.2 "}
        << QStringList{"line 2 (invalid IPv4 address)"};
    QTest::newRow("every line of a record that fails, none of its neighbours")
        << QByteArray("a A 10.0.0.1\nm ( A\n ; a comment\n  300.1.2.3 )\nb A 10.0.0.2\n")
        << QStringList{"a.example.com.     IN     A     10.0.0.1 ", ";line 3 could not be read: m ( A",
                       ";line 5 could not be read:   300.1.2.3 )", "b.example.com.     IN     A     10.0.0.2 "}
        << QStringList{"line 3 (invalid IPv4 address)", "line 5 (invalid IPv4 address)"};
    // A zone of the class IN holds no records of another class: the name servers refuse them too.
    QTest::newRow("another class") << QByteArray("v CH TXT \"x\"\n")
                                   << QStringList{";line 2 could not be read: v CH TXT \"x\""}
                                   << QStringList{"line 2 (unsupported record type)"};
    QTest::newRow("unknown directive") << QByteArray("$DATE 2024\nb A 10.0.0.2\n")
                                       << QStringList{";line 2 could not be read: $DATE 2024",
                                                      "b.example.com.     IN     A     10.0.0.2 "}
                                       << QStringList{"line 2 (unknown directive)"};
    QTest::newRow("bad $TTL") << QByteArray("$TTL 1x\n") << QStringList{";line 2 could not be read: $TTL 1x"}
                              << QStringList{"line 2 (invalid $TTL)"};
    QTest::newRow("bad $ORIGIN, the origin stays")
        << QByteArray("$ORIGIN a..b.\nc A 10.0.0.3\n")
        << QStringList{";line 2 could not be read: $ORIGIN a..b.", "c.example.com.     IN     A     10.0.0.3 "}
        << QStringList{"line 2 (invalid $ORIGIN)"};
    // The scanner carries out "$ORIGIN" itself: a failing line after it does not take it along.
    QTest::newRow("after $ORIGIN") << QByteArray("$ORIGIN sub\n %garbage\nc A 10.0.0.3\n")
                                   << QStringList{";line 3 could not be read:  %garbage",
                                                  "c.sub.example.com.     IN     A     10.0.0.3 "}
                                   << QStringList{"line 3 (invalid number)"};
    QTest::newRow("NUL bytes") << QByteArray("\0\0 A 1\nb A 10.0.0.2\n", 19)
                               << QStringList{QStringLiteral(";line 2 could not be read: ") +
                                                  QString::fromLatin1("\0\0 A 1", 6),
                                              "b.example.com.     IN     A     10.0.0.2 "}
                               << QStringList{"line 2 (owner is invalid)"};
}

void TstZoneNormaliser::unreadableLinesAreKeptAsComments()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, unreadable);
    const NormalisedZone zone = normalised(kSoa + text);
    QCOMPARE(zone.lines.mid(1), lines);
    QCOMPARE(zone.unreadable, unreadable);
}

void TstZoneNormaliser::includesInsideTheDataDirectoryAreFollowed()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    writeBytes(dir.filePath(QStringLiteral("sub/hosts.inc")), "h A 10.0.0.1\n  TXT \"h\"\n$INCLUDE sub/deeper.inc\n");
    writeBytes(dir.filePath(QStringLiteral("sub/deeper.inc")), "d A 10.0.0.4\nbad A 1.2.3\n");
    const NormalisedZone zone = normalised(kSoa + "$INCLUDE sub/hosts.inc inc\n$INCLUDE " +
                                               dir.filePath(QStringLiteral("sub/deeper.inc")).toLatin1() +
                                               "\n$ORIGIN other.example.\nafter A 10.0.0.9\n",
                                           dir.path());
    QCOMPARE(zone.lines.mid(1), (QStringList{"h.inc.example.com.     IN     A     10.0.0.1 ",
                                             "h.inc.example.com.     IN     TXT     \"h\" ",
                                             "d.inc.example.com.     IN     A     10.0.0.4 ",
                                             ";sub/deeper.inc line 2 could not be read: bad A 1.2.3",
                                             "d.example.com.     IN     A     10.0.0.4 ",
                                             ";sub/deeper.inc line 2 could not be read: bad A 1.2.3",
                                             "after.other.example.     IN     A     10.0.0.9 "}));
    QCOMPARE(zone.unreadable, (QStringList{"sub/deeper.inc line 2 (invalid IPv4 address)",
                                           "sub/deeper.inc line 2 (invalid IPv4 address)"}));
    QCOMPARE(zone.includesKept, QStringList());
}

void TstZoneNormaliser::includesOutsideAreKeptAsTheyStand()
{
    QTemporaryDir outside;
    QTemporaryDir data;
    writeBytes(outside.filePath(QStringLiteral("keys.inc")), "k A 10.0.0.1\n");
    const QByteArray elsewhere = outside.filePath(QStringLiteral("keys.inc")).toLatin1();
    const NormalisedZone zone =
        normalised(kSoa + "$INCLUDE " + elsewhere + "\n$INCLUDE ../" + QFileInfo(outside.path()).fileName().toLatin1() +
                       "/keys.inc\n" + "$ORIGIN sub.example.com.\n$INCLUDE missing.inc\n",
                   data.path());
    // The origin in effect is named where it is not the zone's own, as the line is read back without it.
    QCOMPARE(zone.lines.mid(1), (QStringList{"$INCLUDE " + QString::fromLatin1(elsewhere),
                                             "$INCLUDE ../" + QFileInfo(outside.path()).fileName() + "/keys.inc",
                                             "$INCLUDE missing.inc sub.example.com."}));
    QCOMPARE(zone.includesKept.size(), 3);
    QVERIFY(zone.includesKept.at(0).endsWith(QLatin1String("(outside the data directory)")));
    QVERIFY(zone.includesKept.at(2).startsWith(QLatin1String("line 5: $INCLUDE missing.inc")));
    QVERIFY(zone.includesKept.at(2).endsWith(QLatin1String("(not found)")));
}

void TstZoneNormaliser::includeOfItselfEnds()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("loop.inc")), "x A 10.0.0.1\n$INCLUDE loop.inc\n");
    const NormalisedZone zone = normalised(kSoa + "$INCLUDE loop.inc\n", dir.path());
    QVERIFY(zone.ok);
    QCOMPARE(zone.unreadable.size(), 1);
    QVERIFY(zone.unreadable.first().endsWith(QLatin1String("($INCLUDE nested too deep)")));
    QCOMPARE(zone.lines.count(QStringLiteral("x.example.com.     IN     A     10.0.0.1 ")), 16);
}

void TstZoneNormaliser::includesThatCannotBeHeldAreKept()
{
    QTemporaryDir dir;
    // A pipe nobody writes into would block the reading for ever; a file past any zone's size would fill the
    // memory. Both stay as the lines that name them.
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.inc"))).constData(), 0600) == 0);
    QFile huge(dir.filePath(QStringLiteral("huge.inc")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(ReadLimit::kZoneFile + 1));
    huge.close();
    const NormalisedZone zone = normalised(kSoa + "$INCLUDE pipe.inc\n$INCLUDE huge.inc\n", dir.path());
    QVERIFY(zone.ok);
    QCOMPARE(zone.lines.mid(1), (QStringList{"$INCLUDE pipe.inc", "$INCLUDE huge.inc"}));
    QCOMPARE(zone.includesKept.size(), 2);
    QVERIFY(zone.includesKept.at(0).endsWith(QLatin1String("(cannot be read)")));
    QVERIFY(zone.includesKept.at(1).endsWith(QLatin1String("(too large)")));
}

void TstZoneNormaliser::generateExpands_data()
{
    QTest::addColumn<QByteArray>("directive");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("plain") << QByteArray("1-3 h$ A 10.0.0.$")
                           << QStringList{"h1.example.com.     IN     A     10.0.0.1 ",
                                          "h2.example.com.     IN     A     10.0.0.2 ",
                                          "h3.example.com.     IN     A     10.0.0.3 "};
    QTest::newRow("step, offset and width") << QByteArray("0-4/2 p${10,3,d} IN CNAME t$")
                                            << QStringList{"p010.example.com.     IN     CNAME     t0.example.com. ",
                                                           "p012.example.com.     IN     CNAME     t2.example.com. ",
                                                           "p014.example.com.     IN     CNAME     t4.example.com. "};
    // As BIND 9 writes them: "\$" and "$$" are a dollar sign.
    QTest::newRow("hex, time to live, dollar signs")
        << QByteArray("10-11 x${0,2,X} 60 IN PTR a\\$$$.b$")
        << QStringList{"x0A.example.com.     60     IN     PTR     a\\$\\$.b10.example.com.",
                       "x0B.example.com.     60     IN     PTR     a\\$\\$.b11.example.com."};
    // Nibble labels, the width counting their dots: a width past the digits ends the name in a dot.
    QTest::newRow("nibbles") << QByteArray("254-254 ${0,3,n}.ip6 PTR h${0,4,N}")
                             << QStringList{"e.f.ip6.example.com.     IN     PTR     hE.F."};
}

void TstZoneNormaliser::generateExpands()
{
    QFETCH(QByteArray, directive);
    QFETCH(QStringList, lines);
    QCOMPARE(normalised("$TTL 300\n" + kSoa + "$GENERATE " + directive + '\n').lines.mid(2), lines);
}

void TstZoneNormaliser::ttlValues_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("seconds"); // -1 for none
    QTest::newRow("seconds") << QByteArray("3600") << qint64(3600);
    QTest::newRow("units") << QByteArray("1w2d3h4m5s") << qint64(604800 + 2 * 86400 + 3 * 3600 + 4 * 60 + 5);
    QTest::newRow("capitals") << QByteArray("1H") << qint64(3600);
    QTest::newRow("largest") << QByteArray("4294967295") << qint64(4294967295);
    QTest::newRow("beyond 32 bits") << QByteArray("4294967296") << qint64(-1);
    QTest::newRow("number after units") << QByteArray("1h30") << qint64(-1);
    QTest::newRow("unit alone") << QByteArray("h") << qint64(-1);
    QTest::newRow("empty") << QByteArray() << qint64(-1);
    QTest::newRow("other letter") << QByteArray("3y") << qint64(-1);
}

void TstZoneNormaliser::ttlValues()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, seconds);
    const std::optional<quint32> value = parseTtl(text);
    QCOMPARE(value ? qint64(*value) : qint64(-1), seconds);
}

void TstZoneNormaliser::legacyRecords_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected"); // empty: no record of such a type
    QTest::newRow("WKS") << QByteArray("ftp IN WKS 10.0.0.1 6 21 20")
                         << QStringLiteral("ftp.example.com.     IN     WKS     10.0.0.1 6 21 20");
    QTest::newRow("blank owner, time to live")
        << QByteArray("  3600 X25 311061700956")
        << QStringLiteral("prev.example.com.     3600     IN     X25     311061700956");
    QTest::newRow("names made absolute") << QByteArray("p PX 10 map @")
                                         << QStringLiteral(
                                                "p.example.com.     IN     PX     10 map.example.com. example.com.");
    QTest::newRow("quoted text kept whole") << QByteArray("n NINFO \"two words\" ; note")
                                            << QStringLiteral("n.example.com.     IN     NINFO     \"two words\"");
    QTest::newRow("a known type") << QByteArray("a A 1.2.3.4") << QString();
    QTest::newRow("parenthesis") << QByteArray("w WKS ( 10.0.0.1 6 21 )") << QString();
}

void TstZoneNormaliser::legacyRecords()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    const std::optional<LegacyRecord> record =
        readLegacyRecord(line, QByteArrayLiteral("example.com."), QByteArrayLiteral("prev.example.com."));
    QCOMPARE(record.has_value(), !expected.isEmpty());
    if (!record)
        return;
    const QString ttl = record->ttl.isEmpty() ? QString() : QString::fromLatin1(record->ttl);
    QCOMPARE(contextFreeLine(record->owner, ttl, record->className, record->type, record->data), expected);
    // The whole zone keeps it as a record, where the scanner alone refuses it.
    if (!line.startsWith(' ')) {
        const NormalisedZone zone = normalised("$TTL 300\n" + kSoa + line + '\n');
        QCOMPARE(zone.unreadable, QStringList());
        QCOMPARE(zone.lines.last(), expected);
    }
}

void TstZoneNormaliser::invalidZoneNameReadsNothing()
{
    QVERIFY(!normaliseZone("a A 10.0.0.1\n", QStringLiteral("a..b"), QString()).ok);
}

QTEST_GUILESS_MAIN(TstZoneNormaliser)
#include "tst_zonenormaliser.moc"
