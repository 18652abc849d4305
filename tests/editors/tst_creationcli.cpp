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
    void zoneCreateFillsTheWizardsPages();
    void zoneCreateRefusalLeavesNothing();
    void zoneFastAddAndDelete();
    void secondaryAddModifyDelete();
    void usageErrors();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QByteArray boot() const { return readBytes(path(QStringLiteral("ns/named.boot"))); }
    CliRun run(const QStringList& arguments, const QString& answers = QString()) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstCreationCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("config/Mervale")));
    QDir().mkpath(path(QStringLiteral("ns/data")));
    writeBytes(path(QStringLiteral("config/Mervale/Quorvane.conf")),
               "[Drive%20Table]\nC=" + m_dir->path().toLatin1() + "\n");
    writeBytes(path(QStringLiteral("ns/data/cache.dns")), QByteArray());
    writeBytes(path(QStringLiteral("ns/named.boot")), "directory C:\\\\ns\\\\data\r\ncache . cache.dns\r\n");
}

CliRun TstCreationCli::run(const QStringList& arguments, const QString& answers) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
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

QTEST_GUILESS_MAIN(TstCreationCli)
#include "tst_creationcli.moc"
