#include "platform/latin1lines.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "support/testfiles.h"
#include "support/zonecases.h"
#include "support/zonecheck.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zoneserial.h"
#include "zone/zonewriter.h"
#include "zonefixture.h"

#include <QFile>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// The ninth line of a zone file the program writes holds the serial, the tenth when a "$TTL" line precedes the
// start of authority.
qsizetype serialLine(const QStringList& lines)
{
    return lines.value(6).startsWith(QLatin1String("$TTL")) ? 9 : 8;
}

void verifyAccepted(const QString& zone, const QString& path)
{
    const ZoneCheck check = checkZoneFile(zone, path);
    QVERIFY2(check.ran, "named-checkzone (bind9-utils) must be installed");
    QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

SoaRecord sampleSoa(const QString& serial = QStringLiteral("2026120601"))
{
    return SoaRecord(
        QStringList{"@", "ns1.example.com.", "hostmaster.example.com.", serial, "1080", "3600", "604800", "86400"});
}

// A zone file of the program's layout holding only a start of authority and one name server.
void writeMinimalZone(ZoneFixture& fixture, const QString& fileName, const QString& serial)
{
    ZoneModel zone;
    zone.sourceofauth = sampleSoa(serial);
    zone.nameservers.appendLine(nameServerAtLine(QStringLiteral("ns1.example.com.")));
    zone.hostaddrs.appendLine(hostAddressLine(QStringLiteral("ns1.example.com."), QStringLiteral("10.0.0.1")));
    writeBytes(fixture.pathOf(fileName), zoneFileBytes(zone));
}

QString serialIn(const QString& path)
{
    const QStringList lines = splitTextLines(readBytes(path));
    return lines.value(serialLine(lines));
}

} // namespace

class TstZoneWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lineBuilders_data();
    void lineBuilders();
    void linesAreWrittenAsLatin1_data();
    void linesAreWrittenAsLatin1();
    void ownerOfNameAndMailServers();
    void goldenFiles_data();
    void goldenFiles();
    void roundTrip_data();
    void roundTrip();
    void emptyZoneHas26Lines();
    void defaultTtlAndOtherRecords();
    void originalIsKeptOnceBeforeTheFirstRewrite();
    void originalThatCannotBeKeptStopsTheRewrite();
    void serialRule_data();
    void serialRule();
    void savingTwiceWritesTwoSerials();
    void badRunningSerialWritesNothing_data();
    void badRunningSerialWritesNothing();
    void noFileOpen_data();
    void noFileOpen();
    void zoneWithoutSoaIsNotWritten();
    void failingWriteLeavesOldFileWhole();
    void bootFileIsSavedAfterTheZone();
    void bootFileFailureIsReported();
    void progressWithoutBootFile();
};

void TstZoneWriter::lineBuilders_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("fields");
    const QString host = QStringLiteral("ns1.example.com.");
    QTest::newRow("NS @") << nameServerAtLine(host) << QStringLiteral("@     IN     NS     ns1.example.com.") << 3;
    QTest::newRow("NS zone") << nameServerZoneLine(QStringLiteral("example.com"), host)
                             << QStringLiteral("example.com.     IN     NS     ns1.example.com.") << 3;
    QTest::newRow("NS zone with dot") << nameServerZoneLine(QStringLiteral("example.com."), host)
                                      << QStringLiteral("example.com.     IN     NS     ns1.example.com.") << 3;
    QTest::newRow("MX @") << mailServerAtLine(QStringLiteral("10"), QStringLiteral("mail"))
                          << QStringLiteral("@     IN     MX     10     mail ") << 4;
    QTest::newRow("MX zone") << mailServerZoneLine(QStringLiteral("example.com"), QStringLiteral("ten"),
                                                   QStringLiteral("mail.example.com."))
                             << QStringLiteral("example.com.     IN     MX     ten     mail.example.com. ") << 4;
    QTest::newRow("A") << hostAddressLine(QStringLiteral("web.example.com."), QStringLiteral("10.0.0.5"))
                       << QStringLiteral("web.example.com.     IN     A     10.0.0.5 ") << 3;
    QTest::newRow("A, address with a dot") << hostAddressLine(QStringLiteral("web"), QStringLiteral("10.0.0.5."))
                                           << QStringLiteral("web     IN     A     10.0.0.5 ") << 3;
    QTest::newRow("CNAME") << aliasLine(QStringLiteral("www"), QStringLiteral("web"))
                           << QStringLiteral("www     IN     CNAME     web ") << 3;
    QTest::newRow("RP") << responsiblePersonLine(QStringLiteral("john"), QStringLiteral("john.example.com"),
                                                 QStringLiteral("john.example.com"))
                        << QStringLiteral("john     IN     RP     john.example.com  john.example.com ") << 4;
    QTest::newRow("TXT") << textRecordLine(QStringLiteral("john"), QStringLiteral("\"Room 12\""))
                         << QStringLiteral("john     IN     TXT     \"Room 12\" ") << 3;
}

void TstZoneWriter::lineBuilders()
{
    QFETCH(QString, line);
    QFETCH(QString, expected);
    QFETCH(int, fields);
    QCOMPARE(line, expected);
    const bool text = line.contains(QLatin1String(" TXT "));
    QCOMPARE(text ? textFieldCount(line) : fieldCount(line), fields);
}

void TstZoneWriter::linesAreWrittenAsLatin1_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QString() << QByteArray("\r\n");
    QTest::newRow("short") << QStringLiteral("a IN A ") << QByteArray("a IN A \r\n");
    QTest::newRow("long ASCII") << QStringLiteral("www.example.com. IN A 192.168.100.200 ")
                                << QByteArray("www.example.com. IN A 192.168.100.200 \r\n");
    // Characters of Latin-1 are one byte each; beyond it a question mark, wherever it stands in the line.
    QTest::newRow("Latin-1 letters") << QStringLiteral(u"caf\u00e9.example. IN TXT \"\u00fc\u00ff\" ")
                                     << QByteArray("caf\xe9.example. IN TXT \"\xfc\xff\" \r\n");
    QTest::newRow("beyond Latin-1 first")
        << QStringLiteral(u"\u0100bcdefghijklmnop") << QByteArray("?bcdefghijklmnop\r\n");
    QTest::newRow("beyond Latin-1 in the second eight")
        << QStringLiteral(u"abcdefghij\u20aclmnopqrs") << QByteArray("abcdefghij?lmnopqrs\r\n");
    QTest::newRow("beyond Latin-1 last") << QStringLiteral(u"abcdefghijklmnop\uffff")
                                         << QByteArray("abcdefghijklmnop?\r\n");
}

// Each line of a zone file is written as Latin-1 bytes and CR LF.
void TstZoneWriter::linesAreWrittenAsLatin1()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, expected);
    QByteArray bytes("before\r\n");
    appendCrlfLine(bytes, line);
    QCOMPARE(bytes, QByteArray("before\r\n") + expected);
}

void TstZoneWriter::ownerOfNameAndMailServers()
{
    QCOMPARE(nameServerLine(QStringLiteral(" @ "), QStringLiteral("e.com"), QStringLiteral("ns")),
             QStringLiteral("@     IN     NS     ns"));
    QCOMPARE(nameServerLine(QStringLiteral("e.com."), QStringLiteral("e.com"), QStringLiteral("ns")),
             QStringLiteral("e.com.     IN     NS     ns"));
    QCOMPARE(mailServerLine(QStringLiteral("@"), QStringLiteral("e.com"), QStringLiteral("5"), QStringLiteral("m")),
             QStringLiteral("@     IN     MX     5     m "));
    QCOMPARE(
        mailServerLine(QStringLiteral("e.com."), QStringLiteral("e.com"), QStringLiteral("5"), QStringLiteral("m")),
        QStringLiteral("e.com.     IN     MX     5     m "));
}

void TstZoneWriter::goldenFiles_data()
{
    QTest::addColumn<ZoneCase>("zoneCase");
    const QList<ZoneCase> cases = zoneCases();
    QVERIFY(!cases.isEmpty());
    for (const ZoneCase& zoneCase : cases)
        QTest::newRow(qPrintable(zoneCase.name)) << zoneCase;
}

void TstZoneWriter::goldenFiles()
{
    QFETCH(ZoneCase, zoneCase);
    const QString& zone = zoneCase.zone;
    ZoneFixture fixture;
    const QString fileName = zone + QStringLiteral(".dns");
    fixture.copyIn(zoneCase.file(QStringLiteral("input")), fileName);
    fixture.select(fileName, zone);
    fixture.expectMessagesOf(zoneCase.file(QStringLiteral("messages")));
    QCOMPARE(loadZone(fixture.context, fileName, zone), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(fixture.state.zone.dnsname, zone);

    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(readBytes(fixture.pathOf(fileName)),
             readBytes(testDataPath(QStringLiteral("zone/") + zoneCase.file(QStringLiteral("expected")))));
    verifyAccepted(zone, fixture.pathOf(fileName));
}

// A file the program wrote reads back without a message and is written again as it was, but for its serial.
void TstZoneWriter::roundTrip_data()
{
    goldenFiles_data();
}

void TstZoneWriter::roundTrip()
{
    QFETCH(ZoneCase, zoneCase);
    const QString& zone = zoneCase.zone;
    ZoneFixture fixture;
    const QString fileName = zone + QStringLiteral(".dns");
    const QString path = fixture.copyIn(zoneCase.file(QStringLiteral("expected")), fileName);
    const QStringList before = splitTextLines(readBytes(path));
    fixture.select(fileName, zone);
    QCOMPARE(loadZone(fixture.context, fileName, zone), ZoneLoadStatus::Loaded);
    const ZoneModel first = fixture.state.zone;

    QVERIFY(saveZone(fixture.context).ok());
    QStringList after = splitTextLines(readBytes(path));
    QCOMPARE(after.size(), before.size());
    const qsizetype serial = serialLine(before);
    QVERIFY(after.at(serial) != before.at(serial));
    after[serial] = before.at(serial);
    QCOMPARE(after, before);

    QCOMPARE(loadZone(fixture.context, fileName, zone), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.pending(), 0);
    const ZoneModel& second = fixture.state.zone;
    for (const RecordKind kind : {RecordKind::NameServer, RecordKind::MailServer, RecordKind::HostAddress,
                                  RecordKind::Alias, RecordKind::ResponsiblePerson, RecordKind::TextRecord})
        QCOMPARE(second.records(kind).lines(), first.records(kind).lines());
    QCOMPARE(second.sourceofauth.values().mid(4), first.sourceofauth.values().mid(4));
    verifyAccepted(zone, path);
}

void TstZoneWriter::emptyZoneHas26Lines()
{
    ZoneFixture fixture;
    fixture.state.zone.sourceofauth = sampleSoa();
    writeBytes(fixture.pathOf(QStringLiteral("e.dns")), "old");
    fixture.select(QStringLiteral("e.dns"), QStringLiteral("example.com"));
    QVERIFY(saveZone(fixture.context).ok());
    const QByteArray written = readBytes(fixture.pathOf(QStringLiteral("e.dns")));
    QCOMPARE(written, readBytes(testDataPath(QStringLiteral("zone/empty_zone.out"))));
    QCOMPARE(written.count("\r\n"), 26);
    // The checker wants at least one name server; nothing else of the file troubles it.
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("e.dns")));
    QVERIFY(check.ran);
    QCOMPARE(check.complaints,
             (QStringList{"zone example.com/IN: has no NS records", "zone example.com/IN: not loaded due to errors."}));
}

void TstZoneWriter::defaultTtlAndOtherRecords()
{
    ZoneFixture fixture;
    ZoneModel& zone = fixture.state.zone;
    zone.sourceofauth = sampleSoa();
    zone.defaultTtl = QStringLiteral("3600");
    zone.soaTtl = QStringLiteral("86400");
    zone.nameservers.appendLine(nameServerAtLine(QStringLiteral("ns1.example.com.")));
    zone.hostaddrs.appendLine(hostAddressLine(QStringLiteral("ns1.example.com."), QStringLiteral("10.0.0.1")));
    zone.otherrecords.append(QStringLiteral("ns1.example.com.     IN     AAAA     2001:db8::1"));
    zone.otherrecords.append(QStringLiteral("www.example.com.     300     IN     A     10.0.0.2 "));
    zone.otherrecords.append(QStringLiteral(";line 9 could not be read: www IN A 300.1.2.3"));
    const QStringList lines = splitTextLines(zoneFileBytes(zone));
    // "$TTL" first after the header, the start of authority's own time to live on its line, the other
    // records last under their heading.
    QCOMPARE(lines.mid(5, 4), (QStringList{";", "$TTL 3600", ";[SOA]",
                                           "@ 86400 IN     SOA     ns1.example.com. hostmaster.example.com. ("}));
    QCOMPARE(lines.mid(lines.size() - 5),
             (QStringList{";[Other Records]", "ns1.example.com.     IN     AAAA     2001:db8::1",
                          "www.example.com.     300     IN     A     10.0.0.2 ",
                          ";line 9 could not be read: www IN A 300.1.2.3", ";"}));
    QCOMPARE(lines.size(), 26 + 2 + 1 + 5);

    // Read back, everything is where it was.
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), crlfLines(lines));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.prompter.prompts().size(), 0);
    QCOMPARE(zone.defaultTtl, QStringLiteral("3600"));
    QCOMPARE(zone.soaTtl, QStringLiteral("86400"));
    QCOMPARE(zone.otherrecords.count(), 3);
    QCOMPARE(splitTextLines(zoneFileBytes(zone)), lines);
    verifyAccepted(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("z.dns")));
}

void TstZoneWriter::originalIsKeptOnceBeforeTheFirstRewrite()
{
    ZoneFixture fixture;
    const QByteArray foreign = "$TTL 1h\n@ SOA ns1.example.com. hm.example.com. 1 2 3 4 5\n@ NS ns1\nns1 A 10.0.0.1\n";
    writeBytes(fixture.pathOf(QStringLiteral("db.example")), foreign);
    // A file its owner keeps from others: its copy is kept from them as well.
    const QFile::Permissions ownerAndGroup =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(fixture.pathOf(QStringLiteral("db.example")), ownerAndGroup));
    fixture.select(QStringLiteral("db.example"), QStringLiteral("example.com"));
    const QString original = fixture.pathOf(QStringLiteral("dnsbackup/db.example.orig"));
    for (int save = 0; save < 2; ++save) {
        QCOMPARE(loadZone(fixture.context, QStringLiteral("db.example"), QStringLiteral("example.com")),
                 ZoneLoadStatus::Loaded);
        QVERIFY(saveZone(fixture.context).ok());
        // The file as it came, never the program's own rewrite of it.
        QCOMPARE(readBytes(original), foreign);
        QCOMPARE(QFile::permissions(original), ownerAndGroup);
    }
    QVERIFY(readBytes(fixture.pathOf(QStringLiteral("db.example"))).startsWith(";[*-Quorvane-*]\r\n"));
    // A file the program wrote gets no copy.
    writeMinimalZone(fixture, QStringLiteral("own.dns"), QStringLiteral("2026120601"));
    fixture.select(QStringLiteral("own.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("own.dns"), QStringLiteral("example.com")),
             ZoneLoadStatus::Loaded);
    QVERIFY(saveZone(fixture.context).ok());
    QVERIFY(!QFile::exists(fixture.pathOf(QStringLiteral("dnsbackup/own.dns.orig"))));
}

void TstZoneWriter::originalThatCannotBeKeptStopsTheRewrite()
{
    ZoneFixture fixture;
    const QByteArray foreign = "@ SOA ns1.example.com. hm.example.com. 1 2 3 4 5\n@ NS ns1\nns1 A 10.0.0.1\n";
    writeBytes(fixture.pathOf(QStringLiteral("db.example")), foreign);
    // Where the backup folder should be, a file stands.
    writeBytes(fixture.pathOf(QStringLiteral("dnsbackup")), "a file");
    fixture.select(QStringLiteral("db.example"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("db.example"), QStringLiteral("example.com")),
             ZoneLoadStatus::Loaded);
    fixture.prompter.answer(Prompter::Button::Ok);
    QCOMPARE(saveZone(fixture.context).status, ZoneSaveStatus::WriteFailed);
    QCOMPARE(fixture.prompter.prompts().last().caption, QStringLiteral("Error"));
    QVERIFY(fixture.prompter.prompts().last().text.startsWith(
        QLatin1String("The zone file was not rewritten, as the file as it came could not be kept: ")));
    QCOMPARE(readBytes(fixture.pathOf(QStringLiteral("db.example"))), foreign);
}

void TstZoneWriter::serialRule_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("written");
    QTest::newRow("running serial ahead") << "2026120701"
                                          << "2026120601"
                                          << "2026120702";
    QTest::newRow("zone equal to running + 1") << "2026120701"
                                               << "2026120702"
                                               << "2026120703";
    QTest::newRow("zone far ahead (imported)") << "2026120701"
                                               << "2030010199"
                                               << "2030010200";
    QTest::newRow("second start on the same day") << "2026120701"
                                                  << "2026120735"
                                                  << "2026120736";
    QTest::newRow("zone serial not a number") << "2026120701"
                                              << "99x"
                                              << "2026120702";
    QTest::newRow("zone serial missing") << "2026120701"
                                         << ""
                                         << "2026120702";
    QTest::newRow("running serial with blanks") << " 41 "
                                                << "7"
                                                << "42";
}

void TstZoneWriter::serialRule()
{
    QFETCH(QString, running);
    QFETCH(QString, own);
    QFETCH(QString, written);
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), QStringLiteral("1"));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.state.zone.serialAsRead, QStringLiteral("1"));
    fixture.state.zone.serialAsRead = own;
    fixture.state.setup.runningSerial = running;
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(serialIn(fixture.pathOf(QStringLiteral("z.dns"))), written);
    QCOMPARE(fixture.state.setup.runningSerial, written);
    QCOMPARE(fixture.state.zone.sourceofauth.value(SoaRecord::Serial), written);
    verifyAccepted(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("z.dns")));
}

void TstZoneWriter::savingTwiceWritesTwoSerials()
{
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("a.dns"), QStringLiteral("1"));
    writeMinimalZone(fixture, QStringLiteral("b.dns"), QStringLiteral("1"));
    fixture.select(QStringLiteral("a.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("a.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(serialIn(fixture.pathOf(QStringLiteral("a.dns"))), QStringLiteral("2026120702"));
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(serialIn(fixture.pathOf(QStringLiteral("a.dns"))), QStringLiteral("2026120703"));
    // Another zone saved afterwards gets the next number of the same counter.
    fixture.select(QStringLiteral("b.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("b.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(serialIn(fixture.pathOf(QStringLiteral("b.dns"))), QStringLiteral("2026120704"));
    verifyAccepted(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("a.dns")));
    verifyAccepted(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("b.dns")));
}

void TstZoneWriter::badRunningSerialWritesNothing_data()
{
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a number") << "20261207x1"
                                  << "1"
                                  << "The running serial \"20261207x1\" is not a whole number, so the zone was not "
                                     "saved.";
    QTest::newRow("empty") << ""
                           << "1"
                           << "The running serial \"\" is not a whole number, so the zone was not saved.";
    QTest::newRow("beyond 32 bits") << "4294967295"
                                    << "1"
                                    << "The serial of z.dns cannot be raised beyond 4294967295, so the zone was not "
                                       "saved.";
    QTest::newRow("zone at the last serial") << "5"
                                             << "4294967295"
                                             << "The serial of z.dns cannot be raised beyond 4294967295, so the zone "
                                                "was not saved.";
}

void TstZoneWriter::badRunningSerialWritesNothing()
{
    QFETCH(QString, running);
    QFETCH(QString, own);
    QFETCH(QString, message);
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), own);
    const QByteArray before = readBytes(fixture.pathOf(QStringLiteral("z.dns")));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    fixture.state.setup.runningSerial = running;
    fixture.prompter.expectMessage(QStringLiteral("Error"), message);
    QCOMPARE(saveZone(fixture.context).status, ZoneSaveStatus::BadSerial);
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(readBytes(fixture.pathOf(QStringLiteral("z.dns"))), before);
    QCOMPARE(fixture.state.setup.runningSerial, running);
}

void TstZoneWriter::noFileOpen_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("no zone selected") << QString();
    QTest::newRow("file gone") << QStringLiteral("gone.dns");
}

void TstZoneWriter::noFileOpen()
{
    QFETCH(QString, fileName);
    ZoneFixture fixture;
    fixture.state.zone.sourceofauth = sampleSoa();
    fixture.select(fileName, QStringLiteral("example.com"));
    fixture.prompter.expectMessage(QStringLiteral("Error..."), QStringLiteral("No files are open."));
    QCOMPARE(saveZone(fixture.context).status, ZoneSaveStatus::NoFileOpen);
    QCOMPARE(fixture.prompter.pending(), 0);
    QVERIFY(!QFile::exists(fixture.pathOf(QStringLiteral("gone.dns"))));
    // The serial was raised before the file was looked for.
    QCOMPARE(fixture.state.setup.runningSerial, QStringLiteral("2026120702"));
    QCOMPARE(fixture.progress.steps, (QStringList{"show", "50", "hide"}));
}

void TstZoneWriter::zoneWithoutSoaIsNotWritten()
{
    ZoneFixture fixture;
    writeBytes(fixture.pathOf(QStringLiteral("z.dns")), "web     IN     A     10.0.0.5 \r\n");
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(fixture.state.zone.hostaddrs.count(), 1);
    fixture.prompter.expectMessage(QStringLiteral("Error"),
                                   QStringLiteral("The zone file z.dns has no start of authority, so it was not "
                                                  "written."));
    QCOMPARE(saveZone(fixture.context).status, ZoneSaveStatus::NoStartOfAuthority);
    QCOMPARE(readBytes(fixture.pathOf(QStringLiteral("z.dns"))), QByteArray("web     IN     A     10.0.0.5 \r\n"));
    QCOMPARE(fixture.state.setup.runningSerial, QStringLiteral("2026120701"));
}

void TstZoneWriter::failingWriteLeavesOldFileWhole()
{
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), QStringLiteral("1"));
    const QByteArray before = readBytes(fixture.pathOf(QStringLiteral("z.dns")));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    for (int i = 0; i < 2000; ++i)
        fixture.state.zone.hostaddrs.appendLine(hostAddressLine(
            QStringLiteral("h%1.example.com.").arg(i), QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250)));

    // No file of this process may grow beyond 4 KB: the new zone file cannot be written, even by root.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    fixture.prompter.answer(Prompter::Button::Ok);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ZoneSaveResult result = saveZone(fixture.context);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QCOMPARE(result.status, ZoneSaveStatus::WriteFailed);
    QVERIFY2(result.errorText.startsWith(QStringLiteral("The zone file ") + fixture.pathOf(QStringLiteral("z.dns")) +
                                         QStringLiteral(" could not be written: ")),
             qPrintable(result.errorText));
    QCOMPARE(fixture.prompter.prompts().size(), 1);
    QCOMPARE(fixture.prompter.prompts().first().caption, QStringLiteral("Error"));
    QCOMPARE(fixture.prompter.prompts().first().text, result.errorText);
    QCOMPARE(readBytes(fixture.pathOf(QStringLiteral("z.dns"))), before);
    QCOMPARE(QDir(fixture.dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("z.dns")});
}

void TstZoneWriter::bootFileIsSavedAfterTheZone()
{
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), QStringLiteral("1"));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QString serialSeen;
    int calls = 0;
    bool sameState = false;
    fixture.context.saveBootFile = [&](AppState& state, Progress& progress) -> FileWriteResult {
        ++calls;
        serialSeen = serialIn(fixture.pathOf(QStringLiteral("z.dns")));
        sameState = &state == &fixture.state;
        progress.setProgress(100);
        progress.hideProgress();
        return FileWriteResult{};
    };
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(calls, 1);
    QVERIFY(sameState);
    QCOMPARE(serialSeen, QStringLiteral("2026120702"));
    QCOMPARE(fixture.progress.steps, (QStringList{"show", "50", "75", "100", "hide"}));
}

void TstZoneWriter::bootFileFailureIsReported()
{
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), QStringLiteral("1"));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    fixture.context.saveBootFile = [](AppState&, Progress&) {
        return FileWriteResult{false, QStringLiteral("The boot file could not be written.")};
    };
    fixture.prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("The boot file could not be written."));
    QCOMPARE(saveZone(fixture.context).status, ZoneSaveStatus::BootFileFailed);
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(serialIn(fixture.pathOf(QStringLiteral("z.dns"))), QStringLiteral("2026120702"));
    QCOMPARE(fixture.progress.steps.last(), QStringLiteral("hide"));
}

void TstZoneWriter::progressWithoutBootFile()
{
    ZoneFixture fixture;
    writeMinimalZone(fixture, QStringLiteral("z.dns"), QStringLiteral("1"));
    fixture.select(QStringLiteral("z.dns"), QStringLiteral("example.com"));
    QCOMPARE(loadZone(fixture.context, QStringLiteral("z.dns"), QStringLiteral("example.com")), ZoneLoadStatus::Loaded);
    QVERIFY(saveZone(fixture.context).ok());
    QCOMPARE(fixture.progress.steps, (QStringList{"show", "50", "75", "100", "hide"}));
    verifyAccepted(QStringLiteral("example.com"), fixture.pathOf(QStringLiteral("z.dns")));
}

QTEST_GUILESS_MAIN(TstZoneWriter)
#include "tst_zonewriter.moc"
