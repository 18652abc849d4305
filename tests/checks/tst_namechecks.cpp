#include "checks/ipv4address.h"
#include "checks/namechecks.h"
#include "checks/tldlist.h"

#include <QTest>

// The checks without questions: character filter, origin completion, dot count, the address test and the
// known-TLD test.
class TstNameChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stripsToNameCharacters_data();
    void stripsToNameCharacters();
    void qualifiesWithOrigin_data();
    void qualifiesWithOrigin();
    void countsThreeDots_data();
    void countsThreeDots();
    void acceptsOnlyAddressesTheNameServerReads_data();
    void acceptsOnlyAddressesTheNameServerReads();
    void endsWithKnownTld_data();
    void endsWithKnownTld();
    void userEntriesCountAsKnownTlds_data();
    void userEntriesCountAsKnownTlds();
    void knownTldTestFollowsListChanges();
};

void TstNameChecks::stripsToNameCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stripped");
    QTest::newRow("plain name") << QStringLiteral("web.example.com.") << QStringLiteral("web.example.com.");
    QTest::newRow("underscore") << QStringLiteral("my_host") << QStringLiteral("myhost");
    QTest::newRow("case kept") << QStringLiteral("Mail-1.Example.COM") << QStringLiteral("Mail-1.Example.COM");
    QTest::newRow("at kept") << QStringLiteral("admin@example.com") << QStringLiteral("admin@example.com");
    QTest::newRow("blanks and apostrophe") << QStringLiteral(" o'hara \tx ") << QStringLiteral("oharax");
    QTest::newRow("non-ascii letters dropped") << QStringLiteral("h\u00f4te\u00c9") << QStringLiteral("hte");
    QTest::newRow("every other sign dropped")
        << QStringLiteral("a!\"#$%&()*+,/:;<=>?[\\]^`{|}~b") << QStringLiteral("ab");
    QTest::newRow("empty") << QString() << QString();
}

void TstNameChecks::stripsToNameCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, stripped);
    QCOMPARE(stripToNameCharacters(text), stripped);
}

void TstNameChecks::qualifiesWithOrigin_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("qualified");
    const QString origin = QStringLiteral("example.com");
    QTest::newRow("relative") << QStringLiteral("web") << origin << QStringLiteral("web.example.com.");
    QTest::newRow("ends in origin") << QStringLiteral("mail.example.com") << origin
                                    << QStringLiteral("mail.example.com.");
    QTest::newRow("origin without a dot before it")
        << QStringLiteral("fooexample.com") << origin << QStringLiteral("fooexample.com.");
    QTest::newRow("origin compared with case")
        << QStringLiteral("WEB.EXAMPLE.COM") << origin << QStringLiteral("WEB.EXAMPLE.COM.example.com.");
    QTest::newRow("absolute unchanged") << QStringLiteral("host.") << origin << QStringLiteral("host.");
    QTest::newRow("absolute, other origin")
        << QStringLiteral("host.") << QStringLiteral("other.net") << QStringLiteral("host.");
    QTest::newRow("origin itself") << origin << origin << QStringLiteral("example.com.");
}

void TstNameChecks::qualifiesWithOrigin()
{
    QFETCH(QString, name);
    QFETCH(QString, origin);
    QFETCH(QString, qualified);
    QCOMPARE(qualifyWithOrigin(name, origin), qualified);
}

void TstNameChecks::countsThreeDots_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("atLeastThree");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("two dots") << QStringLiteral("a.b.c") << false;
    QTest::newRow("three dots") << QStringLiteral("a.b.c.") << true;
    QTest::newRow("many dots") << QStringLiteral("....") << true;
    QTest::newRow("no dot") << QStringLiteral("web") << false;
}

void TstNameChecks::countsThreeDots()
{
    QFETCH(QString, name);
    QFETCH(bool, atLeastThree);
    QCOMPARE(hasAtLeastThreeDots(name), atLeastThree);
}

// Every address field is checked with the one test: the shape test that stood here let letters, five parts and
// numbers above 255 through, each of which makes the name server refuse the zone.
void TstNameChecks::acceptsOnlyAddressesTheNameServerReads_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("address");
    QTest::newRow("short address") << QStringLiteral("10.0.0.1") << true;
    QTest::newRow("long address") << QStringLiteral("192.168.100.200") << true;
    QTest::newRow("usual address") << QStringLiteral("192.168.1.1") << true;
    QTest::newRow("lowest") << QStringLiteral("0.0.0.0") << true;
    QTest::newRow("highest") << QStringLiteral("255.255.255.255") << true;
    QTest::newRow("letters") << QStringLiteral("a.b.c.d") << false;
    QTest::newRow("mixed letters") << QStringLiteral("abc.de.f.g") << false;
    QTest::newRow("five parts") << QStringLiteral("1.2.3.4.5") << false;
    QTest::newRow("part above 255") << QStringLiteral("300.1.2.3") << false;
    QTest::newRow("last part above 255") << QStringLiteral("1.2.3.256") << false;
    QTest::newRow("leading zero") << QStringLiteral("010.1.2.3") << false;
    QTest::newRow("nothing after third dot") << QStringLiteral("1.2.3.") << false;
    QTest::newRow("first part of four") << QStringLiteral("1234.1.1.1") << false;
    QTest::newRow("two parts") << QStringLiteral("1.2") << false;
    QTest::newRow("two dots") << QStringLiteral("1.2.3") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("empty first part") << QStringLiteral(".1.2.3") << false;
    QTest::newRow("empty second part") << QStringLiteral("1..2.3") << false;
    QTest::newRow("second part of four") << QStringLiteral("1.2345.6.7") << false;
    QTest::newRow("empty third part") << QStringLiteral("1.2..3") << false;
    QTest::newRow("third part of five") << QStringLiteral("1.2.34567.8") << false;
    QTest::newRow("blank around") << QStringLiteral(" 1.2.3.4") << false;
    QTest::newRow("sign") << QStringLiteral("+1.2.3.4") << false;
}

void TstNameChecks::acceptsOnlyAddressesTheNameServerReads()
{
    QFETCH(QString, text);
    QFETCH(bool, address);
    QCOMPARE(isIpv4Address(text), address);
}

void TstNameChecks::endsWithKnownTld_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::newRow("relative") << QStringLiteral("web.example.com") << true;
    QTest::newRow("absolute") << QStringLiteral("web.example.com.") << true;
    QTest::newRow("country code") << QStringLiteral("host.example.co.uk") << true;
    QTest::newRow("upper case") << QStringLiteral("WEB.EXAMPLE.COM") << true;
    QTest::newRow("upper case absolute") << QStringLiteral("WEB.EXAMPLE.COM.") << true;
    QTest::newRow("tld inside and at end") << QStringLiteral("ns.com.example.com") << true;
    QTest::newRow("single label") << QStringLiteral("example") << false;
    QTest::newRow("unknown last label") << QStringLiteral("example.local") << false;
    QTest::newRow("unknown, absolute") << QStringLiteral("example.local.") << false;
    QTest::newRow("tld alone has no dot before it") << QStringLiteral("com") << false;
    QTest::newRow("tld alone, absolute") << QStringLiteral("com.") << false;
    QTest::newRow("dot and tld") << QStringLiteral(".com") << true;
    QTest::newRow("tld then two dots") << QStringLiteral("example.com..") << false;
    QTest::newRow("known tld not last") << QStringLiteral("example.com.local") << false;
    QTest::newRow("arpa is not built in") << QStringLiteral("1.0.10.in-addr.arpa") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("a dot") << QStringLiteral(".") << false;
}

void TstNameChecks::endsWithKnownTld()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    const TldList tlds;
    QCOMPARE(::endsWithKnownTld(name, tlds), known);
}

void TstNameChecks::userEntriesCountAsKnownTlds_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::newRow("added label") << QStringLiteral("local") << QStringLiteral("host.example.local") << true;
    QTest::newRow("added in capitals") << QStringLiteral("LAN") << QStringLiteral("printer.lan.") << true;
    QTest::newRow("dotted entry") << QStringLiteral("example.local") << QStringLiteral("web.example.local") << true;
    QTest::newRow("dotted entry, absolute")
        << QStringLiteral("example.local") << QStringLiteral("web.example.local.") << true;
    QTest::newRow("dotted entry needs its dot before")
        << QStringLiteral("example.local") << QStringLiteral("webexample.local") << false;
    QTest::newRow("dotted entry alone") << QStringLiteral("example.local") << QStringLiteral("example.local") << false;
    QTest::newRow("built-in still known beside dotted")
        << QStringLiteral("example.local") << QStringLiteral("web.example.com.") << true;
    QTest::newRow("entry with leading dot") << QStringLiteral(".lan") << QStringLiteral("host..lan") << true;
    QTest::newRow("entry with leading dot, one dot") << QStringLiteral(".lan") << QStringLiteral("host.lan") << false;
}

void TstNameChecks::userEntriesCountAsKnownTlds()
{
    QFETCH(QString, stored);
    QFETCH(QString, name);
    QFETCH(bool, known);
    TldList tlds;
    tlds.load(stored);
    QCOMPARE(::endsWithKnownTld(name, tlds), known);
}

void TstNameChecks::knownTldTestFollowsListChanges()
{
    TldList tlds;
    const QString name = QStringLiteral("host.example.local");
    QVERIFY(!::endsWithKnownTld(name, tlds));
    tlds.addUserEntry(QStringLiteral("local"));
    QVERIFY(::endsWithKnownTld(name, tlds));
    tlds.removeUserEntry(QStringLiteral("local"));
    QVERIFY(!::endsWithKnownTld(name, tlds));

    tlds.addUserEntry(QStringLiteral("example.local"));
    QVERIFY(tlds.hasDottedEntries());
    QVERIFY(::endsWithKnownTld(name, tlds));
    tlds.removeUserEntry(QStringLiteral("example.local"));
    QVERIFY(!tlds.hasDottedEntries());
    QVERIFY(!::endsWithKnownTld(name, tlds));
}

QTEST_GUILESS_MAIN(TstNameChecks)
#include "tst_namechecks.moc"
