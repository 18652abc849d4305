// The host editor over both address families: an IPv6 address stored as an AAAA record in its canonical text,
// several addresses of one host, a record moving between the host list and the other records when its address
// changes family, and the positions of the "Host Addresses" list the editor, the tree and the command line count.
// Every stored zone is accepted by named-checkzone.
#include "editorfixture.h"
#include "editorrun.h"
#include "editors/hosteditors.h"
#include "support/zonecheck.h"
#include "zone/hostaddresses.h"
#include "zonebrowser/zonetree.h"

#include <QTest>

namespace {

const QString kAttention = QStringLiteral("Attention!");

QString referenceOk(const QString& typed, const QString& completed)
{
    return QStringLiteral("Question|You entered \"") + typed +
           QStringLiteral("\" in the name field. This will reference ") + completed +
           QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.|ok");
}

QString invalidIpv6()
{
    return QStringLiteral("Attention!|You have entered an invalid IP# in the first IP# field. Re-Enter. An IPv6 "
                          "address is eight groups of one to four hexadecimal digits separated by colons, such as "
                          "2001:db8:0:0:0:0:0:10, where one run of zero groups may be shortened to \"::\" "
                          "(2001:db8::10).|ok");
}

void expectZoneLoads(const EditorFixture& fixture)
{
    const ZoneCheck check = checkZoneFile(fixture.zoneName, fixture.filePath());
    QVERIFY(check.ran);
    QVERIFY2(check.accepted() && check.complaints.isEmpty(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

} // namespace

class TstHostAddresses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void save_data();
    void save();
    void addressChangesFamily();
    void listShowsBothFamilies();
    void deleteAtAPositionOfTheList();
};

void TstHostAddresses::save_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("hosts");  // the host list afterwards; empty when refused
    QTest::addColumn<QStringList>("others"); // the other records afterwards
    const QStringList ns1 = {"ns1.example.com.     IN     A     10.0.0.1 "};
    const QStringList both = {"ns1.example.com.     IN     A     10.0.0.1 ",
                              "mail.example.com.     IN     A     10.0.0.2 "};
    QTest::newRow("IPv6 in any form, written canonical")
        << -1 << QStringList{"web", "2001:DB8:0:0::0005"} << QStringList{referenceOk("web", "web.example.com.")} << both
        << QStringList{"web.example.com.     IN     AAAA     2001:db8::5"};
    QTest::newRow("IPv4-mapped form") << -1 << QStringList{"web.example.com", "::FFFF:c000:0201"} << QStringList{}
                                      << both << QStringList{"web.example.com.     IN     AAAA     ::ffff:192.0.2.1"};
    QTest::newRow("a second address of the other family")
        << -1 << QStringList{"mail.example.com", "2001:db8::2"} << QStringList{} << both
        << QStringList{"mail.example.com.     IN     AAAA     2001:db8::2"};
    QTest::newRow("a second IPv4 address")
        << -1 << QStringList{"mail.example.com", "10.0.0.9"} << QStringList{}
        << (both + QStringList{"mail.example.com.     IN     A     10.0.0.9 "}) << QStringList{};
    QTest::newRow("the same address twice")
        << -1 << QStringList{"mail.example.com", "10.0.0.2"}
        << QStringList{"Re-Enter.|You already have entered this host address.|ok"} << QStringList{} << QStringList{};
    QTest::newRow("changing a host to its own address")
        << 1 << QStringList{"mail.example.com", "10.0.0.2"} << QStringList{} << both << QStringList{};
    QTest::newRow("IPv6 with a bad group") << -1 << QStringList{"web.example.com", "2001:db8::g"}
                                           << QStringList{invalidIpv6()} << QStringList{} << QStringList{};
    QTest::newRow("IPv6 with two gaps") << -1 << QStringList{"web.example.com", "1::2::3"} << QStringList{invalidIpv6()}
                                        << QStringList{} << QStringList{};
    QTest::newRow("IPv6 with a zone index")
        << -1 << QStringList{"web.example.com", "fe80::1%eth0"}
        << QStringList{kAttention + "|You have illegal characters in the IP field.|ok"} << QStringList{}
        << QStringList{};
    QTest::newRow("an IPv4 host changed keeps its place")
        << 0 << QStringList{"ns1.example.com", "10.0.0.11"} << QStringList{}
        << QStringList{"ns1.example.com.     IN     A     10.0.0.11 ", "mail.example.com.     IN     A     10.0.0.2 "}
        << QStringList{};
}

void TstHostAddresses::save()
{
    QFETCH(int, position);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, hosts);
    QFETCH(QStringList, others);
    EditorFixture fixture;
    const QByteArray before = fixture.fileBytes();
    fixture.state.zone.hostaddrs.setEditIndex(position);
    fixture.script(prompts);
    const EditResult result = runSave(fixture.context, QStringLiteral("host"), fields);
    QCOMPARE(fixture.prompter.problems(), QStringList());
    QCOMPARE(fixture.prompter.pending(), 0);
    if (hosts.isEmpty()) {
        QCOMPARE(result.status, EditStatus::Refused);
        QCOMPARE(fixture.fileBytes(), before);
        return;
    }
    QCOMPARE(result.status, EditStatus::Stored);
    // What the file holds, read back.
    fixture.reload();
    QCOMPARE(fixture.state.zone.hostaddrs.lines(), hosts);
    QCOMPARE(fixture.state.zone.otherrecords.lines(), others);
    expectZoneLoads(fixture);
}

void TstHostAddresses::addressChangesFamily()
{
    EditorFixture fixture;
    // mail, the second host, becomes an IPv6 host: it leaves the host list for the other records.
    fixture.state.zone.hostaddrs.setEditIndex(1);
    QStringList fields{"mail.example.com", "2001:db8::25"};
    QCOMPARE(runSave(fixture.context, QStringLiteral("host"), fields).status, EditStatus::Stored);
    fixture.reload();
    QCOMPARE(fixture.state.zone.hostaddrs.lines(), QStringList{"ns1.example.com.     IN     A     10.0.0.1 "});
    QCOMPARE(fixture.state.zone.otherrecords.lines(),
             QStringList{"mail.example.com.     IN     AAAA     2001:db8::25"});
    expectZoneLoads(fixture);

    // At its place in the list (after the host list's records) it opens with its own fields, and goes back.
    QCOMPARE(hostFieldsAt(fixture.state.zone, 1).first, QStringLiteral("mail.example.com."));
    QCOMPARE(hostFieldsAt(fixture.state.zone, 1).second, QStringLiteral("2001:db8::25"));
    fixture.state.zone.hostaddrs.setEditIndex(1);
    fields = {"mail.example.com", "10.0.0.25"};
    QCOMPARE(runSave(fixture.context, QStringLiteral("host"), fields).status, EditStatus::Stored);
    fixture.reload();
    QCOMPARE(fixture.state.zone.hostaddrs.lines(), (QStringList{"ns1.example.com.     IN     A     10.0.0.1 ",
                                                                "mail.example.com.     IN     A     10.0.0.25 "}));
    QCOMPARE(fixture.state.zone.otherrecords.lines(), QStringList());
    // Twice the serial went up: two saves.
    QCOMPARE(fixture.state.setup.runningSerial, QStringLiteral("2026120703"));
    expectZoneLoads(fixture);
}

void TstHostAddresses::listShowsBothFamilies()
{
    EditorFixture fixture;
    QStringList fields{"ns1.example.com", "2001:db8::53"};
    QCOMPARE(runSave(fixture.context, QStringLiteral("host"), fields).status, EditStatus::Stored);
    // An IPv4 address record with a time to live of its own, as a file written elsewhere holds it, stays an other
    // record; it is an address record all the same. An IPv6 one with its own time to live is listed with it.
    fixture.state.zone.otherrecords.append(QStringLiteral("ftp.example.com.     300     IN     A     10.0.0.21"));
    fixture.state.zone.otherrecords.append(QStringLiteral("example.com.     IN     TXT     \"v=spf1 -all\""));
    fixture.state.zone.otherrecords.append(QStringLiteral("ftp.example.com.     300     IN     AAAA     2001:db8::21"));
    const ZoneModel& zone = fixture.state.zone;
    QCOMPARE(recordNodeTexts(zone, RecordKind::HostAddress, QStringLiteral("example.com")),
             (QStringList{"ns1.example.com.", "mail.example.com.", "ns1.example.com.", "ftp.example.com."}));
    QCOMPARE(recordValueTexts(zone, RecordKind::HostAddress),
             (QStringList{"10.0.0.1", "10.0.0.2", "2001:db8::53  (IPv6)", "2001:db8::21  (IPv6, TTL 300)"}));
    const QList<HostAddressEntry> entries = hostAddressEntries(zone);
    QCOMPARE(entries.size(), 4);
    QVERIFY(entries.at(2).ipv6 && entries.at(2).inOtherRecords && entries.at(2).index == 0);
    QVERIFY(entries.at(3).ipv6 && entries.at(3).inOtherRecords && entries.at(3).index == 3);
    QCOMPARE(addressRecords(zone).size(), 5);
}

void TstHostAddresses::deleteAtAPositionOfTheList()
{
    EditorFixture fixture;
    QStringList fields{"web.example.com", "2001:db8::80"};
    QCOMPARE(runSave(fixture.context, QStringLiteral("host"), fields).status, EditStatus::Stored);
    fixture.state.zoneLists.reverseignore = QStringList{"web.example.com.", "ns1.example.com."};
    fixture.reload();
    // Nothing points to web: the editor's Delete asks nothing.
    fixture.state.zone.hostaddrs.setEditIndex(2);
    QCOMPARE(deleteRecord(fixture.context, RecordKind::HostAddress).status, EditStatus::Stored);
    QCOMPARE(fixture.prompter.prompts().size(), 0);
    fixture.reload();
    QCOMPARE(fixture.state.zone.otherrecords.lines(), QStringList());
    QCOMPARE(fixture.state.zoneLists.reverseignore, QStringList{"ns1.example.com."});
    // A position beyond the list names no record.
    fixture.state.zone.hostaddrs.setEditIndex(2);
    QCOMPARE(deleteRecord(fixture.context, RecordKind::HostAddress).status, EditStatus::NoRecord);
    expectZoneLoads(fixture);
}

QTEST_GUILESS_MAIN(TstHostAddresses)
#include "tst_hostaddresses.moc"
