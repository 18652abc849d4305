#include "bootnamed.h"
#include "platform/latin1lines.h"
#include "support/loopback.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray zoneFile(const QString& soaOwner, const QStringList& nameServers, const QStringList& hosts)
{
    // The program's own layout, its signature line first.
    QStringList lines{QStringLiteral(";[*-Quorvane-*]"),
                      QStringLiteral(";[SOA]"),
                      soaOwner + QStringLiteral(" IN     SOA     ns1.example.com. hostmaster.example.com. ("),
                      QStringLiteral("2026120701"),
                      QStringLiteral("1080"),
                      QStringLiteral("3600"),
                      QStringLiteral("604800"),
                      QStringLiteral("86400 )")};
    for (const QString& server : nameServers)
        lines << QStringLiteral("@     IN     NS     ") + server;
    for (const QString& host : hosts)
        lines << host + QLatin1Char(' ');
    return crlfLines(lines);
}

} // namespace

class TestReverseCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void generatesAndNamedAnswers();
    void answerByName();
    void noAnswerLeft();
    void usageAndUnknownServer();

private:
    CliRun run(const QStringList& arguments);
    void writeServer(const QStringList& extraHosts = {});
    QString data(const QString& name) const { return QDir(m_dir->path()).filePath(QStringLiteral("data/") + name); }
    QString bootFile() const { return QDir(m_dir->path()).filePath(QStringLiteral("win/named.boot")); }
    QStringList reverseArguments(const QStringList& answers = {}) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestReverseCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("data"))));
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("win"))));
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config"))));
}

CliRun TestReverseCli::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("share")));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_CLI), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromLatin1(process.readAllStandardOutput()),
            QString::fromLatin1(process.readAllStandardError())};
}

// The same two zones the byte-for-byte expectations were made from.
void TestReverseCli::writeServer(const QStringList& extraHosts)
{
    QVERIFY(writeBytes(
        data(QStringLiteral("example.com.DNS")),
        zoneFile(QStringLiteral("@"), {QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.com")},
                 QStringList{
                     QStringLiteral("ns1     IN     A     10.1.2.1"), QStringLiteral("ns2     IN     A     10.1.3.2"),
                     QStringLiteral("www     IN     A     10.1.2.5"), QStringLiteral("@     IN     A     10.1.2.9"),
                     QStringLiteral("localhost     IN     A     127.0.0.1")} +
                     extraHosts)));
    QVERIFY(writeBytes(data(QStringLiteral("example.net.DNS")),
                       zoneFile(QStringLiteral("example.net."), {QStringLiteral("ns1.example.com.")},
                                {QStringLiteral("mail.example.net.     IN     A     10.1.3.7"),
                                 QStringLiteral("gw.example.net.     IN     A     1.2.3.4"),
                                 QStringLiteral("gx.example.net.     IN     A     11.2.3.4")})));
    const QStringList boot{
        QStringLiteral("directory     ") + m_dir->filePath(QStringLiteral("data")) + QLatin1Char(' '),
        QStringLiteral("cache       .     cache.dns "), QStringLiteral("primary     example.com     example.com.DNS"),
        QStringLiteral("primary     example.net     example.net.DNS"),
        QStringLiteral("primary     9.9.9.IN-ADDR.ARPA     9.9.9.IN-ADDR.ARPA.reverse.DNS")};
    QVERIFY(writeBytes(bootFile(), crlfLines(boot)));
}

QStringList TestReverseCli::reverseArguments(const QStringList& answers) const
{
    QStringList arguments{QStringLiteral("--serial"),   QStringLiteral("2026120701"),
                          QStringLiteral("--email"),    QStringLiteral("hostmaster@example.com"),
                          QStringLiteral("--identity"), QStringLiteral("ns1@ns1.example.com.")};
    if (!answers.isEmpty())
        arguments << QStringLiteral("--answers") << answers.join(QLatin1Char(','));
    return arguments << QStringLiteral("reverse") << bootFile();
}

void TestReverseCli::generatesAndNamedAnswers()
{
    writeServer();
    const CliRun result = run(reverseArguments());
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(result.out, QStringLiteral("wrote 2.1.10.IN-ADDR.ARPA.reverse.DNS\n"
                                        "wrote 3.1.10.IN-ADDR.ARPA.reverse.DNS\n"
                                        "wrote ns1.local.DNS\n"
                                        "wrote 3.2.1.IN-ADDR.ARPA.reverse.DNS\n"
                                        "wrote 3.2.11.IN-ADDR.ARPA.reverse.DNS\n"));
    for (const QString& file :
         {QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS"), QStringLiteral("3.1.10.IN-ADDR.ARPA.reverse.DNS"),
          QStringLiteral("ns1.local.DNS"), QStringLiteral("3.2.1.IN-ADDR.ARPA.reverse.DNS"),
          QStringLiteral("3.2.11.IN-ADDR.ARPA.reverse.DNS")})
        QCOMPARE(readBytes(data(file)), readBytes(testDataPath(QStringLiteral("reverse/main/") + file)));
    // The entry of a network without hosts is gone; the generated ones follow the cache line.
    QStringList reverseLines;
    for (const QString& line : readTextFile(bootFile()).value_or(QStringList())) {
        if (line.contains(QStringLiteral("IN-ADDR.ARPA")))
            reverseLines << line;
    }
    QCOMPARE(reverseLines,
             QStringList({QStringLiteral("primary     2.1.10.IN-ADDR.ARPA     2.1.10.IN-ADDR.ARPA.reverse.DNS"),
                          QStringLiteral("primary     3.1.10.IN-ADDR.ARPA     3.1.10.IN-ADDR.ARPA.reverse.DNS"),
                          QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS"),
                          QStringLiteral("primary     3.2.1.IN-ADDR.ARPA     3.2.1.IN-ADDR.ARPA.reverse.DNS"),
                          QStringLiteral("primary     3.2.11.IN-ADDR.ARPA     3.2.11.IN-ADDR.ARPA.reverse.DNS")}));

    BootNamed named;
    QVERIFY2(named.start(bootFile(), m_dir->filePath(QStringLiteral("data"))), qPrintable(named.log()));
    const QList<std::pair<QString, QString>> expectations = {
        {QStringLiteral("5.2.1.10.in-addr.arpa"), QStringLiteral("www.example.com.")},
        {QStringLiteral("1.2.1.10.in-addr.arpa"), QStringLiteral("ns1.example.com.")},
        {QStringLiteral("9.2.1.10.in-addr.arpa"), QStringLiteral("example.com.")},
        {QStringLiteral("2.3.1.10.in-addr.arpa"), QStringLiteral("ns2.example.com.")},
        {QStringLiteral("7.3.1.10.in-addr.arpa"), QStringLiteral("mail.example.net.")},
        {QStringLiteral("4.3.2.1.in-addr.arpa"), QStringLiteral("gw.example.net.")},
        {QStringLiteral("4.3.2.11.in-addr.arpa"), QStringLiteral("gx.example.net.")},
        {QStringLiteral("1.0.0.127.in-addr.arpa"), QStringLiteral("localhost.example.com.")}};
    for (const auto& [query, name] : expectations) {
        const QStringList answer = named.ask(query, QStringLiteral("PTR"));
        QVERIFY2(answer == QStringList{name}, qPrintable(query + QStringLiteral(": ") + answer.join(QLatin1Char(' ')) +
                                                         QLatin1Char('\n') + named.log()));
    }
    // A set of records comes in any order.
    QStringList nameServers = named.ask(QStringLiteral("2.1.10.in-addr.arpa"), QStringLiteral("NS"));
    nameServers.sort();
    QCOMPARE(nameServers, QStringList({QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.com.")}));
    QCOMPARE(named.ask(QStringLiteral("2.1.10.in-addr.arpa"), QStringLiteral("SOA")),
             QStringList{QStringLiteral("ns1.example.com. hostmaster.example.com. 2026120701 1080 3600 604800 86400")});
}

void TestReverseCli::answerByName()
{
    writeServer({QStringLiteral("web     IN     A     10.1.2.5")});
    const CliRun result = run(reverseArguments({QStringLiteral("web.example.com.")}));
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(result.err.contains(QStringLiteral("Hostname for Reverse Mapping")));
    QStringList lines = readTextFile(data(QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS"))).value_or(QStringList());
    QVERIFY(lines.contains(QStringLiteral("5     IN     PTR     web.example.com.")));
    QVERIFY(!lines.contains(QStringLiteral("5     IN     PTR     www.example.com.")));

    // The answer is kept in the settings: the next run asks nothing and maps the address the same way.
    const CliRun again = run(reverseArguments());
    QVERIFY2(again.exitCode == 0, qPrintable(again.err));
    QVERIFY(!again.err.contains(QStringLiteral("Hostname for Reverse Mapping")));
    lines = readTextFile(data(QStringLiteral("2.1.10.IN-ADDR.ARPA.reverse.DNS"))).value_or(QStringList());
    QVERIFY(lines.contains(QStringLiteral("5     IN     PTR     web.example.com.")));
    QVERIFY(!lines.contains(QStringLiteral("5     IN     PTR     www.example.com.")));

    // Saving the answers keeps the user's other settings: loading without a backup must not store "false".
    const QSettings stored(m_dir->filePath(QStringLiteral("config/Mervale/Quorvane.conf")), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Initialization/AutoBackup")).toString(), QStringLiteral("true"));
}

void TestReverseCli::noAnswerLeft()
{
    writeServer({QStringLiteral("web     IN     A     10.1.2.5")});
    const CliRun result = run(reverseArguments());
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.err.contains(QStringLiteral("Hostname for Reverse Mapping")));
}

void TestReverseCli::usageAndUnknownServer()
{
    QCOMPARE(run({QStringLiteral("reverse")}).exitCode, 2);
    writeServer();
    const CliRun unnamed = run({QStringLiteral("reverse"), bootFile()});
    QCOMPARE(unnamed.exitCode, 1);
    QVERIFY(unnamed.err.contains(QStringLiteral("is no managed server; name it with --identity.")));
    QVERIFY(!QFile::exists(data(QStringLiteral("ns1.local.DNS"))));
}

QTEST_GUILESS_MAIN(TestReverseCli)
#include "tst_reversecli.moc"
