#include "reversefixture.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QString kPtr = QStringLiteral("     IN     PTR     ");

// The address section of a reverse file: the lines between its heading and the closing ";".
QStringList addressLines(const QString& path)
{
    const QStringList lines = readTextFile(path).value_or(QStringList());
    const qsizetype start = lines.indexOf(QStringLiteral(";[Addresses to Names]"));
    if (start < 0)
        return {QStringLiteral("<no address section>")};
    return lines.mid(start + 1, lines.size() - start - 2);
}

QStringList nameServerLines(const QString& path)
{
    const QStringList lines = readTextFile(path).value_or(QStringList());
    const qsizetype start = lines.indexOf(QStringLiteral(";[Name Servers]"));
    const qsizetype end = lines.indexOf(QStringLiteral(";[Addresses to Names]"));
    if (start < 0 || end < 0)
        return {QStringLiteral("<no name server section>")};
    return lines.mid(start + 1, end - start - 2);
}

QStringList reverseBootLines(const QString& bootFile)
{
    QStringList found;
    for (const QString& line : readTextFile(bootFile).value_or(QStringList())) {
        if (line.contains(QStringLiteral("IN-ADDR.ARPA")))
            found << line;
    }
    return found;
}

QString reverseFile(const QString& zone)
{
    return zone + QStringLiteral(".IN-ADDR.ARPA.reverse.DNS");
}

// Every file the run wrote passes the name server's own checker for its zone.
void checkWrittenZones(const ReverseServer& server, const ReverseResult& result)
{
    for (const QString& file : result.filesWritten) {
        const QString zone = file.endsWith(QStringLiteral(".local.DNS"))
                                 ? QStringLiteral("0.0.127.IN-ADDR.ARPA")
                                 : file.left(file.size() - QStringLiteral(".reverse.DNS").size());
        const ZoneCheck check = checkZoneFile(zone, server.dataFile(file));
        QVERIFY2(check.ran, qPrintable(file));
        QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(),
                 qPrintable(file + QLatin1Char('\n') + check.output.join(QLatin1Char('\n'))));
    }
}

// The expected file of the test data with the run's own folders put in.
QByteArray expected(const QString& name, const ReverseServer& server)
{
    QByteArray bytes = readBytes(testDataPath(QStringLiteral("reverse/") + name));
    bytes.replace("@DATADIR@", server.dataPath().toLatin1());
    return bytes;
}

// Temporaries of the writer, and those earlier versions used, left in the data directory.
QStringList halfMadeFiles(const ReverseServer& server)
{
    return QDir(server.dataPath())
        .entryList({QStringLiteral("*.new"), QStringLiteral("*.quorvane-new")}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestReverseGeneration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeFilesByteForByte();
    void stagesOnTheStageWindow();
    void twoZonesTwoNetworks();
    void prefixesNeverMix();
    void ignoredHostGetsNoLine();
    void sameNameTwoAddresses();
    void localFileAlwaysWritten();
    void loopbackHostsGoToLocalFile();
    void networkWithoutHostsLosesEntry();
    void ownerQualification_data();
    void ownerQualification();
    void nameServersOfEveryFile();
    void nameServerFallback();
    void sharedAddressAsked();
    void threeNamesOneQuestion();
    void sharedAddressCancelled();
    void answersRemembered();
    void malformedAddressesSkipped();
    void serialNeverLower_data();
    void serialNeverLower();
    void setupFallbacksWrittenBack();
    void writeFailureStopsRun();
};

void TestReverseGeneration::wholeFilesByteForByte()
{
    ReverseServer server;
    server.zone(QStringLiteral("example.com"), {QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.com")},
                {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
                 {QStringLiteral("ns2"), QStringLiteral("10.1.3.2")},
                 {QStringLiteral("www"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("@"), QStringLiteral("10.1.2.9")},
                 {QStringLiteral("localhost"), QStringLiteral("127.0.0.1")}});
    server.zone(QStringLiteral("example.net"), {QStringLiteral("ns1.example.com.")},
                {{QStringLiteral("mail.example.net."), QStringLiteral("10.1.3.7")},
                 {QStringLiteral("gw.example.net."), QStringLiteral("1.2.3.4")},
                 {QStringLiteral("gx.example.net."), QStringLiteral("11.2.3.4")}},
                false);
    server.load();
    const ReverseResult result = server.generate();
    QVERIFY2(result.ok, qPrintable(result.errorText));
    QCOMPARE(result.filesWritten,
             QStringList({reverseFile(QStringLiteral("2.1.10")), reverseFile(QStringLiteral("3.1.10")),
                          QStringLiteral("ns1.local.DNS"), reverseFile(QStringLiteral("3.2.1")),
                          reverseFile(QStringLiteral("3.2.11"))}));
    for (const QString& file : result.filesWritten)
        QCOMPARE(readBytes(server.dataFile(file)), expected(QStringLiteral("main/") + file, server));
    QCOMPARE(readBytes(server.bootFile()), expected(QStringLiteral("main/named.boot"), server));
    QVERIFY(server.prompter.problems().isEmpty());
    checkWrittenZones(server, result);

    // A second run with nothing changed leaves the same files and no half-made copies behind, not even those an
    // interrupted run of an earlier version left.
    const QString leftover = server.dataFile(reverseFile(QStringLiteral("2.1.10")) + QStringLiteral(".new"));
    QVERIFY(writeBytes(leftover, "; half a file\r\n"));
    QVERIFY(server.generate().ok);
    for (const QString& file : result.filesWritten)
        QCOMPARE(readBytes(server.dataFile(file)), expected(QStringLiteral("main/") + file, server));
    QCOMPARE(halfMadeFiles(server), QStringList());
}

void TestReverseGeneration::stagesOnTheStageWindow()
{
    ReverseServer server;
    server.zone(QStringLiteral("example.com"), {}, {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(server.stage.steps,
             QStringList({QStringLiteral("show Reverse Mapping"), QStringLiteral("5"),
                          QStringLiteral("stage Preparing Reverse Mapping Defaults"), QStringLiteral("15"),
                          QStringLiteral("stage Generating Global Reverse Mapping"), QStringLiteral("25"),
                          QStringLiteral("40"), QStringLiteral("stage Global Reverse Mapping Error Checking Phase"),
                          QStringLiteral("65"), QStringLiteral("stage Global Reverse Mapping Error Processing Phase"),
                          QStringLiteral("80"), QStringLiteral("stage Saving Reverse Mapping Files..."),
                          QStringLiteral("95"), QStringLiteral("stage Updating named.boot..."), QStringLiteral("100"),
                          QStringLiteral("hide")}));
    QCOMPARE(server.stage.items,
             QStringList({QStringLiteral("Reverse Mapping"), QStringLiteral("Default Preparation Complete"),
                          QStringLiteral("example.com"), QStringLiteral("Initializing..."),
                          QStringLiteral("2.1.10.IN-ADDR.ARPA"), QStringLiteral("named.boot")}));
}

void TestReverseGeneration::twoZonesTwoNetworks()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("h1"), QStringLiteral("10.1.2.5")}});
    server.zone(QStringLiteral("b.com"), {}, {{QStringLiteral("h2"), QStringLiteral("10.1.3.7")}});
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("5") + kPtr + QStringLiteral("h1.a.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("3.1.10")))),
             QStringList{QStringLiteral("7") + kPtr + QStringLiteral("h2.b.com.")});
}

void TestReverseGeneration::prefixesNeverMix()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("one"), QStringLiteral("1.2.3.4")},
                 {QStringLiteral("eleven"), QStringLiteral("11.2.3.5")},
                 {QStringLiteral("onetwo"), QStringLiteral("1.2.34.6")}});
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("3.2.1")))),
             QStringList{QStringLiteral("4") + kPtr + QStringLiteral("one.a.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("3.2.11")))),
             QStringList{QStringLiteral("5") + kPtr + QStringLiteral("eleven.a.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("34.2.1")))),
             QStringList{QStringLiteral("6") + kPtr + QStringLiteral("onetwo.a.com.")});
}

void TestReverseGeneration::ignoredHostGetsNoLine()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("www"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("www"), QStringLiteral("10.1.3.5")},
                 {QStringLiteral("ftp"), QStringLiteral("10.1.2.6")}});
    server.load();
    server.state.zoneLists.reverseignore = {QStringLiteral("www.a.com.")};
    QVERIFY(server.generate().ok);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("6") + kPtr + QStringLiteral("ftp.a.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("3.1.10")))), QStringList());
}

void TestReverseGeneration::sameNameTwoAddresses()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("www"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("www"), QStringLiteral("10.1.2.6")},
                 {QStringLiteral("www"), QStringLiteral("10.1.2.6")}});
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList({QStringLiteral("5") + kPtr + QStringLiteral("www.a.com."),
                          QStringLiteral("6") + kPtr + QStringLiteral("www.a.com.")}));
    QVERIFY(server.prompter.prompts().isEmpty());
}

void TestReverseGeneration::localFileAlwaysWritten()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")}, {});
    server.load();
    const ReverseResult result = server.generate();
    QVERIFY(result.ok);
    QCOMPARE(result.filesWritten, QStringList{QStringLiteral("ns1.local.DNS")});
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("ns1.local.DNS"))), QStringList());
    QCOMPARE(nameServerLines(server.dataFile(QStringLiteral("ns1.local.DNS"))),
             QStringList{QStringLiteral("@     IN     NS     ns1.a.com.")});
    QCOMPARE(reverseBootLines(server.bootFile()),
             QStringList{QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS")});
    QCOMPARE(server.state.boot.reversePrimaryLines,
             QStringList{QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS")});
    checkWrittenZones(server, result);
}

void TestReverseGeneration::loopbackHostsGoToLocalFile()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("localhost"), QStringLiteral("127.0.0.1")},
                 {QStringLiteral("odd"), QStringLiteral("127.0.10.1")}});
    server.load();
    const ReverseResult result = server.generate();
    QVERIFY(result.ok);
    // 127.0.10 is a network of its own: its zone name holds "0.0.127" but it is no loopback network.
    QCOMPARE(result.filesWritten,
             QStringList({QStringLiteral("ns1.local.DNS"), reverseFile(QStringLiteral("10.0.127"))}));
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("ns1.local.DNS"))),
             QStringList{QStringLiteral("1") + kPtr + QStringLiteral("localhost.a.com.")});
    QCOMPARE(reverseBootLines(server.bootFile()),
             QStringList({QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS"),
                          QStringLiteral("primary     10.0.127.IN-ADDR.ARPA     10.0.127.IN-ADDR.ARPA.reverse.DNS")}));
    checkWrittenZones(server, result);
}

void TestReverseGeneration::networkWithoutHostsLosesEntry()
{
    ReverseServer server;
    server.zone(
        QStringLiteral("a.com"), {},
        {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}, {QStringLiteral("old"), QStringLiteral("10.9.9.1")}});
    server.load();
    QVERIFY(server.generate().ok);
    const QString oldFile = server.dataFile(reverseFile(QStringLiteral("9.9.10")));
    const QByteArray oldBytes = readBytes(oldFile);
    QVERIFY(!oldBytes.isEmpty());
    QVERIFY(reverseBootLines(server.bootFile())
                .contains(QStringLiteral("primary     9.9.10.IN-ADDR.ARPA     9.9.10.IN-ADDR.ARPA.reverse.DNS")));

    server.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    QVERIFY(server.generate().ok);
    QCOMPARE(reverseBootLines(server.bootFile()),
             QStringList({QStringLiteral("primary     2.1.10.IN-ADDR.ARPA     2.1.10.IN-ADDR.ARPA.reverse.DNS"),
                          QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS")}));
    QCOMPARE(readBytes(oldFile), oldBytes);
}

void TestReverseGeneration::ownerQualification_data()
{
    QTest::addColumn<QString>("owner");
    QTest::addColumn<bool>("ownerIsAt");
    QTest::addColumn<QString>("name");

    QTest::newRow("short name, @ zone") << "www" << true << "www.zone.test.";
    QTest::newRow("known top-level domain") << "www.zone.com" << true << "www.zone.com.";
    QTest::newRow("full name with dot") << "www.zone.test." << true << "www.zone.test.";
    QTest::newRow("at sign is the zone") << "@" << true << "zone.test.";
    QTest::newRow("named owner, not qualified") << "www.zone.test." << false << "www.zone.test.";
    QTest::newRow("odd characters dropped") << "w_w*w" << true << "www.zone.test.";
}

void TestReverseGeneration::ownerQualification()
{
    QFETCH(QString, owner);
    QFETCH(bool, ownerIsAt);
    QFETCH(QString, name);
    ReverseServer server;
    server.zone(QStringLiteral("zone.test"), {}, {{owner, QStringLiteral("10.1.2.5")}}, ownerIsAt);
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("5") + kPtr + name});
}

void TestReverseGeneration::nameServersOfEveryFile()
{
    ReverseServer server;
    server.zone(
        QStringLiteral("a.com"), {QStringLiteral("NS1.a.com."), QStringLiteral("ns.elsewhere.org.")},
        {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")}, {QStringLiteral("www"), QStringLiteral("10.1.3.5")}});
    server.zone(QStringLiteral("b.com"), {QStringLiteral("ns2.b.com")},
                {{QStringLiteral("ns2"), QStringLiteral("10.5.5.5")}});
    server.load();
    const ReverseResult result = server.generate();
    QVERIFY(result.ok);
    const QStringList both{QStringLiteral("@     IN     NS     ns1.a.com."),
                           QStringLiteral("@     IN     NS     ns2.b.com.")};
    for (const QString& zone : {QStringLiteral("2.1.10"), QStringLiteral("3.1.10"), QStringLiteral("5.5.10")})
        QCOMPARE(nameServerLines(server.dataFile(reverseFile(zone))), both);
    QCOMPARE(nameServerLines(server.dataFile(QStringLiteral("ns1.local.DNS"))),
             QStringList({QStringLiteral("@     IN     NS     NS1.a.com."),
                          QStringLiteral("@     IN     NS     ns.elsewhere.org."),
                          QStringLiteral("@     IN     NS     ns2.b.com.")}));
    checkWrittenZones(server, result);
}

void TestReverseGeneration::nameServerFallback()
{
    // No name server has an address here: the zones' name servers stand in, or else the server itself, since
    // a zone without any would not load.
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("NS.Elsewhere.org.")},
                {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    server.zone(QStringLiteral("b.com"), {}, {});
    server.load();
    ReverseResult result = server.generate();
    QVERIFY(result.ok);
    QCOMPARE(nameServerLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("@     IN     NS     ns.elsewhere.org.")});
    checkWrittenZones(server, result);

    ReverseServer bare;
    bare.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    bare.load();
    result = bare.generate();
    QVERIFY(result.ok);
    QCOMPARE(nameServerLines(bare.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("@     IN     NS     ns1.example.com.")});
    QCOMPARE(nameServerLines(bare.dataFile(QStringLiteral("ns1.local.DNS"))),
             QStringList{QStringLiteral("@     IN     NS     ns1.example.com.")});
    checkWrittenZones(bare, result);
}

void TestReverseGeneration::sharedAddressAsked()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    server.zone(QStringLiteral("b.com"), {}, {{QStringLiteral("web"), QStringLiteral("10.1.2.5")}});
    server.load();
    server.prompter.answerPick(1);
    const ReverseResult result = server.generate();
    QVERIFY(result.ok);
    QCOMPARE(server.prompter.prompts().size(), 1);
    const ScriptedPrompter::Prompt& asked = server.prompter.prompts().first();
    QCOMPARE(asked.kind, ScriptedPrompter::Kind::Pick);
    QCOMPARE(asked.caption, QStringLiteral("Hostname for Reverse Mapping"));
    QCOMPARE(asked.items, QStringList({QStringLiteral("web.b.com."), QStringLiteral("www.a.com.")}));
    QVERIFY(server.stage.items.contains(QStringLiteral("10.1.2.5")));
    QCOMPARE(server.state.zoneLists.reverseignore, QStringList{QStringLiteral("web.b.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("5") + kPtr + QStringLiteral("www.a.com.")});
}

void TestReverseGeneration::threeNamesOneQuestion()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("one"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("two"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("three"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("two"), QStringLiteral("10.1.3.9")}});
    server.load();
    server.prompter.answerPick(0);
    QVERIFY(server.generate().ok);
    // The two names turned down are not offered again for the same address.
    QCOMPARE(server.prompter.prompts().size(), 1);
    QCOMPARE(server.prompter.prompts().first().items,
             QStringList({QStringLiteral("two.a.com."), QStringLiteral("three.a.com."), QStringLiteral("one.a.com.")}));
    QCOMPARE(server.state.zoneLists.reverseignore,
             QStringList({QStringLiteral("three.a.com."), QStringLiteral("one.a.com.")}));
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("5") + kPtr + QStringLiteral("two.a.com.")});
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("3.1.10")))),
             QStringList{QStringLiteral("9") + kPtr + QStringLiteral("two.a.com.")});
}

void TestReverseGeneration::sharedAddressCancelled()
{
    ReverseServer server;
    server.zone(
        QStringLiteral("a.com"), {},
        {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}, {QStringLiteral("web"), QStringLiteral("10.1.2.5")}});
    server.load();
    server.prompter.answerPick(std::nullopt)
        .expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must select one item to continue."))
        .answerPick(std::nullopt)
        .expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must select one item to continue."));
    QVERIFY(server.generate().ok);
    QVERIFY2(server.prompter.problems().isEmpty(), qPrintable(server.prompter.problems().join(QLatin1Char('\n'))));
    QCOMPARE(server.prompter.pending(), 0);
    QVERIFY(server.state.zoneLists.reverseignore.isEmpty());
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList({QStringLiteral("5") + kPtr + QStringLiteral("www.a.com."),
                          QStringLiteral("5") + kPtr + QStringLiteral("web.a.com.")}));
}

void TestReverseGeneration::answersRemembered()
{
    ReverseServer server;
    server.zone(
        QStringLiteral("a.com"), {},
        {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}, {QStringLiteral("web"), QStringLiteral("10.1.2.5")}});
    server.load();
    server.prompter.answerPick(0);
    QVERIFY(server.generate().ok);
    const QByteArray first = readBytes(server.dataFile(reverseFile(QStringLiteral("2.1.10"))));
    QVERIFY(server.generate().ok);
    QCOMPARE(server.prompter.prompts().size(), 1);
    QCOMPARE(readBytes(server.dataFile(reverseFile(QStringLiteral("2.1.10")))), first);

    server.state.zoneLists.reverseignore.clear();
    server.prompter.answerPick(1);
    QVERIFY(server.generate().ok);
    QCOMPARE(server.prompter.prompts().size(), 2);
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList{QStringLiteral("5") + kPtr + QStringLiteral("www.a.com.")});
}

void TestReverseGeneration::malformedAddressesSkipped()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("good"), QStringLiteral("10.1.2.5")},
                 {QStringLiteral("short"), QStringLiteral("10.1.2")},
                 {QStringLiteral("big"), QStringLiteral("10.1.2.256")},
                 {QStringLiteral("word"), QStringLiteral("ten.one.two.three")},
                 {QStringLiteral("padded"), QStringLiteral("010.001.002.007")}});
    server.load();
    server.prompter.expectMessage(
        QStringLiteral("Attention!"),
        QStringLiteral("These hosts got no reverse mapping because their addresses are not four numbers from 0 to 255 "
                       "separated by dots: short.a.com. (10.1.2), big.a.com. (10.1.2.256), word.a.com. "
                       "(ten.one.two.three)"));
    const ReverseResult result = server.generate();
    QVERIFY(result.ok);
    QVERIFY2(server.prompter.problems().isEmpty(), qPrintable(server.prompter.problems().join(QLatin1Char('\n'))));
    QCOMPARE(result.filesWritten,
             QStringList({reverseFile(QStringLiteral("2.1.10")), QStringLiteral("ns1.local.DNS")}));
    QCOMPARE(addressLines(server.dataFile(reverseFile(QStringLiteral("2.1.10")))),
             QStringList({QStringLiteral("5") + kPtr + QStringLiteral("good.a.com."),
                          QStringLiteral("7") + kPtr + QStringLiteral("padded.a.com.")}));
    QCOMPARE(QDir(server.dataPath()).entryList({QStringLiteral("*.reverse.DNS")}),
             QStringList{reverseFile(QStringLiteral("2.1.10"))});
    checkWrittenZones(server, result);
}

void TestReverseGeneration::serialNeverLower_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("written");

    QTest::newRow("no previous file") << "2026120701"
                                      << ""
                                      << "2026120701";
    QTest::newRow("previous lower") << "2026120701"
                                    << "2026120600"
                                    << "2026120701";
    QTest::newRow("previous equal") << "2026120701"
                                    << "2026120701"
                                    << "2026120701";
    QTest::newRow("previous higher") << "2026120701"
                                     << "2026120709"
                                     << "2026120710";
}

void TestReverseGeneration::serialNeverLower()
{
    QFETCH(QString, running);
    QFETCH(QString, previous);
    QFETCH(QString, written);
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}});
    server.load();
    const QString file = server.dataFile(reverseFile(QStringLiteral("2.1.10")));
    if (!previous.isEmpty()) {
        server.state.setup.runningSerial = previous;
        QVERIFY(server.generate().ok);
    }
    server.state.setup.runningSerial = running;
    QVERIFY(server.generate().ok);
    QCOMPARE(readTextFile(file).value_or(QStringList()).value(8), written);
    QCOMPARE(server.state.setup.runningSerial, running);
}

void TestReverseGeneration::setupFallbacksWrittenBack()
{
    ReverseServer server;
    server.state.setup.defaultrefresh.clear();
    server.state.setup.defaultretry = QStringLiteral("abc");
    server.state.setup.defaultexpire = QStringLiteral("7200");
    server.state.setup.defaultminimum = QStringLiteral(" 5");
    server.state.emailaddr = QStringLiteral("admin@example.org.");
    server.zone(QStringLiteral("a.com"), {}, {});
    server.load();
    QVERIFY(server.generate().ok);
    QCOMPARE(server.state.setup.defaultrefresh, QStringLiteral("1080"));
    QCOMPARE(server.state.setup.defaultretry, QStringLiteral("3600"));
    QCOMPARE(server.state.setup.defaultexpire, QStringLiteral("7200"));
    QCOMPARE(server.state.setup.defaultminimum, QStringLiteral("86400"));
    const QStringList lines = readTextFile(server.dataFile(QStringLiteral("ns1.local.DNS"))).value_or(QStringList());
    QCOMPARE(lines.mid(7, 6),
             QStringList({QStringLiteral("@     IN       SOA       ns1.example.com. admin.example.org. ("),
                          QStringLiteral("2026120701"), QStringLiteral("1080"), QStringLiteral("3600"),
                          QStringLiteral("7200"), QStringLiteral("86400 )")}));
}

void TestReverseGeneration::writeFailureStopsRun()
{
    ReverseServer server;
    server.zone(
        QStringLiteral("a.com"), {},
        {{QStringLiteral("www"), QStringLiteral("10.1.2.5")}, {QStringLiteral("ftp"), QStringLiteral("10.1.3.5")}});
    server.load();
    const QByteArray bootBefore = readBytes(server.bootFile());
    // A folder where the second file belongs cannot be replaced by a file.
    QVERIFY(QDir().mkpath(server.dataFile(reverseFile(QStringLiteral("3.1.10")))));
    const ReverseResult result = server.generate();
    QVERIFY(!result.ok);
    QVERIFY(!result.errorText.isEmpty());
    QCOMPARE(result.filesWritten, QStringList{reverseFile(QStringLiteral("2.1.10"))});
    QVERIFY(QFile::exists(server.dataFile(reverseFile(QStringLiteral("2.1.10")))));
    QCOMPARE(readBytes(server.bootFile()), bootBefore);
    QCOMPARE(halfMadeFiles(server), QStringList());
    QCOMPARE(server.stage.steps.last(), QStringLiteral("hide"));
}

QTEST_GUILESS_MAIN(TestReverseGeneration)
#include "tst_reversegeneration.moc"
