// A BIND 9 server taken over as Debian runs it: Debian's configuration (tests/data/namedconf/debian, its options made
// safe for a test: loopback only on a port of its own, no recursion, validation or notifies, and a control channel
// with a key of its own), served by a real named, as the user bind where the test runs as root. Taken over, a zone
// added and reloaded is answered; a zone declared twice is refused before anything is written and the running name
// server keeps serving; a commented-out include is said, never reported as reloaded.
#include "support/clirun.h"
#include "support/loopback.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <pwd.h>
#include <unistd.h>

class TstBind9Takeover : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void takenOverServerServesAddedZoneAndRefusesWhatWouldBreakIt();

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }
    CliRun cli(const QStringList& arguments, const QString& answers = QString()) const;
    // Lets the user bind read the configuration and write the cache folder, as the package's own folders are.
    void handToBind();

    std::unique_ptr<QTemporaryDir> m_dir;
    quint16 m_port = 0;
    quint16 m_controlPort = 0;
};

void TstBind9Takeover::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_port = freeLoopbackPort();
    m_controlPort = freeLoopbackPort();
    QVERIFY(m_port != 0 && m_controlPort != 0 && m_port != m_controlPort);
}

CliRun TstBind9Takeover::cli(const QStringList& arguments, const QString& answers) const
{
    QStringList all;
    if (!answers.isEmpty())
        all << QStringLiteral("--answers") << answers;
    return runCli(all + arguments, path(QStringLiteral("home")));
}

void TstBind9Takeover::handToBind()
{
    const struct passwd* bind = ::getpwnam("bind");
    if (::geteuid() != 0 || !bind)
        return;
    QDir().mkpath(path(QStringLiteral("cache")));
    QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadOther | QFileDevice::ExeOther);
    QDirIterator it(m_dir->path(), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        QFile::setPermissions(entry,
                              QFile::permissions(entry) | QFileDevice::ReadOther |
                                  (QFileInfo(entry).isDir() ? QFileDevice::ExeOther : QFileDevice::Permissions()));
    }
    QVERIFY(::chown(QFile::encodeName(path(QStringLiteral("cache"))).constData(), bind->pw_uid, bind->pw_gid) == 0);
}

void TstBind9Takeover::takenOverServerServesAddedZoneAndRefusesWhatWouldBreakIt()
{
    // Debian's files, with the options a test must carry and the control channel named at the end of named.conf.
    const QString conf = path(QStringLiteral("conf/named.conf"));
    const QString source = testDataPath(QStringLiteral("namedconf/debian"));
    for (const QString& name : QDir(source).entryList(QDir::Files)) {
        QByteArray bytes = readBytes(QDir(source).filePath(name));
        bytes.replace("@ETC@", path(QStringLiteral("conf")).toUtf8())
            .replace("@CACHE@", path(QStringLiteral("cache")).toUtf8());
        QDir().mkpath(path(QStringLiteral("conf")));
        QVERIFY(writeBytes(path(QStringLiteral("conf/")) + name, bytes));
    }
    QDir().mkpath(path(QStringLiteral("cache")));
    // A zone of the administrator's own, declared where Debian has local zones declared.
    QVERIFY(writeBytes(path(QStringLiteral("conf/named.conf.local")),
                       readBytes(path(QStringLiteral("conf/named.conf.local"))) +
                           QStringLiteral("zone \"admin.example.com\" {\n\ttype master;\n\tfile \"%1\";\n};\n")
                               .arg(path(QStringLiteral("conf/db.local")))
                               .toUtf8()));
    QByteArray options = readBytes(path(QStringLiteral("conf/named.conf.options")));
    options.replace("dnssec-validation auto;", "dnssec-validation no;");
    options.replace("listen-on-v6 { any; };",
                    QStringLiteral("listen-on port %1 { 127.0.0.1; };\n\tlisten-on-v6 { none; };\n\trecursion no;\n"
                                   "\tnotify no;\n\treuseport no;\n\tpid-file \"%2/named.pid\";\n"
                                   "\tsession-keyfile \"%2/session.key\";\n\tmanaged-keys-directory \"%2\";")
                        .arg(m_port)
                        .arg(path(QStringLiteral("cache")))
                        .toUtf8());
    QVERIFY(writeBytes(path(QStringLiteral("conf/named.conf.options")), options));
    QProcess confgen;
    confgen.start(QStringLiteral("/usr/sbin/rndc-confgen"),
                  {QStringLiteral("-a"), QStringLiteral("-k"), QStringLiteral("test-rndc"), QStringLiteral("-c"),
                   path(QStringLiteral("conf/rndc-test.key"))});
    QVERIFY(confgen.waitForFinished(30000) && confgen.exitCode() == 0);
    const QByteArray controls = QStringLiteral("include \"%1\";\ncontrols {\n\tinet 127.0.0.1 port %2 allow { "
                                               "127.0.0.1; } keys { \"test-rndc\"; };\n};\n")
                                    .arg(path(QStringLiteral("conf/rndc-test.key")))
                                    .arg(m_controlPort)
                                    .toUtf8();
    QVERIFY(writeBytes(conf, readBytes(conf) + controls));
    handToBind();
    QStringList user;
    if (::geteuid() == 0 && ::getpwnam("bind"))
        user << QStringLiteral("-u") << QStringLiteral("bind");
    NamedProcess named;
    QVERIFY2(named.start(conf, user, path(QStringLiteral("conf"))), qPrintable(named.log()));
    QCOMPARE(digShort(m_port, QStringLiteral("localhost"), QStringLiteral("A")), QStringList{"127.0.0.1"});

    // Taken over as it is; a zone added goes into the program's file, the include line once after the question.
    const CliRun taken = cli({QStringLiteral("server"), QStringLiteral("add-bind9"), QStringLiteral("ns1"), conf});
    QVERIFY2(taken.status == 0, taken.err.constData());
    const CliRun added = cli(
        {QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("ns1"), QStringLiteral("added.example.com")},
        QStringLiteral("yes,ok,ok"));
    QVERIFY2(added.status == 0, added.err.constData());
    handToBind();
    const CliRun reloaded = cli({QStringLiteral("ndc"), QStringLiteral("ns1"), QStringLiteral("reload")});
    QVERIFY2(reloaded.status == 0,
             QByteArray(QByteArray::number(reloaded.status) + reloaded.out + reloaded.err).constData());
    QVERIFY(reloaded.out.contains("Database Reloaded."));
    QTRY_VERIFY_WITH_TIMEOUT(!digShort(m_port, QStringLiteral("added.example.com"), QStringLiteral("SOA")).isEmpty(),
                             5000);

    // A zone of the administrator's cannot be added again; nothing is written.
    const QByteArray local = readBytes(path(QStringLiteral("conf/named.conf.local")));
    const QByteArray top = readBytes(conf);
    const CliRun twice = cli(
        {QStringLiteral("zone"), QStringLiteral("fastadd"), QStringLiteral("ns1"), QStringLiteral("admin.example.com")},
        QStringLiteral("yes,ok,ok"));
    QCOMPARE(twice.status, 1);
    QVERIFY2(twice.err.contains("A Zone by that name already exists."), twice.err.constData());
    QCOMPARE(readBytes(conf), top);
    // Declared twice behind the program's back: BIND's own complaint, no reload, the name server serves on.
    QVERIFY(writeBytes(path(QStringLiteral("conf/named.conf.local")),
                       local + "zone \"added.example.com\" {\n\ttype master;\n\tfile \"/nonexistent\";\n};\n"));
    const CliRun refused = cli({QStringLiteral("ndc"), QStringLiteral("ns1"), QStringLiteral("reload")});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("already exists"), refused.err.constData());
    QVERIFY(!refused.out.contains("Database Reloaded."));
    QCOMPARE(digShort(m_port, QStringLiteral("localhost"), QStringLiteral("A")), QStringList{"127.0.0.1"});
    QVERIFY(!digShort(m_port, QStringLiteral("added.example.com"), QStringLiteral("SOA")).isEmpty());
    QVERIFY(writeBytes(path(QStringLiteral("conf/named.conf.local")), local));

    // The include line commented out: said, with where, and not reported as reloaded.
    QByteArray commented = readBytes(conf);
    const qsizetype include = commented.indexOf(
        QByteArray(QByteArray("include \"") + path(QStringLiteral("conf/quorvane-zones.conf")).toUtf8()));
    QVERIFY(include >= 0);
    commented.insert(include, "// ");
    QVERIFY(writeBytes(conf, commented));
    // Loading asks to include the file again; the answer no leaves it out, and the reload says so.
    const CliRun notIncluded =
        cli({QStringLiteral("ndc"), QStringLiteral("ns1"), QStringLiteral("reload")}, QStringLiteral("no"));
    QCOMPARE(notIncluded.status, 1);
    QVERIFY2(notIncluded.err.contains("does not include") && notIncluded.err.contains("names it in a comment"),
             notIncluded.err.constData());
    QVERIFY(!notIncluded.out.contains("Database Reloaded."));
    QVERIFY(!digShort(m_port, QStringLiteral("added.example.com"), QStringLiteral("SOA")).isEmpty());
}

QTEST_GUILESS_MAIN(TstBind9Takeover)
#include "tst_bind9takeover.moc"
