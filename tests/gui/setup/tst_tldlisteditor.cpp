#include "checks/tldlist.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/setup/tldlisteditor.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The TLD editor's window: its controls, the wiring of its buttons to the add and delete logic, and the
// Utilities menu item that opens it.
class TstTldListEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsTheListBorderless();
    void addAndDeleteThroughButtons();
    void closeButtonClosesForm();
    void menuItemOpensFormModally();
};

void TstTldListEditor::showsTheListBorderless()
{
    TldList tlds;
    tlds.load(QStringLiteral("local"));
    ScriptedPrompter prompter;
    TldListEditor form(tlds, prompter);
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(form.isModal());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.toplist->count(), 248);
    QStringList shown;
    for (int i = 0; i < form.toplist->count(); ++i)
        shown << form.toplist->item(i)->text();
    QCOMPARE(shown, tlds.entries());

    QStringList labels;
    for (const QLabel* label : form.findChildren<QLabel*>())
        labels << label->text();
    QVERIFY(labels.contains(
        QStringLiteral("These are the top level domans and country extensions which Quorvane supports:")));
    QVERIFY(labels.contains(QStringLiteral("Enter a new TLD/Ext. here.")));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("addtld"))->text(), QStringLiteral("Add TLD / Extension"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("deletetld"))->text(), QStringLiteral("Delete TLD/Extension"));
    QCOMPARE(form.findChild<QPushButton*>(QStringLiteral("closeit"))->text(), QStringLiteral("Close"));
    QVERIFY(form.findChild<QLineEdit*>(QStringLiteral("toadd")));
}

void TstTldListEditor::addAndDeleteThroughButtons()
{
    TldList tlds;
    ScriptedPrompter prompter;
    TldListEditor form(tlds, prompter);
    form.show();

    form.toadd->setText(QStringLiteral("local"));
    QTest::mouseClick(form.addtld, Qt::LeftButton);
    QVERIFY(prompter.prompts().isEmpty());
    QVERIFY(form.toadd->text().isEmpty());
    QCOMPARE(tlds.userEntries(), QStringList{QStringLiteral("local")});
    QCOMPARE(form.toplist->findItems(QStringLiteral("local"), Qt::MatchExactly).size(), 1);

    // A refused entry stays in the field for the user to correct.
    form.toadd->setText(QStringLiteral("local"));
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("This TLD / Country Extension has already been entered."));
    QTest::mouseClick(form.addtld, Qt::LeftButton);
    QCOMPARE(form.toadd->text(), QStringLiteral("local"));

    form.toplist->clearSelection();
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("You must first select a TLD or country extension to delete."));
    QTest::mouseClick(form.deletetld, Qt::LeftButton);

    form.toplist->setCurrentItem(form.toplist->findItems(QStringLiteral("com"), Qt::MatchExactly).first());
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("You can only delete TLDs and country extensions which you have created."));
    QTest::mouseClick(form.deletetld, Qt::LeftButton);

    form.toplist->setCurrentItem(form.toplist->findItems(QStringLiteral("local"), Qt::MatchExactly).first());
    prompter.expectMessage(QStringLiteral("Attention!"),
                           QStringLiteral("Are you sure you want to delete extension/country local? "),
                           Prompter::Button::Ok);
    QTest::mouseClick(form.deletetld, Qt::LeftButton);

    QVERIFY2(prompter.problems().isEmpty(), qPrintable(prompter.problems().join(QLatin1Char('\n'))));
    QCOMPARE(prompter.pending(), 0);
    QVERIFY(tlds.userEntries().isEmpty());
    QCOMPARE(form.toplist->count(), 247);
    QVERIFY(form.toplist->findItems(QStringLiteral("local"), Qt::MatchExactly).isEmpty());
}

void TstTldListEditor::closeButtonClosesForm()
{
    TldList tlds;
    ScriptedPrompter prompter;
    TldListEditor form(tlds, prompter);
    form.show();
    QVERIFY(form.isVisible());
    QTest::mouseClick(form.closeit, Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QVERIFY(prompter.prompts().isEmpty());
}

void TstTldListEditor::menuItemOpensFormModally()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    AppState state;
    state.tlds.load(QStringLiteral("corp"));
    SettingsStore store(dir.filePath(QStringLiteral("Quorvane.conf")));
    ScriptedPrompter prompter;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    MainWindow window(state, store, prompter, platform);

    QAction* item = window.findChild<QAction*>(QStringLiteral("modifytldextensions"));
    QVERIFY(item);
    QCOMPARE(item->text(), QStringLiteral("Modify TLD/Extensions"));

    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto* form = qobject_cast<TldListEditor*>(QApplication::activeModalWidget());
        if (!form)
            return;
        seen = true;
        QVERIFY(form->toplist->findItems(QStringLiteral("corp"), Qt::MatchExactly).size() == 1);
        // The form works on the program's own list, so an addition counts at once.
        form->toadd->setText(QStringLiteral("lan"));
        form->addtld->click();
        form->closeit->click();
    });
    item->trigger();
    QVERIFY(seen);
    QCOMPARE(state.tlds.userEntries(), QStringList({QStringLiteral("corp"), QStringLiteral("lan")}));
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TstTldListEditor)
#include "tst_tldlisteditor.moc"
