#include "gui/editors/fastadddialog.h"
#include "gui/editors/newprimaryzonedialog.h"
#include "gui/editors/primaryzonewizard.h"
#include "gui/editors/wizardhostpickerdialog.h"
#include "gui/editors/zonecreationactions.h"
#include "gui/secondary/modifysecondarydialog.h"
#include "gui/secondary/newsecondarydialog.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "secondary/serverfixture.h"
#include "server/zonesave.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>

namespace {

const QByteArray kBoot = "directory C:\\\\ns\\\\data\r\n"
                         "cache . cache.dns\r\n"
                         "secondary     sec.example.org     10.0.0.1     sec.bak\r\n";

} // namespace

// The wiring of the zone creation windows on the "Domain Edit" page.
class TstCreationWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void cancelOnFirstPageDeletesWithoutQuestion();
    void backOnFirstPageReopensTheFirstDialog();
    void wizardRunToFinish();
    void fastAddWindow();
    void secondaryWindows();
    void hostPickerWantsASelection();

private:
    void startWizard(const QString& zone);

    std::unique_ptr<ServerFixture> m_server;
    std::unique_ptr<QWidget> m_main;
    DomainEditPage* m_page = nullptr;
    ZoneCreationActions* m_actions = nullptr;
};

void TstCreationWindows::init()
{
    m_server = std::make_unique<ServerFixture>(kBoot);
    QVERIFY(m_server->readBoot());
    m_server->state.domainDefaults.askBeforeEachNameServer = false;
    m_main = std::make_unique<QWidget>();
    m_page = new DomainEditPage(m_server->state, m_server->prompter, m_main.get());
    m_page->setBootFileSaver(serverBootFileSaver());
    m_page->setBootFileDrop([this](const QString& zone) {
        BootContext boot = m_server->bootContext();
        return dropPrimaryFromBootFile(boot, zone);
    });
    m_actions = new ZoneCreationActions(*m_page, m_server->state, m_server->prompter, m_main.get(),
                                        [this] { m_server->readBoot(); });
    m_page->buildPrimaryTree();
    m_page->buildSecondaryTree();
    m_main->show();
}

void TstCreationWindows::cleanup()
{
    QVERIFY2(m_server->prompter.problems().isEmpty(), qPrintable(m_server->prompter.problems().join('\n')));
    QCOMPARE(m_server->prompter.pending(), 0);
    m_main.reset();
    QUORVANE_VERIFY_ZONES_LOAD(m_server->bootPath(), m_server->dataPath(QString()));
}

void TstCreationWindows::startWizard(const QString& zone)
{
    m_page->newprimary->click();
    NewPrimaryZoneDialog* create = m_actions->createDialog();
    QVERIFY(create->isVisible());
    create->newname->setText(zone);
    create->startwizard->click();
    QVERIFY(!create->isVisible());
    QVERIFY(create->newname->text().isEmpty());
    QVERIFY(m_actions->wizard()->isVisible());
    // Modal to the main window, which stays enabled, so that what the wizard asks can be answered.
    QVERIFY(m_main->isEnabled());
    QCOMPARE(QApplication::activeModalWidget(), m_actions->wizard());
}

void TstCreationWindows::cancelOnFirstPageDeletesWithoutQuestion()
{
    const QByteArray before = readBytes(m_server->bootPath());
    startWizard(QStringLiteral("Example.COM"));
    PrimaryZoneWizard* wizard = m_actions->wizard();
    QCOMPARE(wizard->name, QStringLiteral("example.com"));
    QCOMPARE(wizard->serial->text(), QStringLiteral("2026120701"));
    QCOMPARE(wizard->refresh->text(), QStringLiteral("1080"));
    QVERIFY(QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    wizard->cancelit->click();
    QVERIFY(!wizard->isVisible());
    QVERIFY(m_main->isEnabled());
    QVERIFY(!QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QVERIFY(m_server->state.zoneLists.primdns.isEmpty());
    QCOMPARE(readBytes(m_server->bootPath()), before);
    QVERIFY(!m_server->state.zoneLists.skipNextDeleteQuestion);
    QVERIFY(wizard->serial->text().isEmpty());
}

void TstCreationWindows::backOnFirstPageReopensTheFirstDialog()
{
    startWizard(QStringLiteral("example.com"));
    m_actions->wizard()->backs[0]->click();
    QVERIFY(!m_actions->wizard()->isVisible());
    QVERIFY(m_actions->createDialog()->isVisible());
    QVERIFY(!QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    m_actions->createDialog()->cancelit->click();
    QVERIFY(!m_actions->createDialog()->isVisible());
}

void TstCreationWindows::wizardRunToFinish()
{
    startWizard(QStringLiteral("example.com"));
    PrimaryZoneWizard* wizard = m_actions->wizard();
    wizard->nexts[0]->click();
    QCOMPARE(wizard->notebook->currentIndex(), 1);
    wizard->names[0]->setText(QStringLiteral("www"));
    m_server->prompter.expectMessage(QStringLiteral("Error!"), QStringLiteral("If you fill in a name field, you must "
                                                                              "fill in a corresponding IP field."));
    wizard->nexts[1]->click();
    QCOMPARE(wizard->notebook->currentIndex(), 1);
    wizard->ips[0]->setText(QStringLiteral("10.0.0.1"));
    wizard->nexts[1]->click();
    QCOMPARE(wizard->notebook->currentIndex(), 2);
    QCOMPARE(wizard->names[0]->text(), QStringLiteral("www.example.com."));
    wizard->nameservers[0]->setText(QStringLiteral("www"));
    wizard->nexts[2]->click();
    wizard->nexts[3]->click();
    QCOMPARE(wizard->notebook->currentIndex(), 4);
    wizard->backs[4]->click();
    QCOMPARE(wizard->notebook->currentIndex(), 3);
    wizard->nexts[3]->click();
    wizard->finishit->click();
    QVERIFY(!wizard->isVisible());
    QVERIFY(m_main->isEnabled());
    QCOMPARE(wizard->finished, QStringLiteral("TRUE"));
    QVERIFY(QFile::exists(m_server->dataPath(QStringLiteral("example.com.DNS"))));
    QVERIFY(readBytes(m_server->dataPath(QStringLiteral("example.com.DNS")))
                .contains("example.com.     IN     NS     www.example.com. \r\n"));
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 1);
    QCOMPARE(m_page->primaryTree->topLevelItem(0)->text(0), QStringLiteral("example.com"));
}

void TstCreationWindows::fastAddWindow()
{
    FastAddDialog* fastAdd = m_actions->fastAddDialog();
    fastAdd->show();
    QCOMPARE(fastAdd->windowTitle(), QStringLiteral("Fast Add"));
    fastAdd->newname->setText(QStringLiteral("one.com"));
    fastAdd->addit->click();
    QVERIFY(fastAdd->newname->text().isEmpty());
    fastAdd->newname->setText(QStringLiteral("intranet"));
    m_server->prompter.expectMessage(QStringLiteral("Attention!"),
                                     QStringLiteral("You have entered an invalid name for a zone."));
    fastAdd->addit->click();
    QCOMPARE(fastAdd->newname->text(), QStringLiteral("intranet"));
    fastAdd->newname->setText(QStringLiteral("two.net"));
    fastAdd->addit->click();
    QCOMPARE(fastAdd->addthem->count(), 2);
    m_server->prompter.expectMessage(QStringLiteral("Information"),
                                     QStringLiteral("2 zones have been added to your server."));
    fastAdd->goit->click();
    QVERIFY(!fastAdd->isVisible());
    QCOMPARE(m_page->primaryTree->topLevelItemCount(), 2);
    QVERIFY(readBytes(m_server->bootPath())
                .contains("primary     one.com     one.com.DNS\r\nprimary     two.net     two.net.DNS\r\n"));
}

void TstCreationWindows::secondaryWindows()
{
    m_server->state.defaultsecondary = QStringLiteral("10.9.9.9");
    NewSecondaryDialog* create = m_actions->newSecondaryDialog();
    m_page->newsecondary->click();
    QVERIFY(create->isVisible());
    QCOMPARE(create->windowTitle(), QStringLiteral("Create a new Secondary Zone"));
    QCOMPARE(create->ipaddress->text(), QStringLiteral("10.9.9.9"));
    create->zonename->setText(QStringLiteral("New.Example.ORG"));
    create->zonePageNext->click();
    QCOMPARE(create->zonename->text(), QStringLiteral("new.example.org"));
    QCOMPARE(create->pages->currentIndex(), 1);
    create->mastersPageDone->click();
    QVERIFY(!create->isVisible());
    QVERIFY(readBytes(m_server->bootPath())
                .contains("secondary     new.example.org     10.9.9.9     new.example.org.DNS\r\n"));
    QCOMPARE(m_page->secondaryTree->topLevelItemCount(), 2);

    m_server->state.selection.secdnsname = QStringLiteral("sec.example.org");
    ModifySecondaryDialog* modify = m_actions->modifySecondaryDialog();
    modify->openFor(QStringLiteral("sec.example.org"));
    QVERIFY(modify->isVisible());
    QCOMPARE(modify->masterlist->count(), 1);
    modify->ipaddress->setText(QStringLiteral("10.0.0.2"));
    modify->addit->click();
    modify->ipaddress->setText(QStringLiteral("10.0.0.3"));
    modify->addit->click();
    modify->saveit->click();
    QVERIFY(!modify->isVisible());
    QVERIFY(readBytes(m_server->bootPath())
                .contains("secondary     sec.example.org     10.0.0.1 10.0.0.2 10.0.0.3      sec.example.org.DNS\r\n"));

    m_server->state.selection.secdnsname = QStringLiteral("sec.example.org");
    m_server->prompter.expectMessage(QStringLiteral("Question!"),
                                     QStringLiteral("Are you sure you want to delete sec.example.org?"));
    m_page->delsecondary->setEnabled(true);
    m_page->delsecondary->click();
    QVERIFY(!readBytes(m_server->bootPath()).contains("sec.example.org"));
    QCOMPARE(m_page->secondaryTree->topLevelItemCount(), 1);
}

void TstCreationWindows::hostPickerWantsASelection()
{
    WizardHostPickerDialog* picker = m_actions->wizard()->hostselect;
    picker->hostlist->addItems({"www.example.com.", "", "ns.example.com.", "", ""});
    m_server->prompter.expectMessage(QStringLiteral("Attention!"),
                                     QStringLiteral("You must select one item to continue."));
    picker->selectit->click();
    picker->hostlist->setCurrentRow(2);
    picker->selectit->click();
    QCOMPARE(picker->result(), int(QDialog::Accepted));
}

QTEST_MAIN(TstCreationWindows)
#include "tst_creationwindows.moc"
