#include "platform/settingsstore.h"
#include "server/bootload.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kInfo = QStringLiteral("Information");

QString missingQuestion(const QString& file, const QString& zone)
{
    return file + QStringLiteral(" corresponding to ") + zone +
           QStringLiteral(" cannot be found. This entry will be removed from your boot file.Would you like to move "
                          "to another data directory where this file may be located?");
}

QString notFound(const QString& path)
{
    return path + QStringLiteral(" could not be found. Please press OK to update your data directory.");
}

// A server in a temporary folder: "win/named.boot" and drive C standing for the folder itself.
struct Server
{
    Server()
    {
        store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
        state.pendingServerId = QStringLiteral("ns1@ns1.example.com.");
        state.pendingBootFilePath = path(QStringLiteral("win/named.boot"));
        state.defaultos = QStringLiteral("Windows NT 4.X");
        QDir().mkpath(path(QStringLiteral("win")));
        QDir().mkpath(path(QStringLiteral("dns/data")));
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("win/named.boot")); }

    void file(const QString& relative, const QByteArray& bytes = QByteArray())
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QVERIFY(writeBytes(path(relative), bytes));
    }
    void boot(const QByteArray& lines) { file(QStringLiteral("win/named.boot"), lines); }
    void zones(const QStringList& names)
    {
        for (const QString& name : names)
            file(QStringLiteral("dns/data/") + name);
    }

    BootReadResult read(bool skip = false)
    {
        BootContext context{state, store, prompter};
        return readBootFile(context, skip);
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
};

const QByteArray kHead = "directory C:\\\\dns\\\\data\r\ncache . cache.dns\r\n;OS: Windows NT 4.X\r\n";

} // namespace

class TstBootReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void eachLineMeetsItsTests_data();
    void eachLineMeetsItsTests();
    void commentedDirectoryLineCounts();
    void commentSentenceIsNoDirectoryLine_data();
    void commentSentenceIsNoDirectoryLine();
    void fillsLabelsAndMarksTheServerLoaded();
    void missingZoneFileAnsweredNo();
    void missingZoneFileAnsweredAbortWritesNothing();
    void missingZoneFileAnsweredYesMovesTheDataDirectory();
    void missingZoneFileAskedAgainWhereItIsMissingToo();
    void cancellingTheFolderBrowserAbandonsTheReading();
    void skipZoneFileCheckAdmitsMissingFiles();
    void zoneFilesMatchWithoutRegardToCase();
    void missingDataDirectoryIsBrowsedForUntilItExists();
    void cacheFile_data();
    void cacheFile();
    void operatingSystem_data();
    void operatingSystem();
    void gridsAreSortedAndLowerCase();
    void secondaryReverseLines();
    void everyReadingStartsEmpty();
    void mappedDriveFromSettings();
    void unreadableBootFile_data();
    void unreadableBootFile();
    void bootFilePathOnADrive();
    void debugLogLines();
};

void TstBootReader::eachLineMeetsItsTests_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("primdns");
    QTest::addColumn<QStringList>("secdns");
    QTest::addColumn<QStringList>("reverse");
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QStringList>("other");
    const QStringList none;
    const QStringList a{QStringLiteral("a.com")};
    QTest::newRow("primary") << QByteArray("primary A.com a.dns") << a << none << none << none << none;
    QTest::newRow("primary after blanks") << QByteArray("   primary a.com a.dns") << a << none << none << none << none;
    QTest::newRow("keyword inside a word") << QByteArray("xprimary a.com a.dns") << a << none << none << none << none;
    // The comments of a boot file written elsewhere are carried over as they stand, never acted on.
    QTest::newRow("commented primary") << QByteArray(";primary a.com a.dns") << none << none << none << none
                                       << QStringList{QStringLiteral(";primary a.com a.dns")};
    QTest::newRow("Primary") << QByteArray("Primary a.com a.dns") << none << none << none << none
                             << QStringList{QStringLiteral("Primary a.com a.dns")};
    QTest::newRow("PRIMARY") << QByteArray("PRIMARY a.com a.dns") << none << none << none << none
                             << QStringList{QStringLiteral("PRIMARY a.com a.dns")};
    QTest::newRow("reverse primary") << QByteArray("primary  1.10.in-addr.arpa\tr.rev ") << none << none
                                     << QStringList{QStringLiteral("primary  1.10.in-addr.arpa\tr.rev ")} << none
                                     << none;
    QTest::newRow("secondary") << QByteArray("secondary S.net 10.0.0.1 s.bak") << none
                               << QStringList{QStringLiteral("s.net")} << none << none << none;
    QTest::newRow("commented secondary") << QByteArray(";secondary s.net 10.0.0.1 s.bak") << none << none << none
                                         << none << QStringList{QStringLiteral(";secondary s.net 10.0.0.1 s.bak")};
    QTest::newRow("two option keywords, kept once")
        << QByteArray("limit transfers-in 5 options x") << none << none << none
        << QStringList{QStringLiteral("limit transfers-in 5 options x")} << none;
    for (const char* option : {";options query-log", ";forwarders 10.1.1.1", "; limit transfers-in 5",
                               ";xfrnets 10.0.0.0&255.0.0.0", ";bogusns 10.9.9.9", ";options forward-only"})
        QTest::newRow(option) << QByteArray(option) << none << none << none << none
                              << QStringList{QString::fromLatin1(option)};
    for (const char* option :
         {"options forward-only", "limit transfers-per-ns     2 ", "xfrnets      10.0.0.0&255.0.0.0",
          "bogusns      10.9.9.9     ", "forwarders      10.1.1.1     "})
        QTest::newRow(option) << QByteArray(option) << none << none << none << QStringList{QString::fromLatin1(option)}
                              << none;
    QTest::newRow("option in capitals") << QByteArray("Options forward-only") << none << none << none << none
                                        << QStringList{QStringLiteral("Options forward-only")};
    QTest::newRow("include") << QByteArray("include \"other\"") << none << none << none << none
                             << QStringList{QStringLiteral("include \"other\"")};
    QTest::newRow("comment") << QByteArray("; a note") << none << none << none << none
                             << QStringList{QStringLiteral("; a note")};
    QTest::newRow("comment mentioning the directory")
        << QByteArray("; the directory holds the zones") << none << none << none << none
        << QStringList{QStringLiteral("; the directory holds the zones")};
    QTest::newRow("a lone semicolon") << QByteArray(";") << none << none << none << none << none;
    QTest::newRow("blank line") << QByteArray(" \t ") << none << none << none << none << none;
    QTest::newRow("uncommented OS line") << QByteArray("OS: Windows 95") << none << none << none << none << none;
}

void TstBootReader::eachLineMeetsItsTests()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, primdns);
    QFETCH(QStringList, secdns);
    QFETCH(QStringList, reverse);
    QFETCH(QStringList, parameters);
    QFETCH(QStringList, other);
    Server server;
    server.zones({QStringLiteral("a.dns"), QStringLiteral("cache.dns")});
    server.boot(kHead + line + "\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.zoneLists.primdns, primdns);
    QCOMPARE(server.state.zoneLists.secdns, secdns);
    QCOMPARE(server.state.boot.reversePrimaryLines, reverse);
    QCOMPARE(server.state.boot.parameterLines, parameters);
    QCOMPARE(server.state.boot.otherLines, other);
    QCOMPARE(server.prompter.prompts().size(), 0);
}

void TstBootReader::commentedDirectoryLineCounts()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot(";directory C:\\\\dns\\\\data\r\ncache . cache.dns\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.zoneLists.datapath, server.path(QStringLiteral("dns/data")));
    QCOMPARE(server.state.boot.realpath, QStringLiteral("C:\\\\dns\\\\data"));
    QVERIFY(readBytes(server.bootFile()).contains("\r\ndirectory     C:\\\\dns\\\\data \r\n"));
}

void TstBootReader::commentSentenceIsNoDirectoryLine_data()
{
    QTest::addColumn<QByteArray>("comment");
    QTest::newRow("sentence") << QByteArray("; keep the directory tidy");
    QTest::newRow("word glued to the semicolon") << QByteArray(";the directory C:\\\\old");
    QTest::newRow("keyword later in the line") << QByteArray("; old: directory C:\\\\old");
}

void TstBootReader::commentSentenceIsNoDirectoryLine()
{
    // No folder question for a comment: only the missing directory is reported, and nothing is written.
    QFETCH(QByteArray, comment);
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot(comment + "\r\ncache . cache.dns\r\n");
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("A directory entry could not be found in your boot file. Please "
                                                 "repair or restore your server."));
    QCOMPARE(server.read().status, BootReadStatus::NoDirectory);
    QCOMPARE(server.prompter.pending(), 0);
    QCOMPARE(server.prompter.prompts().size(), 1);
    QCOMPARE(readBytes(server.bootFile()), comment + "\r\ncache . cache.dns\r\n");
}

void TstBootReader::fillsLabelsAndMarksTheServerLoaded()
{
    Server server;
    server.state.pendingServerId = QStringLiteral("plain");
    server.boot(";nothing useful\r\n");
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("A directory entry could not be found in your boot file. Please "
                                                 "repair or restore your server."));
    const BootReadResult result = server.read();
    QCOMPARE(result.status, BootReadStatus::NoDirectory);
    QCOMPARE(server.state.path, server.path(QStringLiteral("win/")));
    QCOMPARE(server.state.boot.bootDirectory, server.path(QStringLiteral("win/")));
    QCOMPARE(server.state.servername, QStringLiteral("plain"));
    QCOMPARE(server.state.bootFileName, QStringLiteral("named.boot"));
    QVERIFY(server.state.serverLoaded);
    QCOMPARE(readBytes(server.bootFile()), QByteArray(";nothing useful\r\n"));
}

void TstBootReader::missingZoneFileAnsweredNo()
{
    Server server;
    server.zones({QStringLiteral("kept.dns"), QStringLiteral("cache.dns")});
    server.boot(kHead + "primary gone.com gone.dns\r\nprimary kept.com kept.dns\r\n");
    server.prompter.expectMessage(kInfo, missingQuestion(QStringLiteral("gone.dns"), QStringLiteral("gone.com")),
                                  Prompter::Button::No);
    QVERIFY(server.read().ok());
    QCOMPARE(server.prompter.prompts().first().buttons,
             Prompter::Button::Yes | Prompter::Button::No | Prompter::Button::Abort);
    QCOMPARE(server.state.boot.primaryEntries, QStringList{QStringLiteral("kept.com     kept.dns")});
    QVERIFY(!readBytes(server.bootFile()).contains("gone"));
}

void TstBootReader::missingZoneFileAnsweredAbortWritesNothing()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    const QByteArray original = kHead + "primary gone.com gone.dns\r\nprimary other.com other.dns\r\n";
    server.boot(original);
    server.prompter.expectMessage(kInfo, missingQuestion(QStringLiteral("gone.dns"), QStringLiteral("gone.com")),
                                  Prompter::Button::Abort);
    QCOMPARE(server.read().status, BootReadStatus::Aborted);
    QCOMPARE(server.prompter.pending(), 0);
    QCOMPARE(readBytes(server.bootFile()), original);
}

void TstBootReader::missingZoneFileAnsweredYesMovesTheDataDirectory()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.file(QStringLiteral("dns/other/moved.dns"));
    server.file(QStringLiteral("dns/other/cache.dns"));
    server.boot(kHead + "primary moved.com moved.dns\r\n");
    server.prompter.expectMessage(kInfo, missingQuestion(QStringLiteral("moved.dns"), QStringLiteral("moved.com")),
                                  Prompter::Button::Yes);
    server.prompter.expectMessage(kInfo, notFound(server.path(QStringLiteral("win/NOTTHERE"))));
    server.prompter.answerText(server.path(QStringLiteral("dns/other")));
    QVERIFY(server.read().ok());
    QCOMPARE(server.prompter.prompts().at(2).caption,
             QStringLiteral("The data directory of the active server must be updated."));
    QCOMPARE(server.state.zoneLists.datapath, server.path(QStringLiteral("dns/other")));
    QCOMPARE(server.state.boot.realpath, QStringLiteral("C:\\\\dns\\\\other"));
    QCOMPARE(server.state.zoneLists.primfiles, QStringList{QStringLiteral("moved.dns")});
}

void TstBootReader::missingZoneFileAskedAgainWhereItIsMissingToo()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.file(QStringLiteral("dns/empty/cache.dns"));
    server.boot(kHead + "primary gone.com gone.dns\r\n");
    const QString question = missingQuestion(QStringLiteral("gone.dns"), QStringLiteral("gone.com"));
    server.prompter.expectMessage(kInfo, question, Prompter::Button::Yes);
    server.prompter.expectMessage(kInfo, notFound(server.path(QStringLiteral("win/NOTTHERE"))));
    server.prompter.answerText(server.path(QStringLiteral("dns/empty")));
    server.prompter.expectMessage(kInfo, question, Prompter::Button::No);
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.boot.primaryEntries, QStringList());
    QCOMPARE(server.state.zoneLists.datapath, server.path(QStringLiteral("dns/empty")));
}

void TstBootReader::cancellingTheFolderBrowserAbandonsTheReading()
{
    Server server;
    const QByteArray original = "directory C:\\\\nowhere\r\nprimary a.com a.dns\r\n";
    server.boot(original);
    server.prompter.expectMessage(kInfo, notFound(server.path(QStringLiteral("nowhere"))));
    server.prompter.answerText(std::nullopt);
    const BootReadResult result = server.read();
    QCOMPARE(result.status, BootReadStatus::Cancelled);
    QVERIFY(!result.ok());
    QCOMPARE(readBytes(server.bootFile()), original);
    QVERIFY(!QFile::exists(server.path(QStringLiteral("nowhere"))));
}

void TstBootReader::skipZoneFileCheckAdmitsMissingFiles()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot(kHead + "primary gone.com Gone.DNS\r\n");
    QVERIFY(server.read(true).ok());
    QCOMPARE(server.state.boot.primaryEntries, QStringList{QStringLiteral("gone.com     Gone.DNS")});
    QCOMPARE(server.state.zoneLists.primfiles, QStringList{QStringLiteral("gone.dns")});
}

void TstBootReader::zoneFilesMatchWithoutRegardToCase()
{
    Server server;
    server.zones({QStringLiteral("EXAMPLE.COM.DNS"), QStringLiteral("cache.dns")});
    server.boot(kHead + "primary example.com example.com.dns\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.zoneLists.primdns, QStringList{QStringLiteral("example.com")});
}

void TstBootReader::missingDataDirectoryIsBrowsedForUntilItExists()
{
    Server server;
    server.file(QStringLiteral("found/cache.dns"));
    server.boot("directory C:\\\\lost\r\ncache . cache.dns\r\n");
    server.prompter.expectMessage(kInfo, notFound(server.path(QStringLiteral("lost"))));
    server.prompter.answerText(server.path(QStringLiteral("still-lost")));
    server.prompter.expectMessage(kInfo, notFound(server.path(QStringLiteral("still-lost"))));
    server.prompter.answerText(server.path(QStringLiteral("found")));
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.zoneLists.datapath, server.path(QStringLiteral("found")));
    QCOMPARE(server.state.boot.realpath, QStringLiteral("C:\\\\found"));
    QCOMPARE(server.state.boot.holdpath, QStringLiteral("C:\\\\found"));
    QVERIFY(readBytes(server.bootFile()).contains("\r\ndirectory     C:\\\\found \r\n"));
}

void TstBootReader::cacheFile_data()
{
    QTest::addColumn<QByteArray>("cacheLine");
    QTest::addColumn<QStringList>("present"); // files in the data directory, each holding its own name
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QByteArray>("cacheDns");
    const QByteArray held = "; held root\r\n.  NS  A.ROOT.\r\n";
    QTest::newRow("no line, no file") << QByteArray() << QStringList() << true << held;
    QTest::newRow("no line, file kept") << QByteArray() << QStringList{QStringLiteral("cache.dns")} << true
                                        << QByteArray("cache.dns");
    QTest::newRow("other name copied") << QByteArray("cache . named.root") << QStringList{QStringLiteral("named.root")}
                                       << false << QByteArray("named.root");
    QTest::newRow("other name in capitals copied")
        << QByteArray("cache\t.\tROOT.HINTS") << QStringList{QStringLiteral("root.hints")} << false
        << QByteArray("root.hints");
    QTest::newRow("other name missing") << QByteArray("cache . named.root") << QStringList() << false << held;
    QTest::newRow("cache.dns present") << QByteArray("cache . cache.dns") << QStringList{QStringLiteral("cache.dns")}
                                       << false << QByteArray("cache.dns");
}

void TstBootReader::cacheFile()
{
    QFETCH(QByteArray, cacheLine);
    QFETCH(QStringList, present);
    QFETCH(bool, asked);
    QFETCH(QByteArray, cacheDns);
    Server server;
    server.state.rootCacheText = QStringLiteral("; held root\n.  NS  A.ROOT.\n");
    for (const QString& name : present)
        server.file(QStringLiteral("dns/data/") + name, name.toLatin1());
    server.boot("directory C:\\\\dns\\\\data\r\n" + cacheLine + "\r\n");
    if (asked)
        server.prompter.expectMessage(QStringLiteral("Attention!"),
                                      QStringLiteral("A cache entry could not be found in your boot file. This will "
                                                     "be updated for you."));
    QVERIFY(server.read().ok());
    QCOMPARE(readBytes(server.path(QStringLiteral("dns/data/cache.dns"))), cacheDns);
    for (const QString& name : present)
        QCOMPARE(readBytes(server.path(QStringLiteral("dns/data/") + name)), name.toLatin1());
    QVERIFY(readBytes(server.bootFile()).contains("\r\ncache       .     cache.dns \r\n"));
}

void TstBootReader::operatingSystem_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("result");
    QTest::newRow("none") << QByteArray() << QStringLiteral("Windows NT 4.X");
    QTest::newRow("Windows 95") << QByteArray(";OS: Windows 95") << QStringLiteral("Windows 95");
    QTest::newRow("with shell") << QByteArray(";OS:   Windows NT 3.X with Shell")
                                << QStringLiteral("Windows NT 3.X with Shell");
    QTest::newRow("unknown") << QByteArray(";OS: OS/2 Warp") << QStringLiteral("Windows NT 4.X");
    QTest::newRow("other case") << QByteArray(";OS: windows 95") << QStringLiteral("Windows NT 4.X");
}

void TstBootReader::operatingSystem()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, result);
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot("directory C:\\\\dns\\\\data\r\ncache . cache.dns\r\n" + line + "\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.defaultos, result);
    QVERIFY(readBytes(server.bootFile()).contains(QByteArray("\r\n;OS: " + result.toLatin1() + "\r\n")));
}

void TstBootReader::gridsAreSortedAndLowerCase()
{
    Server server;
    server.zones(
        {QStringLiteral("b.dns"), QStringLiteral("A.DNS"), QStringLiteral("c.dns"), QStringLiteral("cache.dns")});
    server.boot(kHead + "primary b.com b.dns\r\nprimary A.com A.DNS\r\nprimary c.com c.dns\r\n"
                        "secondary Z.net 10.0.0.1 10.0.0.2  10.0.0.3 Z.BAK\r\nsecondary y.net 10.0.0.9 y.bak\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.zoneLists.primdns,
             (QStringList{QStringLiteral("b.com"), QStringLiteral("a.com"), QStringLiteral("c.com")}));
    QCOMPARE(server.state.zoneLists.primfiles,
             (QStringList{QStringLiteral("b.dns"), QStringLiteral("a.dns"), QStringLiteral("c.dns")}));
    const QList<ZoneGridRow> primary{{QStringLiteral("a.com"), QString(), QStringLiteral("a.dns")},
                                     {QStringLiteral("b.com"), QString(), QStringLiteral("b.dns")},
                                     {QStringLiteral("c.com"), QString(), QStringLiteral("c.dns")}};
    QCOMPARE(server.state.boot.primaryGrid, primary);
    const QList<ZoneGridRow> secondary{{QStringLiteral("y.net"), QStringLiteral("10.0.0.9"), QStringLiteral("y.bak")},
                                       {QStringLiteral("z.net"), QStringLiteral("10.0.0.1"), QStringLiteral("z.bak")}};
    QCOMPARE(server.state.boot.secondaryGrid, secondary);
    QCOMPARE(server.state.boot.secondaryFullGrid.at(1).masters, QStringLiteral("10.0.0.1 10.0.0.2 10.0.0.3"));
    QCOMPARE(server.state.boot.secondaryEntries.first(),
             QStringLiteral("Z.net     10.0.0.1 10.0.0.2 10.0.0.3     Z.BAK"));
}

void TstBootReader::secondaryReverseLines()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot(kHead + "secondary 30.117.206.IN-ADDR.ARPA 10.0.0.1 rev.DNS   ;206.117.30.0 <--> 206.117.30.255 "
                        "on server: 10.0.0.1\r\n");
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.boot.secondaryReverseLines,
             QStringList{QStringLiteral("secondary 30.117.206.IN-ADDR.ARPA 10.0.0.1 rev.DNS")});
    QCOMPARE(server.state.boot.secondaryReverseComments,
             QStringList{QStringLiteral("206.117.30.0 <--> 206.117.30.255 on server: 10.0.0.1")});
    QCOMPARE(server.state.zoneLists.secdns, QStringList());
    QVERIFY(readBytes(server.bootFile())
                .contains("\r\nsecondary 30.117.206.IN-ADDR.ARPA 10.0.0.1 rev.DNS ;206.117.30.0 <--> "
                          "206.117.30.255 on server: 10.0.0.1\r\n"));
}

void TstBootReader::everyReadingStartsEmpty()
{
    Server server;
    server.zones({QStringLiteral("a.dns"), QStringLiteral("cache.dns")});
    server.boot(kHead + "primary a.com a.dns\r\nsecondary s.net 10.0.0.1 s.bak\r\nforwarders 1.2.3.4\r\n");
    QVERIFY(server.read().ok());
    server.state.selection.primdnsname = QStringLiteral("a.com");

    server.file(QStringLiteral("other/named.boot"), "primary b.com b.dns\r\n");
    server.file(QStringLiteral("other/b.dns"));
    server.state.pendingBootFilePath = server.path(QStringLiteral("other/named.boot"));
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("A directory entry could not be found in your boot file. Please "
                                                 "repair or restore your server."));
    QCOMPARE(server.read().status, BootReadStatus::NoDirectory);
    QCOMPARE(server.state.zoneLists.primdns, QStringList{QStringLiteral("b.com")});
    QCOMPARE(server.state.zoneLists.secdns, QStringList());
    QCOMPARE(server.state.boot.parameterLines, QStringList());
    QCOMPARE(server.state.zoneLists.datapath, QString());
    QCOMPARE(server.state.boot.realpath, QString());
    QCOMPARE(server.state.selection.primdnsname, QString());
}

void TstBootReader::mappedDriveFromSettings()
{
    Server server;
    server.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), server.path(QStringLiteral("g")));
    server.store.setText(QStringLiteral("MAPPING"), QStringLiteral("ns1"), QStringLiteral(" g "));
    server.file(QStringLiteral("g/dns/data/cache.dns"));
    server.boot("directory\tc:\\\\dns\\\\data\r\n");
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("A cache entry could not be found in your boot file. This will be "
                                                 "updated for you."));
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.boot.mapdrive, QStringLiteral("g"));
    QCOMPARE(server.state.zoneLists.datapath, server.path(QStringLiteral("g/dns/data")));
    QCOMPARE(server.state.boot.holdpath, QStringLiteral("g:\\\\dns\\\\data"));
    QCOMPARE(server.state.boot.realpath, QStringLiteral("c:\\\\dns\\\\data"));
}

void TstBootReader::unreadableBootFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("no path") << QStringLiteral("no path");
    QTest::newRow("drive without folder") << QStringLiteral("drive");
}

void TstBootReader::unreadableBootFile()
{
    QFETCH(QString, kind);
    Server server;
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(server.bootFile()));
    else if (kind == QLatin1String("no path"))
        server.state.pendingBootFilePath = QStringLiteral(" ");
    else if (kind == QLatin1String("drive"))
        server.state.pendingBootFilePath = QStringLiteral("Q:\\windows\\named.boot");
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("Fatal Error! Your boot file could not be found."));
    QCOMPARE(server.read().status, BootReadStatus::Unreadable);
    QCOMPARE(server.prompter.pending(), 0);
}

void TstBootReader::bootFilePathOnADrive()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot("directory C:\\\\dns\\\\data\r\n");
    server.state.pendingBootFilePath = QStringLiteral("C:\\win\\named.boot");
    server.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("A cache entry could not be found in your boot file. This will be "
                                                 "updated for you."));
    QVERIFY(server.read().ok());
    QCOMPARE(server.state.path, server.path(QStringLiteral("win/")));
}

void TstBootReader::debugLogLines()
{
    Server server;
    server.zones({QStringLiteral("cache.dns")});
    server.boot(kHead);
    server.state.debugLog.setPath(server.path(QStringLiteral("dns.log")));
    QVERIFY(server.state.debugLog.switchOn(QStringLiteral("now")));
    QVERIFY(server.read().ok());
    QList<QByteArray> lines = readBytes(server.path(QStringLiteral("dns.log"))).split('\n');
    lines.removeFirst();
    for (QByteArray& line : lines)
        line = line.trimmed();
    lines.removeAll(QByteArray());
    const QList<QByteArray> expected{"--Entered Bootfile Loading",
                                     "--Bootfile Loading: Processing named.boot",
                                     "--Begin Process Data Dir",
                                     "--End Process Data Dir",
                                     "--Bootfile Loading: Completed Processing named.boot",
                                     "--Begin Saving Bootfile",
                                     "--End Saving Bootfile",
                                     "--Bootfile Procedure Complete"};
    QCOMPARE(lines, expected);
}

QTEST_GUILESS_MAIN(TstBootReader)
#include "tst_bootreader.moc"
