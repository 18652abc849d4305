// Every check of every editor in its order, through the logic the forms call: the message and caption of the
// first failing check, the fields as the editor leaves them, and the zone and its file untouched on a refusal;
// on success the file as writeZone writes it, compared whole, and accepted by named-checkzone (every stored
// row: no editor writes a file the name server refuses).
#include "checks/delegatedtlds.h"
#include "editorfixture.h"
#include "editorrun.h"
#include "editors/domaindefaults.h"
#include "editors/hosteditors.h"
#include "server/zonesave.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/recordfields.h"

#include <QDir>
#include <QTest>

namespace {

const QString kAttention = QStringLiteral("Attention!");

QString willReference(const QString& typed, const QString& field, const QString& completed)
{
    return QStringLiteral("Question|You entered \"") + typed + QStringLiteral("\" in the ") + field +
           QStringLiteral(" field. This will reference ") + completed +
           QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.|");
}

QString attention(const QString& text)
{
    return kAttention + QLatin1Char('|') + text + QStringLiteral("|ok");
}

QString reEnter(const QString& text)
{
    return QStringLiteral("Re-Enter.|") + text + QStringLiteral("|ok");
}

QString nameServerNeedsHost(const QString& name)
{
    return QStringLiteral("The name server does not load a zone whose name server inside it has no host address. "
                          "Add a host address for ") +
           name + QStringLiteral(" first. Re-Enter");
}

const QString kIncorrect = attention(QStringLiteral("Server has an incorrect address. Re-Enter."));

QString noHostFor(const QString& what, const QString& answer)
{
    return QStringLiteral("Information|You have not defined a host address record for this ") + what +
           QStringLiteral(". Press \"YES\" to select from the list of already defined host addresses, \"OK\" to "
                          "proceed anyways, or \"CANCEL\" to re-enter.|") +
           answer;
}

QString outsideZone(const QString& typed, const QString& completed, const QString& answer)
{
    return QStringLiteral("Question|The name you have entered in the name field appears to be invalid because it "
                          "does not include the domain name you are working with, and we have detected a period in "
                          "the name. Click \"OK\" if you would like ") +
           typed + QStringLiteral(" to be changed to ") + completed +
           QStringLiteral(" or cancel to re-enter the information.|") + answer;
}

QStringList soaOf(const QString& user, const QString& serial, const QString& refresh, const QString& retry,
                  const QString& expire, const QString& minimum)
{
    return {QStringLiteral("example.com."),
            QStringLiteral("ns1.example.com."),
            user,
            serial,
            refresh,
            retry,
            expire,
            minimum};
}

} // namespace

class TestEditorChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void save_data();
    void save();
    void successiveSavesRaiseTheSerial();
    void soaDisplayStepNormalisesTheMailbox();
    void personChangeKeepsThePairTogether();
    void contactQuoting_data();
    void contactQuoting();
    void deleteTakesTheRecordAtTheEditIndex_data();
    void deleteTakesTheRecordAtTheEditIndex();
    void resetForgetsTheAnswers();
    void newerTopLevelDomainsAreAbsolute_data();
    void newerTopLevelDomainsAreAbsolute();
};

void TestEditorChecks::save_data()
{
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("golden"); // empty: refused

    const QString com = QStringLiteral("example.com.dns");
    const QString org = QStringLiteral("example.org.dns");
    const QString mustName = QStringLiteral("You must enter something in the name field before saving. Re-Enter");
    using L = QStringList;

    // Name servers.
    QTest::newRow("ns empty") << com << "ns" << -1 << L{""} << L{attention(mustName)} << L{""} << "";
    QTest::newRow("ns illegal") << com << "ns" << -1 << L{"ns 2"}
                                << L{attention("You have illegal characters in field one.")} << L{"ns 2"} << "";
    QTest::newRow("ns question declined")
        << com << "ns" << -1 << L{"ns2"}
        << L{willReference("ns2", "first name", "ns2.example.com.") + "cancel", kIncorrect} << L{"ns2"} << "";
    QTest::newRow("ns no host, re-enter")
        << com << "ns" << -1 << L{"ns2"}
        << L{willReference("ns2", "first name", "ns2.example.com.") + "ok", noHostFor("name", "cancel")}
        << L{"ns2.example.com."} << "";
    QTest::newRow("ns duplicate") << com << "ns" << -1 << L{"ns1.example.com"}
                                  << L{reEnter("You already have entered this name server.")} << L{"ns1.example.com."}
                                  << "";
    QTest::newRow("ns picked host") << com << "ns" << -1 << L{"ns2"}
                                    << L{willReference("ns2", "first name", "ns2.example.com.") + "ok",
                                         noHostFor("name", "yes"), "pick|1"}
                                    << L{"mail.example.com."} << "ns_picked.dns";
    // A name server inside the zone without an address makes the name server refuse the whole zone, so
    // "proceed anyways" cannot store it.
    QTest::newRow("ns no host, proceed") << com << "ns" << -1 << L{"ns2"}
                                         << L{willReference("ns2", "first name", "ns2.example.com.") + "ok",
                                              noHostFor("name", "ok"),
                                              attention(nameServerNeedsHost("ns2.example.com."))}
                                         << L{"ns2.example.com."} << "";
    QTest::newRow("ns outside the zone") << com << "ns" << -1 << L{"ns.provider.net"} << L{} << L{"ns.provider.net."}
                                         << "ns_outside.dns";
    QTest::newRow("ns change keeps its name")
        << com << "ns" << 0 << L{"ns1.example.com"} << L{} << L{"ns1.example.com."} << "ns_same.dns";
    QTest::newRow("ns owner @") << org << "ns" << -1 << L{"ns1"} << L{} << L{"ns1"} << "org_ns.dns";

    // Mail servers.
    QTest::newRow("mx empty name") << com << "mx" << -1 << L{"", "20"} << L{attention(mustName)} << L{"", "20"} << "";
    QTest::newRow("mx empty priority") << com << "mx" << -1 << L{"mx2", ""}
                                       << L{attention("You must enter a priority before saving. Re-Enter")}
                                       << L{"mx2", ""} << "";
    QTest::newRow("mx illegal name") << com << "mx" << -1 << L{"mx2!", "20"}
                                     << L{attention("You have illegal characters in the name field.")}
                                     << L{"mx2!", "20"} << "";
    QTest::newRow("mx second priority 10")
        << com << "mx" << -1 << L{"ns1.example.com", "10"}
        << L{attention("You have entered the same mail server priority for 2 servers. Please Re-Enter.")}
        << L{"ns1.example.com", "10"} << "";
    QTest::newRow("mx illegal priority") << com << "mx" << -1 << L{"ns1.example.com", "2 0"}
                                         << L{attention("You have illegal characters in value field (MX).")}
                                         << L{"ns1.example.com", "2 0"} << "";
    QTest::newRow("mx name declined") << com << "mx" << -1 << L{"mx2", "20"}
                                      << L{willReference("mx2", "first name", "mx2.example.com.") + "cancel",
                                           kIncorrect}
                                      << L{"mx2", "20"} << "";
    QTest::newRow("mx no host, re-enter")
        << com << "mx" << -1 << L{"mx2", "20"}
        << L{willReference("mx2", "first name", "mx2.example.com.") + "ok", noHostFor("name", "cancel")}
        << L{"mx2.example.com.", "20"} << "";
    QTest::newRow("mx duplicate name") << com << "mx" << -1 << L{"mail.example.com", "20"}
                                       << L{reEnter("You already have entered this mail server.")}
                                       << L{"mail.example.com.", "20"} << "";
    const QString priority = QStringLiteral("You have entered an invalid priority in the value field (MX): it must be "
                                            "a whole number from 0 to 65535. Re-Enter");
    QTest::newRow("mx priority ten") << com << "mx" << -1 << L{"ns1.example.com", "ten"} << L{attention(priority)}
                                     << L{"ns1.example.com", "ten"} << "";
    QTest::newRow("mx priority above 65535") << com << "mx" << -1 << L{"ns1.example.com", "65536"}
                                             << L{attention(priority)} << L{"ns1.example.com", "65536"} << "";
    QTest::newRow("mx priority ten, owner @")
        << org << "mx" << -1 << L{"ns1", "ten"} << L{attention(priority)} << L{"ns1", "ten"} << "";
    QTest::newRow("mx priority 65535") << com << "mx" << -1 << L{"ns1.example.com", "65535"} << L{}
                                       << L{"ns1.example.com.", "65535"} << "mx_65535.dns";
    QTest::newRow("mx under a newer top-level domain")
        << com << "mx" << -1 << L{"mx.provider.eu", "20"} << L{} << L{"mx.provider.eu.", "20"} << "mx_eu.dns";
    QTest::newRow("mx picked host") << com << "mx" << -1 << L{"mx2", "20"}
                                    << L{willReference("mx2", "first name", "mx2.example.com.") + "ok",
                                         noHostFor("name", "yes"), "pick|0"}
                                    << L{"ns1.example.com.", "20"} << "mx_picked.dns";
    QTest::newRow("mx same server keeps 10")
        << com << "mx" << 0 << L{"mail.example.com", "10"} << L{} << L{"mail.example.com.", "10"} << "mx_same.dns";
    QTest::newRow("mx owner @") << org << "mx" << -1 << L{"ns1", "10"} << L{} << L{"ns1", "10"} << "org_mx.dns";

    // Hosts.
    QTest::newRow("host empty name") << com << "host" << -1 << L{"", "10.0.0.5"}
                                     << L{attention(
                                            "You must enter something in the host name field before saving. Re-Enter")}
                                     << L{"", "10.0.0.5"} << "";
    QTest::newRow("host empty address") << com << "host" << -1 << L{"web", ""}
                                        << L{attention(
                                               "You must enter something in the IP field before saving. Re-Enter")}
                                        << L{"web", ""} << "";
    QTest::newRow("host illegal name") << com << "host" << -1 << L{"we b", "10.0.0.5"}
                                       << L{attention("You have illegal characters in the host name field.")}
                                       << L{"we b", "10.0.0.5"} << "";
    QTest::newRow("host illegal address")
        << com << "host" << -1 << L{"web", "10.0.0.5/24"}
        << L{attention("You have illegal characters in the IP field.")} << L{"web", "10.0.0.5/24"} << "";
    QTest::newRow("host invalid address")
        << com << "host" << -1 << L{"web", "10.0.0"}
        << L{attention("You have entered an invalid IP# in the first IP# field. Re-Enter. An IP address is four "
                       "numbers from 0 to 255 separated by dots, such as 192.168.1.10.")}
        << L{"web", "10.0.0"} << "";
    const QString invalidAddress =
        QStringLiteral("You have entered an invalid IP# in the first IP# field. Re-Enter.") +
        QStringLiteral(" An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.");
    for (const char* address : {"300.1.2.3", "1.2.3.4.5", "a.b.c.d", "010.1.2.3"})
        QTest::newRow(qPrintable(QStringLiteral("host address %1").arg(QLatin1String(address))))
            << com << "host" << -1 << L{"web", address} << L{attention(invalidAddress)} << L{"web", address} << "";
    QTest::newRow("host address above 255, owner @")
        << org << "host" << -1 << L{"web", "300.1.2.3"} << L{attention(invalidAddress)} << L{"web", "300.1.2.3"} << "";
    QTest::newRow("host name declined") << com << "host" << -1 << L{"web", "10.0.0.5"}
                                        << L{willReference("web", "name", "web.example.com.") + "cancel", kIncorrect}
                                        << L{"web", "10.0.0.5"} << "";
    QTest::newRow("host named like an alias") << com << "host" << -1 << L{"WWW", "10.0.0.7"}
                                              << L{willReference("www", "name", "www.example.com.") + "ok",
                                                   reEnter("You already have used the host name as an alias.")}
                                              << L{"www.example.com.", "10.0.0.7"} << "";
    // A host may hold several addresses; the same address twice is refused.
    QTest::newRow("host address twice") << com << "host" << -1 << L{"mail.example.com", "10.0.0.2"}
                                        << L{reEnter("You already have entered this host address.")}
                                        << L{"mail.example.com.", "10.0.0.2"} << "";
    QTest::newRow("host web") << com << "host" << -1 << L{"web", "10.0.0.5."}
                              << L{willReference("web", "name", "web.example.com.") + "ok"}
                              << L{"web.example.com.", "10.0.0.5."} << "host_web.dns";
    QTest::newRow("host change keeps its name") << com << "host" << 1 << L{"mail.example.com", "10.0.0.3"} << L{}
                                                << L{"mail.example.com.", "10.0.0.3"} << "host_change.dns";
    QTest::newRow("host owner @") << org << "host" << -1 << L{"web", "10.0.1.5"} << L{} << L{"web", "10.0.1.5"}
                                  << "org_host.dns";

    // Aliases.
    QTest::newRow("alias empty alias") << com << "alias" << -1 << L{"", "ns1"}
                                       << L{attention(
                                              "You must enter something in the alias field before saving. Re-Enter")}
                                       << L{"", "ns1"} << "";
    QTest::newRow("alias empty target") << com << "alias" << -1 << L{"ftp", ""} << L{attention(mustName)}
                                        << L{"ftp", ""} << "";
    QTest::newRow("alias illegal alias") << com << "alias" << -1 << L{"f(tp", "ns1"}
                                         << L{attention("You have illegal characters in the alias field.")}
                                         << L{"f(tp", "ns1"} << "";
    QTest::newRow("alias illegal target")
        << com << "alias" << -1 << L{"ftp", "ns1;"}
        << L{attention("You have illegal characters in the name to point to field.")} << L{"ftp", "ns1;"} << "";
    QTest::newRow("alias declined") << com << "alias" << -1 << L{"ftp", "ns1"}
                                    << L{willReference("ftp", "first name", "ftp.example.com.") + "cancel", kIncorrect}
                                    << L{"ftp", "ns1"} << "";
    QTest::newRow("alias named like a host") << com << "alias" << -1 << L{"ns1.example.com", "mail"}
                                             << L{reEnter("You already have used this alias name as a host address.")}
                                             << L{"ns1.example.com.", "mail"} << "";
    QTest::newRow("alias target declined") << com << "alias" << -1 << L{"ftp.example.com", "ns1"}
                                           << L{willReference("ns1", "name", "ns1.example.com.") + "cancel", kIncorrect}
                                           << L{"ftp.example.com.", "ns1"} << "";
    QTest::newRow("alias second of a name")
        << com << "alias" << -1 << L{"www.example.com", "mail.example.com"}
        << L{reEnter("You already have entered this alias.")} << L{"www.example.com.", "mail.example.com."} << "";
    QTest::newRow("alias outside, re-enter")
        << com << "alias" << -1 << L{"ftp.example.com", "files.example.net."}
        << L{outsideZone("files.example.net.", "files.example.net.", "ok"), noHostFor("alias", "cancel")}
        << L{"ftp.example.com.", "files.example.net."} << "";
    QTest::newRow("alias outside, proceed")
        << com << "alias" << -1 << L{"ftp.example.com", "files.example.net."}
        << L{outsideZone("files.example.net.", "files.example.net.", "ok"), noHostFor("alias", "ok")}
        << L{"ftp.example.com.", "files.example.net."} << "alias_outside.dns";
    QTest::newRow("alias picked host") << com << "alias" << -1 << L{"ftp", "files.example.net."}
                                       << L{willReference("ftp", "first name", "ftp.example.com.") + "ok",
                                            outsideZone("files.example.net.", "files.example.net.", "ok"),
                                            noHostFor("alias", "yes"), "pick|1"}
                                       << L{"ftp.example.com.", "mail.example.com."} << "alias_picked.dns";
    QTest::newRow("alias to a host") << com << "alias" << -1 << L{"ftp", "NS1"}
                                     << L{willReference("ftp", "first name", "ftp.example.com.") + "ok",
                                          willReference("ns1", "name", "ns1.example.com.") + "ok"}
                                     << L{"ftp.example.com.", "ns1.example.com."} << "alias_ftp.dns";
    // A name with an alias may hold no other record: the name server refuses the zone.
    const QString aliasShares = QStringLiteral("This name already holds other records of the zone (the zone's own "
                                               "name, a host or a responsible person), and an alias can share its name "
                                               "with none. Re-Enter.");
    QTest::newRow("alias named like the zone")
        << com << "alias" << -1 << L{"example.com", "ns1"}
        << L{willReference("ns1", "name", "ns1.example.com.") + "ok", reEnter(aliasShares)}
        << L{"example.com.", "ns1.example.com."} << "";
    QTest::newRow("alias @, owner @") << org << "alias" << -1 << L{"@", "ns1"} << L{reEnter(aliasShares)}
                                      << L{"@", "ns1"} << "";
    QTest::newRow("alias named like a host, owner @")
        << org << "alias" << -1 << L{"NS1", "web"} << L{reEnter(aliasShares)} << L{"NS1", "web"} << "";
    QTest::newRow("alias change keeps its name")
        << com << "alias" << 0 << L{"www.example.com", "mail.example.com"} << L{}
        << L{"www.example.com.", "mail.example.com."} << "alias_change.dns";

    // Responsible persons.
    const QString room = QStringLiteral("Room 12");
    QTest::newRow("person empty name") << com << "person" << -1 << L{"", "john@example.com", room}
                                       << L{attention(mustName)} << L{"", "john@example.com", room} << "";
    QTest::newRow("person empty mail")
        << com << "person" << -1 << L{"john", "", room}
        << L{attention("You must enter something in the mbox-domain field before saving. Re-Enter")}
        << L{"john", "", room} << "";
    QTest::newRow("person empty contact")
        << com << "person" << -1 << L{"john", "john@example.com", ""}
        << L{attention("You must enter something in the text-domain field before saving. Re-Enter")}
        << L{"john", "john@example.com", ""} << "";
    QTest::newRow("person illegal name") << com << "person" << -1 << L{"jo hn", "john@example.com", room}
                                         << L{attention("You have illegal characters in field one.")}
                                         << L{"jo hn", "john@example.com", room} << "";
    QTest::newRow("person illegal mail") << com << "person" << -1 << L{"john", "john@exa mple.com", room}
                                         << L{attention("You have illegal characters in field two.")}
                                         << L{"john", "john@exa mple.com", room} << "";
    QTest::newRow("person contact too long")
        << com << "person" << -1 << L{"john", "john@example.com", QString(256, QLatin1Char('x'))}
        << L{attention("Your contact info is longer than 255 characters. Please shorten it and Re-Enter.")}
        << L{"john", "john.example.com", QString(256, QLatin1Char('x'))} << "";
    QTest::newRow("person quoted contact too long")
        << com << "person" << -1 << L{"john", "john@example.com", "\"" + QString(256, QLatin1Char('x')) + "\""}
        << L{attention("Your contact info is longer than 255 characters. Please shorten it and Re-Enter.")}
        << L{"john", "john.example.com", "\"" + QString(256, QLatin1Char('x')) + "\""} << "";
    QTest::newRow("person mail without a dot")
        << com << "person" << -1 << L{"john", "john", room}
        << L{attention("Your e-mail address is entered improperly.")} << L{"john", "john", "\"Room 12\""} << "";
    QTest::newRow("person named like an alias")
        << com << "person" << -1 << L{"WWW", "w@example.com", "Desk"}
        << L{reEnter("You already have used this name as an alias.")} << L{"WWW", "w.example.com", "\"Desk\""} << "";
    QTest::newRow("person john") << com << "person" << -1 << L{"john", "john@example.com", room} << L{}
                                 << L{"john", "john.example.com", "\"Room 12\""} << "person_john.dns";
    QTest::newRow("person already quoted") << com << "person" << -1 << L{"mary", "mary@example.org", "\"Desk 4\""}
                                           << L{} << L{"mary", "mary.example.org", "\"Desk 4\""} << "person_quoted.dns";
    QTest::newRow("person contact of 255")
        << com << "person" << -1 << L{"john", "john@example.com", QString(255, QLatin1Char('y'))} << L{}
        << L{"john", "john.example.com", "\"" + QString(255, QLatin1Char('y')) + "\""} << "person_255.dns";

    // Start of authority.
    const QString mail = QStringLiteral("hostmaster.example.com.");
    QTest::newRow("soa user illegal") << com << "soa" << -1
                                      << soaOf("host master", "1", "1080", "3600", "604800", "86400")
                                      << L{attention("User name contains invalid character(s). Re-Enter")}
                                      << soaOf("host master", "1", "1080", "3600", "604800", "86400") << "";
    for (const char* field : {"Serial", "Refresh", "Retry", "Expire", "Minimum"}) {
        QStringList values{"1", "1080", "3600", "604800", "86400"};
        const int at = L{"Serial", "Refresh", "Retry", "Expire", "Minimum"}.indexOf(QLatin1String(field));
        values[at] = QStringLiteral("1 2");
        const QStringList fields = soaOf("admin@example.com", values[0], values[1], values[2], values[3], values[4]);
        QStringList after = fields;
        after[2] = QStringLiteral("admin.example.com.");
        QTest::newRow(qPrintable(QStringLiteral("soa %1 illegal").arg(QLatin1String(field))))
            << com << "soa" << -1 << fields
            << L{attention(QLatin1String(field) + QStringLiteral(" contains invalid character(s). Re-Enter"))} << after
            << "";
    }
    QTest::newRow("soa all empty") << com << "soa" << -1 << soaOf("", "", "", "", "", "")
                                   << L{attention(
                                          "You must enter something in the minimum field before saving. Re-Enter")}
                                   << soaOf("", "", "", "", "", "") << "";
    QTest::newRow("soa refresh empty") << com << "soa" << -1 << soaOf("", "", "", "", "", "1")
                                       << L{attention(
                                              "You must enter something in the refresh field before saving. Re-Enter")}
                                       << soaOf("", "", "", "", "", "1") << "";
    QTest::newRow("soa retry empty") << com << "soa" << -1 << soaOf(mail, "1", "1080", "", "604800", "86400")
                                     << L{attention(
                                            "You must enter something in the retry field before saving. Re-Enter")}
                                     << soaOf(mail, "1", "1080", "", "604800", "86400") << "";
    QTest::newRow("soa serial empty") << com << "soa" << -1 << soaOf("", "", "1", "1", "", "1")
                                      << L{attention(
                                             "You must enter something in the serial field before saving. Re-Enter")}
                                      << soaOf("", "", "1", "1", "", "1") << "";
    QTest::newRow("soa user empty") << com << "soa" << -1 << soaOf("", "1", "1", "1", "", "1")
                                    << L{attention(
                                           "You must enter something in the user field before saving. Re-Enter")}
                                    << soaOf("", "1", "1", "1", "", "1") << "";
    QTest::newRow("soa expire empty") << com << "soa" << -1 << soaOf(mail, "1", "1", "1", "", "1")
                                      << L{attention(
                                             "You must enter something in the expire field before saving. Re-Enter")}
                                      << soaOf(mail, "1", "1", "1", "", "1") << "";
    QTest::newRow("soa mailbox and serial")
        << com << "soa" << -1 << soaOf("admin@example.com", "5", "7200", "3600", "604800", "86400") << L{}
        << soaOf("admin.example.com.", "5", "7200", "3600", "604800", "86400") << "soa_user.dns";
    const QString time = QStringLiteral(" must be a whole number of seconds (such as 3600) or a time such as 1h, 2d or "
                                        "1w2d. Re-Enter");
    QTest::newRow("soa refresh abc") << com << "soa" << -1 << soaOf(mail, "1", "abc", "3600", "604800", "86400")
                                     << L{attention("Refresh" + time)}
                                     << soaOf(mail, "1", "abc", "3600", "604800", "86400") << "";
    QTest::newRow("soa minimum 10abc") << com << "soa" << -1 << soaOf(mail, "1", "1080", "3600", "604800", "10abc")
                                       << L{attention("Minimum" + time)}
                                       << soaOf(mail, "1", "1080", "3600", "604800", "10abc") << "";
    QTest::newRow("soa expire beyond 32 bits")
        << com << "soa" << -1 << soaOf(mail, "1", "1080", "3600", "4294967296", "86400")
        << L{attention("Expire" + time)} << soaOf(mail, "1", "1080", "3600", "4294967296", "86400") << "";
    QTest::newRow("soa serial beyond 32 bits")
        << com << "soa" << -1 << soaOf(mail, "4294967296", "1080", "3600", "604800", "86400")
        << L{attention("Serial must be a whole number from 0 to 4294967295. Re-Enter")}
        << soaOf(mail, "4294967296", "1080", "3600", "604800", "86400") << "";
    QTest::newRow("soa times in units") << com << "soa" << -1 << soaOf(mail, "1", "3h", "1H30m", "1w2d", "1d") << L{}
                                        << soaOf(mail, "1", "3h", "1H30m", "1w2d", "1d") << "soa_units.dns";
}

void TestEditorChecks::save()
{
    QFETCH(QString, data);
    QFETCH(QString, kind);
    QFETCH(int, index);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, after);
    QFETCH(QString, golden);

    EditorFixture fixture(data);
    const QByteArray before = fixture.fileBytes();
    const QStringList modelBefore = fixture.snapshot();
    if (kind != QLatin1String("soa"))
        fixture.state.zone
            .records(kind == QLatin1String("ns")      ? RecordKind::NameServer
                     : kind == QLatin1String("mx")    ? RecordKind::MailServer
                     : kind == QLatin1String("host")  ? RecordKind::HostAddress
                     : kind == QLatin1String("alias") ? RecordKind::Alias
                                                      : RecordKind::ResponsiblePerson)
            .setEditIndex(index);
    fixture.script(prompts);

    const EditResult result = runSave(fixture.context, kind, fields);
    QCOMPARE(fixture.prompter.problems(), QStringList());
    QCOMPARE(fixture.prompter.pending(), 0);
    QCOMPARE(fields, after);

    if (golden.isEmpty()) {
        QCOMPARE(result.status, EditStatus::Refused);
        QCOMPARE(fixture.snapshot(), modelBefore);
        QCOMPARE(fixture.fileBytes(), before);
        return;
    }
    QCOMPARE(result.status, EditStatus::Stored);
    const QByteArray written = fixture.fileBytes();
    QCOMPARE(written, fixture.modelBytes());
    const QByteArray expected = readBytes(testDataPath(QStringLiteral("editors/") + golden));
    if (written != expected)
        writeBytes(QDir::temp().filePath(golden + QStringLiteral(".actual")), written);
    QCOMPARE(written, expected);
    const ZoneCheck check = checkZoneFile(fixture.zoneName, fixture.filePath());
    QVERIFY(check.ran);
    QCOMPARE(check.complaints, QStringList());
    QCOMPARE(check.exitCode, 0);
}

void TestEditorChecks::successiveSavesRaiseTheSerial()
{
    EditorFixture fixture;
    fixture.state.domainDefaults.askBeforeEachNameServer = false;
    for (const QString& serial : {QStringLiteral("2026120702"), QStringLiteral("2026120703")}) {
        fixture.state.zone.hostaddrs.setEditIndex(0);
        QStringList fields{QStringLiteral("ns1.example.com"), QStringLiteral("10.0.0.1")};
        QVERIFY(runSave(fixture.context, QStringLiteral("host"), fields).stored());
        QCOMPARE(fixture.state.zone.sourceofauth.value(SoaRecord::Serial), serial);
        QVERIFY(fixture.fileBytes().contains(QByteArray("\r\n" + serial.toLatin1() + "\r\n")));
    }
}

void TestEditorChecks::soaDisplayStepNormalisesTheMailbox()
{
    EditorFixture fixture;
    QCOMPARE(fixture.state.zone.sourceofauth.value(SoaRecord::Mailbox), QStringLiteral("hostmaster.example.com."));
    QCOMPARE(fixture.state.zone.soadisplay,
             QStringList({"Server Name : example.com.", "Machine Name: ns1.example.com.",
                          "User Name   : hostmaster.example.com.", "-------------", "Serial      : 2026120100",
                          "Refresh     : 1080", "Retry       : 3600", "Expire      : 604800", "Minimum     : 86400"}));
}

void TestEditorChecks::personChangeKeepsThePairTogether()
{
    EditorFixture fixture;
    for (const QString& name : {QStringLiteral("john"), QStringLiteral("mary")}) {
        fixture.state.zone.responsible.setEditIndex(-1);
        QStringList fields{name, name + QStringLiteral("@example.com"), QStringLiteral("Desk")};
        QVERIFY(runSave(fixture.context, QStringLiteral("person"), fields).stored());
    }
    fixture.state.zone.responsible.setEditIndex(0);
    QStringList fields{QStringLiteral("jd"), QStringLiteral("jd@example.org"), QStringLiteral("Room 1")};
    QVERIFY(runSave(fixture.context, QStringLiteral("person"), fields).stored());
    const ZoneModel& zone = fixture.state.zone;
    // Absolute names; the second names the text record written beside it, which lies in this zone whatever
    // the mailbox's domain.
    QCOMPARE(zone.responsible.lines(), QStringList({"jd     IN     RP     jd.example.org.  jd.example.com. ",
                                                    "mary     IN     RP     mary.example.com.  mary.example.com. "}));
    QCOMPARE(zone.textfiles.lines(),
             QStringList({"jd     IN     TXT     \"Room 1\" ", "mary     IN     TXT     \"Desk\" "}));
    QCOMPARE(zone.responsible.displays().first(), QStringLiteral("jd     jd.example.org. "));
    QCOMPARE(zone.textfiles.displays().first(), zone.textfiles.lines().first());
    QCOMPARE(fixture.fileBytes(), fixture.modelBytes());
    fixture.reload();
    QCOMPARE(fixture.state.zone.responsible.count(), 2);
    QCOMPARE(fixture.state.zone.textfiles.line(0), QStringLiteral("jd     IN     TXT     \"Room 1\" "));
}

void TestEditorChecks::contactQuoting_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "Room 12"
                           << "\"Room 12\"";
    QTest::newRow("already quoted") << "\"Room 12\""
                                    << "\"Room 12\"";
    QTest::newRow("quotes inside") << "a \"b\" c"
                                   << "\"a \"b\" c\"";
    QTest::newRow("one quote") << "\""
                               << "\"\"\"";
}

void TestEditorChecks::contactQuoting()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(quotedContact(typed), stored);
}

void TestEditorChecks::deleteTakesTheRecordAtTheEditIndex_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("refusal");  // empty: deleted
    QTest::addColumn<QString>("question"); // asked first, when something points to what goes; answered No
    const QString ns1 = QStringLiteral("ns1.example.com.     IN     A     10.0.0.1 ");
    const QString mail = QStringLiteral("mail.example.com.     IN     A     10.0.0.2 ");
    // Without its last name server, or without the address of a name server inside it, the zone is refused by
    // the name server; both deletions are refused.
    QTest::newRow("the last name server")
        << int(RecordKind::NameServer) << 0 << QStringList{"example.com.     IN     NS     ns1.example.com."}
        << "A zone needs a name server record: the name server does not load a zone without one. Add another name "
           "server first."
        << "";
    QTest::newRow("mail server") << int(RecordKind::MailServer) << 0 << QStringList() << ""
                                 << "";
    QTest::newRow("the name server's host")
        << int(RecordKind::HostAddress) << 0 << QStringList{ns1, mail}
        << "This host is the address of the name server ns1.example.com., and the name server does not load a zone "
           "whose name server inside it has no host address. Delete or change the name server first."
        << "";
    QTest::newRow("second host") << int(RecordKind::HostAddress) << 1 << QStringList{ns1} << ""
                                 << "Are you sure you want to delete the host mail.example.com. (10.0.0.2)? These "
                                    "records point to it (example.com. MX 10 mail.example.com.). Press \"YES\" to "
                                    "delete them as well, \"NO\" to keep them, or \"CANCEL\" to delete nothing.";
    QTest::newRow("alias") << int(RecordKind::Alias) << 0 << QStringList() << ""
                           << "";
}

void TestEditorChecks::deleteTakesTheRecordAtTheEditIndex()
{
    QFETCH(int, kind);
    QFETCH(int, index);
    QFETCH(QStringList, left);
    QFETCH(QString, refusal);
    QFETCH(QString, question);
    EditorFixture fixture;
    fixture.state.zoneLists.reverseignore =
        QStringList{"ns1.example.com.", "mail.example.com.", "ns1.example.com.", "other.example.com."};
    RecordList& records = fixture.state.zone.records(RecordKind(kind));
    const QString owner = recordOwner(records.line(index));
    records.setEditIndex(index);
    if (!refusal.isEmpty()) {
        const QByteArray unchanged = fixture.fileBytes();
        fixture.prompter.expectMessage(kAttention, refusal);
        QCOMPARE(deleteRecord(fixture.context, RecordKind(kind)).status, EditStatus::Refused);
        QCOMPARE(records.lines(), left);
        QCOMPARE(fixture.fileBytes(), unchanged);
        return;
    }
    if (!question.isEmpty())
        fixture.prompter.expectMessage(QStringLiteral("Question!"), question, Prompter::Button::No);
    QVERIFY(deleteRecord(fixture.context, RecordKind(kind)).stored());
    QCOMPARE(fixture.prompter.problems(), QStringList());
    QCOMPARE(records.lines(), left);
    QCOMPARE(records.displays().size(), left.size());
    QStringList ignored{"ns1.example.com.", "mail.example.com.", "ns1.example.com.", "other.example.com."};
    if (RecordKind(kind) == RecordKind::HostAddress)
        ignored.removeAll(owner);
    QCOMPARE(fixture.state.zoneLists.reverseignore, ignored);
    QCOMPARE(fixture.fileBytes(), fixture.modelBytes());
    QCOMPARE(fixture.state.zone.sourceofauth.value(SoaRecord::Serial), QStringLiteral("2026120702"));

    // A position that names no record changes nothing.
    const QByteArray before = fixture.fileBytes();
    records.setEditIndex(5);
    QCOMPARE(deleteRecord(fixture.context, RecordKind(kind)).status, EditStatus::NoRecord);
    QCOMPARE(fixture.fileBytes(), before);
}

void TestEditorChecks::resetForgetsTheAnswers()
{
    EditorFixture fixture;
    DomainEditDefaults& defaults = fixture.state.domainDefaults;
    defaults = DomainEditDefaults{false, false, false, false, false};
    // With the remembered answer the completion asks nothing.
    QStringList fields{QStringLiteral("web"), QStringLiteral("10.0.0.5")};
    QVERIFY(runSave(fixture.context, QStringLiteral("host"), fields).stored());

    fixture.prompter.expectMessage(kAttention, QStringLiteral("Your domain edit defaults have been reset."));
    resetDomainEditDefaults(defaults, fixture.prompter);
    QVERIFY(defaults.askBeforeEachHost && defaults.askBeforeEachNameServer && defaults.askBeforeEachMailServer &&
            defaults.askBeforeEachAliasName && defaults.askBeforeEachAliasTarget);

    // Afterwards the question comes again.
    fixture.state.zone.hostaddrs.setEditIndex(-1);
    fields = QStringList{QStringLiteral("web2"), QStringLiteral("10.0.0.6")};
    fixture.script({willReference("web2", "name", "web2.example.com.") + "all"});
    QVERIFY(runSave(fixture.context, QStringLiteral("host"), fields).stored());
    QCOMPARE(defaults.askBeforeEachNameServer, false);
    QCOMPARE(fixture.prompter.pending(), 0);

    // Resetting with nothing set only says so.
    defaults = DomainEditDefaults();
    fixture.prompter.expectMessage(kAttention, QStringLiteral("Your domain edit defaults have been reset."));
    resetDomainEditDefaults(defaults, fixture.prompter);
    QCOMPARE(fixture.prompter.problems(), QStringList());
}

// A server under a domain created since the built-in list was made is taken as typed, with or without the
// distribution's public suffix list, and never gets the zone appended, not even silently once the user asked
// not to be asked again.
void TestEditorChecks::newerTopLevelDomainsAreAbsolute_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("ask");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");
    const QString installed = QStringLiteral("/usr/share/publicsuffix/public_suffix_list.dat");
    const QString missing = QStringLiteral("/nonexistent/public_suffix_list.dat");
    for (const QString& list : {installed, missing}) {
        for (const bool ask : {true, false}) {
            const QString tag = (list == installed ? QStringLiteral("installed list") : QStringLiteral("no list")) +
                                (ask ? QString() : QStringLiteral(", not asking"));
            QTest::newRow(qPrintable(tag + ": mx with dot"))
                << list << ask << "mx" << QStringList{"mx.provider.eu.", "20"}
                << "example.com.     IN     MX     20     mx.provider.eu. ";
            QTest::newRow(qPrintable(tag + ": mx without dot"))
                << list << ask << "mx" << QStringList{"mx.provider.eu", "20"}
                << "example.com.     IN     MX     20     mx.provider.eu. ";
            QTest::newRow(qPrintable(tag + ": ns")) << list << ask << "ns" << QStringList{"ns1.hosting.dev"}
                                                    << "example.com.     IN     NS     ns1.hosting.dev.";
        }
    }
}

void TestEditorChecks::newerTopLevelDomainsAreAbsolute()
{
    QFETCH(QString, list);
    QFETCH(bool, ask);
    QFETCH(QString, kind);
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    EditorFixture fixture;
    fixture.state.tlds.setDelegatedTlds(delegatedTlds(list));
    fixture.state.domainDefaults.askBeforeEachNameServer = ask;
    QVERIFY(runSave(fixture.context, kind, fields).stored());
    QCOMPARE(fixture.prompter.prompts().size(), 0);
    const RecordList& records =
        kind == QLatin1String("mx") ? fixture.state.zone.mailservers : fixture.state.zone.nameservers;
    QCOMPARE(records.lines().last(), line);
    const ZoneCheck check = checkZoneFile(fixture.zoneName, fixture.filePath());
    QVERIFY2(check.accepted(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestEditorChecks)
#include "tst_editorchecks.moc"
