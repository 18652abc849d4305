#include "gui/zonebrowser/domaineditpage.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zonewriter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace {

const QString kQuestion = QStringLiteral("Question!");

// A zone file of the program's layout. Each zone has two name servers (one written "@"), a mail server
// written "@", two hosts with one name (a host of several addresses), a host, the zone's own address, an
// alias and a person.
void writeZone(const QString& path, const QString& zone, const QString& soaOwner = QStringLiteral("@"))
{
    ZoneModel model;
    model.sourceofauth = SoaRecord(QStringList{soaOwner, "ns1." + zone + ".", "hostmaster." + zone + ".", "2026010101",
                                               "1080", "3600", "604800", "86400"});
    model.nameservers.appendLine(nameServerAtLine("ns1." + zone + "."));
    model.nameservers.appendLine(nameServerAtLine(QStringLiteral("@")));
    model.mailservers.appendLine(mailServerAtLine(QStringLiteral("10"), QStringLiteral("@")));
    model.hostaddrs.appendLine(hostAddressLine("www." + zone + ".", QStringLiteral("10.0.0.1")));
    model.hostaddrs.appendLine(hostAddressLine("www." + zone + ".", QStringLiteral("10.0.0.2")));
    model.hostaddrs.appendLine(hostAddressLine("ns1." + zone + ".", QStringLiteral("10.0.0.3")));
    model.hostaddrs.appendLine(hostAddressLine(QStringLiteral("@"), QStringLiteral("10.0.0.4")));
    model.aliases.appendLine(aliasLine("ftp." + zone + ".", "www." + zone + "."));
    model.appendResponsible(responsiblePersonLine(QStringLiteral("john"), "john." + zone, "john." + zone),
                            textRecordLine(QStringLiteral("john"), QStringLiteral("\"Room 12\"")));
    writeBytes(path, zoneFileBytes(model));
}

QStringList childTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

QStringList rootTexts(const QTreeWidget* tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(0);
    return texts;
}

QStringList linesOf(const QString& path)
{
    return splitTextLines(readBytes(path));
}

} // namespace

class TstZoneBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void countsBeforeAServerIsLoaded();
    void primaryTreeIsSortedWithItsLabels();
    void zoneNamesAreReduced();
    void expandingReadsTheZone();
    void secondaryTree();
    void findAgainAndNoFurther();
    void findOnTheSecondaryTree();
    void findTextChangeResets();
    void findSearchesNamesOnly();
    void sortShowsNewZonesInOrder();
    void contextMenuStates_data();
    void contextMenuStates();
    void secondaryMenuStates();
    void mouseDownSelectsZone();
    void editAndNewWithoutEditors();
    void editOpensTheEditorAtItsRecord_data();
    void editOpensTheEditorAtItsRecord();
    void newOpensAnEmptyEditor();
    void doubleClickOnRootOrLabelDoesNothing();
    void zoneGoneFromTheLists();
    void deleteRecord_data();
    void deleteRecord();
    void deleteHostCleansReverseIgnore();
    void deleteCancelledChangesNothing();
    void recordsStayInTheirOwnZone();
    void deleteZoneFromTheMenu();
    void deleteZoneCancelled();
    void deleteZoneWithoutSelection();
    void deleteZoneWhoseFileIsGone();
    void deleteZoneStealthAsksNothing();
    void deleteZoneOfTenThousandHosts();
    void primaryTreeOfTenThousandZones();

private:
    QTreeWidgetItem* root(const QString& zone) const;
    QTreeWidgetItem* label(const QString& zone, const QString& text);
    void press(QTreeWidget* tree, QTreeWidgetItem* item, Qt::MouseButton button = Qt::RightButton);
    void addZone(const QString& zone, const QString& file);
    QString pathOf(const QString& file) const { return QDir(m_dir->path()).filePath(file); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<DomainEditPage> m_page;
    QStringList m_dropped; // zones taken out of the boot file
};

void TstZoneBrowser::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    m_state->zoneLists.datapath = m_dir->path();
    m_state->setup.runningSerial = QStringLiteral("2026120701");
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_page = std::make_unique<DomainEditPage>(*m_state, *m_prompter);
    m_dropped.clear();
    m_page->setBootFileDrop([this](const QString& zone) {
        m_dropped << zone;
        return FileWriteResult{};
    });
    addZone(QStringLiteral("example.com"), QStringLiteral("example.com.dns"));
    addZone(QStringLiteral("ample.com"), QStringLiteral("ample.com.dns"));
    addZone(QStringLiteral("zeta.org"), QStringLiteral("zeta.org.dns"));
    addZone(QStringLiteral("beta.net"), QStringLiteral("beta.net.dns"));
    m_state->zoneLists.secdns = QStringList{"sec-b.net", "sec-a.com", "other.org"};
    m_state->zoneLists.secfiles = QStringList{"sec-b.net.dns", "sec-a.com.dns", "other.org.dns"};
    m_page->resize(900, 700);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
}

void TstZoneBrowser::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
    // Every busy cursor was taken away again.
    QVERIFY(!QApplication::overrideCursor());
    m_page.reset();
}

void TstZoneBrowser::addZone(const QString& zone, const QString& file)
{
    writeZone(pathOf(file), zone);
    m_state->zoneLists.primdns << zone;
    m_state->zoneLists.primfiles << file;
}

QTreeWidgetItem* TstZoneBrowser::root(const QString& zone) const
{
    const QList<QTreeWidgetItem*> found = m_page->primaryTree->findItems(zone, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QTreeWidgetItem* TstZoneBrowser::label(const QString& zone, const QString& text)
{
    QTreeWidgetItem* zoneRoot = root(zone);
    if (!zoneRoot)
        return nullptr;
    zoneRoot->setExpanded(true);
    for (int i = 0; i < zoneRoot->childCount(); ++i) {
        if (zoneRoot->child(i)->text(0) == text) {
            zoneRoot->child(i)->setExpanded(true);
            return zoneRoot->child(i);
        }
    }
    return nullptr;
}

void TstZoneBrowser::press(QTreeWidget* tree, QTreeWidgetItem* item, Qt::MouseButton button)
{
    QVERIFY(item);
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QCOMPARE(tree->itemAt(at), item);
    QTest::mousePress(tree->viewport(), button, {}, at);
    QTest::mouseRelease(tree->viewport(), button, {}, at);
}

void TstZoneBrowser::countsBeforeAServerIsLoaded()
{
    QCOMPARE(m_page->primcount->text(), QStringLiteral("Not Loaded"));
    QCOMPARE(m_page->seccount->text(), QStringLiteral("Not Loaded"));
    m_page->buildPrimaryTree();
    m_page->buildSecondaryTree();
    QCOMPARE(m_page->primcount->text(), QStringLiteral("(4)"));
    QCOMPARE(m_page->seccount->text(), QStringLiteral("(3)"));
    m_page->clearTrees();
    QCOMPARE(m_page->primcount->text(), QStringLiteral("Not Loaded"));
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 0);
}

void TstZoneBrowser::primaryTreeIsSortedWithItsLabels()
{
    m_page->buildPrimaryTree();
    QCOMPARE(rootTexts(m_page->primaryTree), (QStringList{"ample.com", "beta.net", "example.com", "zeta.org"}));
    for (int i = 0; i < m_page->primaryTree->topLevelItemCount(); ++i)
        QCOMPARE(childTexts(m_page->primaryTree->topLevelItem(i)),
                 (QStringList{"Update Timing", "Name Servers", "Mail Servers", "Host Addresses", "Aliases",
                              "Responsible Persons", "Other Records"}));
    // Nothing was read: the labels wait for the zone to be expanded.
    QCOMPARE(root(QStringLiteral("example.com"))->child(1)->childCount(), 0);
    QCOMPARE(m_state->zoneLists.primdnssort, rootTexts(m_page->primaryTree));
}

void TstZoneBrowser::zoneNamesAreReduced()
{
    m_state->zoneLists.primdns[0] = QStringLiteral("ex am_ple.com");
    m_page->buildPrimaryTree();
    QCOMPARE(m_state->zoneLists.primdns.first(), QStringLiteral("example.com"));
    QVERIFY(root(QStringLiteral("example.com")));
    // The reduced name finds its zone again.
    QTreeWidgetItem* hosts = label(QStringLiteral("example.com"), QStringLiteral("Host Addresses"));
    QCOMPARE(hosts->childCount(), 4);
}

void TstZoneBrowser::expandingReadsTheZone()
{
    m_page->buildPrimaryTree();
    QTreeWidgetItem* zone = root(QStringLiteral("example.com"));
    zone->setExpanded(true);
    QCOMPARE(zone->childCount(), 7);
    QCOMPARE(childTexts(zone->child(0)), (QStringList{"User", "Serial", "Refresh", "Retry", "Expire", "Minimum"}));
    QCOMPARE(zone->child(6)->text(0), QStringLiteral("Other Records"));
    QCOMPARE(zone->child(6)->childCount(), 0);
    QCOMPARE(childTexts(zone->child(1)), (QStringList{"ns1.example.com.", "example.com"}));
    QCOMPARE(childTexts(zone->child(2)), QStringList{"example.com"});
    QCOMPARE(childTexts(zone->child(3)),
             (QStringList{"www.example.com.", "www.example.com.", "ns1.example.com.", "example.com"}));
    QCOMPARE(childTexts(zone->child(4)), QStringList{"ftp.example.com."});
    QCOMPARE(childTexts(zone->child(5)), QStringList{"john"});
    QCOMPARE(m_state->zone.dnsname, QStringLiteral("example.com"));

    // Expanding again reads the file again: a host added meanwhile appears.
    QFile file(pathOf(QStringLiteral("example.com.dns")));
    QVERIFY(file.open(QIODevice::Append));
    file.write("new.example.com.     IN     A     10.0.0.9 \r\n");
    file.close();
    zone->setExpanded(false);
    zone->setExpanded(true);
    QCOMPARE(zone->child(3)->childCount(), 5);
}

void TstZoneBrowser::secondaryTree()
{
    m_page->buildSecondaryTree();
    QCOMPARE(rootTexts(m_page->secondaryTree), (QStringList{"other.org", "sec-a.com", "sec-b.net"}));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(childTexts(m_page->secondaryTree->topLevelItem(i)), QStringList{"Secondary Record"});
}

void TstZoneBrowser::findAgainAndNoFurther()
{
    m_page->buildPrimaryTree();
    QTest::keyClicks(m_page->findprimtext, QStringLiteral("a"));
    // "a" stands in ample.com, beta.net and zeta.org, and in example.com.
    const QStringList expected{"ample.com", "beta.net", "example.com", "zeta.org"};
    for (const QString& zone : expected) {
        QTest::mouseClick(m_page->findprim, Qt::LeftButton);
        QCOMPARE(m_page->primaryTree->currentItem()->text(0), zone);
        QVERIFY(m_page->primaryTree->currentItem()->isExpanded());
        QCOMPARE(m_page->findprim->text(), QStringLiteral("Again"));
    }
    // The expansion read the zone and built its records.
    QCOMPARE(root(QStringLiteral("zeta.org"))->child(3)->childCount(), 4);
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("No further entries could be found."));
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QCOMPARE(m_page->findprim->text(), QStringLiteral("Find"));
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QCOMPARE(m_page->primaryTree->currentItem()->text(0), QStringLiteral("ample.com"));
}

void TstZoneBrowser::findOnTheSecondaryTree()
{
    m_page->buildSecondaryTree();
    QTest::keyClicks(m_page->findsectext, QStringLiteral("sec"));
    QTest::mouseClick(m_page->findsec, Qt::LeftButton);
    QCOMPARE(m_page->secondaryTree->currentItem()->text(0), QStringLiteral("sec-a.com"));
    QCOMPARE(m_page->findsec->text(), QStringLiteral("Again"));
    QTest::mouseClick(m_page->findsec, Qt::LeftButton);
    QCOMPARE(m_page->secondaryTree->currentItem()->text(0), QStringLiteral("sec-b.net"));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("No further entries could be found."));
    QTest::mouseClick(m_page->findsec, Qt::LeftButton);
    QCOMPARE(m_page->findsec->text(), QStringLiteral("Find"));
}

void TstZoneBrowser::findTextChangeResets()
{
    m_page->buildPrimaryTree();
    QTest::keyClicks(m_page->findprimtext, QStringLiteral(".com"));
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QCOMPARE(m_page->primaryTree->currentItem()->text(0), QStringLiteral("example.com"));
    QTest::keyClick(m_page->findprimtext, Qt::Key_Backspace);
    QCOMPARE(m_page->findprim->text(), QStringLiteral("Find"));
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QCOMPARE(m_page->primaryTree->currentItem()->text(0), QStringLiteral("ample.com"));
}

void TstZoneBrowser::findSearchesNamesOnly()
{
    // The index entries carry ordinals; "2" is in none of the names.
    m_page->buildPrimaryTree();
    QTest::keyClicks(m_page->findprimtext, QStringLiteral("2"));
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("No further entries could be found."));
    QTest::mouseClick(m_page->findprim, Qt::LeftButton);
    QCOMPARE(m_page->findprim->text(), QStringLiteral("Find"));
}

void TstZoneBrowser::sortShowsNewZonesInOrder()
{
    m_page->buildPrimaryTree();
    addZone(QStringLiteral("alpha.com"), QStringLiteral("alpha.com.dns"));
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 4);
    QTest::mouseClick(m_page->sortprim, Qt::LeftButton);
    QCOMPARE(rootTexts(m_page->primaryTree),
             (QStringList{"alpha.com", "ample.com", "beta.net", "example.com", "zeta.org"}));
    QCOMPARE(m_page->primcount->text(), QStringLiteral("(5)"));
    m_state->zoneLists.secdns << QStringLiteral("aaa.net");
    m_state->zoneLists.secfiles << QStringLiteral("aaa.net.dns");
    QTest::mouseClick(m_page->sortsec, Qt::LeftButton);
    QCOMPARE(rootTexts(m_page->secondaryTree).first(), QStringLiteral("aaa.net"));
}

void TstZoneBrowser::contextMenuStates_data()
{
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("newOn");
    QTest::addColumn<bool>("deleteOn");
    QTest::addColumn<bool>("editOn");
    QTest::newRow("zone root") << QString() << 0 << false << true << false;
    QTest::newRow("record label") << QStringLiteral("Host Addresses") << 1 << true << false << false;
    QTest::newRow("another record label") << QStringLiteral("Responsible Persons") << 1 << true << false << false;
    QTest::newRow("Update Timing") << QStringLiteral("Update Timing") << 1 << false << false << false;
    QTest::newRow("record node") << QStringLiteral("Mail Servers") << 2 << false << true << true;
    QTest::newRow("field under Update Timing") << QStringLiteral("Update Timing") << 2 << false << false << true;
}

void TstZoneBrowser::contextMenuStates()
{
    QFETCH(QString, labelText);
    QFETCH(int, depth);
    QFETCH(bool, newOn);
    QFETCH(bool, deleteOn);
    QFETCH(bool, editOn);
    m_page->buildPrimaryTree();
    QTreeWidgetItem* item = root(QStringLiteral("beta.net"));
    if (depth >= 1)
        item = label(QStringLiteral("beta.net"), labelText);
    if (depth == 2)
        item = item->child(0);
    // Every state is set, whatever it was before.
    for (QAction* action : {m_page->newRecordAction, m_page->deleteRecordAction, m_page->editRecordAction})
        action->setEnabled(!action->isEnabled());
    press(m_page->primaryTree, item);
    QCOMPARE(m_page->newRecordAction->isEnabled(), newOn);
    QCOMPARE(m_page->deleteRecordAction->isEnabled(), deleteOn);
    QCOMPARE(m_page->editRecordAction->isEnabled(), editOn);
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::secondaryMenuStates()
{
    m_page->buildSecondaryTree();
    QTreeWidgetItem* zone = m_page->secondaryTree->topLevelItem(1);
    press(m_page->secondaryTree, zone);
    QVERIFY(m_page->newSecondaryAction->isEnabled());
    QVERIFY(m_page->deleteSecondaryAction->isEnabled());
    QCOMPARE(m_state->selection.secdnsname, QStringLiteral("sec-a.com"));
    QVERIFY(m_page->delsecondary->isEnabled());
    zone->setExpanded(true);
    press(m_page->secondaryTree, zone->child(0));
    QVERIFY(!m_page->newSecondaryAction->isEnabled());
    QVERIFY(!m_page->deleteSecondaryAction->isEnabled());
    m_page->secondaryMenu->hide();
}

void TstZoneBrowser::mouseDownSelectsZone()
{
    m_page->buildPrimaryTree();
    m_page->deleteprimary->setEnabled(false);
    press(m_page->primaryTree, root(QStringLiteral("zeta.org")), Qt::LeftButton);
    QCOMPARE(m_state->selection.primdnsname, QStringLiteral("zeta.org"));
    QCOMPARE(m_state->selection.primfilename, QStringLiteral("zeta.org.dns"));
    QVERIFY(m_page->deleteprimary->isEnabled());
    // A label selects nothing.
    press(m_page->primaryTree, label(QStringLiteral("beta.net"), QStringLiteral("Aliases")), Qt::LeftButton);
    QCOMPARE(m_state->selection.primdnsname, QStringLiteral("zeta.org"));
}

void TstZoneBrowser::editAndNewWithoutEditors()
{
    m_page->buildPrimaryTree();
    QTreeWidgetItem* hosts = label(QStringLiteral("example.com"), QStringLiteral("Host Addresses"));
    // Without editors the commands read the zone and show nothing.
    press(m_page->primaryTree, hosts->child(0));
    m_page->editRecordAction->trigger();
    QCOMPARE(m_state->zone.hostaddrs.editIndex(), 0);
    press(m_page->primaryTree, hosts);
    m_page->newRecordAction->trigger();
    QCOMPARE(m_state->zone.hostaddrs.editIndex(), -1);
    QCOMPARE(m_prompter->prompts().size(), 0);
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::editOpensTheEditorAtItsRecord_data()
{
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<int>("child");
    QTest::addColumn<int>("kind"); // -1 for the SOA editor
    QTest::newRow("second of two hosts of one name")
        << QStringLiteral("Host Addresses") << 1 << int(RecordKind::HostAddress);
    QTest::newRow("name server written @") << QStringLiteral("Name Servers") << 1 << int(RecordKind::NameServer);
    QTest::newRow("person") << QStringLiteral("Responsible Persons") << 0 << int(RecordKind::ResponsiblePerson);
    QTest::newRow("serial") << QStringLiteral("Update Timing") << 1 << -1;
}

void TstZoneBrowser::editOpensTheEditorAtItsRecord()
{
    QFETCH(QString, labelText);
    QFETCH(int, child);
    QFETCH(int, kind);
    QList<EditorRequest> requests;
    m_page->setEditorOpener([&](const EditorRequest& request) { requests << request; });
    m_page->buildPrimaryTree();
    QTreeWidgetItem* node = label(QStringLiteral("example.com"), labelText)->child(child);
    m_state->zone.clearZone();
    press(m_page->primaryTree, node, Qt::LeftButton);
    QTest::mouseDClick(m_page->primaryTree->viewport(), Qt::LeftButton, {},
                       m_page->primaryTree->visualItemRect(node).center());
    QCOMPARE(requests.size(), 1);
    const ZoneSelection& selection = m_state->selection;
    QCOMPARE(selection.zoneclick, QStringLiteral("example.com"));
    QCOMPARE(selection.typeclick, labelText);
    QCOMPARE(selection.fileclick, node->text(0));
    QCOMPARE(selection.primfilename, QStringLiteral("example.com.dns"));
    // The zone was read anew and its displays built.
    QCOMPARE(m_state->zone.dnsname, QStringLiteral("example.com"));
    QCOMPARE(m_state->zone.soadisplay.size(), 9);
    if (kind < 0) {
        QVERIFY(!requests.first().kind);
        QCOMPARE(requests.first().soaField, QStringLiteral("Serial"));
        return;
    }
    QCOMPARE(int(*requests.first().kind), kind);
    QCOMPARE(requests.first().index, child);
    QCOMPARE(m_state->zone.records(RecordKind(kind)).editIndex(), child);
}

void TstZoneBrowser::newOpensAnEmptyEditor()
{
    QList<EditorRequest> requests;
    m_page->setEditorOpener([&](const EditorRequest& request) { requests << request; });
    m_page->buildPrimaryTree();
    m_state->zone.aliases.setEditIndex(0);
    press(m_page->primaryTree, label(QStringLiteral("ample.com"), QStringLiteral("Aliases")));
    m_page->newRecordAction->trigger();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(*requests.first().kind, RecordKind::Alias);
    QCOMPARE(requests.first().index, -1);
    QCOMPARE(m_state->zone.aliases.editIndex(), -1);
    QCOMPARE(m_state->selection.primfilename, QStringLiteral("ample.com.dns"));
    QCOMPARE(m_state->zone.dnsname, QStringLiteral("ample.com"));
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::doubleClickOnRootOrLabelDoesNothing()
{
    QList<EditorRequest> requests;
    m_page->setEditorOpener([&](const EditorRequest& request) { requests << request; });
    m_page->buildPrimaryTree();
    // A double click may expand the root, which builds its labels anew: each item is looked up when it is used.
    const std::function<QTreeWidgetItem*()> items[] = {
        [this] { return root(QStringLiteral("beta.net")); },
        [this] { return label(QStringLiteral("beta.net"), QStringLiteral("Aliases")); }};
    for (const auto& item : items) {
        QTreeWidgetItem* target = item();
        m_page->primaryTree->scrollToItem(target);
        const QPoint at = m_page->primaryTree->visualItemRect(target).center();
        QTest::mousePress(m_page->primaryTree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(m_page->primaryTree->viewport(), Qt::LeftButton, {}, at);
    }
    QVERIFY(requests.isEmpty());
}

void TstZoneBrowser::zoneGoneFromTheLists()
{
    m_page->buildPrimaryTree();
    QTreeWidgetItem* hosts = label(QStringLiteral("beta.net"), QStringLiteral("Host Addresses"));
    m_state->zoneLists.primdns.removeAll(QStringLiteral("beta.net"));
    press(m_page->primaryTree, hosts->child(0));
    m_prompter->expectMessage(QStringLiteral("Information"),
                              QStringLiteral("There was a file/domain correlation error while trying to load beta.net "
                                             "data files. Please restore your server."));
    m_page->editRecordAction->trigger();
    press(m_page->primaryTree, hosts);
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("System error while in zone processing. Please restore from backup."));
    m_page->newRecordAction->trigger();
    QCOMPARE(m_state->selection.primfilename, QStringLiteral("*"));
    press(m_page->primaryTree, hosts->child(0));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("System error while in zone processing. Please restore from backup."));
    m_page->deleteRecordAction->trigger();
    QCOMPARE(hosts->childCount(), 4);
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::deleteRecord_data()
{
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<int>("child");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("gone"); // the lines the file loses
    QTest::newRow("name server") << QStringLiteral("Name Servers") << 0
                                 << QStringLiteral("Are you sure you want to delete this Name Server?")
                                 << QStringList{"@     IN     NS     ns1.example.com."};
    QTest::newRow("mail server") << QStringLiteral("Mail Servers") << 0
                                 << QStringLiteral("Are you sure you want to delete this Mail Server?")
                                 << QStringList{"@     IN     MX     10     @ "};
    QTest::newRow("second host of one name")
        << QStringLiteral("Host Addresses") << 1
        << QStringLiteral("Are you sure you want to delete the host www.example.com. (10.0.0.2)?")
        << QStringList{"www.example.com.     IN     A     10.0.0.2 "};
    QTest::newRow("alias") << QStringLiteral("Aliases") << 0
                           << QStringLiteral("Are you sure you want to delete this Alias?")
                           << QStringList{"ftp.example.com.     IN     CNAME     www.example.com. "};
    QTest::newRow("person with its text") << QStringLiteral("Responsible Persons") << 0
                                          << QStringLiteral("Are you sure you want to delete this Responsible Person "
                                                            "entry?")
                                          << QStringList{"john     IN     TXT     \"Room 12\" ",
                                                         "john     IN     RP     john.example.com  john.example.com "};
}

void TstZoneBrowser::deleteRecord()
{
    QFETCH(QString, labelText);
    QFETCH(int, child);
    QFETCH(QString, question);
    QFETCH(QStringList, gone);
    m_page->buildPrimaryTree();
    const QString path = pathOf(QStringLiteral("example.com.dns"));
    QStringList expected = linesOf(path);
    for (const QString& line : std::as_const(gone))
        QVERIFY(expected.removeOne(line));
    QTreeWidgetItem* group = label(QStringLiteral("example.com"), labelText);
    const int before = group->childCount();
    press(m_page->primaryTree, group->child(child));
    m_prompter->expectMessage(kQuestion, question, Prompter::Button::Ok);
    m_page->deleteRecordAction->trigger();
    QCOMPARE(group->childCount(), before - 1);
    QStringList after = linesOf(path);
    QCOMPARE(after.at(8), QStringLiteral("2026120702"));
    after[8] = expected.at(8);
    QCOMPARE(after, expected);
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), path);
    QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(), qPrintable(check.output.join(QLatin1Char('\n'))));
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::deleteHostCleansReverseIgnore()
{
    m_state->zoneLists.reverseignore =
        QStringList{"www.example.com.", "ns1.example.com.", "www.example.com.", "www.ample.com."};
    m_page->buildPrimaryTree();
    QTreeWidgetItem* hosts = label(QStringLiteral("example.com"), QStringLiteral("Host Addresses"));
    press(m_page->primaryTree, hosts->child(0));
    m_prompter->expectMessage(kQuestion,
                              QStringLiteral("Are you sure you want to delete the host www.example.com. (10.0.0.1)?"));
    m_page->deleteRecordAction->trigger();
    QCOMPARE(m_state->zoneLists.reverseignore, (QStringList{"ns1.example.com.", "www.ample.com."}));
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::deleteCancelledChangesNothing()
{
    m_page->buildPrimaryTree();
    const QByteArray before = readBytes(pathOf(QStringLiteral("example.com.dns")));
    QTreeWidgetItem* aliases = label(QStringLiteral("example.com"), QStringLiteral("Aliases"));
    press(m_page->primaryTree, aliases->child(0));
    m_prompter->expectMessage(kQuestion, QStringLiteral("Are you sure you want to delete this Alias?"),
                              Prompter::Button::Cancel);
    m_page->deleteRecordAction->trigger();
    QCOMPARE(aliases->childCount(), 1);
    QCOMPARE(readBytes(pathOf(QStringLiteral("example.com.dns"))), before);
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::recordsStayInTheirOwnZone()
{
    // "ample.com" is contained in "example.com": each keeps its own records and file.
    QList<EditorRequest> requests;
    m_page->setEditorOpener([&](const EditorRequest& request) { requests << request; });
    m_page->buildPrimaryTree();
    const QByteArray exampleBefore = readBytes(pathOf(QStringLiteral("example.com.dns")));
    QTreeWidgetItem* hosts = label(QStringLiteral("ample.com"), QStringLiteral("Host Addresses"));
    press(m_page->primaryTree, hosts->child(2));
    m_page->editRecordAction->trigger();
    QCOMPARE(m_state->selection.primfilename, QStringLiteral("ample.com.dns"));
    QCOMPARE(m_state->zone.hostaddrs.line(2), QStringLiteral("ns1.ample.com.     IN     A     10.0.0.3 "));
    press(m_page->primaryTree, hosts);
    m_page->newRecordAction->trigger();
    QCOMPARE(m_state->selection.primfilename, QStringLiteral("ample.com.dns"));
    press(m_page->primaryTree, hosts->child(2));
    m_prompter->expectMessage(kQuestion,
                              QStringLiteral("Are you sure you want to delete the host ns1.ample.com. (10.0.0.3)?"));
    m_page->deleteRecordAction->trigger();
    QVERIFY(!linesOf(pathOf(QStringLiteral("ample.com.dns")))
                 .contains(QStringLiteral("ns1.ample.com.     IN     A     10.0.0.3 ")));
    QCOMPARE(readBytes(pathOf(QStringLiteral("example.com.dns"))), exampleBefore);
    QCOMPARE(requests.size(), 2);
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::deleteZoneFromTheMenu()
{
    m_state->zoneLists.reverseignore = QStringList{"www.zeta.org.", "www.beta.net."};
    m_page->buildPrimaryTree();
    press(m_page->primaryTree, root(QStringLiteral("zeta.org")));
    QVERIFY(m_page->deleteRecordAction->isEnabled());
    m_prompter->expectMessage(kQuestion, QStringLiteral("Are you sure you want to delete zeta.org?"));
    m_page->deleteRecordAction->trigger();
    QVERIFY(!QFile::exists(pathOf(QStringLiteral("zeta.org.dns"))));
    QCOMPARE(m_state->zoneLists.primdns, (QStringList{"example.com", "ample.com", "beta.net"}));
    QCOMPARE(m_state->zoneLists.primfiles, (QStringList{"example.com.dns", "ample.com.dns", "beta.net.dns"}));
    QCOMPARE(m_dropped, QStringList{"zeta.org"});
    QCOMPARE(m_state->zoneLists.reverseignore, QStringList{"www.beta.net."});
    QCOMPARE(rootTexts(m_page->primaryTree), (QStringList{"ample.com", "beta.net", "example.com"}));
    QCOMPARE(m_page->primcount->text(), QStringLiteral("(3)"));
    QVERIFY(m_state->selection.primdnsname.isEmpty());
    QVERIFY(m_state->selection.primfilename.isEmpty());
    QVERIFY(m_state->zone.dnsname.isEmpty());
    QVERIFY(!m_page->deleteprimary->isEnabled());
    m_page->primaryMenu->hide();
}

void TstZoneBrowser::deleteZoneCancelled()
{
    m_page->buildPrimaryTree();
    press(m_page->primaryTree, root(QStringLiteral("beta.net")), Qt::LeftButton);
    m_prompter->expectMessage(kQuestion, QStringLiteral("Are you sure you want to delete beta.net?"),
                              Prompter::Button::Cancel);
    QTest::mouseClick(m_page->deleteprimary, Qt::LeftButton);
    QVERIFY(QFile::exists(pathOf(QStringLiteral("beta.net.dns"))));
    QCOMPARE(m_state->zoneLists.primdns.size(), 4);
    QVERIFY(m_dropped.isEmpty());
}

void TstZoneBrowser::deleteZoneWithoutSelection()
{
    m_page->deleteprimary->setEnabled(true);
    m_prompter->expectMessage(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
    QTest::mouseClick(m_page->deleteprimary, Qt::LeftButton);
}

void TstZoneBrowser::deleteZoneWhoseFileIsGone()
{
    m_page->buildPrimaryTree();
    press(m_page->primaryTree, root(QStringLiteral("beta.net")), Qt::LeftButton);
    QFile::remove(pathOf(QStringLiteral("beta.net.dns")));
    m_prompter->expectMessage(kQuestion, QStringLiteral("Are you sure you want to delete beta.net?"));
    m_prompter->expectMessage(QStringLiteral("Information"),
                              QStringLiteral("Primary file loading error. Name:beta.net.dns"));
    m_prompter->expectMessage(QStringLiteral("Error!"), QStringLiteral("This file does not exist."));
    QTest::mouseClick(m_page->deleteprimary, Qt::LeftButton);
    QVERIFY(m_state->zoneLists.primdns.contains(QStringLiteral("beta.net")));
    QVERIFY(m_dropped.isEmpty());
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 4);
}

void TstZoneBrowser::deleteZoneStealthAsksNothing()
{
    m_page->buildPrimaryTree();
    press(m_page->primaryTree, root(QStringLiteral("ample.com")), Qt::LeftButton);
    m_state->zoneLists.skipNextDeleteQuestion = true;
    QTest::mouseClick(m_page->deleteprimary, Qt::LeftButton);
    QVERIFY(!m_state->zoneLists.skipNextDeleteQuestion);
    QVERIFY(!QFile::exists(pathOf(QStringLiteral("ample.com.dns"))));
    QCOMPARE(m_dropped, QStringList{"ample.com"});
}

void TstZoneBrowser::deleteZoneOfTenThousandHosts()
{
    ZoneModel model;
    model.sourceofauth =
        SoaRecord(QStringList{"@", "ns1.big.com.", "hm.big.com.", "1", "1080", "3600", "604800", "86400"});
    model.nameservers.appendLine(nameServerAtLine(QStringLiteral("h0.big.com.")));
    QStringList ignored;
    for (int i = 0; i < 10000; ++i) {
        const QString host = QStringLiteral("h%1.big.com.").arg(i);
        model.hostaddrs.appendLine(hostAddressLine(host, QStringLiteral("10.0.%1.%2").arg(i / 250).arg(i % 250)));
        if (i % 2 == 0)
            ignored << host;
    }
    writeBytes(pathOf(QStringLiteral("big.com.dns")), zoneFileBytes(model));
    m_state->zoneLists.primdns << QStringLiteral("big.com");
    m_state->zoneLists.primfiles << QStringLiteral("big.com.dns");
    m_state->zoneLists.reverseignore = ignored + QStringList{"kept.other.com."};
    m_page->buildPrimaryTree();
    press(m_page->primaryTree, root(QStringLiteral("big.com")), Qt::LeftButton);
    m_state->zoneLists.skipNextDeleteQuestion = true;
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(m_page->deleteprimary, Qt::LeftButton);
    // Catches a pass over the ignore list per host (minutes), not speed: the bound holds under the sanitizers
    // and on a loaded machine.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!QFile::exists(pathOf(QStringLiteral("big.com.dns"))));
    QCOMPARE(m_state->zoneLists.reverseignore, QStringList{"kept.other.com."});
    QCOMPARE(m_state->setup.runningSerial, QStringLiteral("2026120701"));
}

void TstZoneBrowser::primaryTreeOfTenThousandZones()
{
    m_state->zoneLists.primdns.clear();
    m_state->zoneLists.primfiles.clear();
    for (int i = 0; i < 10000; ++i) {
        m_state->zoneLists.primdns << QStringLiteral("zone%1.example.com").arg(9999 - i);
        m_state->zoneLists.primfiles << QStringLiteral("zone%1.dns").arg(9999 - i);
    }
    QElapsedTimer timer;
    timer.start();
    m_page->buildPrimaryTree();
    // Catches a build that is quadratic in the zones (minutes), not speed: see bench/zonebrowserbench.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 10000);
    QCOMPARE(m_page->primaryTree->topLevelItem(0)->text(0), QStringLiteral("zone0.example.com"));
    QCOMPARE(m_page->primcount->text(), QStringLiteral("(10000)"));
}

QTEST_MAIN(TstZoneBrowser)
#include "tst_zonebrowser.moc"
