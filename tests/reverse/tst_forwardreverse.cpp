// The "Forward and Reverse" check over a server of forward zones and generated reverse zones of both families:
// a clean server reports nothing; one planted defect of each kind in IPv4 and in IPv6 is found, and nothing
// else (pointers to names of other servers, hosts on the ignore list and hosts of a reverse zone served elsewhere
// are left out); "Fix All" leaves none, as one revision of the history with its own description, each zone's
// serial raised once; undoing it puts every file back. The command line reports the same and fixes with --fix.
#include "checks/reversename.h"
#include "platform/filechangenotice.h"
#include "platform/latin1lines.h"
#include "reverse/forwardreversecheck.h"
#include "reversefixture.h"
#include "server/bootload.h"
#include "server/history/historyactions.h"
#include "server/history/serverhistory.h"
#include "server/serverchange.h"
#include "support/clirun.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QTest>

namespace {

const QString kV4File = QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS");
const QString kV6File = QStringLiteral("0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS");

QList<TestHost> cleanHosts()
{
    return {{QStringLiteral("ns1"), QStringLiteral("10.1.2.1")},
            {QStringLiteral("www"), QStringLiteral("10.1.2.5")},
            {QStringLiteral("mail"), QStringLiteral("10.1.2.25")},
            {QStringLiteral("old"), QStringLiteral("10.1.2.66")},
            {QStringLiteral("remote"), QStringLiteral("10.9.9.5")},
            {QStringLiteral("web6.a.com."), QStringLiteral("2001:db8::80")},
            {QStringLiteral("mail6.a.com."), QStringLiteral("2001:db8::25")}};
}

// The owner of an IPv6 address in its /64 zone.
QString v6Owner(const QString& address)
{
    const IpAddress parsed = *IpAddress::parse(address);
    return reverseOwner(parsed, IpPrefix{parsed.masked(64), 64});
}

// Takes the line out of the file and adds the lines before its closing ";".
void plant(const QString& path, const QString& gone, const QStringList& added)
{
    QStringList lines = readTextFile(path).value_or(QStringList());
    QVERIFY2(lines.removeOne(gone), qPrintable(gone));
    lines.removeLast();
    lines << added << QStringLiteral(";");
    QVERIFY(writeBytes(path, crlfLines(lines)));
}

// Kind, address and names of each finding, one text each, sorted.
QStringList summaries(const QList<ConsistencyFinding>& findings)
{
    QStringList texts;
    for (const ConsistencyFinding& finding : findings)
        texts << finding.text();
    texts.sort();
    return texts;
}

QMap<QString, QByteArray> filesOf(const ReverseServer& server)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(server.dataPath()).entryList(QDir::Files))
        files.insert(name, readBytes(server.dataFile(name)));
    files.insert(QStringLiteral("named.boot"), readBytes(server.bootFile()));
    return files;
}

int revisionCount(const ReverseServer& server)
{
    ServerHistory history(server.state.boot.bootDirectory, server.state.zoneLists.datapath);
    const std::optional<QList<Revision>> revisions = history.revisions();
    return revisions ? int(revisions->size()) : -1;
}

QString newestSummary(const ReverseServer& server)
{
    ServerHistory history(server.state.boot.bootDirectory, server.state.zoneLists.datapath);
    const std::optional<QList<Revision>> revisions = history.revisions();
    return revisions && !revisions->isEmpty() ? revisions->first().summary : history.errorText();
}

// A server whose reverse zones were generated from its hosts, with a secondary reverse zone served elsewhere and
// a host on the ignore list.
void prepare(ReverseServer& server)
{
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")}, cleanHosts());
    server.load();
    QVERIFY(writeBytes(server.bootFile(),
                       readBytes(server.bootFile())
                           .append("secondary     9.9.10.IN-ADDR.ARPA     10.0.0.1     "
                                   "9.9.10.IN-ADDR.ARPA.secondary.reverse.DNS ;10.9.9.0 <--> 10.9.9.255 on server: "
                                   "10.0.0.1\r\n")));
    BootContext boot{server.state, server.store, server.prompter};
    QVERIFY(readBootFile(boot, true).ok());
    server.state.zoneLists.reverseignore = QStringList{QStringLiteral("old.a.com.")};
    QVERIFY(server.generate().ok);
}

} // namespace

class TstForwardReverse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanServerReportsNothing();
    void plantedDefectsFoundFixedAndUndone();
    void singleFixesAndChoices();
    void commandLine();
};

void TstForwardReverse::cleanServerReportsNothing()
{
    ReverseServer server;
    prepare(server);
    ConsistencyContext context{server.state, &server.store, server.prompter};
    const ConsistencyReport report = checkForwardReverse(context);
    QCOMPARE(summaries(report.findings), QStringList());
    QCOMPARE(report.problems, QStringList());
    QCOMPARE(report.hostCount, 7);
    QCOMPARE(report.pointerCount, 5); // the ignored host and the one served elsewhere have none
    QCOMPARE(server.prompter.problems(), QStringList());
}

void TstForwardReverse::plantedDefectsFoundFixedAndUndone()
{
    ReverseServer server;
    prepare(server);
    const QString v4 = server.dataFile(kV4File);
    const QString v6 = server.dataFile(kV6File);
    const QString ptr = QStringLiteral("     IN     PTR     ");
    // The defects come as another program's edits would, which the history then holds as a revision of their own.
    std::optional<ServerChange> edit(std::in_place, server.state, QStringLiteral("Edited elsewhere"));
    for (const QString& file : {v4, v6, server.dataFile(QStringLiteral("a.com.DNS"))})
        announceFileChange(file);
    plant(v4, QStringLiteral("25") + ptr + QStringLiteral("mail.a.com."),
          {QStringLiteral("99") + ptr + QStringLiteral("gone.a.com."),
           QStringLiteral("77") + ptr + QStringLiteral("ns1.a.com."),
           QStringLiteral("88") + ptr + QStringLiteral("elsewhere.example.net.")});
    plant(v6, v6Owner(QStringLiteral("2001:db8::25")) + ptr + QStringLiteral("mail6.a.com."),
          {v6Owner(QStringLiteral("2001:db8::99")) + ptr + QStringLiteral("gone6.a.com."),
           v6Owner(QStringLiteral("2001:db8::77")) + ptr + QStringLiteral("web6.a.com.")});
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                cleanHosts() + QList<TestHost>{{QStringLiteral("www2"), QStringLiteral("10.1.2.5")},
                                               {QStringLiteral("app.a.com."), QStringLiteral("2001:db8::80")}});
    edit.reset();

    ConsistencyContext context{server.state, &server.store, server.prompter};
    const ConsistencyReport report = checkForwardReverse(context);
    QCOMPARE(
        summaries(report.findings),
        (QStringList{"Address with several hosts: 10.1.2.5 is held by www.a.com., www2.a.com.; the pointer names "
                     "www.a.com..",
                     "Address with several hosts: 2001:db8::80 is held by web6.a.com., app.a.com.; the pointer names "
                     "web6.a.com..",
                     "Host without a pointer: mail.a.com. has the address 10.1.2.25, which no pointer maps back.",
                     "Host without a pointer: mail6.a.com. has the address 2001:db8::25, which no pointer maps back.",
                     "Pointer to another name: " + v6Owner("2001:db8::77") +
                         ".0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA. in 0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA names "
                         "web6.a.com., which does not have the address 2001:db8::77.",
                     "Pointer to another name: 77.2.1.10.IN-ADDR.ARPA. in 2.1.10.IN-ADDR.ARPA names ns1.a.com., which "
                     "does not have the address 10.1.2.77.",
                     "Pointer without a host: " + v6Owner("2001:db8::99") +
                         ".0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA. in 0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA names "
                         "gone6.a.com., which has no address.",
                     "Pointer without a host: 99.2.1.10.IN-ADDR.ARPA. in 2.1.10.IN-ADDR.ARPA names gone.a.com., which "
                     "has no address."}));

    const QMap<QString, QByteArray> before = filesOf(server);
    const int revisions = revisionCount(server);
    const QString v4Serial = readTextFile(v4).value_or(QStringList()).value(8);
    const ConsistencyFixResult fixed = fixFindings(context, report.findings);
    QVERIFY2(fixed.ok, qPrintable(fixed.errorText));
    QCOMPARE(fixed.filesWritten, (QStringList{kV6File, kV4File}));
    QCOMPARE(revisionCount(server), revisions + 1);
    QCOMPARE(newestSummary(server), consistencyFixDescription(report.findings));
    QCOMPARE(newestSummary(server), QStringLiteral("Fix forward and reverse mapping: 2 pointers added or pointed at "
                                                   "their host, 4 pointers deleted, 2 shared addresses settled"));
    // One raise of each zone's serial, though several fixes touched it.
    QCOMPARE(readTextFile(v4).value_or(QStringList()).value(8), QString::number(v4Serial.toLongLong() + 1));
    QCOMPARE(server.state.zoneLists.reverseignore, (QStringList{"old.a.com.", "www2.a.com.", "app.a.com."}));
    QCOMPARE(summaries(checkForwardReverse(context).findings), QStringList());
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
    QCOMPARE(server.prompter.problems(), QStringList());

    QCOMPARE(undoLastChange(server.state, server.prompter), RestoreOutcome::Restored);
    QCOMPARE(filesOf(server), before);
}

void TstForwardReverse::singleFixesAndChoices()
{
    ReverseServer server;
    prepare(server);
    server.zone(QStringLiteral("a.com"), {QStringLiteral("ns1.a.com.")},
                cleanHosts() + QList<TestHost>{{QStringLiteral("new6.a.com."), QStringLiteral("2001:db8:5::1")},
                                               {QStringLiteral("twin"), QStringLiteral("10.1.2.25")}});
    ConsistencyContext context{server.state, &server.store, server.prompter};
    QList<ConsistencyFinding> findings = checkForwardReverse(context).findings;
    QCOMPARE(findings.size(), 2);
    // A host of a network without a reverse zone yet: its fix makes the zone and lists it in the boot file.
    const ConsistencyFinding missing =
        findings.at(0).kind == ConsistencyKind::MissingPointer ? findings.at(0) : findings.at(1);
    QCOMPARE(missing.fixText(), QStringLiteral("Add a pointer from 2001:db8:5::1 to new6.a.com. in a new reverse zone "
                                               "0.0.0.0.5.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA."));
    QVERIFY(fixFindings(context, {missing}).ok);
    QVERIFY(server.state.boot.reversePrimaryLines.contains(
        QStringLiteral("primary     0.0.0.0.5.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA     "
                       "0.0.0.0.5.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA.reverse.DNS")));
    // The shared address is mapped to the host chosen in place of the one its pointer names.
    findings = checkForwardReverse(context).findings;
    QCOMPARE(findings.size(), 1);
    ConsistencyFinding shared = findings.first();
    QCOMPARE(shared.kind, ConsistencyKind::SharedAddress);
    QCOMPARE(shared.names, (QStringList{"mail.a.com.", "twin.a.com."}));
    QCOMPARE(shared.choice, 0);
    shared.choice = 1;
    QVERIFY(fixFindings(context, {shared}).ok);
    QCOMPARE(checkForwardReverse(context).findings.size(), 0);
    QVERIFY(readTextFile(server.dataFile(kV4File))
                .value_or(QStringList())
                .contains(QStringLiteral("25     IN     PTR     twin.a.com.")));
    QVERIFY(server.state.zoneLists.reverseignore.contains(QStringLiteral("mail.a.com.")));
    // Reverse generation now agrees with what was fixed, without a question.
    QVERIFY(server.generate().ok);
    QCOMPARE(server.prompter.problems(), QStringList());
    QCOMPARE(checkForwardReverse(context).findings.size(), 0);
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
}

void TstForwardReverse::commandLine()
{
    ReverseServer server;
    prepare(server);
    plant(server.dataFile(kV4File), QStringLiteral("25     IN     PTR     mail.a.com."), {});
    const QString home = server.dir.filePath(QStringLiteral("home"));
    const QStringList check{QStringLiteral("--identity"), QStringLiteral("ns1@ns1.example.com."),
                            QStringLiteral("check-reverse"), server.bootFile()};
    // The command line's settings have an ignore list of their own, which does not hold old.a.com.
    const CliRun found = runCli(check, home);
    QCOMPARE(found.status, 1);
    QCOMPARE(found.out, QByteArray("Host without a pointer: mail.a.com. has the address 10.1.2.25, which no pointer "
                                   "maps back. Fix: Add a pointer from 10.1.2.25 to mail.a.com. in "
                                   "2.1.10.IN-ADDR.ARPA.\n"
                                   "Host without a pointer: old.a.com. has the address 10.1.2.66, which no pointer "
                                   "maps back. Fix: Add a pointer from 10.1.2.66 to old.a.com. in "
                                   "2.1.10.IN-ADDR.ARPA.\n"
                                   "2 findings (7 host addresses, 4 pointers)\n"));
    const CliRun fixed = runCli(check + QStringList{QStringLiteral("--fix")}, home);
    QVERIFY2(fixed.status == 0, fixed.err.constData());
    QVERIFY(fixed.out.endsWith("after the fixes: 0 findings (7 host addresses, 6 pointers)\n"));
    QCOMPARE(runCli(check, home).status, 0);
    QCOMPARE(runCli({QStringLiteral("check-reverse")}, home).status, 2);
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
}

QTEST_GUILESS_MAIN(TstForwardReverse)
#include "tst_forwardreverse.moc"
