#include "gui/common/progresswindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/datafileviewer.h"
#include "gui/servers/serverinfopage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/filestamp.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonewriter.h"
#include "zonebrowser/zonetree.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

void writeZoneFile(const QString& path, const QString& zone)
{
    ZoneModel model;
    model.sourceofauth = SoaRecord(QStringList{"@", "ns1." + zone + ".", "hostmaster." + zone + ".", "2026010101",
                                               "1080", "3600", "604800", "86400"});
    model.nameservers.appendLine(nameServerAtLine("ns1." + zone + "."));
    model.hostaddrs.appendLine(hostAddressLine("ns1." + zone + ".", QStringLiteral("10.0.0.1")));
    model.hostaddrs.appendLine(hostAddressLine("www." + zone + ".", QStringLiteral("10.0.0.2")));
    writeBytes(path, zoneFileBytes(model));
}

} // namespace

// The zone browser inside the main window, over a server loaded from its boot file: the trees come with the
// loading, and every zone save and zone deletion ends with the boot file.
class TstZoneBrowserMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadingBuildsBothTrees();
    void secondaryClickSelectsFromTheGrid();
    void recordDeletionSavesZoneAndBootFile();
    void bootFileEditedMeanwhileIsKept();
    void zoneDeletionUpdatesBootFileAndGrids();
    void recordValues_data();
    void recordValues();
    void expandedZoneShowsValues();
    void filterShowsMatchingZonesAndRecords();
    void viewZoneFileShowsTheFileAsWritten();
    void keysActOnTheSelectedNode();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QTreeWidgetItem* primaryRoot(const QString& zone) const;
    void pressItem(QTreeWidget* tree, QTreeWidgetItem* item, Qt::MouseButton button);
    // Deletes the second host of example.com from the tree, answering the question; with a refusal expected.
    void deleteSecondHost(DomainEditPage* page, const QString& refusal = QString());

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TstZoneBrowserMain::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<FakePlatform>(path(QStringLiteral("appdata")));
    m_store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
    m_store->setText(QStringLiteral("Drive Table"), QStringLiteral("C"), m_dir->path());
    m_state = std::make_unique<AppState>();
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeZoneFile(path(QStringLiteral("ns/data/example.com.dns")), QStringLiteral("example.com"));
    writeZoneFile(path(QStringLiteral("ns/data/beta.net.dns")), QStringLiteral("beta.net"));
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(path(QStringLiteral("ns/named.boot")), "directory C:\\\\ns\\\\data\r\n"
                                                      "cache . cache.dns\r\n"
                                                      "primary example.com example.com.dns\r\n"
                                                      "primary beta.net beta.net.dns\r\n"
                                                      "secondary sec.example.org 10.0.0.1 10.0.0.2 sec.bak\r\n");
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    // The first showing loads the settings and asks for the administrator's address.
    m_prompter->answerText(QStringLiteral("admin@example.com"));
    m_window->resize(900, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_COMPARE(m_prompter->pending(), 0);
    m_state->defaultos = QStringLiteral("Windows NT 4.X");
    m_state->autoBackup = false;
    m_state->setup.runningSerial = QStringLiteral("2026120701");
    m_state->catalog.add({QStringLiteral("ns@ns.example.com."), path(QStringLiteral("ns/named.boot"))});
    m_window->serverboxChange(QStringLiteral("ns"));
    QVERIFY(m_state->serverLoaded);
    m_window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(m_window->domainEdit());
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TstZoneBrowserMain::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
    m_window.reset();
}

QTreeWidgetItem* TstZoneBrowserMain::primaryRoot(const QString& zone) const
{
    const QList<QTreeWidgetItem*> found = m_window->domainEdit()->primaryTree->findItems(zone, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void TstZoneBrowserMain::pressItem(QTreeWidget* tree, QTreeWidgetItem* item, Qt::MouseButton button)
{
    QVERIFY(item);
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mousePress(tree->viewport(), button, {}, at);
    QTest::mouseRelease(tree->viewport(), button, {}, at);
}

void TstZoneBrowserMain::loadingBuildsBothTrees()
{
    DomainEditPage* page = m_window->domainEdit();
    QCOMPARE(page->primcount->text(), QStringLiteral("(2)"));
    QCOMPARE(page->seccount->text(), QStringLiteral("(1)"));
    QCOMPARE(page->primaryTree->topLevelItem(0)->text(0), QStringLiteral("beta.net"));
    QCOMPARE(page->primaryTree->topLevelItem(1)->text(0), QStringLiteral("example.com"));
    QCOMPARE(page->secondaryTree->topLevelItem(0)->text(0), QStringLiteral("sec.example.org"));
    QVERIFY(!page->deleteprimary->isEnabled());
}

void TstZoneBrowserMain::secondaryClickSelectsFromTheGrid()
{
    DomainEditPage* page = m_window->domainEdit();
    pressItem(page->secondaryTree, page->secondaryTree->topLevelItem(0), Qt::LeftButton);
    QCOMPARE(m_state->selection.secdnsname, QStringLiteral("sec.example.org"));
    QCOMPARE(m_state->selection.secipaddr, QStringLiteral("10.0.0.1 10.0.0.2"));
    QVERIFY(page->delsecondary->isEnabled());
}

void TstZoneBrowserMain::deleteSecondHost(DomainEditPage* page, const QString& refusal)
{
    QTreeWidgetItem* zone = primaryRoot(QStringLiteral("example.com"));
    zone->setExpanded(true);
    QTreeWidgetItem* hosts = zone->child(3);
    hosts->setExpanded(true);
    pressItem(page->primaryTree, hosts->child(1), Qt::RightButton);
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete the host www.example.com. (10.0.0.2)?"));
    if (!refusal.isEmpty())
        m_prompter->expectMessage(QStringLiteral("Error"), refusal);
    page->deleteRecordAction->trigger();
    page->primaryMenu->hide();
}

void TstZoneBrowserMain::recordDeletionSavesZoneAndBootFile()
{
    DomainEditPage* page = m_window->domainEdit();
    // Every write puts a new file in place, so a new inode shows that the boot file was written again.
    const quint64 bootBefore = FileStamp::of(path(QStringLiteral("ns/named.boot"))).inode;

    deleteSecondHost(page);

    const QStringList lines = splitTextLines(readBytes(path(QStringLiteral("ns/data/example.com.dns"))));
    QCOMPARE(lines.at(8), QStringLiteral("2026120702"));
    QVERIFY(!lines.contains(QStringLiteral("www.example.com.     IN     A     10.0.0.2 ")));
    const QByteArray bootAfter = readBytes(path(QStringLiteral("ns/named.boot")));
    QVERIFY(FileStamp::of(path(QStringLiteral("ns/named.boot"))).inode != bootBefore);
    QVERIFY(bootAfter.contains("primary     example.com     example.com.dns"));
    QVERIFY(m_window->progressWindow()->isHidden());
}

void TstZoneBrowserMain::bootFileEditedMeanwhileIsKept()
{
    DomainEditPage* page = m_window->domainEdit();
    // Another program (here a person with an editor) changes the boot file while the server is loaded: the
    // deletion must not write the loaded copy over that change.
    const QString bootFile = path(QStringLiteral("ns/named.boot"));
    QFile boot(bootFile);
    QVERIFY(boot.open(QIODevice::Append));
    boot.write("; written by hand\r\n");
    boot.close();
    const QByteArray edited = readBytes(bootFile);
    const QByteArray zoneBefore = readBytes(path(QStringLiteral("ns/data/example.com.dns")));

    deleteSecondHost(page, QStringLiteral("The boot file %1 was changed by another program since it was read, so "
                                          "nothing was changed. Select the server again to read it anew.")
                               .arg(bootFile));

    QCOMPARE(readBytes(bootFile), edited);
    QCOMPARE(readBytes(path(QStringLiteral("ns/data/example.com.dns"))), zoneBefore);
    QVERIFY(m_window->progressWindow()->isHidden());
}

void TstZoneBrowserMain::zoneDeletionUpdatesBootFileAndGrids()
{
    DomainEditPage* page = m_window->domainEdit();
    pressItem(page->primaryTree, primaryRoot(QStringLiteral("example.com")), Qt::LeftButton);
    QVERIFY(page->deleteprimary->isEnabled());
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete example.com?"));
    QTest::mouseClick(page->deleteprimary, Qt::LeftButton);

    QVERIFY(!QFile::exists(path(QStringLiteral("ns/data/example.com.dns"))));
    const QByteArray bootAfter = readBytes(path(QStringLiteral("ns/named.boot")));
    QVERIFY(!bootAfter.contains("example.com"));
    QVERIFY(bootAfter.contains("primary     beta.net     beta.net.dns"));
    QCOMPARE(m_state->zoneLists.primdns, QStringList{QStringLiteral("beta.net")});
    QCOMPARE(m_state->boot.primaryEntries, QStringList{QStringLiteral("beta.net     beta.net.dns")});
    QCOMPARE(page->primaryTree->topLevelItemCount(), 1);
    QCOMPARE(page->primcount->text(), QStringLiteral("(1)"));
    QTableWidget* grid = m_window->serverInfo()->primgrid;
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("beta.net"));
    QVERIFY(m_window->progressWindow()->isHidden());
    QCOMPARE(m_window->statusText(),
             QStringLiteral("Zone example.com deleted: its file removed and the boot file written."));
}

void TstZoneBrowserMain::recordValues_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("address") << QStringLiteral("www.example.com.     IN     A     10.0.0.2 ")
                             << QStringLiteral("10.0.0.2");
    QTest::newRow("mail priority and host") << QStringLiteral("example.com.     IN     MX 10     mail.example.com. ")
                                            << QStringLiteral("10 mail.example.com.");
    QTest::newRow("alias target") << QStringLiteral("ftp\tIN\tCNAME\twww") << QStringLiteral("www");
    QTest::newRow("time to live first") << QStringLiteral("www 3600 IN A 10.0.0.9")
                                        << QStringLiteral("10.0.0.9  (TTL 3600)");
    QTest::newRow("time to live after the class")
        << QStringLiteral("www IN 1h A 10.0.0.9") << QStringLiteral("10.0.0.9  (TTL 1h)");
    QTest::newRow("quoted text keeps its blanks")
        << QStringLiteral("info  IN  TXT  \"room 12,   floor 3\" ") << QStringLiteral("\"room 12,   floor 3\"");
    QTest::newRow("no data") << QStringLiteral("@ IN NS") << QString();
}

void TstZoneBrowserMain::recordValues()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    QCOMPARE(recordValueText(line), value);
}

void TstZoneBrowserMain::expandedZoneShowsValues()
{
    QTreeWidgetItem* zone = primaryRoot(QStringLiteral("example.com"));
    zone->setExpanded(true);
    QTreeWidgetItem* timing = zone->child(0);
    QCOMPARE(timing->child(0)->text(1), QStringLiteral("hostmaster.example.com."));
    QCOMPARE(timing->child(1)->text(1), QStringLiteral("2026010101"));
    QCOMPARE(timing->child(5)->text(1), QStringLiteral("86400"));
    QCOMPARE(zone->child(1)->child(0)->text(1), QStringLiteral("ns1.example.com."));
    QTreeWidgetItem* hosts = zone->child(3);
    QCOMPARE(hosts->child(0)->text(0), QStringLiteral("ns1.example.com."));
    QCOMPARE(hosts->child(0)->text(1), QStringLiteral("10.0.0.1"));
    QCOMPARE(hosts->child(1)->text(1), QStringLiteral("10.0.0.2"));

    // A record deleted from the tree takes its value with it; the others keep theirs.
    pressItem(m_window->domainEdit()->primaryTree, hosts->child(0), Qt::RightButton);
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete the host ns1.example.com. (10.0.0.1)?"));
    m_window->domainEdit()->deleteRecordAction->trigger();
    m_window->domainEdit()->primaryMenu->hide();
    QCOMPARE(hosts->childCount(), 1);
    QCOMPARE(hosts->child(0)->text(0), QStringLiteral("www.example.com."));
    QCOMPARE(hosts->child(0)->text(1), QStringLiteral("10.0.0.2"));
    QVERIFY(m_window->statusText().startsWith(
        QStringLiteral("Zone example.com saved: 2 files written, example.com.dns (serial 2026120702)")));
}

void TstZoneBrowserMain::filterShowsMatchingZonesAndRecords()
{
    DomainEditPage* page = m_window->domainEdit();
    QTreeWidgetItem* example = primaryRoot(QStringLiteral("example.com"));
    QTreeWidgetItem* beta = primaryRoot(QStringLiteral("beta.net"));
    // By name.
    page->filtertext->setText(QStringLiteral("BETA"));
    QTRY_VERIFY(example->isHidden());
    QVERIFY(!beta->isHidden());
    // By what the zone file holds: a zone found so shows only its records that hold the text.
    page->filtertext->setText(QStringLiteral("ns1.example"));
    QTRY_VERIFY(beta->isHidden());
    QVERIFY(!example->isHidden());
    example->setExpanded(true);
    QTreeWidgetItem* hosts = example->child(3);
    QVERIFY(!hosts->isHidden());
    QVERIFY(!hosts->child(0)->isHidden());
    QVERIFY(hosts->child(1)->isHidden());
    QVERIFY(example->child(0)->isHidden()); // "Update Timing": no field holds it
    QVERIFY(!example->child(1)->isHidden());
    // By a value only.
    page->filtertext->setText(QStringLiteral("10.0.0.2"));
    QTRY_VERIFY(hosts->child(0)->isHidden());
    QVERIFY(!hosts->child(1)->isHidden());
    QVERIFY(!beta->isHidden());
    // Nothing to filter by: everything again.
    page->filtertext->clear();
    QTRY_VERIFY(!hosts->child(0)->isHidden());
    QVERIFY(!example->child(0)->isHidden());
}

void TstZoneBrowserMain::viewZoneFileShowsTheFileAsWritten()
{
    DomainEditPage* page = m_window->domainEdit();
    page->primaryTree->setCurrentItem(primaryRoot(QStringLiteral("beta.net")));
    QString shown;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto* viewer = qobject_cast<DatafileViewer*>(QApplication::activeModalWidget());
        QVERIFY(viewer);
        shown = viewer->datatext->toPlainText();
        title = viewer->windowTitle();
        QVERIFY(viewer->datatext->isReadOnly());
        viewer->closeviewer->click();
    });
    page->viewzonefile->click();
    QCOMPARE(shown, QString::fromLatin1(readBytes(path(QStringLiteral("ns/data/beta.net.dns")))).remove(u'\r'));
    QVERIFY(title.startsWith(QStringLiteral("beta.net - ")));
}

void TstZoneBrowserMain::keysActOnTheSelectedNode()
{
    DomainEditPage* page = m_window->domainEdit();
    QTreeWidgetItem* zone = primaryRoot(QStringLiteral("beta.net"));
    zone->setExpanded(true);
    QTreeWidgetItem* hosts = zone->child(3);
    hosts->setExpanded(true);
    // Keys reach the tree of the active window that has the keyboard.
    m_window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
    page->primaryTree->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), page->primaryTree);

    // Delete asks as the menu's "Delete" does.
    page->primaryTree->setCurrentItem(hosts->child(1));
    const qsizetype promptsBefore = m_prompter->prompts().size();
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete the host www.beta.net. (10.0.0.2)?"),
                              Prompter::Button::Cancel);
    QTest::keyClick(page->primaryTree, Qt::Key_Delete);
    QCOMPARE(m_prompter->prompts().size(), promptsBefore + 1);
    QCOMPARE(hosts->childCount(), 2);

    // F5 reads the zone's file again.
    ZoneModel model;
    model.sourceofauth = SoaRecord(
        QStringList{"@", "ns1.beta.net.", "hostmaster.beta.net.", "2026010102", "1080", "3600", "604800", "86400"});
    model.hostaddrs.appendLine(hostAddressLine(QStringLiteral("new.beta.net."), QStringLiteral("10.0.0.3")));
    writeBytes(path(QStringLiteral("ns/data/beta.net.dns")), zoneFileBytes(model));
    page->primaryTree->setCurrentItem(hosts);
    QTRY_COMPARE(QApplication::activeWindow(), m_window.get());
    QTest::keyClick(page->primaryTree, Qt::Key_F5);
    QTreeWidgetItem* reread = primaryRoot(QStringLiteral("beta.net"))->child(3);
    QCOMPARE(reread->childCount(), 1);
    QCOMPARE(reread->child(0)->text(0), QStringLiteral("new.beta.net."));
    QCOMPARE(reread->child(0)->text(1), QStringLiteral("10.0.0.3"));
}

QTEST_MAIN(TstZoneBrowserMain)
#include "tst_zonebrowsermain.moc"
