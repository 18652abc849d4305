// The server commands through the real command-line program: server add, takeover, import and delete over a
// temporary folder that stands for drive C, with their messages, their results and the files they write.

#include "support/testfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
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

class CliBox
{
public:
    CliBox()
    {
        QVERIFY(m_dir.isValid());
        writeFile(QStringLiteral("config/Mervale/Quorvane.conf"),
                  "[Drive%20Table]\nC=" + root().toLatin1() +
                      "\n[Initialization]\nE-Mail%20Address=hostmaster@example.com\nVersion=1.50\n");
        QDir().mkpath(path(QStringLiteral("win")));
    }

    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const { return QDir(root()).filePath(relative); }
    QByteArray bytes(const QString& relative) const { return readBytes(path(relative)); }

    void writeFile(const QString& relative, const QByteArray& bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
        QVERIFY(writeBytes(path(relative), bytes));
    }

    void copyServer(const QString& to) const
    {
        const QString from = testDataPath(QStringLiteral("newserver/source"));
        QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            writeFile(to + QLatin1Char('/') + QDir(from).relativeFilePath(file), readBytes(file));
        }
    }

    CliRun run(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root());
        process.start(QStringLiteral(QUORVANE_CLI), arguments);
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

    QByteArray servers() const { return run({QStringLiteral("servers")}).out; }

    QMap<QString, QByteArray> checksums(const QString& relative) const
    {
        QMap<QString, QByteArray> sums;
        QDirIterator it(path(relative), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            sums.insert(QDir(path(relative)).relativeFilePath(file),
                        QCryptographicHash::hash(readBytes(file), QCryptographicHash::Sha256));
        }
        return sums;
    }

private:
    QTemporaryDir m_dir;
};

QStringList add(const QString& name, const QString& domain, const QString& windir, const QStringList& more = {})
{
    return QStringList{QStringLiteral("server"), QStringLiteral("add"), name, domain, windir} + more;
}

const QStringList kWin95{QStringLiteral("--os"), QStringLiteral("Windows 95")};

} // namespace

class TstServerCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addSetsUpAServer();
    void addRefusals_data();
    void addRefusals();
    void addAsksBeforeReplacingABootFile_data();
    void addAsksBeforeReplacingABootFile();
    void addWithoutAnAdministratorAddress();
    void usageErrors_data();
    void usageErrors();
    void importCopiesTheServer();
    void importAsSecondaryZones();
    void importAsksForAValidMaster();
    void importIntoAnotherServersFolder();
    void takeover();
    void deleteRemovesTheServer();
};

void TstServerCli::addSetsUpAServer()
{
    CliBox box;
    const CliRun run =
        box.run(add(QStringLiteral("ns1."), QStringLiteral("example.com"), box.path(QStringLiteral("win")), kWin95));
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, "ns1\tns1@ns1.example.com.\t" + box.path(QStringLiteral("win/named.boot")).toLatin1() + "\n");
    QCOMPARE(box.bytes(QStringLiteral("win/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/new.boot"))));
    QVERIFY(QFileInfo::exists(box.path(QStringLiteral("win/quorvane/zones/cache.dns"))));
    QCOMPARE(box.servers(), run.out);

    // The SOA values are checked, not stored.
    const CliRun second =
        box.run(add(QStringLiteral("ns2"), QStringLiteral("ns2.example.org"), box.path(QStringLiteral("win2")),
                    {QStringLiteral("--soa"), QStringLiteral("1,2,3,4,5")}));
    QCOMPARE(second.status, 1);
    QDir().mkpath(box.path(QStringLiteral("win2")));
    const CliRun third =
        box.run(add(QStringLiteral("ns2"), QStringLiteral("ns2.example.org"), box.path(QStringLiteral("win2")),
                    {QStringLiteral("--soa"), QStringLiteral("1,2,3,4,5")}));
    QCOMPARE(third.status, 0);
    QCOMPARE(box.servers(),
             run.out + "ns2\tns2@ns2.example.org.\t" + box.path(QStringLiteral("win2/named.boot")).toLatin1() + "\n");
}

void TstServerCli::addRefusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("windir");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("message");
    const QString win = QStringLiteral("win");
    QTest::newRow("bad name") << QStringLiteral("ns/1") << QStringLiteral("example.com") << win << QStringList()
                              << QByteArray("Error.: Name of Server Input Error. Re-Enter.\n");
    QTest::newRow("existing name") << QStringLiteral("old") << QStringLiteral("example.com") << win << QStringList()
                                   << QByteArray("Error.: Server Name Already Exists.\n");
    QTest::newRow("bad domain") << QStringLiteral("ns1") << QStringLiteral("example com") << win << QStringList()
                                << QByteArray("Error.: First Zone Input Error. Re-Enter.\n");
    QTest::newRow("missing folder") << QStringLiteral("ns1") << QStringLiteral("example.com")
                                    << QStringLiteral("nowhere") << QStringList()
                                    << QByteArray("Re-Enter.: You must select a Windows Directory.\n");
    QTest::newRow("bad serial") << QStringLiteral("ns1") << QStringLiteral("example.com") << win
                                << QStringList{QStringLiteral("--soa"), QStringLiteral("x y,1,2,3,4")}
                                << QByteArray("Error.: Serial Input Error. Re-Enter.\n");
    QTest::newRow("empty minimum") << QStringLiteral("ns1") << QStringLiteral("example.com") << win
                                   << QStringList{QStringLiteral("--soa"), QStringLiteral("1,2,3,4,")}
                                   << QByteArray("Error.: Time To Live Input Error. Re-Enter.\n");
}

void TstServerCli::addRefusals()
{
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(QString, windir);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, message);
    CliBox box;
    box.writeFile(QStringLiteral("old/named.boot"), "directory C:\\\\old\r\n");
    QCOMPARE(box.run({QStringLiteral("server"), QStringLiteral("takeover"), QStringLiteral("old"),
                      QStringLiteral("example.org"), box.path(QStringLiteral("old"))})
                 .status,
             0);
    const QByteArray before = box.servers();
    const CliRun run = box.run(add(name, domain, box.path(windir), options));
    QCOMPARE(run.err, message);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(box.servers(), before);
    QVERIFY(!QFileInfo::exists(box.path(windir + QStringLiteral("/named.boot"))));
}

void TstServerCli::addAsksBeforeReplacingABootFile_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<int>("status");
    QTest::newRow("no answer") << QStringList() << 3;
    QTest::newRow("no") << QStringList{QStringLiteral("--answers"), QStringLiteral("no")} << 1;
    QTest::newRow("yes") << QStringList{QStringLiteral("--answers"), QStringLiteral("yes")} << 0;
}

void TstServerCli::addAsksBeforeReplacingABootFile()
{
    QFETCH(QStringList, answers);
    QFETCH(int, status);
    CliBox box;
    const QByteArray old = "directory C:\\\\old\r\n";
    box.writeFile(QStringLiteral("win/named.boot"), old);
    const CliRun run = box.run(
        answers + add(QStringLiteral("ns1"), QStringLiteral("example.com"), box.path(QStringLiteral("win")), kWin95));
    QCOMPARE(run.status, status);
    QCOMPARE(run.err.split('\n').first(),
             QByteArray("Question!: A named.boot already exists in that location. Would you like to overwrite this "
                        "server/file?"));
    QCOMPARE(box.bytes(QStringLiteral("win/named.boot")),
             status == 0 ? readBytes(testDataPath(QStringLiteral("newserver/new.boot"))) : old);
    QCOMPARE(box.servers().isEmpty(), status != 0);
}

void TstServerCli::addWithoutAnAdministratorAddress()
{
    CliBox box;
    box.writeFile(QStringLiteral("config/Mervale/Quorvane.conf"),
                  "[Drive%20Table]\nC=" + box.root().toLatin1() + "\n[Initialization]\nVersion=1.50\n");
    const CliRun run =
        box.run(add(QStringLiteral("ns1"), QStringLiteral("example.com"), box.path(QStringLiteral("win"))));
    QCOMPARE(run.err, QByteArray("Error.: E-Mail Input Error\n"));
    QCOMPARE(run.status, 1);
    // The folders were made at once, as the wizard's page 2 makes them.
    QVERIFY(QFileInfo(box.path(QStringLiteral("win/quorvane/zones"))).isDir());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("win/named.boot"))));

    const CliRun given =
        box.run(QStringList{QStringLiteral("--email"), QStringLiteral("admin@example.com")} +
                add(QStringLiteral("ns1"), QStringLiteral("example.com"), box.path(QStringLiteral("win"))));
    QCOMPARE(given.status, 0);
}

void TstServerCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString s = QStringLiteral("server");
    QTest::newRow("add without folder") << QStringList{s, QStringLiteral("add"), QStringLiteral("ns1"),
                                                       QStringLiteral("example.com")};
    QTest::newRow("add with unknown os") << add(QStringLiteral("ns1"), QStringLiteral("example.com"),
                                                QStringLiteral("/tmp"),
                                                {QStringLiteral("--os"), QStringLiteral("Windows 2000")});
    QTest::newRow("add with four soa values")
        << add(QStringLiteral("ns1"), QStringLiteral("example.com"), QStringLiteral("/tmp"),
               {QStringLiteral("--soa"), QStringLiteral("1,2,3,4")});
    QTest::newRow("add with unknown option")
        << add(QStringLiteral("ns1"), QStringLiteral("example.com"), QStringLiteral("/tmp"),
               {QStringLiteral("--secondary"), QStringLiteral("1.2.3.4")});
    QTest::newRow("takeover with too much") << QStringList{s,
                                                           QStringLiteral("takeover"),
                                                           QStringLiteral("a"),
                                                           QStringLiteral("b"),
                                                           QStringLiteral("c"),
                                                           QStringLiteral("d")};
    QTest::newRow("import without destination")
        << QStringList{s, QStringLiteral("import"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("import with a value missing") << QStringList{s,
                                                                QStringLiteral("import"),
                                                                QStringLiteral("a"),
                                                                QStringLiteral("b"),
                                                                QStringLiteral("c"),
                                                                QStringLiteral("d"),
                                                                QStringLiteral("--secondary")};
    QTest::newRow("delete without name") << QStringList{s, QStringLiteral("delete")};
}

void TstServerCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    CliBox box;
    const CliRun run = box.run(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY(!run.err.isEmpty());
    QCOMPARE(box.servers(), QByteArray());
}

void TstServerCli::importCopiesTheServer()
{
    CliBox box;
    box.copyServer(QStringLiteral("src"));
    QDir().mkpath(box.path(QStringLiteral("dest")));
    const QMap<QString, QByteArray> before = box.checksums(QStringLiteral("src"));
    const CliRun run = box.run({QStringLiteral("server"), QStringLiteral("import"), QStringLiteral("ns2"),
                                QStringLiteral("example.com"), box.path(QStringLiteral("src/winnt")),
                                box.path(QStringLiteral("dest"))});
    QCOMPARE(run.err, QByteArray("Attention!: Your server has been successfully imported.\n"));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, "ns2\tns2@example.com.\t" + box.path(QStringLiteral("dest/named.boot")).toLatin1() + "\n");
    QCOMPARE(box.checksums(QStringLiteral("src")), before);
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import.boot"))));
    for (const QString& name :
         {QStringLiteral("root.cache"), QStringLiteral(".hidden"), QStringLiteral("other.org.bak"),
          QStringLiteral("206.117.30.rev"), QStringLiteral("example.com.dns")})
        QCOMPARE(box.bytes(QStringLiteral("dest/quorvane/zones/") + name),
                 box.bytes(QStringLiteral("src/dns/data/") + name));
    for (const QString& name : {QStringLiteral("handwritten.org.dns"), QStringLiteral("written-out.net.dns")})
        QCOMPARE(box.bytes(QStringLiteral("dest/quorvane/zones/") + name),
                 readBytes(testDataPath(QStringLiteral("newserver/repaired/") + name)));
}

void TstServerCli::importAsSecondaryZones()
{
    CliBox box;
    box.copyServer(QStringLiteral("src"));
    QDir().mkpath(box.path(QStringLiteral("dest")));
    const CliRun run =
        box.run({QStringLiteral("server"), QStringLiteral("import"), QStringLiteral("ns2"),
                 QStringLiteral("example.com."), box.path(QStringLiteral("src/winnt")),
                 box.path(QStringLiteral("dest")), QStringLiteral("--secondary"), QStringLiteral("10.0.0.5")});
    QCOMPARE(run.status, 0);
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import-secondary.boot"))));
    QCOMPARE(QDir(box.path(QStringLiteral("dest/quorvane/zones"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("cache.dns")});
}

void TstServerCli::importAsksForAValidMaster()
{
    CliBox box;
    box.copyServer(QStringLiteral("src"));
    QDir().mkpath(box.path(QStringLiteral("dest")));
    const QStringList command{QStringLiteral("server"),
                              QStringLiteral("import"),
                              QStringLiteral("ns2"),
                              QStringLiteral("example.com"),
                              box.path(QStringLiteral("src/winnt")),
                              box.path(QStringLiteral("dest")),
                              QStringLiteral("--secondary"),
                              QStringLiteral("10.0.5")};
    const QByteArray asked = "Attention!: You entered an invalid server IP. Re-Enter. An IP address is four numbers "
                             "from 0 to 255 separated by dots, such as 192.168.1.10.\n"
                             "Primary Server IP: Please enter the IP of the primary server.\n";
    const CliRun unanswered = box.run(command);
    QCOMPARE(unanswered.status, 3);
    QCOMPARE(unanswered.err, asked);
    QCOMPARE(box.servers(), QByteArray());

    QVERIFY(QFile::remove(box.path(QStringLiteral("dest/named.boot"))));
    const CliRun answered = box.run(QStringList{QStringLiteral("--answers"), QStringLiteral("10.0.0.5")} + command);
    QCOMPARE(answered.status, 0);
    QCOMPARE(answered.err, asked + "Attention!: Your server has been successfully imported.\n");
    QCOMPARE(box.bytes(QStringLiteral("dest/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/import-secondary.boot"))));
}

void TstServerCli::importIntoAnotherServersFolder()
{
    CliBox box;
    box.copyServer(QStringLiteral("src"));
    QVERIFY(box.run(add(QStringLiteral("ns1"), QStringLiteral("example.com"), box.path(QStringLiteral("win")), kWin95))
                .status == 0);
    const QMap<QString, QByteArray> before = box.checksums(QStringLiteral("win"));
    const QStringList command{QStringLiteral("--answers"),
                              QStringLiteral("no"),
                              QStringLiteral("server"),
                              QStringLiteral("import"),
                              QStringLiteral("ns2"),
                              QStringLiteral("example.com"),
                              box.path(QStringLiteral("src/winnt")),
                              box.path(QStringLiteral("win"))};
    const CliRun run = box.run(command);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QByteArray("Question!: A named.boot already exists in that location. Would you like to "
                                 "overwrite this server/file?\n"
                                 "Exiting.: You have cancelled the import of this server.\n"));
    QCOMPARE(box.checksums(QStringLiteral("win")), before);
    QCOMPARE(box.servers(),
             "ns1\tns1@ns1.example.com.\t" + box.path(QStringLiteral("win/named.boot")).toLatin1() + "\n");
}

void TstServerCli::takeover()
{
    CliBox box;
    box.copyServer(QStringLiteral("src"));
    box.writeFile(QStringLiteral("ns3/named.boot"), "directory C:\\\\src\\\\dns\\\\data\r\ncache . root.cache\r\n"
                                                    "primary example.com example.com.dns\r\n");
    const CliRun run = box.run({QStringLiteral("server"), QStringLiteral("takeover"), QStringLiteral("ns3"),
                                QStringLiteral("example.com"), box.path(QStringLiteral("ns3"))});
    QCOMPARE(run.err, QByteArray("Attention!: Your server has been successfully imported.\n"));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, "ns3\tns3@example.com.\t" + box.path(QStringLiteral("ns3/named.boot")).toLatin1() + "\n");
    QCOMPARE(box.bytes(QStringLiteral("ns3/named.boot")),
             readBytes(testDataPath(QStringLiteral("newserver/takecontrol.boot"))));

    const CliRun missing = box.run({QStringLiteral("server"), QStringLiteral("takeover"), QStringLiteral("ns4"),
                                    QStringLiteral("example.com"), box.path(QStringLiteral("nowhere"))});
    QCOMPARE(missing.status, 1);
    QCOMPARE(missing.err,
             QByteArray("Attention!: Your named.boot file is missing from this server. Failed to import.\n"));
}

void TstServerCli::deleteRemovesTheServer()
{
    CliBox box;
    QVERIFY(box.run(add(QStringLiteral("ns1"), QStringLiteral("example.com"), box.path(QStringLiteral("win")), kWin95))
                .status == 0);
    const CliRun run = box.run({QStringLiteral("server"), QStringLiteral("delete"), QStringLiteral("ns1")});
    QCOMPARE(run.err, QByteArray("Attention!: Your server has been successfully deleted.\n"));
    QCOMPARE(run.status, 0);
    QCOMPARE(box.servers(), QByteArray());
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("win/named.boot"))));
    QVERIFY(!QFileInfo::exists(box.path(QStringLiteral("win/quorvane/zones/cache.dns"))));

    const CliRun again = box.run({QStringLiteral("server"), QStringLiteral("delete"), QStringLiteral("ns1")});
    QCOMPARE(again.status, 1);
    QCOMPARE(again.err, QByteArray("Error: Server record not found.\n"));
}

QTEST_GUILESS_MAIN(TstServerCli)
#include "tst_servercli.moc"
