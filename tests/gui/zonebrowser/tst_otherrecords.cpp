// The "Other Records" label of the zone tree and the generic record editor, as a person meets them in the main
// window with the real message boxes: records of a zone written elsewhere listed, one added, one refused, one
// changed and one deleted, each in turn; the file read by named-checkzone afterwards.
#include "gui/common/guiprompter.h"
#include "gui/editors/genericrecordeditor.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "gui/zonebrowser/otherrecordsnode.h"
#include "platform/settingsstore.h"
#include "server/history/serverhistory.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

const QByteArray kZone = "; written elsewhere\n$TTL 1d\n$ORIGIN example.com.\n"
                         "@ IN SOA ns1 hostmaster ( 2026010101 3h 1h 1w 1h )\n"
                         "  IN NS ns1\n  IN MX 10 ns1\n  IN TXT \"v=spf1 mx -all\"\n"
                         "ns1 IN A 10.0.0.1\n    IN AAAA 2001:db8::1\n"
                         "_sip._tcp 600 IN SRV 0 5 5060 ns1\n";

// What a message box showed, and the window it was shown over.
struct SeenBox
{
    QString text;
    QWidget* parent = nullptr;
};

// A node's two columns, the name and the value beside it.
QString nodeText(const QTreeWidgetItem* node)
{
    return node->text(0) + QStringLiteral(" | ") + node->text(1);
}

} // namespace

class TstOtherRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void recordsListedUnderTheirLabel();
    void addRefuseChangeAndDelete();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QTreeWidgetItem* otherRecordsLabel();
    void press(QTreeWidgetItem* item);
    // Presses the button of the next message box that comes up, and tells what it showed.
    void answerNextBox(QMessageBox::StandardButton button, SeenBox* seen);
    GenericRecordEditor* editor() const;
    // The description of the server's newest revision.
    QString newestChange();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<GuiPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TstOtherRecords::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<FakePlatform>(path(QStringLiteral("appdata")));
    m_store = std::make_unique<SettingsStore>(path(QStringLiteral("settings.ini")));
    m_store->setText(QStringLiteral("Drive Table"), QStringLiteral("C"), m_dir->path());
    m_store->setText(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address"),
                     QStringLiteral("admin@example.com"));
    m_state = std::make_unique<AppState>();
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeBytes(path(QStringLiteral("ns/data/db.example.com")), kZone);
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(path(QStringLiteral("ns/named.boot")),
               "directory C:\\\\ns\\\\data\r\ncache . cache.dns\r\nprimary example.com db.example.com\r\n");
    m_prompter = std::make_unique<GuiPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->setParent(m_window.get());
    m_window->resize(900, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_state->autoBackup = false;
    m_state->setup.runningSerial = QStringLiteral("2026120701");
    m_state->catalog.add({QStringLiteral("ns@ns1.example.com."), path(QStringLiteral("ns/named.boot"))});
    m_window->serverboxChange(QStringLiteral("ns"));
    QVERIFY(m_state->serverLoaded);
    m_window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(m_window->domainEdit());
}

void TstOtherRecords::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    m_window.reset();
}

GenericRecordEditor* TstOtherRecords::editor() const
{
    return m_window->domainEdit()->otherRecords()->editor();
}

QString TstOtherRecords::newestChange()
{
    ServerHistory history(path(QStringLiteral("ns")), path(QStringLiteral("ns/data")));
    const std::optional<QList<Revision>> revisions = history.revisions();
    return revisions && !revisions->isEmpty() ? revisions->first().summary : history.errorText();
}

QTreeWidgetItem* TstOtherRecords::otherRecordsLabel()
{
    QTreeWidget* tree = m_window->domainEdit()->primaryTree;
    QTreeWidgetItem* zone = tree->findItems(QStringLiteral("example.com"), Qt::MatchExactly).value(0);
    if (!zone)
        return nullptr;
    zone->setExpanded(true);
    QTreeWidgetItem* label = zone->child(zone->childCount() - 1);
    label->setExpanded(true);
    return label;
}

void TstOtherRecords::press(QTreeWidgetItem* item)
{
    QTreeWidget* tree = m_window->domainEdit()->primaryTree;
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
    m_window->domainEdit()->primaryMenu->hide();
}

void TstOtherRecords::answerNextBox(QMessageBox::StandardButton button, SeenBox* seen)
{
    auto* timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [timer, button, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        seen->text = box->text();
        seen->parent = box->parentWidget();
        box->button(button)->click();
    });
    timer->start();
}

void TstOtherRecords::recordsListedUnderTheirLabel()
{
    QTreeWidgetItem* label = otherRecordsLabel();
    QVERIFY(label);
    QCOMPARE(label->text(0), QStringLiteral("Other Records"));
    QStringList texts;
    for (int i = 0; i < label->childCount(); ++i)
        texts << nodeText(label->child(i));
    // The owner, and beside it type, data and time to live (its own, or the zone's $TTL).
    QCOMPARE(texts, (QStringList{"example.com. | TXT \"v=spf1 mx -all\"  (TTL 86400)",
                                 "ns1.example.com. | AAAA 2001:db8::1  (TTL 86400)",
                                 "_sip._tcp.example.com. | SRV 0 5 5060 ns1.example.com.  (TTL 600)"}));
    QVERIFY(!QApplication::activeModalWidget());
}

void TstOtherRecords::addRefuseChangeAndDelete()
{
    DomainEditPage* page = m_window->domainEdit();
    QTreeWidgetItem* label = otherRecordsLabel();
    QVERIFY(label);
    const int before = label->childCount();

    // New: the editor comes up in front of the main window, empty, its first field taking the keys.
    press(label);
    QVERIFY(page->newRecordAction->isEnabled());
    page->newRecordAction->trigger();
    QTRY_COMPARE(QApplication::activeModalWidget(), editor());
    QCOMPARE(editor()->parentWidget()->window(), m_window.get());
    QVERIFY(!(editor()->windowFlags() & Qt::WindowStaysOnTopHint));
    QTRY_COMPARE(QApplication::focusWidget(), editor()->owner);
    QVERIFY(editor()->saveit->isDefault());
    QVERIFY(!editor()->deleteit->isEnabled());
    QTest::keyClicks(editor()->owner, QStringLiteral("ftp"));
    editor()->type->setCurrentText(QStringLiteral("AAAA"));
    QTest::keyClicks(editor()->data, QStringLiteral("2001:db8::21"));
    QTest::mouseClick(editor()->saveit, Qt::LeftButton);
    QTRY_VERIFY(!editor()->isVisible());
    QCOMPARE(label->childCount(), before + 1);
    QCOMPARE(nodeText(label->child(before)), QStringLiteral("ftp.example.com. | AAAA 2001:db8::21  (TTL 86400)"));
    QCOMPARE(page->primaryTree->currentItem(), label->child(before));
    QVERIFY(readBytes(path(QStringLiteral("ns/data/db.example.com")))
                .contains("\r\nftp.example.com.     IN     AAAA     2001:db8::21\r\n"));
    // The history names the record the editor added, not a guess from the file.
    QCOMPARE(newestChange(), QStringLiteral("Add AAAA record ftp.example.com 2001:db8::21"));

    // New again, with data the type cannot take: the refusal comes over the editor, which stays open.
    press(label);
    page->newRecordAction->trigger();
    QTRY_COMPARE(QApplication::activeModalWidget(), editor());
    QTest::keyClicks(editor()->owner, QStringLiteral("bad"));
    editor()->type->setCurrentText(QStringLiteral("AAAA"));
    QTest::keyClicks(editor()->data, QStringLiteral("10.0.0.9"));
    SeenBox refusal;
    answerNextBox(QMessageBox::Ok, &refusal);
    QTest::mouseClick(editor()->saveit, Qt::LeftButton);
    QCOMPARE(refusal.text, QStringLiteral("The record cannot be read: invalid IPv6 address."));
    QCOMPARE(refusal.parent, editor());
    QVERIFY(editor()->isVisible());
    QCOMPARE(editor()->owner->text(), QStringLiteral("bad"));
    QTest::keyClick(editor(), Qt::Key_Escape);
    QTRY_VERIFY(!editor()->isVisible());
    QCOMPARE(label->childCount(), before + 1);

    // Edit the record just added: its fields come filled; a time to live of its own is written with it.
    QTreeWidgetItem* added = label->child(before);
    press(added);
    page->editRecordAction->trigger();
    QTRY_COMPARE(QApplication::activeModalWidget(), editor());
    QCOMPARE(editor()->owner->text(), QStringLiteral("ftp.example.com."));
    QCOMPARE(editor()->type->currentText(), QStringLiteral("AAAA"));
    QCOMPARE(editor()->data->text(), QStringLiteral("2001:db8::21"));
    QVERIFY(editor()->deleteit->isEnabled());
    QTest::keyClicks(editor()->ttl, QStringLiteral("10m"));
    QTest::mouseClick(editor()->saveit, Qt::LeftButton);
    QTRY_VERIFY(!editor()->isVisible());
    added = otherRecordsLabel()->child(before);
    QCOMPARE(nodeText(added), QStringLiteral("ftp.example.com. | AAAA 2001:db8::21  (TTL 600)"));
    QCOMPARE(newestChange(), QStringLiteral("Change AAAA record ftp.example.com 2001:db8::21 to TTL 600 2001:db8::21"));

    // Delete from the tree: the question comes over the main window; OK deletes.
    press(added);
    SeenBox question;
    answerNextBox(QMessageBox::Ok, &question);
    page->deleteRecordAction->trigger();
    QCOMPARE(question.text, QStringLiteral("Are you sure you want to delete this record?"));
    QCOMPARE(question.parent, m_window.get());
    QCOMPARE(otherRecordsLabel()->childCount(), before);
    QCOMPARE(newestChange(), QStringLiteral("Delete AAAA record ftp.example.com TTL 600 2001:db8::21"));
    const QByteArray written = readBytes(path(QStringLiteral("ns/data/db.example.com")));
    QVERIFY(!written.contains("ftp.example.com."));
    QVERIFY(written.contains("\r\nns1.example.com.     IN     AAAA     2001:db8::1\r\n"));
    const ZoneCheck check =
        checkZoneFile(QStringLiteral("example.com"), path(QStringLiteral("ns/data/db.example.com")));
    QCOMPARE(check.complaints, QStringList());
    QCOMPARE(check.exitCode, 0);
    // The file as it came is at hand.
    QCOMPARE(readBytes(path(QStringLiteral("ns/data/dnsbackup/db.example.com.orig"))), kZone);
}

QTEST_MAIN(TstOtherRecords)
#include "tst_otherrecords.moc"
