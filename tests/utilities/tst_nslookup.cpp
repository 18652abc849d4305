#include "namedpeer.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "utilities/nslookup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// An interpreter that runs and writes nothing, as a lookup tool that finds nothing to list.
QString silentInterpreter()
{
    return QStandardPaths::findExecutable(QStringLiteral("true"));
}

QStringList spiedTexts(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& args : spy)
        texts << args.first().toString();
    return texts;
}

} // namespace

class TstNsLookup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void refusesMissingServerOrDomain_data();
    void refusesMissingServerOrDomain();
    void refusesTimeoutThatIsNoWholeNumber();
    void refusesWhatIsNoNameOrAddress_data();
    void refusesWhatIsNoNameOrAddress();
    void interpreterRefusesOptionsInPlaceOfADomain();
    void refusesWhatIsNoRecordType_data();
    void refusesWhatIsNoRecordType();
    void writesBatchAndCommandFiles();
    void keepsExistingBatchFile();
    void timeoutZeroEndsAtFirstTick();
    void countsDownOneSecondPerTick();
    void listsMailExchangersOfRealServer();
    void listsAllRecordsOfRealServer();
    void refusedTransferEndsInTimeout();
    void defaultInterpreterOfThisBuild();

private:
    NamedPeer m_named;
    bool m_namedRunning = false;
    QString m_namedProblem;
};

void TstNsLookup::initTestCase()
{
    if (!NamedPeer::available()) {
        m_namedProblem = QStringLiteral("named or dig is not installed (packages bind9, bind9-dnsutils)");
        return;
    }
    m_namedRunning = m_named.start();
    QVERIFY2(m_namedRunning, qPrintable(m_named.error()));
}

void TstNsLookup::refusesMissingServerOrDomain_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("domain");
    QTest::newRow("no server") << ""
                               << "example.test";
    QTest::newRow("blank server") << " "
                                  << "example.test";
    QTest::newRow("no domain") << "127.0.0.1"
                               << "";
    QTest::newRow("blank domain") << "127.0.0.1"
                                  << " ";
}

void TstNsLookup::refusesMissingServerOrDomain()
{
    QFETCH(QString, server);
    QFETCH(QString, domain);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("output.txt")), "old listing\r\n"));
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("You must enter a server and a domain to look up."));
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QVERIFY(!lookup.lookup(server, domain, QStringLiteral("ANY - All records"), QStringLiteral("15")));
    QVERIFY(!lookup.isCountingDown());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"output.txt"});
    QCOMPARE(prompter.pending(), 0);
}

void TstNsLookup::refusesTimeoutThatIsNoWholeNumber()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("-5"), QStringLiteral("1.5"), QString()}) {
        prompter.expectMessage(QStringLiteral("Attention!"),
                               QStringLiteral("The time-out must be a whole number of seconds."));
        QVERIFY(!lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                               QStringLiteral("MX - Mail Exchange"), text));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(prompter.pending(), 0);
}

void TstNsLookup::refusesWhatIsNoNameOrAddress_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("text");
    // Each of these would have put commands of its own into the command file, or an option on dig's line.
    QTest::newRow("line break in the domain")
        << "127.0.0.1"
        << "example.test\nls -t ANY example.test > /tmp/elsewhere.txt"
        << "example.test\nls -t ANY example.test > /tmp/elsewhere.txt is not a domain name.";
    QTest::newRow("option for a domain") << "127.0.0.1"
                                         << "-f/etc/passwd"
                                         << "-f/etc/passwd is not a domain name.";
    QTest::newRow("empty label") << "127.0.0.1"
                                 << "example..test"
                                 << "example..test is not a domain name.";
    QTest::newRow("blank inside") << "127.0.0.1"
                                  << "example.test > out.txt"
                                  << "example.test > out.txt is not a domain name.";
    QTest::newRow("line break in the server") << "127.0.0.1\nexit"
                                              << "example.test"
                                              << "127.0.0.1\nexit is not a name server's name or address.";
    QTest::newRow("option for a server") << "-p1"
                                         << "example.test"
                                         << "-p1 is not a name server's name or address.";
}

void TstNsLookup::refusesWhatIsNoNameOrAddress()
{
    QFETCH(QString, server);
    QFETCH(QString, domain);
    QFETCH(QString, text);
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"), text);
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QVERIFY(!lookup.lookup(server, domain, QStringLiteral("ANY - All records"), QStringLiteral("15")));
    QVERIFY(!lookup.isCountingDown());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(prompter.pending(), 0);
    // Addresses of both families and names with a final dot or underscores are what a lookup takes.
    for (const auto& [goodServer, goodDomain] :
         {std::pair{QStringLiteral("::1"), QStringLiteral("_dmarc.example.test.")},
          std::pair{QStringLiteral("ns1.example.test"), QStringLiteral("example.test")}}) {
        NsLookup accepted(prompter, dir.path(), silentInterpreter());
        QVERIFY(accepted.lookup(goodServer, goodDomain, QStringLiteral("ANY - All records"), QStringLiteral("0")));
    }
}

void TstNsLookup::interpreterRefusesOptionsInPlaceOfADomain()
{
    // A command file written by something else reaches the interpreter as it stands.
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("command.txt")),
                       "server 127.0.0.1\r\nls -t ANY -f/etc/shadow > out.txt\r\nexit\r\n"));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("nsbatch.bat")), "type command.txt | nslookup\r\n"));
    FakePlatform platform;
    QProcess batch;
    batch.start(NsLookup::defaultInterpreter(platform), {dir.filePath(QStringLiteral("nsbatch.bat"))});
    QVERIFY(batch.waitForFinished(30000));
    QCOMPARE(batch.exitCode(), 1);
    QVERIFY2(batch.readAllStandardError().contains("Not a domain name: -f/etc/shadow"), "the refusal is said");
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out.txt"))));
}

void TstNsLookup::refusesWhatIsNoRecordType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("none selected") << "Select a Record Type"
                                   << "You must first select a record type.";
    // A line break would have added a listing of its own, to any path.
    QTest::newRow("line break in the type") << "MX\nls -t ANY example.test > /tmp/elsewhere.txt"
                                            << "MX\nls -t ANY example.test > /tmp/elsewhere.txt is not a record type.";
    QTest::newRow("option for a type") << "-f/etc/passwd"
                                       << "-f/etc/passwd is not a record type.";
}

void TstNsLookup::refusesWhatIsNoRecordType()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("output.txt")), "old listing\r\n"));
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"), text);
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QVERIFY(!lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"), type, QStringLiteral("15")));
    QVERIFY(!lookup.isCountingDown());
    // The batch file is written and the old listing deleted before the type is looked at.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"nsbatch.bat"});
    QCOMPARE(prompter.pending(), 0);
}

void TstNsLookup::writesBatchAndCommandFiles()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QVERIFY(lookup.lookup(QStringLiteral("ns1.example.test"), QStringLiteral("example.test"),
                          QStringLiteral("MX - Mail Exchange"), QStringLiteral("15")));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("nsbatch.bat"))),
             readBytes(testDataPath(QStringLiteral("utilities/nsbatch.bat"))));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("command.txt"))),
             readBytes(testDataPath(QStringLiteral("utilities/command-mx.txt"))));
    QVERIFY(lookup.isCountingDown());

    // A type typed without a blank is taken whole; the second lookup writes a fresh file of three lines.
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("other.test"), QStringLiteral("SOA"),
                          QStringLiteral("15")));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("command.txt"))),
             readBytes(testDataPath(QStringLiteral("utilities/command-soa.txt"))));
}

void TstNsLookup::keepsExistingBatchFile()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("nsbatch.bat")), "@echo off\r\ntype command.txt | nslookup\r\n"));
    ScriptedPrompter prompter;
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("ANY - All records"), QStringLiteral("15")));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("nsbatch.bat"))),
             QByteArray("@echo off\r\ntype command.txt | nslookup\r\n"));
}

void TstNsLookup::timeoutZeroEndsAtFirstTick()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("NS Lookup could not complete your request in the time allowed."));
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QSignalSpy labels(&lookup, &NsLookup::labelChanged);
    QSignalSpy finished(&lookup, &NsLookup::finished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("ANY - All records"), QStringLiteral("0")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    QVERIFY(clock.elapsed() >= 1900);
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(spiedTexts(labels), (QStringList{"Seconds before Timeout: 0", "Timeout in Seconds"}));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("command.txt"))));
    QCOMPARE(prompter.pending(), 0);
}

void TstNsLookup::countsDownOneSecondPerTick()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("NS Lookup could not complete your request in the time allowed."));
    NsLookup lookup(prompter, dir.path(), silentInterpreter());
    QSignalSpy labels(&lookup, &NsLookup::labelChanged);
    QSignalSpy finished(&lookup, &NsLookup::finished);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("ANY - All records"), QStringLiteral("1")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
    QVERIFY(clock.elapsed() >= 2900); // N + 2 seconds
    QCOMPARE(spiedTexts(labels), (QStringList{"Seconds before Timeout: 1", "Seconds before Timeout: 0",
                                              "Seconds before Timeout: 0", "Timeout in Seconds"}));
    QCOMPARE(lookup.label(), NsLookup::idleLabel());
}

void TstNsLookup::listsMailExchangersOfRealServer()
{
    if (!m_namedProblem.isEmpty())
        QSKIP(qPrintable(m_namedProblem));
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FakePlatform platform;
    NsLookup lookup(prompter, dir.path(), NsLookup::defaultInterpreter(platform));
    lookup.setPort(m_named.port());
    QSignalSpy finished(&lookup, &NsLookup::finished);
    QSignalSpy results(&lookup, &NsLookup::resultChanged);
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("MX - Mail Exchange"), QStringLiteral("15")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(finished.first().first().toBool(), true);
    const QByteArray expected = readBytes(testDataPath(QStringLiteral("utilities/output-mx.txt")));
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("output.txt"))), expected);
    QStringList shown = QString::fromLatin1(expected).split(QStringLiteral("\r\n"));
    shown.removeLast();
    shown.first().clear();
    QCOMPARE(lookup.result(), shown.join(QLatin1Char('\n')));
    QCOMPARE(results.size(), 1);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("command.txt"))));
    QCOMPARE(lookup.label(), NsLookup::idleLabel());
    QCOMPARE(prompter.prompts().size(), 0);
}

void TstNsLookup::listsAllRecordsOfRealServer()
{
    if (!m_namedProblem.isEmpty())
        QSKIP(qPrintable(m_namedProblem));
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FakePlatform platform;
    NsLookup lookup(prompter, dir.path(), NsLookup::defaultInterpreter(platform));
    lookup.setPort(m_named.port());
    QSignalSpy finished(&lookup, &NsLookup::finished);
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("ANY - All records"), QStringLiteral("15")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(readBytes(dir.filePath(QStringLiteral("output.txt"))),
             readBytes(testDataPath(QStringLiteral("utilities/output-any.txt"))));
}

void TstNsLookup::refusedTransferEndsInTimeout()
{
    if (!m_namedProblem.isEmpty())
        QSKIP(qPrintable(m_namedProblem));
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    FakePlatform platform;
    NsLookup lookup(prompter, dir.path(), NsLookup::defaultInterpreter(platform));
    lookup.setPort(m_named.port());
    QSignalSpy finished(&lookup, &NsLookup::finished);
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("example.test"),
                          QStringLiteral("MX - Mail Exchange"), QStringLiteral("15")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    const QString previous = lookup.result();
    QVERIFY(!previous.isEmpty());

    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("NS Lookup could not complete your request in the time allowed."));
    QVERIFY(lookup.lookup(QStringLiteral("127.0.0.1"), QStringLiteral("refused.test"),
                          QStringLiteral("MX - Mail Exchange"), QStringLiteral("1")));
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 20000);
    QCOMPARE(finished.last().first().toBool(), false);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("output.txt"))));
    QCOMPARE(lookup.result(), previous); // the result area keeps the last listing
    QCOMPARE(prompter.pending(), 0);
}

void TstNsLookup::defaultInterpreterOfThisBuild()
{
    FakePlatform platform;
    const QString interpreter = NsLookup::defaultInterpreter(platform);
    QVERIFY(interpreter.endsWith(QLatin1String("/quorvane-nsbatch")));
    QVERIFY(QFileInfo(interpreter).isExecutable());
}

QTEST_GUILESS_MAIN(TstNsLookup)
#include "tst_nslookup.moc"
