#include "platform/osdetect.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/sessionstart.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TstShellOperations : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void effectiveVersion_data();
    void effectiveVersion();
    void guessesServerOperatingSystem_data();
    void guessesServerOperatingSystem();
    void addressPromptRepeatsUntilValid();
    void emptyAddressIsKept();
    void firstShowingAsksOnlyWithoutStoredAddress();
    void debugLogTogglesWithStampedLines();
    void debugLogGrowsAcrossRuns();
    void debugLogWriteFailureIsReported();
    void cacheDownloadIsShownWhenPresent();
};

void TstShellOperations::effectiveVersion_data()
{
    QTest::addColumn<QString>("defaultos");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("effective");
    QTest::newRow("nt4") << QString() << QStringLiteral("4.0") << 4;
    QTest::newRow("nt351") << QString() << QStringLiteral("3.51") << 3;
    QTest::newRow("two-digit major") << QString() << QStringLiteral("10.0") << 1;
    QTest::newRow("linux 6.1") << QString() << QStringLiteral("6.1") << 6;
    QTest::newRow("shell choice wins") << QStringLiteral("Windows NT 3.X with Shell") << QStringLiteral("3.51") << 4;
    QTest::newRow("nt3 choice wins") << QStringLiteral("Windows NT 3.X") << QStringLiteral("6.1") << 3;
}

void TstShellOperations::effectiveVersion()
{
    QFETCH(QString, defaultos);
    QFETCH(QString, version);
    QFETCH(int, effective);
    QCOMPARE(effectiveWindowsVersion(defaultos, version), effective);
}

void TstShellOperations::guessesServerOperatingSystem_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nt4") << QStringLiteral("Windows NT") << QStringLiteral("4.0") << QStringLiteral("Windows NT 4.X");
    QTest::newRow("nt351") << QStringLiteral("Windows NT") << QStringLiteral("3.51") << QStringLiteral("Windows NT 3.X");
    QTest::newRow("win95") << QStringLiteral("Windows 95") << QStringLiteral("4.0") << QStringLiteral("Windows 95");
    // A two-digit major reads as its first digit, which is below 4.
    QTest::newRow("nt10") << QStringLiteral("Windows NT") << QStringLiteral("10.0") << QStringLiteral("Windows NT 3.X");
    QTest::newRow("linux") << QStringLiteral("Linux") << QStringLiteral("6.1") << QStringLiteral("Windows NT 4.X");
    QTest::newRow("win31") << QStringLiteral("Windows 3.1") << QStringLiteral("3.10") << QString();
}

void TstShellOperations::guessesServerOperatingSystem()
{
    QFETCH(QString, platform);
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCOMPARE(guessDefaultOs(QString(), platform, version), expected);
    QCOMPARE(operatingSystemChoices().size(), 4);
}

void TstShellOperations::addressPromptRepeatsUntilValid()
{
    const QString caption = QStringLiteral("Enter E-Mail Address");
    const QString invalid = QStringLiteral("You have entered an invalid character in your e-mail address.");
    ScriptedPrompter prompter;
    prompter.answerText(QStringLiteral("john doe@example.com"))
        .expectMessage(QStringLiteral("Error!"), invalid)
        .answerText(QStringLiteral("john,doe@example.com"))
        .expectMessage(QStringLiteral("Error!"), invalid)
        .answerText(QStringLiteral("john.doe@example.com"));
    AppState state;
    askAdministratorAddress(state, prompter);
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(state.emailaddr, QStringLiteral("john.doe@example.com"));
    QCOMPARE(prompter.prompts().first().caption, caption);
    QCOMPARE(prompter.prompts().first().text, QStringLiteral("Enter the e-mail address of the DNS Administrator"));
}

void TstShellOperations::emptyAddressIsKept()
{
    ScriptedPrompter prompter;
    prompter.answerText(std::nullopt);
    AppState state;
    askAdministratorAddress(state, prompter);
    QVERIFY(state.emailaddr.isEmpty());
}

void TstShellOperations::firstShowingAsksOnlyWithoutStoredAddress()
{
    QTemporaryDir dir;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    const QString ini = dir.filePath(QStringLiteral("q.conf"));
    {
        ScriptedPrompter prompter;
        prompter.answerText(QStringLiteral("admin@example.com"));
        AppState state;
        state.exepath = platform.appDataPath();
        SettingsStore store(ini);
        prepareFirstShowing(state, store, prompter, platform);
        QCOMPARE(prompter.pending(), 0);
        QCOMPARE(state.vertext, QStringLiteral("Linux"));
        QCOMPARE(state.defaultos, QStringLiteral("Windows NT 4.X"));
        QCOMPARE(state.path, state.exepath);
        store.setText(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address"), state.emailaddr);
    }
    ScriptedPrompter prompter;
    AppState state;
    SettingsStore store(ini);
    prepareFirstShowing(state, store, prompter, platform);
    QVERIFY(prompter.prompts().isEmpty());
    QCOMPARE(state.emailaddr, QStringLiteral("admin@example.com"));
}

void TstShellOperations::debugLogTogglesWithStampedLines()
{
    QTemporaryDir dir;
    FakePlatform platform;
    AppState state;
    state.debugLog.setPath(dir.filePath(QStringLiteral("dns.log")));
    state.debugLog.logLine(QStringLiteral("--before")); // off: nothing written

    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("Quorvane Debug Logging Activated."))
        .expectMessage(QStringLiteral("Attention!"), QStringLiteral("Quorvane Debug Logging Disabled."));
    toggleDebugLog(state, prompter, platform);
    QVERIFY(state.debugLog.isOn());
    state.debugLog.logLine(QStringLiteral("--Begin LoadServer Main"));
    toggleDebugLog(state, prompter, platform);
    QVERIFY(!state.debugLog.isOn());
    state.debugLog.logLine(QStringLiteral("--after"));

    const QString when = platform.shortDateLongTime(platform.clock);
    QCOMPARE(readBytes(state.debugLog.path()),
             (QStringLiteral("Quorvane Debug Log Activated At ") + when + QStringLiteral("\r\n--Begin LoadServer Main\r\n") +
              QStringLiteral("Quorvane Debug Log Deactivated At ") + when + QStringLiteral("\r\n"))
                 .toLatin1());
}

void TstShellOperations::debugLogGrowsAcrossRuns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dns.log"));
    for (int run = 0; run < 2; ++run) {
        DebugLog log(path);
        QVERIFY(log.switchOn(QStringLiteral("now")));
        log.logLine(QStringLiteral("--line %1").arg(run));
        QVERIFY(log.switchOff(QStringLiteral("later")));
    }
    const QList<QByteArray> lines = readBytes(path).split('\n');
    QCOMPARE(lines.size(), 7); // six lines and the empty rest after the last line end
    QCOMPARE(lines.at(4), QByteArray("--line 1\r"));
}

void TstShellOperations::debugLogWriteFailureIsReported()
{
    QTemporaryDir dir;
    DebugLog log(dir.filePath(QStringLiteral("no/such/folder/dns.log")));
    QStringList errors;
    log.setErrorHandler([&errors](const QString& text) { errors << text; });
    QVERIFY(!log.switchOn(QStringLiteral("now")));
    QVERIFY(!log.isOn());
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains(QStringLiteral("dns.log")));
}

void TstShellOperations::cacheDownloadIsShownWhenPresent()
{
    QTemporaryDir dir;
    QVERIFY(!readCacheDownload(dir.path()));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("cache.tmp")), ".  3600000  IN  NS  A.ROOT-SERVERS.NET.\r\n"));
    QCOMPARE(*readCacheDownload(dir.path()), QStringLiteral(".  3600000  IN  NS  A.ROOT-SERVERS.NET.\n"));
}

QTEST_GUILESS_MAIN(TstShellOperations)
#include "tst_sessionstart.moc"
