#include "gui/registration/contactfields.h"
#include "gui/registration/contactregpage.h"
#include "gui/registration/domainregpage.h"
#include "gui/registration/hostregpage.h"
#include "gui/registration/registrationpage.h"
#include "gui/registration/reviewpanel.h"
#include "platform/settingsstore.h"
#include "registration/profilefile.h"
#include "registration/registrationfields.h"
#include "sampleregistrations.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "smtppeer.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kMailQuestion = QStringLiteral("You are about to mail this registration.  We strongly suggest you click "
                                             "SHOW FORM and review your entries before you proceed.  Click YES to "
                                             "mail the registration.  Click NO to cancel.");

QStringList tabTexts(const QTabWidget* tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

template <typename T> T* child(QWidget* parent, const char* name)
{
    T* widget = parent->findChild<T*>(QLatin1String(name));
    if (!widget)
        qWarning("no control %s", name);
    return widget;
}

void click(QWidget* parent, const char* name)
{
    QPushButton* button = child<QPushButton>(parent, name);
    QVERIFY(button);
    button->click();
}

QString text(QWidget* parent, const char* name)
{
    QLineEdit* edit = child<QLineEdit>(parent, name);
    return edit ? edit->text() : QStringLiteral("<missing>");
}

void type(QWidget* parent, const char* name, const QString& value)
{
    QLineEdit* edit = child<QLineEdit>(parent, name);
    QVERIFY(edit);
    edit->setText(value);
}

QString pdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// The "InterNic Registration" page headless: each form's controls reach the logic behind them.
class TstRegistrationPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pageHasItsFormsAndTabs();
    void domainSchemeAndDeleteQuestion();
    void domainCopyAndClearButtons();
    void domainShowFormAndProfileReload();
    void domainSaveAsDefaultSurvivesRestart();
    void domainPrintsToPdf();
    void hostActionsSchemeAndDelete();
    void hostMailShowsProgressOnAllReviewTabs();
    void hostMailToUnreachableServer();
    void contactActionsAndProfile();

private:
    void newPage();
    QString dataPath() const { return m_dir->filePath(QStringLiteral("data")); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<RegistrationPage> m_page;
};

void TstRegistrationPage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_state = std::make_unique<AppState>();
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("Quorvane.conf")));
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_platform = std::make_unique<FakePlatform>(dataPath());
    newPage();
}

void TstRegistrationPage::cleanup()
{
    m_page.reset();
    QCOMPARE(m_prompter->pending(), 0);
}

void TstRegistrationPage::newPage()
{
    m_page.reset();
    loadSettings(*m_state, *m_store, *m_prompter, *m_platform);
    m_page = std::make_unique<RegistrationPage>(*m_state, *m_store, *m_prompter, *m_platform);
    m_page->showState();
}

void TstRegistrationPage::pageHasItsFormsAndTabs()
{
    QCOMPARE(m_page->objectName(), QStringLiteral("internic"));
    QCOMPARE(tabTexts(m_page->forms()),
             QStringList({QStringLiteral("Domain Reg"), QStringLiteral("Host Reg"), QStringLiteral("Contact Reg")}));
    QCOMPARE(tabTexts(m_page->domainReg()->tabs()),
             QStringList({QStringLiteral("Type"), QStringLiteral("Org"), QStringLiteral("Admin"),
                          QStringLiteral("Technical"), QStringLiteral("Billing"), QStringLiteral("Servers && Invoice"),
                          QStringLiteral("Review && Submit")}));
    QCOMPARE(tabTexts(m_page->hostReg()->tabs()),
             QStringList(
                 {QStringLiteral("Type && Host"), QStringLiteral("Host Contact"), QStringLiteral("Review && Submit")}));
    QCOMPARE(tabTexts(m_page->contactReg()->tabs()),
             QStringList({QStringLiteral("Authorization, Notify && Authentication"), QStringLiteral("Contact"),
                          QStringLiteral("Review && Submit")}));
    QCOMPARE(child<QPushButton>(m_page.get(), "domainmail")->text(), QStringLiteral("Mail to InterNIC"));
    QCOMPARE(child<QPushButton>(m_page.get(), "hostmail")->text(), QStringLiteral("Mail to InterNIC"));
    QCOMPARE(child<QPushButton>(m_page.get(), "contactmail")->text(), QStringLiteral("Mail to NIC"));
    for (const char* prefix : {"domain", "host", "contact"}) {
        QCOMPARE(child<QLineEdit>(m_page.get(), qPrintable(QLatin1String(prefix) + QStringLiteral("status")))->text(),
                 QStringLiteral("status..."));
        QVERIFY(child<QPlainTextEdit>(m_page.get(), qPrintable(QLatin1String(prefix) + QStringLiteral("view")))
                    ->isReadOnly());
    }
    // Every field of the three records carries its key as its name.
    for (const auto& [key, value] : domainProfile(DomainRegistration())) {
        if (key != QLatin1String("Invoice"))
            QVERIFY2(m_page->domainReg()->findChild<QWidget*>(key), qPrintable(key));
    }
    for (const auto& [key, value] : hostProfile(HostRegistration())) {
        if (key != QLatin1String("HostType"))
            QVERIFY2(m_page->hostReg()->findChild<QWidget*>(key), qPrintable(key));
    }
    for (const auto& [key, value] : contactProfile(ContactRegistration())) {
        if (key == QLatin1String("NotifyUp"))
            QVERIFY(m_page->contactReg()->findChild<QComboBox*>(QStringLiteral("ContactNotifyUpdates")));
        else if (key == QLatin1String("NotifyUse"))
            QVERIFY(m_page->contactReg()->findChild<QComboBox*>(QStringLiteral("ContactNotifyUse")));
        else if (key != QLatin1String("ContactType") && key != QLatin1String("Public"))
            QVERIFY2(m_page->contactReg()->findChild<QWidget*>(key), qPrintable(key));
    }
}

void TstRegistrationPage::domainSchemeAndDeleteQuestion()
{
    DomainRegPage* domain = m_page->domainReg();
    QVERIFY(domain->newdomain->isChecked());
    QVERIFY(domain->viaemail->isChecked());
    QCOMPARE(domain->AuthScheme->currentText(), QString());
    QVERIFY(!domain->AuthInfoEdit->isEnabled());

    domain->AuthScheme->setCurrentIndex(domain->AuthScheme->findText(QStringLiteral("CRYPT-PW")));
    QCOMPARE(domain->authinfolabel->text(), QStringLiteral("Password"));
    QVERIFY(domain->AuthInfoEdit->isEnabled());
    domain->AuthScheme->setCurrentIndex(domain->AuthScheme->findText(QStringLiteral("PGP")));
    QCOMPARE(domain->authinfolabel->text(), QStringLiteral("n/a"));
    QVERIFY(!domain->AuthInfoEdit->isEnabled());
    QCOMPARE(domain->AuthInfoEdit->palette().color(QPalette::Disabled, QPalette::Base), QColor(0xc0, 0xc0, 0xc0));

    const QString question = QStringLiteral("You just chose to DELETE a domain.  Is this what you really want to do?");
    m_prompter->expectMessage(QStringLiteral("Question!"), question, Prompter::Button::No);
    child<QRadioButton>(domain, "deletedomain")->click();
    QVERIFY(domain->newdomain->isChecked());
    m_prompter->expectMessage(QStringLiteral("Question!"), question, Prompter::Button::Yes);
    child<QRadioButton>(domain, "deletedomain")->click();
    QVERIFY(domain->deletedomain->isChecked());
}

void TstRegistrationPage::domainCopyAndClearButtons()
{
    QWidget* domain = m_page->domainReg();
    const char* orgFields[] = {"OOrgNameEdit", "OAddrEdit", "OCityEdit", "OStateEdit", "OZipEdit", "OCountryEdit"};
    const char* orgTargets[] = {"Org", "Addr", "City", "State", "Zip", "Country"};
    const QStringList orgValues = {QStringLiteral("Example Corp"), QStringLiteral("1 Road"), QStringLiteral("Bern"),
                                   QStringLiteral("BE"),           QStringLiteral("3000"),   QStringLiteral("CH")};
    for (int i = 0; i < 6; ++i)
        type(domain, orgFields[i], orgValues.at(i));
    type(domain, "ANameEdit", QStringLiteral("Ada"));
    click(domain, "orgcopytoall");
    for (const char* letter : {"A", "T", "B"}) {
        for (int i = 0; i < 6; ++i)
            QCOMPARE(
                text(domain, qPrintable(QLatin1String(letter) + QLatin1String(orgTargets[i]) + QLatin1String("Edit"))),
                orgValues.at(i));
    }
    QCOMPARE(text(domain, "ANameEdit"), QStringLiteral("Ada"));

    // A contact copies all its twelve fields to another contact, and its address part to the organization.
    type(domain, "AHandleEdit", QStringLiteral("AA1"));
    type(domain, "APhoneEdit", QStringLiteral("+41 31 000"));
    type(domain, "ACityEdit", QStringLiteral("Basel"));
    click(domain, "admincopytotech");
    QCOMPARE(text(domain, "THandleEdit"), QStringLiteral("AA1"));
    QCOMPARE(text(domain, "TNameEdit"), QStringLiteral("Ada"));
    QCOMPARE(text(domain, "TPhoneEdit"), QStringLiteral("+41 31 000"));
    QCOMPARE(text(domain, "BHandleEdit"), QString());
    click(domain, "admincopytoorg");
    QCOMPARE(text(domain, "OCityEdit"), QStringLiteral("Basel"));
    click(domain, "billingcopyfromtech");
    QCOMPARE(text(domain, "BPhoneEdit"), QStringLiteral("+41 31 000"));
    type(domain, "OCityEdit", QStringLiteral("Chur"));
    click(domain, "techcopyfromorg");
    QCOMPARE(text(domain, "TCityEdit"), QStringLiteral("Chur"));
    QCOMPARE(text(domain, "TPhoneEdit"), QStringLiteral("+41 31 000"));
    type(domain, "BMailEdit", QStringLiteral("b@example.com"));
    click(domain, "billingcopytoall");
    QCOMPARE(text(domain, "AMailEdit"), QStringLiteral("b@example.com"));
    QCOMPARE(text(domain, "TMailEdit"), QStringLiteral("b@example.com"));
    QCOMPARE(text(domain, "OCityEdit"), QStringLiteral("Basel"));
    type(domain, "ACityEdit", QStringLiteral("Sion"));
    click(domain, "orgcopyfromadmin");
    QCOMPARE(text(domain, "OCityEdit"), QStringLiteral("Sion"));

    // The country code holds two characters.
    QCOMPARE(child<QLineEdit>(domain, "ACountryEdit")->maxLength(), 2);

    click(domain, "techclear");
    for (const char* name : {"THandleEdit", "TNameEdit", "TCityEdit", "TMailEdit"})
        QCOMPARE(text(domain, name), QString());
    QCOMPARE(text(domain, "AHandleEdit"), QStringLiteral("AA1"));
    click(domain, "orgclear");
    for (const char* name : orgFields)
        QCOMPARE(text(domain, name), QString());
    type(domain, "PriNSEdit", QStringLiteral("ns1.example.com"));
    type(domain, "fourthnsipedit", QStringLiteral("192.0.2.4"));
    click(domain, "serversclear");
    QCOMPARE(text(domain, "PriNSEdit"), QString());
    QCOMPARE(text(domain, "fourthnsipedit"), QString());
    QCOMPARE(text(domain, "BMailEdit"), QStringLiteral("b@example.com"));
}

void TstRegistrationPage::domainShowFormAndProfileReload()
{
    DomainRegPage* domain = m_page->domainReg();
    m_prompter->expectMessage(QStringLiteral("Information"),
                              QStringLiteral("You did not enter a domain name on the TYPE tab."));
    click(domain, "domainshowform");

    domain->setRecord(sampleDomain());
    domain->newdomain->setChecked(true);
    click(domain, "domainshowform");
    const QStringList shown = domain->review()->lines();
    QCOMPARE(shown.at(0), QStringLiteral("Processed ") + m_platform->shortDateLongTime(m_platform->now()));
    QVERIFY(shown.contains(QStringLiteral("2.  Complete Domain Name.......: example.com")));
    QVERIFY(shown.contains(QStringLiteral("Second line of the purpose.")));
    QCOMPARE(m_state->domainNames, QStringList{QStringLiteral("example.com")});
    QCOMPARE(domain->DomainNameEdit->count(), 1);
    QCOMPARE(domain->DomainNameEdit->currentText(), QStringLiteral("example.com"));
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("domains.cbx"))), QByteArray("example.com\r\n"));
    QVERIFY(QFile::exists(QDir(dataPath()).filePath(QStringLiteral("domains/example.com.ini"))));

    // Clear All empties the fields, never the radio choices.
    click(domain, "domainclearall");
    QCOMPARE(domain->DomainNameEdit->currentText(), QString());
    QCOMPARE(domain->PurposeEdit->toPlainText(), QString());
    QCOMPARE(domain->AuthScheme->currentText(), QString());
    QCOMPARE(text(domain, "TPhoneEdit"), QString());
    QVERIFY(domain->viapostal->isChecked());

    // Typing a known name brings its profile back, the purpose with all its lines.
    domain->viaemail->setChecked(true);
    QTest::keyClicks(domain->DomainNameEdit->lineEdit(), QStringLiteral("example.com"));
    QCOMPARE(domain->PurposeEdit->toPlainText(), sampleDomain().purpose);
    QCOMPARE(text(domain, "TPhoneEdit"), sampleDomain().technical.phone);
    QCOMPARE(text(domain, "fourthnsedit"), QStringLiteral("ns4.example.org"));
    QCOMPARE(domain->AuthScheme->currentText(), QStringLiteral("CRYPT-PW"));
    QVERIFY(domain->AuthInfoEdit->isEnabled());
    QVERIFY(domain->viapostal->isChecked());
    QCOMPARE(domain->DomainNameEdit->currentText(), QStringLiteral("example.com"));

    // Delete: the template stays in view, the name and the files go.
    m_prompter->expectMessage(QStringLiteral("Question!"),
                              QStringLiteral("You just chose to DELETE a domain.  Is this what you really want to do?"),
                              Prompter::Button::Yes);
    domain->deletedomain->click();
    click(domain, "domainshowform");
    QVERIFY(domain->review()->lines().contains(QStringLiteral("0a. (N)ew (M)odify (D)elete....: D")));
    QVERIFY(m_state->domainNames.isEmpty());
    QCOMPARE(domain->DomainNameEdit->count(), 0);
    QCOMPARE(domain->DomainNameEdit->currentText(), QStringLiteral("example.com"));
    QVERIFY(!QFile::exists(QDir(dataPath()).filePath(QStringLiteral("domains/example.com.ini"))));
    QVERIFY(!QFile::exists(QDir(dataPath()).filePath(QStringLiteral("domains/example.com.txt"))));
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("domains.cbx"))), QByteArray());
}

void TstRegistrationPage::domainSaveAsDefaultSurvivesRestart()
{
    DomainRegPage* domain = m_page->domainReg();
    domain->setRecord(sampleDomain());
    click(domain, "domainsavedefault");
    QCOMPARE(m_store->text(QStringLiteral("DomainReg"), QStringLiteral("TPhone")), sampleDomain().technical.phone);
    QCOMPARE(m_store->text(QStringLiteral("DomainReg"), QStringLiteral("Name")), QStringLiteral("example.com"));

    m_state = std::make_unique<AppState>();
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("Quorvane.conf")));
    newPage();
    domain = m_page->domainReg();
    QCOMPARE(text(domain, "TPhoneEdit"), sampleDomain().technical.phone);
    QCOMPARE(domain->PurposeEdit->toPlainText(), sampleDomain().purpose);
    QCOMPARE(domain->AuthScheme->currentText(), QStringLiteral("CRYPT-PW"));
    QCOMPARE(text(domain, "ThirdNSIPEdit"), QStringLiteral("198.51.100.3"));
    QCOMPARE(domain->DomainNameEdit->currentText(), QString());
    // Radio choices have no defaults.
    QVERIFY(domain->newdomain->isChecked());
    QVERIFY(domain->viaemail->isChecked());
}

void TstRegistrationPage::domainPrintsToPdf()
{
    DomainRegPage* domain = m_page->domainReg();
    const QString pdf = m_dir->filePath(QStringLiteral("printed.pdf"));
    int dialogs = 0;
    m_page->setPrinterChooser([&](QPrinter& printer) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    m_prompter->expectMessage(QStringLiteral("Information"),
                              QStringLiteral("You did not enter a domain name on the TYPE tab."));
    click(domain, "domainprint");
    QCOMPARE(dialogs, 0);

    domain->setRecord(sampleDomain());
    domain->newdomain->setChecked(true);
    click(domain, "domainshowform");
    // Printing uses what the view shows, not a new template.
    type(domain, "OOrgNameEdit", QStringLiteral("Changed After Showing"));
    click(domain, "domainprint");
    QCOMPARE(dialogs, 1);
    const QString printed = pdfText(pdf);
    for (const char* words :
         {"Domain Version Number: 3.5", "NETWORK SOLUTIONS, INC.", "A.Introduction.",
          "Q.This is Domain Name Registration Agreement Version 3.5", "Complete Domain Name", "example.com",
          "Second line of the purpose.", "Example Corp", "ns4.example.org", "END OF AGREEMENT"})
        QVERIFY2(printed.simplified().contains(QLatin1String(words)), words);
    QVERIFY(!printed.contains(QLatin1String("Changed After Showing")));
    QVERIFY2(printed.count(QLatin1Char('\f')) >= 2, "the template runs over more than one page");
    // Every line of the view is on paper, in order.
    const QString flat = printed.simplified();
    qsizetype at = 0;
    for (const QString& line : domain->review()->lines()) {
        const QString words = line.simplified();
        if (words.isEmpty())
            continue;
        const qsizetype found = flat.indexOf(words, at);
        QVERIFY2(found >= 0, qPrintable(line));
        at = found + words.size();
    }

    QFile::remove(pdf);
    m_page->setPrinterChooser([&](QPrinter&) { return false; });
    click(domain, "domainprint");
    QVERIFY(!QFile::exists(pdf));
}

void TstRegistrationPage::hostActionsSchemeAndDelete()
{
    HostRegPage* host = m_page->hostReg();
    QVERIFY(host->newhost->isChecked());
    QVERIFY(!host->HostNicHandle->isEnabled());
    QVERIFY(!host->HostAuthInfo->isEnabled());
    host->modifyhost->click();
    QVERIFY(host->HostNicHandle->isEnabled());
    host->newhost->click();
    QVERIFY(!host->HostNicHandle->isEnabled());
    const QString question = QStringLiteral("You just chose to DELETE a host.  Is this what you really want to do?");
    m_prompter->expectMessage(QStringLiteral("Question!"), question, Prompter::Button::No);
    host->deletehost->click();
    QVERIFY(host->newhost->isChecked());
    QVERIFY(!host->HostNicHandle->isEnabled());
    m_prompter->expectMessage(QStringLiteral("Question!"), question, Prompter::Button::Yes);
    host->deletehost->click();
    QVERIFY(host->deletehost->isChecked());
    QVERIFY(host->HostNicHandle->isEnabled());

    host->HostAuthScheme->setCurrentIndex(host->HostAuthScheme->findText(QStringLiteral("CRYPT-PW")));
    QVERIFY(host->HostAuthInfo->isEnabled());
    QCOMPARE(host->hostauthinfolabel->text(), QStringLiteral("Password"));
    host->HostAuthScheme->setCurrentIndex(host->HostAuthScheme->findText(QStringLiteral("MAIL-FROM")));
    QVERIFY(!host->HostAuthInfo->isEnabled());

    // A profile kept earlier comes back when its name is chosen from the list.
    QDir().mkpath(QDir(dataPath()).filePath(QStringLiteral("hosts")));
    QString error;
    QVERIFY(writeProfile(QDir(dataPath()).filePath(QStringLiteral("hosts/ns1.example.com.ini")),
                         QStringLiteral("HostReg"), hostProfile(sampleHost()), &error));
    m_state->hostNames = {QStringLiteral("ns1.example.com")};
    m_page->showState();
    host->HostName->setCurrentIndex(0);
    QCOMPARE(text(host, "HCName"), sampleHost().contact.name);
    QCOMPARE(text(host, "HostIPAddress"), QStringLiteral("192.0.2.1"));
    QCOMPARE(text(host, "HostNicHandle"), QStringLiteral("NS1-EXAMPLE"));
    QVERIFY(host->deletehost->isChecked());

    click(host, "hostclearall");
    QCOMPARE(host->HostName->currentText(), QString());
    QCOMPARE(text(host, "HCName"), QString());
    QCOMPARE(host->HostAuthScheme->currentText(), QString());
    QVERIFY(host->deletehost->isChecked());
}

void TstRegistrationPage::hostMailShowsProgressOnAllReviewTabs()
{
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem), qPrintable(problem));
    m_state->mail = {QStringLiteral("admin@example.org"), QStringLiteral("Quorvane Admin"), peer.address(),
                     QStringLiteral("hostmaster@registry.example")};
    HostRegPage* host = m_page->hostReg();
    host->setRecord(sampleHost());
    host->newhost->click();

    // Each status the client reports shows on all three review tabs at once.
    QStringList seen;
    QList<int> bars;
    QLineEdit* domainStatus = child<QLineEdit>(m_page.get(), "domainstatus");
    QLineEdit* hostStatus = child<QLineEdit>(m_page.get(), "hoststatus");
    QProgressBar* contactBar = child<QProgressBar>(m_page.get(), "contactprogress");
    // The contact tab is the last to be told.
    connect(child<QLineEdit>(m_page.get(), "contactstatus"), &QLineEdit::textChanged, this, [&](const QString& status) {
        QCOMPARE(domainStatus->text(), status);
        QCOMPARE(hostStatus->text(), status);
        seen << status;
        bars << contactBar->value();
    });
    m_prompter->expectMessage(QStringLiteral("Question!"), kMailQuestion, Prompter::Button::Yes);
    m_prompter->expectMessage(QStringLiteral("Information"), QStringLiteral("Your registratuion has been sent."));
    m_prompter->expectMessage(QStringLiteral("Sent!"), QStringLiteral("Your registration has been sent!"));
    click(host, "hostmail");
    QCOMPARE(seen, QStringList({QStringLiteral("Preparing message"), QStringLiteral("Opening connection"),
                                QStringLiteral("Sending message"), QStringLiteral("Message has been sent"),
                                QStringLiteral("Closing connection"), QStringLiteral("Connection closed")}));
    QCOMPARE(bars, QList<int>({10, 30, 50, 70, 100, 0}));
    QCOMPARE(contactBar->value(), 0);
    QCOMPARE(child<QProgressBar>(m_page.get(), "domainprogress")->value(), 0);

    QVERIFY(peer.waitForMessages(1));
    const QByteArray message = peer.messages().first();
    QCOMPARE(headerValue(message, "Subject"), QByteArray("ns1.example.com Internic HOST Registration"));
    QCOMPARE(headerValue(message, "X-RcptTo"), QByteArray("hostmaster@registry.example"));
    QVERIFY(messageBody(message).contains("1c. IP Address.................: 192.0.2.1\n"));
    QCOMPARE(m_state->hostNames, QStringList{QStringLiteral("ns1.example.com")});
    QCOMPARE(host->HostName->count(), 1);
    QVERIFY(host->review()->lines().contains(QStringLiteral("Host Version Number: 1.0")));
}

void TstRegistrationPage::hostMailToUnreachableServer()
{
    const int port = SmtpPeer::closedPort();
    m_state->mail = {QStringLiteral("admin@example.org"), QStringLiteral("Quorvane Admin"),
                     QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("hostmaster@registry.example")};
    HostRegPage* host = m_page->hostReg();
    host->setRecord(sampleHost());
    host->newhost->click();
    m_prompter->expectMessage(QStringLiteral("Question!"), kMailQuestion, Prompter::Button::Yes);
    m_prompter->answer(Prompter::Button::Ok);
    click(host, "hostmail");
    const ScriptedPrompter::Prompt report = m_prompter->prompts().last();
    QCOMPARE(report.caption, QStringLiteral("Error"));
    QVERIFY2(
        report.text.startsWith(QStringLiteral("The registration mail could not be sent to 127.0.0.1:%1: ").arg(port)),
        qPrintable(report.text));
    QCOMPARE(text(m_page.get(), "hoststatus"), QStringLiteral("Operation has been canceled"));
    QCOMPARE(text(m_page.get(), "domainstatus"), QStringLiteral("Operation has been canceled"));
    QVERIFY(m_state->hostNames.isEmpty());
    QCOMPARE(host->HostName->count(), 0);
    QVERIFY(!QFile::exists(QDir(dataPath()).filePath(QStringLiteral("hosts.cbx"))));
}

void TstRegistrationPage::contactActionsAndProfile()
{
    ContactRegPage* contact = m_page->contactReg();
    QVERIFY(contact->newcontact->isChecked());
    QVERIFY(contact->confidential->isChecked());
    QLineEdit* handle = child<QLineEdit>(contact, "ContactNicHandle");
    QLineEdit* role = child<QLineEdit>(contact, "ContactRole");
    QVERIFY(!contact->ContactAuthorizationType->isEnabled());
    QVERIFY(!contact->ContactAuthorizationInfo->isEnabled());
    QVERIFY(!handle->isEnabled());
    QVERIFY(role->isEnabled());

    contact->ContactAuthorizationType->setCurrentIndex(
        contact->ContactAuthorizationType->findText(QStringLiteral("MAIL-FROM")));
    contact->modifycontact->click();
    QVERIFY(contact->ContactAuthorizationType->isEnabled());
    QVERIFY(handle->isEnabled());
    QVERIFY(role->isEnabled());
    QVERIFY(!contact->ContactAuthorizationInfo->isEnabled());
    contact->ContactAuthorizationType->setCurrentIndex(
        contact->ContactAuthorizationType->findText(QStringLiteral("CRYPT-PW")));
    QVERIFY(contact->ContactAuthorizationInfo->isEnabled());

    const QString question = QStringLiteral("You just chose to DELETE a contact.  Is this what you really want to do?");
    m_prompter->expectMessage(QStringLiteral("Question!"), question, Prompter::Button::No);
    contact->deletecontact->click();
    QVERIFY(contact->newcontact->isChecked());
    QVERIFY(!contact->ContactAuthorizationType->isEnabled());
    QVERIFY(!contact->ContactAuthorizationInfo->isEnabled());
    QVERIFY(!handle->isEnabled());
    QVERIFY(role->isEnabled());

    m_prompter->expectMessage(
        QStringLiteral("Information"),
        QStringLiteral("You did not enter a Contact Name on the Authorization, Notify & Authentication tab."));
    click(contact, "contactshowform");

    // A confidential profile selects "Confidential" even with "Public" chosen before.
    ContactRegistration record = sampleContactRegistration();
    record.publicLetter = QStringLiteral("N");
    QDir().mkpath(QDir(dataPath()).filePath(QStringLiteral("contacts")));
    QString error;
    QVERIFY(writeProfile(QDir(dataPath()).filePath(QStringLiteral("contacts/Person M\u00fcller.ini")),
                         QStringLiteral("ContactReg"), contactProfile(record), &error));
    contact->publiccontact->setChecked(true);
    contact->Contactname->setEditText(QStringLiteral("Person M\u00fcller"));
    QVERIFY(contact->confidential->isChecked());
    QCOMPARE(contact->ContactNotifyUpdates->currentText(), QStringLiteral("BEFORE-UPDATE"));
    QCOMPARE(contact->ContactAuthenticationType->currentText(), QStringLiteral("CRYPT-PW"));
    QCOMPARE(text(contact, "ContactMail"), QStringLiteral("person@example.com"));

    click(contact, "contactshowform");
    QVERIFY(contact->review()->lines().contains(QStringLiteral("3c. Public (Y/N)............: N")));
    QVERIFY(contact->review()->lines().contains(QStringLiteral("1c. Name....................: Person M\u00fcller")));
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("Contacts.cbx"))), QByteArray("Person M\xfcller\r\n"));

    // Refused names never reach the disk.
    contact->Contactname->setEditText(QStringLiteral("../../escape"));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("The name \"../../escape\" cannot be used: it holds a path separator "
                                             "(\"/\" or \"\\\"). The registration files are named after it, so "
                                             "please enter the name without it."));
    click(contact, "contactshowform");
    QCOMPARE(m_state->contactNames, QStringList{QStringLiteral("Person M\u00fcller")});

    click(contact, "contactclearall");
    QCOMPARE(contact->Contactname->currentText(), QString());
    QCOMPARE(contact->ContactNotifyUse->currentText(), QString());
    QCOMPARE(text(contact, "ContactMail"), QString());
    QVERIFY(contact->confidential->isChecked());
}

QTEST_MAIN(TstRegistrationPage)
#include "tst_registrationpage.moc"
