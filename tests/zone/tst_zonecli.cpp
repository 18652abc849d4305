#include "support/testfiles.h"
#include "support/zonecases.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The serial stands alone on the line after the start of authority's.
qsizetype serialLine(const QByteArray& file)
{
    const QList<QByteArray> lines = file.split('\n');
    for (qsizetype at = 0; at < lines.size(); ++at) {
        if (lines.at(at).contains(" SOA "))
            return at + 1;
    }
    return -1;
}

} // namespace

// Zone files read and saved through quorvane-cli, as scripts do: our own files and files written by hand.
class TstZoneCli : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savesGoldenFiles_data();
    void savesGoldenFiles();
    void secondSaveChangesOnlyTheSerial_data();
    void secondSaveChangesOnlyTheSerial();
    void readPrintsDisplays_data();
    void readPrintsDisplays();
    void failuresAndUsage_data();
    void failuresAndUsage();
    void saveLoadsNoTransferOrDnssecLibraries_data();
    void saveLoadsNoTransferOrDnssecLibraries();

private:
    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };
    Run cli(const QStringList& arguments, const QProcessEnvironment& extra = {});
    QString copyIn(const QString& dataName, const QString& asName);

    QTemporaryDir m_home;
    QTemporaryDir m_data;
};

TstZoneCli::Run TstZoneCli::cli(const QStringList& arguments, const QProcessEnvironment& extra)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : extra.keys())
        env.insert(name, extra.value(name));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVANE_CLI), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromLatin1(process.readAllStandardOutput()),
            QString::fromLatin1(process.readAllStandardError())};
}

QString TstZoneCli::copyIn(const QString& dataName, const QString& asName)
{
    const QString target = m_data.filePath(asName);
    QFile::remove(target);
    QFile::copy(testDataPath(QStringLiteral("zone/") + dataName), target);
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// The cases whose reading reports nothing: a command saves them without a word (one that reports refuses to save).
void TstZoneCli::savesGoldenFiles_data()
{
    QTest::addColumn<ZoneCase>("zoneCase");
    const QList<ZoneCase> cases = zoneCases();
    QVERIFY(!cases.isEmpty());
    for (const ZoneCase& zoneCase : cases) {
        if (!zoneCase.has(QStringLiteral("messages")))
            QTest::newRow(qPrintable(zoneCase.name)) << zoneCase;
    }
}

void TstZoneCli::savesGoldenFiles()
{
    QFETCH(ZoneCase, zoneCase);
    const QString& zone = zoneCase.zone;
    const QString fileName = zoneCase.name + QStringLiteral(".dns");
    const QString path = copyIn(zoneCase.file(QStringLiteral("input")), fileName);
    const Run run = cli({QStringLiteral("--serial"), QStringLiteral("2026120701"), QStringLiteral("zone"),
                         QStringLiteral("save"), m_data.path(), fileName, zone});
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    const QByteArray expected =
        readBytes(testDataPath(QStringLiteral("zone/") + zoneCase.file(QStringLiteral("expected"))));
    QCOMPARE(readBytes(path), expected);
    // The serial printed is the one written, and the checker takes the file.
    const QString serial = QString::fromLatin1(expected.split('\n').value(serialLine(expected)).trimmed());
    QCOMPARE(run.out, QStringLiteral("saved %1 serial %2\n").arg(fileName, serial));
    const ZoneCheck check = checkZoneFile(zone, path);
    QVERIFY2(check.exitCode == 0 && check.complaints.isEmpty(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

void TstZoneCli::secondSaveChangesOnlyTheSerial_data()
{
    savesGoldenFiles_data();
}

void TstZoneCli::secondSaveChangesOnlyTheSerial()
{
    QFETCH(ZoneCase, zoneCase);
    const QString& zone = zoneCase.zone;
    const QString fileName = zoneCase.name + QStringLiteral(".again.dns");
    const QString path = copyIn(zoneCase.file(QStringLiteral("expected")), fileName);
    const QByteArray before = readBytes(path);
    QList<QByteArray> expected = before.split('\n');
    // The file's own serial is above the running one: the next save writes the file's serial plus one.
    const qsizetype serial = serialLine(before);
    const qulonglong own = expected.at(serial).trimmed().toULongLong();
    expected[serial] = QByteArray::number(own + 1) + '\r';
    const Run run = cli({QStringLiteral("--serial"), QStringLiteral("2026120701"), QStringLiteral("zone"),
                         QStringLiteral("save"), m_data.path(), fileName, zone});
    QCOMPARE(run.status, 0);
    QCOMPARE(readBytes(path), expected.join('\n'));
}

void TstZoneCli::readPrintsDisplays_data()
{
    QTest::addColumn<ZoneCase>("zoneCase");
    for (const ZoneCase& zoneCase : zoneCases()) {
        if (zoneCase.has(QStringLiteral("read")))
            QTest::newRow(qPrintable(zoneCase.name)) << zoneCase;
    }
}

void TstZoneCli::readPrintsDisplays()
{
    QFETCH(ZoneCase, zoneCase);
    const QString& zone = zoneCase.zone;
    const QString fileName = zoneCase.name + QStringLiteral(".read.dns");
    const QString path = copyIn(zoneCase.file(QStringLiteral("input")), fileName);
    const QByteArray before = readBytes(path);
    const Run run = cli({QStringLiteral("zone"), QStringLiteral("read"), m_data.path(), fileName, zone});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.toLatin1(),
             readBytes(testDataPath(QStringLiteral("zone/") + zoneCase.file(QStringLiteral("read")))));
    QCOMPARE(readBytes(path), before);
}

void TstZoneCli::failuresAndUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");
    QTest::newRow("read: missing file") << QStringList{"zone", "read", "DATA", "none.dns", "example.com"} << 1
                                        << "Information: Primary file loading error. Name:none.dns\n";
    QTest::newRow("save: missing file") << QStringList{"zone", "save", "DATA", "none.dns", "example.com"} << 1
                                        << "Information: Primary file loading error. Name:none.dns\n";
    QTest::newRow("save: malformed start of authority stops before saving")
        << QStringList{"zone", "save", "DATA", "07.dns", "example.com"} << 1
        << "Information: Start of authority in 07.dns is entered incorrectly. Please re-enter.\n";
    QTest::newRow("save: lines no scanner reads are not turned into comments")
        << QStringList{"zone", "save", "DATA", "03.dns", "example.net"} << 1
        << "Attention!: 03.dns holds lines that could not be read as records. They are kept as comment lines, which "
           "the name server passes over: line 13 (invalid number), line 26 (invalid record data).\n"
           "Error: 03.dns was not saved, as it holds lines that could not be kept as records.\n";
    QTest::newRow("save: bad running serial")
        << QStringList{"--serial", "x1", "zone", "save", "DATA", "01.dns", "example.com"} << 1
        << "Error: The running serial \"x1\" is not a whole number, so the zone "
           "was not saved.\n";
    QTest::newRow("save: too few arguments") << QStringList{"zone", "save", "DATA", "01.dns"} << 2 << QString();
    QTest::newRow("read: too many arguments")
        << QStringList{"zone", "read", "DATA", "01.dns", "example.com", "x"} << 2 << QString();
}

void TstZoneCli::failuresAndUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, err);
    copyIn(QStringLiteral("07_soa_malformed.in"), QStringLiteral("07.dns"));
    copyIn(QStringLiteral("cases/own-layout@example.com/input"), QStringLiteral("01.dns"));
    copyIn(QStringLiteral("cases/rejected-lines@example.net/input"), QStringLiteral("03.dns"));
    const QByteArray before03 = readBytes(m_data.filePath(QStringLiteral("03.dns")));
    const QByteArray before07 = readBytes(m_data.filePath(QStringLiteral("07.dns")));
    const QByteArray before01 = readBytes(m_data.filePath(QStringLiteral("01.dns")));
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^DATA$")), m_data.path());
    const Run run = cli(arguments);
    QCOMPARE(run.status, status);
    QCOMPARE(run.err, err);
    QCOMPARE(readBytes(m_data.filePath(QStringLiteral("07.dns"))), before07);
    QCOMPARE(readBytes(m_data.filePath(QStringLiteral("01.dns"))), before01);
    QCOMPARE(readBytes(m_data.filePath(QStringLiteral("03.dns"))), before03);
    QVERIFY(!QFile::exists(m_data.filePath(QStringLiteral("none.dns"))));
}

QTEST_GUILESS_MAIN(TstZoneCli)
#include "tst_zonecli.moc"

// Saving a zone, of either layout, starts without libcurl and the TLS, LDAP and DNSSEC libraries that it and a
// shared libknot would bring: the dynamic loader, asked to list every library it looks for, names none of them.
void TstZoneCli::saveLoadsNoTransferOrDnssecLibraries_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("zone");
    QTest::newRow("own layout") << QStringLiteral("cases/own-layout@example.com/input")
                                << QStringLiteral("example.com");
    QTest::newRow("written by hand") << QStringLiteral("cases/hand-written-with-tabs@example.org/input")
                                     << QStringLiteral("example.org");
}

void TstZoneCli::saveLoadsNoTransferOrDnssecLibraries()
{
    QFETCH(QString, input);
    QFETCH(QString, zone);
    const QString fileName = zone + QStringLiteral(".libs.dns");
    copyIn(input, fileName);
    QProcessEnvironment debug;
    debug.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("libs"));
    const Run run = cli({QStringLiteral("--serial"), QStringLiteral("2026120701"), QStringLiteral("zone"),
                         QStringLiteral("save"), m_data.path(), fileName, zone},
                        debug);
    QCOMPARE(run.status, 0);
    // The listing is there: the check below could fail.
    QVERIFY(run.err.contains(QLatin1String("find library=libQt6Core")));
    for (const char* library : {"libcurl", "libssl", "libldap", "libssh", "libgnutls", "libknot", "libdnssec"})
        QVERIFY2(!run.err.contains(QLatin1String("find library=") + QLatin1String(library)), library);
}
