#include "utilities/utilityformat.h"

#include <QTest>

class TstUtilityFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitsFingerInput_data();
    void splitsFingerInput();
    void recordType_data();
    void recordType();
    void wholeNumbers_data();
    void wholeNumbers();
    void pingLines_data();
    void pingLines();
    void traceLines_data();
    void traceLines();
};

void TstUtilityFormat::splitsFingerInput_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("host");
    QTest::newRow("user at host") << "root@host.example"
                                  << "root"
                                  << "host.example";
    QTest::newRow("host alone asks for the user list") << "host.example"
                                                       << ""
                                                       << "host.example";
    QTest::newRow("two at signs split at the first") << "a@b@c"
                                                     << "a"
                                                     << "b@c";
    QTest::newRow("empty user") << "@host"
                                << ""
                                << "host";
    QTest::newRow("empty host") << "user@"
                                << "user"
                                << "";
    QTest::newRow("host cut at 255") << "u@" + QString(300, QLatin1Char('h')) << "u" << QString(255, QLatin1Char('h'));
}

void TstUtilityFormat::splitsFingerInput()
{
    QFETCH(QString, input);
    QFETCH(QString, user);
    QFETCH(QString, host);
    const FingerTarget target = splitFingerInput(input);
    QCOMPARE(target.user, user);
    QCOMPARE(target.host, host);
}

void TstUtilityFormat::recordType_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("type");
    QTest::newRow("list entry") << "MX - Mail Exchange"
                                << "MX";
    QTest::newRow("any") << "ANY - All records"
                         << "ANY";
    QTest::newRow("typed without blank") << "MX"
                                         << "MX";
    QTest::newRow("leading blank gives empty type") << " MX"
                                                    << "";
}

void TstUtilityFormat::recordType()
{
    QFETCH(QString, text);
    QFETCH(QString, type);
    QCOMPARE(recordTypeOf(text), type);
}

void TstUtilityFormat::wholeNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // -1: refused
    QTest::newRow("ten") << "10" << 10;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("blanks around") << " 3 " << 3;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("fraction") << "1.5" << -1;
    QTest::newRow("letters") << "ten" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("too large") << "99999999999" << -1;
}

void TstUtilityFormat::wholeNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(wholeNumber(text).value_or(-1), value);
}

void TstUtilityFormat::pingLines_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("line");
    QTest::newRow("reply") << 1 << 0 << 12 << "(1)Ping host.example  ---> 12 milliseconds";
    QTest::newRow("time-out") << 7 << 1 << 5000 << "Ping 7  ---> was not successful.";
    QTest::newRow("unreachable") << 2 << 2 << 3 << "Ping 2  ---> was not successful.";
}

void TstUtilityFormat::pingLines()
{
    QFETCH(int, n);
    QFETCH(int, status);
    QFETCH(int, ms);
    QFETCH(QString, line);
    QCOMPARE(pingLine(n, status, QStringLiteral("host.example"), ms), line);
}

void TstUtilityFormat::traceLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("named hop") << "router.example"
                               << "3:   14 milliseconds router.example (10.0.0.1)";
    QTest::newRow("hop without a name") << "10.0.0.1"
                                        << "3:   14 milliseconds    10.0.0.1";
}

void TstUtilityFormat::traceLines()
{
    QFETCH(QString, name);
    QFETCH(QString, line);
    QCOMPARE(traceLine(3, 14, QStringLiteral("10.0.0.1"), name), line);
}

QTEST_GUILESS_MAIN(TstUtilityFormat)
#include "tst_utilityformat.moc"
