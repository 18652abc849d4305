#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using Button = Prompter::Button;

class TstSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void emptyStoreGivesDefaults();
    void roundTripKeepsEveryValue();
    void awkwardTextsRoundTrip_data();
    void awkwardTextsRoundTrip();
    void deletedServerIsSkippedAndRenumbered();
    void damagedStoreLoadsWhatIsThere();
    void oldIdentifierAsksForDomainOnce();
    void oldFormatDropsServersWithMessage();
    void tldValueSplitsIntoUserEntries_data();
    void tldValueSplitsIntoUserEntries();
    void registrationSectionsAreRead();
    void nameListsAreFoundWhateverTheirCase();
    void unwritableStoreIsReported();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("Quorvane.conf")); }
    AppState load(ScriptedPrompter& prompter);

    std::unique_ptr<QTemporaryDir> m_dir;
    FakePlatform m_platform;
};

void TstSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform.dataPath = m_dir->filePath(QStringLiteral("data"));
}

AppState TstSettings::load(ScriptedPrompter& prompter)
{
    AppState state;
    SettingsStore store(iniPath());
    loadSettings(state, store, prompter, m_platform);
    return state;
}

void TstSettings::emptyStoreGivesDefaults()
{
    ScriptedPrompter prompter;
    const AppState state = load(prompter);
    QVERIFY(prompter.prompts().isEmpty());
    QVERIFY(state.catalog.rows().isEmpty());
    QVERIFY(state.autoBackup);
    QCOMPARE(state.version, QStringLiteral("1.50"));
    QCOMPARE(state.setup.runningSerial, QStringLiteral("2026120701"));
    QCOMPARE(state.tlds.entries().size(), 247);
    QVERIFY(state.emailaddr.isEmpty());
}

void TstSettings::roundTripKeepsEveryValue()
{
    AppState written;
    written.emailaddr = QStringLiteral("hostmaster@example.com");
    written.version = QStringLiteral("1.50");
    written.defaultsecondary = QStringLiteral("10.0.0.1");
    written.firsttime = QStringLiteral("no");
    written.autoBackup = false;
    written.mail = {QStringLiteral("reg@example.com"), QStringLiteral("Reg Desk"), QStringLiteral("smtp.example.com"),
                    QStringLiteral("hostmaster@registry.example")};
    written.tlds.load(QStringLiteral("local:lan"));
    written.domainDefaults = {false, false, true, true, false};
    for (int i = 0; i < 5; ++i) {
        written.setup.defaultns[i] = QStringLiteral("ns%1").arg(i);
        written.setup.defaultmail[i] = QStringLiteral("mail%1").arg(i);
        written.setup.defaulthost[i] = QStringLiteral("host%1").arg(i);
        written.setup.defaultalias[i] = QStringLiteral("alias%1").arg(i);
    }
    written.setup.defaultrefresh = QStringLiteral("1080");
    written.setup.defaultretry = QStringLiteral("3600");
    written.setup.defaultexpire = QStringLiteral("604800");
    written.setup.defaultminimum = QStringLiteral("86400");
    written.catalog.add({QStringLiteral("ns@ns.example.com."), QStringLiteral("/srv/My Servers/ns/named.boot")});
    written.catalog.add({QStringLiteral("ns1@ns1.example.org."), QStringLiteral("G:\\winnt\\named.boot")});
    written.zoneLists.reverseignore = {QStringLiteral("www.example.com."), QStringLiteral("ftp.example.com.")};
    {
        SettingsStore store(iniPath());
        QVERIFY(saveSettings(written, store));
    }

    ScriptedPrompter prompter;
    const AppState read = load(prompter);
    QVERIFY(prompter.prompts().isEmpty());
    QCOMPARE(read.emailaddr, written.emailaddr);
    QCOMPARE(read.version, QStringLiteral("1.50"));
    QCOMPARE(read.defaultsecondary, written.defaultsecondary);
    QCOMPARE(read.firsttime, written.firsttime);
    QCOMPARE(read.autoBackup, false);
    QCOMPARE(read.mail.senderAddress, written.mail.senderAddress);
    QCOMPARE(read.mail.senderName, written.mail.senderName);
    QCOMPARE(read.mail.smtpServer, written.mail.smtpServer);
    QCOMPARE(read.mail.registryAddress, written.mail.registryAddress);
    QCOMPARE(read.tlds.userEntries(), written.tlds.userEntries());
    QCOMPARE(read.domainDefaults.askBeforeEachHost, false);
    QCOMPARE(read.domainDefaults.askBeforeEachNameServer, false);
    QCOMPARE(read.domainDefaults.askBeforeEachMailServer, true);
    QCOMPARE(read.domainDefaults.askBeforeEachAliasTarget, false);
    QCOMPARE(read.setup.defaultns, written.setup.defaultns);
    QCOMPARE(read.setup.defaultmail, written.setup.defaultmail);
    QCOMPARE(read.setup.defaulthost, written.setup.defaulthost);
    QCOMPARE(read.setup.defaultalias, written.setup.defaultalias);
    QCOMPARE(read.setup.defaultrefresh, written.setup.defaultrefresh);
    QCOMPARE(read.setup.defaultminimum, written.setup.defaultminimum);
    // The serial is the running serial of the day, whatever was stored.
    QCOMPARE(read.setup.runningSerial, QStringLiteral("2026120701"));
    QCOMPARE(read.catalog.rows().size(), 2);
    QCOMPARE(read.catalog.rows().at(0).identifier, QStringLiteral("ns@ns.example.com."));
    QCOMPARE(read.catalog.rows().at(0).bootFilePath, QStringLiteral("/srv/My Servers/ns/named.boot"));
    QCOMPARE(read.catalog.rows().at(1).bootFilePath, QStringLiteral("G:\\winnt\\named.boot"));
    QCOMPARE(read.catalog.displayNames(), (QStringList{QStringLiteral("ns"), QStringLiteral("ns1")}));
    QCOMPARE(read.zoneLists.reverseignore, written.zoneLists.reverseignore);

    // The stored forms themselves.
    QSettings raw(iniPath(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Servers/Server 0")).toString(),
             QStringLiteral("ns@ns.example.com.     /srv/My Servers/ns/named.boot"));
    QCOMPARE(raw.value(QStringLiteral("Servers/Number of Servers")).toString(), QStringLiteral("2"));
    QCOMPARE(raw.value(QStringLiteral("Initialization/TLD")).toString(), QStringLiteral("local:lan"));
    QCOMPARE(raw.value(QStringLiteral("Initialization/AutoBackup")).toString(), QStringLiteral("false"));
    QCOMPARE(raw.value(QStringLiteral("Initialization/Version")).toString(), QStringLiteral("1.50"));
    QCOMPARE(raw.value(QStringLiteral("Reverse Mapping/Ignore 1")).toString(), QStringLiteral("ftp.example.com."));
}

void TstSettings::awkwardTextsRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << QStringLiteral("Doe, John");
    QTest::newRow("semicolon") << QStringLiteral("a;b");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\"");
    QTest::newRow("backslashes") << QStringLiteral("C:\\\\dns\\\\data");
    QTest::newRow("outer blanks") << QStringLiteral("  padded  ");
    QTest::newRow("equals and brackets") << QStringLiteral("[x]=y");
    QTest::newRow("latin-1") << QStringLiteral("Jos\u00e9 M\u00fcller");
}

void TstSettings::awkwardTextsRoundTrip()
{
    QFETCH(QString, text);
    AppState written;
    written.version = QStringLiteral("1.50");
    written.mail.senderName = text;
    {
        SettingsStore store(iniPath());
        QVERIFY(saveSettings(written, store));
    }
    ScriptedPrompter prompter;
    QCOMPARE(load(prompter).mail.senderName, text);
}

void TstSettings::deletedServerIsSkippedAndRenumbered()
{
    AppState state;
    state.version = QStringLiteral("1.50");
    state.catalog.add({QStringLiteral("a@a.example.com."), QStringLiteral("/a/named.boot")});
    state.catalog.add({QStringLiteral("b@b.example.com."), QStringLiteral("/b/named.boot")});
    state.catalog.add({QStringLiteral("c@c.example.com."), QStringLiteral("/c/named.boot")});
    {
        SettingsStore store(iniPath());
        QVERIFY(saveSettings(state, store));
        state.catalog.markDeleted(1);
        QCOMPARE(state.catalog.displayNames(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
        QVERIFY(saveSettings(state, store));
    }
    QSettings raw(iniPath(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("Servers/Number of Servers")).toString(), QStringLiteral("2"));
    QCOMPARE(raw.value(QStringLiteral("Servers/Server 0")).toString(), QStringLiteral("a@a.example.com.     /a/named.boot"));
    QCOMPARE(raw.value(QStringLiteral("Servers/Server 1")).toString(), QStringLiteral("c@c.example.com.     /c/named.boot"));
    // The entry above the count stays in the store, unread.
    QVERIFY(raw.contains(QStringLiteral("Servers/Server 2")));

    ScriptedPrompter prompter;
    const AppState read = load(prompter);
    QCOMPARE(read.catalog.displayNames(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}

void TstSettings::damagedStoreLoadsWhatIsThere()
{
    {
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Initialization/Version"), QStringLiteral("1.50"));
        raw.setValue(QStringLiteral("Servers/Number of Servers"), QStringLiteral("2000000000"));
        raw.setValue(QStringLiteral("Servers/Server 0"), QStringLiteral("a@a.example.com.     /a/named.boot"));
        raw.setValue(QStringLiteral("Servers/Server 7"), QStringLiteral("b@b.example.com.     /b/named.boot"));
        raw.setValue(QStringLiteral("Servers/Server x"), QStringLiteral("junk"));
        raw.setValue(QStringLiteral("Reverse Mapping/Number of Ignores"), QStringLiteral("twelve"));
        raw.setValue(QStringLiteral("Reverse Mapping/Ignore 0"), QStringLiteral("www.example.com."));
        raw.setValue(QStringLiteral("Initialization/NIC-Name"), QString(4 * 1024 * 1024, QLatin1Char('x')));
    }
    ScriptedPrompter prompter;
    QElapsedTimer timer;
    timer.start();
    const AppState state = load(prompter);
    QVERIFY2(timer.elapsed() < 5000, "a damaged count must not make loading walk two billion entries");
    QCOMPARE(state.catalog.displayNames(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    QVERIFY(state.zoneLists.reverseignore.isEmpty()); // a count that is no number reads as 0
    QCOMPARE(state.mail.senderName.size(), 4 * 1024 * 1024);
}

void TstSettings::oldIdentifierAsksForDomainOnce()
{
    {
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Initialization/Version"), QStringLiteral("1.50"));
        raw.setValue(QStringLiteral("Servers/Number of Servers"), QStringLiteral("1"));
        raw.setValue(QStringLiteral("Servers/Server 0"), QStringLiteral("ns1     C:\\winnt\\named.boot"));
    }
    ScriptedPrompter prompter;
    prompter.answerText(QStringLiteral("bad domain"))
        .expectMessage(QStringLiteral("Attention!"), QStringLiteral("You have entered an invalid server name."))
        .answerText(QString())
        .expectMessage(QStringLiteral("Attention!"), QStringLiteral("You have entered an invalid server name."))
        .answerText(QStringLiteral("example.com"));
    AppState state = load(prompter);
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(prompter.prompts().first().caption, QStringLiteral("Database Requirement Change"));
    QVERIFY(prompter.prompts().first().text.contains(QStringLiteral("Question : What is the domain name of server:")));
    QVERIFY(prompter.prompts().first().text.contains(QStringLiteral("ns1")));
    QVERIFY(prompter.prompts().first().text.contains(QStringLiteral("This dialog will only appear once for each server.")));
    QCOMPARE(state.catalog.rows().at(0).identifier, QStringLiteral("ns1@ns1.example.com"));
    QCOMPARE(state.catalog.rows().at(0).bootFilePath, QStringLiteral("C:\\winnt\\named.boot"));
    {
        SettingsStore store(iniPath());
        QVERIFY(saveSettings(state, store));
    }
    ScriptedPrompter second;
    QCOMPARE(load(second).catalog.rows().at(0).identifier, QStringLiteral("ns1@ns1.example.com"));
    QVERIFY(second.prompts().isEmpty());
}

void TstSettings::oldFormatDropsServersWithMessage()
{
    {
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Servers/Number of Servers"), QStringLiteral("1"));
        raw.setValue(QStringLiteral("Servers/Server 0"), QStringLiteral("ns@ns.example.com.     /ns/named.boot"));
        raw.setValue(QStringLiteral("Reverse Mapping/Number of Ignores"), QStringLiteral("1"));
        raw.setValue(QStringLiteral("Reverse Mapping/Ignore 0"), QStringLiteral("www.example.com."));
    }
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("Due to changes in Quorvane, you will need to re-import your servers via "
                                          "the ADD SERVER option. None of your server data has been modified, "
                                          "however, Quorvane will not be able to access your servers until you "
                                          "re-import them."));
    const AppState state = load(prompter);
    QCOMPARE(prompter.pending(), 0);
    QVERIFY(state.catalog.rows().isEmpty());
    QVERIFY(state.catalog.displayNames().isEmpty());
    QVERIFY(state.zoneLists.reverseignore.isEmpty());
    QCOMPARE(state.version, QStringLiteral("1.50"));
}

void TstSettings::tldValueSplitsIntoUserEntries_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << QString() << 0;
    QTest::newRow("one") << QStringLiteral("local") << 1;
    QTest::newRow("two") << QStringLiteral("local:lan") << 2;
    QTest::newRow("three") << QStringLiteral("a:b:c") << 3;
}

void TstSettings::tldValueSplitsIntoUserEntries()
{
    QFETCH(QString, stored);
    QFETCH(int, count);
    {
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("Initialization/TLD"), stored);
    }
    ScriptedPrompter prompter;
    const AppState state = load(prompter);
    QCOMPARE(state.tlds.userEntries().size(), count);
    QCOMPARE(state.tlds.entries().size(), 247 + count);
}

void TstSettings::registrationSectionsAreRead()
{
    {
        QSettings raw(iniPath(), QSettings::IniFormat);
        raw.setValue(QStringLiteral("DomainReg/OrgName"), QStringLiteral("Example Org"));
        raw.setValue(QStringLiteral("DomainReg/FourthNSIP"), QStringLiteral("10.0.0.4"));
        raw.setValue(QStringLiteral("HostReg/HCMail"), QStringLiteral("hc@example.com"));
        raw.setValue(QStringLiteral("ContactReg/Contactname"), QStringLiteral("Jane Doe"));
    }
    ScriptedPrompter prompter;
    const AppState state = load(prompter);
    QCOMPARE(state.registration.value(QStringLiteral("DomainReg"), QStringLiteral("OrgName")), QStringLiteral("Example Org"));
    QCOMPARE(state.registration.value(QStringLiteral("DomainReg"), QStringLiteral("FourthNSIP")), QStringLiteral("10.0.0.4"));
    QCOMPARE(state.registration.value(QStringLiteral("HostReg"), QStringLiteral("HCMail")), QStringLiteral("hc@example.com"));
    QCOMPARE(state.registration.value(QStringLiteral("ContactReg"), QStringLiteral("Contactname")), QStringLiteral("Jane Doe"));
    QCOMPARE(RegistrationDefaults::valueNames(QStringLiteral("DomainReg")).size(), 53);
    QCOMPARE(RegistrationDefaults::valueNames(QStringLiteral("HostReg")).size(), 14);
    QCOMPARE(RegistrationDefaults::valueNames(QStringLiteral("ContactReg")).size(), 16);
}

void TstSettings::nameListsAreFoundWhateverTheirCase()
{
    QDir().mkpath(m_platform.dataPath);
    QVERIFY(writeBytes(QDir(m_platform.dataPath).filePath(QStringLiteral("CONTACTS.CBX")), "Jane\r\nJohn\r\n"));
    QVERIFY(writeBytes(QDir(m_platform.dataPath).filePath(QStringLiteral("hosts.cbx")), "ns1.example.com"));
    ScriptedPrompter prompter;
    const AppState state = load(prompter);
    QCOMPARE(state.contactNames, (QStringList{QStringLiteral("Jane"), QStringLiteral("John")}));
    QCOMPARE(state.hostNames, QStringList{QStringLiteral("ns1.example.com")});
    QVERIFY(state.domainNames.isEmpty());
}

void TstSettings::unwritableStoreIsReported()
{
    // A folder where the settings file should be cannot be written as a file.
    const QString blocked = m_dir->filePath(QStringLiteral("blocked.conf"));
    QVERIFY(QDir().mkpath(blocked));
    AppState state;
    SettingsStore store(blocked);
    QString error;
    QVERIFY(!saveSettings(state, store, &error));
    QVERIFY(error.contains(QStringLiteral("blocked.conf")));
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
