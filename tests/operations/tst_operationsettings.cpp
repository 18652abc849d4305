#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The control program and the root hints server are settings of the "Initialization" section.
class TstOperationSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWhenNothingIsStored_data();
    void defaultsWhenNothingIsStored();
    void savedValuesComeBack();
    void damagedPortFallsBackToTheDefault_data();
    void damagedPortFallsBackToTheDefault();
};

void TstOperationSettings::defaultsWhenNothingIsStored_data()
{
    QTest::addColumn<bool>("ndcOnPath");
    QTest::addColumn<QString>("program");
    // An "ndc" on the search path is used as before; without one, Quorvane's own control program for BIND 9.
    QTest::newRow("ndc on the search path") << true << "ndc";
    QTest::newRow("no ndc") << false << "quorvane-ndc";
}

void TstOperationSettings::defaultsWhenNothingIsStored()
{
    QFETCH(bool, ndcOnPath);
    QFETCH(QString, program);
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    if (ndcOnPath) {
        QFile ndc(bin + QStringLiteral("/ndc"));
        QVERIFY(ndc.open(QIODevice::WriteOnly));
        ndc.write("#!/bin/sh\n");
        ndc.close();
        QVERIFY(ndc.setPermissions(ndc.permissions() | QFile::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    ScriptedPrompter prompter;
    AppState state;
    loadSettings(state, store, prompter, platform);
    qputenv("PATH", path);
    QCOMPARE(state.ndcProgram, program);
    QCOMPARE(state.ftpHost, QStringLiteral("192.0.32.9"));
    QCOMPARE(state.ftpPort, 21);
    QCOMPARE(state.runState, RunState::Unknown);
}

void TstOperationSettings::savedValuesComeBack()
{
    QTemporaryDir dir;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    ScriptedPrompter prompter;
    {
        SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
        AppState state;
        state.ndcProgram = QStringLiteral("/opt/named/bin/ndc");
        state.ftpHost = QStringLiteral("127.0.0.1");
        state.ftpPort = 2121;
        QVERIFY(saveSettings(state, store));
    }
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    QCOMPARE(store.text(QStringLiteral("Initialization"), QStringLiteral("Control Program")),
             QStringLiteral("/opt/named/bin/ndc"));
    QCOMPARE(store.text(QStringLiteral("Initialization"), QStringLiteral("Root Cache FTP Server")),
             QStringLiteral("127.0.0.1"));
    QCOMPARE(store.text(QStringLiteral("Initialization"), QStringLiteral("Root Cache FTP Port")),
             QStringLiteral("2121"));
    AppState state;
    loadSettings(state, store, prompter, platform);
    QCOMPARE(state.ndcProgram, QStringLiteral("/opt/named/bin/ndc"));
    QCOMPARE(state.ftpHost, QStringLiteral("127.0.0.1"));
    QCOMPARE(state.ftpPort, 2121);
}

void TstOperationSettings::damagedPortFallsBackToTheDefault_data()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("not a number") << "twenty-one";
    QTest::newRow("zero") << "0";
    QTest::newRow("too large") << "70000";
}

void TstOperationSettings::damagedPortFallsBackToTheDefault()
{
    QFETCH(QString, stored);
    QTemporaryDir dir;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    store.setText(QStringLiteral("Initialization"), QStringLiteral("Root Cache FTP Port"), stored);
    ScriptedPrompter prompter;
    AppState state;
    loadSettings(state, store, prompter, platform);
    QCOMPARE(state.ftpPort, 21);
}

QTEST_GUILESS_MAIN(TstOperationSettings)
#include "tst_operationsettings.moc"
