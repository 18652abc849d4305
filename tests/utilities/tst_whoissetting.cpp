#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TstWhoisSetting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedServerIsRead_data();
    void storedServerIsRead();
    void savedUnderInitialization();
};

void TstWhoisSetting::storedServerIsRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("server");
    QTest::newRow("missing gives the default")
        << QByteArray("[Initialization]\nVersion=1.50\n") << QStringLiteral("whois.iana.org");
    QTest::newRow("empty gives the default")
        << QByteArray("[Initialization]\nWHOIS%20Server=\n") << QStringLiteral("whois.iana.org");
    QTest::newRow("stored") << QByteArray("[Initialization]\nWHOIS%20Server=whois.example.test\n")
                            << QStringLiteral("whois.example.test");
}

void TstWhoisSetting::storedServerIsRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, server);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quorvane.conf"));
    QVERIFY(writeBytes(file, ini));
    SettingsStore store(file);
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    loadSettings(state, store, prompter, platform);
    QCOMPARE(state.whoisserver, server);
}

void TstWhoisSetting::savedUnderInitialization()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Quorvane.conf"));
    AppState state;
    state.whoisserver = QStringLiteral("whois.example.test");
    {
        SettingsStore store(file);
        QVERIFY(saveSettings(state, store));
    }
    SettingsStore reread(file);
    QCOMPARE(reread.text(QStringLiteral("Initialization"), QStringLiteral("WHOIS Server")),
             QStringLiteral("whois.example.test"));
}

QTEST_GUILESS_MAIN(TstWhoisSetting)
#include "tst_whoissetting.moc"
