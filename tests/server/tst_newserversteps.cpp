// The new server wizard without its window: the checks of its three pages in their order, the folders it
// creates, the identifier it forms, and "Finish" through the stage window to a loaded server.

#include "editors/primarywizard.h"
#include "sandbox.h"
#include "server/newserversteps.h"
#include "session/settings.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

const QString kError = QStringLiteral("Error.");

// Page 1 filled in and accepted, page 2 pointed at `win`, page 3 at its defaults.
NewServerFields readyFields(Sandbox& box, const QString& win = QStringLiteral("win"))
{
    NewServerFields fields = initialWizardFields(box.state);
    fields.name = QStringLiteral("ns1.");
    fields.firstzone = QStringLiteral("example.com");
    QDir().mkpath(box.path(win));
    if (!checkServerPage(fields, box.state.catalog, box.prompter))
        return fields;
    chooseWindowsDirectory(fields, box.path(win), box.prompter);
    return fields;
}

QStringList storedServers(const SettingsStore& store)
{
    QStringList servers;
    const int count = store.integer(QStringLiteral("Servers"), QStringLiteral("Number of Servers"));
    for (int i = 0; i < count; ++i)
        servers << store.text(QStringLiteral("Servers"), QStringLiteral("Server ") + QString::number(i));
    return servers;
}

} // namespace

class TstNewServerSteps : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initialValues();
    void typedWindowsDirectory_data();
    void typedWindowsDirectory();
    void identifierRules_data();
    void identifierRules();
    void serverPageRefusals_data();
    void serverPageRefusals();
    void sameComputerNameIsRefused_data();
    void sameComputerNameIsRefused();
    void browsingForAComputer();
    void choosingTheWindowsDirectoryCreatesTheFoldersAtOnce();
    void choosingAMissingFolder();
    void directoryPageRefusals();
    void typedPathOfNt3Machines();
    void confirmationNoStaysOnThePage();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void soaPageRefusals_data();
    void soaPageRefusals();
    void mailboxTakesDotsForAt_data();
    void mailboxTakesDotsForAt();
    void finishCreatesAndLoadsTheServer();
    void finishOnANetworkedDrive();
    void pageThreeValuesBecomeTheDefaults_data();
    void pageThreeValuesBecomeTheDefaults();
    void finishThatCannotWriteTheBootFile();
    void cancelledWizardLeavesNoCatalogEntry();
    void clearingForgetsWhatWasTyped();
};

void TstNewServerSteps::initialValues()
{
    Sandbox box;
    box.state.defaultos = QStringLiteral("Windows NT 3.X with Shell");
    const NewServerFields fields = initialWizardFields(box.state);
    QCOMPARE(fields.defaultos, QStringLiteral("Windows NT 3.X with Shell"));
    QCOMPARE(fields.serial, QStringLiteral("2026120701"));
    QCOMPARE(fields.refresh, QStringLiteral("1080"));
    QCOMPARE(fields.retry, QStringLiteral("3600"));
    QCOMPARE(fields.expire, QStringLiteral("604800"));
    QCOMPARE(fields.minimum, QStringLiteral("86400"));
    QCOMPARE(fields.emailaddr, QStringLiteral("hostmaster@example.com"));
    QCOMPARE(fields.filename, QStringLiteral("named.boot"));
    QVERIFY(!fields.secondary);
    QVERIFY(fields.name.isEmpty() && fields.firstzone.isEmpty() && fields.dirlabel.isEmpty() &&
            fields.dfiles.isEmpty());

    box.state.defaultos = QStringLiteral("Default Operating System");
    QCOMPARE(initialWizardFields(box.state).defaultos, QString());
}

void TstNewServerSteps::typedWindowsDirectory_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("defaultos");
    QTest::addColumn<bool>("typed");
    QTest::newRow("NT 3.X") << QStringLiteral("Linux") << QStringLiteral("Windows NT 3.X") << true;
    QTest::newRow("NT 3.X with Shell") << QStringLiteral("Linux") << QStringLiteral("Windows NT 3.X with Shell")
                                       << false;
    QTest::newRow("NT 4.X") << QStringLiteral("Linux") << QStringLiteral("Windows NT 4.X") << false;
    QTest::newRow("Windows 95 platform") << QStringLiteral("Windows 95") << QStringLiteral("Windows NT 3.X") << false;
}

void TstNewServerSteps::typedWindowsDirectory()
{
    QFETCH(QString, platform);
    QFETCH(QString, defaultos);
    QFETCH(bool, typed);
    Sandbox box;
    box.platform.name = platform;
    box.state.defaultos = defaultos;
    QCOMPARE(typesWindowsDirectory(box.state, box.platform), typed);
}

void TstNewServerSteps::identifierRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("expectedName");
    QTest::addColumn<QString>("expectedZone");
    QTest::newRow("trailing point on the name") << QStringLiteral("ns1.") << QStringLiteral("example.com")
                                                << QStringLiteral("ns1") << QStringLiteral("ns1.example.com.");
    QTest::newRow("domain with its point") << QStringLiteral("ns1") << QStringLiteral("example.com.")
                                           << QStringLiteral("ns1") << QStringLiteral("ns1.example.com.");
    QTest::newRow("domain begins with the name") << QStringLiteral("ns1") << QStringLiteral("ns1.example.com")
                                                 << QStringLiteral("ns1") << QStringLiteral("ns1.example.com.");
    QTest::newRow("in other letters") << QStringLiteral("ns1") << QStringLiteral("NS1.Example.com.")
                                      << QStringLiteral("ns1") << QStringLiteral("NS1.Example.com.");
    QTest::newRow("name only as a prefix of a label") << QStringLiteral("ns1") << QStringLiteral("ns1example.com")
                                                      << QStringLiteral("ns1") << QStringLiteral("ns1.ns1example.com.");
    QTest::newRow("name later in the domain") << QStringLiteral("mail") << QStringLiteral("ns1.mail.org")
                                              << QStringLiteral("mail") << QStringLiteral("mail.ns1.mail.org.");
}

void TstNewServerSteps::identifierRules()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QString, expectedName);
    QFETCH(QString, expectedZone);
    Sandbox box;
    NewServerFields fields = initialWizardFields(box.state);
    fields.name = name;
    fields.firstzone = domain;
    QVERIFY(checkServerPage(fields, box.state.catalog, box.prompter));
    QCOMPARE(fields.name, expectedName);
    QCOMPARE(fields.firstzone, expectedZone);
    QCOMPARE(box.prompter.prompts().size(), 0);
}

void TstNewServerSteps::serverPageRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("filename");
    QTest::addColumn<QString>("message");
    const QString nameError = QStringLiteral("Name of Server Input Error. Re-Enter.");
    const QString fileError = QStringLiteral("File Name of Server Input Error. Re-Enter.");
    const QString zoneError = QStringLiteral("First Zone Input Error. Re-Enter.");
    const QString boot = QStringLiteral("named.boot");
    QTest::newRow("empty name") << QString() << QStringLiteral("example.com") << boot << nameError;
    QTest::newRow("blank name") << QStringLiteral(" ") << QStringLiteral("example.com") << boot << nameError;
    QTest::newRow("bad character in the name")
        << QStringLiteral("ns#1") << QStringLiteral("example.com") << boot << nameError;
    QTest::newRow("a point alone") << QStringLiteral(".") << QStringLiteral("example.com") << boot << nameError;
    QTest::newRow("name before domain") << QStringLiteral("ns 1") << QString() << boot << nameError;
    QTest::newRow("empty file name") << QStringLiteral("ns1") << QStringLiteral("example.com") << QString()
                                     << fileError;
    QTest::newRow("bad file name") << QStringLiteral("ns1") << QStringLiteral("example.com")
                                   << QStringLiteral("named:boot") << fileError;
    QTest::newRow("empty domain") << QStringLiteral("ns1") << QString() << boot << zoneError;
    QTest::newRow("blank domain") << QStringLiteral("ns1") << QStringLiteral(" ") << boot << zoneError;
    QTest::newRow("bad domain") << QStringLiteral("ns1") << QStringLiteral("exa/mple.com") << boot << zoneError;
    QTest::newRow("the root alone") << QStringLiteral("ns1") << QStringLiteral(".") << boot << zoneError;
}

void TstNewServerSteps::serverPageRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QString, filename);
    QFETCH(QString, message);
    Sandbox box;
    NewServerFields fields = initialWizardFields(box.state);
    fields.name = name;
    fields.firstzone = domain;
    fields.filename = filename;
    box.prompter.expectMessage(kError, message);
    QVERIFY(!checkServerPage(fields, box.state.catalog, box.prompter));
    // The page keeps what was typed; no point is left appended to the domain.
    QCOMPARE(fields.name, name);
    QCOMPARE(fields.firstzone, domain);
    QCOMPARE(box.prompter.pending(), 0);
}

void TstNewServerSteps::sameComputerNameIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("as typed") << QStringLiteral("ns1");
    QTest::newRow("with a trailing point") << QStringLiteral("ns1.");
}

void TstNewServerSteps::sameComputerNameIsRefused()
{
    QFETCH(QString, name);
    Sandbox box;
    box.state.catalog.add({QStringLiteral("ns1@ns1.example.org."), box.path(QStringLiteral("old/named.boot"))});
    NewServerFields fields = initialWizardFields(box.state);
    fields.name = name;
    fields.firstzone = QStringLiteral("example.com");
    box.prompter.expectMessage(kError, QStringLiteral("Server Name Already Exists."));
    QVERIFY(!checkServerPage(fields, box.state.catalog, box.prompter));

    // "ns" is not "ns1".
    fields.name = QStringLiteral("ns");
    QVERIFY(checkServerPage(fields, box.state.catalog, box.prompter));
}

void TstNewServerSteps::browsingForAComputer()
{
    Sandbox box;
    NewServerFields fields;
    box.prompter.answerText(QStringLiteral(" dnshost "));
    browseForComputer(fields, box.prompter);
    QCOMPARE(fields.name, QStringLiteral("dnshost"));
    QCOMPARE(box.prompter.prompts().first().caption, QStringLiteral("Choose a Server"));
    box.prompter.answerText(std::nullopt);
    browseForComputer(fields, box.prompter);
    QCOMPARE(fields.name, QStringLiteral("dnshost"));
}

void TstNewServerSteps::choosingTheWindowsDirectoryCreatesTheFoldersAtOnce()
{
    Sandbox box;
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("win/quorvane"))));
    box.file(QStringLiteral("win/quorvane/keep.txt"), "kept\r\n");
    NewServerFields fields;
    chooseWindowsDirectory(fields, box.path(QStringLiteral("win/")), box.prompter);
    QCOMPARE(fields.dirlabel, box.path(QStringLiteral("win")));
    QCOMPARE(fields.dfiles, box.path(QStringLiteral("win/quorvane/zones")));
    QVERIFY(QFileInfo(box.path(QStringLiteral("win/quorvane/zones"))).isDir());
    QCOMPARE(box.bytes(QStringLiteral("win/quorvane/keep.txt")), QByteArray("kept\r\n"));
    QCOMPARE(box.prompter.prompts().size(), 0);
}

void TstNewServerSteps::choosingAMissingFolder()
{
    Sandbox box;
    NewServerFields fields;
    chooseWindowsDirectory(fields, box.path(QStringLiteral("nowhere")), box.prompter);
    QCOMPARE(fields.dirlabel, QStringLiteral("Not Selected"));
    QVERIFY(fields.dfiles.isEmpty());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("nowhere"))));

    // A folder that cannot take the program's folders is no choice either.
    box.file(QStringLiteral("ro/quorvane"), "a file where the folder would go");
    box.prompter.expectMessage(
        QStringLiteral("Error"),
        QStringLiteral("The folder %1 could not be created.").arg(box.path(QStringLiteral("ro/quorvane/zones"))));
    chooseWindowsDirectory(fields, box.path(QStringLiteral("ro")), box.prompter);
    QCOMPARE(fields.dirlabel, QStringLiteral("Not Selected"));
}

void TstNewServerSteps::directoryPageRefusals()
{
    Sandbox box;
    const QString mustSelect = QStringLiteral("You must select a Windows Directory.");
    NewServerFields fields;
    box.prompter.expectMessage(QStringLiteral("Re-Enter."), mustSelect);
    QVERIFY(!checkDirectoryPage(fields, false, true, box.prompter));

    chooseWindowsDirectory(fields, box.path(QStringLiteral("nowhere")), box.prompter);
    fields.dfiles = box.path(QStringLiteral("earlier/quorvane/zones"));
    box.prompter.expectMessage(QStringLiteral("Re-Enter."), mustSelect);
    QVERIFY(!checkDirectoryPage(fields, false, true, box.prompter));
    QCOMPARE(box.prompter.pending(), 0);
}

void TstNewServerSteps::typedPathOfNt3Machines()
{
    Sandbox box;
    NewServerFields fields;
    fields.windowsdir = box.path(QStringLiteral("winnt"));
    box.prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("This directory does not exist."));
    QVERIFY(!checkDirectoryPage(fields, true, true, box.prompter));
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("winnt"))));

    QVERIFY(QDir().mkpath(box.path(QStringLiteral("winnt"))));
    box.prompter.expectMessage(QStringLiteral("Question!"),
                               QStringLiteral("Please press YES to confirm that ") + box.path(QStringLiteral("winnt")) +
                                   QStringLiteral(" is your Windows directory. Otherwise, press NO to re-enter."),
                               Prompter::Button::Yes);
    QVERIFY(checkDirectoryPage(fields, true, true, box.prompter));
    QCOMPARE(fields.dirlabel, box.path(QStringLiteral("winnt")));
    QCOMPARE(fields.dfiles, box.path(QStringLiteral("winnt/quorvane/zones")));
    QVERIFY(QFileInfo(fields.dfiles).isDir());
}

void TstNewServerSteps::confirmationNoStaysOnThePage()
{
    Sandbox box;
    NewServerFields fields = readyFields(box);
    box.prompter.expectMessage(QStringLiteral("Question!"),
                               QStringLiteral("Please press YES to confirm that ") + box.path(QStringLiteral("win")) +
                                   QStringLiteral(" is your Windows directory. Otherwise, press NO to re-enter."),
                               Prompter::Button::No);
    QVERIFY(!checkDirectoryPage(fields, false, true, box.prompter));
    // Named on the command line, the directory needs no confirmation.
    QVERIFY(checkDirectoryPage(fields, false, false, box.prompter));
    QCOMPARE(box.prompter.pending(), 0);
}

void TstNewServerSteps::overwriteQuestion_data()
{
    QTest::addColumn<Prompter::Button>("answer");
    QTest::newRow("yes") << Prompter::Button::Yes;
    QTest::newRow("no") << Prompter::Button::No;
}

void TstNewServerSteps::overwriteQuestion()
{
    QFETCH(Prompter::Button, answer);
    Sandbox box;
    NewServerFields fields = readyFields(box);
    box.file(QStringLiteral("win/named.boot"), "directory C:\\\\old\r\n");
    box.prompter.answer(Prompter::Button::Yes);
    box.prompter.expectMessage(
        QStringLiteral("Question!"),
        QStringLiteral("A named.boot already exists in that location. Would you like to overwrite this server/file?"),
        answer);
    QCOMPARE(checkDirectoryPage(fields, false, true, box.prompter), answer == Prompter::Button::Yes);
    QCOMPARE(box.bytes(QStringLiteral("win/named.boot")), QByteArray("directory C:\\\\old\r\n"));
}

void TstNewServerSteps::soaPageRefusals_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty address") << QStringLiteral("emailaddr") << QString() << QStringLiteral("E-Mail Input Error");
    QTest::newRow("blank address") << QStringLiteral("emailaddr") << QStringLiteral(" ")
                                   << QStringLiteral("E-Mail Input Error");
    QTest::newRow("empty serial") << QStringLiteral("serial") << QString()
                                  << QStringLiteral("Serial Input Error. Re-Enter.");
    QTest::newRow("bad serial") << QStringLiteral("serial") << QStringLiteral("2026 1")
                                << QStringLiteral("Serial Input Error. Re-Enter.");
    QTest::newRow("blank refresh") << QStringLiteral("refresh") << QStringLiteral(" ")
                                   << QStringLiteral("Refresh Input Error. Re-Enter.");
    QTest::newRow("bad retry") << QStringLiteral("retry") << QStringLiteral("36;00")
                               << QStringLiteral("Retry Input Error. Re-Enter.");
    QTest::newRow("empty expire") << QStringLiteral("expire") << QString()
                                  << QStringLiteral("Expire Input Error. Re-Enter.");
    QTest::newRow("bad minimum") << QStringLiteral("minimum") << QStringLiteral("(86400)")
                                 << QStringLiteral("Time To Live Input Error. Re-Enter.");
    QTest::newRow("bad address") << QStringLiteral("emailaddr") << QStringLiteral("host master@example.com")
                                 << QStringLiteral("E-MAIL Input Error. Re-Enter.");
}

void TstNewServerSteps::soaPageRefusals()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Sandbox box;
    NewServerFields fields = readyFields(box);
    QString* target = field == QLatin1String("emailaddr") ? &fields.emailaddr
                      : field == QLatin1String("serial")  ? &fields.serial
                      : field == QLatin1String("refresh") ? &fields.refresh
                      : field == QLatin1String("retry")   ? &fields.retry
                      : field == QLatin1String("expire")  ? &fields.expire
                                                          : &fields.minimum;
    *target = value;
    box.prompter.expectMessage(kError, message);
    QVERIFY(!checkSoaPage(fields, box.prompter));

    // "Finish" runs the same checks and creates nothing.
    box.prompter.expectMessage(kError, message);
    ServerContext context = box.context();
    QVERIFY(!finishNewServer(context, box.stage, fields, box.hooks()));
    QCOMPARE(box.events, QStringList());
    QVERIFY(box.state.catalog.rows().isEmpty());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("win/named.boot"))));
}

void TstNewServerSteps::mailboxTakesDotsForAt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("mailbox");
    QTest::newRow("address") << QStringLiteral("hostmaster@example.com") << QStringLiteral("hostmaster.example.com.");
    QTest::newRow("mailbox already") << QStringLiteral("hostmaster.example.com.")
                                     << QStringLiteral("hostmaster.example.com.");
    QTest::newRow("at alone") << QStringLiteral("@") << QStringLiteral(".");
}

void TstNewServerSteps::mailboxTakesDotsForAt()
{
    QFETCH(QString, typed);
    QFETCH(QString, mailbox);
    Sandbox box;
    NewServerFields fields = readyFields(box);
    fields.emailaddr = typed;
    QVERIFY(checkSoaPage(fields, box.prompter));
    QCOMPARE(fields.emailaddr, mailbox);
}

void TstNewServerSteps::finishCreatesAndLoadsTheServer()
{
    Sandbox box;
    NewServerFields fields = readyFields(box);
    fields.defaultos = QStringLiteral("Windows 95");
    ServerContext context = box.context();
    QVERIFY(finishNewServer(context, box.stage, fields, box.hooks()));

    const QStringList expected{
        QStringLiteral("show Creating Server..."),
        QStringLiteral("stage Initializing Phase One"),
        QStringLiteral("item Server Init"),
        QStringLiteral("bar 10"),
        QStringLiteral("stage Initializing Phase Two"),
        QStringLiteral("item Data Processing"),
        QStringLiteral("bar 25"),
        QStringLiteral("stage Initializing Phase Three"),
        QStringLiteral("item Bootfile Creator"),
        QStringLiteral("bar 40"),
        QStringLiteral("hide wizard"),
        QStringLiteral("stage Initializing Phase Four"),
        QStringLiteral("item Zone Processing"),
        QStringLiteral("bar 55"),
        QStringLiteral("bar 65"),
        QStringLiteral("stage Initializing Phase Five"),
        QStringLiteral("item Displaying New Server"),
        QStringLiteral("secondary tree"),
        QStringLiteral("bar 75"),
        QStringLiteral("bar 85"),
        QStringLiteral("primary tree"),
        QStringLiteral("secondary tree"),
        QStringLiteral("bar 90"),
        QStringLiteral("bar 100"),
        QStringLiteral("hide"),
    };
    QCOMPARE(box.events, expected);
    QCOMPARE(box.prompter.prompts().size(), 0);

    QCOMPARE(box.state.catalog.displayNames(), QStringList{QStringLiteral("ns1")});
    QCOMPARE(storedServers(box.store),
             QStringList{QStringLiteral("ns1@ns1.example.com.     ") + box.path(QStringLiteral("win/named.boot"))});
    QCOMPARE(box.state.servername, QStringLiteral("ns1"));
    QCOMPARE(box.state.zoneLists.firstzone, QStringLiteral("ns1.example.com."));
    QCOMPARE(box.state.zoneLists.datapath, box.path(QStringLiteral("win/quorvane/zones")));
    QVERIFY(box.state.serverLoaded);
    QCOMPARE(box.state.setup.runningSerial, QStringLiteral("2026120701"));
    QCOMPARE(box.bytes(QStringLiteral("win/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/new.boot"))));
    QCOMPARE(box.bytes(QStringLiteral("win/quorvane/zones/cache.dns")),
             QByteArray(".   3600000  IN  NS  A.ROOT-SERVERS.NET.\r\nA.ROOT-SERVERS.NET.  3600000  A  198.41.0.4\r\n"));
    QCOMPARE(QDir(box.path(QStringLiteral("win/quorvane/zones"))).entryList(QDir::Files),
             QStringList{QStringLiteral("cache.dns")});
    // What the wizard cleared at "hide".
    QVERIFY(fields.name.isEmpty() && fields.dfiles.isEmpty());
}

void TstNewServerSteps::pageThreeValuesBecomeTheDefaults_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("runningAfter");
    QTest::newRow("a higher serial is taken") << QStringLiteral("2027010101") << QStringLiteral("2027010101");
    // A lower one would make secondary servers ignore the zones' next changes.
    QTest::newRow("a lower serial is not") << QStringLiteral("1") << QStringLiteral("2026120701");
}

void TstNewServerSteps::pageThreeValuesBecomeTheDefaults()
{
    QFETCH(QString, serial);
    QFETCH(QString, runningAfter);
    Sandbox box;
    NewServerFields fields = readyFields(box);
    fields.serial = serial;
    fields.refresh = QStringLiteral("7200");
    fields.retry = QStringLiteral("900");
    fields.expire = QStringLiteral("1209600");
    fields.minimum = QStringLiteral("3600");
    fields.emailaddr = QStringLiteral("ops@example.org");
    ServerContext context = box.context();
    QVERIFY(finishNewServer(context, box.stage, fields, box.hooks()));

    QCOMPARE(box.state.emailaddr, QStringLiteral("ops@example.org"));
    QCOMPARE(box.state.setup.runningSerial, runningAfter);
    QCOMPARE(box.store.text(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address")),
             QStringLiteral("ops@example.org"));
    // The server's first zone is made with them.
    WizardFields zone = prefillWizard(box.state, QStringLiteral("example.com"));
    QVERIFY(checkZoneInformation(zone, box.prompter));
    QCOMPARE(zone.user, QStringLiteral("ops.example.org."));
    QCOMPARE((QStringList{zone.serial, zone.refresh, zone.retry, zone.expire, zone.minimum}),
             (QStringList{runningAfter, QStringLiteral("7200"), QStringLiteral("900"), QStringLiteral("1209600"),
                          QStringLiteral("3600")}));
}

void TstNewServerSteps::finishOnANetworkedDrive()
{
    Sandbox box;
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), box.path(QStringLiteral("g")));
    box.store.setText(QStringLiteral("MAPPING"), QStringLiteral("ns1"), QStringLiteral("K"));
    NewServerFields fields = readyFields(box, QStringLiteral("g/winnt"));
    box.prompter.expectMessage(QStringLiteral("Information"), QStringLiteral("Is G located on a networked computer? "),
                               Prompter::Button::Yes);
    box.prompter.answerText(QStringLiteral("D"));
    ServerContext context = box.context();
    QVERIFY(finishNewServer(context, box.stage, fields, box.hooks()));
    QCOMPARE(box.prompter.prompts().at(1).caption, QStringLiteral("Network Drive Mapping"));
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns1")), QStringLiteral("G"));
    QCOMPARE(box.state.boot.mapdrive, QStringLiteral("G"));
    QCOMPARE(box.state.zoneLists.datapath, box.path(QStringLiteral("g/winnt/quorvane/zones")));
    QVERIFY(box.bytes(QStringLiteral("g/winnt/named.boot"))
                .contains("\r\ndirectory     D:\\\\winnt\\\\quorvane\\\\zones \r\n"));
}

void TstNewServerSteps::finishThatCannotWriteTheBootFile()
{
    Sandbox box;
    NewServerFields fields = readyFields(box);
    // A folder where the boot file would go cannot be replaced by it.
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("win/named.boot"))));
    box.prompter.answer(Prompter::Button::Ok);
    ServerContext context = box.context();
    QVERIFY(!finishNewServer(context, box.stage, fields, box.hooks()));
    QCOMPARE(box.prompter.prompts().size(), 1);
    QCOMPARE(box.prompter.prompts().first().caption, QStringLiteral("Error"));
    QVERIFY(box.prompter.prompts().first().text.startsWith(QStringLiteral("The boot file ") +
                                                           box.path(QStringLiteral("win/named.boot")) +
                                                           QStringLiteral(" could not be written")));
    QVERIFY(box.state.catalog.liveRows().isEmpty());
    QCOMPARE(storedServers(box.store), QStringList());
    QCOMPARE(box.events.last(), QStringLiteral("hide"));
    QVERIFY(!box.events.contains(QStringLiteral("hide wizard")));
    // The fields stay for another try.
    QCOMPARE(fields.name, QStringLiteral("ns1"));
}

void TstNewServerSteps::cancelledWizardLeavesNoCatalogEntry()
{
    Sandbox box;
    box.state.catalog.add({QStringLiteral("old@old.example.com."), box.path(QStringLiteral("old/named.boot"))});
    QVERIFY(saveSettings(box.state, box.store));
    NewServerFields fields = readyFields(box);
    QVERIFY(checkDirectoryPage(fields, false, false, box.prompter));
    clearWizardFields(fields);

    QCOMPARE(box.state.catalog.displayNames(), QStringList{QStringLiteral("old")});
    QCOMPARE(storedServers(box.store),
             QStringList{QStringLiteral("old@old.example.com.     ") + box.path(QStringLiteral("old/named.boot"))});
    QVERIFY(QFileInfo(box.path(QStringLiteral("win/quorvane/zones"))).isDir());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("win/named.boot"))));
}

void TstNewServerSteps::clearingForgetsWhatWasTyped()
{
    Sandbox box;
    NewServerFields fields = readyFields(box);
    fields.windowsdir = QStringLiteral("/typed");
    fields.secondary = true;
    clearWizardFields(fields);
    for (const QString* value : {&fields.name, &fields.firstzone, &fields.dirlabel, &fields.dfiles, &fields.serial,
                                 &fields.refresh, &fields.retry, &fields.expire, &fields.minimum, &fields.emailaddr})
        QVERIFY(value->isEmpty());
    QCOMPARE(fields.windowsdir, QStringLiteral("/typed"));
    QCOMPARE(fields.defaultos, QStringLiteral("Windows NT 4.X"));
}

QTEST_GUILESS_MAIN(TstNewServerSteps)
#include "tst_newserversteps.moc"
