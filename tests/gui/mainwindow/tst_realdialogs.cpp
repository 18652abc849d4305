// The desktop program with its real message boxes, questions and pickers, driven as a person drives it: the
// windows in front are found with QApplication::activeModalWidget() and answered with keys and buttons. A box
// that belongs to a disabled window, or one that never comes to the front, is never answered and fails.
#include "gui/editors/aliaseditor.h"
#include "gui/editors/hosteditor.h"
#include "gui/editors/mailservereditor.h"
#include "gui/editors/nameservereditor.h"
#include "gui/editors/newprimaryzonedialog.h"
#include "gui/editors/primaryzonewizard.h"
#include "gui/editors/responsiblepersoneditor.h"
#include "gui/editors/soaeditor.h"
#include "gui/editors/zoneeditors.h"
#include "gui/servers/deleteserverdialog.h"
#include "gui/servers/serverinfopage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "sampledesk.h"
#include "support/modaldriver.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

class TstRealDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void twoHostsInARowEachAskedOnce();
    void zoneWizardByKeyboardOnlyThenAHost();
    void escapeLeavesTheWizardAndItsZone();
    void deleteServerAnsweredNoLeavesEveryFile();
    void editorMessagesBelongToTheEditor_data();
    void editorMessagesBelongToTheEditor();
    void noWindowStaysOnTop();

private:
    DomainEditPage* page() const { return m_desk->window->domainEdit(); }
    ZoneEditors* editors() const { return m_desk->window->zoneEditors(); }
    QString zoneFile(const QString& zone) const;

    std::unique_ptr<SampleDesk> m_desk;
};

void TstRealDialogs::init()
{
    m_desk = std::make_unique<SampleDesk>();
}

void TstRealDialogs::cleanup()
{
    m_desk.reset();
}

QString TstRealDialogs::zoneFile(const QString& zone) const
{
    return m_desk->state.zoneLists.datapath + QLatin1Char('/') + zone + QStringLiteral(".DNS");
}

void TstRealDialogs::twoHostsInARowEachAskedOnce()
{
    HostEditor* editor = editors()->hostEditor();
    for (const QString& host : {QStringLiteral("web1"), QStringLiteral("web2")}) {
        m_desk->selectInTree(m_desk->group(QStringLiteral("example.com"), QStringLiteral("Host Addresses")));
        pressKey(Qt::Key_Insert);
        QTRY_VERIFY(editor->isVisible());
        QTRY_COMPARE(keyboardFocus(), editor->first);
        typeText(host);
        pressKey(Qt::Key_Tab);
        typeText(QStringLiteral("192.0.2.4") + host.right(1));

        QString asked;
        QWidget* askedBy = nullptr;
        QString question;
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            asked = QString::fromLatin1(modal->metaObject()->className());
            askedBy = modal->parentWidget();
            question = modal->findChild<QLabel*>(QStringLiteral("questiontext"))->text();
            pressKey(Qt::Key_Return);
        });
        // Enter presses "Save", and so does Ctrl+S.
        if (host == QLatin1String("web1"))
            pressKey(Qt::Key_Return);
        else
            pressKey(Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
        QCOMPARE(asked, QStringLiteral("QuestionDialog"));
        QCOMPARE(askedBy, editor);
        QVERIFY2(question.contains(host), qPrintable(question));
        QTRY_VERIFY(!editor->isVisible());
        QVERIFY(m_desk->window->isEnabled());
    }
    const QByteArray zone = readBytes(zoneFile(QStringLiteral("example.com")));
    QVERIFY(zone.contains("web1.example.com.     IN     A     192.0.2.41 \r\n"));
    QVERIFY(zone.contains("web2.example.com.     IN     A     192.0.2.42 \r\n"));
    QVERIFY(m_desk->window->statusText().startsWith(QStringLiteral("Zone example.com saved")));
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), zoneFile(QStringLiteral("example.com")));
    QVERIFY(check.ran);
    QCOMPARE(check.complaints, QStringList());
}

void TstRealDialogs::zoneWizardByKeyboardOnlyThenAHost()
{
    auto* create = m_desk->window->findChild<NewPrimaryZoneDialog*>();
    auto* wizard = m_desk->window->findChild<PrimaryZoneWizard*>();
    QVERIFY(create && wizard);
    m_desk->selectInTree(m_desk->zone(QStringLiteral("example.com")));
    pressKey(Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(create->isVisible());
    QTRY_COMPARE(keyboardFocus(), create->newname);
    typeText(QStringLiteral("keyboard.com"));
    pressKey(Qt::Key_Return);

    // Page 1: the timings as the Setup page gives them; Enter is "Next", never "Back" (which deletes the zone).
    QTRY_VERIFY(wizard->isVisible());
    QVERIFY(!create->isVisible());
    QTRY_COMPARE(keyboardFocus(), wizard->serial);
    QVERIFY(wizard->nexts[0]->isDefault());
    QVERIFY(!wizard->backs[0]->isDefault());
    pressKey(Qt::Key_Return);
    QTRY_COMPARE(wizard->notebook->currentIndex(), 1);

    // Page 2: a host without its zone's name; the completion question is answered with Enter.
    QTRY_COMPARE(keyboardFocus(), wizard->names[0]);
    typeText(QStringLiteral("www"));
    pressKey(Qt::Key_Tab);
    typeText(QStringLiteral("192.0.2.80"));
    ModalDriver driver;
    QString completion;
    driver.then([&](QWidget* modal) {
        completion = modal->findChild<QLabel*>(QStringLiteral("questiontext"))->text();
        pressKey(Qt::Key_Return);
    });
    pressKey(Qt::Key_Return);
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
    QVERIFY2(completion.contains(QStringLiteral("www.keyboard.com")), qPrintable(completion));
    QCOMPARE(wizard->notebook->currentIndex(), 2);

    // Page 3: a name server outside the zone; the host question defaults to its safe answer, so the user goes
    // on with Alt+O ("OK, proceed anyway").
    QTRY_COMPARE(keyboardFocus(), wizard->nameservers[0]);
    typeText(QStringLiteral("ns1.example.com."));
    QString defaultAnswer;
    QWidget* boxParent = nullptr;
    driver.then([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        defaultAnswer = box && box->defaultButton() ? box->defaultButton()->objectName() : QString();
        boxParent = modal->parentWidget();
        pressKey(Qt::Key_O, Qt::AltModifier);
    });
    pressKey(Qt::Key_Return);
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
    QCOMPARE(defaultAnswer, QStringLiteral("cancel"));
    QCOMPARE(boxParent, wizard);
    QTRY_COMPARE(wizard->notebook->currentIndex(), 3);

    // Pages 4 and 5 stay empty: Enter, Enter ("Finish").
    QTRY_COMPARE(keyboardFocus(), wizard->aliases[0]);
    pressKey(Qt::Key_Return);
    QTRY_COMPARE(wizard->notebook->currentIndex(), 4);
    QTRY_COMPARE(keyboardFocus(), wizard->mailservers[0]);
    QVERIFY(wizard->finishit->isDefault());
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(!wizard->isVisible());

    QVERIFY(m_desk->state.zoneLists.primdns.contains(QStringLiteral("keyboard.com")));
    QVERIFY(m_desk->zone(QStringLiteral("keyboard.com")));

    // The first host after the wizard: its question, the same the wizard asked, comes in front of the editor.
    HostEditor* editor = editors()->hostEditor();
    m_desk->selectInTree(m_desk->group(QStringLiteral("keyboard.com"), QStringLiteral("Host Addresses")));
    pressKey(Qt::Key_Insert);
    QTRY_COMPARE(keyboardFocus(), editor->first);
    typeText(QStringLiteral("mail"));
    pressKey(Qt::Key_Tab);
    typeText(QStringLiteral("192.0.2.81"));
    QWidget* askedBy = nullptr;
    driver.then([&](QWidget* modal) {
        askedBy = modal->parentWidget();
        completion = modal->findChild<QLabel*>(QStringLiteral("questiontext"))->text();
        pressKey(Qt::Key_Return);
    });
    pressKey(Qt::Key_Return);
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
    QCOMPARE(askedBy, editor);
    QVERIFY2(completion.contains(QStringLiteral("mail.keyboard.com")), qPrintable(completion));
    QTRY_VERIFY(!editor->isVisible());
    QVERIFY(m_desk->window->isEnabled());

    const QByteArray zone = readBytes(zoneFile(QStringLiteral("keyboard.com")));
    QVERIFY(zone.contains("www.keyboard.com.     IN     A     192.0.2.80 \r\n"));
    QVERIFY(zone.contains("mail.keyboard.com.     IN     A     192.0.2.81 \r\n"));
    QVERIFY(zone.contains("keyboard.com.     IN     NS     ns1.example.com. \r\n"));
    const ZoneCheck check = checkZoneFile(QStringLiteral("keyboard.com"), zoneFile(QStringLiteral("keyboard.com")));
    QVERIFY(check.ran);
    QCOMPARE(check.complaints, QStringList());
}

void TstRealDialogs::escapeLeavesTheWizardAndItsZone()
{
    auto* create = m_desk->window->findChild<NewPrimaryZoneDialog*>();
    auto* wizard = m_desk->window->findChild<PrimaryZoneWizard*>();
    m_desk->selectInTree(m_desk->zone(QStringLiteral("example.com")));
    pressKey(Qt::Key_N, Qt::ControlModifier);
    QTRY_COMPARE(keyboardFocus(), create->newname);
    typeText(QStringLiteral("escaped.com"));
    pressKey(Qt::Key_Return);
    QTRY_COMPARE(keyboardFocus(), wizard->serial);
    QVERIFY(QFile::exists(zoneFile(QStringLiteral("escaped.com"))));
    pressKey(Qt::Key_Escape);
    QTRY_VERIFY(!wizard->isVisible());
    QVERIFY(!QFile::exists(zoneFile(QStringLiteral("escaped.com"))));
    QVERIFY(!m_desk->state.zoneLists.primdns.contains(QStringLiteral("escaped.com")));
    QVERIFY(!readBytes(m_desk->state.pendingBootFilePath).contains("escaped.com"));
}

void TstRealDialogs::deleteServerAnsweredNoLeavesEveryFile()
{
    const QMap<QString, QByteArray> before = m_desk->snapshot();
    QVERIFY(before.size() > 8);
    QString question;
    QString defaultAnswer;
    QString questionParent;
    bool dialogStayed = false;
    ModalDriver driver;
    driver
        .then([&](QWidget* modal) {
            auto* dialog = qobject_cast<DeleteServerDialog*>(modal);
            QVERIFY(dialog);
            dialog->serverlist->setCurrentRow(0);
            QVERIFY(!dialog->deleteit->isDefault());
            dialog->deleteit->click(); // the question below waits in here
            dialogStayed = dialog->isVisible();
            pressKey(Qt::Key_Escape);
        })
        .then([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            question = box->text();
            questionParent = QString::fromLatin1(box->parentWidget()->metaObject()->className());
            defaultAnswer = box->defaultButton() ? box->defaultButton()->objectName() : QString();
            pressKey(Qt::Key_Return); // the default, which deletes nothing
        });
    m_desk->window->serverInfo()->deleteserver->click();
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));

    QVERIFY2(question.startsWith(QStringLiteral("Delete the server sample?")), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("named.boot")), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("example.com.DNS")), qPrintable(question));
    QCOMPARE(defaultAnswer, QStringLiteral("no"));
    QCOMPARE(questionParent, QStringLiteral("DeleteServerDialog"));
    QVERIFY(dialogStayed);
    QCOMPARE(m_desk->snapshot(), before);
    QCOMPARE(m_desk->state.catalog.displayNames(), QStringList{QStringLiteral("sample")});
    QVERIFY(m_desk->state.serverLoaded);
}

void TstRealDialogs::editorMessagesBelongToTheEditor_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("node"); // -1: a new record in the group; else that node is edited
    QTest::addColumn<QString>("editor");
    QTest::newRow("host") << QStringLiteral("Host Addresses") << -1 << QStringLiteral("HostEditor");
    QTest::newRow("alias") << QStringLiteral("Aliases") << -1 << QStringLiteral("AliasEditor");
    QTest::newRow("name server") << QStringLiteral("Name Servers") << -1 << QStringLiteral("NameServerEditor");
    QTest::newRow("mail server") << QStringLiteral("Mail Servers") << -1 << QStringLiteral("MailServerEditor");
    QTest::newRow("person") << QStringLiteral("Responsible Persons") << -1 << QStringLiteral("ResponsiblePersonEditor");
    QTest::newRow("start of authority") << QStringLiteral("Update Timing") << 2 << QStringLiteral("SoaEditor");
    QTest::newRow("other record") << QStringLiteral("Other Records") << -1 << QStringLiteral("GenericRecordEditor");
}

void TstRealDialogs::editorMessagesBelongToTheEditor()
{
    QFETCH(QString, group);
    QFETCH(int, node);
    QFETCH(QString, editor);
    QTreeWidgetItem* label = m_desk->group(QStringLiteral("example.com"), group);
    QVERIFY(label);
    m_desk->selectInTree(node < 0 ? label : label->child(node));
    pressKey(node < 0 ? Qt::Key_Insert : Qt::Key_Return);
    QWidget* window = nullptr;
    QTRY_VERIFY((window = QApplication::activeModalWidget()) && window->objectName() == editor);
    QCOMPARE(window->parentWidget(), m_desk->window.get());
    QVERIFY(window->isEnabled());
    QVERIFY(qobject_cast<QLineEdit*>(keyboardFocus()));
    QVERIFY(belongsTo(keyboardFocus(), window));
    if (node >= 0)
        qobject_cast<QLineEdit*>(keyboardFocus())->clear();

    // An empty field is refused twice in a row: each refusal belongs to the editor, which stays usable.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QWidget* boxParent = nullptr;
        bool modal = false;
        ModalDriver driver;
        driver.then([&](QWidget* box) {
            boxParent = box->parentWidget();
            modal = box->isModal();
            pressKey(Qt::Key_Return);
        });
        pressKey(Qt::Key_Return);
        QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
        QVERIFY(modal);
        QCOMPARE(boxParent, window);
        QVERIFY(window->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), window);
    }
    pressKey(Qt::Key_Escape);
    QTRY_VERIFY(!window->isVisible());
}

void TstRealDialogs::noWindowStaysOnTop()
{
    // Every window of the program, the editors and wizards among them, lets the boxes it raises come in front.
    m_desk->window->serverInfo()->addserver->click();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(windows.size() > 15);
    for (const QWidget* window : windows)
        QVERIFY2(!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), qPrintable(window->objectName()));
}

QTEST_MAIN(TstRealDialogs)
#include "tst_realdialogs.moc"
