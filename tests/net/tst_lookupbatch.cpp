#include "net/lookupbatch.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TstLookupBatch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filtersRecordsByType_data();
    void filtersRecordsByType();
    void listingNeedsServerAndDomain();
    void reportsWhatItCannotRun();
    void missingBatchFile();
};

namespace {

const QStringList kTransfer = {
    QStringLiteral("example.test.\t\t3600\tIN\tSOA\tns1.example.test. admin.example.test. 1 2 3 4 5"),
    QStringLiteral("example.test.\t\t3600\tIN\tNS\tns1.example.test."),
    QStringLiteral("example.test.\t\t3600\tIN\tMX\t10 mail.example.test."),
    QStringLiteral("mail.example.test.\t3600\tIN\tA\t127.0.0.25"),
    QStringLiteral("www.example.test.\t3600\tIN\tcname\tmail.example.test."),
    QStringLiteral("example.test.\t\t3600\tIN\tSOA\tns1.example.test. admin.example.test. 1 2 3 4 5"),
};

} // namespace

void TstLookupBatch::filtersRecordsByType_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QList<int>>("kept");
    QTest::newRow("ANY keeps all but the closing SOA") << QStringLiteral("ANY") << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("any in lower case") << QStringLiteral("any") << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("MX") << QStringLiteral("MX") << QList<int>{2};
    QTest::newRow("SOA once") << QStringLiteral("SOA") << QList<int>{0};
    QTest::newRow("type compared without case") << QStringLiteral("CNAME") << QList<int>{4};
    QTest::newRow("none of the type") << QStringLiteral("TXT") << QList<int>{};
}

void TstLookupBatch::filtersRecordsByType()
{
    QFETCH(QString, type);
    QFETCH(QList<int>, kept);
    QStringList expected;
    for (const int index : kept)
        expected << kTransfer.at(index);
    QCOMPARE(LookupBatch::filterRecords(kTransfer, type), expected);
}

void TstLookupBatch::listingNeedsServerAndDomain()
{
    QTemporaryDir dir;
    QString diagnostics;
    QTextStream stream(&diagnostics);
    LookupBatch batch(0, stream);
    QCOMPARE(
        batch.runCommands({QStringLiteral("ls -t MX example.test > output.txt"), QStringLiteral("exit")}, dir.path()),
        1);
    QCOMPARE(diagnostics, QStringLiteral("A listing needs a server and a domain.\n"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("output.txt"))));
}

void TstLookupBatch::reportsWhatItCannotRun()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("nsbatch.bat")),
                       "@echo on\r\ndel everything\r\ntype missing.txt | nslookup\r\n"));
    QString diagnostics;
    QTextStream stream(&diagnostics);
    LookupBatch batch(0, stream);
    QCOMPARE(batch.runBatchFile(dir.filePath(QStringLiteral("nsbatch.bat"))), 1);
    QCOMPARE(diagnostics, QStringLiteral("Not understood: del everything\nNo command file: ") +
                              dir.filePath(QStringLiteral("missing.txt")) + QLatin1Char('\n'));
    // Commands after "exit" are not run.
    diagnostics.clear();
    QCOMPARE(
        batch.runCommands({QStringLiteral("set type=mx"), QStringLiteral("exit"), QStringLiteral("bogus")}, dir.path()),
        1);
    QCOMPARE(diagnostics, QStringLiteral("Not understood: set type=mx\n"));
}

void TstLookupBatch::missingBatchFile()
{
    QString diagnostics;
    QTextStream stream(&diagnostics);
    LookupBatch batch(0, stream);
    QCOMPARE(batch.runBatchFile(QStringLiteral("/nonexistent/nsbatch.bat")), 1);
    QCOMPARE(diagnostics, QStringLiteral("No batch file: /nonexistent/nsbatch.bat\n"));
}

QTEST_GUILESS_MAIN(TstLookupBatch)
#include "tst_lookupbatch.moc"
