#include "checks/ipaddress.h"
#include "checks/ipv6address.h"
#include "checks/reversename.h"

#include <QRandomGenerator>
#include <QTest>

// The IPv6 text check, the one text every address is written in, and the reverse names of both families.
class TstIpAddresses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsOnlyWhatTheNameServerReads_data();
    void readsOnlyWhatTheNameServerReads();
    void writesTheCanonicalForm_data();
    void writesTheCanonicalForm();
    void randomAddressesRoundTrip();
    void reverseZonesOfPrefixes_data();
    void reverseZonesOfPrefixes();
    void reverseOwnersWithinTheirZone_data();
    void reverseOwnersWithinTheirZone();
    void reverseNamesReadBack_data();
    void reverseNamesReadBack();
    void prefixesAreCheckedStrictly_data();
    void prefixesAreCheckedStrictly();
    void refusalNamesTheFormMeant_data();
    void refusalNamesTheFormMeant();
};

void TstIpAddresses::readsOnlyWhatTheNameServerReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("full form") << "2001:0db8:0000:0000:0000:0000:0000:0001" << true;
    QTest::newRow("shortened") << "2001:db8::1" << true;
    QTest::newRow("upper case") << "2001:DB8::A" << true;
    QTest::newRow("unspecified") << "::" << true;
    QTest::newRow("loopback") << "::1" << true;
    QTest::newRow("gap at the end") << "2001:db8::" << true;
    QTest::newRow("gap for one group") << "1:2:3:4:5:6:7::" << true;
    QTest::newRow("mapped IPv4") << "::ffff:192.0.2.1" << true;
    QTest::newRow("six groups and IPv4") << "1:2:3:4:5:6:10.0.0.1" << true;
    QTest::newRow("compatible IPv4") << "::10.0.0.1" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("IPv4 alone") << "192.0.2.1" << false;
    QTest::newRow("two gaps") << "1::2::3" << false;
    QTest::newRow("three colons") << "1:::2" << false;
    QTest::newRow("single colon first") << ":1::2" << false;
    QTest::newRow("single colon last") << "1::2:" << false;
    QTest::newRow("seven groups") << "1:2:3:4:5:6:7" << false;
    QTest::newRow("nine groups") << "1:2:3:4:5:6:7:8:9" << false;
    QTest::newRow("eight groups and a gap") << "1:2:3:4:5:6:7:8::" << false;
    QTest::newRow("five digits") << "2001:db8::12345" << false;
    QTest::newRow("not hexadecimal") << "2001:db8::g" << false;
    QTest::newRow("blank inside") << "2001:db8:: 1" << false;
    QTest::newRow("blank around") << " ::1" << false;
    QTest::newRow("zone index") << "fe80::1%eth0" << false;
    QTest::newRow("prefix length") << "2001:db8::/32" << false;
    QTest::newRow("brackets") << "[::1]" << false;
    QTest::newRow("IPv4 not last") << "::1.2.3.4:5" << false;
    QTest::newRow("IPv4 with seven groups") << "1:2:3:4:5:6:7:1.2.3.4" << false;
    QTest::newRow("IPv4 beyond 255") << "::ffff:1.2.3.256" << false;
    QTest::newRow("IPv4 leading zero") << "::ffff:01.2.3.4" << false;
    QTest::newRow("IPv4 before the gap") << "1.2.3.4::" << false;
}

void TstIpAddresses::readsOnlyWhatTheNameServerReads()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isIpv6Address(text), valid);
    const std::optional<IpAddress> parsed = IpAddress::parse(text);
    QCOMPARE(parsed.has_value() && parsed->isV6(), valid);
}

void TstIpAddresses::writesTheCanonicalForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("leading zeros go") << "2001:0db8:0000:0000:0000:0000:0000:0001"
                                      << "2001:db8::1";
    QTest::newRow("lower case") << "2001:DB8:AbCd::"
                                << "2001:db8:abcd::";
    QTest::newRow("longest run shortened") << "2001:0:0:1:0:0:0:1"
                                           << "2001:0:0:1::1";
    QTest::newRow("first of equal runs") << "2001:db8:0:0:1:0:0:1"
                                         << "2001:db8::1:0:0:1";
    QTest::newRow("one zero group kept") << "2001:db8:0:1:1:1:1:1"
                                         << "2001:db8:0:1:1:1:1:1";
    QTest::newRow("gap for one group written out") << "1:2:3:4:5:6:7::"
                                                   << "1:2:3:4:5:6:7:0";
    QTest::newRow("all zero") << "0:0:0:0:0:0:0:0"
                              << "::";
    QTest::newRow("loopback") << "0:0:0:0:0:0:0:1"
                              << "::1";
    QTest::newRow("shortened prefix") << "2001:470:d:eb3::"
                                      << "2001:470:d:eb3::";
    QTest::newRow("mapped in hexadecimal") << "::ffff:c000:201"
                                           << "::ffff:192.0.2.1";
    QTest::newRow("mapped written out") << "0:0:0:0:0:FFFF:192.0.2.1"
                                        << "::ffff:192.0.2.1";
    QTest::newRow("mapped zero") << "::ffff:0:0"
                                 << "::ffff:0.0.0.0";
    QTest::newRow("compatible in hexadecimal") << "::10.0.0.1"
                                               << "::a00:1";
    QTest::newRow("not mapped") << "::fffe:c000:201"
                                << "::fffe:c000:201";
    QTest::newRow("blanks around stored text") << "  2001:db8::1 "
                                               << "2001:db8::1";
}

void TstIpAddresses::writesTheCanonicalForm()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    QCOMPARE(canonicalIpv6(text), std::optional<QString>(canonical));
    // The canonical text reads back as itself.
    QCOMPARE(canonicalIpv6(canonical), std::optional<QString>(canonical));
    QCOMPARE(IpAddress::fromStored(text)->text(), canonical);
}

void TstIpAddresses::randomAddressesRoundTrip()
{
    QRandomGenerator random(20261207);
    for (int round = 0; round < 100000; ++round) {
        Ipv6Bytes bytes{};
        // Runs of zero groups are what the shortening is about: give every group a fair chance of being zero.
        for (int group = 0; group < 8; ++group) {
            const quint32 value = random.bounded(3) == 0 ? 0 : random.generate();
            bytes[2 * group] = quint8(value >> 8);
            bytes[2 * group + 1] = quint8(value);
        }
        if (round % 50 == 0) {
            bytes = Ipv6Bytes{};
            bytes[10] = bytes[11] = 0xff;
            for (int i = 12; i < 16; ++i)
                bytes[i] = quint8(random.generate());
        }
        const IpAddress address = IpAddress::fromIpv6(bytes);
        const QString text = address.text();
        const std::optional<Ipv6Bytes> read = parseIpv6(text);
        if (!read || *read != bytes)
            QFAIL(qPrintable(QStringLiteral("text %1 does not read back").arg(text)));
        const QString name = reverseName(address);
        const std::optional<IpAddress> back = addressOfReverseName(name);
        if (!back || *back != address)
            QFAIL(qPrintable(QStringLiteral("%1 does not read back from %2").arg(text, name)));
        // Through the zone of its /64 and its owner there.
        const IpPrefix zone{address.masked(64), 64};
        const QString joined = reverseOwner(address, zone) + QLatin1Char('.') + reverseZoneName(zone);
        if (addressOfReverseName(joined) != address)
            QFAIL(qPrintable(QStringLiteral("%1 does not read back from %2").arg(text, joined)));
        if (prefixOfReverseZone(reverseZoneName(zone)) != zone)
            QFAIL(qPrintable(QStringLiteral("zone %1 does not read back").arg(reverseZoneName(zone))));
    }
}

void TstIpAddresses::reverseZonesOfPrefixes_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("zone");
    QTest::newRow("shortened /64 keeps every nibble") << "2001:470:d:eb3::/64"
                                                      << "3.b.e.0.d.0.0.0.0.7.4.0.1.0.0.2.IP6.ARPA";
    QTest::newRow("/48") << "2001:db8:1::/48"
                         << "1.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA";
    QTest::newRow("/52 ends inside a group") << "2001:db8:0:f000::/52"
                                             << "f.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA";
    QTest::newRow("all of ip6.arpa") << "::/0"
                                     << "IP6.ARPA";
    QTest::newRow("first nibble") << "::/4"
                                  << "0.IP6.ARPA";
    QTest::newRow("near the top") << "f000::/4"
                                  << "f.IP6.ARPA";
    QTest::newRow("mapped addresses") << "::ffff:0:0/96"
                                      << "f.f.f.f.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.IP6.ARPA";
    QTest::newRow("one address") << "2001:db8::1/128"
                                 << "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA";
    QTest::newRow("IPv4 /24") << "10.1.2.0/24"
                              << "2.1.10.IN-ADDR.ARPA";
    QTest::newRow("IPv4 /16") << "10.1.0.0/16"
                              << "1.10.IN-ADDR.ARPA";
    QTest::newRow("IPv4 /8") << "10.0.0.0/8"
                             << "10.IN-ADDR.ARPA";
    QTest::newRow("IPv4 classless") << "192.0.2.64/26"
                                    << "64/26.2.0.192.IN-ADDR.ARPA";
    QTest::newRow("IPv4 classless first block") << "192.0.2.0/25"
                                                << "0/25.2.0.192.IN-ADDR.ARPA";
}

void TstIpAddresses::reverseZonesOfPrefixes()
{
    QFETCH(QString, prefix);
    QFETCH(QString, zone);
    QString why;
    const std::optional<IpPrefix> parsed = IpPrefix::parse(prefix, &why);
    QVERIFY2(parsed, qPrintable(why));
    QCOMPARE(reverseZoneRefusal(*parsed), std::nullopt);
    QCOMPARE(reverseZoneName(*parsed), zone);
    QCOMPARE(prefixOfReverseZone(zone), parsed);
    QCOMPARE(prefixOfReverseZone(QString(zone.toLower() + QLatin1Char('.'))), parsed);
}

void TstIpAddresses::reverseOwnersWithinTheirZone_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("owner");
    QTest::newRow("/64") << "2001:470:d:eb3::1"
                         << "2001:470:d:eb3::/64"
                         << "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0";
    QTest::newRow("/48") << "2001:db8:1:2::abc"
                         << "2001:db8:1::/48"
                         << "c.b.a.0.0.0.0.0.0.0.0.0.0.0.0.0.2.0.0.0";
    QTest::newRow("/124") << "2001:db8::1f"
                          << "2001:db8::10/124"
                          << "f";
    QTest::newRow("/128") << "2001:db8::1"
                          << "2001:db8::1/128"
                          << "@";
    QTest::newRow("/24") << "10.1.2.5"
                         << "10.1.2.0/24"
                         << "5";
    QTest::newRow("/16") << "10.1.2.5"
                         << "10.1.0.0/16"
                         << "5.2";
    QTest::newRow("/8") << "10.1.2.5"
                        << "10.0.0.0/8"
                        << "5.2.1";
    QTest::newRow("classless") << "192.0.2.65"
                               << "192.0.2.64/26"
                               << "65";
}

void TstIpAddresses::reverseOwnersWithinTheirZone()
{
    QFETCH(QString, address);
    QFETCH(QString, prefix);
    QFETCH(QString, owner);
    const IpAddress parsed = *IpAddress::parse(address);
    const IpPrefix zone = *IpPrefix::parse(prefix);
    QVERIFY(zone.contains(parsed));
    QCOMPARE(reverseOwner(parsed, zone), owner);
    const QString full =
        owner == QLatin1String("@") ? reverseZoneName(zone) : owner + QLatin1Char('.') + reverseZoneName(zone);
    QCOMPARE(addressOfReverseName(full), std::optional<IpAddress>(parsed));
}

void TstIpAddresses::reverseNamesReadBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("address"); // empty: no address
    QTest::newRow("IPv4") << "5.2.1.10.in-addr.arpa."
                          << "10.1.2.5";
    QTest::newRow("IPv4 upper case, no dot") << "5.2.1.10.IN-ADDR.ARPA"
                                             << "10.1.2.5";
    QTest::newRow("classless slash") << "65.64/26.2.0.192.in-addr.arpa."
                                     << "192.0.2.65";
    QTest::newRow("classless range") << "65.64-127.2.0.192.in-addr.arpa."
                                     << "192.0.2.65";
    QTest::newRow("IPv6 upper-case nibbles")
        << "1.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.3.B.E.0.D.0.0.0.0.7.4.0.1.0.0.2.IP6.ARPA."
        << "2001:470:d:eb3::1";
    QTest::newRow("IPv4 too short") << "2.1.10.in-addr.arpa."
                                    << "";
    QTest::newRow("IPv4 octet too big") << "256.2.1.10.in-addr.arpa."
                                        << "";
    QTest::newRow("IPv4 leading zero") << "05.2.1.10.in-addr.arpa."
                                       << "";
    QTest::newRow("IPv6 too short") << "1.0.0.2.ip6.arpa."
                                    << "";
    QTest::newRow("IPv6 two-digit label")
        << "10.0.0.0.0.0.0.0.0.0.0.0.0.0.0.0.3.b.e.0.d.0.0.0.0.7.4.0.1.0.0.2.ip6.arpa."
        << "";
    QTest::newRow("forward name") << "www.example.com."
                                  << "";
}

void TstIpAddresses::reverseNamesReadBack()
{
    QFETCH(QString, name);
    QFETCH(QString, address);
    const std::optional<IpAddress> read = addressOfReverseName(name);
    QCOMPARE(read.has_value(), !address.isEmpty());
    if (read)
        QCOMPARE(read->text(), address);
}

void TstIpAddresses::prefixesAreCheckedStrictly_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("why");
    QTest::newRow("no length") << "2001:db8::"
                               << "2001:db8:: has no prefix length: write it as an address, \"/\" and the number of "
                                  "leading bits the network fixes, such as 2001:db8::/48 or 192.0.2.64/26.";
    QTest::newRow("bits beyond the length") << "2001:db8::1/48"
                                            << "2001:db8::1/48 has bits set beyond its length; the network is "
                                               "2001:db8::/48.";
    QTest::newRow("too long") << "10.0.0.0/33"
                              << "The prefix length of 10.0.0.0/33 must be a number from 0 to 32.";
    QTest::newRow("no number") << "::/x"
                               << "The prefix length of ::/x must be a number from 0 to 128.";
    QTest::newRow("no address") << "host/24"
                                << "host/24 does not begin with an IP address.";
    QTest::newRow("IPv6 not a multiple of 4")
        << "2001:db8::/50"
        << "An IPv6 reverse zone covers a prefix whose length is a multiple of 4; 2001:db8::/50 is not.";
    QTest::newRow("IPv4 between classes")
        << "10.16.0.0/12"
        << "An IPv4 reverse zone covers a /8, /16 or /24 network, or a block longer than /24; "
           "10.16.0.0/12 is none of these.";
}

void TstIpAddresses::prefixesAreCheckedStrictly()
{
    QFETCH(QString, prefix);
    QFETCH(QString, why);
    QString reason;
    const std::optional<IpPrefix> parsed = IpPrefix::parse(prefix, &reason);
    if (parsed)
        reason = reverseZoneRefusal(*parsed).value_or(QString());
    QCOMPARE(reason, why);
}

void TstIpAddresses::refusalNamesTheFormMeant_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("refusal");
    const QString ipv4 =
        QStringLiteral("An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.");
    const QString ipv6 = ipv6AddressForm();
    QTest::newRow("meant as IPv4") << "10.0.0.256"
                                   << "Bad. " + ipv4;
    QTest::newRow("meant as IPv6") << "2001:db8::g"
                                   << "Bad. " + ipv6;
    QTest::newRow("neither") << "host"
                             << "Bad. " + ipv4;
}

void TstIpAddresses::refusalNamesTheFormMeant()
{
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QCOMPARE(ipAddressRefusal(QStringLiteral("Bad."), text), refusal);
}

QTEST_APPLESS_MAIN(TstIpAddresses)
#include "tst_ipaddresses.moc"
