// The editor windows driven as the user drives them, from the zone tree: fields, Save, Delete, Cancel, the host
// pickers, the tree after each change, the main window disabled while an editor is shown; and the Setup page's
// checks of the start-of-authority defaults.
#include "gui/editors/aliaseditor.h"
#include "gui/editors/aliastargetpicker.h"
#include "gui/editors/editorhooks.h"
#include "gui/editors/hosteditor.h"
#include "gui/editors/mailservereditor.h"
#include "gui/editors/nameservereditor.h"
#include "gui/editors/responsiblepersoneditor.h"
#include "gui/editors/serverhostpicker.h"
#include "gui/editors/soaeditor.h"
#include "gui/editors/zoneeditors.h"
#include "gui/setup/setuppage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "session/appstate.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"
#include "zone/zonefileio.h"
#include "zone/zonewriter.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kZone = QStringLiteral("example.com");
const QString kFile = QStringLiteral("example.com.dns");

QString question(const QString& typed, const QString& field, const QString& completed)
{
    return QStringLiteral("You entered \"") + typed + QStringLiteral("\" in the ") + field +
           QStringLiteral(" field. This will reference ") + completed +
           QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.");
}

QString noHostFor(const QString& what)
{
    return QStringLiteral("You have not defined a host address record for this ") + what +
           QStringLiteral(". Press \"YES\" to select from the list of already defined host addresses, \"OK\" to "
                          "proceed anyways, or \"CANCEL\" to re-enter.");
}

} // namespace

class TestEditorForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void hostEditorSaveEditCancelDelete();
    void hostDeleteFromTheBrowserHonoursDelebox();
    void nameServerEditorPicksAHost();
    void mailServerEditorChangesItsRecord();
    void aliasEditorPicksAHost();
    void personEditorAddsAndDeletes();
    void soaEditorShowsOneFieldAndSaves();
    void setupDefaultsAreChecked_data();
    void setupDefaultsAreChecked();

private:
    QTreeWidgetItem* label(const QString& text);
    void click(QTreeWidgetItem* item);
    QByteArray fileBytes() const;
    QByteArray golden(const QString& name) const;
    // Answers the modal picker once it is shown: Select with nothing chosen, then the row.
    void pickLater(QDialog* picker, QListWidget* list, QPushButton* select, int row);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<QWidget> m_main;
    DomainEditPage* m_page = nullptr;
    ZoneEditors* m_editors = nullptr;
};

void TestEditorForms::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    m_state->zoneLists.datapath = m_dir->path();
    m_state->zoneLists.primdns = QStringList{kZone};
    m_state->zoneLists.primfiles = QStringList{kFile};
    m_state->setup.runningSerial = QStringLiteral("2026120701");
    writeBytes(QDir(m_dir->path()).filePath(kFile), readBytes(testDataPath(QStringLiteral("editors/") + kFile)));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_main = std::make_unique<QWidget>();
    m_page = new DomainEditPage(*m_state, *m_prompter, m_main.get());
    m_editors = new ZoneEditors(*m_state, *m_prompter, *m_page, m_main.get());
    m_main->resize(900, 700);
    m_page->resize(900, 700);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    m_page->buildPrimaryTree();
}

void TestEditorForms::cleanup()
{
    QCOMPARE(m_prompter->problems(), QStringList());
    QCOMPARE(m_prompter->pending(), 0);
    QVERIFY(!QApplication::overrideCursor());
    m_main.reset();
    // Whatever the editors wrote, the name server loads.
    const ZoneCheck check = checkZoneFile(kZone, QDir(m_dir->path()).filePath(kFile));
    QVERIFY2(check.accepted(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

QTreeWidgetItem* TestEditorForms::label(const QString& text)
{
    QTreeWidgetItem* root = m_page->primaryTree->topLevelItem(0);
    if (!root->isExpanded())
        root->setExpanded(true);
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == text) {
            root->child(i)->setExpanded(true);
            return root->child(i);
        }
    }
    return nullptr;
}

void TestEditorForms::click(QTreeWidgetItem* item)
{
    QVERIFY(item);
    QTreeWidget* tree = m_page->primaryTree;
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
}

QByteArray TestEditorForms::fileBytes() const
{
    return readBytes(QDir(m_dir->path()).filePath(kFile));
}

QByteArray TestEditorForms::golden(const QString& name) const
{
    return readBytes(testDataPath(QStringLiteral("editors/") + name));
}

void TestEditorForms::pickLater(QDialog* picker, QListWidget* list, QPushButton* select, int row)
{
    QTimer::singleShot(0, picker, [this, picker, list, select, row] {
        QVERIFY(picker->isVisible());
        m_prompter->expectMessage(QStringLiteral("Attention!"),
                                  QStringLiteral("You must select one item to continue."));
        select->click();
        QVERIFY(picker->isVisible());
        list->setCurrentRow(row);
        select->click();
    });
}

void TestEditorForms::hostEditorSaveEditCancelDelete()
{
    HostEditor* editor = m_editors->hostEditor();
    QTreeWidgetItem* hosts = label(QStringLiteral("Host Addresses"));
    QCOMPARE(hosts->childCount(), 2);
    click(hosts);
    m_page->newRecord();
    QVERIFY(editor->isVisible());
    // Modal to the main window, which stays enabled, so that what the editor asks can be answered.
    QVERIFY(m_main->isEnabled());
    QCOMPARE(editor->windowModality(), Qt::WindowModal);
    QCOMPARE(QApplication::activeModalWidget(), editor);
    QVERIFY(!editor->deleteit->isEnabled());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Hosts"));
    QCOMPARE(editor->heading->text(), QStringLiteral("Add/Modify Hosts"));
    editor->first->setText(QStringLiteral("web"));
    editor->second->setText(QStringLiteral("10.0.0.5."));
    m_prompter->expectMessage(QStringLiteral("Question"), question("web", "name", "web.example.com."));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(m_main->isEnabled());
    QCOMPARE(fileBytes(), golden(QStringLiteral("host_web.dns")));
    QCOMPARE(hosts->childCount(), 3);
    QCOMPARE(hosts->child(2)->text(0), QStringLiteral("web.example.com."));

    // Edit opens on the record; Cancel changes nothing.
    click(hosts->child(2));
    m_page->editRecord();
    QVERIFY(editor->isVisible());
    QVERIFY(editor->deleteit->isEnabled());
    QCOMPARE(editor->first->text(), QStringLiteral("web.example.com."));
    QCOMPARE(editor->second->text(), QStringLiteral("10.0.0.5"));
    const QByteArray saved = fileBytes();
    editor->cancelit->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(m_main->isEnabled());
    QVERIFY(editor->first->text().isEmpty());
    QCOMPARE(fileBytes(), saved);

    // A refused change keeps the editor open with the converted name.
    click(hosts->child(2));
    m_page->editRecord();
    editor->first->setText(QStringLiteral("www"));
    m_prompter->expectMessage(QStringLiteral("Question"), question("www", "name", "www.example.com."));
    m_prompter->expectMessage(QStringLiteral("Re-Enter."),
                              QStringLiteral("You already have used the host name as an alias."));
    editor->saveit->click();
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->first->text(), QStringLiteral("www.example.com."));
    QCOMPARE(fileBytes(), saved);

    // Delete asks nothing and takes the node and the reverse-ignore entries away.
    m_state->zoneLists.reverseignore = QStringList{"web.example.com.", "other.", "web.example.com."};
    editor->deleteit->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(hosts->childCount(), 2);
    QCOMPARE(m_state->zoneLists.reverseignore, QStringList{"other."});
    QCOMPARE(m_state->zone.hostaddrs.count(), 2);
    QCOMPARE(fileBytes(), zoneFileBytes(m_state->zone));
}

void TestEditorForms::hostDeleteFromTheBrowserHonoursDelebox()
{
    HostEditor* editor = m_editors->hostEditor();
    QTreeWidgetItem* hosts = label(QStringLiteral("Host Addresses"));
    click(hosts->child(0));
    m_page->editRecord();
    editor->cancelit->click();

    // The zone's name server lies outside it here, so that its hosts may all go.
    m_state->zone.nameservers.clear();
    m_state->zone.nameservers.appendLine(QStringLiteral("example.com.     IN     NS     ns.example.net."));
    // Hidden and without the flag, the record goes and the node stays. The alias that points to it is kept.
    m_state->zone.hostaddrs.setEditIndex(0);
    editor->load(0);
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete the host ns1.example.com. (10.0.0.1)? "
                                             "These records point to it (www.example.com. CNAME ns1.example.com.). "
                                             "Press \"YES\" to delete them as well, \"NO\" to keep them, or \"CANCEL\" "
                                             "to delete nothing."),
                              Prompter::Button::No);
    editor->deleteitClick();
    QCOMPARE(m_state->zone.hostaddrs.count(), 1);
    QCOMPARE(hosts->childCount(), 2);

    // With the flag the node goes too, and the flag is spent.
    click(hosts->child(1));
    m_state->zone.hostaddrs.setEditIndex(0);
    editor->load(0);
    editor->removeNodeWhileHidden = true;
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("Are you sure you want to delete the host mail.example.com. (10.0.0.2)? "
                                             "These records point to it (example.com. MX 10 mail.example.com.). Press "
                                             "\"YES\" to delete them as well, \"NO\" to keep them, or \"CANCEL\" to "
                                             "delete nothing."),
                              Prompter::Button::No);
    editor->deleteitClick();
    QVERIFY(!editor->removeNodeWhileHidden);
    QCOMPARE(m_state->zone.hostaddrs.count(), 0);
    QCOMPARE(hosts->childCount(), 1);
    QCOMPARE(fileBytes(), zoneFileBytes(m_state->zone));
}

void TestEditorForms::nameServerEditorPicksAHost()
{
    NameServerEditor* editor = m_editors->nameServerEditor();
    ServerHostPicker* picker = m_editors->serverPicker();
    QTreeWidgetItem* servers = label(QStringLiteral("Name Servers"));
    click(servers);
    m_page->newRecord();
    QVERIFY(editor->isVisible());
    editor->second->setText(QStringLiteral("ns2"));
    m_prompter->expectMessage(QStringLiteral("Question"), question("ns2", "first name", "ns2.example.com."));
    m_prompter->expectMessage(QStringLiteral("Information"), noHostFor(QStringLiteral("name")), Prompter::Button::Yes);
    pickLater(picker, picker->hostlist, picker->selectit, 1);
    editor->saveit->click();
    QCOMPARE(picker->windowTitle(), QStringLiteral("Select host for name server..."));
    QCOMPARE(picker->heading->text(), QStringLiteral("Select host for name server..."));
    QCOMPARE(picker->hostlist->count(), 2);
    QVERIFY(!editor->isVisible());
    QCOMPARE(fileBytes(), golden(QStringLiteral("ns_picked.dns")));
    QCOMPARE(servers->child(1)->text(0), QStringLiteral("mail.example.com."));

    // Delete of the new record.
    click(servers->child(1));
    m_page->editRecord();
    QCOMPARE(editor->second->text(), QStringLiteral("mail.example.com."));
    editor->deleteit->click();
    QCOMPARE(servers->childCount(), 1);
    QCOMPARE(m_state->zone.nameservers.count(), 1);
}

void TestEditorForms::mailServerEditorChangesItsRecord()
{
    MailServerEditor* editor = m_editors->mailServerEditor();
    QTreeWidgetItem* mail = label(QStringLiteral("Mail Servers"));
    click(mail->child(0));
    m_page->editRecord();
    QCOMPARE(editor->second->text(), QStringLiteral("mail.example.com."));
    QCOMPARE(editor->value->text(), QStringLiteral("10"));
    QCOMPARE(editor->value->toolTip(), QStringLiteral("Set the priority level.  Lower numbers are higher priority.  "
                                                      "Example, 10 is higher priority than 20."));
    editor->second->setText(QStringLiteral("mail.example.com"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(fileBytes(), golden(QStringLiteral("mx_same.dns")));
    QCOMPARE(mail->childCount(), 1);
    QCOMPARE(mail->child(0)->text(0), QStringLiteral("mail.example.com."));
}

void TestEditorForms::aliasEditorPicksAHost()
{
    AliasEditor* editor = m_editors->aliasEditor();
    AliasTargetPicker* picker = m_editors->aliasPicker();
    QTreeWidgetItem* aliases = label(QStringLiteral("Aliases"));
    click(aliases);
    m_page->newRecord();
    editor->first->setText(QStringLiteral("ftp"));
    editor->second->setText(QStringLiteral("files.example.net."));
    m_prompter->expectMessage(QStringLiteral("Question"), question("ftp", "first name", "ftp.example.com."));
    m_prompter->expectMessage(
        QStringLiteral("Question"),
        QStringLiteral("The name you have entered in the name field appears to be invalid because it does not "
                       "include the domain name you are working with, and we have detected a period in the name. "
                       "Click \"OK\" if you would like files.example.net. to be changed to files.example.net. or "
                       "cancel to re-enter the information."));
    m_prompter->expectMessage(QStringLiteral("Information"), noHostFor(QStringLiteral("alias")), Prompter::Button::Yes);
    pickLater(picker, picker->hostlist, picker->selectit, 1);
    editor->saveit->click();
    QCOMPARE(picker->windowTitle(), QStringLiteral("Select host..."));
    QCOMPARE(picker->heading->text(), QStringLiteral("Select the host address you would like to use:"));
    QVERIFY(!editor->isVisible());
    QCOMPARE(fileBytes(), golden(QStringLiteral("alias_picked.dns")));
    QCOMPARE(aliases->child(1)->text(0), QStringLiteral("ftp.example.com."));
}

void TestEditorForms::personEditorAddsAndDeletes()
{
    ResponsiblePersonEditor* editor = m_editors->personEditor();
    QTreeWidgetItem* persons = label(QStringLiteral("Responsible Persons"));
    click(persons);
    m_page->newRecord();
    editor->first->setText(QStringLiteral("john"));
    editor->second->setText(QStringLiteral("john@example.com"));
    editor->third->setText(QStringLiteral("Room 12"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QCOMPARE(fileBytes(), golden(QStringLiteral("person_john.dns")));
    QCOMPARE(persons->child(0)->text(0), QStringLiteral("john"));

    click(persons->child(0));
    m_page->editRecord();
    QCOMPARE(editor->first->text(), QStringLiteral("john"));
    QCOMPARE(editor->second->text(), QStringLiteral("john.example.com."));
    QCOMPARE(editor->third->text(), QStringLiteral("\"Room 12\""));
    editor->deleteit->click();
    QCOMPARE(persons->childCount(), 0);
    QCOMPARE(m_state->zone.responsible.count(), 0);
    QCOMPARE(m_state->zone.textfiles.count(), 0);
    QCOMPARE(fileBytes(), zoneFileBytes(m_state->zone));
}

void TestEditorForms::soaEditorShowsOneFieldAndSaves()
{
    SoaEditor* editor = m_editors->soaEditor();
    QTreeWidgetItem* timing = label(QStringLiteral("Update Timing"));
    click(timing->child(2)); // "Refresh"
    m_page->editRecord();
    QVERIFY(editor->isVisible());
    QVERIFY(m_main->isEnabled());
    QCOMPARE(QApplication::activeModalWidget(), editor);
    QCOMPARE(editor->textdisp->text(), QStringLiteral("Refresh"));
    QVERIFY(editor->refresh->isVisible());
    for (QLineEdit* other :
         {editor->soa, editor->source2, editor->user, editor->serial, editor->retry, editor->expire, editor->minimum})
        QVERIFY(!other->isVisible());
    QCOMPARE(editor->refresh->text(), QStringLiteral("1080"));
    QCOMPARE(editor->user->text(), QStringLiteral("hostmaster.example.com."));
    editor->refresh->setText(QString());
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("You must enter something in the refresh field before saving. Re-Enter"));
    editor->saveit->click();
    QVERIFY(editor->isVisible());
    editor->refresh->setText(QStringLiteral("7200"));
    editor->saveit->click();
    QVERIFY(!editor->isVisible());
    QVERIFY(m_main->isEnabled());
    QVERIFY(editor->refresh->text().isEmpty());
    QVERIFY(!editor->refresh->isVisibleTo(editor));
    QCOMPARE(m_state->zone.sourceofauth.value(SoaRecord::Refresh), QStringLiteral("7200"));
    QCOMPARE(m_state->zone.sourceofauth.value(SoaRecord::Serial), QStringLiteral("2026120702"));
    QCOMPARE(fileBytes(), zoneFileBytes(m_state->zone));
}

void TestEditorForms::setupDefaultsAreChecked_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::newRow("serial letters") << "defaultserial"
                                    << "2026x"
                                    << "You have entered an invalid character in your starting S/N on the setup page.";
    QTest::newRow("refresh abc") << "defaultrefresh"
                                 << "abc"
                                 << "You have entered an invalid character in your refresh value on the setup page.";
    QTest::newRow("retry empty") << "defaultretry"
                                 << ""
                                 << "You have entered an invalid character in your retry value on the setup page.";
    QTest::newRow("expire too big") << "defaultexpire"
                                    << "2147483648"
                                    << "You have entered an invalid character in your expire value on the setup page.";
    QTest::newRow("minimum blank inside")
        << "defaultminimum"
        << "86 400"
        << "You have entered an invalid character in your time to live value on the setup page.";
    QTest::newRow("refresh number") << "defaultrefresh"
                                    << "1080"
                                    << "";
    QTest::newRow("serial largest") << "defaultserial"
                                    << "2147483647"
                                    << "";
    QTest::newRow("minimum negative") << "defaultminimum"
                                      << "-5"
                                      << "";
}

void TestEditorForms::setupDefaultsAreChecked()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    SetupPage page(*m_state);
    page.setPrompter(m_prompter.get());
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* edit = page.findChild<QLineEdit*>(field);
    QVERIFY(edit);
    edit->setText(text);
    if (!message.isEmpty())
        m_prompter->expectMessage(QStringLiteral("Attention!"), message);
    QFocusEvent leave(QEvent::FocusOut);
    QApplication::sendEvent(edit, &leave);
    QCOMPARE(m_prompter->prompts().size(), message.isEmpty() ? 0 : 1);
}

QTEST_MAIN(TestEditorForms)
#include "tst_editorforms.moc"
