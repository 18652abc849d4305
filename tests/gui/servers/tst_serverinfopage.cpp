#include "gui/common/progresswindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/servers/deleteserverdialog.h"
#include "gui/servers/serverinfopage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

struct Window
{
    Window()
    {
        store.setText(QStringLiteral("Drive Table"), QStringLiteral("C"), dir.path());
        state.version = QStringLiteral("1.50");
        state.defaultos = QStringLiteral("Windows NT 4.X");
        for (const QString& name : {QStringLiteral("ns1"), QStringLiteral("ns")}) {
            file(name + QStringLiteral("/data/cache.dns"), QByteArray());
            file(name + QStringLiteral("/data/") + name + QStringLiteral(".dns"), QByteArray());
            file(name + QStringLiteral("/named.boot"),
                 "directory C:\\\\" + name.toLatin1() + "\\\\data\r\ncache . cache.dns\r\nprimary " + name.toLatin1() +
                     ".example.com " + name.toLatin1() +
                     ".dns\r\nsecondary sec.example.net 10.0.0.1 10.0.0.2 sec.bak\r\n"
                     "secondary 1.10.IN-ADDR.ARPA 10.0.0.1 r.rev ;10.1.0.0 <--> 10.1.255.255 on server: 10.0.0.1\r\n");
            state.catalog.add({name + QStringLiteral("@") + name + QStringLiteral(".example.com."),
                               path(name + QStringLiteral("/named.boot"))});
        }
        saveSettings(state, store);
        main = std::make_unique<MainWindow>(state, store, prompter, platform);
        main->showServerList();
    }

    QString path(const QString& relative) const { return QDir(dir.path()).filePath(relative); }
    void file(const QString& relative, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QVERIFY(writeBytes(path(relative), bytes));
    }
    ServerInfoPage* page() const { return main->serverInfo(); }
    void choose(const QString& name)
    {
        QLineEdit* edit = page()->serverbox->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QTemporaryDir dir;
    SettingsStore store{QDir(dir.path()).filePath(QStringLiteral("settings.ini"))};
    AppState state;
    ScriptedPrompter prompter;
    FakePlatform platform{QDir(dir.path()).filePath(QStringLiteral("appdata"))};
    std::unique_ptr<MainWindow> main;
};

QStringList column(const QTableWidget* grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << grid->item(row, col)->text();
    return texts;
}

} // namespace

class TstServerInfoPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choosingAServerLoadsIt();
    void deleteWithoutServers();
    void deleteDialogDeletesTheLoadedServer();
};

void TstServerInfoPage::choosingAServerLoadsIt()
{
    Window window;
    ServerInfoPage* page = window.page();
    DomainEditPage* edit = window.main->domainEdit();
    QCOMPARE(page->serverbox->count(), 2);
    QVERIFY(!edit->newprimary->isEnabled());
    QVERIFY(!page->stopserver->isEnabled());
    QSignalSpy primaryTree(window.main.get(), &MainWindow::primaryTreeNeeded);
    QSignalSpy secondaryTree(window.main.get(), &MainWindow::secondaryTreeNeeded);
    QSignalSpy bootRead(window.main.get(), &MainWindow::bootFileRead);

    window.choose(QStringLiteral("ns"));

    QCOMPARE(window.state.pendingServerId, QStringLiteral("ns@ns.example.com."));
    QCOMPARE(page->serverbox->currentText(), QStringLiteral("ns"));
    QCOMPARE(page->servernamelabel->text(), QStringLiteral("ns"));
    QCOMPARE(page->bootFileLabel->text(), QStringLiteral("named.boot"));
    QCOMPARE(page->pathlabel->text(), window.path(QStringLiteral("ns/")));
    QCOMPARE(column(page->primgrid, 0), QStringList{QStringLiteral("ns.example.com")});
    QCOMPARE(column(page->primgrid, 1), QStringList{QStringLiteral("ns.dns")});
    QCOMPARE(column(page->secgrid, 1), QStringList{QStringLiteral("10.0.0.1")});
    QCOMPARE(column(page->secgridfull, 1), QStringList{QStringLiteral("10.0.0.1 10.0.0.2")});
    QVERIFY(page->secgridfull->isHidden());
    QCOMPARE(primaryTree.count(), 1);
    QCOMPARE(secondaryTree.count(), 1);
    QCOMPARE(bootRead.count(), 1);
    QCOMPARE(window.main->statusText(), QStringLiteral("Data files have been saved."));
    QVERIFY(!window.main->progressWindow()->isVisible());

    ServerOptionsPage* addl = window.main->serverOptions();
    QCOMPARE(addl->secreverse->count(), 1);
    QCOMPARE(addl->secreverse->item(0)->text(), QStringLiteral("10.1.0.0 <--> 10.1.255.255 on server: 10.0.0.1"));
    for (QPushButton* button :
         {edit->newprimary, edit->fastadd, edit->reversemapping, edit->newsecondary, edit->updatechanges,
          page->stopserver, page->viewstats, addl->getcache, addl->updateoptions, addl->addsecreverse})
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QVERIFY(!addl->delsecreverse->isEnabled());
    QVERIFY(!edit->deleteprimary->isEnabled());
    QCOMPARE(window.prompter.prompts().size(), 0);
}

void TstServerInfoPage::deleteWithoutServers()
{
    Window window;
    window.state.catalog.clear();
    window.prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("There are no servers to delete!"));
    window.page()->deleteserver->click();
    QCOMPARE(window.prompter.pending(), 0);
    QVERIFY(!window.main->findChild<DeleteServerDialog*>());
}

void TstServerInfoPage::deleteDialogDeletesTheLoadedServer()
{
    Window window;
    ServerInfoPage* page = window.page();
    QCOMPARE(page->deleteserver->toolTip(), QStringLiteral("Delete the selected DNS Server.  This cannot be undone."));
    window.choose(QStringLiteral("ns"));
    QVERIFY(window.state.serverLoaded);
    QSignalSpy cleared(window.main.get(), &MainWindow::zoneTreesCleared);

    window.prompter.expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must first select a server."));
    // Before anything goes, the files that will go are named and the user may still say no.
    const QString data = window.path(QStringLiteral("ns/data/"));
    window.prompter.expectMessage(
        QStringLiteral("Question!"),
        QStringLiteral("Delete the server ns? These 3 files will be deleted and cannot be restored:\n") +
            window.path(QStringLiteral("ns/named.boot")) + QStringLiteral("\n") + data + QStringLiteral("cache.dns\n") +
            data + QStringLiteral("ns.dns"),
        Prompter::Button::Yes);
    window.prompter.expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("Your server has been successfully deleted."));
    QStringList shownNames;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DeleteServerDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Delete Server"));
        for (int i = 0; i < dialog->serverlist->count(); ++i)
            shownNames << dialog->serverlist->item(i)->text();
        QTest::mouseClick(dialog->deleteit, Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        dialog->serverlist->setCurrentRow(1);
        QTest::mouseClick(dialog->deleteit, Qt::LeftButton);
    });
    page->deleteserver->click();

    QCOMPARE(shownNames, (QStringList{QStringLiteral("ns1"), QStringLiteral("ns")}));
    QVERIFY(stayedOpen);
    QCOMPARE(window.prompter.pending(), 0);
    QVERIFY(!QFile::exists(window.path(QStringLiteral("ns/named.boot"))));
    QVERIFY(!QFile::exists(window.path(QStringLiteral("ns/data/ns.dns"))));
    QVERIFY(QFile::exists(window.path(QStringLiteral("ns1/named.boot"))));
    QCOMPARE(page->serverbox->count(), 1);
    QCOMPARE(page->serverbox->itemText(0), QStringLiteral("ns1"));
    QCOMPARE(page->serverbox->currentText(), QString());
    QCOMPARE(page->servernamelabel->text(), QStringLiteral("Not Loaded"));
    QCOMPARE(page->bootFileLabel->text(), QString());
    QCOMPARE(page->primgrid->rowCount(), 0);
    QCOMPARE(page->secgrid->rowCount(), 0);
    QCOMPARE(window.main->serverOptions()->secreverse->count(), 0);
    QCOMPARE(cleared.count(), 1);
    QVERIFY(!window.main->domainEdit()->newprimary->isEnabled());
    QVERIFY(!page->stopserver->isEnabled());
    QCOMPARE(window.main->statusText(), QStringLiteral("Server ns deleted: 3 files removed."));
}

QTEST_MAIN(TstServerInfoPage)
#include "tst_serverinfopage.moc"
