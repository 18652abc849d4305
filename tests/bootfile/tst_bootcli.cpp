// The boot file through the real command-line program: every folder under tests/data/bootfile/cases is one
// server (its named.boot, the files to create, the settings and answers) with the boot file, the output and
// the messages it must give, byte for byte. "@ROOT@" stands for the temporary folder of the run.

#include "platform/osdetect.h"
#include "platform/systemplatform.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class Sandbox
{
public:
    Sandbox() { QVERIFY(m_dir.isValid()); }

    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const { return QDir(root()).filePath(relative); }
    QString settingsFile() const { return path(QStringLiteral("config/Mervale/Quorvane.conf")); }
    QString appData() const { return path(QStringLiteral("share/Mervale/Quorvane")); }

    QByteArray substitute(QByteArray text) const
    {
        text.replace("@ROOT@", root().toLatin1());
        SystemPlatform platform;
        text.replace("@GUESSEDOS@",
                     guessDefaultOs(QString(), platform.platformName(), platform.versionText()).toLatin1());
        return text;
    }

    bool writeFile(const QString& relative, const QByteArray& bytes) const
    {
        const QString target = path(relative);
        return QDir().mkpath(QFileInfo(target).absolutePath()) && writeBytes(target, bytes);
    }

    CliRun run(const QStringList& arguments, const QStringList& wrapper = {}) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root());
        if (wrapper.isEmpty()) {
            process.start(QStringLiteral(QUORVANE_CLI), arguments);
        } else {
            process.start(wrapper.first(), wrapper.mid(1) + QStringList{QStringLiteral(QUORVANE_CLI)} + arguments);
        }
        CliRun result;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

private:
    QTemporaryDir m_dir;
};

QByteArray caseFile(const QString& name, const QString& file)
{
    return readBytes(testDataPath(QStringLiteral("bootfile/cases/%1/%2").arg(name, file)));
}

bool caseHas(const QString& name, const QString& file)
{
    return QFile::exists(testDataPath(QStringLiteral("bootfile/cases/%1/%2").arg(name, file)));
}

const QByteArray kDefaultSettings = "[Drive%20Table]\nC=@ROOT@\n";

QStringList bootRead(const QString& bootFile, const QStringList& globals)
{
    return globals + QStringList{QStringLiteral("boot"), QStringLiteral("read"), bootFile};
}

} // namespace

class TstBootCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsAndRewritesBootFiles_data();
    void readsAndRewritesBootFiles();
    void badInputGivesAMessage_data();
    void badInputGivesAMessage();
    void unreadableBootFile();
    void megabyteLineIsCarriedOver();
    void serversAreListedAndFoundByName();
    void deletingKeepsASharedDataDirectory();
    void usageErrors();
};

void TstBootCli::readsAndRewritesBootFiles_data()
{
    QTest::addColumn<QString>("name");
    const QDir cases(testDataPath(QStringLiteral("bootfile/cases")));
    const QStringList names = cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QVERIFY(names.size() >= 19);
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TstBootCli::readsAndRewritesBootFiles()
{
    QFETCH(QString, name);
    Sandbox box;
    QVERIFY(
        box.writeFile(QStringLiteral("win/named.boot"), box.substitute(caseFile(name, QStringLiteral("named.boot")))));
    const QByteArray settings = caseHas(name, QStringLiteral("settings.conf"))
                                    ? caseFile(name, QStringLiteral("settings.conf"))
                                    : kDefaultSettings;
    QVERIFY(box.writeFile(QStringLiteral("config/Mervale/Quorvane.conf"), box.substitute(settings)));
    if (caseHas(name, QStringLiteral("cache.tmp")))
        QVERIFY(box.writeFile(QStringLiteral("share/Mervale/Quorvane/cache.tmp"),
                              caseFile(name, QStringLiteral("cache.tmp"))));
    for (const QByteArray& entry : caseFile(name, QStringLiteral("files")).split('\n')) {
        if (entry.isEmpty())
            continue;
        const qsizetype equals = entry.indexOf('=');
        const QString relative = QString::fromLatin1(equals < 0 ? entry : entry.left(equals));
        const QByteArray content = equals < 0 ? QByteArray() : entry.mid(equals + 1) + "\r\n";
        QVERIFY(box.writeFile(relative, content));
    }

    QStringList globals{QStringLiteral("--identity"), QStringLiteral("ns1@ns1.example.com.")};
    if (caseHas(name, QStringLiteral("args")))
        globals = QString::fromLatin1(box.substitute(caseFile(name, QStringLiteral("args")).trimmed()))
                      .split(QLatin1Char(' '));
    const int expectedStatus =
        caseHas(name, QStringLiteral("status")) ? caseFile(name, QStringLiteral("status")).trimmed().toInt() : 0;
    const QString bootFile = box.path(QStringLiteral("win/named.boot"));

    const CliRun first = box.run(bootRead(bootFile, globals));
    QCOMPARE(first.err, box.substitute(caseFile(name, QStringLiteral("expected.stderr"))));
    QCOMPARE(first.out, box.substitute(caseFile(name, QStringLiteral("expected.stdout"))));
    QCOMPARE(first.status, expectedStatus);
    const QByteArray written = readBytes(bootFile);
    QCOMPARE(written, box.substitute(caseFile(name, QStringLiteral("expected.boot"))));
    if (caseHas(name, QStringLiteral("expected.cache.dns"))) {
        const QByteArray datapath = first.out.split('\n').at(3).mid(qsizetype(strlen("datapath: ")));
        QCOMPARE(readBytes(QDir(QString::fromLatin1(datapath)).filePath(QStringLiteral("cache.dns"))),
                 caseFile(name, QStringLiteral("expected.cache.dns")));
    }
    // A command's reading keeps an entry whose file is missing, so the next one asks about it again.
    if (expectedStatus != 0 || caseHas(name, QStringLiteral("asks-again")))
        return;

    // The program's own output reads back without a question and without a change.
    const CliRun second =
        box.run(bootRead(bootFile, {QStringLiteral("--identity"), QStringLiteral("ns1@ns1.example.com.")}));
    QCOMPARE(second.err, QByteArray());
    QCOMPARE(second.status, 0);
    // The lists now follow the sorted file; the paths and the grids are the same.
    const auto header = [](const QByteArray& out) { return out.left(out.indexOf("[primary zones]")); };
    const auto grids = [](const QByteArray& out) { return out.mid(out.indexOf("[Serving Primary for")); };
    QCOMPARE(header(second.out), header(first.out));
    QCOMPARE(grids(second.out), grids(first.out));
    QCOMPARE(readBytes(bootFile), written);
}

void TstBootCli::badInputGivesAMessage_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("expectedError");
    const QByteArray noDirectory =
        "Attention!: A directory entry could not be found in your boot file. Please repair or restore your server.\n";
    const QByteArray notFound = "Attention!: Fatal Error! Your boot file could not be found.\n";
    QTest::newRow("binary") << QByteArray("binary") << noDirectory;
    QTest::newRow("one megabyte line") << QByteArray("long line") << noDirectory;
    QTest::newRow("folder named named.boot") << QByteArray("folder") << notFound;
    QTest::newRow("pipe named named.boot") << QByteArray("fifo") << notFound;
    QTest::newRow("missing") << QByteArray("missing") << notFound;
}

void TstBootCli::badInputGivesAMessage()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, expectedError);
    Sandbox box;
    const QString bootFile = box.path(QStringLiteral("win/named.boot"));
    QVERIFY(QDir().mkpath(box.path(QStringLiteral("win"))));
    QByteArray original;
    if (kind == "binary") {
        for (int i = 0; i < 70000; ++i)
            original.append(char((i * 7919 + i / 3) % 256));
        original.replace("directory ", "xxxxxxxxxx");
    } else if (kind == "long line") {
        original = "primary " + QByteArray(1024 * 1024, 'a') + "\r\n";
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(bootFile));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(bootFile).constData(), 0600), 0);
    }
    if (!original.isEmpty())
        QVERIFY(writeBytes(bootFile, original));

    const CliRun run = box.run(bootRead(bootFile, {QStringLiteral("--identity"), QStringLiteral("ns1@x.")}));
    QCOMPARE(run.status, 1);
    if (kind == "long line") {
        // The whole line is reported as having too few fields, then the missing directory.
        QCOMPARE(run.err, QByteArray("Information: An error has been found in your boot file :" + original.trimmed() +
                                     " is entered incorrectly.\n" + expectedError));
    } else {
        QCOMPARE(run.err, expectedError);
    }
    if (!original.isEmpty())
        QCOMPARE(readBytes(bootFile), original);
}

void TstBootCli::megabyteLineIsCarriedOver()
{
    Sandbox box;
    QVERIFY(box.writeFile(QStringLiteral("config/Mervale/Quorvane.conf"), box.substitute(kDefaultSettings)));
    QVERIFY(box.writeFile(QStringLiteral("dns/data/cache.dns"), QByteArray()));
    const QByteArray huge = "sortlist " + QByteArray(1024 * 1024, 'x');
    QVERIFY(box.writeFile(QStringLiteral("win/named.boot"),
                          "directory C:\\\\dns\\\\data\n;OS: Windows 95\ncache . cache.dns\n" + huge));
    const QString bootFile = box.path(QStringLiteral("win/named.boot"));
    const CliRun run = box.run(bootRead(bootFile, {QStringLiteral("--identity"), QStringLiteral("ns1@x.")}));
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    QVERIFY(readBytes(bootFile).endsWith(QByteArray(";\r\n;[OTHER ENTRIES]\r\n" + huge + "\r\n;\r\n")));
}

void TstBootCli::unreadableBootFile()
{
    Sandbox box;
    const QString bootFile = box.path(QStringLiteral("win/named.boot"));
    const QByteArray original = "directory C:\\\\dns\\\\data\r\n";
    QVERIFY(box.writeFile(QStringLiteral("win/named.boot"), original));
    QVERIFY(QFile::setPermissions(bootFile, QFileDevice::Permissions()));

    QStringList wrapper;
    if (::geteuid() == 0) {
        // File permissions do not bind root: run the program as an ordinary user instead.
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            QSKIP("running as root without setpriv: an unreadable file cannot be made");
        wrapper = {setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                   QStringLiteral("--clear-groups")};
        QVERIFY(QFile::setPermissions(box.root(), QFileDevice::Permissions(0x7777)));
        QVERIFY(QDir().mkpath(box.path(QStringLiteral("config"))) && QDir().mkpath(box.path(QStringLiteral("share"))));
        for (const QString& folder :
             {box.path(QStringLiteral("win")), box.path(QStringLiteral("config")), box.path(QStringLiteral("share"))})
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        if (::access(QUORVANE_CLI, X_OK) != 0)
            QSKIP("the program cannot be run as another user from this build folder");
    }
    const CliRun run = box.run(bootRead(bootFile, {QStringLiteral("--identity"), QStringLiteral("ns1@x.")}), wrapper);
    if (run.status == 127 || run.err.contains("Permission denied") || run.err.contains("error while loading"))
        QSKIP("the program cannot be run as another user from this build folder");
    QCOMPARE(run.err, QByteArray("Attention!: Fatal Error! Your boot file could not be found.\n"));
    QCOMPARE(run.status, 1);
    QVERIFY(QFile::setPermissions(bootFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(readBytes(bootFile), original);
}

void TstBootCli::serversAreListedAndFoundByName()
{
    Sandbox box;
    const QByteArray boot = "directory C:\\\\data\\\\%1\r\n;OS: Windows 95\r\ncache . cache.dns\r\n";
    for (const QString& name : {QStringLiteral("ns"), QStringLiteral("ns1")}) {
        QVERIFY(box.writeFile(name + QStringLiteral("/named.boot"), QByteArray(boot).replace("%1", name.toLatin1())));
        QVERIFY(box.writeFile(QStringLiteral("data/") + name + QStringLiteral("/cache.dns"), QByteArray()));
    }
    // ns1 comes first: choosing ns must not take it.
    const QByteArray settings = "[Initialization]\nVersion=1.50\n\n[Drive%20Table]\nC=@ROOT@\n\n[Servers]\n"
                                "Number%20of%20Servers=2\nServer%200=ns1@ns1.example.com.     @ROOT@/ns1/named.boot\n"
                                "Server%201=ns@ns.example.com.     @ROOT@/ns/named.boot\n";
    QVERIFY(box.writeFile(QStringLiteral("config/Mervale/Quorvane.conf"), box.substitute(settings)));

    const CliRun list = box.run({QStringLiteral("servers")});
    QCOMPARE(list.err, QByteArray());
    QCOMPARE(list.out, box.substitute("ns1\tns1@ns1.example.com.\t@ROOT@/ns1/named.boot\n"
                                      "ns\tns@ns.example.com.\t@ROOT@/ns/named.boot\n"));
    QCOMPARE(list.status, 0);

    const CliRun read = box.run({QStringLiteral("boot"), QStringLiteral("read"), QStringLiteral("ns")});
    QCOMPARE(read.err, QByteArray());
    QCOMPARE(read.status, 0);
    QVERIFY2(read.out.startsWith(box.substitute("path: @ROOT@/ns/\nservername: ns\ninifile: named.boot\n"
                                                "datapath: @ROOT@/data/ns\n")),
             read.out.constData());

    const CliRun unknown = box.run({QStringLiteral("boot"), QStringLiteral("read"), QStringLiteral("ns2")});
    QCOMPARE(unknown.err, QByteArray("Error: Server record not found.\n"));
    QCOMPARE(unknown.status, 1);
}

void TstBootCli::deletingKeepsASharedDataDirectory()
{
    Sandbox box;
    const QByteArray boot = "directory C:\\\\shared\r\ncache . cache.dns\r\n";
    QVERIFY(box.writeFile(QStringLiteral("one/named.boot"), boot));
    QVERIFY(box.writeFile(QStringLiteral("two/named.boot"), boot));
    QVERIFY(box.writeFile(QStringLiteral("shared/zone.dns"), "zone\r\n"));
    const QByteArray settings = "[Initialization]\nVersion=1.50\n\n[Drive%20Table]\nC=@ROOT@\n\n[Servers]\n"
                                "Number%20of%20Servers=2\nServer%200=one@one.example.com.     @ROOT@/one/named.boot\n"
                                "Server%201=two@two.example.com.     @ROOT@/two/named.boot\n";
    QVERIFY(box.writeFile(QStringLiteral("config/Mervale/Quorvane.conf"), box.substitute(settings)));

    const CliRun deleted = box.run({QStringLiteral("servers"), QStringLiteral("delete"), QStringLiteral("one")});
    QCOMPARE(deleted.err, box.substitute("Attention!: The data directory @ROOT@/shared is also used by the server "
                                         "two. Its files have not been deleted.\n"
                                         "Attention!: Your server has been successfully deleted.\n"));
    QCOMPARE(deleted.status, 0);
    QVERIFY(!QFile::exists(box.path(QStringLiteral("one/named.boot"))));
    QCOMPARE(readBytes(box.path(QStringLiteral("shared/zone.dns"))), QByteArray("zone\r\n"));

    const CliRun list = box.run({QStringLiteral("servers")});
    QCOMPARE(list.out, box.substitute("two\ttwo@two.example.com.\t@ROOT@/two/named.boot\n"));

    // The last user of the folder takes its files with it.
    const CliRun last = box.run({QStringLiteral("servers"), QStringLiteral("delete"), QStringLiteral("two")});
    QCOMPARE(last.err, QByteArray("Attention!: Your server has been successfully deleted.\n"));
    QVERIFY(!QFile::exists(box.path(QStringLiteral("shared/zone.dns"))));
    QVERIFY(QFileInfo(box.path(QStringLiteral("shared"))).isDir());
    QCOMPARE(box.run({QStringLiteral("servers")}).out, QByteArray());
}

void TstBootCli::usageErrors()
{
    Sandbox box;
    QCOMPARE(box.run({QStringLiteral("boot"), QStringLiteral("read")}).status, 2);
    QCOMPARE(box.run({QStringLiteral("servers"), QStringLiteral("extra")}).status, 2);
    const CliRun help = box.run({QStringLiteral("--help")});
    QVERIFY(help.out.contains("boot read BOOTFILE|SERVER"));
    QVERIFY(help.out.contains("servers delete SERVER"));
}

QTEST_GUILESS_MAIN(TstBootCli)
#include "tst_bootcli.moc"
