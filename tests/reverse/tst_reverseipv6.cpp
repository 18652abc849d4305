// Reverse generation beyond /24 networks: ip6.arpa zones of nibbles for IPv6 hosts (a /64 each by default),
// the server's chosen prefixes (IPv6 of any length by fours, IPv4 /8, /16 and classless blocks with the aliases
// of their /24 zone), reverse zones the server serves otherwise left to them, and a changed file's serial raised.
// Every file passes named-checkzone -k fail, and a real named answers dig -x from them.
#include "bootnamed.h"
#include "reversefixture.h"
#include "server/bootload.h"
#include "session/reverseprefixes.h"
#include "support/clirun.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QTest>

namespace {

const QString kPtr = QStringLiteral("     IN     PTR     ");

QStringList sectionOf(const QString& path, const QString& heading, const QString& next = QString())
{
    const QStringList lines = readTextFile(path).value_or(QStringList());
    const qsizetype start = lines.indexOf(heading);
    if (start < 0)
        return {QStringLiteral("<no section>")};
    const qsizetype end = next.isEmpty() ? lines.size() - 1 : lines.indexOf(next) - 1;
    return lines.mid(start + 1, end - start - 1);
}

QStringList addressLines(const QString& path)
{
    return sectionOf(path, QStringLiteral(";[Addresses to Names]"));
}

// The reverse primary lines of the boot file: zone and file.
QList<std::pair<QString, QString>> reverseEntries(const QString& bootFile)
{
    QList<std::pair<QString, QString>> entries;
    for (const QString& line : readTextFile(bootFile).value_or(QStringList())) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.value(0) == QLatin1String("primary") && fields.value(1).endsWith(QLatin1String(".ARPA")))
            entries.append({fields.value(1), fields.value(2)});
    }
    return entries;
}

void expectEveryReverseZoneLoads(const ReverseServer& server)
{
    const QList<std::pair<QString, QString>> entries = reverseEntries(server.bootFile());
    QVERIFY(!entries.isEmpty());
    for (const auto& [zone, file] : entries) {
        const ZoneCheck check = checkZoneFile(zone, server.dataFile(file));
        QVERIFY2(check.ran, qPrintable(file));
        QVERIFY2(check.accepted() && check.complaints.isEmpty(),
                 qPrintable(zone + QLatin1Char('\n') + check.output.join(QLatin1Char('\n'))));
    }
}

QString eb3Zone()
{
    return QStringLiteral("3.b.e.0.d.0.0.0.0.7.4.0.1.0.0.2.IP6.ARPA");
}

} // namespace

class TstReverseIpv6 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ipv6HostsGetNibbleZones();
    void chosenPrefixesAndNamedAnswers();
    void otherReverseZonesLeftToThem();
    void changedFileRaisesItsSerial();
    void commandLinePrefixes();
};

void TstReverseIpv6::ipv6HostsGetNibbleZones()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
                 {QStringLiteral("ns1.a.com."), QStringLiteral("2001:470:d:eb3::53")},
                 {QStringLiteral("www.a.com."), QStringLiteral("2001:470:d:eb3::80")},
                 {QStringLiteral("far.a.com."), QStringLiteral("2001:db8:1:2::1")},
                 {QStringLiteral("mapped.a.com."), QStringLiteral("::ffff:10.1.2.9")}});
    server.load();
    const ReverseResult result = server.generate();
    QVERIFY2(result.ok, qPrintable(result.errorText));
    QCOMPARE(server.prompter.problems(), QStringList());
    const QString eb3File = eb3Zone() + QStringLiteral(".reverse.DNS");
    const QString farFile = QStringLiteral("2.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS");
    const QString mappedFile = QStringLiteral("0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.IP6.ARPA.reverse.DNS");
    QCOMPARE(result.filesWritten, (QStringList{QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS"), eb3File, farFile,
                                               mappedFile, QStringLiteral("ns1.local.DNS")}));
    QCOMPARE(addressLines(server.dataFile(eb3File)),
             (QStringList{"3.5.0.0.0.0.0.0.0.0.0.0.0.0.0.0" + kPtr + "ns1.a.com.",
                          "0.8.0.0.0.0.0.0.0.0.0.0.0.0.0.0" + kPtr + "www.a.com."}));
    QCOMPARE(addressLines(server.dataFile(farFile)),
             QStringList{"1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0" + kPtr + "far.a.com."});
    QCOMPARE(addressLines(server.dataFile(mappedFile)),
             QStringList{"9.0.2.0.1.0.a.0.f.f.f.f.0.0.0.0" + kPtr + "mapped.a.com."});
    // The zones' name server with an address serves them all.
    QCOMPARE(
        sectionOf(server.dataFile(eb3File), QStringLiteral(";[Name Servers]"), QStringLiteral(";[Addresses to Names]")),
        QStringList{"@     IN     NS     ns1.a.com."});
    // The boot file lists them as reverse zones, which reading it again keeps apart from the primary zones.
    QVERIFY(server.state.boot.reversePrimaryLines.contains(QStringLiteral("primary     ") + eb3Zone() +
                                                           QStringLiteral("     ") + eb3File));
    QCOMPARE(server.state.zoneLists.primdns, QStringList{QStringLiteral("a.com")});
    expectEveryReverseZoneLoads(server);

    // A second run writes the same and lists each zone once.
    const QByteArray before = readBytes(server.dataFile(eb3File));
    QVERIFY(server.generate().ok);
    QCOMPARE(readBytes(server.dataFile(eb3File)), before);
    QCOMPARE(reverseEntries(server.bootFile()).size(), 5);
}

void TstReverseIpv6::chosenPrefixesAndNamedAnswers()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
                 {QStringLiteral("mail"), QStringLiteral("10.1.3.7")},
                 {QStringLiteral("far"), QStringLiteral("10.200.0.1")},
                 {QStringLiteral("shop"), QStringLiteral("192.0.2.65")},
                 {QStringLiteral("gw"), QStringLiteral("192.0.2.10")},
                 {QStringLiteral("www.a.com."), QStringLiteral("2001:db8::80")},
                 {QStringLiteral("lab.a.com."), QStringLiteral("2001:db8:ff:1::1")}});
    server.load();
    QString error;
    const std::optional<QList<IpPrefix>> prefixes =
        parseReversePrefixes(QStringLiteral("2001:db8::/32, 10.1.0.0/16 10.0.0.0/8 192.0.2.64/26"), &error);
    QVERIFY2(prefixes, qPrintable(error));
    QVERIFY(setReversePrefixes(server.store, server.state, *prefixes, &error));
    const ReverseResult result = server.generate();
    QVERIFY2(result.ok, qPrintable(result.errorText));
    // The longest prefix that holds an address takes it.
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("1.10.IN-ADDR.ARPA.reverse.DNS"))),
             (QStringList{"1.2" + kPtr + "ns1.a.com.", "7.3" + kPtr + "mail.a.com."}));
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("10.IN-ADDR.ARPA.reverse.DNS"))),
             QStringList{"1.0.200" + kPtr + "far.a.com."});
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS"))),
             (QStringList{"0.8.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0" + kPtr + "www.a.com.",
                          "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.1.0.0.0.f.f.0.0" + kPtr + "lab.a.com."}));
    // The classless block has a zone of its own; its /24 zone holds its name server and an alias of each address.
    QCOMPARE(addressLines(server.dataFile(QStringLiteral("64-26.2.0.192.IN-ADDR.ARPA.reverse.DNS"))),
             QStringList{"65" + kPtr + "shop.a.com."});
    const QStringList parent = addressLines(server.dataFile(QStringLiteral("2.0.192.IN-ADDR.ARPA.reverse.DNS")));
    QCOMPARE(parent.size(), 1 + 64);
    QCOMPARE(parent.first(), "10" + kPtr + "gw.a.com.");
    QCOMPARE(parent.at(2), QStringLiteral("65     IN     CNAME     65.64/26.2.0.192.IN-ADDR.ARPA."));
    QVERIFY(sectionOf(server.dataFile(QStringLiteral("2.0.192.IN-ADDR.ARPA.reverse.DNS")),
                      QStringLiteral(";[Name Servers]"), QStringLiteral(";[Addresses to Names]"))
                .contains(QStringLiteral("64/26     IN     NS     ns1.a.com.")));
    expectEveryReverseZoneLoads(server);

    BootNamed named;
    QVERIFY2(named.start(server.bootFile(), server.dataPath()), qPrintable(named.log()));
    const QList<std::pair<QString, QStringList>> expectations = {
        {QStringLiteral("2001:db8::80"), {QStringLiteral("www.a.com.")}},
        {QStringLiteral("2001:db8:ff:1::1"), {QStringLiteral("lab.a.com.")}},
        {QStringLiteral("10.1.3.7"), {QStringLiteral("mail.a.com.")}},
        {QStringLiteral("10.200.0.1"), {QStringLiteral("far.a.com.")}},
        {QStringLiteral("192.0.2.10"), {QStringLiteral("gw.a.com.")}},
        // The alias in the /24 zone leads to the classless zone, where a resolver finds the pointer.
        {QStringLiteral("192.0.2.65"), {QStringLiteral("65.64/26.2.0.192.IN-ADDR.ARPA.")}}};
    for (const auto& [address, answer] : expectations) {
        const QStringList got = named.askReverse(address);
        QVERIFY2(got == answer, qPrintable(address + QStringLiteral(": ") + got.join(QLatin1Char(' ')) +
                                           QLatin1Char('\n') + named.log()));
    }
    QCOMPARE(named.ask(QStringLiteral("65.64/26.2.0.192.in-addr.arpa"), QStringLiteral("PTR")),
             QStringList{QStringLiteral("shop.a.com.")});
}

void TstReverseIpv6::otherReverseZonesLeftToThem()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
                 {QStringLiteral("copied"), QStringLiteral("10.9.9.5")},
                 {QStringLiteral("kept.a.com."), QStringLiteral("2001:db8::5")}});
    // A reverse zone kept by hand in the primary list (not a file reverse generation writes), and a secondary
    // reverse zone copied from another server.
    const QString handMadeZone = QStringLiteral("0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa");
    const QString handMadeFile = server.dataFile(handMadeZone + QStringLiteral(".DNS"));
    QVERIFY(writeBytes(handMadeFile, "$TTL 1h\n@ IN SOA ns1.a.com. hostmaster.a.com. 1 1h 1h 1w 1h\n"
                                     "  IN NS ns1.a.com.\n5.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0 IN PTR kept.a.com.\n"));
    server.zoneNames << handMadeZone;
    server.load();
    QVERIFY(writeBytes(server.bootFile(),
                       readBytes(server.bootFile())
                           .append("secondary     9.9.10.IN-ADDR.ARPA     10.0.0.1     "
                                   "9.9.10.IN-ADDR.ARPA.secondary.reverse.DNS ;10.9.9.0 <--> 10.9.9.255 on server: "
                                   "10.0.0.1\r\n")));
    BootContext boot{server.state, server.store, server.prompter};
    QVERIFY(readBootFile(boot, true).ok());
    QVERIFY(server.state.zoneLists.primdns.contains(handMadeZone));
    const QByteArray handMade = readBytes(handMadeFile);
    const ReverseResult result = server.generate();
    QVERIFY2(result.ok, qPrintable(result.errorText));
    QCOMPARE(result.filesWritten,
             (QStringList{QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS"), QStringLiteral("ns1.local.DNS")}));
    QCOMPARE(readBytes(handMadeFile), handMade);
    QCOMPARE(server.state.boot.secondaryReverseLines.size(), 1);
}

void TstReverseIpv6::changedFileRaisesItsSerial()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {}, {{QStringLiteral("www.a.com."), QStringLiteral("2001:db8::80")}});
    server.load();
    const QString file = server.dataFile(QStringLiteral("0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS"));
    QVERIFY(server.generate().ok);
    QCOMPARE(readTextFile(file).value_or(QStringList()).value(8), QStringLiteral("2026120701"));
    // Unchanged under the same running serial: the file stays as it is.
    QVERIFY(server.generate().ok);
    QCOMPARE(readTextFile(file).value_or(QStringList()).value(8), QStringLiteral("2026120701"));
    // Changed under the same running serial: a secondary server takes the new file only with a higher serial.
    server.zone(QStringLiteral("a.com"), {},
                {{QStringLiteral("www.a.com."), QStringLiteral("2001:db8::80")},
                 {QStringLiteral("ftp.a.com."), QStringLiteral("2001:db8::21")}});
    QVERIFY(server.generate().ok);
    QCOMPARE(readTextFile(file).value_or(QStringList()).value(8), QStringLiteral("2026120702"));
    QCOMPARE(server.state.setup.runningSerial, QStringLiteral("2026120701"));
}

void TstReverseIpv6::commandLinePrefixes()
{
    ReverseServer server;
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
                 {QStringLiteral("www.a.com."), QStringLiteral("2001:db8:1:2::80")}});
    server.load();
    const QString home = server.dir.filePath(QStringLiteral("home"));
    const QStringList common{QStringLiteral("--serial"),   QStringLiteral("2026120701"),
                             QStringLiteral("--email"),    QStringLiteral("hostmaster@a.com"),
                             QStringLiteral("--identity"), QStringLiteral("ns1@ns1.a.com."),
                             QStringLiteral("reverse"),    server.bootFile()};
    const CliRun refused =
        runCli(common + QStringList{QStringLiteral("--prefix"), QStringLiteral("2001:db8::/50")}, home);
    QCOMPARE(refused.status, 1);
    QCOMPARE(refused.err, QByteArray("Re-Enter.: An IPv6 reverse zone covers a prefix whose length is a multiple of "
                                     "4; 2001:db8::/50 is not.\n"));
    QCOMPARE(runCli(common + QStringList{QStringLiteral("--prefix")}, home).status, 2);

    const CliRun chosen =
        runCli(common + QStringList{QStringLiteral("--prefix"), QStringLiteral("2001:db8:1::/48")}, home);
    QVERIFY2(chosen.status == 0, chosen.err.constData());
    QCOMPARE(chosen.out, QByteArray("wrote 2.1.10.IN-ADDR.ARPA.reverse.DNS\n"
                                    "wrote 1.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS\n"
                                    "wrote ns1.local.DNS\n"));
    // The choice is the server's: the next run without the option makes the same zones.
    const CliRun again = runCli(common, home);
    QVERIFY2(again.status == 0, again.err.constData());
    QCOMPARE(again.out, chosen.out);
    // And "none" goes back to the /64 zones.
    const CliRun none = runCli(common + QStringList{QStringLiteral("--prefix"), QStringLiteral("none")}, home);
    QVERIFY2(none.status == 0, none.err.constData());
    QVERIFY(none.out.contains("wrote 2.0.0.0.1.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS\n"));
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
}

QTEST_GUILESS_MAIN(TstReverseIpv6)
#include "tst_reverseipv6.moc"
