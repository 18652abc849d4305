#include "support/scriptedprompter.h"
#include "utilities/pingtool.h"
#include "utilities/tracetool.h"

#include <QRegularExpression>
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

bool icmpAvailable(QString* reason)
{
    IcmpPing probe;
    const auto error = probe.setHost(QStringLiteral("127.0.0.1"));
    if (error)
        *reason = QStringLiteral("No ICMP socket for this user: ") + *error;
    return !error;
}

} // namespace

class TstPingTrace : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void pingThreeTimesGivesThreeLines();
    void pingRefusesCountThatIsNoWholeNumber_data();
    void pingRefusesCountThatIsNoWholeNumber();
    void pingZeroTimesGivesNoLine();
    void newPingRestartsCount();
    void stopEndsPing();
    void pingOfUnreachableKindOfHostIsError();
    void traceOfLoopbackIsOneHopLine();
    void twoTracesLeaveBothListings();
    void traceOfUnreachableKindOfHostIsError();

private:
    QString m_noIcmp;
};

void TstPingTrace::initTestCase()
{
    icmpAvailable(&m_noIcmp);
}

void TstPingTrace::pingThreeTimesGivesThreeLines()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    PingTool tool(prompter);
    QSignalSpy finished(&tool, &PingTool::finished);
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    QVERIFY(tool.ping(QStringLiteral("127.0.0.1"), QStringLiteral("3")));
    QVERIFY(tool.isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 15000);
    const QStringList lines = tool.area().lines();
    QCOMPARE(lines.size(), 3);
    for (int n = 1; n <= 3; ++n) {
        const QRegularExpression form(QStringLiteral("^\\(%1\\)Ping 127\\.0\\.0\\.1  ---> \\d+ milliseconds$").arg(n));
        QVERIFY2(form.match(lines.at(n - 1)).hasMatch(), qPrintable(lines.at(n - 1)));
    }
    QCOMPARE(spiedTexts(statuses), (QStringList{"Processing...", "Enter an address to ping."}));
    QVERIFY(!tool.isRunning());
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstPingTrace::pingRefusesCountThatIsNoWholeNumber_data()
{
    QTest::addColumn<QString>("times");
    QTest::newRow("letters") << "ten";
    QTest::newRow("negative, which would never end") << "-1";
    QTest::newRow("fraction") << "2.5";
    QTest::newRow("empty") << "";
}

void TstPingTrace::pingRefusesCountThatIsNoWholeNumber()
{
    QFETCH(QString, times);
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("Times to Ping must be a whole number."));
    PingTool tool(prompter);
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    QVERIFY(!tool.ping(QStringLiteral("127.0.0.1"), times));
    QVERIFY(!tool.isRunning());
    QCOMPARE(statuses.size(), 0);
    QCOMPARE(prompter.pending(), 0);
}

void TstPingTrace::pingZeroTimesGivesNoLine()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    PingTool tool(prompter);
    QSignalSpy finished(&tool, &PingTool::finished);
    QVERIFY(tool.ping(QStringLiteral("127.0.0.1"), QStringLiteral("0")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    QCOMPARE(tool.area().lines(), QStringList());
    QCOMPARE(tool.area().status(), PingTool::readyStatus());
}

void TstPingTrace::newPingRestartsCount()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    PingTool tool(prompter);
    QSignalSpy finished(&tool, &PingTool::finished);
    QSignalSpy cleared(&tool.area(), &ResponseArea::cleared);
    QVERIFY(tool.ping(QStringLiteral("127.0.0.1"), QStringLiteral("10")));
    QTRY_COMPARE_WITH_TIMEOUT(tool.area().lines().size(), 2, 10000);
    QVERIFY(tool.ping(QStringLiteral("localhost"), QStringLiteral("2")));
    QCOMPARE(cleared.size(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    const QStringList lines = tool.area().lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).startsWith(QLatin1String("(1)Ping localhost  ---> ")), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).startsWith(QLatin1String("(2)Ping localhost  ---> ")), qPrintable(lines.at(1)));
}

void TstPingTrace::stopEndsPing()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    PingTool tool(prompter);
    QVERIFY(tool.ping(QStringLiteral("127.0.0.1"), QStringLiteral("10")));
    QTRY_COMPARE_WITH_TIMEOUT(tool.area().lines().size(), 1, 10000);
    tool.stop();
    QVERIFY(!tool.isRunning());
    QCOMPARE(tool.area().status(), PingTool::readyStatus());
    QCOMPARE(tool.area().lines().size(), 1);
}

void TstPingTrace::pingOfUnreachableKindOfHostIsError()
{
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("Only IPv4 addresses can be reached: ::1"));
    PingTool tool(prompter);
    QVERIFY(!tool.ping(QStringLiteral("::1"), QStringLiteral("3")));
    QVERIFY(!tool.isRunning());
    QCOMPARE(tool.area().status(), PingTool::readyStatus());
    QCOMPARE(prompter.pending(), 0);
}

void TstPingTrace::traceOfLoopbackIsOneHopLine()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    TraceTool tool(prompter);
    QSignalSpy statuses(&tool.area(), &ResponseArea::statusChanged);
    QSignalSpy busy(&tool.area(), &ResponseArea::busyChanged);
    QVERIFY(tool.trace(QStringLiteral("127.0.0.1")));
    const QStringList lines = tool.area().lines();
    QCOMPARE(lines.size(), 1);
    const QRegularExpression form(QStringLiteral("^1:   \\d+ milliseconds localhost \\(127\\.0\\.0\\.1\\)$"));
    QVERIFY2(form.match(lines.first()).hasMatch(), qPrintable(lines.first()));
    QCOMPARE(spiedTexts(statuses), (QStringList{"Processing...", "Enter an address to trace."}));
    QCOMPARE(busy.size(), 2);
    QVERIFY(!tool.area().isBusy());
}

void TstPingTrace::twoTracesLeaveBothListings()
{
    if (!m_noIcmp.isEmpty())
        QSKIP(qPrintable(m_noIcmp));
    ScriptedPrompter prompter;
    TraceTool tool(prompter);
    QSignalSpy cleared(&tool.area(), &ResponseArea::cleared);
    QVERIFY(tool.trace(QStringLiteral("127.0.0.1")));
    QVERIFY(tool.trace(QStringLiteral("localhost")));
    QCOMPARE(tool.area().lines().size(), 2);
    for (const QString& line : tool.area().lines())
        QVERIFY2(line.startsWith(QLatin1String("1:   ")) && line.endsWith(QLatin1String(" localhost (127.0.0.1)")),
                 qPrintable(line));
    QCOMPARE(cleared.size(), 0);
}

void TstPingTrace::traceOfUnreachableKindOfHostIsError()
{
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("Only IPv4 addresses can be reached: ::1"));
    TraceTool tool(prompter);
    QVERIFY(!tool.trace(QStringLiteral("::1")));
    QCOMPARE(tool.area().status(), TraceTool::readyStatus());
    QVERIFY(!tool.area().isBusy());
    QCOMPARE(prompter.pending(), 0);
}

QTEST_GUILESS_MAIN(TstPingTrace)
#include "tst_pingtrace.moc"
