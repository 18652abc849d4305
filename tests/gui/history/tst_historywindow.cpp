// The history in the main window as a person meets it: the real window and the real message boxes, the History
// window from the "Server" menu and from a zone's menu, its undo and revert, Ctrl+Z, a change made meanwhile by
// another Quorvane (the real command line), and the preview before "Update Changes".
#include "fakendc.h"
#include "gui/common/guiprompter.h"
#include "gui/history/changepreviewdialog.h"
#include "gui/history/historymenu.h"
#include "gui/history/historywindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/servers/serverinfopage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "server/history/serverhistory.h"
#include "session/appstate.h"
#include "support/clirun.h"
#include "support/fakeplatform.h"
#include "support/testfiles.h"
#include "support/whenopen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <sys/time.h>

namespace {

// Presses a message box's button once the box is up, after noting its caption and text.
void answerBox(QMessageBox::StandardButton button, QString* caption = nullptr, QString* text = nullptr)
{
    whenOpen<QMessageBox>([button, caption, text](QMessageBox* box) {
        if (caption)
            *caption = box->windowTitle();
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

// Answers the next message boxes with OK as they come up, noting their texts.
void answerBoxes(int count, QStringList* texts)
{
    whenOpen<QMessageBox>([count, texts](QMessageBox* box) {
        *texts << box->windowTitle() + QStringLiteral(": ") + box->text();
        if (count > 1)
            answerBoxes(count - 1, texts);
        box->button(QMessageBox::Ok)->click();
    });
}

// A minute old, as what a process ended long ago left.
void makeOld(const QString& path)
{
    const struct timeval old[2] = {{::time(nullptr) - 60, 0}, {::time(nullptr) - 60, 0}};
    QVERIFY(::lutimes(QFile::encodeName(path).constData(), old) == 0);
}

QStringList changesListed(const HistoryWindow* window)
{
    QStringList changes;
    for (int i = 0; i < window->revisions->topLevelItemCount(); ++i)
        changes << window->revisions->topLevelItem(i)->text(3);
    return changes;
}

} // namespace

class TstHistoryWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void historyWindowUndoesAndReverts();
    void zoneMenuShowsThatZonesRevisions();
    void ctrlZUndoesOutsideTextFieldsAndAsksAboutOthersChanges();
    void updateChangesPreviewsAndAppliesOnlyWhenAsked();
    void historyThatCannotBeWrittenIsToldInABox();
    void locksLeftBehindAreTakenOverAndToldInBoxes();

private:
    ServerOptionsPage* addl() const { return m_window->serverOptions(); }
    QAction* action(const QString& name) const { return m_window->findChild<QAction*>(name); }
    QString dataDir() const { return m_dir->filePath(QStringLiteral("dns")); }
    QString bootFile() const { return m_dir->filePath(QStringLiteral("winnt/named.boot")); }
    // A change of the boot options as the page makes it.
    void turnQueryLog(bool on);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<GuiPrompter> m_prompter;
    std::unique_ptr<FakeNdc> m_ndc;
    std::unique_ptr<MainWindow> m_window;
};

void TstHistoryWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(m_dir->filePath(QStringLiteral("winnt/system32")));
    QDir().mkpath(dataDir());
    QVERIFY(writeBytes(bootFile(), "directory     " + dataDir().toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"
                                       "options query-log\r\n"));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"),
                       readBytes(testDataPath(QStringLiteral("editors/example.com.dns")))));
    m_ndc = std::make_unique<FakeNdc>(m_dir->filePath(QStringLiteral("winnt")));
    m_platform = std::make_unique<FakePlatform>(m_dir->filePath(QStringLiteral("program")));
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("q.conf")));
    m_state = std::make_unique<AppState>();
    m_prompter = std::make_unique<GuiPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);
    m_prompter->setParent(m_window.get());
    m_state->autoBackup = false;
    // The first showing asks for the administrator's address, none being stored.
    whenOpen<QInputDialog>([](QInputDialog* input) {
        input->setTextValue(QStringLiteral("john.doe@example.com"));
        input->accept();
    });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    // The settings were read at the first showing; the server joins the catalog as "Add Server" would add it.
    m_state->catalog.add({QStringLiteral("NS1@ns1.example.com"), bootFile()});
    m_state->autoBackup = false;
    Q_EMIT m_window->serverInfo()->serverbox->textActivated(QStringLiteral("NS1"));
    QVERIFY(m_state->serverLoaded);
}

void TstHistoryWindow::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    m_window.reset();
    m_ndc.reset();
}

void TstHistoryWindow::turnQueryLog(bool on)
{
    addl()->querylog->setChecked(on);
    addl()->updateoptions->click();
    QVERIFY(!QApplication::activeModalWidget());
}

void TstHistoryWindow::historyWindowUndoesAndReverts()
{
    const QByteArray loaded = readBytes(bootFile());
    turnQueryLog(false);
    addl()->norecursion->setChecked(true);
    addl()->updateoptions->click();

    QStringList listed;
    QString olderDiff;
    QStringList afterUndo;
    QString question;
    QStringList afterRevert;
    bool firstFieldFocused = false;
    whenOpen<HistoryWindow>([&](HistoryWindow* window) {
        firstFieldFocused = window->focusWidget() == window->zonefilter;
        listed = changesListed(window);
        window->revisions->setCurrentItem(window->revisions->topLevelItem(1));
        olderDiff = window->difftext->toPlainText();
        window->undo->click();
        afterUndo = changesListed(window);
        // Back to the files as the load left them, which asks first.
        window->revisions->setCurrentItem(window->revisions->topLevelItem(afterUndo.size() - 2));
        answerBox(QMessageBox::Yes, nullptr, &question);
        window->revert->click();
        afterRevert = changesListed(window);
        window->closebutton->click();
    });
    action(QStringLiteral("historymenuitem"))->trigger();

    QVERIFY(firstFieldFocused);
    QCOMPARE(listed, (QStringList{QStringLiteral("Change boot options"), QStringLiteral("Change boot options"),
                                  QStringLiteral("Load server NS1"), QStringLiteral("Files as found")}));
    QVERIFY2(olderDiff.contains(QStringLiteral("\n-options query-log\n")), qPrintable(olderDiff));
    QCOMPARE(afterUndo.first(), QStringLiteral("Undo: Change boot options"));
    QCOMPARE(afterUndo.size(), 5);
    QVERIFY2(question.startsWith(QStringLiteral("Put every file of the server back as revision ")),
             qPrintable(question));
    QVERIFY2(question.endsWith(QStringLiteral(" (\"Load server NS1\")?")), qPrintable(question));
    QVERIFY(afterRevert.first().startsWith(QStringLiteral("Revert to revision ")));
    QCOMPARE(readBytes(bootFile()), loaded);
    // The window shows the server as its files now are.
    QVERIFY(m_state->serverLoaded);
    QVERIFY(addl()->querylog->isChecked());
    QVERIFY(!addl()->norecursion->isChecked());
}

void TstHistoryWindow::zoneMenuShowsThatZonesRevisions()
{
    turnQueryLog(false);
    QTreeWidget* tree = m_window->domainEdit()->primaryTree;
    QTreeWidgetItem* zone = tree->topLevelItem(0);
    QVERIFY(zone);
    QCOMPARE(zone->text(0), QStringLiteral("example.com"));
    // A right click on the zone, as a person opens its menu.
    const QPoint at = tree->visualItemRect(zone).center();
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &menuEvent);
    QTRY_VERIFY(m_window->domainEdit()->primaryMenu->isVisible());
    m_window->domainEdit()->primaryMenu->hide();

    QString filter;
    QStringList listed;
    QStringList all;
    whenOpen<HistoryWindow>([&](HistoryWindow* window) {
        filter = window->zonefilter->currentText();
        listed = changesListed(window);
        window->zonefilter->setCurrentIndex(0);
        all = changesListed(window);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    m_window->findChild<QAction*>(QStringLiteral("primhistory"))->trigger();
    QCOMPARE(filter, QStringLiteral("example.com"));
    QCOMPARE(listed, QStringList{QStringLiteral("Files as found")});
    QCOMPARE(all.size(), 3);
}

void TstHistoryWindow::ctrlZUndoesOutsideTextFieldsAndAsksAboutOthersChanges()
{
    const QByteArray loaded = readBytes(bootFile());
    turnQueryLog(false);
    const QByteArray changed = readBytes(bootFile());

    // In a text field Ctrl+Z is the field's own.
    QLineEdit* find = m_window->domainEdit()->findprimtext;
    m_window->activateWindow();
    find->setFocus();
    QTest::keyClick(find, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(readBytes(bootFile()), changed);

    m_window->domainEdit()->primaryTree->setFocus();
    QTest::keyClick(m_window->domainEdit()->primaryTree, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(readBytes(bootFile()), loaded);
    QVERIFY(addl()->querylog->isChecked());

    // Another Quorvane adds a host meanwhile; undoing it asks first, and "No" leaves it.
    const CliRun other = runCli({QStringLiteral("--identity"), QStringLiteral("NS1@ns1.example.com"),
                                 QStringLiteral("--answers"), QStringLiteral("ok"), QStringLiteral("record"),
                                 QStringLiteral("add"), bootFile(), QStringLiteral("example.com"),
                                 QStringLiteral("host"), QStringLiteral("web"), QStringLiteral("10.0.0.8")},
                                m_dir->path());
    QVERIFY2(other.status == 0, other.err.constData());
    const QByteArray withHost = readBytes(dataDir() + QStringLiteral("/example.com.dns"));
    QVERIFY(withHost.contains("web.example.com."));
    QString caption;
    QString text;
    answerBox(QMessageBox::No, &caption, &text);
    QTest::keyClick(m_window->domainEdit()->primaryTree, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(caption, QStringLiteral("Question!"));
    QVERIFY2(text.startsWith(QStringLiteral("The server was changed since this program last read it: \"Add host "
                                            "web.example.com 10.0.0.8\" by ")),
             qPrintable(text));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), withHost);

    // Back in the main window once the box has gone (the offscreen platform gives the focus back to no window).
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    answerBox(QMessageBox::Yes);
    QTest::keyClick(m_window->domainEdit()->primaryTree, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!readBytes(dataDir() + QStringLiteral("/example.com.dns")).contains("web.example.com."));
}

void TstHistoryWindow::updateChangesPreviewsAndAppliesOnlyWhenAsked()
{
    m_window->serverInfo()->startserver->click();
    QCOMPARE(m_ndc->runs(), QStringList{QStringLiteral("[START][\\\\NS1]")});
    turnQueryLog(false);

    QString changes;
    bool cancelIsDefault = false;
    whenOpen<ChangePreviewDialog>([&](ChangePreviewDialog* preview) {
        changes = preview->changestext->toPlainText();
        cancelIsDefault = preview->cancel->isDefault() && !preview->apply->isDefault();
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    m_window->domainEdit()->updatechanges->click();
    QVERIFY(cancelIsDefault);
    QVERIFY2(changes.contains(QStringLiteral("\n-options query-log\n")), qPrintable(changes));
    QVERIFY(changes.startsWith(QStringLiteral("diff --git a/named.boot b/named.boot\n")));
    QCOMPARE(m_ndc->runs(), QStringList{QStringLiteral("[START][\\\\NS1]")});

    whenOpen<ChangePreviewDialog>([](ChangePreviewDialog* preview) { preview->apply->click(); });
    m_window->domainEdit()->updatechanges->click();
    QCOMPARE(m_ndc->runs(), (QStringList{QStringLiteral("[START][\\\\NS1]"), QStringLiteral("[restart][\\\\NS1]")}));

    QString heading;
    whenOpen<ChangePreviewDialog>([&heading](ChangePreviewDialog* preview) {
        heading = preview->heading->text();
        preview->cancel->click();
    });
    m_window->domainEdit()->updatechanges->click();
    QCOMPARE(heading, QStringLiteral("No changes since the name server last loaded the files."));
}

void TstHistoryWindow::historyThatCannotBeWrittenIsToldInABox()
{
    const QString gitDir = ServerHistory::gitDirectory(dataDir());
    QVERIFY(QDir(gitDir).removeRecursively());
    // A file where the history's folder would go.
    QVERIFY(writeBytes(gitDir, "in the way"));
    QString caption;
    QString text;
    answerBox(QMessageBox::Ok, &caption, &text);
    addl()->querylog->setChecked(false);
    addl()->updateoptions->click();
    QTRY_COMPARE(caption, QStringLiteral("Attention!"));
    QVERIFY2(text.startsWith(QStringLiteral("The change was made, but the server's history could not record it: "
                                            "The history %1 could not be made: ")
                                 .arg(gitDir)),
             qPrintable(text));
    QVERIFY(!readBytes(bootFile()).contains("options query-log"));
}

void TstHistoryWindow::locksLeftBehindAreTakenOverAndToldInBoxes()
{
    // What a Quorvane killed at the wrong moment left: an empty server lock and the lock of the history's branch.
    const QString serverLock = m_dir->filePath(QStringLiteral("winnt/named.boot.lock"));
    const QString gitDir = ServerHistory::gitDirectory(dataDir());
    const QString branch =
        QString::fromLatin1(readBytes(gitDir + QStringLiteral("/HEAD")).trimmed()).section(QLatin1Char(' '), 1);
    const QString branchLock = gitDir + QLatin1Char('/') + branch + QStringLiteral(".lock");
    QVERIFY(!QFileInfo::exists(serverLock));
    for (const QString& lock : {serverLock, branchLock}) {
        QVERIFY(writeBytes(lock, QByteArray()));
        makeOld(lock);
    }
    QStringList told;
    answerBoxes(2, &told);
    turnQueryLog(false);
    QTRY_COMPARE(told.size(), 2);
    // Each box names its file; which comes first is the event loop's affair.
    told.sort();
    QVERIFY2(told.at(0).startsWith(QStringLiteral("Attention!: The lock file %1 was empty").arg(serverLock)),
             qPrintable(told.join(QLatin1Char('\n'))));
    QVERIFY2(told.at(1).startsWith(QStringLiteral("Attention!: The server's history held lock files")) &&
                 told.at(1).contains(branchLock),
             qPrintable(told.join(QLatin1Char('\n'))));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(!QFileInfo::exists(serverLock) && !QFileInfo::exists(branchLock));
    ServerHistory history(m_dir->filePath(QStringLiteral("winnt")), dataDir());
    const std::optional<QList<Revision>> revisions = history.revisions();
    QVERIFY(revisions && !revisions->isEmpty());
    QCOMPARE(revisions->first().summary, QStringLiteral("Change boot options"));

    // Nothing is left to tell at the next change.
    turnQueryLog(true);
    QTest::qWait(200);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(readBytes(bootFile()).contains("options query-log"));
}

QTEST_MAIN(TstHistoryWindow)
#include "tst_historywindow.moc"
