// Take control and import of an existing server without the wizard's window: every check and stage, the copy of
// the source server's files, the rewritten boot file, the overwrite question, the conversion to secondary zones
// and the drive mapping.

#include "platform/networkfolder.h"
#include "sandbox.h"
#include "server/serverimport.h"
#include "session/settings.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kSourceCaption =
    QStringLiteral("Please locate the Windows directory of the server you wish to import or take control of.");
const QString kDestinationCaption =
    QStringLiteral("Please locate the Windows directory where you want to place this server.");
const QString kImported = QStringLiteral("Your server has been successfully imported.");
const QString kOverwrite =
    QStringLiteral("A named.boot already exists in that location. Would you like to overwrite this server/file?");

QStringList fileNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
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

class TstServerImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void importCopiesEveryFileAndLeavesTheSourceUntouched();
    void identifierHasNoComputerNameInFront_data();
    void identifierHasNoComputerNameInFront();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void importIntoItsOwnFolders();
    void conversionToSecondaryZones();
    void cancellingThePrimaryServerIp();
    void takeControl();
    void takeControlOfAMappedServer();
    void importRecordsNoMapping();
    void nameRefusals_data();
    void nameRefusals();
    void cancelledBrowser_data();
    void cancelledBrowser();
    void missingBootFile();
    void bootFileWithoutDirectory();
    void cancelledDestination();
    void missingDestination();
    void missingSourceDataDirectory_data();
    void missingSourceDataDirectory();
    void bootFileErrorsEndTheImport();
    void typedWindowsDirectories();
    void copyOfAFolder();
    void bootLinesOfAnImport();
    void primariesBecomeSecondaries();
};

void TstServerImport::importCopiesEveryFileAndLeavesTheSourceUntouched()
{
    ImportBox box;
    const QMap<QString, QByteArray> before = treeChecksums(box.path(QStringLiteral("src")));
    box.prompter.answerText(box.path(QStringLiteral("src/winnt")));
    box.prompter.answerText(box.path(QStringLiteral("dest")));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import));
    QCOMPARE(box.prompter.prompts().at(0).caption, kSourceCaption);
    QCOMPARE(box.prompter.prompts().at(1).caption, kDestinationCaption);

    QCOMPARE(treeChecksums(box.path(QStringLiteral("src"))), before);
    const QString data = box.path(QStringLiteral("src/dns/data"));
    const QString zones = box.path(QStringLiteral("dest/quorvane/zones"));
    QStringList copied = fileNames(data);
    copied << QStringLiteral("cache.dns");
    copied.sort();
    QCOMPARE(fileNames(zones), copied);
    // Zones whose start of authority names its owner come back with their names completed; the rest as they were.
    const QStringList repaired{QStringLiteral("handwritten.org.dns"), QStringLiteral("written-out.net.dns")};
    for (const QString& name : fileNames(data)) {
        const QByteArray expected = repaired.contains(name)
                                        ? readBytes(testDataPath(QStringLiteral("newserver/repaired/") + name))
                                        : readBytes(QDir(data).filePath(name));
        QCOMPARE(readBytes(QDir(zones).filePath(name)), expected);
    }
    // The server's root hints, named otherwise, become its cache file.
    QCOMPARE(readBytes(QDir(zones).filePath(QStringLiteral("cache.dns"))),
             readBytes(QDir(data).filePath(QStringLiteral("root.cache"))));
    QVERIFY(!QFileInfo::exists(QDir(zones).filePath(QStringLiteral("notes"))));
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import.boot"))));

    const QStringList stages{
        QStringLiteral("show Importing Server..."),
        QStringLiteral("stage Initializing Phase One"),
        QStringLiteral("item Server Init"),
        QStringLiteral("stage Drive Mapping"),
        QStringLiteral("item Dialog display."),
        QStringLiteral("stage Server full import."),
        QStringLiteral("item Complete copy to alternate server."),
        QStringLiteral("item Location of remote."),
        QStringLiteral("stage Copying to new server..."),
        QStringLiteral("item This may take a while..."),
        QStringLiteral("stage Processing named.boot file."),
        QStringLiteral("item named.boot"),
        QStringLiteral("stage Loading Data Files"),
        QStringLiteral("item All Zones"),
        QStringLiteral("bar 70"),
        QStringLiteral("stage Import Complete"),
        QStringLiteral("item Global Server"),
        QStringLiteral("bar 100"),
        QStringLiteral("hide"),
    };
    QCOMPARE(box.stageEvents(), stages);
    QCOMPARE(box.events.count(QStringLiteral("box ns2")), 2);
    QVERIFY(box.events.indexOf(QStringLiteral("hide wizard")) < box.events.indexOf(QStringLiteral("stage Import "
                                                                                                  "Complete")));

    QCOMPARE(box.state.catalog.displayNames(), QStringList{QStringLiteral("ns2")});
    QCOMPARE(storedServers(box.store),
             QStringList{QStringLiteral("ns2@example.com.     ") + box.path(QStringLiteral("dest/named.boot"))});
    QCOMPARE(box.state.pendingServerId, QStringLiteral("ns2@example.com."));
    QCOMPARE(box.state.zoneLists.datapath, zones);
    QCOMPARE(box.state.zoneLists.primdns, (QStringList{QStringLiteral("example.com"), QStringLiteral("handwritten.org"),
                                                       QStringLiteral("written-out.net")}));
    QCOMPARE(box.state.zoneLists.secdns, QStringList{QStringLiteral("other.org")});
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns2")), QString());
}

void TstServerImport::identifierHasNoComputerNameInFront_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("identifier");
    QTest::newRow("without its point") << QStringLiteral("example.com") << QStringLiteral("ns2@example.com.");
    QTest::newRow("with its point") << QStringLiteral("example.com.") << QStringLiteral("ns2@example.com.");
    QTest::newRow("beginning with another name")
        << QStringLiteral("ns1.example.com") << QStringLiteral("ns2@ns1.example.com.");
}

void TstServerImport::identifierHasNoComputerNameInFront()
{
    QFETCH(QString, domain);
    QFETCH(QString, identifier);
    ImportBox box;
    box.fields.firstzone = domain;
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import, box.byName()));
    QCOMPARE(box.state.catalog.rows().first().identifier, identifier);
    QCOMPARE(box.state.zoneLists.firstzone, identifier.section(QLatin1Char('@'), 1));
}

void TstServerImport::overwriteQuestion_data()
{
    QTest::addColumn<Prompter::Button>("answer");
    QTest::newRow("no") << Prompter::Button::No;
    QTest::newRow("yes") << Prompter::Button::Yes;
}

void TstServerImport::overwriteQuestion()
{
    QFETCH(Prompter::Button, answer);
    ImportBox box;
    box.file(QStringLiteral("dest/named.boot"), "directory C:\\\\dest\\\\quorvane\\\\zones\r\ncache . cache.dns\r\n");
    box.file(QStringLiteral("dest/quorvane/zones/example.com.dns"), "; the other server's zone\r\n");
    box.file(QStringLiteral("dest/quorvane/zones/cache.dns"), "; the other server's root hints\r\n");
    const QMap<QString, QByteArray> before = treeChecksums(box.path(QStringLiteral("dest")));
    box.prompter.expectMessage(QStringLiteral("Question!"), kOverwrite, answer);
    if (answer == Prompter::Button::No) {
        box.prompter.expectMessage(QStringLiteral("Exiting."),
                                   QStringLiteral("You have cancelled the import of this server."));
        QVERIFY(!box.run(ImportMode::Import, box.byName()));
        QCOMPARE(treeChecksums(box.path(QStringLiteral("dest"))), before);
        QVERIFY(box.state.catalog.rows().isEmpty());
        QCOMPARE(storedServers(box.store), QStringList());
        QCOMPARE(box.events.last(), QStringLiteral("hide"));
        return;
    }
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import, box.byName()));
    QCOMPARE(box.bytes(QStringLiteral("dest/quorvane/zones/example.com.dns")),
             box.bytes(QStringLiteral("src/dns/data/example.com.dns")));
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import.boot"))));
}

void TstServerImport::importIntoItsOwnFolders()
{
    // A server set up by the program keeps its zones in its own quorvane/zones: importing it into its own Windows
    // directory copies nothing onto itself and loses nothing.
    ImportBox box;
    box.file(
        QStringLiteral("win/named.boot"),
        "directory C:\\\\win\\\\quorvane\\\\zones\r\ncache . cache.dns\r\nprimary example.com example.com.dns\r\n");
    box.file(QStringLiteral("win/quorvane/zones/example.com.dns"),
             box.bytes(QStringLiteral("src/dns/data/example.com.dns")));
    box.file(QStringLiteral("win/quorvane/zones/cache.dns"), "; hints\r\n");
    const QMap<QString, QByteArray> before = treeChecksums(box.path(QStringLiteral("win/quorvane")));
    ImportRequest request;
    request.sourceWindowsDirectory = box.path(QStringLiteral("win"));
    request.destinationWindowsDirectory = box.path(QStringLiteral("win"));
    box.prompter.expectMessage(QStringLiteral("Question!"), kOverwrite, Prompter::Button::Yes);
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import, request));
    QCOMPARE(treeChecksums(box.path(QStringLiteral("win/quorvane"))), before);
    QCOMPARE(box.state.zoneLists.primdns, QStringList{QStringLiteral("example.com")});
    // Loading it began its history.
    QVERIFY(QFileInfo::exists(box.path(QStringLiteral("win/quorvane/zones/dnsbackup/history.git/HEAD"))));
}

void TstServerImport::conversionToSecondaryZones()
{
    ImportBox box;
    box.fields.secondary = true;
    const QMap<QString, QByteArray> before = treeChecksums(box.path(QStringLiteral("src")));
    const QString invalid = QStringLiteral("You entered an invalid server IP. Re-Enter. An IP address is four numbers "
                                           "from 0 to 255 separated by dots, such as 192.168.1.10.");
    box.prompter.answerText(QStringLiteral("10.0.0"));
    box.prompter.expectMessage(kAttention, invalid);
    box.prompter.answerText(QString());
    box.prompter.expectMessage(kAttention, invalid);
    box.prompter.answerText(QStringLiteral("10.0.0;5"));
    box.prompter.expectMessage(kAttention, invalid);
    box.prompter.answerText(QStringLiteral("10.0.0.5"));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import, box.byName()));

    QCOMPARE(box.prompter.prompts().first().kind, ScriptedPrompter::Kind::Input);
    QCOMPARE(box.prompter.prompts().first().caption, QStringLiteral("Primary Server IP"));
    QCOMPARE(box.prompter.prompts().first().text, QStringLiteral("Please enter the IP of the primary server."));
    QCOMPARE(treeChecksums(box.path(QStringLiteral("src"))), before);
    QCOMPARE(fileNames(box.path(QStringLiteral("dest/quorvane/zones"))), QStringList{QStringLiteral("cache.dns")});
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import-secondary.boot"))));
    QCOMPARE(box.state.zoneLists.primdns, QStringList());
    QCOMPARE(box.state.zoneLists.secdns, (QStringList{QStringLiteral("example.com"), QStringLiteral("handwritten.org"),
                                                      QStringLiteral("written-out.net")}));
    const QStringList stages = box.stageEvents();
    const qsizetype at = stages.indexOf(QStringLiteral("stage Secondary Import Processing"));
    QVERIFY(at > stages.indexOf(QStringLiteral("bar 70")));
    QCOMPARE(stages.at(at + 1), QStringLiteral("item All Zones"));

    // Given beforehand, a valid address is not asked for.
    ImportBox given;
    given.fields.secondary = true;
    ImportRequest request = given.byName();
    request.primaryServerIp = QStringLiteral("10.0.0.5");
    given.prompter.expectMessage(kAttention, kImported);
    QVERIFY(given.run(ImportMode::Import, request));
    QCOMPARE(given.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import-secondary.boot"))));
}

void TstServerImport::cancellingThePrimaryServerIp()
{
    ImportBox box;
    box.fields.secondary = true;
    box.prompter.answerText(std::nullopt);
    box.prompter.expectMessage(QStringLiteral("Exiting."),
                               QStringLiteral("You have cancelled the import of this server."));
    QVERIFY(!box.run(ImportMode::Import, box.byName()));
    QVERIFY(box.state.catalog.rows().isEmpty());
    QCOMPARE(box.events.last(), QStringLiteral("hide"));
}

void TstServerImport::takeControl()
{
    ImportBox box;
    box.file(QStringLiteral("ns3/named.boot"), "directory C:\\\\src\\\\dns\\\\data\r\ncache . root.cache\r\n"
                                               "primary example.com example.com.dns\r\n");
    const QMap<QString, QByteArray> data = treeChecksums(box.path(QStringLiteral("src/dns/data")));
    box.fields.name = QStringLiteral("ns3");
    box.fields.secondary = true;
    box.prompter.answerText(box.path(QStringLiteral("ns3")));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::TakeControl));

    QCOMPARE(box.state.catalog.rows().first().identifier, QStringLiteral("ns3@example.com."));
    QCOMPARE(box.state.catalog.rows().first().bootFilePath, box.path(QStringLiteral("ns3/named.boot")));
    QCOMPARE(box.state.zoneLists.datapath, box.path(QStringLiteral("src/dns/data")));
    // The server keeps its files where they are; its boot file takes the program's layout.
    QCOMPARE(box.bytes(QStringLiteral("ns3/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/takecontrol.boot"))));
    const QMap<QString, QByteArray> after = treeChecksums(box.path(QStringLiteral("src/dns/data")));
    QStringList expectedFiles = data.keys();
    expectedFiles << QStringLiteral("cache.dns");
    expectedFiles.sort();
    QCOMPARE(after.keys(), expectedFiles);
    for (auto it = data.constBegin(); it != data.constEnd(); ++it)
        QCOMPARE(after.value(it.key()), it.value());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("ns3/quorvane"))));
    // "Convert imported server files to secondary" is for imports only.
    QCOMPARE(box.state.zoneLists.primdns, QStringList{QStringLiteral("example.com")});
    const QStringList stages = box.stageEvents();
    QVERIFY(!stages.contains(QStringLiteral("stage Server full import.")));
    QVERIFY(!stages.contains(QStringLiteral("stage Secondary Import Processing")));
}

void TstServerImport::takeControlOfAMappedServer()
{
    ImportBox box;
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), box.path(QStringLiteral("g")));
    box.file(QStringLiteral("g/winnt/named.boot"), "directory C:\\\\dns\\\\data\r\ncache . cache.dns\r\n"
                                                   "primary example.com example.com.dns\r\n");
    box.file(QStringLiteral("g/dns/data/example.com.dns"), box.bytes(QStringLiteral("src/dns/data/example.com.dns")));
    box.file(QStringLiteral("g/dns/data/cache.dns"), "; hints\r\n");
    box.fields.name = QStringLiteral("ns4");
    box.prompter.answerText(box.path(QStringLiteral("g/winnt")));
    box.prompter.expectMessage(QStringLiteral("Information"),
                               QStringLiteral("Is the server you wish to import on a networked computer?"),
                               Prompter::Button::Yes);
    box.prompter.answerText(QStringLiteral("CC"));
    box.prompter.expectMessage(QStringLiteral("Error!"), QStringLiteral("You must enter a SINGLE LETTER - Reenter."));
    box.prompter.answerText(QStringLiteral("c"));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::TakeControl));

    QCOMPARE(box.prompter.prompts().at(2).caption, QStringLiteral("Network Drive Mapping"));
    QVERIFY(box.prompter.prompts().at(2).text.contains(QStringLiteral("mapped drive: G\n")));
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns4")), QStringLiteral("G"));
    QCOMPARE(box.state.boot.mapdrive, QStringLiteral("G"));
    QCOMPARE(box.state.zoneLists.datapath, box.path(QStringLiteral("g/dns/data")));
    // The server's own file keeps naming its own drive.
    QVERIFY(box.bytes(QStringLiteral("g/winnt/named.boot")).contains("\r\ndirectory     C:\\\\dns\\\\data \r\n"));
}

void TstServerImport::importRecordsNoMapping()
{
    ImportBox box;
    box.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), box.path(QStringLiteral("g")));
    box.store.setText(QStringLiteral("MAPPING"), QStringLiteral("ns2"), QStringLiteral("K"));
    box.file(QStringLiteral("g/winnt/named.boot"), "directory C:\\\\dns\\\\data\r\ncache . cache.dns\r\n"
                                                   "primary example.com example.com.dns\r\n");
    box.file(QStringLiteral("g/dns/data/example.com.dns"), box.bytes(QStringLiteral("src/dns/data/example.com.dns")));
    box.file(QStringLiteral("g/dns/data/cache.dns"), "; hints\r\n");
    ImportRequest request = box.byName();
    request.sourceWindowsDirectory = box.path(QStringLiteral("g/winnt"));
    box.prompter.expectMessage(QStringLiteral("Information"),
                               QStringLiteral("Is the server you wish to import on a networked computer?"),
                               Prompter::Button::Yes);
    box.prompter.answerText(QStringLiteral("C"));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import, request));
    // The source was found through G; the copy lies here and is reached without it.
    QCOMPARE(box.bytes(QStringLiteral("dest/quorvane/zones/cache.dns")), QByteArray("; hints\r\n"));
    QCOMPARE(box.store.text(QStringLiteral("MAPPING"), QStringLiteral("ns2")), QString());
    QCOMPARE(box.state.boot.mapdrive, QString());
    QCOMPARE(box.state.zoneLists.datapath, box.path(QStringLiteral("dest/quorvane/zones")));
}

void TstServerImport::nameRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("message");
    const QString machine = QStringLiteral("You have not entered a machine name for the server you wish to import, or "
                                           "you have entered bad characters.");
    const QString domain = QStringLiteral("You have not entered a domain name for the server you wish to import, or "
                                          "you have entered bad characters.");
    QTest::newRow("empty name") << QString() << QStringLiteral("example.com") << kAttention << machine;
    QTest::newRow("bad name") << QStringLiteral("ns 2") << QStringLiteral("example.com") << kAttention << machine;
    QTest::newRow("empty domain") << QStringLiteral("ns2") << QString() << kAttention << domain;
    QTest::newRow("bad domain") << QStringLiteral("ns2") << QStringLiteral("exa,mple.com") << kAttention << domain;
    QTest::newRow("existing name") << QStringLiteral("ns1") << QStringLiteral("example.com") << QStringLiteral("Error.")
                                   << QStringLiteral("Server Name Already Exists.");
    QTest::newRow("existing name with its point")
        << QStringLiteral("ns1.") << QStringLiteral("example.com") << QStringLiteral("Error.")
        << QStringLiteral("Server Name Already Exists.");
}

void TstServerImport::nameRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    for (const ImportMode mode : {ImportMode::TakeControl, ImportMode::Import}) {
        ImportBox box;
        box.state.catalog.add({QStringLiteral("ns1@ns1.example.com."), box.path(QStringLiteral("ns1/named.boot"))});
        box.fields.name = name;
        box.fields.firstzone = domain;
        box.prompter.expectMessage(caption, message);
        QVERIFY(!box.run(mode, box.byName()));
        QCOMPARE(box.events, QStringList());
        QCOMPARE(box.state.catalog.rows().size(), 1);
        QCOMPARE(box.fields.firstzone, domain);
    }
}

void TstServerImport::cancelledBrowser_data()
{
    QTest::addColumn<ImportMode>("mode");
    QTest::newRow("take control") << ImportMode::TakeControl;
    QTest::newRow("import") << ImportMode::Import;
}

void TstServerImport::cancelledBrowser()
{
    QFETCH(ImportMode, mode);
    ImportBox box;
    box.prompter.answerText(std::nullopt);
    box.prompter.expectMessage(QStringLiteral("Exiting."),
                               QStringLiteral("You have cancelled the import/take control of this server."));
    QVERIFY(!box.run(mode));
    QCOMPARE(box.events, QStringList());
    QCOMPARE(box.state.pendingBootFilePath, QString());
}

void TstServerImport::missingBootFile()
{
    ImportBox box;
    QDir().mkpath(box.path(QStringLiteral("empty")));
    ImportRequest request;
    request.sourceWindowsDirectory = box.path(QStringLiteral("empty"));
    box.prompter.expectMessage(kAttention,
                               QStringLiteral("Your named.boot file is missing from this server. Failed to import."));
    QVERIFY(!box.run(ImportMode::TakeControl, request));
    QCOMPARE(box.events, QStringList());
}

void TstServerImport::bootFileWithoutDirectory()
{
    ImportBox box;
    box.file(QStringLiteral("bare/named.boot"), "cache . cache.dns\r\n;director y\r\n");
    ImportRequest request = box.byName();
    request.sourceWindowsDirectory = box.path(QStringLiteral("bare"));
    box.prompter.expectMessage(QStringLiteral("Exiting..."),
                               QStringLiteral("A data directory entry could not be found in your named.boot file."));
    QVERIFY(!box.run(ImportMode::Import, request));
    QCOMPARE(box.stageEvents().last(), QStringLiteral("hide"));
    QVERIFY(box.state.catalog.rows().isEmpty());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("dest/quorvane"))));
}

void TstServerImport::cancelledDestination()
{
    ImportBox box;
    ImportRequest request;
    request.sourceWindowsDirectory = box.path(QStringLiteral("src/winnt"));
    box.prompter.answerText(std::nullopt);
    box.prompter.expectMessage(QStringLiteral("Exiting."),
                               QStringLiteral("You have cancelled the import of this server."));
    QVERIFY(!box.run(ImportMode::Import, request));
    QCOMPARE(box.prompter.prompts().first().caption, kDestinationCaption);
    QCOMPARE(box.events.last(), QStringLiteral("hide"));
    QVERIFY(box.state.catalog.rows().isEmpty());
}

void TstServerImport::missingDestination()
{
    ImportBox box;
    ImportRequest request = box.byName();
    request.destinationWindowsDirectory = box.path(QStringLiteral("nowhere"));
    box.prompter.expectMessage(QStringLiteral("Re-Enter."),
                               QStringLiteral("That Windows directory could not be found."));
    QVERIFY(!box.run(ImportMode::Import, request));
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("nowhere"))));
}

void TstServerImport::missingSourceDataDirectory_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("found") << QStringLiteral("found");
    QTest::newRow("abort") << QStringLiteral("abort");
    QTest::newRow("browser cancelled") << QStringLiteral("cancel");
}

void TstServerImport::missingSourceDataDirectory()
{
    QFETCH(QString, how);
    ImportBox box;
    QVERIFY(QDir(box.path(QStringLiteral("src/dns"))).rename(QStringLiteral("data"), QStringLiteral("moved")));
    const QString question = QStringLiteral("The data directory on the server you are importing: ") +
                             box.path(QStringLiteral("src/dns/data")) +
                             QStringLiteral(" could not be found. Press OK to find it, or ABORT.");
    const QString browser = QStringLiteral("Please locate the data directory on the server you are importing.");
    if (how == QLatin1String("abort")) {
        box.prompter.expectMessage(kAttention, question, Prompter::Button::Abort);
    } else {
        box.prompter.expectMessage(kAttention, question, Prompter::Button::Ok);
        box.prompter.answerText(how == QLatin1String("found")
                                    ? std::optional<QString>(box.path(QStringLiteral("src/dns/moved")))
                                    : std::nullopt);
    }
    if (how == QLatin1String("found"))
        box.prompter.expectMessage(kAttention, kImported);
    QCOMPARE(box.run(ImportMode::Import, box.byName()), how == QLatin1String("found"));
    if (how == QLatin1String("found")) {
        QCOMPARE(box.prompter.prompts().at(1).caption, browser);
        QCOMPARE(box.bytes(QStringLiteral("dest/quorvane/zones/example.com.dns")),
                 box.bytes(QStringLiteral("src/dns/moved/example.com.dns")));
        return;
    }
    QVERIFY(box.state.catalog.rows().isEmpty());
    QCOMPARE(fileNames(box.path(QStringLiteral("dest/quorvane/zones"))), QStringList());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("dest/named.boot"))));
}

void TstServerImport::bootFileErrorsEndTheImport()
{
    ImportBox box;
    box.file(QStringLiteral("src/winnt/named.boot"),
             "directory C:\\\\src\\\\dns\\\\data\r\nprimary lost.org lost.org.dns\r\n");
    box.prompter.expectMessage(QStringLiteral("Information"),
                               QStringLiteral("lost.org.dns corresponding to lost.org cannot be found. This entry will "
                                              "be removed from your boot file.Would you like to move to another data "
                                              "directory where this file may be located?"),
                               Prompter::Button::Abort);
    box.prompter.expectMessage(kAttention, QStringLiteral("Due to boot file errors, server has not been imported."));
    QVERIFY(!box.run(ImportMode::Import, box.byName()));
    QVERIFY(box.events.contains(QStringLiteral("hide wizard")));
    QCOMPARE(box.events.last(), QStringLiteral("hide"));
    QVERIFY(box.state.catalog.rows().isEmpty());
    QCOMPARE(storedServers(box.store), QStringList());
    // What was copied stays.
    QVERIFY(QFileInfo::exists(box.path(QStringLiteral("dest/quorvane/zones/example.com.dns"))));
}

void TstServerImport::typedWindowsDirectories()
{
    ImportBox box;
    box.state.defaultos = QStringLiteral("Windows NT 3.X");
    const QString caption = QStringLiteral("Specify Your Windows Dir.");
    const QString notFound = QStringLiteral("That Windows directory could not be found.");
    box.prompter.answerText(box.path(QStringLiteral("src/win")));
    box.prompter.expectMessage(QStringLiteral("Re-Enter."), notFound);
    box.prompter.answerText(box.path(QStringLiteral("src/winnt")));
    box.prompter.answerText(box.path(QStringLiteral("dest")));
    box.prompter.expectMessage(kAttention, kImported);
    QVERIFY(box.run(ImportMode::Import));
    const QList<ScriptedPrompter::Prompt>& prompts = box.prompter.prompts();
    QCOMPARE(prompts.at(0).caption, caption);
    QCOMPARE(prompts.at(0).text,
             QStringLiteral("Please enter the windows directory of the server you would like to import."));
    QCOMPARE(prompts.at(2).caption, caption);
    QCOMPARE(prompts.at(3).caption, caption);
    QCOMPARE(prompts.at(3).text, kDestinationCaption);

    // The window's own dialog takes the place of the input box.
    ImportBox dialog;
    dialog.state.defaultos = QStringLiteral("Windows NT 3.X");
    QStringList texts;
    WizardHooks hooks = dialog.hooks();
    hooks.specifyWindowsDirectory = [&](const QString& text) -> std::optional<QString> {
        texts << text;
        return std::nullopt;
    };
    dialog.prompter.expectMessage(QStringLiteral("Exiting."),
                                  QStringLiteral("You have cancelled the import/take control of this server."));
    ServerContext context = dialog.context();
    QVERIFY(!takeControlOrImport(context, dialog.stage, dialog.fields, ImportMode::TakeControl, hooks));
    QCOMPARE(texts, QStringList{QStringLiteral("Please enter the windows directory of the server you would like to "
                                               "import.")});
}

void TstServerImport::copyOfAFolder()
{
    Sandbox box;
    box.file(QStringLiteral("from/a.dns"), "a\r\n");
    box.file(QStringLiteral("from/.b"), "b\r\n");
    box.file(QStringLiteral("from/sub/c.dns"), "c\r\n");
    box.file(QStringLiteral("elsewhere/d.dns"), "d\r\n");
    QVERIFY(QFile::link(box.path(QStringLiteral("elsewhere/d.dns")), box.path(QStringLiteral("from/d.dns"))));
    box.file(QStringLiteral("to/a.dns"), "old a\r\n");
    QCOMPARE(copyFilesOfFolder(box.path(QStringLiteral("from")), box.path(QStringLiteral("to"))), QStringList());
    QCOMPARE(fileNames(box.path(QStringLiteral("to"))),
             (QStringList{QStringLiteral(".b"), QStringLiteral("a.dns"), QStringLiteral("d.dns")}));
    QCOMPARE(box.bytes(QStringLiteral("to/a.dns")), QByteArray("a\r\n"));
    QCOMPARE(box.bytes(QStringLiteral("to/d.dns")), QByteArray("d\r\n"));
    QVERIFY(!QFileInfo(box.path(QStringLiteral("to/d.dns"))).isSymLink());

    // Onto itself nothing happens, and nothing is lost.
    QCOMPARE(copyFilesOfFolder(box.path(QStringLiteral("to")), box.path(QStringLiteral("to"))), QStringList());
    QCOMPARE(box.bytes(QStringLiteral("to/a.dns")), QByteArray("a\r\n"));

    // A file that cannot be written is named.
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("blocked/a.dns"))));
    QCOMPARE(copyFilesOfFolder(box.path(QStringLiteral("from")), box.path(QStringLiteral("blocked"))),
             QStringList{QStringLiteral("a.dns")});
}

void TstServerImport::bootLinesOfAnImport()
{
    const QStringList lines{QStringLiteral("; header"),
                            QStringLiteral("directory C:\\\\old"),
                            QStringLiteral(";MAPPING: G"),
                            QStringLiteral("cache . cache.dns"),
                            QStringLiteral("directory D:\\\\later"),
                            QStringLiteral("  ;MAPPING note")};
    const QStringList expected{QStringLiteral("; header"),
                               QStringLiteral("directory C:\\\\old"),
                               QStringLiteral(";"),
                               QStringLiteral("cache . cache.dns"),
                               QStringLiteral("directory     C:\\\\new\\\\zones"),
                               QStringLiteral(";")};
    QCOMPARE(importedBootLines(lines, 4, QStringLiteral("C:\\\\new\\\\zones")), expected);
}

void TstServerImport::primariesBecomeSecondaries()
{
    BootConfig boot;
    boot.primaryEntries = {QStringLiteral("b.org     b.org.dns"), QStringLiteral("a.com     a.com.dns")};
    boot.secondaryEntries = {QStringLiteral("c.net     10.0.0.1     c.bak")};
    boot.reversePrimaryLines = {QStringLiteral("primary 1.10.IN-ADDR.ARPA 10.1.rev")};
    convertPrimariesToSecondaries(boot, QStringLiteral("10.9.8.7"));
    QCOMPARE(boot.primaryEntries, QStringList());
    QCOMPARE(boot.secondaryEntries, (QStringList{QStringLiteral("b.org   10.9.8.7   b.org.dns"),
                                                 QStringLiteral("a.com   10.9.8.7   a.com.dns")}));
    QCOMPARE(boot.reversePrimaryLines, QStringList{QStringLiteral("primary 1.10.IN-ADDR.ARPA 10.1.rev")});
}

QTEST_GUILESS_MAIN(TstServerImport)
#include "tst_serverimport.moc"
