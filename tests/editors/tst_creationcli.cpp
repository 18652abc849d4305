#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

// The zone creation commands of quorvane-cli through the real binary, over a server "ns" of its own folder.
class TstCreationCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void zoneCreateFillsTheWizardsPages();
    void zoneCreateRefusalLeavesNothing();
    void zoneFastAddAndDelete();
    void secondaryAddModifyDelete();
    void usageErrors();
    void freshServerZonesLoad_data();
    void freshServerZonesLoad();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QByteArray boot() const { return readBytes(path(QStringLiteral("ns/named.boot"))); }
    CliRun run(const QStringList& arguments, const QString& answers = QString()) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_suffixList; // the public suffix list the program is pointed at; empty: the installed one
};

void TstCreationCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_suffixList.clear();
    QDir().mkpath(path(QStringLiteral("config/Mervale")));
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeBytes(path(QStringLiteral("config/Mervale/Quorvane.conf")),
               "[Drive%20Table]\nC=" + m_dir->path().toLatin1() + "\n");
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(path(QStringLiteral("ns/named.boot")), "directory C:\\\\ns\\\\data\r\ncache . cache.dns\r\n");
}

void TstCreationCli::cleanup()
{
    QUORVANE_VERIFY_ZONES_LOAD(path(QStringLiteral("ns/named.boot")), path(QStringLiteral("ns/data")));
}

CliRun TstCreationCli::run(const QStringList& arguments, const QString& answers) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
    if (!m_suffixList.isEmpty())
        env.insert(QStringLiteral("QUORVANE_PUBLIC_SUFFIX_LIST"), m_suffixList);
    process.setProcessEnvironment(env);
    QStringList globals{QStringLiteral("--identity"), QStringLiteral("ns@ns.example.com."),
                        QStringLiteral("--email"),    QStringLiteral("admin@example.com"),
                        QStringLiteral("--serial"),   QStringLiteral("2026120701")};
    if (!answers.isEmpty())
        globals << QStringLiteral("--answers") << answers;
    process.start(QStringLiteral(QUORVANE_CLI), globals + arguments);
    CliRun result;
    if (!process.waitForFinished(60000))
        return result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TstCreationCli::zoneCreateFillsTheWizardsPages()
{
    const QString bootFile = path(QStringLiteral("ns/named.boot"));
    const CliRun created = run({"zone", "create", bootFile, "Example.COM", "--host", "www=10.0.0.1", "--host",
                                "ns1=10.0.0.2", "--ns", "ns1", "--alias", "ftp=www", "--mx", "www"},
                               QStringLiteral("all"));
    QVERIFY2(created.status == 0, created.err.constData());
    QCOMPARE(created.out, QByteArray("created example.com example.com.DNS serial 2026120702\n"));
    const QString zoneFile = path(QStringLiteral("ns/data/example.com.DNS"));
    const QByteArray zone = readBytes(zoneFile);
    QVERIFY(zone.contains("example.com.     IN     NS     ns1.example.com. \r\n"));
    QVERIFY(zone.contains("example.com.     IN     MX 10     www.example.com. \r\n"));
    QVERIFY(zone.contains("ftp.example.com.     IN     CNAME     www.example.com. \r\n"));
    QVERIFY(boot().contains("primary     example.com     example.com.DNS\r\n"));
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), zoneFile);
    QVERIFY(check.ran);
    QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(), qPrintable(check.output.join('\n')));
}

void TstCreationCli::zoneCreateRefusalLeavesNothing()
{
    const QString bootFile = path(QStringLiteral("ns/named.boot"));
    // Loading a server writes its boot file in the program's layout first.
    QCOMPARE(run({"zone", "fastadd", bootFile, "other.com"}).status, 0);
    const QByteArray before = boot();
    // The name question of the host is answered, the host address refused: the zone goes again.
    const CliRun refused = run({"zone", "create", bootFile, "example.com", "--host", "www=10.0.0"});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("Attention!: You have entered an invalid IP# in the first IP# field. Re-Enter."),
             refused.err.constData());
    QVERIFY(!QFile::exists(path(QStringLiteral("ns/data/example.com.DNS"))));
    QCOMPARE(boot(), before);
    // A question nobody answered leaves the zone out too.
    const CliRun unanswered = run({"zone", "create", bootFile, "example.com", "--host", "www=10.0.0.1"});
    QCOMPARE(unanswered.status, 3);
    QVERIFY(!QFile::exists(path(QStringLiteral("ns/data/example.com.DNS"))));
    QCOMPARE(boot(), before);
}

void TstCreationCli::zoneFastAddAndDelete()
{
    const QString bootFile = path(QStringLiteral("ns/named.boot"));
    const CliRun added = run({"zone", "fastadd", bootFile, "one.com", "Two.NET"});
    QVERIFY2(added.status == 0, added.err.constData());
    QCOMPARE(added.out, QByteArray("created one.com\ncreated two.net\n"));
    QVERIFY(added.err.contains("Information: 2 zones have been added to your server."));
    QVERIFY(boot().contains("primary     one.com     one.com.DNS\r\nprimary     two.net     two.net.DNS\r\n"));
    const CliRun twice = run({"zone", "fastadd", bootFile, "ONE.com"});
    QCOMPARE(twice.status, 1);
    QVERIFY(twice.err.contains("Attention!: A Zone by that name already exists."));

    const CliRun cancelled = run({"zone", "delete", bootFile, "one.com"}, QStringLiteral("cancel"));
    QCOMPARE(cancelled.status, 1);
    QVERIFY(QFile::exists(path(QStringLiteral("ns/data/one.com.DNS"))));
    const CliRun deleted = run({"zone", "delete", bootFile, "one.com"}, QStringLiteral("ok"));
    QVERIFY2(deleted.status == 0, deleted.err.constData());
    QVERIFY(deleted.err.contains("Question!: Are you sure you want to delete one.com?"));
    QVERIFY(!QFile::exists(path(QStringLiteral("ns/data/one.com.DNS"))));
    QVERIFY(!boot().contains("one.com"));
    QVERIFY(boot().contains("primary     two.net     two.net.DNS\r\n"));
}

void TstCreationCli::secondaryAddModifyDelete()
{
    const QString bootFile = path(QStringLiteral("ns/named.boot"));
    QCOMPARE(run({"secondary", "add", bootFile, "Sec.Example.ORG", "10.1.1.1"}).status, 0);
    QVERIFY(boot().contains("secondary     sec.example.org     10.1.1.1     sec.example.org.DNS\r\n"));
    const CliRun refused = run({"secondary", "add", bootFile, "sec.example.org", "10.1.1.1"});
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.err.contains("Attention!: A Zone by that name already exists."));
    const CliRun modified =
        run({"secondary", "modify", bootFile, "sec.example.org", "10.1.1.1", "10.1.1.2", "10.1.1.3"});
    QVERIFY2(modified.status == 0, modified.err.constData());
    QVERIFY(
        boot().contains("secondary     sec.example.org     10.1.1.1 10.1.1.2 10.1.1.3      sec.example.org.DNS\r\n"));
    const CliRun badMaster = run({"secondary", "modify", bootFile, "sec.example.org", "10.1.1"});
    QCOMPARE(badMaster.status, 1);
    QVERIFY(badMaster.err.contains("Error.: Your IP address is entered incorrectly. Re-Enter."));
    const CliRun deleted = run({"secondary", "delete", bootFile, "sec.example.org"}, QStringLiteral("ok"));
    QVERIFY2(deleted.status == 0, deleted.err.constData());
    QVERIFY(!boot().contains("sec.example.org"));
}

void TstCreationCli::usageErrors()
{
    QCOMPARE(run({"zone", "create", path(QStringLiteral("ns/named.boot"))}).status, 2);
    QCOMPARE(run({"zone", "create", path(QStringLiteral("ns/named.boot")), "a.com", "--host"}).status, 2);
    QCOMPARE(run({"zone", "fastadd", path(QStringLiteral("ns/named.boot"))}).status, 2);
    QCOMPARE(run({"secondary", "add", path(QStringLiteral("ns/named.boot")), "a.com"}).status, 2);
}

// On a server just set up, every zone fast add and the wizard make, and every record each editor's command adds,
// leaves zones the name server loads: the server's own zone (its name server inside it), a zone elsewhere, and
// zones and servers under domains newer than the built-in list, with and without the public suffix list.
void TstCreationCli::freshServerZonesLoad_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("installed list") << "/usr/share/publicsuffix/public_suffix_list.dat";
    QTest::newRow("no list") << "/nonexistent/public_suffix_list.dat";
}

void TstCreationCli::freshServerZonesLoad()
{
    QFETCH(QString, list);
    m_suffixList = list;
    QVERIFY(QDir().mkpath(path(QStringLiteral("win"))));
    const CliRun added = run({"server", "add", "ns1", "example.com", path(QStringLiteral("win"))});
    QVERIFY2(added.status == 0, added.err.constData());
    const CliRun fast = run({"zone", "fastadd", "ns1", "example.com", "example.dev", "other.org"});
    QVERIFY2(fast.status == 0, fast.err.constData());
    const CliRun created = run({"zone", "create", "ns1", "example.net"});
    QVERIFY2(created.status == 0, created.err.constData());
    const QList<QPair<QStringList, QString>> records = {
        {{"host", "www", "10.0.0.80"}, "ok"},  {{"ns", "ns2.provider.eu"}, ""},
        {{"mx", "mx.provider.eu.", "10"}, ""}, {{"mx", "www", "20"}, "ok"},
        {{"alias", "ftp", "www"}, "ok,ok"},    {{"person", "john", "john@example.com", "Room 12"}, ""},
    };
    for (const auto& [arguments, answers] : records) {
        const CliRun result = run(QStringList{"record", "add", "ns1", "example.com"} + arguments, answers);
        QVERIFY2(result.status == 0, result.err.constData());
    }
    const CliRun soa = run({"record", "change", "ns1", "example.com", "soa", "refresh", "2h"});
    QVERIFY2(soa.status == 0, soa.err.constData());
    const QByteArray zone = readBytes(path(QStringLiteral("win/quorvane/zones/example.com.DNS")));
    QVERIFY(zone.contains("example.com.     IN     MX     10     mx.provider.eu. \r\n"));
    QVERIFY(zone.contains("example.com.     IN     NS     ns2.provider.eu.\r\n"));
    QVERIFY(zone.contains("john     IN     RP     john.example.com.  john.example.com. \r\n"));
    const QByteArray boot = readBytes(path(QStringLiteral("win/named.boot")));
    for (const char* zoneName : {"example.com", "example.dev", "other.org", "example.net"})
        QVERIFY2(boot.contains(QByteArray(QByteArray("primary     ") + zoneName)), zoneName);
    QUORVANE_VERIFY_ZONES_LOAD(path(QStringLiteral("win/named.boot")), path(QStringLiteral("win/quorvane/zones")));
}

QTEST_GUILESS_MAIN(TstCreationCli)
#include "tst_creationcli.moc"
