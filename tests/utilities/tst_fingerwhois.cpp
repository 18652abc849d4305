#include "loopbackpeers.h"
#include "support/scriptedprompter.h"
#include "utilities/fingertool.h"
#include "utilities/whoistool.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList spiedTexts(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& args : spy)
        texts << args.first().toString();
    return texts;
}

} // namespace

class TstFingerWhois : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fingerSendsUserAndShowsEveryLine_data();
    void fingerSendsUserAndShowsEveryLine();
    void fingerAgainstRealDaemon_data();
    void fingerAgainstRealDaemon();
    void fingerRefusedConnection();
    void fingerTimesOut();
    void fingerEmptyInputOnlyBeeps();
    void fingerWithoutHostIsException();
    void fingerNextQueryDropsPreviousConnection();
    void whoisSendsNameAndShowsEveryLine();
    void whoisRefusedConnection();
    void whoisTimesOut();
    void whoisEmptyInputOnlyBeeps();
    void whoisWithoutServerIsException();
};

void TstFingerWhois::fingerSendsUserAndShowsEveryLine_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("query");
    QTest::newRow("user at host") << "root" << QByteArray("root\r\n");
    QTest::newRow("host alone asks for the user list") << "" << QByteArray("\r\n");
}

void TstFingerWhois::fingerSendsUserAndShowsEveryLine()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, query);
    LineServer server("Login: root\r\n\r\nNo Plan.\r\n");
    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    tool.setPort(server.port());
    QSignalSpy added(&tool.area(), &ResponseArea::lineAdded);
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    QSignalSpy busy(&tool.area(), &ResponseArea::busyChanged);

    const QString input = (user.isEmpty() ? QString() : user + QLatin1Char('@')) + QStringLiteral("127.0.0.1");
    tool.find(input);
    QVERIFY(tool.reached());
    QTRY_COMPARE(tool.area().lines().size(), 5);
    QCOMPARE(server.received(), query);
    QCOMPARE(tool.area().lines(), (QStringList{"Connected. Waiting for data...", "", "Login: root", "", "No Plan."}));
    QCOMPARE(spiedTexts(added).mid(0, 2),
             (QStringList{"Requesting 127.0.0.1...", "Connecting to 127.0.0.1...   Will time out in 15 seconds"}));
    QCOMPARE(spiedTexts(statuses), (QStringList{"Processing...", "Username@Host:"}));
    QCOMPARE(busy.size(), 2);
    QCOMPARE(tool.area().status(), QStringLiteral("Username@Host:"));
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstFingerWhois::fingerAgainstRealDaemon_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("query");
    QTest::newRow("one user") << "root@127.0.0.1" << QByteArray("root\r\n");
    QTest::newRow("user list") << "127.0.0.1" << QByteArray("\r\n");
    QTest::newRow("unknown user") << "nosuchuser@127.0.0.1" << QByteArray("nosuchuser\r\n");
}

void TstFingerWhois::fingerAgainstRealDaemon()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, query);
    if (!FingerDaemon::unavailableReason().isEmpty())
        QSKIP(qPrintable(FingerDaemon::unavailableReason()));
    FingerDaemon daemon;
    QVERIFY(daemon.start());
    const QStringList expected = daemon.answer(query);
    QVERIFY(!expected.isEmpty());

    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    tool.setPort(daemon.port());
    tool.find(input);
    QVERIFY(tool.reached());
    QVERIFY(tool.client().waitForClose(10000));
    QCOMPARE(tool.area().lines(), QStringList({"Connected. Waiting for data...", ""}) + expected);
    if (query == "root\r\n")
        QVERIFY(expected.first().startsWith(QLatin1String("Login: root")));
    if (query == "nosuchuser\r\n")
        QCOMPARE(expected, QStringList{"finger: nosuchuser: no such user."});
}

void TstFingerWhois::fingerRefusedConnection()
{
    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    tool.setPort(refusingPort());
    QElapsedTimer clock;
    clock.start();
    tool.find(QStringLiteral("root@127.0.0.1"));
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(!tool.reached());
    QCOMPARE(tool.area().lines(), QStringList{"Connection failed: Connection refused"});
    QCOMPARE(tool.area().status(), QStringLiteral("Username@Host:"));
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstFingerWhois::fingerTimesOut()
{
    SilentListener listener;
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Warning"), QStringLiteral("Connection timed out."));
    FingerTool tool(prompter);
    tool.setPort(listener.port());
    tool.setConnectTimeout(1000);
    QSignalSpy added(&tool.area(), &ResponseArea::lineAdded);
    QElapsedTimer clock;
    clock.start();
    tool.find(QStringLiteral("root@127.0.0.1"));
    QVERIFY(clock.elapsed() >= 990);
    QCOMPARE(spiedTexts(added),
             (QStringList{"Requesting 127.0.0.1...", "Connecting to 127.0.0.1...   Will time out in 1 seconds"}));
    QCOMPARE(tool.area().lines(), QStringList());
    QCOMPARE(prompter.pending(), 0);
    QVERIFY(!tool.client().isOpen());
}

void TstFingerWhois::fingerEmptyInputOnlyBeeps()
{
    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    QSignalSpy beeps(&tool, &FingerTool::beep);
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    tool.find(QString());
    QCOMPARE(beeps.size(), 1);
    QCOMPARE(spiedTexts(statuses), (QStringList{"Processing...", "Username@Host:"}));
    QCOMPARE(tool.area().lines(), QStringList());
    QVERIFY(!tool.area().isBusy());
}

void TstFingerWhois::fingerWithoutHostIsException()
{
    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    tool.find(QStringLiteral("root@"));
    QCOMPARE(tool.area().lines(), (QStringList{"Requesting ...", "Connecting to ...   Will time out in 15 seconds",
                                               "Exception: No remote host given."}));
    QCOMPARE(tool.area().status(), QStringLiteral("Username@Host:"));
}

void TstFingerWhois::fingerNextQueryDropsPreviousConnection()
{
    // A server that answers but keeps the connection: the next query must disconnect it first.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QList<QTcpSocket*> peers;
    connect(&server, &QTcpServer::newConnection, this, [&] { peers << server.nextPendingConnection(); });
    ScriptedPrompter prompter;
    FingerTool tool(prompter);
    tool.setPort(server.serverPort());
    tool.find(QStringLiteral("one@127.0.0.1"));
    QVERIFY(tool.reached());
    QTRY_COMPARE(peers.size(), 1);
    tool.find(QStringLiteral("two@127.0.0.1"));
    QVERIFY(tool.reached());
    QTRY_COMPARE(peers.size(), 2);
    QTRY_COMPARE(peers.first()->state(), QAbstractSocket::UnconnectedState);
    QByteArray second;
    QTRY_COMPARE((second += peers.last()->readAll()), QByteArray("two\r\n"));
}

void TstFingerWhois::whoisSendsNameAndShowsEveryLine()
{
    LineServer server("Domain Name: EXAMPLE.COM\r\nRegistrar: Test\n\nlast line");
    ScriptedPrompter prompter;
    WhoisTool tool(prompter, QStringLiteral("127.0.0.1"));
    tool.setPort(server.port());
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    tool.find(QStringLiteral("example.com"));
    QVERIFY(tool.reached());
    QVERIFY(tool.client().waitForClose(5000));
    QCOMPARE(server.received(), QByteArray("example.com\r\n"));
    QCOMPARE(tool.area().lines(), (QStringList{"Looking up host 127.0.0.1...", "Connecting to 127.0.0.1 ...",
                                               "Domain Name: EXAMPLE.COM", "Registrar: Test", "", "last line"}));
    QCOMPARE(spiedTexts(statuses), (QStringList{"Processing...", "Name to Lookup"}));
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstFingerWhois::whoisRefusedConnection()
{
    ScriptedPrompter prompter;
    WhoisTool tool(prompter, QStringLiteral("127.0.0.1"));
    tool.setPort(refusingPort());
    tool.find(QStringLiteral("example.com"));
    QVERIFY(!tool.reached());
    QCOMPARE(tool.area().lines(), (QStringList{"Looking up host 127.0.0.1...", "Connecting to 127.0.0.1 ...",
                                               "Connection failed: Connection refused"}));
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstFingerWhois::whoisTimesOut()
{
    SilentListener listener;
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Warning"), QStringLiteral("Connection timed out."));
    WhoisTool tool(prompter, QStringLiteral("127.0.0.1"));
    tool.setPort(listener.port());
    tool.setConnectTimeout(800);
    tool.find(QStringLiteral("example.com"));
    QCOMPARE(tool.area().lines(), QStringList());
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(tool.area().status(), QStringLiteral("Name to Lookup"));
}

void TstFingerWhois::whoisEmptyInputOnlyBeeps()
{
    ScriptedPrompter prompter;
    WhoisTool tool(prompter, QStringLiteral("127.0.0.1"));
    QSignalSpy beeps(&tool, &WhoisTool::beep);
    tool.find(QString());
    QCOMPARE(beeps.size(), 1);
    QCOMPARE(tool.area().lines(), QStringList());
    QCOMPARE(tool.area().status(), QStringLiteral("Name to Lookup"));
}

void TstFingerWhois::whoisWithoutServerIsException()
{
    ScriptedPrompter prompter;
    WhoisTool tool(prompter, QString());
    tool.find(QStringLiteral("example.com"));
    QVERIFY(!tool.reached());
    QCOMPARE(tool.area().lines(),
             (QStringList{"Looking up host ...", "Connecting to  ...", "Exception: No remote host given."}));
    QCOMPARE(tool.area().status(), QStringLiteral("Name to Lookup"));
}

QTEST_GUILESS_MAIN(TstFingerWhois)
#include "tst_fingerwhois.moc"
