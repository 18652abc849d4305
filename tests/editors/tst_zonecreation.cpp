#include "checks/delegatedtlds.h"
#include "editors/fastadd.h"
#include "editors/primaryzonecreation.h"
#include "net/localaddress.h"
#include "secondary/serverfixture.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonereader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <memory>

namespace {

const QByteArray kBoot = "directory C:\\\\ns\\\\data\r\n"
                         "cache . cache.dns\r\n"
                         "primary     alpha.com     alpha.com.dns\r\n"
                         "secondary     beta.org     10.0.0.1     beta.bak\r\n";

const QString kAttention = QStringLiteral("Attention!");

// A file as created; the address record of a name server inside the zone carries this machine's address.
QByteArray expected(const QString& name)
{
    return readBytes(testDataPath(QStringLiteral("creating/") + name))
        .replace("@LOCAL-ADDRESS@", localIpv4Address().toLatin1());
}

// A zone for the server's existing primary entry, so that every zone of the boot file is one a name server loads.
const QByteArray kAlpha = "alpha.com.     IN       SOA       ns.alpha.com. admin.alpha.com. (\r\n1\r\n1080\r\n"
                          "3600\r\n604800\r\n86400\r\n)\r\nalpha.com.     IN     NS     ns.example.com.\r\n";

} // namespace

// The skeleton of a new primary zone and fast add: their checks, their files byte for byte, their
// registration with the server, and that the name server's checker accepts each zone after its first save.
class TstZoneCreation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newNameRefusals_data();
    void newNameRefusals();
    void skeletonMatchesItsTable();
    void fastAddRefusesNamesWaitingOrExisting();
    void fastAddWithoutNames();
    void fastAddCreatesEveryZone();
    void fastAddTimings_data();
    void fastAddTimings();
    void fastAddWithEmptyDefaultsWritesFallbacks();
    void wizardTimingsFillOnlyEmptyValues();
    void createdZoneReadsAfterTheServerIsReadAgain();
    void mailboxReadsBackAsWritten();
    void ownNameServer_data();
    void ownNameServer();
    void newerTopLevelDomains_data();
    void newerTopLevelDomains();

private:
    // Saves the zone as the editor of its first name server does and runs the checker over the file.
    void firstSaveIsAccepted(const QString& zone);

    std::unique_ptr<ServerFixture> m_server;
};

void TstZoneCreation::init()
{
    m_server = std::make_unique<ServerFixture>(kBoot);
    writeBytes(m_server->dataPath(QStringLiteral("alpha.com.dns")), kAlpha);
    QVERIFY(m_server->readBoot());
    m_server->state.setup.defaultrefresh = QStringLiteral("7200");
    m_server->state.setup.defaultretry = QStringLiteral("1800");
    m_server->state.setup.defaultexpire = QStringLiteral("1209600");
    m_server->state.setup.defaultminimum = QStringLiteral("43200");
}

void TstZoneCreation::cleanup()
{
    QVERIFY2(m_server->prompter.problems().isEmpty(), qPrintable(m_server->prompter.problems().join('\n')));
    QCOMPARE(m_server->prompter.pending(), 0);
    QUORVANE_VERIFY_ZONES_LOAD(m_server->bootPath(), m_server->dataPath(QString()));
}

void TstZoneCreation::firstSaveIsAccepted(const QString& zone)
{
    // The zone loads as it was created, before any record was added, and after its first save.
    const QString file = m_server->dataPath(zone + QStringLiteral(".DNS"));
    const ZoneCheck created = checkZoneFile(zone, file);
    QVERIFY2(created.accepted(), qPrintable(created.output.join('\n')));
    QCOMPARE(created.complaints, QStringList());
    ZoneContext context = m_server->zoneContext();
    QCOMPARE(loadZone(context, zone + QStringLiteral(".DNS"), zone), ZoneLoadStatus::Loaded);
    m_server->state.selection.primfilename = zone + QStringLiteral(".DNS");
    m_server->state.selection.primdnsname = zone;
    QCOMPARE(m_server->state.zone.nameservers.lines().size(), 1);
    QVERIFY(saveZone(context).ok());
    const ZoneCheck saved = checkZoneFile(zone, file);
    QVERIFY2(saved.accepted(), qPrintable(saved.output.join('\n')));
}

void TstZoneCreation::newNameRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const QString exists = QStringLiteral("A Zone by that name already exists.");
    QTest::newRow("no known top-level domain") << "intranet"
                                               << "You have entered an invalid name for a zone.";
    QTest::newRow("illegal characters") << "my zone.com"
                                        << "You have entered illegal characters. Re-Enter.";
    QTest::newRow("primary") << "alpha.com" << exists;
    QTest::newRow("primary in another case") << "Alpha.COM" << exists;
    QTest::newRow("secondary") << "beta.org" << exists;
}

void TstZoneCreation::newNameRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QByteArray boot = readBytes(m_server->bootPath());
    m_server->prompter.expectMessage(kAttention, text);
    ZoneContext context = m_server->zoneContext();
    QString typed = name;
    QCOMPARE(startPrimaryZone(context, typed), CreationStatus::Refused);
    QCOMPARE(typed, name);
    QCOMPARE(readBytes(m_server->bootPath()), boot);
    QCOMPARE(m_server->state.zoneLists.primdns, QStringList{"alpha.com"});
}

void TstZoneCreation::skeletonMatchesItsTable()
{
    ZoneContext context = m_server->zoneContext();
    QString name = QStringLiteral("Example.COM");
    QCOMPARE(startPrimaryZone(context, name), CreationStatus::Created);
    QCOMPARE(name, QStringLiteral("example.com"));
    QCOMPARE(readBytes(m_server->dataPath(QStringLiteral("example.com.DNS"))),
             expected(QStringLiteral("skeleton_example.com.DNS")));
    const AppState& state = m_server->state;
    QCOMPARE(state.zoneLists.primdns, QStringList({"alpha.com", "example.com"}));
    QCOMPARE(state.zoneLists.primfiles, QStringList({"alpha.com.dns", "example.com.DNS"}));
    QCOMPARE(state.selection.primfilename, QStringLiteral("example.com.DNS"));
    QCOMPARE(state.selection.primdnsname, QStringLiteral("example.com"));
    QVERIFY(state.boot.primaryEntries.contains(QStringLiteral("example.com     example.com.DNS")));
    QVERIFY(readBytes(m_server->bootPath()).contains("primary     example.com     example.com.DNS\r\n"));
    // The zone was read: the skeleton's start of authority is the loaded zone's.
    QCOMPARE(state.zone.sourceofauth.values(), QStringList({"example.com.", "ns.example.com.", "admin.example.com.",
                                                            "96110801", "1080", "3600", "604800", "86400"}));
    firstSaveIsAccepted(QStringLiteral("example.com"));
}

void TstZoneCreation::fastAddRefusesNamesWaitingOrExisting()
{
    AppState& state = m_server->state;
    ScriptedPrompter& prompter = m_server->prompter;
    QStringList addthem;
    QVERIFY(addFastAddName(state, addthem, QStringLiteral("Gamma.com"), prompter));
    prompter.expectMessage(kAttention, QStringLiteral("A Zone by that name already exists."));
    QVERIFY(!addFastAddName(state, addthem, QStringLiteral("gamma.COM"), prompter));
    prompter.expectMessage(kAttention, QStringLiteral("A Zone by that name already exists."));
    QVERIFY(!addFastAddName(state, addthem, QStringLiteral("ALPHA.com"), prompter));
    prompter.expectMessage(kAttention, QStringLiteral("You have entered an invalid name for a zone."));
    QVERIFY(!addFastAddName(state, addthem, QStringLiteral("intranet"), prompter));
    prompter.expectMessage(kAttention, QStringLiteral("You have entered illegal characters. Re-Enter."));
    QVERIFY(!addFastAddName(state, addthem, QStringLiteral("a;b.com"), prompter));
    // Names with an empty label end in a known domain and carry no forbidden character, yet name no zone.
    for (const QString& name :
         {QStringLiteral(".com"), QStringLiteral("..com"), QStringLiteral("a..com"), QStringLiteral("-a.com")}) {
        prompter.expectMessage(kAttention, QStringLiteral("You have entered an invalid name for a zone."));
        QVERIFY2(!addFastAddName(state, addthem, name, prompter), qPrintable(name));
    }
    QCOMPARE(addthem, QStringList{"Gamma.com"});
}

void TstZoneCreation::fastAddWithoutNames()
{
    m_server->prompter.expectMessage(kAttention, QStringLiteral("You must add at least one zone to continue."));
    ZoneContext context = m_server->zoneContext();
    QCOMPARE(runFastAdd(context, {}), -1);
    QCOMPARE(m_server->state.zoneLists.primdns.size(), 1);
}

void TstZoneCreation::fastAddCreatesEveryZone()
{
    ZoneContext context = m_server->zoneContext();
    QStringList steps;
    QStringList nodes;
    FastAddHooks hooks{[&steps](const QString& text) { steps << text; },
                       [&nodes](const QString& zone) { nodes << zone; }};
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("3 zones have been added to your server."));
    QCOMPARE(runFastAdd(context, {"Example.COM", "one.net", "two.org"}, hooks), 3);
    QCOMPARE(steps, QStringList({"Adding Server 1", "Adding Server 2", "Adding Server 3"}));
    QCOMPARE(nodes, QStringList({"example.com", "one.net", "two.org"}));
    QCOMPARE(readBytes(m_server->dataPath(QStringLiteral("example.com.DNS"))),
             expected(QStringLiteral("fastadd_defaults.DNS")));
    const AppState& state = m_server->state;
    QCOMPARE(state.zoneLists.primdns, QStringList({"alpha.com", "example.com", "one.net", "two.org"}));
    QCOMPARE(state.zoneLists.primfiles,
             QStringList({"alpha.com.dns", "example.com.DNS", "one.net.DNS", "two.org.DNS"}));
    const QByteArray boot = readBytes(m_server->bootPath());
    for (const char* line : {"primary     example.com     example.com.DNS\r\n",
                             "primary     one.net     one.net.DNS\r\n", "primary     two.org     two.org.DNS\r\n"})
        QVERIFY2(boot.contains(line), line);
    // Each zone's file starts from the Setup page's serial itself; a save gives it the running serial + 1.
    QCOMPARE(state.setup.runningSerial, QStringLiteral("2026120701"));
    for (const QString& zone : {QStringLiteral("example.com"), QStringLiteral("one.net"), QStringLiteral("two.org")})
        firstSaveIsAccepted(zone);
}

void TstZoneCreation::fastAddTimings_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("written");
    QTest::newRow("empty") << ""
                           << "1080";
    QTest::newRow("word") << "hourly"
                          << "1080";
    QTest::newRow("blank") << " "
                           << "1080";
    QTest::newRow("number") << "900"
                            << "900";
    QTest::newRow("number with unit") << "15m"
                                      << "15m";
}

void TstZoneCreation::fastAddTimings()
{
    QFETCH(QString, given);
    QFETCH(QString, written);
    SetupDefaults defaults;
    defaults.runningSerial = QStringLiteral("2026120701");
    defaults.defaultrefresh = given;
    const SoaTimings timings = ::fastAddTimings(defaults);
    QCOMPARE(timings.refresh, written);
    QCOMPARE(timings.serial, QStringLiteral("2026120701"));
    QCOMPARE(timings.retry, QStringLiteral("3600"));
    QCOMPARE(timings.expire, QStringLiteral("604800"));
    QCOMPARE(timings.minimum, QStringLiteral("86400"));
}

void TstZoneCreation::fastAddWithEmptyDefaultsWritesFallbacks()
{
    SetupDefaults& setup = m_server->state.setup;
    setup.defaultrefresh.clear();
    setup.defaultretry = QStringLiteral("none");
    setup.defaultexpire.clear();
    setup.defaultminimum.clear();
    ZoneContext context = m_server->zoneContext();
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("1 zones have been added to your server."));
    QCOMPARE(runFastAdd(context, {"example.com"}), 1);
    QCOMPARE(readBytes(m_server->dataPath(QStringLiteral("example.com.DNS"))),
             expected(QStringLiteral("fastadd_fallbacks.DNS")));
    QCOMPARE(m_server->state.zone.sourceofauth.values().mid(3),
             QStringList({"2026120701", "1080", "3600", "604800", "86400"}));
    firstSaveIsAccepted(QStringLiteral("example.com"));
}

void TstZoneCreation::wizardTimingsFillOnlyEmptyValues()
{
    SetupDefaults defaults;
    defaults.runningSerial = QStringLiteral("2026120701");
    defaults.defaultretry = QStringLiteral("1200");
    const SoaTimings timings = wizardTimings(defaults);
    QCOMPARE(QStringList({timings.serial, timings.refresh, timings.retry, timings.expire, timings.minimum}),
             QStringList({"2026120701", "1080", "1200", "604800", "86400"}));
}

void TstZoneCreation::createdZoneReadsAfterTheServerIsReadAgain()
{
    ZoneContext context = m_server->zoneContext();
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("1 zones have been added to your server."));
    QCOMPARE(runFastAdd(context, {"Example.COM"}), 1);
    QVERIFY(m_server->readBoot());
    // The lists hold the file in lower case; the file keeps its name.
    QVERIFY(m_server->state.zoneLists.primfiles.contains(QStringLiteral("example.com.dns")));
    QVERIFY(QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QCOMPARE(loadZone(context, QStringLiteral("example.com.dns"), QStringLiteral("example.com")),
             ZoneLoadStatus::Loaded);
    QCOMPARE(m_server->state.zone.sourceofauth.value(SoaRecord::Serial), QStringLiteral("2026120701"));
}

// The administrator's address was written as typed, "@" and all; read back it became a name below the zone.
void TstZoneCreation::mailboxReadsBackAsWritten()
{
    m_server->state.emailaddr = QStringLiteral("hostmaster@example.com");
    ZoneContext context = m_server->zoneContext();
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("1 zones have been added to your server."));
    QCOMPARE(runFastAdd(context, {"one.com"}), 1);
    QVERIFY(readBytes(m_server->dataPath(QStringLiteral("one.com.DNS")))
                .contains("one.com.     IN       SOA       ns.one.com. hostmaster.example.com. (\r\n"));
    QCOMPARE(loadZone(context, QStringLiteral("one.com.DNS"), QStringLiteral("one.com")), ZoneLoadStatus::Loaded);
    QCOMPARE(m_server->state.zone.sourceofauth.value(SoaRecord::Mailbox), QStringLiteral("hostmaster.example.com."));
    firstSaveIsAccepted(QStringLiteral("one.com"));
    QCOMPARE(m_server->state.zone.sourceofauth.value(SoaRecord::Mailbox), QStringLiteral("hostmaster.example.com."));
}

// Fast add and the skeleton give every zone the server's own name server, with its address only where the name
// lies inside the zone; a server without a full name serves under its name in the zone.
void TstZoneCreation::ownNameServer_data()
{
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<QString>("nameServer");
    QTest::addColumn<bool>("address");
    QTest::addColumn<QString>("mailbox");
    QTest::newRow("outside the zone") << "ns.example.com."
                                      << "admin@example.com"
                                      << "other.org"
                                      << "ns.example.com." << false << "admin.example.com.";
    QTest::newRow("inside the zone") << "ns.example.com."
                                     << "admin@example.com"
                                     << "example.com"
                                     << "ns.example.com." << true << "admin.example.com.";
    QTest::newRow("below the zone") << "ns.dept.example.com"
                                    << "admin@example.com"
                                    << "example.com"
                                    << "ns.dept.example.com." << true << "admin.example.com.";
    QTest::newRow("a zone ending like it") << "ns.myexample.com."
                                           << "admin@example.com"
                                           << "example.com"
                                           << "ns.myexample.com." << false << "admin.example.com.";
    QTest::newRow("no full name") << ""
                                  << "admin@example.com"
                                  << "example.com"
                                  << "ns.example.com." << true << "admin.example.com.";
    QTest::newRow("no administrator") << "ns.example.com."
                                      << ""
                                      << "other.org"
                                      << "ns.example.com." << false << "hostmaster.other.org.";
    QTest::newRow("unusable administrator") << "ns.example.com."
                                            << "ad min@example.com"
                                            << "other.org"
                                            << "ns.example.com." << false << "hostmaster.other.org.";
}

void TstZoneCreation::ownNameServer()
{
    QFETCH(QString, fullName);
    QFETCH(QString, email);
    QFETCH(QString, zone);
    QFETCH(QString, nameServer);
    QFETCH(bool, address);
    QFETCH(QString, mailbox);
    AppState& state = m_server->state;
    state.zoneLists.firstzone = fullName;
    state.emailaddr = email;
    for (const bool skeleton : {true, false}) {
        ZoneContext context = m_server->zoneContext();
        if (skeleton) {
            QString name = zone;
            QCOMPARE(startPrimaryZone(context, name), CreationStatus::Created);
        } else {
            m_server->prompter.expectMessage(QStringLiteral("Information"),
                                             QStringLiteral("1 zones have been added to your server."));
            QCOMPARE(runFastAdd(context, {zone}), 1);
        }
        QCOMPARE(state.zone.sourceofauth.value(SoaRecord::Mailbox), mailbox);
        QCOMPARE(state.zone.nameservers.lines(), QStringList{zone + ".     IN     NS     " + nameServer});
        const QStringList hosts =
            address ? QStringList{nameServer + "     IN     A     " + localIpv4Address() + " "} : QStringList();
        QCOMPARE(state.zone.hostaddrs.lines(), hosts);
        firstSaveIsAccepted(zone);
        QUORVANE_VERIFY_ZONES_LOAD(m_server->bootPath(), m_server->dataPath(QString()));
        // The next round makes the zone anew.
        state.zoneLists.primdns.removeAll(zone);
        state.zoneLists.primfiles.removeAll(zone + QStringLiteral(".DNS"));
        state.boot.primaryEntries.removeAll(zone + QStringLiteral("     ") + zone + QStringLiteral(".DNS"));
    }
}

// A zone under a domain created since the built-in list was made is accepted whether or not the distribution's
// public suffix list is installed.
void TstZoneCreation::newerTopLevelDomains_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("installed list") << "/usr/share/publicsuffix/public_suffix_list.dat";
    QTest::newRow("no list") << "/nonexistent/public_suffix_list.dat";
}

void TstZoneCreation::newerTopLevelDomains()
{
    QFETCH(QString, list);
    m_server->state.tlds.setDelegatedTlds(delegatedTlds(list));
    ZoneContext context = m_server->zoneContext();
    QString name = QStringLiteral("Example.DEV");
    QCOMPARE(startPrimaryZone(context, name), CreationStatus::Created);
    QStringList addthem;
    QVERIFY(addFastAddName(m_server->state, addthem, QStringLiteral("shop.app"), m_server->prompter));
    QVERIFY(addFastAddName(m_server->state, addthem, QStringLiteral("example.info"), m_server->prompter));
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("2 zones have been added to your server."));
    QCOMPARE(runFastAdd(context, addthem), 2);
    QCOMPARE(m_server->state.zoneLists.primdns, QStringList({"alpha.com", "example.dev", "shop.app", "example.info"}));
}

QTEST_GUILESS_MAIN(TstZoneCreation)
#include "tst_zonecreation.moc"
