#include "checks/tldlist.h"
#include "editors/namecompletion.h"
#include "support/scriptedprompter.h"
#include "zone/recordlist.h"

#include <QTest>

using Button = Prompter::Button;
using Kind = ScriptedPrompter::Kind;

Q_DECLARE_METATYPE(std::optional<QString>)
Q_DECLARE_METATYPE(Prompter::Button)
Q_DECLARE_METATYPE(ServerKind)

namespace {

const QString kOrigin = QStringLiteral("example.com");
const QString kAttention = QStringLiteral("Attention!");
const QString kIncorrect = QStringLiteral("Server has an incorrect address. Re-Enter.");

QString serverQuestion(const QString& name, const QString& completed)
{
    return QStringLiteral("You entered \"") + name +
           QStringLiteral("\" in the first name field. This will reference ") + completed +
           QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.");
}

QString zoneQuestion(const QString& name, const QString& completed)
{
    return QStringLiteral("You entered \"") + name + QStringLiteral("\" in the name field. This will reference ") +
           completed + QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.");
}

QString periodQuestion(const QString& name, const QString& completed)
{
    return QStringLiteral("The name you have entered in the name field appears to be invalid because it does not "
                          "include the domain name you are working with, and we have detected a period in the name. "
                          "Click \"OK\" if you would like ") +
           name + QStringLiteral(" to be changed to ") + completed +
           QStringLiteral(" or cancel to re-enter the information.");
}

const QString kNoHostsAtAll =
    QStringLiteral("You have not defined a host address record for this name. You have not created any host addresses "
                   "to choose from. Click \"OK\" to proceed anyways, or \"CANCEL\" to re-enter.");
const QString kNoHostForName =
    QStringLiteral("You have not defined a host address record for this name. Press \"YES\" to select from the list "
                   "of already defined host addresses, \"OK\" to proceed anyways, or \"CANCEL\" to re-enter.");

// One scripted prompt: a question (caption "Question") or a message, the answer given, and whether the
// question offered the box against further questions.
struct Step
{
    QString caption;
    QString text;
    Button answer;
    bool offerAll = false;
};

Step question(const QString& text, Button answer, bool offerAll)
{
    return {QStringLiteral("Question"), text, answer, offerAll};
}

Step failure()
{
    return {kAttention, kIncorrect, Button::Ok, false};
}

RecordList hosts(const QStringList& lines)
{
    RecordList list(RecordKind::HostAddress);
    for (const QString& line : lines)
        list.appendLine(line);
    return list;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TstNameCompletion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void serverName_data();
    void serverName();
    void zoneName_data();
    void zoneName();
    void hostRecordWithoutQuestion_data();
    void hostRecordWithoutQuestion();
    void hostRecordWhenZoneHasNoHosts_data();
    void hostRecordWhenZoneHasNoHosts();
    void hostRecordOffersHosts_data();
    void hostRecordOffersHosts();
    void hostPickerCancelledProceedsWithTypedName();

private:
    void addNameColumns();
    void runNameCheck(bool zoneName);
};

void TstNameCompletion::addNameColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("storedBefore"); // the "don't ask again" setting as stored: "YES" or not
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<std::optional<QString>>("result");
    QTest::addColumn<QString>("storedAfter");
}

void TstNameCompletion::runNameCheck(bool zoneName)
{
    QFETCH(QString, name);
    QFETCH(QString, origin);
    QFETCH(QString, storedBefore);
    QFETCH(QList<Step>, steps);
    QFETCH(std::optional<QString>, result);
    QFETCH(QString, storedAfter);

    ScriptedPrompter prompter;
    for (const Step& step : steps)
        prompter.expectMessage(step.caption, step.text, step.answer);
    const TldList tlds;
    bool ask = storedBefore != QLatin1String("YES");
    const std::optional<QString> got = zoneName ? completeZoneName(name, origin, tlds, ask, prompter)
                                                : checkServerName(name, origin, tlds, ask, prompter);
    QVERIFY(prompter.problems().isEmpty());
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(got, result);
    QCOMPARE(ask, storedAfter != QLatin1String("YES"));
    QCOMPARE(prompter.prompts().size(), steps.size());
    for (int i = 0; i < steps.size(); ++i) {
        const ScriptedPrompter::Prompt& prompt = prompter.prompts().at(i);
        const bool isQuestion = steps.at(i).caption == QLatin1String("Question");
        QCOMPARE(prompt.kind, isQuestion ? Kind::Question : Kind::Message);
        if (isQuestion)
            QCOMPARE(prompt.buttons.testFlag(Button::All), steps.at(i).offerAll);
    }
}

void TstNameCompletion::serverName_data()
{
    addNameColumns();
    const QString yes = QStringLiteral("YES");
    const QString ns1 = QStringLiteral("ns1.example.com.");
    QTest::newRow("at sign") << QStringLiteral("@") << kOrigin << QString() << QList<Step>{}
                             << std::optional<QString>(QStringLiteral("@")) << QString();
    QTest::newRow("known tld is absolute") << QStringLiteral("ns.provider.net") << kOrigin << QString() << QList<Step>{}
                                           << std::optional<QString>(QStringLiteral("ns.provider.net.")) << QString();
    QTest::newRow("known tld with dot") << QStringLiteral("ns.provider.net.") << kOrigin << QString() << QList<Step>{}
                                        << std::optional<QString>(QStringLiteral("ns.provider.net.")) << QString();
    QTest::newRow("known tld in capitals") << QStringLiteral("NS.PROVIDER.NET") << kOrigin << QString() << QList<Step>{}
                                           << std::optional<QString>(QStringLiteral("NS.PROVIDER.NET.")) << QString();
    QTest::newRow("relative, ok") << QStringLiteral("ns1") << kOrigin << QString()
                                  << QList<Step>{question(serverQuestion(QStringLiteral("ns1"), ns1), Button::Ok, true)}
                                  << std::optional<QString>(ns1) << QString();
    QTest::newRow("relative, all") << QStringLiteral("ns1") << kOrigin << QString()
                                   << QList<Step>{question(serverQuestion(QStringLiteral("ns1"), ns1), Button::All,
                                                           true)}
                                   << std::optional<QString>(ns1) << yes;
    QTest::newRow("relative, cancel") << QStringLiteral("ns1") << kOrigin << QString()
                                      << QList<Step>{question(serverQuestion(QStringLiteral("ns1"), ns1),
                                                              Button::Cancel, true),
                                                     failure()}
                                      << std::optional<QString>() << QString();
    QTest::newRow("relative, remembered")
        << QStringLiteral("ns1") << kOrigin << yes << QList<Step>{} << std::optional<QString>(ns1) << yes;
    QTest::newRow("other remembered value asks")
        << QStringLiteral("ns1") << kOrigin << QStringLiteral("yes")
        << QList<Step>{question(serverQuestion(QStringLiteral("ns1"), ns1), Button::Ok, true)}
        << std::optional<QString>(ns1) << QStringLiteral("yes");
    QTest::newRow("unknown tld inside zone asks")
        << QStringLiteral("ns.example.local") << QStringLiteral("example.local") << QString()
        << QList<Step>{question(serverQuestion(QStringLiteral("ns.example.local"), QStringLiteral("ns.example.local.")),
                                Button::Ok, true)}
        << std::optional<QString>(QStringLiteral("ns.example.local.")) << QString();
    QTest::newRow("too few dots fails") << QStringLiteral("ns") << QStringLiteral("lan") << QString()
                                        << QList<Step>{failure()} << std::optional<QString>() << QString();
    QTest::newRow("too few dots fails even when remembered")
        << QStringLiteral("ns") << QStringLiteral("lan") << yes << QList<Step>{failure()} << std::optional<QString>()
        << yes;
}

void TstNameCompletion::serverName()
{
    runNameCheck(false);
}

void TstNameCompletion::zoneName_data()
{
    addNameColumns();
    const QString yes = QStringLiteral("YES");
    const QString web = QStringLiteral("web.example.com.");
    const QString other = QStringLiteral("web.other.com.example.com.");
    QTest::newRow("at sign") << QStringLiteral("@") << kOrigin << QString() << QList<Step>{}
                             << std::optional<QString>(QStringLiteral("@")) << QString();

    // Three or more dots, no known TLD.
    QTest::newRow("relative, ok") << QStringLiteral("web") << kOrigin << QString()
                                  << QList<Step>{question(zoneQuestion(QStringLiteral("web"), web), Button::Ok, true)}
                                  << std::optional<QString>(web) << QString();
    QTest::newRow("relative, all") << QStringLiteral("web") << kOrigin << QString()
                                   << QList<Step>{question(zoneQuestion(QStringLiteral("web"), web), Button::All, true)}
                                   << std::optional<QString>(web) << yes;
    QTest::newRow("relative, cancel") << QStringLiteral("web") << kOrigin << QString()
                                      << QList<Step>{question(zoneQuestion(QStringLiteral("web"), web), Button::Cancel,
                                                              true),
                                                     failure()}
                                      << std::optional<QString>() << QString();
    QTest::newRow("relative, remembered")
        << QStringLiteral("web") << kOrigin << yes << QList<Step>{} << std::optional<QString>(web) << yes;

    // Three or more dots, known TLD, the origin inside the name.
    QTest::newRow("inside the zone") << QStringLiteral("web.example.com") << kOrigin << QString() << QList<Step>{}
                                     << std::optional<QString>(web) << QString();
    QTest::newRow("inside the zone, absolute") << QStringLiteral("web.example.com.") << kOrigin << QString()
                                               << QList<Step>{} << std::optional<QString>(web) << QString();

    // Three or more dots, known TLD, the origin not inside the name.
    QTest::newRow("other domain, ok") << QStringLiteral("web.other.com") << kOrigin << QString()
                                      << QList<Step>{question(periodQuestion(QStringLiteral("web.other.com"), other),
                                                              Button::Ok, false)}
                                      << std::optional<QString>(other) << QString();
    QTest::newRow("other domain, cancel")
        << QStringLiteral("web.other.com") << kOrigin << QString()
        << QList<Step>{question(periodQuestion(QStringLiteral("web.other.com"), other), Button::Cancel, false),
                       failure()}
        << std::optional<QString>() << QString();
    QTest::newRow("other domain, remembered answer does not skip")
        << QStringLiteral("web.other.com") << kOrigin << yes
        << QList<Step>{question(periodQuestion(QStringLiteral("web.other.com"), other), Button::Ok, false)}
        << std::optional<QString>(other) << yes;
    QTest::newRow("other domain typed absolute, cancel")
        << QStringLiteral("web.other.com.") << kOrigin << QString()
        << QList<Step>{question(periodQuestion(QStringLiteral("web.other.com."), QStringLiteral("web.other.com.")),
                                Button::Cancel, false),
                       failure()}
        << std::optional<QString>() << QString();
    QTest::newRow("other domain typed absolute, ok")
        << QStringLiteral("web.other.com.") << kOrigin << QString()
        << QList<Step>{question(periodQuestion(QStringLiteral("web.other.com."), QStringLiteral("web.other.com.")),
                                Button::Ok, false)}
        << std::optional<QString>(QStringLiteral("web.other.com.")) << QString();
    QTest::newRow("part of the origin, cancel still completes")
        << QStringLiteral("example.com") << QStringLiteral("mail.example.com") << QString()
        << QList<Step>{question(
               periodQuestion(QStringLiteral("example.com"), QStringLiteral("example.com.mail.example.com.")),
               Button::Cancel, false)}
        << std::optional<QString>(QStringLiteral("example.com.mail.example.com.")) << QString();

    // Fewer than three dots.
    QTest::newRow("the origin itself") << kOrigin << kOrigin << QString() << QList<Step>{}
                                       << std::optional<QString>(QStringLiteral("example.com.")) << QString();
    QTest::newRow("ends in the origin without a dot")
        << QStringLiteral("fooexample.com") << kOrigin << QString() << QList<Step>{}
        << std::optional<QString>(QStringLiteral("fooexample.com.")) << QString();
    QTest::newRow("absolute, part of the origin")
        << QStringLiteral("b.com.") << QStringLiteral("web.com.example") << QString() << QList<Step>{}
        << std::optional<QString>(QStringLiteral("b.com.")) << QString();
    QTest::newRow("absolute, elsewhere") << QStringLiteral("other.com.") << kOrigin << QString()
                                         << QList<Step>{failure()} << std::optional<QString>() << QString();
    QTest::newRow("no known tld") << QStringLiteral("web") << QStringLiteral("lan") << QString()
                                  << QList<Step>{failure()} << std::optional<QString>() << QString();
    QTest::newRow("no known tld, remembered") << QStringLiteral("web") << QStringLiteral("lan") << yes
                                              << QList<Step>{failure()} << std::optional<QString>() << yes;
}

void TstNameCompletion::zoneName()
{
    runNameCheck(true);
}

void TstNameCompletion::hostRecordWithoutQuestion_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("hostLines");
    const QStringList someHosts = {QStringLiteral("web.example.com.     IN     A     10.0.0.1 "),
                                   QStringLiteral("ns1.example.com.     IN     A     10.0.0.2 ")};
    QTest::newRow("outside the zone") << QStringLiteral("ns.provider.net.") << QStringList();
    QTest::newRow("outside the zone, hosts present") << QStringLiteral("ns.provider.net.") << someHosts;
    QTest::newRow("host record present") << QStringLiteral("ns1.example.com.") << someHosts;
    QTest::newRow("host record separated by tabs")
        << QStringLiteral("ns1.example.com.") << QStringList{QStringLiteral("ns1.example.com.\tIN\tA\t10.0.0.2")};
}

void TstNameCompletion::hostRecordWithoutQuestion()
{
    QFETCH(QString, name);
    QFETCH(QStringList, hostLines);
    ScriptedPrompter prompter;
    const HostRecordCheck check = checkHostRecord(name, ServerKind::NameServer, kOrigin, hosts(hostLines), prompter);
    QVERIFY(check.proceed);
    QVERIFY(!check.pickedHost);
    QVERIFY(prompter.prompts().isEmpty());
}

void TstNameCompletion::hostRecordWhenZoneHasNoHosts_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::addColumn<Button>("answer");
    QTest::addColumn<bool>("proceed");
    QTest::newRow("ok proceeds for a mail server") << ServerKind::MailServer << Button::Ok << true;
    // A name server inside the zone without an address makes the name server refuse the whole zone.
    QTest::newRow("ok refused for a name server") << ServerKind::NameServer << Button::Ok << false;
    QTest::newRow("cancel re-enters") << ServerKind::NameServer << Button::Cancel << false;
}

void TstNameCompletion::hostRecordWhenZoneHasNoHosts()
{
    QFETCH(ServerKind, kind);
    QFETCH(Button, answer);
    QFETCH(bool, proceed);
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Information"), kNoHostsAtAll, answer);
    const bool refused = kind == ServerKind::NameServer && answer == Button::Ok;
    if (refused)
        prompter.expectMessage(QStringLiteral("Attention!"),
                               QStringLiteral("The name server does not load a zone whose name server inside it has "
                                              "no host address. Add a host address for ns1.example.com. first. "
                                              "Re-Enter"));
    const HostRecordCheck check =
        checkHostRecord(QStringLiteral("ns1.example.com."), kind, kOrigin, hosts({}), prompter);
    QVERIFY(prompter.problems().isEmpty());
    QCOMPARE(check.proceed, proceed);
    QVERIFY(!check.pickedHost);
    QCOMPARE(prompter.prompts().size(), refused ? 2 : 1);
    QCOMPARE(prompter.prompts().first().buttons, Prompter::Buttons(Button::Ok | Button::Cancel));
}

void TstNameCompletion::hostRecordOffersHosts_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::addColumn<Button>("answer");
    QTest::addColumn<bool>("proceed");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("picked");
    QTest::newRow("ok proceeds") << ServerKind::NameServer << Button::Ok << true << QString() << QString();
    QTest::newRow("cancel re-enters") << ServerKind::MailServer << Button::Cancel << false << QString() << QString();
    QTest::newRow("yes picks for a name server")
        << ServerKind::NameServer << Button::Yes << true << QStringLiteral("Select host for name server...")
        << QStringLiteral("mail.example.com.");
    QTest::newRow("yes picks for a mail server")
        << ServerKind::MailServer << Button::Yes << true << QStringLiteral("Select host for mail server...")
        << QStringLiteral("mail.example.com.");
}

void TstNameCompletion::hostRecordOffersHosts()
{
    QFETCH(ServerKind, kind);
    QFETCH(Button, answer);
    QFETCH(bool, proceed);
    QFETCH(QString, caption);
    QFETCH(QString, picked);
    const RecordList zoneHosts = hosts({QStringLiteral("web.example.com.     IN     A     10.0.0.1 "),
                                        QStringLiteral("mail.example.com.\tIN\tA\t10.0.0.3"),
                                        QStringLiteral("NS1.example.com.     IN     A     10.0.0.2 ")});
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Information"), kNoHostForName, answer);
    if (!caption.isEmpty())
        prompter.answerPick(1);

    // The owner must match exactly: a host of the same name in capitals is not the server's host record.
    const HostRecordCheck check =
        checkHostRecord(QStringLiteral("ns1.example.com."), kind, kOrigin, zoneHosts, prompter);
    QVERIFY(prompter.problems().isEmpty());
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(check.proceed, proceed);
    QCOMPARE(check.pickedHost.value_or(QString()), picked);
    QCOMPARE(prompter.prompts().first().buttons, Prompter::Buttons(Button::Yes | Button::Ok | Button::Cancel));
    if (!caption.isEmpty()) {
        QCOMPARE(prompter.prompts().size(), 2);
        const ScriptedPrompter::Prompt& pick = prompter.prompts().at(1);
        QCOMPARE(pick.kind, Kind::Pick);
        QCOMPARE(pick.caption, caption);
        QCOMPARE(pick.items, QStringList({QStringLiteral("web.example.com."), QStringLiteral("mail.example.com."),
                                          QStringLiteral("NS1.example.com.")}));
    }
}

void TstNameCompletion::hostPickerCancelledProceedsWithTypedName()
{
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Information"), kNoHostForName, Button::Yes);
    prompter.answerPick(std::nullopt);
    const HostRecordCheck check =
        checkHostRecord(QStringLiteral("mx.example.com."), ServerKind::MailServer, kOrigin,
                        hosts({QStringLiteral("web.example.com.     IN     A     10.0.0.1 ")}), prompter);
    QVERIFY(prompter.problems().isEmpty());
    QVERIFY(check.proceed);
    QVERIFY(!check.pickedHost);
}

QTEST_GUILESS_MAIN(TstNameCompletion)
#include "tst_namecompletion.moc"
