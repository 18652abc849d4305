#include "zone/primaryzoneentry.h"
#include "zone/recorddisplay.h"
#include "zone/recordfields.h"
#include "zone/secondaryzoneentry.h"
#include "zone/serverzonelists.h"
#include "zone/zonemodel.h"
#include "zone/zoneselect.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordKind)

namespace {

const QString kSpaces5 = QStringLiteral("     ");

QStringList sampleSoa()
{
    return {QStringLiteral("@"),
            QStringLiteral("ns1.example.com."),
            QStringLiteral("hostmaster.example.com."),
            QStringLiteral("2026120702"),
            QStringLiteral("1080"),
            QStringLiteral("3600"),
            QStringLiteral("604800"),
            QStringLiteral("86400")};
}

// A zone as the reader leaves it: stored lines, displays still to be built.
ZoneModel sampleZone()
{
    ZoneModel zone;
    zone.dnsname = QStringLiteral("example.com");
    zone.sourceofauth = SoaRecord(sampleSoa());
    zone.nameservers.append(QStringLiteral("@     IN     NS     ns1.example.com."), QString());
    zone.mailservers.append(QStringLiteral("@     IN     MX     10     mail.example.com. "), QString());
    zone.hostaddrs.append(QStringLiteral("web.example.com.     IN     A     10.0.0.5 "), QString());
    zone.hostaddrs.append(QStringLiteral("mail.example.com.\tIN\tA\t10.0.0.6"), QString());
    zone.aliases.append(QStringLiteral("www.example.com.     IN     CNAME     web.example.com. "), QString());
    zone.responsible.append(QStringLiteral("john     IN     RP     john.example.com  john.example.com "), QString());
    zone.textfiles.append(QStringLiteral("john     IN     TXT     \"Room 12\" "), QString());
    return zone;
}

void verifyParallel(const RecordList& list)
{
    QCOMPARE(list.displays().size(), list.lines().size());
    QCOMPARE(list.count(), int(list.lines().size()));
}

} // namespace

class TstZoneModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitsFieldsAtBlanks_data();
    void splitsFieldsAtBlanks();
    void displayTexts_data();
    void displayTexts();
    void soaDisplayLines();
    void rebuildsEveryDisplay();
    void rebuildRunsSoaStepInstead();
    void readLinesGetTheirDisplays();
    void displaysOfReadLinesComeWhenAsked_data();
    void displaysOfReadLinesComeWhenAsked();
    void listsByKind();
    void soaRecordHoldsEightValues();
    void editorStoresAtEditIndex();
    void editorDeletesAtEditIndex();
    void invalidIndexChangesNothing();
    void ownersAndDuplicates();
    void responsiblePairStaysTogether();
    void clearZoneAndClearRecords();
    void zoneEntryTextForms_data();
    void zoneEntryTextForms();
    void secondaryEntryTextForms_data();
    void secondaryEntryTextForms();
    void malformedEntriesAreRefused();
    void selectsPrimaryZone();
    void selectsSecondaryZone();
};

void TstZoneModel::splitsFieldsAtBlanks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("owner");
    QTest::newRow("program layout") << QStringLiteral("web     IN     A     10.0.0.5 ")
                                    << QStringList{QStringLiteral("web"), QStringLiteral("IN"), QStringLiteral("A"),
                                                   QStringLiteral("10.0.0.5")}
                                    << QStringLiteral("web");
    QTest::newRow("tabs") << QStringLiteral("web\tIN \t A\t\t10.0.0.5")
                          << QStringList{QStringLiteral("web"), QStringLiteral("IN"), QStringLiteral("A"),
                                         QStringLiteral("10.0.0.5")}
                          << QStringLiteral("web");
    QTest::newRow("leading blank: empty owner")
        << QStringLiteral(" IN A 10.0.0.5")
        << QStringList{QString(), QStringLiteral("IN"), QStringLiteral("A"), QStringLiteral("10.0.0.5")} << QString();
    QTest::newRow("one word") << QStringLiteral("web") << QStringList{QStringLiteral("web")} << QStringLiteral("web");
    QTest::newRow("empty") << QString() << QStringList{QString()} << QString();
}

void TstZoneModel::splitsFieldsAtBlanks()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QFETCH(QString, owner);
    QStringList got;
    for (const RecordField& field : recordFields(line))
        got << line.mid(field.start, field.length);
    QCOMPARE(got, fields);
    QCOMPARE(recordOwner(line), owner);
    QCOMPARE(recordFields(line, 2).size(), qMin(qsizetype(2), fields.size()));
}

void TstZoneModel::displayTexts_data()
{
    QTest::addColumn<RecordKind>("kind");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("display");

    QTest::newRow("NS") << RecordKind::NameServer << QStringLiteral("@     IN     NS     ns1.example.com.")
                        << QStringLiteral("ns1.example.com.");
    QTest::newRow("NS other owner") << RecordKind::NameServer
                                    << QStringLiteral("example.com.     IN     NS     ns.provider.net.")
                                    << QStringLiteral("ns.provider.net.");
    QTest::newRow("NS trailing blanks kept")
        << RecordKind::NameServer << QStringLiteral("@ IN NS ns1  ") << QStringLiteral("ns1  ");
    QTest::newRow("NS tabs") << RecordKind::NameServer << QStringLiteral("@\tIN\tNS\tns1.example.com.")
                             << QStringLiteral("ns1.example.com.");
    QTest::newRow("NS too short") << RecordKind::NameServer << QStringLiteral("@ IN NS") << QString();

    QTest::newRow("MX") << RecordKind::MailServer << QStringLiteral("@     IN     MX     10     mail.example.com. ")
                        << QStringLiteral("mail.example.com.     10");
    QTest::newRow("MX tabs") << RecordKind::MailServer << QStringLiteral("@\tIN\tMX\t20\tmx.example.com.")
                             << QStringLiteral("mx.example.com.    20");
    QTest::newRow("MX comment kept") << RecordKind::MailServer
                                     << QStringLiteral("@     IN     MX     10     mail.example.com. ; backup")
                                     << QStringLiteral("mail.example.com. ; backup    10");
    QTest::newRow("MX without host") << RecordKind::MailServer << QStringLiteral("@ IN MX 10")
                                     << QStringLiteral("    10");

    QTest::newRow("A") << RecordKind::HostAddress << QStringLiteral("web.example.com.     IN     A     10.0.0.5 ")
                       << QStringLiteral("web.example.com.      10.0.0.5 ");
    QTest::newRow("A tabs") << RecordKind::HostAddress << QStringLiteral("web\tIN\tA\t10.0.0.5")
                            << QStringLiteral("web      10.0.0.5");
    QTest::newRow("A owner only") << RecordKind::HostAddress << QStringLiteral("web") << QStringLiteral("web      ");

    QTest::newRow("CNAME") << RecordKind::Alias
                           << QStringLiteral("www.example.com.     IN     CNAME     web.example.com. ")
                           << QStringLiteral("www.example.com.      web.example.com. ");

    QTest::newRow("TXT") << RecordKind::TextRecord << QStringLiteral("john     IN     TXT     \"Room 12\" ")
                         << QStringLiteral("john         \"Room 12\" ");
    QTest::newRow("TXT tabs") << RecordKind::TextRecord << QStringLiteral("john\tIN\tTXT\t\"Room\"")
                              << QStringLiteral("john     \"Room\"");
    QTest::newRow("TXT without text") << RecordKind::TextRecord << QStringLiteral("john IN TXT")
                                      << QStringLiteral("john     ");

    QTest::newRow("RP") << RecordKind::ResponsiblePerson
                        << QStringLiteral("john     IN     RP     john.example.com  john.example.com ")
                        << QStringLiteral("john     john.example.com      john.example.com ");
    QTest::newRow("RP tabs") << RecordKind::ResponsiblePerson
                             << QStringLiteral("john\tIN\tRP\tjohn.example.com\tjohn.example.com.")
                             << QStringLiteral("john     john.example.com     john.example.com.");
    QTest::newRow("RP owner equal to mailbox")
        << RecordKind::ResponsiblePerson << QStringLiteral("a IN RP a b ") << QStringLiteral("a     a     b ");
    QTest::newRow("RP without mailbox") << RecordKind::ResponsiblePerson << QStringLiteral("john IN RP")
                                        << QStringLiteral("john          ");
}

void TstZoneModel::displayTexts()
{
    QFETCH(RecordKind, kind);
    QFETCH(QString, line);
    QFETCH(QString, display);
    QCOMPARE(displayText(kind, line), display);
}

void TstZoneModel::soaDisplayLines()
{
    const QStringList expected = {
        QStringLiteral("Server Name : @"),
        QStringLiteral("Machine Name: ns1.example.com."),
        QStringLiteral("User Name   : hostmaster.example.com."),
        QStringLiteral("-------------"),
        QStringLiteral("Serial      : 2026120702"),
        QStringLiteral("Refresh     : 1080"),
        QStringLiteral("Retry       : 3600"),
        QStringLiteral("Expire      : 604800"),
        QStringLiteral("Minimum     : 86400"),
    };
    QCOMPARE(::soaDisplayLines(SoaRecord(sampleSoa())), expected);
    QVERIFY(::soaDisplayLines(SoaRecord()).isEmpty());
}

void TstZoneModel::rebuildsEveryDisplay()
{
    ZoneModel zone = sampleZone();
    zone.soadisplay = {QStringLiteral("stale")};
    rebuildDisplays(zone);
    QCOMPARE(zone.soadisplay, ::soaDisplayLines(zone.sourceofauth));
    QCOMPARE(zone.nameservers.displays(), QStringList{QStringLiteral("ns1.example.com.")});
    QCOMPARE(zone.mailservers.displays(), QStringList{QStringLiteral("mail.example.com.     10")});
    QCOMPARE(zone.hostaddrs.displays(), QStringList({QStringLiteral("web.example.com.      10.0.0.5 "),
                                                     QStringLiteral("mail.example.com.      10.0.0.6")}));
    QCOMPARE(zone.aliases.displays(), QStringList{QStringLiteral("www.example.com.      web.example.com. ")});
    QCOMPARE(zone.responsible.displays(),
             QStringList{QStringLiteral("john     john.example.com      john.example.com ")});
    QCOMPARE(zone.textfiles.displays(), QStringList{QStringLiteral("john         \"Room 12\" ")});
    for (const RecordList* list : zone.recordLists())
        verifyParallel(*list);
    // The stored lines are never touched by rebuilding.
    QCOMPARE(zone.hostaddrs.lines(), sampleZone().hostaddrs.lines());

    ZoneModel noSoa = sampleZone();
    noSoa.sourceofauth.clear();
    rebuildDisplays(noSoa);
    QVERIFY(noSoa.soadisplay.isEmpty());
}

void TstZoneModel::rebuildRunsSoaStepInstead()
{
    ZoneModel zone = sampleZone();
    int calls = 0;
    rebuildDisplays(zone, [&calls](ZoneModel& model) {
        ++calls;
        model.sourceofauth.setValue(SoaRecord::Mailbox, QStringLiteral("admin.example.com."));
        model.rebuildSoaDisplay();
    });
    QCOMPARE(calls, 1);
    QCOMPARE(zone.soadisplay.at(2), QStringLiteral("User Name   : admin.example.com."));
    QCOMPARE(zone.hostaddrs.display(0), QStringLiteral("web.example.com.      10.0.0.5 "));
}

void TstZoneModel::readLinesGetTheirDisplays()
{
    ZoneModel zone;
    zone.mailservers.appendLine(QStringLiteral("@     IN     MX     5     mx.example.com. "));
    zone.appendResponsible(QStringLiteral("ann IN RP ann.example.com ann.example.com "),
                           QStringLiteral("ann IN TXT \"Desk\" "));
    QCOMPARE(zone.mailservers.display(0), QStringLiteral("mx.example.com.     5"));
    QCOMPARE(zone.responsible.display(0), QStringLiteral("ann     ann.example.com     ann.example.com "));
    QCOMPARE(zone.textfiles.display(0), QStringLiteral("ann     \"Desk\" "));
}

// Read lines get their display texts only when something asks; whatever an editor did in between, every
// position shows the text it would have shown had all been derived at once, and an editor's own text stays.
void TstZoneModel::displaysOfReadLinesComeWhenAsked_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("expected");
    const QString derived0 = QStringLiteral("a.example.com.      10.0.0.1 ");
    const QString derived1 = QStringLiteral("b.example.com.      10.0.0.2 ");
    const QString derived2 = QStringLiteral("c.example.com.      10.0.0.3 ");
    QTest::newRow("asked at once") << QStringLiteral("none") << QStringList{derived0, derived1, derived2};
    QTest::newRow("editor appends between reads")
        << QStringLiteral("append") << QStringList{derived0, derived1, "mine", derived2};
    QTest::newRow("editor replaces a read line")
        << QStringLiteral("replace") << QStringList{derived0, "mine", derived2};
    QTest::newRow("editor removes a read line") << QStringLiteral("remove") << QStringList{derived0, derived2};
    QTest::newRow("rebuilt after an edit")
        << QStringLiteral("rebuild")
        << QStringList{derived0, QStringLiteral("x.example.com.      10.0.0.9 "), derived2};
}

void TstZoneModel::displaysOfReadLinesComeWhenAsked()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, expected);
    RecordList hosts(RecordKind::HostAddress);
    hosts.appendLine(QStringLiteral("a.example.com.     IN     A     10.0.0.1 "));
    hosts.appendLine(QStringLiteral("b.example.com.     IN     A     10.0.0.2 "));
    if (operation == QLatin1String("append"))
        hosts.append(QStringLiteral("m.example.com.     IN     A     10.0.0.8 "), QStringLiteral("mine"));
    else if (operation == QLatin1String("replace") || operation == QLatin1String("rebuild"))
        QVERIFY(
            hosts.replaceAt(1, QStringLiteral("x.example.com.     IN     A     10.0.0.9 "), QStringLiteral("mine")));
    else if (operation == QLatin1String("remove"))
        QVERIFY(hosts.removeAt(1));
    hosts.appendLine(QStringLiteral("c.example.com.     IN     A     10.0.0.3 "));
    if (operation == QLatin1String("rebuild"))
        hosts.rebuildDisplays();
    QCOMPARE(hosts.displays(), expected);
    QCOMPARE(hosts.display(int(expected.size()) - 1), expected.last());
    QCOMPARE(hosts.display(int(expected.size())), QString());
    verifyParallel(hosts);
}

void TstZoneModel::listsByKind()
{
    ZoneModel zone = sampleZone();
    const ZoneModel& constZone = zone;
    const QList<std::pair<RecordKind, const RecordList*>> expected = {
        {RecordKind::NameServer, &zone.nameservers},        {RecordKind::MailServer, &zone.mailservers},
        {RecordKind::HostAddress, &zone.hostaddrs},         {RecordKind::Alias, &zone.aliases},
        {RecordKind::ResponsiblePerson, &zone.responsible}, {RecordKind::TextRecord, &zone.textfiles},
    };
    for (const auto& [kind, list] : expected) {
        QCOMPARE(&zone.records(kind), list);
        QCOMPARE(&constZone.records(kind), list);
        QCOMPARE(list->kind(), kind);
    }
    // The order in which the zone file lists its sections.
    const std::array<RecordList*, 6> inFileOrder = {&zone.nameservers, &zone.mailservers, &zone.hostaddrs,
                                                    &zone.aliases,     &zone.textfiles,   &zone.responsible};
    QCOMPARE(zone.recordLists(), inFileOrder);
}

void TstZoneModel::soaRecordHoldsEightValues()
{
    QVERIFY(SoaRecord().isEmpty());
    QCOMPARE(SoaRecord().value(SoaRecord::Serial), QString());

    const SoaRecord shortRecord({QStringLiteral("@"), QStringLiteral("ns1.")});
    QCOMPARE(shortRecord.values().size(), SoaRecord::kValueCount);
    QCOMPARE(shortRecord.value(SoaRecord::PrimaryServer), QStringLiteral("ns1."));
    QCOMPARE(shortRecord.value(SoaRecord::Minimum), QString());

    const SoaRecord longRecord(sampleSoa() + QStringList{QStringLiteral("extra")});
    QCOMPARE(longRecord.values(), sampleSoa());

    SoaRecord record;
    record.setValue(SoaRecord::Serial, QStringLiteral("7"));
    QVERIFY(!record.isEmpty());
    QCOMPARE(record.values().size(), SoaRecord::kValueCount);
    QCOMPARE(record.value(SoaRecord::Serial), QStringLiteral("7"));
    QCOMPARE(record.value(SoaRecord::Owner), QString());
}

void TstZoneModel::editorStoresAtEditIndex()
{
    ZoneModel zone = sampleZone();
    rebuildDisplays(zone);
    RecordList& hosts = zone.hostaddrs;
    QCOMPARE(hosts.editIndex(), RecordList::kNewRecord);

    const QString added = QStringLiteral("db.example.com.     IN     A     10.0.0.9 ");
    QVERIFY(hosts.storeAtEditIndex(added, QStringLiteral("db.example.com.     10.0.0.9")));
    QCOMPARE(hosts.count(), 3);
    QCOMPARE(hosts.line(2), added);
    QCOMPARE(hosts.display(2), QStringLiteral("db.example.com.     10.0.0.9"));

    hosts.setEditIndex(0);
    const QString changed = QStringLiteral("web.example.com.     IN     A     10.0.0.50 ");
    QVERIFY(hosts.storeAtEditIndex(changed, QStringLiteral("web.example.com.     10.0.0.50")));
    QCOMPARE(hosts.count(), 3);
    QCOMPARE(hosts.line(0), changed);
    QCOMPARE(hosts.display(0), QStringLiteral("web.example.com.     10.0.0.50"));
    QCOMPARE(hosts.line(1), sampleZone().hostaddrs.line(1));
    verifyParallel(hosts);
}

void TstZoneModel::editorDeletesAtEditIndex()
{
    ZoneModel zone = sampleZone();
    rebuildDisplays(zone);
    zone.hostaddrs.setEditIndex(0);
    QVERIFY(zone.hostaddrs.removeAtEditIndex());
    QCOMPARE(zone.hostaddrs.lines(), QStringList{QStringLiteral("mail.example.com.\tIN\tA\t10.0.0.6")});
    QCOMPARE(zone.hostaddrs.displays(), QStringList{QStringLiteral("mail.example.com.      10.0.0.6")});

    QVERIFY(zone.nameservers.removeAt(0));
    QVERIFY(zone.nameservers.isEmpty());
    verifyParallel(zone.nameservers);
}

void TstZoneModel::invalidIndexChangesNothing()
{
    ZoneModel zone = sampleZone();
    rebuildDisplays(zone);
    const ZoneModel before = zone;
    RecordList& aliases = zone.aliases;
    for (const int index : {1, 5, -2}) {
        aliases.setEditIndex(index);
        QVERIFY(!aliases.storeAtEditIndex(QStringLiteral("x"), QStringLiteral("x")));
        QVERIFY(!aliases.removeAtEditIndex());
        QVERIFY(!aliases.replaceAt(index, QStringLiteral("x"), QStringLiteral("x")));
        QVERIFY(!aliases.removeAt(index));
    }
    QCOMPARE(aliases.lines(), before.aliases.lines());
    QCOMPARE(aliases.displays(), before.aliases.displays());
    QCOMPARE(aliases.line(7), QString());
    QCOMPARE(aliases.display(-1), QString());
}

void TstZoneModel::ownersAndDuplicates()
{
    ZoneModel zone = sampleZone();
    QCOMPARE(zone.hostaddrs.owners(),
             QStringList({QStringLiteral("web.example.com."), QStringLiteral("mail.example.com.")}));
    QVERIFY(zone.hostaddrs.containsOwner(QStringLiteral("mail.example.com.")));
    QVERIFY(!zone.hostaddrs.containsOwner(QStringLiteral("mail.example.com.").toUpper()));
    QVERIFY(!zone.hostaddrs.containsOwner(QStringLiteral("mail.example.com")));
    // A record being changed does not clash with itself.
    QVERIFY(!zone.hostaddrs.containsOwner(QStringLiteral("mail.example.com."), 1));
    QVERIFY(zone.hostaddrs.containsOwner(QStringLiteral("mail.example.com."), 0));
}

void TstZoneModel::responsiblePairStaysTogether()
{
    ZoneModel zone = sampleZone();
    rebuildDisplays(zone);
    const QString rp2 = QStringLiteral("ann     IN     RP     ann.example.com  ann.example.com ");
    const QString txt2 = QStringLiteral("ann     IN     TXT     \"Desk 4\" ");
    QVERIFY(zone.storeResponsible(rp2, QStringLiteral("ann     ann.example.com "), txt2, txt2));
    QCOMPARE(zone.responsible.count(), 2);
    QCOMPARE(zone.textfiles.count(), 2);
    QCOMPARE(zone.responsible.line(1), rp2);
    QCOMPARE(zone.textfiles.line(1), txt2);
    QCOMPARE(zone.textfiles.display(1), txt2);

    zone.responsible.setEditIndex(0);
    const QString rp1 = QStringLiteral("john     IN     RP     jd.example.com  john.example.com ");
    const QString txt1 = QStringLiteral("john     IN     TXT     \"Room 14\" ");
    QVERIFY(zone.storeResponsible(rp1, QStringLiteral("john     jd.example.com "), txt1, txt1));
    QCOMPARE(zone.responsible.lines(), QStringList({rp1, rp2}));
    QCOMPARE(zone.textfiles.lines(), QStringList({txt1, txt2}));

    QVERIFY(zone.removeResponsibleAtEditIndex());
    QCOMPARE(zone.responsible.lines(), QStringList{rp2});
    QCOMPARE(zone.textfiles.lines(), QStringList{txt2});

    zone.responsible.setEditIndex(3);
    QVERIFY(!zone.storeResponsible(rp1, rp1, txt1, txt1));
    QVERIFY(!zone.removeResponsible(1));
    QCOMPARE(zone.responsible.count(), 1);
    QCOMPARE(zone.textfiles.count(), 1);
    for (const RecordList* list : zone.recordLists())
        verifyParallel(*list);
}

void TstZoneModel::clearZoneAndClearRecords()
{
    ZoneModel zone = sampleZone();
    rebuildDisplays(zone);
    zone.reversesoa = {QStringLiteral("soa")};
    zone.reversens = {QStringLiteral("ns")};
    zone.reverseaddr = {QStringLiteral("addr")};
    zone.reverseaddrtemp = {QStringLiteral("temp")};
    zone.hostaddrs.setEditIndex(1);

    ZoneModel reading = zone;
    reading.clearRecords();
    QCOMPARE(reading.dnsname, QStringLiteral("example.com"));
    QVERIFY(reading.sourceofauth.isEmpty());
    QVERIFY(reading.soadisplay.isEmpty());
    for (const RecordList* list : reading.recordLists()) {
        QVERIFY(list->lines().isEmpty());
        QVERIFY(list->displays().isEmpty());
    }
    QCOMPARE(reading.reversens, zone.reversens);
    QCOMPARE(reading.reverseaddr, zone.reverseaddr);

    zone.clearZone();
    QVERIFY(zone.dnsname.isEmpty());
    QVERIFY(zone.sourceofauth.isEmpty());
    QVERIFY(zone.soadisplay.isEmpty());
    for (const RecordList* list : zone.recordLists())
        QVERIFY(list->isEmpty() && list->displays().isEmpty());
    QVERIFY(zone.reversens.isEmpty());
    QVERIFY(zone.reverseaddr.isEmpty());
    QCOMPARE(zone.reversesoa, QStringList{QStringLiteral("soa")});
    QCOMPARE(zone.reverseaddrtemp, QStringList{QStringLiteral("temp")});
    QCOMPARE(zone.hostaddrs.editIndex(), 1);
}

void TstZoneModel::zoneEntryTextForms_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("program's file") << QStringLiteral("example.com") << QStringLiteral("example.com.dns")
                                    << QStringLiteral("example.com     example.com.dns");
    QTest::newRow("file with a path") << QStringLiteral("corp.lan") << QStringLiteral("zones\\corp.db")
                                      << QStringLiteral("corp.lan     zones\\corp.db");
    QTest::newRow("extra blank kept with file")
        << QStringLiteral("a.com") << QStringLiteral(" a.dns") << QStringLiteral("a.com      a.dns");
}

void TstZoneModel::zoneEntryTextForms()
{
    QFETCH(QString, zone);
    QFETCH(QString, file);
    QFETCH(QString, text);
    const PrimaryZoneEntry entry{zone, file};
    QCOMPARE(entry.text(), text);
    const std::optional<PrimaryZoneEntry> parsed = PrimaryZoneEntry::parse(text);
    QVERIFY(parsed);
    QCOMPARE(*parsed, entry);
}

void TstZoneModel::secondaryEntryTextForms_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("masters");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("one master") << QStringLiteral("other.org") << QStringLiteral("10.0.0.1")
                                << QStringLiteral("other.org.dns")
                                << QStringLiteral("other.org     10.0.0.1     other.org.dns");
    QTest::newRow("two masters") << QStringLiteral("other.org") << QStringLiteral("10.0.0.1 10.0.0.2")
                                 << QStringLiteral("other.org.dns")
                                 << QStringLiteral("other.org     10.0.0.1 10.0.0.2     other.org.dns");
    QTest::newRow("master text ending in a blank")
        << QStringLiteral("other.org") << QStringLiteral("10.0.0.1 10.0.0.2 ") << QStringLiteral("other.org.DNS")
        << QStringLiteral("other.org     10.0.0.1 10.0.0.2      other.org.DNS");
}

void TstZoneModel::secondaryEntryTextForms()
{
    QFETCH(QString, zone);
    QFETCH(QString, masters);
    QFETCH(QString, file);
    QFETCH(QString, text);
    const SecondaryZoneEntry entry{zone, masters, file};
    QCOMPARE(entry.text(), text);
    const std::optional<SecondaryZoneEntry> parsed = SecondaryZoneEntry::parse(text);
    QVERIFY(parsed);
    QCOMPARE(*parsed, entry);
}

void TstZoneModel::malformedEntriesAreRefused()
{
    QVERIFY(!PrimaryZoneEntry::parse(QStringLiteral("example.com example.com.dns")));
    QVERIFY(!PrimaryZoneEntry::parse(QString()));
    QVERIFY(!SecondaryZoneEntry::parse(QStringLiteral("other.org     other.org.dns")));
    QVERIFY(!SecondaryZoneEntry::parse(QStringLiteral("other.org      other.org.dns")));
    QVERIFY(!SecondaryZoneEntry::parse(QStringLiteral("other.org 10.0.0.1 other.org.dns")));
}

void TstZoneModel::selectsPrimaryZone()
{
    ServerZoneLists lists;
    lists.primdns = {QStringLiteral("example.com"), QStringLiteral("corp.lan")};
    lists.primfiles = {QStringLiteral("example.com.dns"), QStringLiteral("corp.db")};
    ZoneSelection selection;
    QVERIFY(selectPrimary(selection, lists, 1));
    QCOMPARE(selection.primdnsname, QStringLiteral("corp.lan"));
    QCOMPARE(selection.primfilename, QStringLiteral("corp.db"));

    for (const int index : {2, -1}) {
        QVERIFY(!selectPrimary(selection, lists, index));
        QCOMPARE(selection.primdnsname, QStringLiteral("corp.lan"));
        QCOMPARE(selection.primfilename, QStringLiteral("corp.db"));
    }
    // Lists out of step select nothing rather than half a zone.
    lists.primfiles.removeLast();
    QVERIFY(!selectPrimary(selection, lists, 1));
    QCOMPARE(selection.primfilename, QStringLiteral("corp.db"));
}

void TstZoneModel::selectsSecondaryZone()
{
    const QList<SecondaryZoneEntry> rows = {
        {QStringLiteral("other.org"), QStringLiteral("10.0.0.1 10.0.0.2 "), QStringLiteral("other.org.dns")},
        {QStringLiteral("third.net"), QStringLiteral("10.0.0.3"), QStringLiteral("third.net.dns")},
    };
    ZoneSelection selection;
    QVERIFY(selectSecondary(selection, rows, 0));
    QCOMPARE(selection.secdnsname, QStringLiteral("other.org"));
    QCOMPARE(selection.secipaddr, QStringLiteral("10.0.0.1 10.0.0.2 "));
    QVERIFY(!selectSecondary(selection, rows, 2));
    QCOMPARE(selection.secdnsname, QStringLiteral("other.org"));
    QVERIFY(selection.primdnsname.isEmpty());
}

QTEST_GUILESS_MAIN(TstZoneModel)
#include "tst_zonemodel.moc"
