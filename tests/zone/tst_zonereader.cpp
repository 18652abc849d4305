#include "server/zoneload.h"
#include "support/testfiles.h"
#include "zone/soavalues.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zonefixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

namespace {

QStringList soaOf(const ZoneModel& zone)
{
    return zone.sourceofauth.values();
}

// The program's own layout: its signature line first, so that every line is read as written.
QByteArray soaHeader(const QByteArray& eol = "\r\n")
{
    return ";[*-Quorvane-*]" + eol + "@ IN     SOA     ns1.example.com. hostmaster.example.com. (" + eol +
           "2026120601" + eol + "1080" + eol + "3600" + eol + "604800" + eol + "86400 )" + eol;
}

} // namespace

class TstZoneReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitsLines_data();
    void splitsLines();
    void fieldCount_data();
    void fieldCount();
    void textFieldCount_data();
    void textFieldCount();
    void soaHead_data();
    void soaHead();
    void soaValues_data();
    void soaValues();
    void emptyFileNameStops_data();
    void emptyFileNameStops();
    void unreadableFileStops_data();
    void unreadableFileStops();
    void incompleteSoaKeepsWhatWasFound();
    void malformedSoaEndsTheReading();
    void secondSoaReplacesFirst();
    void recordWordsStandBetweenBlanks_data();
    void recordWordsStandBetweenBlanks();
    void recordsAreKeptAsRead();
    void responsiblePersonTakesFirstTextOfItsOwner();
    void textSearchIsNotRepeatedPerPerson();
    void debugLogLines();
    void nulBytesAreKept();
    void hugeLinesNeitherCrashNorHang();
    void lineEndsOfEveryKind_data();
    void lineEndsOfEveryKind();
};

void TstZoneReader::splitsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("nothing") << QByteArray() << QStringList();
    QTest::newRow("no line end") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF, empty line") << QByteArray("a\n\nb") << QStringList{"a", "", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r\n") << QStringList{"a", "b"};
    QTest::newRow("CR before CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("CR at the end") << QByteArray("a\r") << QStringList{"a"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n") << QStringList{"", ""};
    QTest::newRow("LF CR") << QByteArray("a\n\r") << QStringList{"a", ""};
    QTest::newRow("bytes above 127 and NUL")
        << QByteArray("\xe9\0\xff\n", 4) << QStringList{QString::fromLatin1("\xe9\0\xff", 3)};
}

void TstZoneReader::splitsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(splitTextLines(bytes), lines);
}

void TstZoneReader::fieldCount_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("one word") << QStringLiteral("word") << 0;
    QTest::newRow("one trailing blank is not counted") << QStringLiteral("a b ") << 1;
    QTest::newRow("two trailing blanks are") << QStringLiteral("a b  ") << 2;
    QTest::newRow("NS layout") << QStringLiteral("@     IN     NS     ns1.example.com.") << 3;
    QTest::newRow("MX layout") << QStringLiteral("@     IN     MX     10     mail ") << 4;
    QTest::newRow("A layout") << QStringLiteral("web.example.com.     IN     A     10.0.0.5 ") << 3;
    QTest::newRow("RP layout, two blanks are one run") << QStringLiteral("j     IN     RP     j.e.com  j.e.com ") << 4;
    QTest::newRow("leading blanks are a run") << QStringLiteral("   IN A 1.2.3.4") << 3;
    QTest::newRow("tabs separate as blanks do") << QStringLiteral("ns1\tIN\tA\t192.0.2.1") << 3;
    QTest::newRow("blank and tab mixed are one run") << QStringLiteral("www \t IN\tA 1") << 3;
    QTest::newRow("quoted blanks count outside TXT") << QStringLiteral("a IN TXT \"b c\" ") << 4;
}

void TstZoneReader::fieldCount()
{
    QFETCH(QString, line);
    QFETCH(int, count);
    QCOMPARE(::fieldCount(line), count);
}

void TstZoneReader::textFieldCount_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::newRow("text without blanks") << QStringLiteral("j     IN     TXT     \"Room12\" ") << 3;
    QTest::newRow("text with blanks") << QStringLiteral("j     IN     TXT     \"Room 12\" ") << 3;
    QTest::newRow("without the trailing blank") << QStringLiteral("j IN TXT \"Room 12\"") << 3;
    QTest::newRow("tabs") << QStringLiteral("j\tIN\tTXT\t\"a\tb\"") << 3;
    QTest::newRow("escaped quote") << QStringLiteral("j IN TXT \"say \\\"hi there\\\" now\" ") << 3;
    QTest::newRow("quotes inside quotes") << QStringLiteral("j IN TXT \"call \"Lee Smith\" first\" ") << 3;
    QTest::newRow("two strings are one text") << QStringLiteral("j IN TXT \"a\" \"b\" ") << 3;
    QTest::newRow("unquoted words") << QStringLiteral("j IN TXT Room 12 ") << 4;
    QTest::newRow("a lone quote encloses nothing") << QStringLiteral("j IN TXT \"Room 12 ") << 4;
    QTest::newRow("blanks after the text count") << QStringLiteral("j IN TXT \"Room 12\" ; desk ") << 5;
}

void TstZoneReader::textFieldCount()
{
    QFETCH(QString, line);
    QFETCH(int, count);
    QCOMPARE(::textFieldCount(line), count);
}

void TstZoneReader::soaHead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected"); // owner, primary, mailbox, rest; empty when malformed
    QTest::newRow("program layout") << QStringLiteral("@ IN     SOA     ns1.e.com. hm.e.com. (")
                                    << QStringList{"@", "ns1.e.com.", "hm.e.com.", " ("};
    QTest::newRow("parenthesis glued to the mailbox")
        << QStringLiteral("e.com. IN SOA ns hm.(") << QStringList{"e.com.", "ns", "hm.", "("};
    QTest::newRow("comment cut, rest trimmed")
        << QStringLiteral("  @ IN SOA ns hm ( ; the zone  ") << QStringList{"@", "ns", "hm", " ("};
    QTest::newRow("one line") << QStringLiteral("@ IN SOA ns hm ( 1 2 3 4 5 )")
                              << QStringList{"@", "ns", "hm", " ( 1 2 3 4 5 )"};
    QTest::newRow("time to live before the class")
        << QStringLiteral("e.com. 3600 IN SOA ns hm (") << QStringList{"e.com.", "ns", "hm", " ("};
    QTest::newRow("blank owner") << QStringLiteral("  IN SOA ns hm 1 2 3 4 5")
                                 << QStringList{"@", "ns", "hm", " 1 2 3 4 5"};
    QTest::newRow("three runs only") << QStringLiteral("@ IN SOA ns") << QStringList();
    QTest::newRow("three runs after the comment is cut") << QStringLiteral("@ IN SOA ns ; hm (") << QStringList();
}

void TstZoneReader::soaHead()
{
    QFETCH(QString, line);
    QFETCH(QStringList, expected);
    const std::optional<SoaHead> head = parseSoaHead(line);
    if (expected.isEmpty()) {
        QVERIFY(!head);
        return;
    }
    QVERIFY(head);
    QCOMPARE((QStringList{head->owner, head->primaryServer, head->mailbox, head->rest}), expected);
}

void TstZoneReader::soaValues_data()
{
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QStringList>("following");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("program layout") << QStringLiteral(" (")
                                    << QStringList{"2026", "1080", "3600", "604800", "86400 )", "5"}
                                    << QStringList{"2026", "1080", "3600", "604800", "86400"};
    QTest::newRow("on the line itself, the next host line untouched")
        << QStringLiteral(" ( 1 10800 3600 604800 86400 )") << QStringList{"ns IN A 10.0.0.1"}
        << QStringList{"1", "10800", "3600", "604800", "86400"};
    QTest::newRow("without parentheses on the line")
        << QStringLiteral(" 1 2 3 4 5") << QStringList{"9"} << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("record lines between are passed over")
        << QStringLiteral(" (") << QStringList{"1 ; serial", "ns IN A 10.0.0.1", "; note", "2 3", "4", "5 )"}
        << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("parentheses glued to numbers")
        << QStringLiteral("") << QStringList{"(1", "2)"} << QStringList{"1", "2"};
    QTest::newRow("characters before the first digit are skipped")
        << QStringLiteral(" ( s1 2 3 4 5 )") << QStringList() << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("parentheses end a word")
        << QStringLiteral(" (1") << QStringList{"2 3 4 5)"} << QStringList{"1", "2", "3", "4", "5"};
    QTest::newRow("closed early") << QStringLiteral(" ( 1 2 )") << QStringList{"3", "4", "5"} << QStringList{"1", "2"};
    QTest::newRow("time units stay with their number")
        << QStringLiteral(" ( 1 3h 1h 1w 1d )") << QStringList() << QStringList{"1", "3h", "1h", "1w", "1d"};
    QTest::newRow("end of file") << QStringLiteral(" (") << QStringList{"1", "2"} << QStringList{"1", "2"};
}

void TstZoneReader::soaValues()
{
    QFETCH(QString, rest);
    QFETCH(QStringList, following);
    QFETCH(QStringList, values);
    SoaHead head;
    head.rest = rest;
    QStringList lines{QStringLiteral("@ IN SOA ns hm") + rest};
    lines << following;
    QCOMPARE(findSoaValues(head, lines, 1), values);
}

void TstZoneReader::emptyFileNameStops_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("empty") << QString();
    QTest::newRow("one blank") << QStringLiteral(" ");
}

void TstZoneReader::emptyFileNameStops()
{
    QFETCH(QString, fileName);
    ZoneFixture fixture;
    fixture.state.zone.hostaddrs.appendLine(QStringLiteral("kept     IN     A     10.0.0.1 "));
    fixture.prompter.expectMessage(QStringLiteral("Error!"),
                                   QStringLiteral("File selection error. Please restore your server."));
    QCOMPARE(loadZone(fixture.context, fileName, QStringLiteral("example.com")), ZoneLoadStatus::NoFileName);
    QCOMPARE(fixture.prompter.pending(), 0);
    // Nothing was emptied: the reading never began.
    QCOMPARE(fixture.state.zone.hostaddrs.count(), 1);
}

void TstZoneReader::unreadableFileStops_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("missing file") << false;
    QTest::newRow("a folder of that name") << true;
}

void TstZoneReader::unreadableFileStops()
{
    QFETCH(bool, folder);
    ZoneFixture fixture;
    if (folder)
        QDir(fixture.dir.path()).mkdir(QStringLiteral("zone.dns"));
    fixture.state.zone.hostaddrs.appendLine(QStringLiteral("old     IN     A     10.0.0.1 "));
    fixture.state.zone.sourceofauth = SoaRecord(QStringList{"@"});
    fixture.prompter.expectMessage(QStringLiteral("Information"),
                                   QStringLiteral("Primary file loading error. Name:zone.dns"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("zone.dns"), QStringLiteral("example.com")),
             ZoneLoadStatus::Unreadable);
    QCOMPARE(fixture.prompter.pending(), 0);
    QVERIFY(fixture.state.zone.hostaddrs.isEmpty());
    QVERIFY(fixture.state.zone.sourceofauth.isEmpty());
}

void TstZoneReader::incompleteSoaKeepsWhatWasFound()
{
    ZoneFixture fixture;
    fixture.copyIn(QStringLiteral("06_soa_incomplete.in"));
    fixture.expectMessagesOf(QStringLiteral("06_soa_incomplete.messages"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("06_soa_incomplete.in"), QStringLiteral("example.com")),
             ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.pending(), 0);
    const ZoneModel& zone = fixture.state.zone;
    QCOMPARE(soaOf(zone), (QStringList{"@", "ns1.example.com.", "hostmaster.example.com.", "2026", "7200", "3600",
                                       QString(), QString()}));
    QCOMPARE(zone.dnsname, QStringLiteral("example.com"));
    QCOMPARE(zone.nameservers.lines(), QStringList{QStringLiteral("@     IN     NS     ns1.example.com.")});
    QCOMPARE(zone.otherrecords.lines(), QStringList{QStringLiteral(";line 6 could not be read: 86400")});
}

void TstZoneReader::malformedSoaEndsTheReading()
{
    ZoneFixture fixture;
    fixture.copyIn(QStringLiteral("07_soa_malformed.in"));
    fixture.state.zone.dnsname = QStringLiteral("before");
    fixture.expectMessagesOf(QStringLiteral("07_soa_malformed.messages"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("07_soa_malformed.in"), QStringLiteral("example.com")),
             ZoneLoadStatus::SoaMalformed);
    QCOMPARE(fixture.prompter.pending(), 0);
    const ZoneModel& zone = fixture.state.zone;
    // What came before the line stays, nothing after it is read, and no zone name is set.
    QCOMPARE(zone.nameservers.lines(), QStringList{QStringLiteral("@     IN     NS     ns1.example.com.")});
    QVERIFY(zone.hostaddrs.isEmpty());
    QVERIFY(zone.sourceofauth.isEmpty());
    QCOMPARE(zone.dnsname, QStringLiteral("before"));
}

void TstZoneReader::secondSoaReplacesFirst()
{
    ZoneFixture fixture;
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")),
               soaHeader() + "e.com. IN SOA ns2.e.com. hm2.e.com. ( 7 8 9 10 11 )\r\n");
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(soaOf(fixture.state.zone), (QStringList{"e.com.", "ns2.e.com.", "hm2.e.com.", "7", "8", "9", "10", "11"}));
    QCOMPARE(fixture.state.zone.serialAsRead, QStringLiteral("7"));
}

void TstZoneReader::recordWordsStandBetweenBlanks_data()
{
    QTest::addColumn<QString>("line");
    // N, M, H, C for the lists that took the line; O when it is an other record, U when it is kept as a comment
    // because no scanner reads it (which one message reports).
    QTest::addColumn<QString>("kept");
    QTest::newRow("host") << QStringLiteral("x IN A 1.2.3.4") << QStringLiteral("H");
    QTest::newRow("tab before the type") << QStringLiteral("x IN\tA 1.2.3.4") << QStringLiteral("H");
    QTest::newRow("type at the end, no blank after it") << QStringLiteral("x IN A") << QStringLiteral("U");
    QTest::newRow("type followed by the last blank") << QStringLiteral("x IN A ") << QStringLiteral("U");
    QTest::newRow("class at the start, no blank before it") << QStringLiteral("IN A 1 2") << QStringLiteral("U");
    QTest::newRow("words that only end in a type") << QStringLiteral("x XIN NA 1.2.3.4") << QStringLiteral("U");
    QTest::newRow("lower case") << QStringLiteral("x in a 1.2.3.4") << QStringLiteral("O");
    QTest::newRow("without the class") << QStringLiteral("x A 1.2.3.4") << QStringLiteral("O");
    QTest::newRow("with a time to live") << QStringLiteral("x 300 IN A 1.2.3.4") << QStringLiteral("O");
    QTest::newRow("name server and host at once") << QStringLiteral("A IN NS A") << QStringLiteral("N");
    QTest::newRow("name server line taken as a host too") << QStringLiteral("A IN NS A ") << QStringLiteral("NH");
    QTest::newRow("mail server with the host A") << QStringLiteral("@ IN MX 10 A ") << QStringLiteral("M");
    QTest::newRow("alias") << QStringLiteral("w\tIN\tCNAME\tweb") << QStringLiteral("C");
    QTest::newRow("record words inside quotes")
        << QStringLiteral("t IN TXT \"IN A NS MX CNAME RP x\" ") << QStringLiteral("O");
    QTest::newRow("record words after the quotes") << QStringLiteral("t IN \"q\" A 1") << QStringLiteral("U");
}

void TstZoneReader::recordWordsStandBetweenBlanks()
{
    QFETCH(QString, line);
    QFETCH(QString, kept);
    ZoneFixture fixture;
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), soaHeader() + line.toLatin1() + "\r\n");
    const bool unreadable = kept == QLatin1String("U");
    if (unreadable)
        fixture.prompter.answer(Prompter::Button::Ok);
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    // The one message names the line and the scanner's reason.
    QCOMPARE(fixture.prompter.prompts().size(), unreadable ? 1 : 0);
    for (const auto& prompt : fixture.prompter.prompts())
        QVERIFY2(prompt.caption == QLatin1String("Attention!") &&
                     prompt.text.startsWith(
                         unreadableLinesText(QStringLiteral("z.dns"), {QStringLiteral("line 8 (")}).chopped(1)),
                 qPrintable(prompt.text));
    const ZoneModel& zone = fixture.state.zone;
    QString found;
    if (!zone.nameservers.isEmpty())
        found += QLatin1Char('N');
    if (!zone.mailservers.isEmpty())
        found += QLatin1Char('M');
    if (!zone.hostaddrs.isEmpty())
        found += QLatin1Char('H');
    if (!zone.aliases.isEmpty())
        found += QLatin1Char('C');
    if (zone.otherrecords.lines() == QStringList{line})
        found += QLatin1Char('O');
    if (zone.otherrecords.lines() == QStringList{QStringLiteral(";line 8 could not be read: ") + line})
        found += QLatin1Char('U');
    QCOMPARE(found, kept);
}

void TstZoneReader::recordsAreKeptAsRead()
{
    ZoneFixture fixture;
    const QByteArray lines = "@     IN     NS     ns1.example.com.\r\n"
                             "web\t IN \tA\t10.0.0.5 \r\n"
                             "mail.example.com.     IN     MX     10     mail \r\n"
                             "w     IN     CNAME     web ; a comment makes it five runs\r\n";
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), soaHeader() + lines);
    const QString logPath = fixture.pathOf(QStringLiteral("dns.log"));
    fixture.state.debugLog.setPath(logPath);
    QVERIFY(fixture.state.debugLog.switchOn(QStringLiteral("now")));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.prompts().size(), 0);
    const ZoneModel& zone = fixture.state.zone;
    QCOMPARE(zone.hostaddrs.lines(), QStringList{QStringLiteral("web\t IN \tA\t10.0.0.5 ")});
    QCOMPARE(zone.hostaddrs.displays(), QStringList{QStringLiteral("web      10.0.0.5 ")});
    QCOMPARE(zone.mailservers.lines(), QStringList{QStringLiteral("mail.example.com.     IN     MX     10     mail ")});
    QCOMPARE(zone.nameservers.count(), 1);
    // The alias the list refuses for its comment is kept as it stands, and the refusal goes to the debug log.
    QVERIFY(zone.aliases.isEmpty());
    const QString alias = QStringLiteral("w     IN     CNAME     web ; a comment makes it five runs");
    QCOMPARE(zone.otherrecords.lines(), QStringList{alias});
    QVERIFY(readBytes(logPath).contains((QStringLiteral("--") + alias +
                                         QStringLiteral(", an alias, has been entered incorrectly. Kept under Other "
                                                        "Records.\r\n"))
                                            .toLatin1()));
}

void TstZoneReader::responsiblePersonTakesFirstTextOfItsOwner()
{
    ZoneFixture fixture;
    const QByteArray lines = "ann     IN     TXT     \"first\" \r\n"
                             "ann     IN     RP     ann.e.com  ann.e.com \r\n"
                             "annex     IN     TXT     \"not hers\" \r\n"
                             "ann     IN     TXT     \"second\" \r\n"
                             "ann     IN     RP     ann.e.org  ann.e.org \r\n";
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), soaHeader() + lines);
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    const ZoneModel& zone = fixture.state.zone;
    // Both persons take the first text record of the owner, each at the position of its RP line.
    QCOMPARE(zone.responsible.lines(), (QStringList{"ann     IN     RP     ann.e.com  ann.e.com ",
                                                    "ann     IN     RP     ann.e.org  ann.e.org "}));
    QCOMPARE(zone.textfiles.lines(),
             (QStringList{"ann     IN     TXT     \"first\" ", "ann     IN     TXT     \"first\" "}));
}

void TstZoneReader::textSearchIsNotRepeatedPerPerson()
{
    // Twenty thousand persons, each with its text record at the far end of the file: a search from the top
    // for every person would take minutes.
    ZoneFixture fixture;
    QByteArray persons;
    QByteArray texts;
    constexpr int kPersons = 20000;
    for (int i = 0; i < kPersons; ++i) {
        const QByteArray owner = "p" + QByteArray::number(i);
        persons += owner + "     IN     RP     " + owner + ".e.com  " + owner + ".e.com \r\n";
        texts += owner + "     IN     TXT     \"Room " + QByteArray::number(i) + "\" \r\n";
    }
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), soaHeader() + persons + texts);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(fixture.state.zone.responsible.count(), kPersons);
    QCOMPARE(fixture.state.zone.textfiles.line(kPersons - 1),
             QStringLiteral("p19999     IN     TXT     \"Room 19999\" "));
}

void TstZoneReader::debugLogLines()
{
    ZoneFixture fixture;
    const QString logPath = fixture.pathOf(QStringLiteral("dns.log"));
    fixture.state.debugLog.setPath(logPath);
    QVERIFY(fixture.state.debugLog.switchOn(QStringLiteral("now")));
    writeBytes(fixture.pathOf(QStringLiteral("good.dns")), soaHeader());
    QCOMPARE(loadZone(fixture.context, QStringLiteral("good.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    fixture.copyIn(QStringLiteral("07_soa_malformed.in"));
    fixture.expectMessagesOf(QStringLiteral("07_soa_malformed.messages"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("07_soa_malformed.in"), QStringLiteral("e.com")),
             ZoneLoadStatus::SoaMalformed);
    QCOMPARE(readBytes(logPath), QByteArray("Quorvane Debug Log Activated At now\r\n"
                                            "--Begin Loading Primary File: good.dns\r\n"
                                            "--End Loading Primary File: good.dns\r\n"
                                            "--Begin Loading Primary File: 07_soa_malformed.in\r\n"));
}

void TstZoneReader::nulBytesAreKept()
{
    ZoneFixture fixture;
    const QByteArray host("we\0b     IN     A     10.0.0.5 ", 30);
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")),
               soaHeader() + QByteArray("\0\0\0\r\n", 5) + host + "\r\n" + QByteArray(1000, '\0'));
    fixture.prompter.expectMessage(
        QStringLiteral("Attention!"),
        unreadableLinesText(QStringLiteral("z.dns"), {QStringLiteral("line 8 (owner is invalid)"),
                                                      QStringLiteral("line 10 (owner is invalid)")}));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(fixture.state.zone.hostaddrs.lines(), QStringList{QString::fromLatin1(host)});
    QCOMPARE(fixture.state.zone.sourceofauth.value(SoaRecord::Minimum), QStringLiteral("86400"));
    // The lines of NUL bytes are no records; they stay, as comments.
    QCOMPARE(fixture.state.zone.otherrecords.lines(),
             (QStringList{QStringLiteral(";line 8 could not be read: ") + QString::fromLatin1("\0\0\0", 3),
                          QStringLiteral(";line 10 could not be read: ") + QString(1000, QChar(0))}));
}

void TstZoneReader::hugeLinesNeitherCrashNorHang()
{
    ZoneFixture fixture;
    // A host line of eight megabytes with thousands of fields, a line of eight megabytes without any record
    // word, and a last line of eight megabytes without a line end.
    QByteArray hugeHost = "big     IN     A     ";
    hugeHost += QByteArray(4 * 1024 * 1024, 'x');
    for (int i = 0; i < 1024 * 1024; ++i)
        hugeHost += "1 2 ";
    const QByteArray plain(8 * 1024 * 1024, 'q');
    const QByteArray unended = "tail     IN     A     " + QByteArray(8 * 1024 * 1024, '9');
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), soaHeader() + hugeHost + "\r\n" + plain + "\r\n" + unended);
    fixture.prompter.answer(Prompter::Button::Ok);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(fixture.state.zone.hostaddrs.count(), 1);
    QCOMPARE(fixture.state.zone.hostaddrs.line(0).size(), unended.size());
    // The two lines no scanner reads are reported in one message and kept whole, as comments.
    QCOMPARE(fixture.prompter.prompts().size(), 1);
    QVERIFY2(fixture.prompter.prompts().first().text.contains(QLatin1String(": line 8 (")) &&
                 fixture.prompter.prompts().first().text.contains(QLatin1String(", line 9 (")),
             qPrintable(fixture.prompter.prompts().first().text));
    const QStringList others = fixture.state.zone.otherrecords.lines();
    QCOMPARE(others.size(), 2);
    QVERIFY(others.at(0).endsWith(QString::fromLatin1(hugeHost)));
    QVERIFY(others.at(1).endsWith(QString::fromLatin1(plain)));
}

void TstZoneReader::lineEndsOfEveryKind_data()
{
    QTest::addColumn<QByteArray>("eol");
    QTest::addColumn<bool>("finalEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n") << true;
    QTest::newRow("LF") << QByteArray("\n") << true;
    QTest::newRow("CR") << QByteArray("\r") << true;
    QTest::newRow("CR LF, last line unended") << QByteArray("\r\n") << false;
    QTest::newRow("LF, last line unended") << QByteArray("\n") << false;
}

void TstZoneReader::lineEndsOfEveryKind()
{
    QFETCH(QByteArray, eol);
    QFETCH(bool, finalEnd);
    ZoneFixture fixture;
    QByteArray bytes = soaHeader(eol) + "@     IN     NS     ns1.e.com." + eol + "web     IN     A     10.0.0.5 ";
    if (finalEnd)
        bytes += eol;
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), bytes);
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("e.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(soaOf(fixture.state.zone).mid(3), (QStringList{"2026120601", "1080", "3600", "604800", "86400"}));
    QCOMPARE(fixture.state.zone.nameservers.lines(), QStringList{QStringLiteral("@     IN     NS     ns1.e.com.")});
    QCOMPARE(fixture.state.zone.hostaddrs.lines(), QStringList{QStringLiteral("web     IN     A     10.0.0.5 ")});
}

QTEST_GUILESS_MAIN(TstZoneReader)
#include "tst_zonereader.moc"
