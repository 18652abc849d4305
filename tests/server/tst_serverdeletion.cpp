#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "server/serverdeletion.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingProgress : public Progress
{
public:
    void showProgress() override { steps << QStringLiteral("show"); }
    void setProgressCaption(const QString& caption) override { steps << caption; }
    void setProgress(int percent) override { steps << QString::number(percent); }
    void hideProgress() override { steps << QStringLiteral("hide"); }
    QStringList steps;
};

const QString kAttention = QStringLiteral("Attention!");

// Servers "a", "b" and "c" in a temporary folder, drive C standing for it; each names "C:\<name>\data" unless
// a test gives it another boot file.
struct Catalog
{
    Catalog()
    {
        store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
        state.version = QStringLiteral("1.50");
        state.defaultos = QStringLiteral("Windows NT 4.X");
        state.autoBackup = false;
        for (const QString& name : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
            file(name + QStringLiteral("/named.boot"),
                 "directory C:\\\\" + name.toLatin1() + "\\\\data\r\ncache . cache.dns\r\n");
            file(name + QStringLiteral("/data/cache.dns"), "hints");
            file(name + QStringLiteral("/data/") + name + QStringLiteral(".dns"), "zone");
            state.catalog.add({name + QStringLiteral("@") + name + QStringLiteral(".example.com."),
                               path(name + QStringLiteral("/named.boot"))});
        }
        saveSettings(state, store);
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    void file(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QVERIFY(writeBytes(path(relative), bytes));
    }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    QStringList names() const { return state.catalog.displayNames(); }

    ServerContext context()
    {
        ServerHooks hooks;
        hooks.clearZoneTrees = [this] { ++treesCleared; };
        return ServerContext{state, store, prompter, platform, progress, hooks};
    }
    void remove(const QString& name, bool loaded = false)
    {
        ServerContext c = context();
        deleteServer(c, path(name + QStringLiteral("/named.boot")),
                     name + QStringLiteral("@") + name + QStringLiteral(".example.com."), loaded);
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform{QDir(dir.path()).filePath(QStringLiteral("appdata"))};
    RecordingProgress progress;
    int treesCleared = 0;
};

} // namespace

class TstServerDeletion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void deletesTheBootFileAndTheDataFilesOnly();
    void keepsADataDirectoryAnotherServerUses();
    void keepsABootFileAnotherServerUses();
    void neverFollowsALinkOutOfTheDataDirectory();
    void keepsAnotherServersBootFileInTheDataDirectory();
    void missingBootFileAsksForTheDataDirectory();
    void cancellingTheBrowserKeepsEveryFile();
    void bootFileWithoutDirectoryLine();
    void mappedServerIsDeletedOnItsMappedDrive();
    void deletingTheLoadedServerUnloadsIt();
    void deletingAnotherServerLeavesTheLoadedOne();
    void runningSerialSurvivesTheCatalogRebuild();
    void deleteDialogLogic();
};

void TstServerDeletion::deletesTheBootFileAndTheDataFilesOnly()
{
    Catalog catalog;
    catalog.file(QStringLiteral("a/data/.hidden"), "h");
    catalog.file(QStringLiteral("a/data/sub/inner.dns"), "inner");
    catalog.file(QStringLiteral("a/other.txt"), "beside the boot file");
    catalog.remove(QStringLiteral("a"));
    QCOMPARE(catalog.prompter.prompts().size(), 0);
    QVERIFY(!catalog.exists(QStringLiteral("a/named.boot")));
    QCOMPARE(
        QDir(catalog.path(QStringLiteral("a/data"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("sub")});
    QCOMPARE(readBytes(catalog.path(QStringLiteral("a/data/sub/inner.dns"))), QByteArray("inner"));
    QVERIFY(catalog.exists(QStringLiteral("a/other.txt")));
    QVERIFY(catalog.exists(QStringLiteral("b/data/b.dns")));
    QCOMPARE(catalog.names(), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(catalog.store.integer(QStringLiteral("Servers"), QStringLiteral("Number of Servers")), 2);
    QCOMPARE(catalog.store.text(QStringLiteral("Servers"), QStringLiteral("Server 0")),
             QStringLiteral("b@b.example.com.     ") + catalog.path(QStringLiteral("b/named.boot")));
    QCOMPARE(catalog.progress.steps,
             (QStringList{QStringLiteral("show"), QStringLiteral("30"), QStringLiteral("35"), QStringLiteral("55"),
                          QStringLiteral("65"), QStringLiteral("80"), QStringLiteral("90"), QStringLiteral("100"),
                          QStringLiteral("hide")}));
    QCOMPARE(catalog.treesCleared, 0);
}

void TstServerDeletion::keepsADataDirectoryAnotherServerUses()
{
    Catalog catalog;
    catalog.file(QStringLiteral("b/named.boot"), "directory\tC:\\\\a\\\\data\\\\\r\n");
    catalog.prompter.expectMessage(kAttention, QStringLiteral("The data directory ") +
                                                   catalog.path(QStringLiteral("a/data")) +
                                                   QStringLiteral(" is also used by the server b. Its files have not "
                                                                  "been deleted."));
    catalog.remove(QStringLiteral("a"));
    QVERIFY(!catalog.exists(QStringLiteral("a/named.boot")));
    QVERIFY(catalog.exists(QStringLiteral("a/data/a.dns")));
    QVERIFY(catalog.exists(QStringLiteral("a/data/cache.dns")));
    QCOMPARE(catalog.names(), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
}

void TstServerDeletion::keepsABootFileAnotherServerUses()
{
    Catalog catalog;
    catalog.state.catalog.clear();
    catalog.state.catalog.add({QStringLiteral("a@a.example.com."), catalog.path(QStringLiteral("a/named.boot"))});
    catalog.state.catalog.add(
        {QStringLiteral("twin@twin.example.com."), catalog.path(QStringLiteral("a/./named.boot"))});
    catalog.prompter.expectMessage(kAttention, QStringLiteral("The boot file ") +
                                                   catalog.path(QStringLiteral("a/named.boot")) +
                                                   QStringLiteral(" is also used by the server twin. It has not been "
                                                                  "deleted."));
    catalog.prompter.expectMessage(kAttention, QStringLiteral("The data directory ") +
                                                   catalog.path(QStringLiteral("a/data")) +
                                                   QStringLiteral(" is also used by the server twin. Its files have "
                                                                  "not been deleted."));
    catalog.remove(QStringLiteral("a"));
    QVERIFY(catalog.exists(QStringLiteral("a/named.boot")));
    QVERIFY(catalog.exists(QStringLiteral("a/data/a.dns")));
    QCOMPARE(catalog.names(), QStringList{QStringLiteral("twin")});
}

void TstServerDeletion::neverFollowsALinkOutOfTheDataDirectory()
{
    Catalog catalog;
    catalog.file(QStringLiteral("outside/precious.txt"), "keep me");
    catalog.file(QStringLiteral("outside/folder/deep.txt"), "keep me too");
    QVERIFY(QFile::link(catalog.path(QStringLiteral("outside/precious.txt")),
                        catalog.path(QStringLiteral("a/data/to-file"))));
    QVERIFY(
        QFile::link(catalog.path(QStringLiteral("outside/folder")), catalog.path(QStringLiteral("a/data/to-folder"))));
    QVERIFY(QFile::link(catalog.path(QStringLiteral("outside/gone")), catalog.path(QStringLiteral("a/data/dangling"))));
    catalog.remove(QStringLiteral("a"));
    QCOMPARE(readBytes(catalog.path(QStringLiteral("outside/precious.txt"))), QByteArray("keep me"));
    QCOMPARE(readBytes(catalog.path(QStringLiteral("outside/folder/deep.txt"))), QByteArray("keep me too"));
    QVERIFY(!QFileInfo(catalog.path(QStringLiteral("a/data/to-file"))).isSymLink());
    QVERIFY(!QFileInfo(catalog.path(QStringLiteral("a/data/dangling"))).isSymLink());
    QVERIFY(QFileInfo(catalog.path(QStringLiteral("a/data/to-folder"))).isSymLink());
    QVERIFY(!catalog.exists(QStringLiteral("a/data/a.dns")));
}

void TstServerDeletion::keepsAnotherServersBootFileInTheDataDirectory()
{
    Catalog catalog;
    catalog.file(QStringLiteral("a/data/named.boot"), "directory C:\\\\c\\\\data\r\n");
    catalog.state.catalog.markDeleted(2);
    catalog.state.catalog.add({QStringLiteral("c@c.example.com."), catalog.path(QStringLiteral("a/data/named.boot"))});
    catalog.remove(QStringLiteral("a"));
    QVERIFY(!catalog.exists(QStringLiteral("a/data/a.dns")));
    QCOMPARE(readBytes(catalog.path(QStringLiteral("a/data/named.boot"))), QByteArray("directory C:\\\\c\\\\data\r\n"));
}

void TstServerDeletion::missingBootFileAsksForTheDataDirectory()
{
    Catalog catalog;
    QVERIFY(QFile::remove(catalog.path(QStringLiteral("a/named.boot"))));
    catalog.prompter.expectMessage(kAttention,
                                   QStringLiteral("Your named.boot has already been removed. In order for "
                                                  "Quorvane to delete your data directory, you must locate it."));
    catalog.prompter.answerText(catalog.path(QStringLiteral("no/such/folder")));
    catalog.prompter.answerText(catalog.path(QStringLiteral("a/data")));
    catalog.remove(QStringLiteral("a"));
    QCOMPARE(catalog.prompter.prompts().size(), 3);
    const QString caption = QStringLiteral("Your data directory must be updated. Please locate the data directory of "
                                           "this server on your machine.");
    QCOMPARE(catalog.prompter.prompts().at(1).caption, caption);
    QCOMPARE(catalog.prompter.prompts().at(2).caption, caption);
    QVERIFY(!catalog.exists(QStringLiteral("a/data/a.dns")));
    QCOMPARE(catalog.names(), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
    QVERIFY(!catalog.progress.steps.contains(QStringLiteral("55")));
}

void TstServerDeletion::cancellingTheBrowserKeepsEveryFile()
{
    Catalog catalog;
    catalog.file(QStringLiteral("a/named.boot"), "; nothing useful here\r\n");
    catalog.prompter.expectMessage(kAttention, QStringLiteral("A data directory entry could not be found in your "
                                                              "named.boot file. Please browse for it now."));
    catalog.prompter.answerText(std::nullopt);
    catalog.remove(QStringLiteral("a"));
    QCOMPARE(catalog.prompter.prompts().size(), 2);
    QCOMPARE(catalog.prompter.prompts().at(1).caption,
             QStringLiteral("Press CANCEL to abort searching for the named.boot."));
    QVERIFY(catalog.exists(QStringLiteral("a/named.boot")));
    QVERIFY(catalog.exists(QStringLiteral("a/data/a.dns")));
    QCOMPARE(catalog.names(), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
}

void TstServerDeletion::bootFileWithoutDirectoryLine()
{
    Catalog catalog;
    catalog.file(QStringLiteral("a/named.boot"), "cache . cache.dns\r\n");
    catalog.prompter.expectMessage(kAttention, QStringLiteral("A data directory entry could not be found in your "
                                                              "named.boot file. Please browse for it now."));
    catalog.prompter.answerText(catalog.path(QStringLiteral("a/data")));
    catalog.remove(QStringLiteral("a"));
    QVERIFY(!catalog.exists(QStringLiteral("a/named.boot")));
    QVERIFY(!catalog.exists(QStringLiteral("a/data/a.dns")));
}

void TstServerDeletion::mappedServerIsDeletedOnItsMappedDrive()
{
    Catalog catalog;
    catalog.store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), catalog.path(QStringLiteral("g")));
    catalog.store.setText(QStringLiteral("MAPPING"), QStringLiteral("a"), QStringLiteral("G"));
    catalog.file(QStringLiteral("g/a/data/remote.dns"), "remote");
    catalog.remove(QStringLiteral("a"));
    QVERIFY(!catalog.exists(QStringLiteral("g/a/data/remote.dns")));
    // This machine's own folder of the same name belongs to nobody being deleted.
    QVERIFY(catalog.exists(QStringLiteral("a/data/a.dns")));
    QCOMPARE(catalog.store.text(QStringLiteral("MAPPING"), QStringLiteral("a")), QStringLiteral("G"));
}

void TstServerDeletion::deletingTheLoadedServerUnloadsIt()
{
    Catalog catalog;
    ServerContext context = catalog.context();
    QVERIFY(selectServer(context, QStringLiteral("a")).boot.ok());
    QVERIFY(catalog.state.serverLoaded);
    catalog.remove(QStringLiteral("a"), true);
    QVERIFY(!catalog.state.serverLoaded);
    QCOMPARE(catalog.treesCleared, 1);
    QCOMPARE(catalog.state.servername, QStringLiteral("Not Loaded"));
    QCOMPARE(catalog.state.bootFileName, QString());
    QCOMPARE(catalog.state.pendingServerId, QString());
    QCOMPARE(catalog.state.pendingBootFilePath, QString());
    QCOMPARE(catalog.state.zoneLists.datapath, QString());
    QCOMPARE(catalog.state.boot.bootDirectory, QString());
    QCOMPARE(catalog.state.boot.primaryGrid.size(), 0);
}

void TstServerDeletion::deletingAnotherServerLeavesTheLoadedOne()
{
    Catalog catalog;
    catalog.file(QStringLiteral("b/data/b.dns"), "zone");
    catalog.file(QStringLiteral("b/named.boot"),
                 "directory C:\\\\b\\\\data\r\ncache . cache.dns\r\nprimary b.com b.dns\r\n");
    ServerContext context = catalog.context();
    QVERIFY(selectServer(context, QStringLiteral("b")).boot.ok());
    catalog.remove(QStringLiteral("a"));
    QVERIFY(catalog.state.serverLoaded);
    QCOMPARE(catalog.state.servername, QStringLiteral("b"));
    QCOMPARE(catalog.state.zoneLists.primdns, QStringList{QStringLiteral("b.com")});
    QCOMPARE(catalog.treesCleared, 0);
}

void TstServerDeletion::runningSerialSurvivesTheCatalogRebuild()
{
    Catalog catalog;
    catalog.state.setup.runningSerial = QStringLiteral("2026120714");
    catalog.remove(QStringLiteral("c"));
    QCOMPARE(catalog.state.setup.runningSerial, QStringLiteral("2026120714"));
}

void TstServerDeletion::deleteDialogLogic()
{
    Catalog catalog;
    ServerContext context = catalog.context();
    catalog.prompter.expectMessage(kAttention, QStringLiteral("You must first select a server."));
    QVERIFY(!deleteSelectedServer(context, std::nullopt, QStringLiteral("a")));
    QCOMPARE(catalog.names().size(), 3);

    QVERIFY(selectServer(context, QStringLiteral("b")).boot.ok());
    catalog.prompter.expectMessage(kAttention, QStringLiteral("Your server has been successfully deleted."));
    QVERIFY(deleteSelectedServer(context, QStringLiteral("b"), QStringLiteral("b")));
    QVERIFY(!catalog.state.serverLoaded);
    QCOMPARE(catalog.names(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));

    catalog.prompter.expectMessage(kAttention, QStringLiteral("Your server has been successfully deleted."));
    QVERIFY(deleteSelectedServer(context, QStringLiteral("c"), QStringLiteral("a")));
    QCOMPARE(catalog.treesCleared, 1);
}

QTEST_GUILESS_MAIN(TstServerDeletion)
#include "tst_serverdeletion.moc"
