#include "checks/ipv6address.h"
#include "editors/primarywizard.h"
#include "editors/primaryzonecreation.h"
#include "net/localaddress.h"
#include "secondary/serverfixture.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"
#include "zonebrowser/primarydeletion.h"

#include <QFile>
#include <QTest>
#include <memory>

namespace {

const QByteArray kBoot = "directory C:\\\\ns\\\\data\r\n"
                         "cache . cache.dns\r\n"
                         "primary     alpha.com     alpha.com.dns\r\n";

const QString kAttention = QStringLiteral("Attention!");
const QString kInformation = QStringLiteral("Information");

QString hostQuestion(const QString& subject, bool hostsExist)
{
    const QString start = QStringLiteral("You have not defined a host address record for ") + subject + ". ";
    return hostsExist
               ? QString(start + "Press \"YES\" to select from the list of already defined host addresses, \"OK\" to "
                                 "proceed anyways, or \"CANCEL\" to re-enter.")
               : QString(start + "You have not created any host addresses to choose from. Click \"OK\" to proceed "
                                 "anyways, or \"CANCEL\" to re-enter.");
}

} // namespace

// The primary zone wizard's pages driven without windows: every page's refusals in their order, the records
// "Finish" writes, and leaving the wizard, which deletes the zone once and without a question.
class TstPrimaryWizard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void prefillTakesSetupDefaults();
    void zoneInformationRefusals_data();
    void zoneInformationRefusals();
    void emptyMailboxBecomesDefault();
    void hostAddressRefusals_data();
    void hostAddressRefusals();
    void hostAddressesAreCompleted();
    void nameServerRefusals();
    void nameServerPicksHost();
    void aliasRefusals_data();
    void aliasRefusals();
    void mailServerRefusals();
    void finishWritesTheZone();
    void finishWithoutNameServers();
    void ipv6HostRows();
    void cancelOnFirstPageDeletesOnce();
    void abandonedZoneNoLongerListed();

private:
    ZoneContext context() { return m_server->zoneContext(); }
    // Starts a zone as "Start Wizard" does and gives the wizard's first fields.
    WizardFields start(const QString& zone);

    std::unique_ptr<ServerFixture> m_server;
};

void TstPrimaryWizard::init()
{
    m_server = std::make_unique<ServerFixture>(kBoot);
    writeBytes(m_server->dataPath(QStringLiteral("alpha.com.dns")),
               "alpha.com.     IN       SOA       ns.alpha.com. admin.alpha.com. (\r\n1\r\n1080\r\n3600\r\n"
               "604800\r\n86400\r\n)\r\nalpha.com.     IN     NS     ns.example.com.\r\n");
    QVERIFY(m_server->readBoot());
    // Completing relative names asks each time unless the user ticked the box once.
    m_server->state.domainDefaults.askBeforeEachNameServer = false;
}

void TstPrimaryWizard::cleanup()
{
    QVERIFY2(m_server->prompter.problems().isEmpty(), qPrintable(m_server->prompter.problems().join('\n')));
    QCOMPARE(m_server->prompter.pending(), 0);
    QUORVANE_VERIFY_ZONES_LOAD(m_server->bootPath(), m_server->dataPath(QString()));
}

WizardFields TstPrimaryWizard::start(const QString& zone)
{
    ZoneContext ctx = context();
    QString name = zone;
    if (startPrimaryZone(ctx, name) != CreationStatus::Created)
        qWarning("the zone was not created");
    return prefillWizard(m_server->state, name);
}

void TstPrimaryWizard::prefillTakesSetupDefaults()
{
    SetupDefaults& setup = m_server->state.setup;
    setup.defaultrefresh = QStringLiteral("7200");
    setup.defaultns = {"ns1", "ns2", "", "", ""};
    setup.defaultmail = {"mail", "", "", "", ""};
    setup.defaulthost = {"www", "", "", "", ""};
    setup.defaultalias = {"ftp", "", "", "", ""};
    const WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    QCOMPARE(fields.name, QStringLiteral("example.com"));
    QCOMPARE(QStringList({fields.serial, fields.refresh, fields.retry, fields.expire, fields.minimum}),
             QStringList({"2026120701", "7200", "3600", "604800", "86400"}));
    QCOMPARE(fields.user, QStringLiteral("admin@example.com"));
    QCOMPARE(fields.nameservers[1], QStringLiteral("ns2"));
    QCOMPARE(fields.mailservers[0], QStringLiteral("mail"));
    QCOMPARE(fields.names[0], QStringLiteral("www"));
    QCOMPARE(fields.aliases[0], QStringLiteral("ftp"));
    QVERIFY(fields.ips[0].isEmpty());
    QVERIFY(fields.actuals[0].isEmpty());
}

void TstPrimaryWizard::zoneInformationRefusals_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const QString all = QStringLiteral("You must enter all values before proceeding.");
    QTest::newRow("serial empty") << 0 << "" << kAttention << all;
    QTest::newRow("minimum single blank") << 4 << " " << kAttention << all;
    QTest::newRow("serial") << 0 << "1;"
                            << "Error."
                            << "Serial Input Error. Re-Enter.";
    QTest::newRow("refresh") << 1 << "1 0"
                             << "Error."
                             << "Refresh Input Error. Re-Enter.";
    QTest::newRow("retry") << 2 << "a#"
                           << "Error."
                           << "Retry Input Error. Re-Enter.";
    QTest::newRow("expire") << 3 << "x("
                            << "Error."
                            << "Expire Input Error. Re-Enter.";
    // Values the name server cannot read as numbers made it refuse the finished zone.
    const QString time =
        QStringLiteral(" The value must be a whole number of seconds (such as 3600) or a time such as 1h, 2d or 1w2d.");
    QTest::newRow("time to live") << 4 << "ttl"
                                  << "Error."
                                  << "Time To Live Input Error. Re-Enter." + time;
    QTest::newRow("refresh abc") << 1 << "abc"
                                 << "Error."
                                 << "Refresh Input Error. Re-Enter." + time;
    QTest::newRow("retry 10abc") << 2 << "10abc"
                                 << "Error."
                                 << "Retry Input Error. Re-Enter." + time;
    QTest::newRow("expire beyond 32 bits") << 3 << "4294967296"
                                           << "Error."
                                           << "Expire Input Error. Re-Enter." + time;
    QTest::newRow("serial in units") << 0 << "1h"
                                     << "Error."
                                     << "Serial Input Error. Re-Enter. The value must be a whole number from 0 to "
                                        "4294967295.";
}

void TstPrimaryWizard::zoneInformationRefusals()
{
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    std::array<QString*, 5> values{&fields.serial, &fields.refresh, &fields.retry, &fields.expire, &fields.minimum};
    *values[field] = value;
    m_server->prompter.expectMessage(caption, text);
    QVERIFY(!checkZoneInformation(fields, m_server->prompter));
    QCOMPARE(fields.user, QStringLiteral("admin@example.com"));
}

void TstPrimaryWizard::emptyMailboxBecomesDefault()
{
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.user.clear();
    QVERIFY(checkZoneInformation(fields, m_server->prompter));
    QCOMPARE(fields.user, QStringLiteral("default.default.com."));
    fields.user = QStringLiteral("admin@example.com");
    QVERIFY(checkZoneInformation(fields, m_server->prompter));
    QCOMPARE(fields.user, QStringLiteral("admin.example.com."));
    fields.user = QStringLiteral("bad name@example.com");
    m_server->prompter.expectMessage(kAttention,
                                     QStringLiteral("The administrator's e-mail address on the Setup page cannot serve "
                                                    "as the zone's mailbox. Correct it there first."));
    QVERIFY(!checkZoneInformation(fields, m_server->prompter));
}

void TstPrimaryWizard::hostAddressRefusals_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    const QStringList none{"", "", "", "", ""};
    QTest::newRow("name without address comes first")
        << QStringList{"", "", "", "", "www"} << QStringList{"10.0.0.1", "", "", "", ""} << "Error!"
        << "If you fill in a name field, you must fill in a corresponding IP field.";
    QTest::newRow("address without name") << none << QStringList{"", "", "10.0.0.1", "", ""} << "Error!"
                                          << "If you fill in an IP field, you must fill in a corresponding name field.";
    QTest::newRow("host name one") << QStringList{"w w", "", "", "", ""} << QStringList{"10.0.0.1", "", "", "", ""}
                                   << kAttention << "You have illegal characters in the host name field.";
    QTest::newRow("host name two") << QStringList{"www", "m;x", "", "", ""}
                                   << QStringList{"10.0.0.1", "10.0.0.2", "", "", ""} << kAttention
                                   << "You have illegal characters in the second host name field.";
    QTest::newRow("address three") << QStringList{"a", "b", "c", "", ""}
                                   << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3!", "", ""} << kAttention
                                   << "You have illegal characters in the third IP field.";
    QTest::newRow("address one") << QStringList{"a", "", "", "", ""} << QStringList{"10.0.0.1;", "", "", "", ""}
                                 << kAttention << "You have illegal characters in the IP field.";
    QTest::newRow("invalid address four")
        << QStringList{"a", "b", "c", "d", ""} << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0", ""}
        << kAttention
        << "You have entered an invalid IP# in the fourth IP# field. Re-Enter. An IP address is four numbers from 0 to "
           "255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("address out of range five")
        << QStringList{"a", "b", "c", "d", "e"}
        << QStringList{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.300"} << kAttention
        << "You have entered an invalid IP# in the fifth IP# field. Re-Enter. An IP address is four numbers from 0 to "
           "255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("host twice") << QStringList{"www", "", "WWW", "", ""}
                                << QStringList{"10.0.0.1", "", "10.0.0.2", "", ""} << kInformation
                                << "Host address www.example.com. has been entered more than once. Please Re-Enter.";
}

void TstPrimaryWizard::hostAddressRefusals()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, ips);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    for (int i = 0; i < 5; ++i) {
        fields.names[i] = names.at(i);
        fields.ips[i] = ips.at(i);
    }
    m_server->prompter.expectMessage(caption, text);
    QVERIFY(!checkHostAddresses(fields, m_server->state, m_server->prompter));
}

void TstPrimaryWizard::hostAddressesAreCompleted()
{
    m_server->state.domainDefaults.askBeforeEachNameServer = true;
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.names = {"WWW", "", "mail.example.com", "", ""};
    fields.ips = {"10.0.0.1.", "", "10.0.0.2", "", ""};
    m_server->prompter.expectMessage(QStringLiteral("Question"),
                                     QStringLiteral("You entered \"www\" in the name field. This will reference "
                                                    "www.example.com. Click \"OK\" to accept this, or \"Cancel\" to "
                                                    "modify your entry."),
                                     Prompter::Button::Ok);
    QVERIFY(checkHostAddresses(fields, m_server->state, m_server->prompter));
    QCOMPARE(fields.names[0], QStringLiteral("www.example.com."));
    QCOMPARE(fields.ips[0], QStringLiteral("10.0.0.1"));
    QCOMPARE(fields.names[2], QStringLiteral("mail.example.com."));
}

void TstPrimaryWizard::nameServerRefusals()
{
    ScriptedPrompter& prompter = m_server->prompter;
    const WizardHostPicker pick = prompterHostPicker(prompter);
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.nameservers = {"ns.provider.net", "n s", "", "", ""};
    prompter.expectMessage(kInformation, hostQuestion(QStringLiteral("name one"), false), Prompter::Button::Ok);
    prompter.expectMessage(kAttention, QStringLiteral("You have illegal characters in name field two."));
    QVERIFY(!checkNameServers(fields, m_server->state, prompter, pick));
    QCOMPARE(fields.nameservers[0], QStringLiteral("ns.provider.net."));

    // A name server inside the zone without a host row would make the name server refuse the zone.
    fields.nameservers = {"ns1", "", "", "", ""};
    prompter.expectMessage(kInformation, hostQuestion(QStringLiteral("name one"), false), Prompter::Button::Ok);
    prompter.expectMessage(kAttention,
                           QStringLiteral("The name server does not load a zone whose name server inside it has no "
                                          "host address. Add a host address for ns1.example.com. first. Re-Enter"));
    QVERIFY(!checkNameServers(fields, m_server->state, prompter, pick));
    QCOMPARE(fields.nameservers[0], QStringLiteral("ns1.example.com."));

    fields.nameservers = {"ns1", "", "", "", ""};
    prompter.expectMessage(kInformation, hostQuestion(QStringLiteral("name one"), false), Prompter::Button::Cancel);
    QVERIFY(!checkNameServers(fields, m_server->state, prompter, pick));

    fields.names = {"ns1.example.com.", "", "", "", ""};
    fields.nameservers = {"ns1.example.com.", "", "", "ns1", ""};
    prompter.expectMessage(
        kInformation, QStringLiteral("Name Server ns1.example.com. has been entered more than once. Please Re-Enter."));
    QVERIFY(!checkNameServers(fields, m_server->state, prompter, pick));
}

void TstPrimaryWizard::nameServerPicksHost()
{
    ScriptedPrompter& prompter = m_server->prompter;
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.names = {"", "ns.example.com.", "", "", ""};
    fields.nameservers = {"", "", "dns.other.net", "", ""};
    prompter.expectMessage(kInformation, hostQuestion(QStringLiteral("name three"), true), Prompter::Button::Yes);
    prompter.answerPick(1);
    QVERIFY(checkNameServers(fields, m_server->state, prompter, prompterHostPicker(prompter)));
    QCOMPARE(fields.nameservers[2], QStringLiteral("ns.example.com."));
    QCOMPARE(prompter.prompts().at(1).caption, QStringLiteral("Name Server Selection..."));
    QCOMPARE(prompter.prompts().at(1).items, QStringList({"", "ns.example.com.", "", "", ""}));
}

void TstPrimaryWizard::aliasRefusals_data()
{
    QTest::addColumn<QStringList>("aliases");
    QTest::addColumn<QStringList>("actuals");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("alias without target")
        << QStringList{"", "", "", "", "ftp"} << QStringList{"www", "", "", "", ""} << "Error!"
        << "If you fill in an alias field, you must fill in a corresponding real field.";
    QTest::newRow("target without alias")
        << QStringList{"", "", "", "", ""} << QStringList{"", "www", "", "", ""} << "Error!"
        << "If you fill in a real field, you must fill in a corresponding alias field.";
    QTest::newRow("alias characters") << QStringList{"f p", "", "", "", ""} << QStringList{"www", "", "", "", ""}
                                      << kAttention << "You have illegal characters in alias name field one.";
    QTest::newRow("target characters") << QStringList{"ftp", "", "", "", ""} << QStringList{"w w", "", "", "", ""}
                                       << kAttention
                                       << "You have illegal characters in alias name-to-point-to field one.";
    QTest::newRow("alias is a host") << QStringList{"ftp", "www", "", "", ""} << QStringList{"www", "www", "", "", ""}
                                     << "Please re-enter."
                                     << "Alias 2 is already referenced as a host address.";
    QTest::newRow("alias twice") << QStringList{"ftp", "", "ftp.example.com.", "", ""}
                                 << QStringList{"www", "", "www", "", ""} << kInformation
                                 << "Alias ftp.example.com. has been entered more than once. Please Re-Enter.";
}

void TstPrimaryWizard::aliasRefusals()
{
    QFETCH(QStringList, aliases);
    QFETCH(QStringList, actuals);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.names = {"www.example.com.", "", "", "", ""};
    for (int i = 0; i < 5; ++i) {
        fields.aliases[i] = aliases.at(i);
        fields.actuals[i] = actuals.at(i);
    }
    m_server->prompter.expectMessage(caption, text);
    QVERIFY(!checkAliases(fields, m_server->state, m_server->prompter, prompterHostPicker(m_server->prompter)));
}

void TstPrimaryWizard::mailServerRefusals()
{
    ScriptedPrompter& prompter = m_server->prompter;
    const WizardHostPicker pick = prompterHostPicker(prompter);
    WizardFields fields = prefillWizard(m_server->state, QStringLiteral("example.com"));
    fields.names = {"mail.example.com.", "", "", "", ""};
    fields.mailservers = {"mail", "", "", "", "m x"};
    prompter.expectMessage(kAttention, QStringLiteral("You have illegal characters in field five."));
    QVERIFY(!checkMailServers(fields, m_server->state, prompter, pick));
    fields.mailservers = {"", "", "", "m(x", ""};
    prompter.expectMessage(kAttention, QStringLiteral("You have illegal characters in name field four."));
    QVERIFY(!checkMailServers(fields, m_server->state, prompter, pick));
    fields.mailservers = {"mail", "", "mail.example.com.", "", ""};
    prompter.expectMessage(
        kInformation,
        QStringLiteral("Mail Server mail.example.com. has been entered more than once. Please Re-Enter."));
    QVERIFY(!checkMailServers(fields, m_server->state, prompter, pick));
}

void TstPrimaryWizard::finishWritesTheZone()
{
    ScriptedPrompter& prompter = m_server->prompter;
    const WizardHostPicker pick = prompterHostPicker(prompter);
    WizardFields fields = start(QStringLiteral("Example.COM"));
    fields.names = {"www", "ns1", "mail", "", ""};
    fields.ips = {"10.0.0.1", "10.0.0.2", "10.0.0.3", "", ""};
    fields.nameservers = {"ns1", "", "", "", ""};
    fields.aliases = {"ftp", "", "", "", ""};
    fields.actuals = {"www", "", "", "", ""};
    fields.mailservers = {"mail", "", "mail", "", ""};
    QVERIFY(checkZoneInformation(fields, prompter));
    QVERIFY(checkHostAddresses(fields, m_server->state, prompter));
    QVERIFY(checkNameServers(fields, m_server->state, prompter, pick));
    QVERIFY(checkAliases(fields, m_server->state, prompter, pick));
    prompter.expectMessage(
        kInformation,
        QStringLiteral("Mail Server mail.example.com. has been entered more than once. Please Re-Enter."));
    ZoneContext ctx = context();
    QCOMPARE(finishWizard(ctx, fields, pick, {}), WizardFinish::Refused);
    fields.mailservers = {"mail", "", "ns1", "", ""};
    int reloads = 0;
    const auto reload = [&] {
        ++reloads;
        QVERIFY(m_server->readBoot());
    };
    QCOMPARE(finishWizard(ctx, fields, pick, reload), WizardFinish::Finished);
    QCOMPARE(reloads, 1);

    const QStringList lines = splitTextLines(readBytes(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QCOMPARE(lines.at(0), QStringLiteral(";[*-Quorvane-*]"));
    QCOMPARE(lines.mid(7, 7), QStringList({"example.com. IN     SOA     ns.example.com. admin.example.com. (",
                                           "2026120702", "1080", "3600", "604800", "86400 )", ";"}));
    QCOMPARE(lines.mid(14, 21),
             QStringList({";[Name Servers]", "example.com.     IN     NS     ns1.example.com. ", ";", ";[Mail Servers]",
                          "example.com.     IN     MX 10     mail.example.com. ",
                          "example.com.     IN     MX 30     ns1.example.com. ", ";", ";[Host Addresses]",
                          "www.example.com.     IN     A     10.0.0.1 ", "ns1.example.com.     IN     A     10.0.0.2 ",
                          "mail.example.com.     IN     A     10.0.0.3 ", ";", ";[Aliases]",
                          "ftp.example.com.     IN     CNAME     www.example.com. ", ";", ";[Text Files]", ";",
                          ";[Responsible Persons]", ";"}));
    QVERIFY(readBytes(m_server->bootPath()).contains("primary     example.com     example.com.DNS\r\n"));
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), m_server->dataPath("example.com.DNS"));
    QVERIFY(check.ran);
    QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(), qPrintable(check.output.join('\n')));
}

// Finished without a name server, the zone gets the server's own (and its address, the name lying inside the
// zone), so that the name server loads it.
void TstPrimaryWizard::finishWithoutNameServers()
{
    ScriptedPrompter& prompter = m_server->prompter;
    const WizardHostPicker pick = prompterHostPicker(prompter);
    WizardFields fields = start(QStringLiteral("example.com"));
    QVERIFY(checkZoneInformation(fields, prompter));
    QVERIFY(checkHostAddresses(fields, m_server->state, prompter));
    QVERIFY(checkNameServers(fields, m_server->state, prompter, pick));
    QVERIFY(checkAliases(fields, m_server->state, prompter, pick));
    ZoneContext ctx = context();
    QCOMPARE(finishWizard(ctx, fields, pick, [this] { QVERIFY(m_server->readBoot()); }), WizardFinish::Finished);
    const QByteArray com = readBytes(m_server->dataPath(QStringLiteral("example.com.DNS")));
    QVERIFY(com.contains(";[Name Servers]\r\nexample.com.     IN     NS     ns.example.com. \r\n;\r\n"));
    const QByteArray host = QByteArray("ns.example.com.     IN     A     " + localIpv4Address().toLatin1() + " ");
    QVERIFY(com.contains(QByteArray(";[Host Addresses]\r\n" + host + "\r\n;\r\n")));

    // Outside the zone the name needs no address; a host row of that name is not doubled.
    m_server->state.zoneLists.firstzone = QStringLiteral("dns.example.net.");
    WizardFields other = start(QStringLiteral("example.org"));
    QVERIFY(checkZoneInformation(other, prompter));
    QCOMPARE(finishWizard(ctx, other, pick, [this] { QVERIFY(m_server->readBoot()); }), WizardFinish::Finished);
    const QByteArray org = readBytes(m_server->dataPath(QStringLiteral("example.org.DNS")));
    QVERIFY(org.contains(";[Name Servers]\r\nexample.org.     IN     NS     dns.example.net. \r\n;\r\n"));
    QVERIFY(org.contains(";[Host Addresses]\r\n;\r\n"));
}

// A host row takes an IPv6 address in any written form: the zone gets it as an AAAA record in its canonical text,
// and an address that is neither IPv4 nor IPv6 is refused with the IPv6 form.
void TstPrimaryWizard::ipv6HostRows()
{
    ScriptedPrompter& prompter = m_server->prompter;
    const WizardHostPicker pick = prompterHostPicker(prompter);
    WizardFields fields = start(QStringLiteral("example.com"));
    fields.names = {"www", "ns1", "", "", ""};
    fields.ips = {"2001:DB8:0::80", "2001:db8::g", "", "", ""};
    prompter.expectMessage(kAttention, QStringLiteral("You have entered an invalid IP# in the second IP# field. "
                                                      "Re-Enter. ") +
                                           ipv6AddressForm());
    QVERIFY(!checkHostAddresses(fields, m_server->state, prompter));
    fields.ips = {"2001:DB8:0::80", "10.0.0.53", "", "", ""};
    fields.nameservers = {"ns1", "", "", "", ""};
    QVERIFY(checkZoneInformation(fields, prompter));
    QVERIFY(checkHostAddresses(fields, m_server->state, prompter));
    QCOMPARE(fields.ips[0], QStringLiteral("2001:db8::80"));
    QVERIFY(checkNameServers(fields, m_server->state, prompter, pick));
    QVERIFY(checkAliases(fields, m_server->state, prompter, pick));
    ZoneContext ctx = context();
    QCOMPARE(finishWizard(ctx, fields, pick, [this] { QVERIFY(m_server->readBoot()); }), WizardFinish::Finished);
    const QByteArray com = readBytes(m_server->dataPath(QStringLiteral("example.com.DNS")));
    QVERIFY(com.contains(";[Host Addresses]\r\nns1.example.com.     IN     A     10.0.0.53 \r\n;\r\n"));
    QVERIFY2(com.contains("\r\n;[Other Records]\r\nwww.example.com.     IN     AAAA     2001:db8::80\r\n;\r\n"),
             com.constData());
}

void TstPrimaryWizard::cancelOnFirstPageDeletesOnce()
{
    const QByteArray before = readBytes(m_server->bootPath());
    WizardFields fields = start(QStringLiteral("example.com"));
    QVERIFY(QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QVERIFY(readBytes(m_server->bootPath()).contains("example.com.DNS"));
    int treeBuilds = 0;
    PrimaryDeletionHooks hooks;
    hooks.dropFromBootFile = [this](const QString& zone) {
        BootContext boot = m_server->bootContext();
        return dropPrimaryFromBootFile(boot, zone);
    };
    hooks.rebuildPrimaryTree = [&treeBuilds] { ++treeBuilds; };
    ZoneContext ctx = context();
    int deletions = 0;
    const auto deletePrimary = [&] {
        ++deletions;
        QCOMPARE(deletePrimaryZone(ctx, hooks), PrimaryDeletion::Deleted);
    };
    // No question: the scripted prompter fails the test on any prompt.
    QVERIFY(abandonWizardZone(m_server->state, fields.name, deletePrimary));
    QVERIFY(fields.name.isEmpty());
    QVERIFY(!m_server->state.zoneLists.skipNextDeleteQuestion);
    QVERIFY(!QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QCOMPARE(m_server->state.zoneLists.primdns, QStringList{"alpha.com"});
    QCOMPARE(m_server->state.zoneLists.primfiles, QStringList{"alpha.com.dns"});
    QCOMPARE(readBytes(m_server->bootPath()), before);
    QCOMPARE(treeBuilds, 1);
    QVERIFY(!abandonWizardZone(m_server->state, fields.name, deletePrimary));
    QCOMPARE(deletions, 1);
    QCOMPARE(treeBuilds, 1);
}

void TstPrimaryWizard::abandonedZoneNoLongerListed()
{
    QString zone = QStringLiteral("gone.com");
    bool ran = false;
    QVERIFY(!abandonWizardZone(m_server->state, zone, [&ran] { ran = true; }));
    QVERIFY(!ran);
    // The switch stays off, so the next deletion the user starts still asks.
    QVERIFY(!m_server->state.zoneLists.skipNextDeleteQuestion);
}

QTEST_GUILESS_MAIN(TstPrimaryWizard)
#include "tst_primarywizard.moc"
