#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingProgress : public Progress
{
public:
    explicit RecordingProgress(QStringList& events) : m_events(events) {}
    void showProgress() override { m_events << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { m_events << QStringLiteral("caption ") + caption; }
    void setProgress(int percent) override { m_events << QString::number(percent); }
    void hideProgress() override { m_events << QStringLiteral("hide"); }

private:
    QStringList& m_events;
};

// Two servers in a temporary folder, "ns1" listed before "ns", each with its own data directory.
struct Servers
{
    Servers()
    {
        store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
        for (const QString& name : {QStringLiteral("ns1"), QStringLiteral("ns")}) {
            QDir().mkpath(path(name + QStringLiteral("/data")));
            writeBytes(path(name + QStringLiteral("/data/") + name + QStringLiteral(".dns")), QByteArray());
            writeBytes(path(name + QStringLiteral("/data/cache.dns")), QByteArray());
            writeBytes(path(name + QStringLiteral("/named.boot")),
                       "directory C:\\\\" + name.toLatin1() + "\\\\data\r\ncache . cache.dns\r\nprimary " +
                           name.toLatin1() + ".example.com " + name.toLatin1() + ".dns\r\n");
            state.catalog.add({name + QStringLiteral("@") + name + QStringLiteral(".example.com."),
                               path(name + QStringLiteral("/named.boot"))});
        }
        state.defaultos = QStringLiteral("Windows NT 4.X");
        state.autoBackup = false;
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }

    ServerContext context()
    {
        ServerHooks hooks;
        hooks.buildPrimaryTree = [this] { events << QStringLiteral("primary tree"); };
        hooks.buildSecondaryTree = [this] { events << QStringLiteral("secondary tree"); };
        hooks.showStatus = [this](const QString& text) { events << QStringLiteral("status ") + text; };
        return ServerContext{state, store, prompter, platform, progress, hooks};
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform{dir.path()};
    QStringList events;
    RecordingProgress progress{events};
};

} // namespace

class TstServerLoading : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findsTheFirstRowWithThatDisplayName();
    void selectingNsDoesNotTakeNs1();
    void selectingNothing_data();
    void selectingNothing();
    void unknownServer();
    void loadingRunsItsStepsInOrder();
    void automaticBackupReportsInTheStatusBar();
    void automaticBackupNeedsAReadBootFile();
    void loadingWithoutAServerName();
    void loadingGoesOnWhenTheBootFileIsMissing();
    void missingZoneFileQuestionDuringLoading();
};

void TstServerLoading::findsTheFirstRowWithThatDisplayName()
{
    ServerCatalog catalog;
    catalog.add({QStringLiteral("ns1@a."), QStringLiteral("/a")});
    catalog.add({QStringLiteral("ns@b."), QStringLiteral("/b")});
    catalog.add({QStringLiteral("ns@c."), QStringLiteral("/c")});
    catalog.add({QStringLiteral("nsx"), QStringLiteral("/d")});
    QCOMPARE(findServerRow(catalog, QStringLiteral("ns")), 1);
    QCOMPARE(findServerRow(catalog, QStringLiteral("ns1")), 0);
    QCOMPARE(findServerRow(catalog, QStringLiteral("nsx")), 3);
    QCOMPARE(findServerRow(catalog, QStringLiteral("n")), -1);
    catalog.markDeleted(1);
    QCOMPARE(findServerRow(catalog, QStringLiteral("ns")), 2);
}

void TstServerLoading::selectingNsDoesNotTakeNs1()
{
    Servers servers;
    ServerContext context = servers.context();
    const LoadOutcome outcome = selectServer(context, QStringLiteral("ns"));
    QVERIFY(outcome.attempted);
    QVERIFY(outcome.boot.ok());
    QCOMPARE(servers.state.pendingServerId, QStringLiteral("ns@ns.example.com."));
    QCOMPARE(servers.state.pendingBootFilePath, servers.path(QStringLiteral("ns/named.boot")));
    QCOMPARE(servers.state.zoneLists.firstzone, QStringLiteral("ns.example.com."));
    QCOMPARE(servers.state.servername, QStringLiteral("ns"));
    QCOMPARE(servers.state.zoneLists.primdns, QStringList{QStringLiteral("ns.example.com")});
    QCOMPARE(servers.state.zoneLists.datapath, servers.path(QStringLiteral("ns/data")));
}

void TstServerLoading::selectingNothing_data()
{
    QTest::addColumn<QString>("boxText");
    QTest::newRow("empty") << QString();
    QTest::newRow("one blank") << QStringLiteral(" ");
}

void TstServerLoading::selectingNothing()
{
    QFETCH(QString, boxText);
    Servers servers;
    servers.prompter.expectMessage(QStringLiteral("Attention."), QStringLiteral("You must first select a server."));
    ServerContext context = servers.context();
    QVERIFY(!selectServer(context, boxText).attempted);
    QCOMPARE(servers.events, QStringList());
    QCOMPARE(servers.state.pendingServerId, QString());
}

void TstServerLoading::unknownServer()
{
    Servers servers;
    servers.prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("Server record not found."));
    ServerContext context = servers.context();
    QVERIFY(!selectServer(context, QStringLiteral("ns2")).attempted);
    QVERIFY(!servers.state.serverLoaded);
}

void TstServerLoading::loadingRunsItsStepsInOrder()
{
    Servers servers;
    ServerContext context = servers.context();
    QVERIFY(selectServer(context, QStringLiteral("ns1")).boot.ok());
    const QStringList expected{QStringLiteral("caption Loading Data Files..."),
                               QStringLiteral("show"),
                               QStringLiteral("20"),
                               QStringLiteral("40"),
                               QStringLiteral("60"),
                               QStringLiteral("primary tree"),
                               QStringLiteral("80"),
                               QStringLiteral("secondary tree"),
                               QStringLiteral("90"),
                               QStringLiteral("100"),
                               QStringLiteral("caption Progress..."),
                               QStringLiteral("hide")};
    QCOMPARE(servers.events, expected);
    QVERIFY(servers.state.serverLoaded);
}

void TstServerLoading::automaticBackupReportsInTheStatusBar()
{
    Servers servers;
    servers.state.autoBackup = true;
    ServerContext context = servers.context();
    QVERIFY(selectServer(context, QStringLiteral("ns")).boot.ok());
    const qsizetype at = servers.events.indexOf(QStringLiteral("90"));
    QCOMPARE(servers.events.mid(at, 11),
             (QStringList{QStringLiteral("90"), QStringLiteral("status Data files have been saved."),
                          QStringLiteral("show"), QStringLiteral("caption Backing up data files..."),
                          QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("85"), QStringLiteral("100"),
                          QStringLiteral("caption Progress..."), QStringLiteral("hide"), QStringLiteral("100")}));
    // The data files and the boot file are in the backup folder, and no box was shown.
    QCOMPARE(QDir(servers.path(QStringLiteral("ns/data/dnsbackup"))).entryList(QDir::Files),
             (QStringList{QStringLiteral("cache.dns"), QStringLiteral("named.boot"), QStringLiteral("ns.dns")}));
    QCOMPARE(readBytes(servers.path(QStringLiteral("ns/data/dnsbackup/named.boot"))),
             readBytes(servers.path(QStringLiteral("ns/named.boot"))));
    QVERIFY(servers.prompter.prompts().isEmpty());
}

void TstServerLoading::automaticBackupNeedsAReadBootFile()
{
    Servers servers;
    servers.state.autoBackup = true;
    QVERIFY(QFile::remove(servers.path(QStringLiteral("ns/named.boot"))));
    servers.prompter.expectMessage(QStringLiteral("Attention!"),
                                   QStringLiteral("Fatal Error! Your boot file could not be found."));
    ServerContext context = servers.context();
    QCOMPARE(selectServer(context, QStringLiteral("ns")).boot.status, BootReadStatus::Unreadable);
    QVERIFY(!servers.events.contains(QStringLiteral("status Data files have been saved.")));
    QVERIFY(!QFileInfo::exists(servers.path(QStringLiteral("ns/data/dnsbackup"))));
}

void TstServerLoading::loadingWithoutAServerName()
{
    Servers servers;
    servers.state.pendingServerId = QStringLiteral(" ");
    servers.prompter.expectMessage(QStringLiteral("Error"), QStringLiteral("You must first select a server."));
    ServerContext context = servers.context();
    QVERIFY(!loadServer(context).attempted);
    QCOMPARE(servers.events, QStringList());
}

void TstServerLoading::loadingGoesOnWhenTheBootFileIsMissing()
{
    Servers servers;
    QVERIFY(QFile::remove(servers.path(QStringLiteral("ns/named.boot"))));
    servers.prompter.expectMessage(QStringLiteral("Attention!"),
                                   QStringLiteral("Fatal Error! Your boot file could not be found."));
    ServerContext context = servers.context();
    const LoadOutcome outcome = selectServer(context, QStringLiteral("ns"));
    QVERIFY(outcome.attempted);
    QCOMPARE(outcome.boot.status, BootReadStatus::Unreadable);
    QVERIFY(servers.events.contains(QStringLiteral("primary tree")));
    QCOMPARE(servers.events.last(), QStringLiteral("hide"));
    QCOMPARE(servers.state.zoneLists.primdns, QStringList());
}

void TstServerLoading::missingZoneFileQuestionDuringLoading()
{
    Servers servers;
    QVERIFY(QFile::remove(servers.path(QStringLiteral("ns/data/ns.dns"))));
    servers.prompter.expectMessage(QStringLiteral("Information"),
                                   QStringLiteral("ns.dns corresponding to ns.example.com cannot be found. This entry "
                                                  "will be removed from your boot file.Would you like to move to "
                                                  "another data directory where this file may be located?"),
                                   Prompter::Button::No);
    ServerContext context = servers.context();
    QVERIFY(selectServer(context, QStringLiteral("ns")).boot.ok());
    // The question came while the progress window was up.
    QCOMPARE(servers.events.mid(0, 3), (QStringList{QStringLiteral("caption Loading Data Files..."),
                                                    QStringLiteral("show"), QStringLiteral("20")}));
    QVERIFY(!readBytes(servers.path(QStringLiteral("ns/named.boot"))).contains("ns.example.com"));
}

QTEST_GUILESS_MAIN(TstServerLoading)
#include "tst_serverloading.moc"
