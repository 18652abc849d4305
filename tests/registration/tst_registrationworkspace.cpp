#include "net/mailmessage.h"
#include "net/smtpclient.h"
#include "registration/registrationfiles.h"
#include "registration/registrationname.h"
#include "registration/registrationworkspace.h"
#include "sampleregistrations.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "smtppeer.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(RegistrationDocument)

namespace {

const QString kQuestion = QStringLiteral("You are about to mail this registration.  We strongly suggest you click SHOW "
                                         "FORM and review your entries before you proceed.  Click YES to mail the "
                                         "registration.  Click NO to cancel.");
const QString kPgp = QStringLiteral("You have selected PGP as your Authorization type. If you wish to use PGP "
                                    "Encryption, cut and paste the form out of the window and use PGP software to "
                                    "mail it.");

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// Records with plain ASCII text, so that their mail bodies travel as they stand.
RegistrationDocument asciiDocument(RegistrationKind kind, RegistrationAction action = RegistrationAction::New)
{
    const QString processed = QStringLiteral("7 Dec 2026 09:30:15 UTC");
    switch (kind) {
    case RegistrationKind::Domain: {
        DomainRegistration d;
        d.action = action;
        d.domainName = QStringLiteral("example.com");
        d.authScheme = QStringLiteral("MAIL-FROM");
        d.purpose = QStringLiteral("Company web site\nand mail");
        d.admin = sampleContact(QStringLiteral("Admin"));
        d.admin.name = QStringLiteral("Ada Admin");
        return registrationDocument(d, processed);
    }
    case RegistrationKind::Host: {
        HostRegistration h;
        h.action = action;
        h.hostName = QStringLiteral("ns1.example.com");
        h.ipAddress = QStringLiteral("192.0.2.1");
        return registrationDocument(h, processed);
    }
    case RegistrationKind::Contact:
        break;
    }
    ContactRegistration c;
    c.action = action;
    c.contact.name = QStringLiteral("Ada Admin");
    c.contact.mail = QStringLiteral("ada@example.com");
    return registrationDocument(c);
}

MailSettings mailTo(const QString& server)
{
    return {QStringLiteral("admin@example.org"), QStringLiteral("Quorvane Admin"), server,
            QStringLiteral("hostmaster@registry.example")};
}

} // namespace

// Show Form and mailing without windows: files, name lists, the mail on a real server, and the failures.
class TstRegistrationWorkspace : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void emptyNameStops_data();
    void emptyNameStops();
    void unsafeNameIsRefusedBeforeAnythingIsWritten_data();
    void unsafeNameIsRefusedBeforeAnythingIsWritten();
    void showFormWritesFilesAndAddsNewName();
    void showFormKeepsKnownNameInOtherCase();
    void showFormDeleteRemovesNameAndFiles();
    void unwritableFolderFails();
    void mailReachesRealServer_data();
    void mailReachesRealServer();
    void mailKeepsDotLinesAndLatin1();
    void secondSendWhileBusyIsRefused();
    void mailUpgradesToTlsWhenOffered();
    void pgpSendsNothing();
    void unreachableServerReportsAndKeepsList();
    void declinedConfirmationStops();
    void missingServerIsReported();
    void subjects_data();
    void subjects();
    void mailStatuses_data();
    void mailStatuses();
    void serverSettings_data();
    void serverSettings();
    void messageHeadersAreSafe();

private:
    QString dataPath() const { return m_dir->filePath(QStringLiteral("data")); }
    TemplateViewer viewer()
    {
        return [this](const QStringList& lines) { m_shown = lines; };
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_shown;
};

void TstRegistrationWorkspace::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(dataPath());
    m_shown.clear();
}

void TstRegistrationWorkspace::emptyNameStops_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("mailing");
    QTest::addColumn<QString>("text");
    const QString domain = QStringLiteral("You did not enter a domain name on the TYPE tab.");
    const QString host = QStringLiteral("You did not enter a host name on the TYPE tab.");
    const QString contact =
        QStringLiteral("You did not enter a Contact Name on the Authorization, Notify & Authentication tab.");
    QTest::newRow("domain show") << int(RegistrationKind::Domain) << false << domain;
    QTest::newRow("domain mail") << int(RegistrationKind::Domain) << true << domain;
    QTest::newRow("host show") << int(RegistrationKind::Host) << false << host;
    QTest::newRow("host mail") << int(RegistrationKind::Host) << true << host;
    QTest::newRow("contact show") << int(RegistrationKind::Contact) << false << contact;
    QTest::newRow("contact mail") << int(RegistrationKind::Contact) << true << contact;
}

void TstRegistrationWorkspace::emptyNameStops()
{
    QFETCH(int, kind);
    QFETCH(bool, mailing);
    QFETCH(QString, text);
    RegistrationDocument document = asciiDocument(RegistrationKind(kind));
    document.name.clear();
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Information"), text);
    QStringList names;
    SmtpClient client;
    const RegistrationOutcome outcome =
        mailing ? mailRegistration(document, names, dataPath(), mailTo(QStringLiteral("127.0.0.1:1")), client, prompter,
                                   viewer())
                : showRegistrationForm(document, names, dataPath(), prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Stopped);
    QCOMPARE(prompter.pending(), 0);
    QVERIFY(filesUnder(dataPath()).isEmpty());
    QVERIFY(m_shown.isEmpty());
}

void TstRegistrationWorkspace::unsafeNameIsRefusedBeforeAnythingIsWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("mailing");
    QTest::newRow("parent folder, show") << QStringLiteral("../outside") << false;
    QTest::newRow("parent folder, mail") << QStringLiteral("../outside") << true;
    QTest::newRow("absolute path") << QStringLiteral("/tmp/evil") << false;
    QTest::newRow("backslash") << QStringLiteral("..\\..\\evil") << false;
    QTest::newRow("control character") << QStringLiteral("bad\x01name") << true;
    QTest::newRow("colon") << QStringLiteral("c:evil") << false;
}

void TstRegistrationWorkspace::unsafeNameIsRefusedBeforeAnythingIsWritten()
{
    QFETCH(QString, name);
    QFETCH(bool, mailing);
    RegistrationDocument document = asciiDocument(RegistrationKind::Domain, RegistrationAction::Delete);
    document.name = name;
    // Files that a careless path would hit.
    QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("outside.ini")), "keep"));
    QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("outside.txt")), "keep"));
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Attention!"), unsafeNameMessage(name, unsafeNameReason(name).value()));
    QStringList names = {name};
    SmtpClient client;
    const RegistrationOutcome outcome =
        mailing ? mailRegistration(document, names, dataPath(), mailTo(QStringLiteral("127.0.0.1:1")), client, prompter,
                                   viewer())
                : showRegistrationForm(document, names, dataPath(), prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Stopped);
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(names, QStringList{name});
    QCOMPARE(filesUnder(m_dir->path()), QStringList({QStringLiteral("outside.ini"), QStringLiteral("outside.txt")}));
    QCOMPARE(readBytes(m_dir->filePath(QStringLiteral("outside.ini"))), QByteArray("keep"));
}

void TstRegistrationWorkspace::showFormWritesFilesAndAddsNewName()
{
    const RegistrationDocument document = asciiDocument(RegistrationKind::Domain);
    ScriptedPrompter prompter;
    QStringList names = {QStringLiteral("other.org")};
    const RegistrationOutcome outcome = showRegistrationForm(document, names, dataPath(), prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Done);
    QCOMPARE(m_shown, document.templateLines);
    QCOMPARE(names, QStringList({QStringLiteral("other.org"), QStringLiteral("example.com")}));
    QCOMPARE(filesUnder(dataPath()),
             QStringList({QStringLiteral("domains.cbx"), QStringLiteral("domains/example.com.ini"),
                          QStringLiteral("domains/example.com.txt")}));
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("domains.cbx"))),
             QByteArray("other.org\r\nexample.com\r\n"));
    QCOMPARE(readTextLines(QDir(dataPath()).filePath(QStringLiteral("domains/example.com.txt"))).value(),
             document.templateLines);

    // What the lists hold is what the next start reads.
    AppState state;
    loadNameLists(state, dataPath());
    QCOMPARE(state.domainNames, names);
}

void TstRegistrationWorkspace::showFormKeepsKnownNameInOtherCase()
{
    const RegistrationDocument document = asciiDocument(RegistrationKind::Host);
    ScriptedPrompter prompter;
    QStringList names = {QStringLiteral("NS1.Example.COM")};
    QCOMPARE(showRegistrationForm(document, names, dataPath(), prompter, viewer()).status,
             RegistrationOutcome::Status::Done);
    QCOMPARE(names, QStringList{QStringLiteral("NS1.Example.COM")});
    QVERIFY(!QFile::exists(QDir(dataPath()).filePath(QStringLiteral("hosts.cbx"))));
    QVERIFY(QFile::exists(QDir(dataPath()).filePath(QStringLiteral("hosts/ns1.example.com.ini"))));
}

void TstRegistrationWorkspace::showFormDeleteRemovesNameAndFiles()
{
    const RegistrationDocument document = asciiDocument(RegistrationKind::Contact, RegistrationAction::Delete);
    ScriptedPrompter prompter;
    // A list file in other case is the one rewritten.
    QVERIFY(writeBytes(QDir(dataPath()).filePath(QStringLiteral("contacts.CBX")), "x\r\n"));
    QStringList names = {QStringLiteral("Bob"), QStringLiteral("Ada Admin"), QStringLiteral("Carl")};
    QCOMPARE(showRegistrationForm(document, names, dataPath(), prompter, viewer()).status,
             RegistrationOutcome::Status::Done);
    QCOMPARE(m_shown, document.templateLines);
    QVERIFY(m_shown.contains(QStringLiteral("0a. (N)ew (M)odify (D)elete.: D")));
    QCOMPARE(names, QStringList({QStringLiteral("Bob"), QStringLiteral("Carl")}));
    QCOMPARE(filesUnder(dataPath()), QStringList{QStringLiteral("contacts.CBX")});
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("contacts.CBX"))), QByteArray("Bob\r\nCarl\r\n"));
}

void TstRegistrationWorkspace::unwritableFolderFails()
{
    // A file where the folder should be: the folder cannot be made.
    QVERIFY(writeBytes(QDir(dataPath()).filePath(QStringLiteral("domains")), "in the way"));
    ScriptedPrompter prompter;
    QStringList names;
    const RegistrationOutcome outcome =
        showRegistrationForm(asciiDocument(RegistrationKind::Domain), names, dataPath(), prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Failed);
    QCOMPARE(outcome.errorText,
             QStringLiteral("The folder %1 could not be created.")
                 .arg(QDir::toNativeSeparators(QDir(dataPath()).filePath(QStringLiteral("domains")))));
    QVERIFY(names.isEmpty());
    QVERIFY(m_shown.isEmpty());
}

void TstRegistrationWorkspace::mailReachesRealServer_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("subject");
    QTest::newRow("domain") << int(RegistrationKind::Domain)
                            << QStringLiteral("example.com Internic DOMAIN Registration");
    QTest::newRow("host") << int(RegistrationKind::Host)
                          << QStringLiteral("ns1.example.com Internic HOST Registration");
    QTest::newRow("contact") << int(RegistrationKind::Contact)
                             << QStringLiteral("Ada Admin Internic CONTACT Registration");
}

void TstRegistrationWorkspace::mailReachesRealServer()
{
    QFETCH(int, kind);
    QFETCH(QString, subject);
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem), qPrintable(problem));

    const RegistrationDocument document = asciiDocument(RegistrationKind(kind));
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Question!"), kQuestion, Prompter::Button::Yes);
    prompter.expectMessage(QStringLiteral("Sent!"), QStringLiteral("Your registration has been sent!"));
    QList<SmtpClient::Event> events;
    SmtpClient client;
    client.setEventHandler([&events](SmtpClient::Event event) { events << event; });
    QStringList names;
    const RegistrationOutcome outcome =
        mailRegistration(document, names, dataPath(), mailTo(peer.address()), client, prompter, viewer());
    QVERIFY2(outcome.status == RegistrationOutcome::Status::Done, qPrintable(outcome.errorText));
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(events, QList<SmtpClient::Event>({SmtpClient::Event::Prepare, SmtpClient::Event::Open,
                                               SmtpClient::Event::Sending, SmtpClient::Event::MailSent,
                                               SmtpClient::Event::Closing, SmtpClient::Event::Closed}));
    QCOMPARE(names, QStringList{document.name});
    QCOMPARE(m_shown, document.templateLines);

    QVERIFY(peer.waitForMessages(1));
    const QByteArray message = peer.messages().first();
    QCOMPARE(headerValue(message, "X-RcptTo"), QByteArray("hostmaster@registry.example"));
    QCOMPARE(headerValue(message, "X-MailFrom"), QByteArray("admin@example.org"));
    QCOMPARE(headerValue(message, "To"), QByteArray("hostmaster@registry.example"));
    QCOMPARE(headerValue(message, "From"), QByteArray("\"Quorvane Admin\" <admin@example.org>"));
    QCOMPARE(headerValue(message, "Subject"), subject.toLatin1());
    QCOMPARE(headerValue(message, "Content-Type"), QByteArray("text/plain; charset=ISO-8859-1"));
    QCOMPARE(messageBody(message), document.templateLines.join(QLatin1Char('\n')).toLatin1() + '\n');
}

void TstRegistrationWorkspace::mailKeepsDotLinesAndLatin1()
{
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem), qPrintable(problem));
    RegistrationDocument document = asciiDocument(RegistrationKind::Contact);
    const QStringList lines = {QStringLiteral("first"), QStringLiteral("."), QStringLiteral(".leading dot"),
                               QStringLiteral("Z\u00fcrich")};
    SmtpClient client;
    QString error;
    QVERIFY2(sendRegistrationMail(document, lines, mailTo(peer.address()), client, &error), qPrintable(error));
    QVERIFY(peer.waitForMessages(1));
    const QByteArray message = peer.messages().first();
    QCOMPARE(headerValue(message, "Content-Transfer-Encoding"), QByteArray("quoted-printable"));
    QCOMPARE(messageBody(message), QByteArray("first\n.\n.leading dot\nZ=FCrich\n"));
}

void TstRegistrationWorkspace::secondSendWhileBusyIsRefused()
{
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem), qPrintable(problem));
    const RegistrationDocument document = asciiDocument(RegistrationKind::Domain);
    SmtpClient client;
    QList<SmtpClient::Event> events;
    QString secondError;
    bool secondSent = true;
    // A window message handled during the exchange tries to mail again.
    client.setEventHandler([&](SmtpClient::Event event) {
        events << event;
        if (event == SmtpClient::Event::Sending)
            secondSent =
                sendRegistrationMail(document, {QStringLiteral("again")}, mailTo(peer.address()), client, &secondError);
    });
    QString error;
    QVERIFY2(sendRegistrationMail(document, {QStringLiteral("first")}, mailTo(peer.address()), client, &error),
             qPrintable(error));
    QVERIFY(!secondSent);
    QCOMPARE(secondError, QStringLiteral("A message is being sent already."));
    QCOMPARE(events.size(), 6);
    QVERIFY(peer.waitForMessages(1));
    QTest::qWait(200);
    QCOMPARE(peer.messages().size(), 1);
    QCOMPARE(messageBody(peer.messages().first()), QByteArray("first\n"));
}

void TstRegistrationWorkspace::mailUpgradesToTlsWhenOffered()
{
    const QString key = m_dir->filePath(QStringLiteral("key.pem"));
    const QString cert = m_dir->filePath(QStringLiteral("cert.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("1"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=untrusted.invalid"), QStringLiteral("-keyout"), key,
                   QStringLiteral("-out"), cert});
    QVERIFY(openssl.waitForFinished(60000) && openssl.exitCode() == 0);
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem, {QStringLiteral("--tlscert"), cert, QStringLiteral("--tlskey"), key}),
             qPrintable(problem));

    // The server offers STARTTLS with a certificate nobody trusts: the client takes the offer, refuses the
    // certificate, and nothing goes over the plain connection.
    SmtpClient client;
    QList<SmtpClient::Event> events;
    client.setEventHandler([&events](SmtpClient::Event event) { events << event; });
    QString error;
    QVERIFY(!sendRegistrationMail(asciiDocument(RegistrationKind::Domain), {QStringLiteral("body")},
                                  mailTo(peer.address()), client, &error));
    QVERIFY2(error.contains(QLatin1String("SSL"), Qt::CaseInsensitive) ||
                 error.contains(QLatin1String("certificate"), Qt::CaseInsensitive),
             qPrintable(error));
    QCOMPARE(events.last(), SmtpClient::Event::Cancel);
    QTest::qWait(200);
    QVERIFY(peer.messages().isEmpty());
}

void TstRegistrationWorkspace::pgpSendsNothing()
{
    DomainRegistration record;
    record.domainName = QStringLiteral("secret.example");
    record.authScheme = QStringLiteral("PGP");
    const RegistrationDocument document = registrationDocument(record, QStringLiteral("now"));
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Question!"), kQuestion, Prompter::Button::Yes);
    prompter.expectMessage(QStringLiteral("Information"), kPgp);
    SmtpClient client;
    QList<SmtpClient::Event> events;
    client.setEventHandler([&events](SmtpClient::Event event) { events << event; });
    QStringList names;
    const RegistrationOutcome outcome = mailRegistration(
        document, names, dataPath(), mailTo(QStringLiteral("127.0.0.1:%1").arg(SmtpPeer::closedPort())), client,
        prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Stopped);
    QCOMPARE(prompter.pending(), 0);
    QVERIFY(events.isEmpty());
    QVERIFY(names.isEmpty());
    QCOMPARE(m_shown, document.templateLines);
    QCOMPARE(filesUnder(dataPath()),
             QStringList({QStringLiteral("domains/secret.example.ini"), QStringLiteral("domains/secret.example.txt")}));
}

void TstRegistrationWorkspace::unreachableServerReportsAndKeepsList()
{
    const int port = SmtpPeer::closedPort();
    const RegistrationDocument document = asciiDocument(RegistrationKind::Host, RegistrationAction::Delete);
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Question!"), kQuestion, Prompter::Button::Yes);
    SmtpClient client;
    QList<SmtpClient::Event> events;
    client.setEventHandler([&events](SmtpClient::Event event) { events << event; });
    QStringList names = {QStringLiteral("ns1.example.com")};
    QVERIFY(writeBytes(QDir(dataPath()).filePath(QStringLiteral("hosts.cbx")), "ns1.example.com\r\n"));
    const RegistrationOutcome outcome = mailRegistration(
        document, names, dataPath(), mailTo(QStringLiteral("127.0.0.1:%1").arg(port)), client, prompter, viewer());
    QCOMPARE(outcome.status, RegistrationOutcome::Status::Failed);
    QVERIFY2(outcome.errorText.startsWith(
                 QStringLiteral("The registration mail could not be sent to 127.0.0.1:%1: ").arg(port)),
             qPrintable(outcome.errorText));
    QCOMPARE(prompter.pending(), 0);
    QCOMPARE(events, QList<SmtpClient::Event>(
                         {SmtpClient::Event::Prepare, SmtpClient::Event::Open, SmtpClient::Event::Cancel}));
    // Neither the list nor the files of the Delete action are touched by a mail that did not go.
    QCOMPARE(names, QStringList{QStringLiteral("ns1.example.com")});
    QCOMPARE(readBytes(QDir(dataPath()).filePath(QStringLiteral("hosts.cbx"))), QByteArray("ns1.example.com\r\n"));
    QVERIFY(QFile::exists(QDir(dataPath()).filePath(QStringLiteral("hosts/ns1.example.com.txt"))));
}

void TstRegistrationWorkspace::declinedConfirmationStops()
{
    ScriptedPrompter prompter;
    prompter.expectMessage(QStringLiteral("Question!"), kQuestion, Prompter::Button::No);
    SmtpClient client;
    QStringList names;
    QCOMPARE(mailRegistration(asciiDocument(RegistrationKind::Domain), names, dataPath(),
                              mailTo(QStringLiteral("127.0.0.1:1")), client, prompter, viewer())
                 .status,
             RegistrationOutcome::Status::Stopped);
    QVERIFY(filesUnder(dataPath()).isEmpty());
    QVERIFY(m_shown.isEmpty());
}

void TstRegistrationWorkspace::missingServerIsReported()
{
    SmtpClient client;
    QString error;
    QVERIFY(!sendRegistrationMail(asciiDocument(RegistrationKind::Domain), {}, mailTo(QString()), client, &error));
    QCOMPARE(error, QStringLiteral("No SMTP server is set up for the registration mail. Enter one on the Setup page."));
    MailSettings noRecipient = mailTo(QStringLiteral("127.0.0.1:1"));
    noRecipient.registryAddress.clear();
    QVERIFY(!sendRegistrationMail(asciiDocument(RegistrationKind::Domain), {}, noRecipient, client, &error));
    QCOMPARE(error, QStringLiteral("No recipient is set up for the registration mail."));
}

void TstRegistrationWorkspace::subjects_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("subject");
    QTest::newRow("domain") << int(RegistrationKind::Domain) << QStringLiteral("a.com")
                            << QStringLiteral("a.com Internic DOMAIN Registration");
    QTest::newRow("host") << int(RegistrationKind::Host) << QStringLiteral("h.a.com")
                          << QStringLiteral("h.a.com Internic HOST Registration");
    QTest::newRow("contact") << int(RegistrationKind::Contact) << QStringLiteral("Ada")
                             << QStringLiteral("Ada Internic CONTACT Registration");
    const QString longName(250, QLatin1Char('n'));
    QTest::newRow("cut to 255") << int(RegistrationKind::Domain) << longName
                                << QString(longName + QStringLiteral(" Inte"));
}

void TstRegistrationWorkspace::subjects()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, subject);
    QCOMPARE(kindInfo(RegistrationKind(kind)).subject(name), subject);
    MailMessage message;
    message.setSubject(name + QString(300, QLatin1Char('x')));
    QCOMPARE(message.subject().size(), 255);
}

void TstRegistrationWorkspace::mailStatuses_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("bar");
    QTest::addColumn<bool>("beep");
    QTest::addColumn<QString>("box");
    QTest::newRow("prepare") << int(SmtpClient::Event::Prepare) << QStringLiteral("Preparing message") << 10 << false
                             << QString();
    QTest::newRow("open") << int(SmtpClient::Event::Open) << QStringLiteral("Opening connection") << 30 << false
                          << QString();
    QTest::newRow("sending") << int(SmtpClient::Event::Sending) << QStringLiteral("Sending message") << 50 << false
                             << QString();
    QTest::newRow("mail sent") << int(SmtpClient::Event::MailSent) << QStringLiteral("Message has been sent") << 70
                               << true << QString();
    QTest::newRow("closing") << int(SmtpClient::Event::Closing) << QStringLiteral("Closing connection") << 100 << false
                             << QString();
    QTest::newRow("closed") << int(SmtpClient::Event::Closed) << QStringLiteral("Connection closed") << 0 << false
                            << QStringLiteral("Your registratuion has been sent.");
    QTest::newRow("cancel") << int(SmtpClient::Event::Cancel) << QStringLiteral("Operation has been canceled") << -1
                            << false << QString();
}

void TstRegistrationWorkspace::mailStatuses()
{
    QFETCH(int, event);
    QFETCH(QString, text);
    QFETCH(int, bar);
    QFETCH(bool, beep);
    QFETCH(QString, box);
    const MailStatus status = mailStatus(SmtpClient::Event(event));
    QCOMPARE(status.text, text);
    QCOMPARE(status.bar.value_or(-1), bar);
    QCOMPARE(status.beep, beep);
    QCOMPARE(status.box, box);
}

void TstRegistrationWorkspace::serverSettings_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("name") << QStringLiteral("mail.example.com") << true << QStringLiteral("mail.example.com") << 25;
    QTest::newRow("name and port") << QStringLiteral("mail.example.com:2525") << true
                                   << QStringLiteral("mail.example.com") << 2525;
    QTest::newRow("blanks around") << QStringLiteral("  127.0.0.1:26 ") << true << QStringLiteral("127.0.0.1") << 26;
    QTest::newRow("bracketed v6") << QStringLiteral("[::1]:587") << true << QStringLiteral("::1") << 587;
    QTest::newRow("bracketed v6 without port") << QStringLiteral("[::1]") << true << QStringLiteral("::1") << 25;
    QTest::newRow("empty") << QString() << false << QString() << 25;
    QTest::newRow("port zero") << QStringLiteral("host:0") << false << QString() << 25;
    QTest::newRow("port too large") << QStringLiteral("host:70000") << false << QString() << 25;
    QTest::newRow("url") << QStringLiteral("smtp://host") << false << QString() << 25;
    QTest::newRow("blank inside") << QStringLiteral("mail host") << false << QString() << 25;
}

void TstRegistrationWorkspace::serverSettings()
{
    QFETCH(QString, setting);
    QFETCH(bool, usable);
    QFETCH(QString, host);
    QFETCH(int, port);
    SmtpClient client;
    QCOMPARE(client.setServer(setting), usable);
    QCOMPARE(client.host(), host);
    QCOMPARE(client.port(), port);
}

void TstRegistrationWorkspace::messageHeadersAreSafe()
{
    MailMessage message;
    message.addRecipient(QStringLiteral("to@example.com"));
    message.setSenderAddress(QStringLiteral("from@example.com"));
    message.setSenderName(QStringLiteral("J\u00fcrg \"the admin\""));
    message.setSubject(QStringLiteral("x.com\r\nBcc: victim@example.com"));
    message.setBody({QStringLiteral("plain")});
    const QByteArray bytes = message.toBytes(QDateTime(QDate(2026, 12, 7), QTime(9, 30), Qt::UTC));
    const QByteArray headers = bytes.left(bytes.indexOf("\r\n\r\n") + 2);
    QVERIFY(!headers.contains("\r\nBcc:"));
    QVERIFY(headers.contains("\r\nSubject: x.com Bcc: victim@example.com\r\n"));
    const QByteArray encodedName = QStringLiteral("J\u00fcrg \"the admin\"").toUtf8().toBase64();
    QVERIFY(headers.contains(QByteArray("\r\nFrom: =?UTF-8?B?" + encodedName + "?= <from@example.com>\r\n")));
    QVERIFY(headers.startsWith("Date: 07 Dec 2026 09:30:00 +0000\r\n"));
    QVERIFY(headers.contains("\r\nContent-Transfer-Encoding: 7bit\r\n"));
    QVERIFY(bytes.endsWith("\r\n\r\nplain\r\n"));

    message.setSenderName(QString(300, QLatin1Char('n')));
    QCOMPARE(message.senderName().size(), 255);
    message.setSenderAddress(QString(300, QLatin1Char('a')));
    QCOMPARE(message.senderAddress().size(), 255);
}

QTEST_GUILESS_MAIN(TstRegistrationWorkspace)
#include "tst_registrationworkspace.moc"
