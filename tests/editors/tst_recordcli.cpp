// quorvane-cli record add, change and delete over a server given by its boot file: every record kind added,
// changed and deleted in turn, the zone file compared whole after each step and accepted by named-checkzone;
// refusals, usage errors and unanswered questions change nothing.
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kIdentity = QStringLiteral("NS1@ns1.example.com");

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TestRecordCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void everyKindAddedChangedAndDeleted();
    void otherRecordsAddedChangedAndDeleted();
    void editorsSeeTheOtherRecords();
    void refusals_data();
    void refusals();
    void missingZoneFileLeavesTheBootFile_data();
    void missingZoneFileLeavesTheBootFile();

private:
    QString path(const QString& relative) const { return QDir(m_dir->path()).filePath(relative); }
    QString bootFile() const { return path(QStringLiteral("winnt/named.boot")); }
    QString zoneFile() const { return path(QStringLiteral("dns/example.com.dns")); }
    CliRun run(const QStringList& arguments, const QString& serial, const QString& answers = QString()) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(path(QStringLiteral("winnt/system32")));
    QDir().mkpath(path(QStringLiteral("dns")));
    QVERIFY(writeBytes(bootFile(), "directory     " + path(QStringLiteral("dns")).toLatin1() +
                                       " \r\ncache       .     cache.dns \r\n"
                                       "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n"));
    QVERIFY(writeBytes(zoneFile(), readBytes(testDataPath(QStringLiteral("editors/example.com.dns")))));
}

void TestRecordCli::cleanup()
{
    QUORVANE_VERIFY_ZONES_LOAD(bootFile(), path(QStringLiteral("dns")));
}

CliRun TestRecordCli::run(const QStringList& arguments, const QString& serial, const QString& answers) const
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("share")));
    process.setProcessEnvironment(env);
    QStringList options{QStringLiteral("--identity"), kIdentity, QStringLiteral("--serial"), serial};
    if (!answers.isEmpty())
        options << QStringLiteral("--answers") << answers;
    process.start(QStringLiteral(QUORVANE_CLI), options + arguments);
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

void TestRecordCli::everyKindAddedChangedAndDeleted()
{
    struct Step
    {
        QStringList arguments;
        QString answers;
        QString golden;
    };
    const QString boot = bootFile();
    const QString zone = QStringLiteral("example.com");
    const QList<Step> steps = {
        {{"record", "add", boot, zone, "host", "web", "10.0.0.5."}, "ok", "host_web.dns"},
        {{"record", "change", boot, zone, "host", "3", "web", "10.0.0.6"}, "ok", "cli_02_host_change.dns"},
        {{"record", "add", boot, zone, "ns", "ns2"}, "ok,yes,2", "cli_03_ns_add.dns"},
        {{"record", "add", boot, zone, "mx", "mx2", "20"}, "ok,yes,3", "cli_04_mx_add.dns"},
        {{"record", "change", boot, zone, "mx", "1", "ns1.example.com", "10"}, "", "cli_05_mx_change.dns"},
        {{"record", "add", boot, zone, "alias", "ftp", "web"}, "ok,ok", "cli_06_alias_add.dns"},
        {{"record", "change", boot, zone, "alias", "2", "ftp.example.com", "mail.example.com"},
         "",
         "cli_07_alias_change.dns"},
        {{"record", "add", boot, zone, "person", "john", "john@example.com", "Room 12"}, "", "cli_08_person_add.dns"},
        {{"record", "change", boot, zone, "person", "1", "john", "jd@example.com", "Desk"},
         "",
         "cli_09_person_change.dns"},
        {{"record", "change", boot, zone, "soa", "refresh", "7200"}, "", "cli_10_soa_change.dns"},
        {{"record", "delete", boot, zone, "person", "1"}, "", "cli_11_person_delete.dns"},
        {{"record", "delete", boot, zone, "alias", "2"}, "", "cli_12_alias_delete.dns"},
        {{"record", "delete", boot, zone, "mx", "2"}, "", "cli_13_mx_delete.dns"},
        {{"record", "delete", boot, zone, "ns", "2"}, "", "cli_14_ns_delete.dns"},
        {{"record", "delete", boot, zone, "host", "3"}, "", "cli_15_host_delete.dns"},
    };
    qint64 serial = 2026120701;
    for (const Step& step : steps) {
        const CliRun result = run(step.arguments, QString::number(serial), step.answers);
        QVERIFY2(result.status == 0, result.err.constData());
        // Only the questions and the picker that were answered, no refusal.
        for (const QByteArray& line : result.err.split('\n')) {
            if (!line.isEmpty())
                QVERIFY2(line.startsWith("Question: ") || line.startsWith("Information: ") ||
                             line.startsWith("Select host for "),
                         line.constData());
        }
        QCOMPARE(result.err.count('\n'), step.answers.isEmpty() ? 0 : step.answers.count(',') + 1);
        QCOMPARE(result.out, "saved example.com.dns serial " + QByteArray::number(serial + 1) + "\n");
        const QByteArray written = readBytes(zoneFile());
        const QByteArray expected = readBytes(testDataPath(QStringLiteral("editors/") + step.golden));
        if (written != expected)
            writeBytes(QDir::temp().filePath(step.golden + QStringLiteral(".actual")), written);
        QVERIFY2(written == expected, qPrintable(step.golden));
        const ZoneCheck check = checkZoneFile(zone, zoneFile());
        QVERIFY(check.ran);
        QCOMPARE(check.complaints, QStringList());
        QCOMPARE(check.exitCode, 0);
        ++serial;
    }
}

// The records the six lists do not hold, through "record ... other": laid out as a normalised zone's, each
// read by the name server's checker, listed by "zone read" in order.
void TestRecordCli::otherRecordsAddedChangedAndDeleted()
{
    const QString boot = bootFile();
    const QString zone = QStringLiteral("example.com");
    const QString key = QString(300, QLatin1Char('A'));
    struct Step
    {
        QStringList arguments;
        QStringList others; // the "[Other Records]" section afterwards
    };
    const QString aaaa = QStringLiteral("ns1.example.com.     IN     AAAA     2001:db8::1");
    const QString dkim = QStringLiteral("key._domainkey.example.com.     300     IN     TXT     \"v=DKIM1; k=rsa; p=") +
                         key.left(237) + QStringLiteral("\" \"") + key.mid(237) + QStringLiteral("\" ");
    const QString srv = QStringLiteral("_sip._tcp.example.com.     IN     SRV     0 5 5060 ns1.example.com.");
    const QString caa = QStringLiteral("example.com.     IN     CAA     0 issue \"ca.example.net\"");
    const QString ptr = QStringLiteral("1.0.example.com.     IN     PTR     ns1.example.com.");
    const QString naptr =
        QStringLiteral("example.com.     IN     NAPTR     100 10 \"u\" \"E2U+sip\" \"!^.*$!sip:info@example.com!\" .");
    const QList<Step> steps = {
        {{"add", "ns1", "-", "AAAA", "2001:db8::1"}, {aaaa}},
        {{"add", "key._domainkey", "300", "TXT", "v=DKIM1;", "k=rsa;", "p=" + key}, {aaaa, dkim}},
        {{"add", "_sip._tcp", "", "SRV", "0", "5", "5060", "ns1"}, {aaaa, dkim, srv}},
        {{"add", "@", "-", "caa", "0 issue \"ca.example.net\""}, {aaaa, dkim, srv, caa}},
        {{"add", "1.0", "-", "PTR", "ns1.example.com."}, {aaaa, dkim, srv, caa, ptr}},
        {{"add", "example.com.", "-", "NAPTR", "100 10 \"u\" \"E2U+sip\" \"!^.*$!sip:info@example.com!\" ."},
         {aaaa, dkim, srv, caa, ptr, naptr}},
        {{"change", "1", "ns1", "1h", "AAAA", "2001:db8::2"},
         {QStringLiteral("ns1.example.com.     3600     IN     AAAA     2001:db8::2"), dkim, srv, caa, ptr, naptr}},
        {{"delete", "2"},
         {QStringLiteral("ns1.example.com.     3600     IN     AAAA     2001:db8::2"), srv, caa, ptr, naptr}},
    };
    qint64 serial = 2026120701;
    for (const Step& step : steps) {
        const QStringList arguments =
            QStringList{QStringLiteral("record"), step.arguments.first(), boot, zone, QStringLiteral("other")} +
            step.arguments.mid(1);
        const CliRun result = run(arguments, QString::number(serial));
        QVERIFY2(result.status == 0, result.err.constData());
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.out, "saved example.com.dns serial " + QByteArray::number(serial + 1) + "\n");
        const QString written = QString::fromLatin1(readBytes(zoneFile()));
        const QStringList expected = step.others + QStringList{QStringLiteral(";"), QString()};
        QCOMPARE(written.section(QStringLiteral(";[Other Records]\r\n"), 1).split(QStringLiteral("\r\n")), expected);
        const ZoneCheck check = checkZoneFile(zone, zoneFile());
        QCOMPARE(check.complaints, QStringList());
        QCOMPARE(check.exitCode, 0);
        ++serial;
    }
    QProcess read;
    read.start(QStringLiteral(QUORVANE_CLI), {QStringLiteral("zone"), QStringLiteral("read"),
                                              path(QStringLiteral("dns")), QStringLiteral("example.com.dns"), zone});
    QVERIFY(read.waitForFinished(30000));
    const QString listed =
        QString::fromLatin1(read.readAllStandardOutput()).section(QStringLiteral("[Other Records]\n"), 1);
    QCOMPARE(listed.split(QLatin1Char('\n')).first(), QStringLiteral("ns1.example.com. 3600 AAAA 2001:db8::2"));
    QCOMPARE(listed.split(QLatin1Char('\n')).at(1),
             QStringLiteral("_sip._tcp.example.com. 86400 SRV 0 5 5060 ns1.example.com."));
}

// The editors' checks of names count the other records too: an alias beside one, a host or a person at an
// alias among them are refused; the last name server of the list goes when another stands among them.
void TestRecordCli::editorsSeeTheOtherRecords()
{
    const QString boot = bootFile();
    const QString zone = QStringLiteral("example.com");
    struct Step
    {
        QStringList arguments;
        QString answers;
        int status;
        QByteArray err;
    };
    const QList<Step> steps = {
        {{"add", "other", "ftp", "-", "AAAA", "2001:db8::21"}, "", 0, ""},
        {{"add", "other", "mail2", "-", "CNAME", "mail"}, "", 0, ""},
        {{"add", "other", "@", "3600", "NS", "ns1"}, "", 0, ""},
        {{"add", "alias", "ftp.example.com", "ns1.example.com"},
         "",
         1,
         "Re-Enter.: This name already holds records listed under Other Records, and an alias can share its name "
         "with none. Re-Enter.\n"},
        {{"add", "host", "mail2.example.com", "10.0.0.9"},
         "",
         1,
         "Re-Enter.: You already have used the host name as an alias.\n"},
        {{"add", "person", "mail2", "hm@example.com", "Desk"},
         "",
         1,
         "Re-Enter.: You already have used this name as an alias.\n"},
        {{"delete", "ns", "1"}, "", 0, ""},
    };
    qint64 serial = 2026120701;
    for (const Step& step : steps) {
        const QByteArray before = readBytes(zoneFile());
        const QStringList arguments =
            QStringList{QStringLiteral("record"), step.arguments.first(), boot, zone} + step.arguments.mid(1);
        const CliRun result = run(arguments, QString::number(serial), step.answers);
        QCOMPARE(result.status, step.status);
        QCOMPARE(result.err, step.err);
        if (step.status != 0) {
            QCOMPARE(readBytes(zoneFile()), before);
            continue;
        }
        const ZoneCheck check = checkZoneFile(zone, zoneFile());
        QVERIFY2(check.accepted(), qPrintable(check.output.join(QLatin1Char('\n'))));
        ++serial;
    }
    QVERIFY(!readBytes(zoneFile()).contains("\r\nexample.com.     IN     NS     ns1.example.com.\r\n"));
    QVERIFY(readBytes(zoneFile()).contains("\r\nexample.com.     3600     IN     NS     ns1.example.com.\r\n"));
}

void TestRecordCli::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");

    const QString boot = QStringLiteral("BOOT");
    QTest::newRow("illegal host") << QStringList{"record", "add", boot, "example.com", "host", "we b", "10.0.0.1"} << ""
                                  << 1
                                  << QByteArray("Attention!: You have illegal characters in the host name "
                                                "field.\n");
    QTest::newRow("second priority 10")
        << QStringList{"record", "add", boot, "example.com", "mx", "ns1.example.com", "10"} << "" << 1
        << QByteArray("Attention!: You have entered the same mail server priority for 2 servers. Please Re-Enter.\n");
    QTest::newRow("contact too long")
        << QStringList{"record", "add", boot, "example.com", "person", "john", "john@example.com", QString(300, 'x')}
        << "" << 1
        << QByteArray("Attention!: Your contact info is longer than 255 characters. Please shorten it and Re-Enter.\n");
    // Values the name server cannot read: it refused the whole zone after they were stored.
    QTest::newRow("address above 255")
        << QStringList{"record", "add", boot, "example.com", "host", "web", "300.1.2.3"} << "" << 1
        << QByteArray("Attention!: You have entered an invalid IP# in the first IP# field. Re-Enter. An IP address is "
                      "four numbers from 0 to 255 separated by dots, such as 192.168.1.10.\n");
    QTest::newRow("priority ten") << QStringList{"record", "add", boot, "example.com", "mx", "mx2", "ten"} << "" << 1
                                  << QByteArray("Attention!: You have entered an invalid priority in the value field "
                                                "(MX): it must be a whole number from 0 to 65535. Re-Enter\n");
    QTest::newRow("refresh abc") << QStringList{"record", "change", boot, "example.com", "soa", "refresh", "abc"} << ""
                                 << 1
                                 << QByteArray("Attention!: Refresh must be a whole number of seconds (such as 3600) "
                                               "or a time such as 1h, 2d or 1w2d. Re-Enter\n");
    QTest::newRow("no such record") << QStringList{"record", "delete", boot, "example.com", "alias", "2"} << "" << 1
                                    << QByteArray("Error: The zone holds no record 2 of that kind.\n");
    QTest::newRow("no such zone") << QStringList{"record", "delete", boot, "example.net", "alias", "1"} << "" << 1
                                  << QByteArray("Attention!: System error while in zone processing. Please restore "
                                                "from backup.\n");
    QTest::newRow("question unanswered") << QStringList{"record", "add", boot, "example.com", "host", "web", "10.0.0.5"}
                                         << "" << 3 << QByteArray();
    QTest::newRow("unknown kind") << QStringList{"record", "add", boot, "example.com", "txt", "a", "b"} << "" << 2
                                  << QByteArray();
    QTest::newRow("soa added") << QStringList{"record", "add", boot, "example.com", "soa", "refresh", "1"} << "" << 2
                               << QByteArray();
    QTest::newRow("fields missing") << QStringList{"record", "add", boot, "example.com", "mx", "mx2"} << "" << 2
                                    << QByteArray();
    QTest::newRow("other: type not offered")
        << QStringList{"record", "add", boot, "example.com", "other", "x", "-", "SOA", "a b 1 2 3 4 5"} << "" << 1
        << QByteArray("Re-Enter.: Please choose the record's type from the list.\n");
    QTest::newRow("other: data the type cannot take")
        << QStringList{"record", "add", boot, "example.com", "other", "x", "-", "AAAA", "10.0.0.1"} << "" << 1
        << QByteArray("Re-Enter.: The record cannot be read: invalid IPv6 address.\n");
    QTest::newRow("other: time to live")
        << QStringList{"record", "add", boot, "example.com", "other", "x", "3y", "AAAA", "::1"} << "" << 1
        << QByteArray("Re-Enter.: The time to live must be a number of seconds up to 2147483647, or a time such as 1h "
                      "or 2d; leave it empty for the zone's default.\n");
    QTest::newRow("other: outside the zone")
        << QStringList{"record", "add", boot, "example.com", "other", "x.example.net.", "-", "AAAA", "::1"} << "" << 1
        << QByteArray("Re-Enter.: x.example.net. lies outside the zone example.com.\n");
    QTest::newRow("other: beside an alias")
        << QStringList{"record", "add", boot, "example.com", "other", "www", "-", "AAAA", "::1"} << "" << 1
        << QByteArray("Re-Enter.: www.example.com. has an alias (CNAME), which cannot stand beside other records of "
                      "its name.\n");
    QTest::newRow("other: an alias beside a host")
        << QStringList{"record", "add", boot, "example.com", "other", "mail", "-", "CNAME", "ns1"} << "" << 1
        << QByteArray("Re-Enter.: mail.example.com. has other records, which an alias (CNAME) cannot stand beside.\n");
    QTest::newRow("other: no such record") << QStringList{"record", "delete", boot, "example.com", "other", "1"} << ""
                                           << 1 << QByteArray("Error: The zone holds no other record 1.\n");
    QTest::newRow("other: no data") << QStringList{"record", "add", boot, "example.com", "other", "x", "-", "AAAA"}
                                    << "" << 2 << QByteArray();
}

void TestRecordCli::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, answers);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    arguments.replaceInStrings(QStringLiteral("BOOT"), bootFile());
    const QByteArray before = readBytes(zoneFile());
    const CliRun result = run(arguments, QStringLiteral("2026120701"), answers);
    QCOMPARE(result.status, status);
    if (status != 2) {
        QCOMPARE(result.err.right(err.size()), err);
        QCOMPARE(result.out, QByteArray());
    }
    QCOMPARE(readBytes(zoneFile()), before);
}

void TestRecordCli::missingZoneFileLeavesTheBootFile_data()
{
    QTest::addColumn<QString>("answers");
    QTest::addColumn<int>("status");
    QTest::newRow("no") << "no" << 1;
    QTest::newRow("an answer taken as no") << "cancel" << 1;
    QTest::newRow("no answer left") << "" << 3;
}

void TestRecordCli::missingZoneFileLeavesTheBootFile()
{
    // A zone whose file has gone: the reading asks whether to look elsewhere. Whatever a script answers, the
    // command that fails leaves the boot file as it was; only a person at the window drops the entry.
    QFETCH(QString, answers);
    QFETCH(int, status);
    QVERIFY(writeBytes(bootFile(), readBytes(bootFile()) + "primary     gone.com     gone.com.dns \r\n"));
    QVERIFY(run({QStringLiteral("boot"), QStringLiteral("read"), bootFile()}, QStringLiteral("2026120701"),
                QStringLiteral("no"))
                .status == 0);
    const QByteArray before = readBytes(bootFile());
    QVERIFY(before.contains("primary     gone.com     gone.com.dns"));
    const CliRun result = run({QStringLiteral("record"), QStringLiteral("add"), bootFile(), QStringLiteral("gone.com"),
                               QStringLiteral("host"), QStringLiteral("web"), QStringLiteral("10.0.0.5")},
                              QStringLiteral("2026120701"), answers);
    QCOMPARE(result.status, status);
    QCOMPARE(readBytes(bootFile()), before);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("dns/gone.com.dns"))));
}

QTEST_GUILESS_MAIN(TestRecordCli)
#include "tst_recordcli.moc"
