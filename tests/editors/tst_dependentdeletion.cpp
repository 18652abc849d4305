// Deleting a host (or an alias) that other records point to: the question names it and lists its mail server,
// alias, service and pointer records; "Yes" deletes them too as one revision (the zone and its reverse zone then
// load, with no target left dangling), "No" keeps them as asked, "Cancel" changes nothing. The editor's Delete and
// the command line (through --answers) ask the same; a host that keeps another address takes only its pointer.
#include "../reverse/reversefixture.h"
#include "editors/editresult.h"
#include "platform/latin1lines.h"
#include "platform/progress.h"
#include "server/history/serverhistory.h"
#include "server/zonesave.h"
#include "support/clirun.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"
#include "zonebrowser/browseractions.h"

#include <QTest>

namespace {

const QString kQuestion = QStringLiteral("Question!");
const QString kReverseFile = QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS");

QByteArray zoneText()
{
    return crlfLines({";[*-Quorvane-*]",
                      ";[SOA]",
                      "example.com. IN     SOA     ns1.example.com. hostmaster.example.com. (",
                      "2026120701",
                      "1080",
                      "3600",
                      "604800",
                      "86400 )",
                      ";",
                      ";[Name Servers]",
                      "example.com.     IN     NS     ns1.example.com.",
                      ";",
                      ";[Mail Servers]",
                      "example.com.     IN     MX     5     mail.example.com. ",
                      ";",
                      ";[Host Addresses]",
                      "ns1.example.com.     IN     A     10.1.2.1 ",
                      "mail.example.com.     IN     A     10.1.2.25 ",
                      "dual.example.com.     IN     A     10.1.2.30 ",
                      ";",
                      ";[Aliases]",
                      "webmail.example.com.     IN     CNAME     mail.example.com. ",
                      ";",
                      ";[Other Records]",
                      "_submission._tcp.example.com.     IN     SRV     0 5 587 mail.example.com.",
                      "dual.example.com.     IN     AAAA     2001:db8::30",
                      ";"});
}

QString mailQuestion()
{
    return QStringLiteral("Are you sure you want to delete the host mail.example.com. (10.1.2.25)? These records "
                          "point to it (example.com. MX 5 mail.example.com.; webmail.example.com. CNAME "
                          "mail.example.com.; _submission._tcp.example.com. SRV 0 5 587 mail.example.com.; "
                          "25.2.1.10.IN-ADDR.ARPA. PTR mail.example.com.). Press \"YES\" to delete them as well, "
                          "\"NO\" to keep them, or \"CANCEL\" to delete nothing.");
}

struct DeletionServer : ReverseServer
{
    DeletionServer()
    {
        writeBytes(dataFile(QStringLiteral("example.com.DNS")), zoneText());
        zoneNames << QStringLiteral("example.com");
        load();
        generate();
    }

    RecordDeletion deleteFromTree(int position)
    {
        ZoneContext context{state, prompter, progress, serverBootFileSaver(), {}};
        return deleteRecordFromBrowser(context, QStringLiteral("example.com"), RecordKind::HostAddress, position);
    }

    QByteArray zoneBytes() const { return readBytes(dataFile(QStringLiteral("example.com.DNS"))); }
    QStringList reverseLines() const { return readTextFile(dataFile(kReverseFile)).value_or(QStringList()); }

    int revisions() const
    {
        ServerHistory history(state.boot.bootDirectory, state.zoneLists.datapath);
        const std::optional<QList<Revision>> all = history.revisions();
        return all ? int(all->size()) : -1;
    }

    NullProgress progress;
};

} // namespace

class TstDependentDeletion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void deleteThemToo();
    void keepThem();
    void cancelChangesNothing();
    void hostKeepingAnotherAddress();
    void editorDeleteAsksOnlyWhenPointedTo();
    void aliasPointedTo();
    void commandLineAnswers();
};

void TstDependentDeletion::deleteThemToo()
{
    DeletionServer server;
    const int revisions = server.revisions();
    server.prompter.expectMessage(kQuestion, mailQuestion(), Prompter::Button::Yes);
    QCOMPARE(server.deleteFromTree(1), RecordDeletion::Deleted);
    QCOMPARE(server.prompter.problems(), QStringList());
    const QByteArray zone = server.zoneBytes();
    QVERIFY2(!zone.contains("mail.example.com"), zone.constData());
    QVERIFY(!server.reverseLines().contains(QStringLiteral("25     IN     PTR     mail.example.com.")));
    QVERIFY(server.reverseLines().contains(QStringLiteral("1     IN     PTR     ns1.example.com.")));
    // The zone and its reverse zone changed as one revision, named after the host.
    QCOMPARE(server.revisions(), revisions + 1);
    ServerHistory history(server.state.boot.bootDirectory, server.state.zoneLists.datapath);
    QCOMPARE(history.revisions()->first().summary,
             QStringLiteral("Delete host mail.example.com 10.1.2.25 with the 4 records that point to it"));
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
}

void TstDependentDeletion::keepThem()
{
    DeletionServer server;
    server.prompter.expectMessage(kQuestion, mailQuestion(), Prompter::Button::No);
    QCOMPARE(server.deleteFromTree(1), RecordDeletion::Deleted);
    QCOMPARE(server.prompter.problems(), QStringList());
    const QByteArray zone = server.zoneBytes();
    QVERIFY(!zone.contains("mail.example.com.     IN     A"));
    QVERIFY(zone.contains("example.com.     IN     MX     5     mail.example.com. "));
    QVERIFY(zone.contains("webmail.example.com.     IN     CNAME     mail.example.com. "));
    QVERIFY(zone.contains("_submission._tcp.example.com.     IN     SRV     0 5 587 mail.example.com."));
    QVERIFY(server.reverseLines().contains(QStringLiteral("25     IN     PTR     mail.example.com.")));
}

void TstDependentDeletion::cancelChangesNothing()
{
    DeletionServer server;
    const QByteArray zone = server.zoneBytes();
    const QStringList reverse = server.reverseLines();
    server.prompter.expectMessage(kQuestion, mailQuestion(), Prompter::Button::Cancel);
    QCOMPARE(server.deleteFromTree(1), RecordDeletion::Cancelled);
    QCOMPARE(server.zoneBytes(), zone);
    QCOMPARE(server.reverseLines(), reverse);
}

void TstDependentDeletion::hostKeepingAnotherAddress()
{
    DeletionServer server;
    // dual keeps its IPv6 address: only the pointer of the address deleted points to what goes.
    server.prompter.expectMessage(
        kQuestion,
        QStringLiteral("Are you sure you want to delete the host dual.example.com. (10.1.2.30)? These records point "
                       "to it (30.2.1.10.IN-ADDR.ARPA. PTR dual.example.com.). Press \"YES\" to delete them as well, "
                       "\"NO\" to keep them, or \"CANCEL\" to delete nothing."),
        Prompter::Button::Yes);
    QCOMPARE(server.deleteFromTree(2), RecordDeletion::Deleted);
    QVERIFY(server.zoneBytes().contains("dual.example.com.     IN     AAAA     2001:db8::30"));
    QVERIFY(!server.reverseLines().contains(QStringLiteral("30     IN     PTR     dual.example.com.")));
    // Its IPv6 address is its last one now: every pointer naming it is listed.
    server.prompter.expectMessage(kQuestion,
                                  QStringLiteral("Are you sure you want to delete the host dual.example.com. "
                                                 "(2001:db8::30)? These records point to it (0.3.0.0.0.0.0.0.0.0.0.0."
                                                 "0.0.0.0.0.0.0.0.0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA. PTR "
                                                 "dual.example.com.). Press \"YES\" to delete them as well, \"NO\" to "
                                                 "keep them, or \"CANCEL\" to delete nothing."),
                                  Prompter::Button::Cancel);
    QCOMPARE(server.deleteFromTree(2), RecordDeletion::Cancelled);
    QCOMPARE(server.prompter.problems(), QStringList());
}

void TstDependentDeletion::editorDeleteAsksOnlyWhenPointedTo()
{
    DeletionServer server;
    ZoneContext context{server.state, server.prompter, server.progress, serverBootFileSaver(), {}};
    QVERIFY(openZoneForChange(context, QStringLiteral("example.com")));
    server.state.zone.hostaddrs.setEditIndex(1);
    server.prompter.expectMessage(kQuestion, mailQuestion(), Prompter::Button::Yes);
    QCOMPARE(deleteRecord(context, RecordKind::HostAddress).status, EditStatus::Stored);
    QVERIFY(!server.zoneBytes().contains("mail.example.com"));
    // The name server's host is refused before anything is asked.
    server.state.zone.hostaddrs.setEditIndex(0);
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("This host is the address of the name server ns1.example.com., and "
                                                 "the name server does not load a zone whose name server inside it "
                                                 "has no host address. Delete or change the name server first."));
    QCOMPARE(deleteRecord(context, RecordKind::HostAddress).status, EditStatus::Refused);
    QCOMPARE(server.prompter.problems(), QStringList());
    QCOMPARE(server.prompter.pending(), 0);
}

void TstDependentDeletion::aliasPointedTo()
{
    DeletionServer server;
    ZoneContext context{server.state, server.prompter, server.progress, serverBootFileSaver(), {}};
    QVERIFY(openZoneForChange(context, QStringLiteral("example.com")));
    // An alias that a mail server names: deleting it lists the mail server.
    server.state.zone.mailservers.replaceAt(
        0, QStringLiteral("example.com.     IN     MX     5     webmail.example.com. "), QString());
    QVERIFY(saveZone(context).ok());
    server.prompter.expectMessage(
        kQuestion,
        QStringLiteral("Are you sure you want to delete the alias webmail.example.com.? These "
                       "records point to it (example.com. MX 5 webmail.example.com.). Press "
                       "\"YES\" to delete them as well, \"NO\" to keep them, or \"CANCEL\" "
                       "to delete nothing."),
        Prompter::Button::Yes);
    QCOMPARE(deleteRecordFromBrowser(context, QStringLiteral("example.com"), RecordKind::Alias, 0),
             RecordDeletion::Deleted);
    QVERIFY(!server.zoneBytes().contains("webmail"));
    QCOMPARE(server.prompter.problems(), QStringList());
    QUORVANE_VERIFY_ZONES_LOAD(server.bootFile(), server.dataPath());
}

void TstDependentDeletion::commandLineAnswers()
{
    DeletionServer server;
    const QString home = server.dir.filePath(QStringLiteral("home"));
    const QStringList remove{QStringLiteral("--identity"),
                             QStringLiteral("ns1@ns1.example.com."),
                             QStringLiteral("record"),
                             QStringLiteral("delete"),
                             server.bootFile(),
                             QStringLiteral("example.com"),
                             QStringLiteral("host"),
                             QStringLiteral("2")};
    const CliRun unanswered = runCli(remove, home);
    QCOMPARE(unanswered.status, 3);
    QCOMPARE(unanswered.err, (QStringLiteral("Question!: ") + mailQuestion() + QLatin1Char('\n')).toLatin1());
    QVERIFY(server.zoneBytes().contains("mail.example.com.     IN     A"));
    const CliRun kept = runCli(QStringList{QStringLiteral("--answers"), QStringLiteral("no")} + remove, home);
    QVERIFY2(kept.status == 0, kept.err.constData());
    QVERIFY(server.zoneBytes().contains("webmail.example.com.     IN     CNAME     mail.example.com. "));
    QVERIFY(server.reverseLines().contains(QStringLiteral("25     IN     PTR     mail.example.com.")));
}

QTEST_GUILESS_MAIN(TstDependentDeletion)
#include "tst_dependentdeletion.moc"
