#include "platform/settingsstore.h"
#include "registration/profilefile.h"
#include "registration/registrationfields.h"
#include "sampleregistrations.h"
#include "smtppeer.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

// "template" and "mail" of the command line, run as the real program with its own settings and data folders.
class TstRegistrationCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void templatesFromProfiles_data();
    void templatesFromProfiles();
    void actionIsNewUnlessGiven();
    void usageErrors_data();
    void usageErrors();
    void unreadableProfileFails();
    void mailSendsWithStoredSettings();
    void mailNeedsItsConfirmation();
    void mailToUnreachableServerFails();

private:
    CliRun run(const QStringList& arguments);
    QString writeSampleProfile(const QString& kind, const QString& fileName);
    void storeMailSettings(const QString& server);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstRegistrationCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

CliRun TstRegistrationCli::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_CLI), arguments);
    CliRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString TstRegistrationCli::writeSampleProfile(const QString& kind, const QString& fileName)
{
    const QString path = m_dir->filePath(fileName);
    QString error;
    if (kind == QLatin1String("domain"))
        writeProfile(path, QStringLiteral("DomainReg"), domainProfile(sampleDomain()), &error);
    else if (kind == QLatin1String("host"))
        writeProfile(path, QStringLiteral("HostReg"), hostProfile(sampleHost()), &error);
    else
        writeProfile(path, QStringLiteral("ContactReg"), contactProfile(sampleContactRegistration()), &error);
    return path;
}

void TstRegistrationCli::storeMailSettings(const QString& server)
{
    SettingsStore store(m_dir->filePath(QStringLiteral("config/Mervale/Quorvane.conf")));
    store.setText(QStringLiteral("Initialization"), QStringLiteral("NIC-Server"), server);
    store.setText(QStringLiteral("Initialization"), QStringLiteral("NIC-EMail"), QStringLiteral("admin@example.org"));
    store.setText(QStringLiteral("Initialization"), QStringLiteral("NIC-Name"), QStringLiteral("Quorvane Admin"));
    store.setText(QStringLiteral("Initialization"), QStringLiteral("NIC-Mailto"),
                  QStringLiteral("hostmaster@registry.example"));
    store.setText(QStringLiteral("Initialization"), QStringLiteral("Version"), QStringLiteral("1.50"));
    QVERIFY(store.sync());
}

void TstRegistrationCli::templatesFromProfiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");
    QTest::newRow("domain") << QStringLiteral("domain") << QStringLiteral("example.com.ini") << QStringLiteral("M")
                            << QStringLiteral("registration/domain_full.txt");
    QTest::newRow("host") << QStringLiteral("host") << QStringLiteral("ns1.example.com.ini") << QStringLiteral("D")
                          << QStringLiteral("registration/host_full.txt");
    // The contact's name comes from the profile, whatever the file is called.
    QTest::newRow("contact") << QStringLiteral("contact") << QStringLiteral("person.ini") << QStringLiteral("n")
                             << QStringLiteral("registration/contact_full.txt");
}

void TstRegistrationCli::templatesFromProfiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, fileName);
    QFETCH(QString, action);
    QFETCH(QString, expected);
    const QString profile = writeSampleProfile(kind, fileName);
    const CliRun result = run({QStringLiteral("template"), kind, profile, QStringLiteral("--action"), action});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QString());
    // The clock is the machine's own here: the "Processed" line is checked for its form only.
    static const QRegularExpression processed(QStringLiteral("^Processed .*\\d\\d:\\d\\d:\\d\\d.*$"),
                                              QRegularExpression::MultilineOption);
    QString output = result.out;
    QVERIFY(kind == QLatin1String("contact") || processed.match(output).hasMatch());
    output.replace(processed, QStringLiteral("Processed 7 Dec 2026 09:30:15 UTC"));
    const QString wanted =
        QString::fromLatin1(readBytes(testDataPath(expected))).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(output, wanted);
}

void TstRegistrationCli::actionIsNewUnlessGiven()
{
    const QString profile = writeSampleProfile(QStringLiteral("host"), QStringLiteral("ns1.example.com.ini"));
    CliRun result = run({QStringLiteral("template"), QStringLiteral("host"), profile});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.contains(QLatin1String("\n0a. (N)ew (M)odify (D)elete.....: N\n")));
    result = run({QStringLiteral("template"), QStringLiteral("host"), profile, QStringLiteral("--action=M")});
    QVERIFY(result.out.contains(QLatin1String("\n0a. (N)ew (M)odify (D)elete.....: M\n")));
}

void TstRegistrationCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString usage =
        QStringLiteral("Usage: quorvane-cli template domain|host|contact PROFILE.ini [--action N|M|D]\n");
    QTest::newRow("no arguments") << QStringList{QStringLiteral("template")} << usage;
    QTest::newRow("no profile") << QStringList{QStringLiteral("template"), QStringLiteral("domain")} << usage;
    QTest::newRow("unknown kind") << QStringList{QStringLiteral("template"), QStringLiteral("zone"),
                                                 QStringLiteral("a")}
                                  << usage;
    QTest::newRow("bad action") << QStringList{QStringLiteral("template"), QStringLiteral("domain"),
                                               QStringLiteral("a.ini"), QStringLiteral("--action"), QStringLiteral("X")}
                                << QStringLiteral("The action is one of N, M and D.\n");
    QTest::newRow("empty action") << QStringList{QStringLiteral("template"), QStringLiteral("domain"),
                                                 QStringLiteral("a.ini"), QStringLiteral("--action=")}
                                  << QStringLiteral("The action is one of N, M and D.\n");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("mail"), QStringLiteral("domain"),
                                                   QStringLiteral("a.ini"), QStringLiteral("--now")}
                                    << QStringLiteral("Unknown option: --now\n");
}

void TstRegistrationCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const CliRun result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.err, message);
    QCOMPARE(result.out, QString());
}

void TstRegistrationCli::unreadableProfileFails()
{
    const QString missing = m_dir->filePath(QStringLiteral("missing.ini"));
    const CliRun result = run({QStringLiteral("template"), QStringLiteral("domain"), missing});
    QCOMPARE(result.exitCode, 1);
    QCOMPARE(result.err, QStringLiteral("Error: The profile %1 could not be read.\n").arg(missing));
    QCOMPARE(result.out, QString());
}

void TstRegistrationCli::mailSendsWithStoredSettings()
{
    SmtpPeer peer;
    QString problem;
    QVERIFY2(peer.start(m_dir->path(), &problem), qPrintable(problem));
    storeMailSettings(peer.address());
    const QString profile = writeSampleProfile(QStringLiteral("host"), QStringLiteral("ns1.example.com.ini"));
    const CliRun result = run(
        {QStringLiteral("--answers"), QStringLiteral("yes"), QStringLiteral("mail"), QStringLiteral("host"), profile});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.err.contains(QLatin1String("Question!: You are about to mail this registration.")));
    QVERIFY(result.err.contains(QLatin1String("Preparing message\nOpening connection\nSending message\n"
                                              "Message has been sent\nClosing connection\nConnection closed\n"
                                              "Information: Your registratuion has been sent.\n"
                                              "Sent!: Your registration has been sent!\n")));
    QVERIFY(peer.waitForMessages(1));
    const QByteArray message = peer.messages().first();
    QCOMPARE(headerValue(message, "X-RcptTo"), QByteArray("hostmaster@registry.example"));
    QCOMPARE(headerValue(message, "X-MailFrom"), QByteArray("admin@example.org"));
    QCOMPARE(headerValue(message, "Subject"), QByteArray("ns1.example.com Internic HOST Registration"));
    QVERIFY(messageBody(message).contains("1b. Host Name..................: ns1.example.com\n"));
    QVERIFY(messageBody(message).contains("2c. Name.......................: Host M=FCller\n"));
}

void TstRegistrationCli::mailNeedsItsConfirmation()
{
    storeMailSettings(QStringLiteral("127.0.0.1:%1").arg(SmtpPeer::closedPort()));
    const QString profile = writeSampleProfile(QStringLiteral("domain"), QStringLiteral("example.com.ini"));
    CliRun result = run({QStringLiteral("mail"), QStringLiteral("domain"), profile});
    QCOMPARE(result.exitCode, 3);
    result = run(
        {QStringLiteral("--answers"), QStringLiteral("no"), QStringLiteral("mail"), QStringLiteral("domain"), profile});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(!result.err.contains(QLatin1String("Opening connection")));
}

void TstRegistrationCli::mailToUnreachableServerFails()
{
    const int port = SmtpPeer::closedPort();
    storeMailSettings(QStringLiteral("127.0.0.1:%1").arg(port));
    const QString profile = writeSampleProfile(QStringLiteral("domain"), QStringLiteral("example.com.ini"));
    const CliRun result = run({QStringLiteral("--answers"), QStringLiteral("yes"), QStringLiteral("mail"),
                               QStringLiteral("domain"), profile});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(
                 QStringLiteral("Error: The registration mail could not be sent to 127.0.0.1:%1: ").arg(port)),
             qPrintable(result.err));
    QVERIFY(result.err.contains(QLatin1String("Operation has been canceled\n")));
    QVERIFY(!result.err.contains(QLatin1String("Sent!")));
    QVERIFY(!result.err.contains(QLatin1String("Connection closed")));
}

QTEST_GUILESS_MAIN(TstRegistrationCli)
#include "tst_registrationcli.moc"
