#include "operations/bootoptions.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QTest>

namespace {

BootOptions everything()
{
    BootOptions options;
    options.forwarders = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")};
    options.forwardOnly = true;
    options.noRecursion = true;
    options.queryLog = true;
    options.limitTransfersIn = true;
    options.transfersIn = QStringLiteral("5");
    options.limitTransfersPerNs = true;
    options.transfersPerNs = QStringLiteral("2");
    options.xfrnets = {QStringLiteral("1.2.3.0&255.255.255.0"), QStringLiteral("10.1.1.1")};
    options.bogusns = {QStringLiteral("192.168.1.1")};
    return options;
}

QByteArray asFile(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

} // namespace

class TstBootOptions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void allEightLinesInOrder();
    void singleLines_data();
    void singleLines();
    void nothingSetWritesNoLine();
    void readingFillsThePage_data();
    void readingFillsThePage();
    void writtenLinesReadBack_data();
    void writtenLinesReadBack();
    void updateChecks_data();
    void updateChecks();
    void updateReplacesLinesAndWrites();
    void failedWriteKeepsTheLines();
    void entryAddressTest_data();
    void entryAddressTest();
    void entryRejections_data();
    void entryRejections();
};

void TstBootOptions::allEightLinesInOrder()
{
    QCOMPARE(asFile(bootOptionLines(everything())),
             readBytes(testDataPath(QStringLiteral("operations/bootoptions-all.lines"))));
}

void TstBootOptions::singleLines_data()
{
    QTest::addColumn<BootOptions>("options");
    QTest::addColumn<QString>("line");
    BootOptions forwarders;
    forwarders.forwarders = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")};
    QTest::newRow("forwarders") << forwarders << "forwarders      10.0.0.1 10.0.0.2     ";
    BootOptions trailing;
    trailing.bogusns = {QStringLiteral("10.9.9.9 ")};
    QTest::newRow("one trailing blank dropped") << trailing << "bogusns      10.9.9.9     ";
    BootOptions transfers;
    transfers.limitTransfersIn = true;
    transfers.transfersIn = QStringLiteral("5");
    QTest::newRow("transfers-in") << transfers << "limit transfers-in     5 ";
    BootOptions xfr;
    xfr.xfrnets = {QStringLiteral("1.2.3.0&255.255.255.0")};
    QTest::newRow("xfrnets has nothing after it") << xfr << "xfrnets      1.2.3.0&255.255.255.0";
    BootOptions emptyEntry;
    emptyEntry.forwarders = {QString(), QStringLiteral("10.0.0.3")};
    QTest::newRow("empty entry left out") << emptyEntry << "forwarders      10.0.0.3     ";
}

void TstBootOptions::singleLines()
{
    QFETCH(BootOptions, options);
    QFETCH(QString, line);
    QCOMPARE(bootOptionLines(options), QStringList{line});
}

void TstBootOptions::nothingSetWritesNoLine()
{
    QVERIFY(bootOptionLines(BootOptions()).isEmpty());
    BootOptions onlyEmpty;
    onlyEmpty.xfrnets = {QString()};
    QVERIFY(bootOptionLines(onlyEmpty).isEmpty());
}

void TstBootOptions::readingFillsThePage_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<BootOptions>("expected");

    QTest::newRow("written by the program") << bootOptionLines(everything()) << everything();
    BootOptions foreign;
    foreign.forwarders = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2"), QStringLiteral("10.0.0.3")};
    foreign.limitTransfersIn = true;
    foreign.transfersIn = QStringLiteral("10");
    foreign.xfrnets = {QStringLiteral("10.0.0.0&255.0.0.0")};
    QTest::newRow("foreign spacing, two lines of one kind")
        << QStringList{"forwarders 10.0.0.1   10.0.0.2", "forwarders\t10.0.0.3", "limit transfers-in   10  ",
                       "xfrnets 10.0.0.0&255.0.0.0"}
        << foreign;
    BootOptions several;
    several.noRecursion = true;
    several.queryLog = true;
    QTest::newRow("one options line naming several")
        << QStringList{"options no-recursion query-log fake-iquery"} << several;
    BootOptions perNs;
    perNs.limitTransfersPerNs = true;
    perNs.transfersPerNs = QStringLiteral("3");
    QTest::newRow("per-ns is not transfers-in") << QStringList{"limit transfers-per-ns     3 "} << perNs;
    QTest::newRow("keywords in capitals are not options")
        << QStringList{"OPTIONS forward-only", "Forwarders 1.2.3.4"} << BootOptions();
}

void TstBootOptions::readingFillsThePage()
{
    QFETCH(QStringList, lines);
    QFETCH(BootOptions, expected);
    const BootOptions read = parseBootOptionLines(lines);
    QCOMPARE(read.forwarders, expected.forwarders);
    QCOMPARE(read.xfrnets, expected.xfrnets);
    QCOMPARE(read.bogusns, expected.bogusns);
    QCOMPARE(read.transfersIn, expected.transfersIn);
    QCOMPARE(read.transfersPerNs, expected.transfersPerNs);
    QVERIFY(read == expected);
}

void TstBootOptions::writtenLinesReadBack_data()
{
    QTest::addColumn<BootOptions>("options");
    QTest::newRow("everything") << everything();
    QTest::newRow("nothing") << BootOptions();
    BootOptions lists;
    lists.forwarders = {QStringLiteral("10.0.0.1")};
    lists.bogusns = {QStringLiteral("a.b.c.d"), QStringLiteral("10.2.2.2&255.255.255.255")};
    QTest::newRow("lists only") << lists;
    BootOptions limits;
    limits.limitTransfersIn = true;
    limits.transfersIn = QStringLiteral("12");
    limits.limitTransfersPerNs = true;
    limits.transfersPerNs = QStringLiteral("4");
    limits.forwardOnly = true;
    QTest::newRow("limits") << limits;
}

void TstBootOptions::writtenLinesReadBack()
{
    QFETCH(BootOptions, options);
    QVERIFY(parseBootOptionLines(bootOptionLines(options)) == options);
}

void TstBootOptions::updateChecks_data()
{
    QTest::addColumn<bool>("transfersTicked");
    QTest::addColumn<QString>("transfers");
    QTest::addColumn<bool>("perNsTicked");
    QTest::addColumn<QString>("perNs");
    QTest::addColumn<QString>("message");
    const QString in = QStringLiteral("Your transfers-in option is entered incorrectly.");
    const QString perNs = QStringLiteral("Your limit xfers per ns option is entered incorrectly.");
    QTest::newRow("illegal transfers-in, not ticked") << false << "5/2" << false << "" << in;
    QTest::newRow("illegal per-ns, not ticked") << false << "" << false << "5/2" << perNs;
    QTest::newRow("transfers-in before per-ns") << true << "5:1" << true << "x;" << in;
    QTest::newRow("leading blank") << true << " 5" << false << "" << in;
    QTest::newRow("ticked and empty") << true << "" << false << "" << in;
    QTest::newRow("per-ns ticked and empty") << true << "5" << true << "" << perNs;
    QTest::newRow("all well") << true << "5" << true << "2"
                              << "";
    QTest::newRow("not a number is no check") << true << "many" << false << ""
                                              << "";
}

void TstBootOptions::updateChecks()
{
    QFETCH(bool, transfersTicked);
    QFETCH(QString, transfers);
    QFETCH(bool, perNsTicked);
    QFETCH(QString, perNs);
    QFETCH(QString, message);
    BootOptions options;
    options.limitTransfersIn = transfersTicked;
    options.transfersIn = transfers;
    options.limitTransfersPerNs = perNsTicked;
    options.transfersPerNs = perNs;

    ScriptedPrompter prompter;
    if (!message.isEmpty())
        prompter.expectMessage(QStringLiteral("Re-Enter."), message);
    QStringList lines{QStringLiteral("options query-log")};
    int writes = 0;
    const bool updated = updateBootOptions(options, lines, prompter, [&writes] {
        ++writes;
        return true;
    });
    QCOMPARE(updated, message.isEmpty());
    QCOMPARE(writes, message.isEmpty() ? 1 : 0);
    QCOMPARE(lines, message.isEmpty() ? bootOptionLines(options) : QStringList{"options query-log"});
    QCOMPARE(prompter.pending(), 0);
}

void TstBootOptions::updateReplacesLinesAndWrites()
{
    ScriptedPrompter prompter;
    QStringList lines{QStringLiteral("forwarders 1.1.1.1"), QStringLiteral("options query-log")};
    QStringList seenByWriter;
    QVERIFY(updateBootOptions(everything(), lines, prompter, [&] {
        seenByWriter = lines;
        return true;
    }));
    QCOMPARE(seenByWriter, bootOptionLines(everything()));
    QCOMPARE(lines, bootOptionLines(everything()));
    QVERIFY(prompter.prompts().isEmpty());
}

void TstBootOptions::failedWriteKeepsTheLines()
{
    ScriptedPrompter prompter;
    const QStringList before{QStringLiteral("options query-log")};
    QStringList lines = before;
    QVERIFY(!updateBootOptions(everything(), lines, prompter, [] { return false; }));
    QCOMPARE(lines, before);
}

void TstBootOptions::entryAddressTest_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("address") << "10.0.0.1" << true;
    QTest::newRow("network and mask") << "1.2.3.0&255.255.255.0" << true;
    QTest::newRow("short mask") << "1.2.3.0&255.255" << false;
    QTest::newRow("ending in ampersand") << "1.2.3.4&" << false;
    QTest::newRow("two full stops") << "1.2.3" << false;
    // The name server refuses a boot option whose address it cannot read; so does the one address check.
    QTest::newRow("letters") << "a.b.c.d" << false;
    QTest::newRow("part above 255") << "300.1.2.3" << false;
    QTest::newRow("mask part above 255") << "10.0.0.0&255.255.255.256" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("blank inside") << "1.2.3. 4" << false;
    QTest::newRow("split at the last ampersand") << "1.2.3.0&1.2.3.4&255.255.255.0" << false;
    QTest::newRow("mask only") << "&255.255.255.0" << false;
    QTest::newRow("illegal character") << "10.0.0.1/24" << false;
    QTest::newRow("IPv6 address") << "2001:db8::53" << true;
    QTest::newRow("IPv6 network") << "2001:db8::/32" << true;
    QTest::newRow("IPv6 network with bits beyond it") << "2001:db8::1/32" << false;
    QTest::newRow("IPv6 with a mask") << "2001:db8::&ffff::" << false;
    QTest::newRow("IPv6 misread") << "2001:db8:::1" << false;
}

void TstBootOptions::entryAddressTest()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QCOMPARE(optionEntryAccepted(text), accepted);
}

void TstBootOptions::entryRejections_data()
{
    QTest::addColumn<OptionEntryKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    QTest::newRow("xfr") << OptionEntryKind::Xfr << "XFR"
                         << "Add XFRNET"
                         << "Your xfrnets option is entered incorrectly."
                            " An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("bogus") << OptionEntryKind::Bogus << "BOGUS"
                           << "Add BOGUS NS"
                           << "Your bogus ns option is entered incorrectly."
                              " An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("forwarder")
        << OptionEntryKind::Forwarder << "FORWARDER"
        << "Add FORWARDER"
        << "Your forwarder option is entered incorrectly."
           " An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.";
}

void TstBootOptions::entryRejections()
{
    QFETCH(OptionEntryKind, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QCOMPARE(optionEntryKindName(kind), name);
    QCOMPARE(optionEntryCaption(kind), caption);
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Re-Enter."), message);
    QVERIFY(!checkOptionEntry(kind, QStringLiteral("1.2.3"), prompter));
    QVERIFY(checkOptionEntry(kind, QStringLiteral("1.2.3.4"), prompter));
    QCOMPARE(prompter.prompts().size(), 1);
}

QTEST_GUILESS_MAIN(TstBootOptions)
#include "tst_bootoptions.moc"
