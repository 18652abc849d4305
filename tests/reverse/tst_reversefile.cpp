#include "checks/ipv4address.h"
#include "checks/namechecks.h"
#include "reverse/reversefile.h"
#include "reverse/secondaryreverse.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"

#include <QTest>

class TestReverseFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void canonicalAddress_data();
    void canonicalAddress();
    void mailbox_data();
    void mailbox();
    void soaDefaults_data();
    void soaDefaults();
    void soaLines();
    void serialOfFile_data();
    void serialOfFile();
    void serialOver_data();
    void serialOver();
    void secondaryZone_data();
    void secondaryZone();
    void blockLines();
};

void TestReverseFile::canonicalAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address"); // empty: refused

    QTest::newRow("plain") << "10.1.2.5"
                           << "10.1.2.5";
    QTest::newRow("blanks around") << " 10.1.2.5 "
                                   << "10.1.2.5";
    QTest::newRow("leading zeros") << "010.001.002.005"
                                   << "10.1.2.5";
    QTest::newRow("edges") << "0.0.0.255"
                           << "0.0.0.255";
    QTest::newRow("three octets") << "10.1.2"
                                  << "";
    QTest::newRow("five octets") << "10.1.2.3.4"
                                 << "";
    QTest::newRow("octet too big") << "10.1.2.256"
                                   << "";
    QTest::newRow("empty octet") << "10..2.3"
                                 << "";
    QTest::newRow("four digits") << "10.1.2.0005"
                                 << "";
    QTest::newRow("letters") << "10.1.2.a"
                             << "";
    QTest::newRow("sign") << "10.1.2.+5"
                          << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestReverseFile::canonicalAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QCOMPARE(canonicalIpv4(text).value_or(QString()), address);
}

void TestReverseFile::mailbox_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("mailbox");

    QTest::newRow("address") << "hostmaster@example.com"
                             << "hostmaster.example.com.";
    QTest::newRow("with dot") << "hostmaster@example.com."
                              << "hostmaster.example.com.";
    QTest::newRow("already a mailbox") << "admin.example.com."
                                       << "admin.example.com.";
    QTest::newRow("empty") << ""
                           << ".";
}

void TestReverseFile::mailbox()
{
    QFETCH(QString, email);
    QFETCH(QString, mailbox);
    QCOMPARE(mailboxOf(email), mailbox);
}

void TestReverseFile::soaDefaults_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("result");

    QTest::newRow("kept") << QStringList{"10800", "7200", "1209600", "3600"}
                          << QStringList{"10800", "7200", "1209600", "3600"};
    QTest::newRow("empty") << QStringList{"", "", "", ""} << QStringList{"1080", "3600", "604800", "86400"};
    // "1x" begins with a digit but is no time the name server reads: kept, it made every reverse zone unloadable.
    QTest::newRow("no time") << QStringList{"x1", " 5", "-1", "1x"} << QStringList{"1080", "3600", "604800", "86400"};
    QTest::newRow("times in units") << QStringList{"3h", "1h30m", "2W", "1d"} << QStringList{"3h", "1h30m", "2W", "1d"};
}

void TestReverseFile::soaDefaults()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, result);
    SetupDefaults setup;
    setup.defaultrefresh = given.at(0);
    setup.defaultretry = given.at(1);
    setup.defaultexpire = given.at(2);
    setup.defaultminimum = given.at(3);
    applyReverseSoaDefaults(setup);
    QCOMPARE(QStringList({setup.defaultrefresh, setup.defaultretry, setup.defaultexpire, setup.defaultminimum}),
             result);
}

void TestReverseFile::soaLines()
{
    AppState state;
    state.zoneLists.firstzone = QStringLiteral("ns1.example.com");
    state.emailaddr = QStringLiteral("admin@example.com");
    state.setup.runningSerial = QStringLiteral("2026120703");
    state.setup.defaultrefresh = QStringLiteral("1080");
    state.setup.defaultretry = QStringLiteral("3600");
    state.setup.defaultexpire = QStringLiteral("604800");
    state.setup.defaultminimum = QStringLiteral("86400");
    QCOMPARE(reverseSoaLines(state),
             QStringList({QStringLiteral("@     IN       SOA       ns1.example.com. admin.example.com. ("),
                          QStringLiteral("2026120703"), QStringLiteral("1080"), QStringLiteral("3600"),
                          QStringLiteral("604800"), QStringLiteral("86400 )")}));
}

void TestReverseFile::serialOfFile_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("serial"); // empty: none

    QTest::newRow("own layout") << QStringList{";[SOA]",     "@     IN       SOA       ns1.a. h.a. (",
                                               "2026120705", "1080",
                                               "3600",       "604800",
                                               "86400 )"}
                                << "2026120705";
    QTest::newRow("one line") << QStringList{"@ IN SOA ns1.a. h.a. ( 42 1 2 3 4 ) ; note"} << "42";
    QTest::newRow("comment between") << QStringList{"@ IN SOA ns1.a. h.a. (", "; serial below", "7 ; serial", "1"}
                                     << "7";
    QTest::newRow("no SOA") << QStringList{";SOA only in a comment", "1"} << "";
    QTest::newRow("not a number") << QStringList{"@ IN SOA ns1.a. h.a. (", "abc"} << "";
}

void TestReverseFile::serialOfFile()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, serial);
    const std::optional<quint64> found = reverseFileSerial(lines);
    QCOMPARE(found ? QString::number(*found) : QString(), serial);
}

void TestReverseFile::serialOver_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("previous"); // empty: no file
    QTest::addColumn<QString>("written");

    QTest::newRow("no file") << "2026120701"
                             << ""
                             << "2026120701";
    QTest::newRow("higher running") << "2026120701"
                                    << "2026120601"
                                    << "2026120701";
    QTest::newRow("equal") << "2026120701"
                           << "2026120701"
                           << "2026120701";
    QTest::newRow("lower running") << "2026120701"
                                   << "2026120702"
                                   << "2026120703";
}

void TestReverseFile::serialOver()
{
    QFETCH(QString, running);
    QFETCH(QString, previous);
    QFETCH(QString, written);
    std::optional<quint64> old;
    if (!previous.isEmpty())
        old = previous.toULongLong();
    QCOMPARE(reverseSerialOver(running, old), written);
}

void TestReverseFile::secondaryZone_data()
{
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<QString>("zone");

    QTest::newRow("class C") << "206.117.30.0"
                             << "206.117.30.255"
                             << "30.117.206.IN-ADDR.ARPA";
    QTest::newRow("class B") << "10.1.0.0"
                             << "10.1.255.255"
                             << "1.10.IN-ADDR.ARPA";
    QTest::newRow("class A") << "10.0.0.0"
                             << "10.255.255.255"
                             << "10.IN-ADDR.ARPA";
    QTest::newRow("one address") << "10.1.2.3"
                                 << "10.1.2.3"
                                 << "3.2.1.10.IN-ADDR.ARPA";
    QTest::newRow("differ later again") << "10.1.2.0"
                                        << "10.2.2.0"
                                        << "10.IN-ADDR.ARPA";
    QTest::newRow("first octet differs") << "10.1.2.0"
                                         << "11.1.2.0"
                                         << "";
}

void TestReverseFile::secondaryZone()
{
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(QString, zone);
    QCOMPARE(secondaryReverseZone(low, high).value_or(QString()), zone);
}

void TestReverseFile::blockLines()
{
    ScriptedPrompter prompter;
    const std::optional<SecondaryReverseBlock> block = makeSecondaryReverseBlock(
        QStringLiteral(" 206.117.30.0"), QStringLiteral("206.117.30.255 "), QStringLiteral("10.0.0.1"), prompter);
    QVERIFY(block);
    QVERIFY(prompter.prompts().isEmpty());
    QCOMPARE(block->display, QStringLiteral("206.117.30.0 <--> 206.117.30.255 on server: 10.0.0.1"));
    QCOMPARE(block->workingEntry(), QStringLiteral("30.117.206.IN-ADDR.ARPA     10.0.0.1"));
    QCOMPARE(block->bootLine(), QStringLiteral("secondary     30.117.206.IN-ADDR.ARPA     10.0.0.1     "
                                               "30.117.206.IN-ADDR.ARPA.secondary.reverse.DNS"));
}

QTEST_GUILESS_MAIN(TestReverseFile)
#include "tst_reversefile.moc"
