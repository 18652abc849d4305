#include "platform/settingsstore.h"
#include "registration/profilefile.h"
#include "registration/registrationfields.h"
#include "registration/registrationfiles.h"
#include "registration/registrationkind.h"
#include "registration/registrationname.h"
#include "sampleregistrations.h"
#include "session/appstate.h"
#include "session/registrationdefaults.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

// Profiles, defaults, name lists and the names the registration files may take.
class TstRegistrationProfiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void profileFileLayout_data();
    void profileFileLayout();
    void domainProfileRoundTrip();
    void hostProfileRoundTrip();
    void contactProfileRoundTrip();
    void valuesComeBackWhole_data();
    void valuesComeBackWhole();
    void missingKeyEmptiesItsField();
    void radioLettersSelectTheirChoice();
    void handWrittenProfileIsRead();
    void missingFileAndMissingSection();
    void defaultsWriteTheirNamesInOrder();
    void defaultsReadWhatSettingsLoad_data();
    void defaultsReadWhatSettingsLoad();
    void savedDefaultsSurviveRestart();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void nameListFoundWithoutRegardToCase();
    void textLinesReadAnyLineEnd_data();
    void textLinesReadAnyLineEnd();
};

void TstRegistrationProfiles::profileFileLayout_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<FieldValues>("values");
    QTest::addColumn<QString>("expected");
    QTest::newRow("domain") << QStringLiteral("DomainReg") << domainProfile(sampleDomain())
                            << QStringLiteral("registration/profile_domain.ini");
    QTest::newRow("host") << QStringLiteral("HostReg") << hostProfile(sampleHost())
                          << QStringLiteral("registration/profile_host.ini");
    QTest::newRow("contact") << QStringLiteral("ContactReg") << contactProfile(sampleContactRegistration())
                             << QStringLiteral("registration/profile_contact.ini");
}

void TstRegistrationProfiles::profileFileLayout()
{
    QFETCH(QString, section);
    QFETCH(FieldValues, values);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("profile.ini"));
    QString error;
    QVERIFY2(writeProfile(path, section, values, &error), qPrintable(error));
    const QByteArray wanted = readBytes(testDataPath(expected));
    QVERIFY(!wanted.isEmpty());
    QCOMPARE(readBytes(path), wanted);
}

void TstRegistrationProfiles::domainProfileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("example.com.ini"));
    const DomainRegistration original = sampleDomain();
    QString error;
    QVERIFY(writeProfile(path, QStringLiteral("DomainReg"), domainProfile(original), &error));
    const std::optional<FieldValues> read = readProfile(path, QStringLiteral("DomainReg"));
    QVERIFY(read);
    DomainRegistration loaded;
    loaded.domainName = original.domainName;
    applyDomainProfile(loaded, *read);
    // The action is the form's own choice, never taken from a profile.
    QCOMPARE(loaded.action, RegistrationAction::New);
    loaded.action = original.action;
    QCOMPARE(domainProfile(loaded), domainProfile(original));
    QCOMPARE(loaded.purpose, original.purpose);
    QCOMPARE(loaded.invoice, QStringLiteral("P"));
    QCOMPARE(loaded.technical.phone, original.technical.phone);
    QCOMPARE(loaded.nameServers[3].address, QStringLiteral("203.0.113.4"));
}

void TstRegistrationProfiles::hostProfileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ns1.example.com.ini"));
    const HostRegistration original = sampleHost();
    QString error;
    QVERIFY(writeProfile(path, QStringLiteral("HostReg"), hostProfile(original), &error));
    HostRegistration loaded;
    applyHostProfile(loaded, readProfile(path, QStringLiteral("HostReg")).value());
    QCOMPARE(loaded.action, RegistrationAction::New);
    QCOMPARE(loaded.hostName, QString());
    loaded.action = original.action;
    loaded.hostName = original.hostName;
    QCOMPARE(hostProfile(loaded), hostProfile(original));
}

void TstRegistrationProfiles::contactProfileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Person.ini"));
    const ContactRegistration original = sampleContactRegistration();
    QString error;
    QVERIFY(writeProfile(path, QStringLiteral("ContactReg"), contactProfile(original), &error));
    ContactRegistration loaded;
    loaded.action = RegistrationAction::Modify;
    applyContactProfile(loaded, readProfile(path, QStringLiteral("ContactReg")).value());
    QCOMPARE(loaded.action, RegistrationAction::Modify);
    loaded.action = original.action;
    QCOMPARE(contactProfile(loaded), contactProfile(original));
    QCOMPARE(loaded.contact.name, original.contact.name);
    QCOMPARE(loaded.publicLetter, QStringLiteral("Y"));
}

void TstRegistrationProfiles::valuesComeBackWhole_data()
{
    QTest::addColumn<QString>("purpose");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two lines") << QStringLiteral("First\nSecond") << QStringLiteral("First\nSecond");
    QTest::newRow("crlf lines") << QStringLiteral("First\r\nSecond\r\nThird") << QStringLiteral("First\nSecond\nThird");
    QTest::newRow("blank line inside") << QStringLiteral("First\n\nThird") << QStringLiteral("First\n\nThird");
    QTest::newRow("final line break") << QStringLiteral("Only\n") << QStringLiteral("Only\n");
    QTest::newRow("backslash n as text") << QStringLiteral("C:\\new\\files") << QStringLiteral("C:\\new\\files");
    QTest::newRow("equals and brackets") << QStringLiteral("a=b\n[DomainReg]\nc=d")
                                         << QStringLiteral("a=b\n[DomainReg]\nc=d");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  padded  ") << QStringLiteral("  padded  ");
    QTest::newRow("latin-1") << QStringLiteral("Gr\u00fc\u00dfe aus Z\u00fcrich")
                             << QStringLiteral("Gr\u00fc\u00dfe aus Z\u00fcrich");
    QTest::newRow("longer than 1023") << QString(3000, QLatin1Char('x')) << QString(3000, QLatin1Char('x'));
}

void TstRegistrationProfiles::valuesComeBackWhole()
{
    QFETCH(QString, purpose);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.ini"));
    DomainRegistration record;
    record.purpose = purpose;
    record.admin.name = QStringLiteral("after the purpose");
    QString error;
    QVERIFY(writeProfile(path, QStringLiteral("DomainReg"), domainProfile(record), &error));
    // One line per key, whatever the values hold.
    QCOMPARE(readTextLines(path)->size(), domainProfile(record).size() + 1);
    DomainRegistration loaded;
    applyDomainProfile(loaded, readProfile(path, QStringLiteral("DomainReg")).value());
    QCOMPARE(loaded.purpose, expected);
    QCOMPARE(loaded.admin.name, QStringLiteral("after the purpose"));
}

void TstRegistrationProfiles::missingKeyEmptiesItsField()
{
    DomainRegistration record = sampleDomain();
    FieldValues profile = domainProfile(record);
    profile.removeIf([](const auto& pair) {
        return pair.first == QLatin1String("AMailEdit") || pair.first == QLatin1String("Invoice");
    });
    DomainRegistration loaded = sampleDomain();
    loaded.invoice = QStringLiteral("E");
    applyDomainProfile(loaded, profile);
    QCOMPARE(loaded.admin.mail, QString());
    QCOMPARE(loaded.technical.mail, record.technical.mail);
    // A radio choice keeps what it had when the profile names none.
    QCOMPARE(loaded.invoice, QStringLiteral("E"));

    applyDomainProfile(loaded, FieldValues());
    QCOMPARE(loaded.purpose, QString());
    QCOMPARE(loaded.organization.name, QString());
    QCOMPARE(loaded.nameServers[0].host, QString());
}

void TstRegistrationProfiles::radioLettersSelectTheirChoice()
{
    ContactRegistration contact;
    contact.publicLetter = QStringLiteral("Y");
    applyContactProfile(contact, {{QStringLiteral("Public"), QStringLiteral("N")}});
    QCOMPARE(contact.publicLetter, QStringLiteral("N"));
    applyContactProfile(contact, {{QStringLiteral("Public"), QStringLiteral("Y")}});
    QCOMPARE(contact.publicLetter, QStringLiteral("Y"));
    applyContactProfile(contact, {{QStringLiteral("Public"), QStringLiteral("maybe")}});
    QCOMPARE(contact.publicLetter, QStringLiteral("Y"));

    DomainRegistration domain;
    applyDomainProfile(domain, {{QStringLiteral("Invoice"), QStringLiteral("P")}});
    QCOMPARE(domain.invoice, QStringLiteral("P"));
    applyDomainProfile(domain, {{QStringLiteral("Invoice"), QStringLiteral("E")}});
    QCOMPARE(domain.invoice, QStringLiteral("E"));
}

void TstRegistrationProfiles::handWrittenProfileIsRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.ini"));
    // LF line ends, no final line end, another section first, keys in other case, a comment, a raw
    // continuation line of an old multi-line purpose, and a path with backslashes.
    QVERIFY(writeBytes(path, "[Other]\nHCName=wrong\n[hostreg]\n; a comment\nhcname=Right Name\n"
                             "HostAuthInfo=C:\\temp\\keys\nnot a key line\nHCName=second copy\n"
                             "HostAuthScheme=CRYPT-PW\nHCCity=Z\xfcrich"));
    const std::optional<FieldValues> profile = readProfile(path, QStringLiteral("HostReg"));
    QVERIFY(profile);
    HostRegistration host;
    applyHostProfile(host, *profile);
    QCOMPARE(host.contact.name, QStringLiteral("Right Name"));
    QCOMPARE(host.authInfo, QStringLiteral("C:\\temp\\keys"));
    QCOMPARE(host.authScheme, QStringLiteral("CRYPT-PW"));
    QCOMPARE(host.contact.city, QStringLiteral("Z\u00fcrich"));
}

void TstRegistrationProfiles::missingFileAndMissingSection()
{
    QTemporaryDir dir;
    QVERIFY(!readProfile(dir.filePath(QStringLiteral("none.ini")), QStringLiteral("DomainReg")));
    const QString path = dir.filePath(QStringLiteral("other.ini"));
    QVERIFY(writeBytes(path, "[HostReg]\r\nHCName=x\r\n"));
    const std::optional<FieldValues> profile = readProfile(path, QStringLiteral("DomainReg"));
    QVERIFY(profile);
    QVERIFY(profile->isEmpty());
}

void TstRegistrationProfiles::defaultsWriteTheirNamesInOrder()
{
    QStringList domainNames;
    for (const auto& pair : domainDefaults(sampleDomain()))
        domainNames << pair.first;
    QCOMPARE(domainNames.join(QLatin1Char(' ')),
             QStringLiteral("Name AuthInfo AuthScheme Purpose OrgName OAddr OCity OState OZip OCountry AHandle ARole "
                            "AName AAOrg AAddr ACity AState AZip ACountry APhone AFax AMail THandle TRole TName TAOrg "
                            "TAddr TCity TState TZip TCountry TPhone TFax TMail BHandle BRole BName BOrg BAddr BCity "
                            "BState BZip BCountry BPhone BFax BMail PriNS PriNSIP SecNS SecNSIP ThirdNS ThirdNSIP "
                            "FourthNS FourthNSIP"));
    QStringList hostNames;
    for (const auto& pair : hostDefaults(sampleHost()))
        hostNames << pair.first;
    QCOMPARE(hostNames.join(QLatin1Char(' ')),
             QStringLiteral("HostAuthScheme AuthInfo HostHandle HostName HostIPAddress HCNicHandle HCRole HCName "
                            "HCOrg HCAddr HCCity HCState HCZip HCCountry HCPhone HCFax HCMail"));
    QStringList contactNames;
    for (const auto& pair : contactDefaults(sampleContactRegistration()))
        contactNames << pair.first;
    QCOMPARE(contactNames.join(QLatin1Char(' ')),
             QStringLiteral("ContactNotifyUpdates ContactNotifyUse ContactAuthorizationType ContactAuthorizationInfo "
                            "ContactAuthenticationType ContactAuthenticationInfo ContactNicHandle ContactRole "
                            "Contactname ContactOrgName ContactAddr ContactCity ContactState ContactZip ContactCountry "
                            "ContactPhone ContactFax ContactMail"));
    const FieldValues domain = domainDefaults(sampleDomain());
    QCOMPARE(domain.at(0).second, QStringLiteral("example.com"));
    QCOMPARE(domain.at(13).second, QStringLiteral("Admin Org"));
    QCOMPARE(domain.at(31).second, QStringLiteral("Tech +41 1 234 56 78"));
}

void TstRegistrationProfiles::defaultsReadWhatSettingsLoad_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("notRead");
    QTest::newRow("domain") << QStringLiteral("DomainReg") << QStringList{QStringLiteral("Name")};
    QTest::newRow("host") << QStringLiteral("HostReg")
                          << QStringList{QStringLiteral("HostHandle"), QStringLiteral("HostName"),
                                         QStringLiteral("HostIPAddress")};
    QTest::newRow("contact") << QStringLiteral("ContactReg")
                             << QStringList{QStringLiteral("ContactNicHandle"), QStringLiteral("ContactRole")};
}

// Every value the settings load at start-up lands in a field, and the values not read there stay untouched.
void TstRegistrationProfiles::defaultsReadWhatSettingsLoad()
{
    QFETCH(QString, section);
    QFETCH(QStringList, notRead);
    QHash<QString, QString> values;
    FieldValues written;
    if (section == QLatin1String("DomainReg"))
        written = domainDefaults(sampleDomain());
    else if (section == QLatin1String("HostReg"))
        written = hostDefaults(sampleHost());
    else
        written = contactDefaults(sampleContactRegistration());
    QStringList readNames;
    for (const auto& [name, value] : written) {
        values.insert(name, QStringLiteral("stored ") + name);
        if (!notRead.contains(name))
            readNames << name;
    }
    QStringList loaded = RegistrationDefaults::valueNames(section);
    std::sort(readNames.begin(), readNames.end());
    std::sort(loaded.begin(), loaded.end());
    QCOMPARE(readNames, loaded);

    FieldValues after;
    if (section == QLatin1String("DomainReg")) {
        DomainRegistration record = sampleDomain();
        applyDomainDefaults(record, values);
        after = domainDefaults(record);
    } else if (section == QLatin1String("HostReg")) {
        HostRegistration record = sampleHost();
        applyHostDefaults(record, values);
        after = hostDefaults(record);
    } else {
        ContactRegistration record = sampleContactRegistration();
        applyContactDefaults(record, values);
        after = contactDefaults(record);
    }
    for (int i = 0; i < after.size(); ++i) {
        const QString& name = after.at(i).first;
        QCOMPARE(after.at(i).second, notRead.contains(name) ? written.at(i).second : QStringLiteral("stored ") + name);
    }
}

void TstRegistrationProfiles::savedDefaultsSurviveRestart()
{
    QTemporaryDir dir;
    const QString iniFile = dir.filePath(QStringLiteral("Quorvane.conf"));
    {
        SettingsStore store(iniFile);
        for (const auto& [name, value] : domainDefaults(sampleDomain()))
            store.setText(QStringLiteral("DomainReg"), name, value);
        QVERIFY(store.sync());
    }
    SettingsStore store(iniFile);
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    loadSettings(state, store, prompter, platform);
    DomainRegistration record;
    applyDomainDefaults(record, state.registration.values.value(QStringLiteral("DomainReg")));
    QCOMPARE(record.technical.phone, QStringLiteral("Tech +41 1 234 56 78"));
    QCOMPARE(record.purpose, sampleDomain().purpose);
    QCOMPARE(record.billing.organization, QStringLiteral("Billing Org"));
    QCOMPARE(record.domainName, QString());
}

void TstRegistrationProfiles::unsafeNamesAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("plain domain") << QStringLiteral("example.com") << QString();
    QTest::newRow("person with blank") << QStringLiteral("John Smith") << QString();
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QString();
    QTest::newRow("latin-1 letters") << QStringLiteral("M\u00fcller AG") << QString();
    QTest::newRow("leading dot") << QStringLiteral(".example") << QString();
    QTest::newRow("slash") << QStringLiteral("a/b") << QStringLiteral("a path separator (\"/\" or \"\\\")");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << QStringLiteral("a path separator (\"/\" or \"\\\")");
    QTest::newRow("parent") << QStringLiteral("..") << QStringLiteral("\"..\"");
    QTest::newRow("dots inside") << QStringLiteral("a..b") << QStringLiteral("\"..\"");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a control character");
    QTest::newRow("line break") << QStringLiteral("a\nb") << QStringLiteral("a control character");
    QTest::newRow("nul") << QString(QStringLiteral("a") + QChar(0)) << QStringLiteral("a control character");
    QTest::newRow("delete") << QStringLiteral("a\u007f") << QStringLiteral("a control character");
    QTest::newRow("c1 control") << QStringLiteral("a\u0085") << QStringLiteral("a control character");
    for (const char c : QByteArray("<>:\"|?*")) {
        QTest::newRow(qPrintable(QStringLiteral("refused %1").arg(QLatin1Char(c))))
            << QStringLiteral("a%1b").arg(QLatin1Char(c))
            << QStringLiteral("the character \"%1\", which file names may not hold").arg(QLatin1Char(c));
    }
    QTest::newRow("beyond latin-1") << QStringLiteral("a\u0100")
                                    << QStringLiteral("the character \"\u0100\", which the name lists cannot store");
    QTest::newRow("too long") << QString(252, QLatin1Char('x'))
                              << QStringLiteral("more characters than a file name can take");
    QTest::newRow("longest") << QString(251, QLatin1Char('x')) << QString();
}

void TstRegistrationProfiles::unsafeNamesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QCOMPARE(unsafeNameReason(name).value_or(QString()), reason);
}

void TstRegistrationProfiles::nameListFoundWithoutRegardToCase()
{
    QTemporaryDir dir;
    QCOMPARE(nameListPath(dir.path(), QStringLiteral("Contacts.cbx")), dir.filePath(QStringLiteral("Contacts.cbx")));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("CONTACTS.CBX")), "x\r\n"));
    QCOMPARE(nameListPath(dir.path(), QStringLiteral("Contacts.cbx")), dir.filePath(QStringLiteral("CONTACTS.CBX")));
    QCOMPARE(kindInfo(RegistrationKind::Contact).listFile, QStringLiteral("Contacts.cbx"));
    QCOMPARE(kindInfo(RegistrationKind::Domain).listFile, QStringLiteral("domains.cbx"));
    QCOMPARE(kindInfo(RegistrationKind::Host).listFile, QStringLiteral("hosts.cbx"));
}

void TstRegistrationProfiles::textLinesReadAnyLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    const QStringList two = {QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("crlf") << QByteArray("one\r\ntwo\r\n") << two;
    QTest::newRow("lf") << QByteArray("one\ntwo\n") << two;
    QTest::newRow("no final line end") << QByteArray("one\r\ntwo") << two;
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("blank line kept") << QByteArray("one\r\n\r\ntwo\r\n")
                                     << QStringList{QStringLiteral("one"), QString(), QStringLiteral("two")};
    QTest::newRow("latin-1") << QByteArray("Z\xfcrich\r\n") << QStringList{QStringLiteral("Z\u00fcrich")};
}

void TstRegistrationProfiles::textLinesReadAnyLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.txt"));
    QVERIFY(writeBytes(path, bytes));
    QCOMPARE(readTextLines(path).value(), lines);
}

QTEST_GUILESS_MAIN(TstRegistrationProfiles)
#include "tst_registrationprofiles.moc"
