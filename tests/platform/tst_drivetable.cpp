#include "bootfile/bootlines.h"
#include "platform/drivetable.h"
#include "platform/latin1lines.h"
#include "platform/settingsstore.h"

#include <QTemporaryDir>
#include <QTest>

class TstDriveTable : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void toLocal_data();
    void toLocal();
    void toDrivePath_data();
    void toDrivePath();
    void loadsTheSettingsSection();
    void fieldHelpers();
};

namespace {

DriveTable table()
{
    DriveTable drives;
    drives.setFolder(QLatin1Char('g'), QStringLiteral("/mnt/server/"));
    drives.setFolder(QLatin1Char('H'), QStringLiteral("/mnt/server/h"));
    return drives;
}

} // namespace

void TstDriveTable::toLocal_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("local"); // empty: none
    QTest::newRow("drive C is the root") << QStringLiteral("C:\\dns\\data") << QString() << QStringLiteral("/dns/data");
    QTest::newRow("lower-case letter") << QStringLiteral("g:\\dns") << QString() << QStringLiteral("/mnt/server/dns");
    QTest::newRow("drive root") << QStringLiteral("G:\\") << QString() << QStringLiteral("/mnt/server");
    QTest::newRow("forward slashes") << QStringLiteral("H:/a/b") << QString() << QStringLiteral("/mnt/server/h/a/b");
    QTest::newRow("unknown letter") << QStringLiteral("Q:\\dns") << QString() << QString();
    QTest::newRow("plain path") << QStringLiteral("/var/named/") << QString() << QStringLiteral("/var/named");
    QTest::newRow("relative path") << QStringLiteral("data") << QStringLiteral("/srv/win/")
                                   << QStringLiteral("/srv/win/data");
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("colon inside a name") << QStringLiteral("ab:c") << QStringLiteral("/b") << QStringLiteral("/b/ab:c");
}

void TstDriveTable::toLocal()
{
    QFETCH(QString, path);
    QFETCH(QString, base);
    QFETCH(QString, local);
    QCOMPARE(table().toLocal(path, base).value_or(QString()), local);
}

void TstDriveTable::toDrivePath_data()
{
    QTest::addColumn<QString>("local");
    QTest::addColumn<QChar>("preferred");
    QTest::addColumn<bool>("withRoot");
    QTest::addColumn<QString>("drivePath"); // empty: none
    QTest::newRow("deepest folder") << QStringLiteral("/mnt/server/h/x") << QChar() << true << QStringLiteral("H:\\x");
    QTest::newRow("preferred letter") << QStringLiteral("/mnt/server/h/x") << QChar(QLatin1Char('G')) << true
                                      << QStringLiteral("G:\\h\\x");
    QTest::newRow("the folder itself") << QStringLiteral("/mnt/server") << QChar() << true << QStringLiteral("G:\\");
    QTest::newRow("similar prefix is not inside")
        << QStringLiteral("/mnt/serverx/a") << QChar() << true << QStringLiteral("C:\\mnt\\serverx\\a");
    QTest::newRow("root drive left out") << QStringLiteral("/srv/dns") << QChar() << false << QString();
    QTest::newRow("relative") << QStringLiteral("dns") << QChar() << true << QString();
}

void TstDriveTable::toDrivePath()
{
    QFETCH(QString, local);
    QFETCH(QChar, preferred);
    QFETCH(bool, withRoot);
    QFETCH(QString, drivePath);
    QCOMPARE(table().toDrivePath(local, preferred, withRoot).value_or(QString()), drivePath);
}

void TstDriveTable::loadsTheSettingsSection()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("s.ini")));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("c"), QStringLiteral("/srv/c"));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), QStringLiteral("  /mnt/g "));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("GG"), QStringLiteral("/ignored"));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("H"), QString());
    QVERIFY(store.sync());
    const DriveTable drives = DriveTable::load(SettingsStore(dir.filePath(QStringLiteral("s.ini"))));
    QCOMPARE(drives.folder(QLatin1Char('C')).value_or(QString()), QStringLiteral("/srv/c"));
    QCOMPARE(drives.folder(QLatin1Char('g')).value_or(QString()), QStringLiteral("/mnt/g"));
    QVERIFY(!drives.folder(QLatin1Char('H')));
    QCOMPARE(drives.toLocal(QStringLiteral("C:\\dns")).value_or(QString()), QStringLiteral("/srv/c/dns"));
}

void TstDriveTable::fieldHelpers()
{
    QCOMPARE(fieldsOf(QStringLiteral("  a\t b  c ")),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(textFromField(QStringLiteral("primary  a.com  my file.dns "), 2), QStringLiteral("my file.dns "));
    QCOMPARE(textFromField(QStringLiteral("primary a.com"), 2), QString());
    QCOMPARE(textAfterFirstField(QStringLiteral(" directory \t C:\\\\x ")), QStringLiteral("C:\\\\x "));
    QCOMPARE(singleBackslashes(QStringLiteral("C:\\\\a\\\\b")), QStringLiteral("C:\\a\\b"));
    QCOMPARE(doubledBackslashes(QStringLiteral("C:\\a\\b")), QStringLiteral("C:\\\\a\\\\b"));
    QCOMPARE(displayNameOf(QStringLiteral("ns1@ns1.example.com.")), QStringLiteral("ns1"));
    QCOMPARE(displayNameOf(QStringLiteral("plain")), QStringLiteral("plain"));
    QCOMPARE(crlfLines({QStringLiteral("a\xe9"), QString()}), QByteArray("a\xe9\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TstDriveTable)
#include "tst_drivetable.moc"
