#include "registration/registrationagreement.h"
#include "registration/registrationfiles.h"
#include "registration/registrationtemplates.h"
#include "registration/registrationworkspace.h"
#include "sampleregistrations.h"
#include "support/fakeplatform.h"
#include "support/testfiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The three templates line by line against the registry's layouts, whole files against expected files.
class TstRegistrationTemplates : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void wholeTemplates_data();
    void wholeTemplates();
    void labelsLineUp_data();
    void labelsLineUp();
    void agreementHasSeventeenSections();
    void agreementSitsBetweenHeadingAndFields();
    void purposeKeepsItsLines();
    void noSchemeLeavesLabelAlone();
    void processedLineUsesPlatformClock();
    void regeneratingOverwritesOnlyProcessedLine();

private:
    QString processed() const { return m_platform.shortDateLongTime(m_platform.now()); }

    FakePlatform m_platform;
};

void TstRegistrationTemplates::initTestCase()
{
    // The long time format names the time zone; the expected files are written for UTC.
    qputenv("TZ", "UTC");
}

void TstRegistrationTemplates::wholeTemplates_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");
    QTest::newRow("domain empty") << domainTemplate(DomainRegistration(), processed())
                                  << QStringLiteral("registration/domain_empty.txt");
    QTest::newRow("domain full") << domainTemplate(sampleDomain(), processed())
                                 << QStringLiteral("registration/domain_full.txt");
    QTest::newRow("host empty") << hostTemplate(HostRegistration(), processed())
                                << QStringLiteral("registration/host_empty.txt");
    QTest::newRow("host full") << hostTemplate(sampleHost(), processed())
                               << QStringLiteral("registration/host_full.txt");
    QTest::newRow("contact empty") << contactTemplate(ContactRegistration())
                                   << QStringLiteral("registration/contact_empty.txt");
    QTest::newRow("contact full") << contactTemplate(sampleContactRegistration())
                                  << QStringLiteral("registration/contact_full.txt");
}

void TstRegistrationTemplates::wholeTemplates()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("template.txt"));
    QString error;
    QVERIFY2(writeTextLines(path, lines, &error), qPrintable(error));
    const QByteArray actual = readBytes(path);
    const QByteArray wanted = readBytes(testDataPath(expected));
    QVERIFY(!wanted.isEmpty());
    const QList<QByteArray> actualLines = actual.split('\n');
    const QList<QByteArray> wantedLines = wanted.split('\n');
    for (int i = 0; i < std::min(actualLines.size(), wantedLines.size()); ++i)
        QCOMPARE(actualLines.at(i), wantedLines.at(i));
    QCOMPARE(actual, wanted);
}

void TstRegistrationTemplates::labelsLineUp_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("labelledLines");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("widerLines");
    // Empty records, so that every labelled line is its label alone.
    QTest::newRow("domain") << domainTemplate(DomainRegistration(), processed()) << 55 << 33 << 0;
    QTest::newRow("host") << hostTemplate(HostRegistration(), processed()) << 18 << 33 << 3;
    QTest::newRow("contact") << contactTemplate(ContactRegistration()) << 20 << 30 << 0;
}

void TstRegistrationTemplates::labelsLineUp()
{
    QFETCH(QStringList, lines);
    QFETCH(int, labelledLines);
    QFETCH(int, width);
    QFETCH(int, widerLines);
    // A labelled line starts with its number; the label runs to the colon and its blank.
    static const QRegularExpression numbered(QStringLiteral("^\\d[a-l]?\\. "));
    QStringList labels;
    for (const QString& line : lines) {
        if (numbered.match(line).hasMatch())
            labels << line.left(line.indexOf(QLatin1String(": ")) + 2);
    }
    QCOMPARE(labels.size(), labelledLines);
    int wider = 0;
    for (const QString& label : std::as_const(labels)) {
        if (label.size() == width + 1 && label.startsWith(QLatin1Char('0'))) {
            ++wider;
            continue;
        }
        QVERIFY2(label.size() == width, qPrintable(label));
    }
    QCOMPARE(wider, widerLines);
}

void TstRegistrationTemplates::agreementHasSeventeenSections()
{
    const QStringList& lines = registrationAgreementLines();
    const QStringList headings = {
        QStringLiteral("A.Introduction."),
        QStringLiteral("B.Fees and Payments."),
        QStringLiteral("C.Dispute Policy."),
        QStringLiteral("D.Dispute Policy Changes or Modifications."),
        QStringLiteral("E.Disputes."),
        QStringLiteral("F.Agents."),
        QStringLiteral("G.Limitation of Liability."),
        QStringLiteral("H.Indemnity."),
        QStringLiteral("I.Breach."),
        QStringLiteral("J.No Guaranty."),
        QStringLiteral("K.Warranty."),
        QStringLiteral("L.Revocation."),
        QStringLiteral("M.Right of Refusal."),
        QStringLiteral("N.Severability."),
        QStringLiteral("O.Entirety."),
        QStringLiteral("P.Governing Law."),
        QStringLiteral("Q.This is Domain Name Registration Agreement Version"),
    };
    // Paragraphs: runs of text lines, each closed by one blank line; the last by two.
    QList<QStringList> paragraphs;
    QStringList current;
    for (const QString& line : lines) {
        if (line.isEmpty()) {
            if (!current.isEmpty())
                paragraphs << current;
            current.clear();
            continue;
        }
        current << line;
    }
    QVERIFY(current.isEmpty());
    QCOMPARE(paragraphs.size(), 17);
    for (int i = 0; i < headings.size(); ++i)
        QVERIFY2(paragraphs.at(i).first().startsWith(headings.at(i)), qPrintable(paragraphs.at(i).first()));
    QCOMPARE(lines.size(), [&] {
        qsizetype textLines = 0;
        for (const QStringList& paragraph : std::as_const(paragraphs))
            textLines += paragraph.size();
        return int(textLines + 17 + 1);
    }());
    QVERIFY(lines.at(lines.size() - 1).isEmpty() && lines.at(lines.size() - 2).isEmpty());
    QVERIFY(!lines.at(lines.size() - 3).isEmpty());

    const QString sectionQ = paragraphs.last().join(QLatin1Char(' '));
    QVERIFY(sectionQ.startsWith(QLatin1String("Q.This is Domain Name Registration Agreement Version 3.5")));
    QVERIFY(sectionQ.contains(QLatin1String("sections A to P")));
    QVERIFY(sectionQ.contains(QLatin1String("accepts them")));
    for (const QString& line : lines)
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

void TstRegistrationTemplates::agreementSitsBetweenHeadingAndFields()
{
    const QStringList lines = domainTemplate(DomainRegistration(), processed());
    const QStringList& agreement = registrationAgreementLines();
    QCOMPARE(lines.at(4), QStringLiteral("NETWORK SOLUTIONS, INC."));
    QCOMPARE(lines.at(5), QStringLiteral("DOMAIN NAME REGISTRATION AGREEMENT"));
    QCOMPARE(lines.mid(6, agreement.size()), agreement);
    QCOMPARE(lines.at(6 + agreement.size()), QStringLiteral("Authorization"));
    QCOMPARE(lines.last(), QStringLiteral("END OF AGREEMENT"));
}

void TstRegistrationTemplates::purposeKeepsItsLines()
{
    DomainRegistration record;
    record.purpose = QStringLiteral("First line\r\nSecond line\nThird line");
    const QStringList lines = domainTemplate(record, processed());
    const qsizetype at = lines.indexOf(QStringLiteral("1.  Purpose/Description........: First line"));
    QVERIFY(at > 0);
    QCOMPARE(lines.at(at + 1), QStringLiteral("Second line"));
    QCOMPARE(lines.at(at + 2), QStringLiteral("Third line"));
    QCOMPARE(lines.at(at + 3), QString());
    QCOMPARE(lines.at(at + 4), QStringLiteral("2.  Complete Domain Name.......: "));
}

void TstRegistrationTemplates::noSchemeLeavesLabelAlone()
{
    QVERIFY(domainTemplate(DomainRegistration(), processed())
                .contains(QStringLiteral("0b. Auth Scheme................: ")));
    QVERIFY(
        hostTemplate(HostRegistration(), processed()).contains(QStringLiteral("0b. Auth Scheme.................: ")));
    QVERIFY(contactTemplate(ContactRegistration()).contains(QStringLiteral("0b. Auth Scheme.............: ")));
    // The action is always written, New unless chosen otherwise.
    QVERIFY(contactTemplate(ContactRegistration()).contains(QStringLiteral("0a. (N)ew (M)odify (D)elete.: N")));
}

void TstRegistrationTemplates::processedLineUsesPlatformClock()
{
    FakePlatform platform;
    platform.clock = QDateTime(QDate(2027, 1, 2), QTime(23, 4, 5));
    const QString when = platform.shortDateLongTime(platform.now());
    QVERIFY(when.contains(QLatin1String("23:04:05")));
    QCOMPARE(domainTemplate(DomainRegistration(), when).first(), QStringLiteral("Processed ") + when);
    const QStringList host = hostTemplate(HostRegistration(), when);
    QCOMPARE(host.at(0), QString());
    QCOMPARE(host.at(1), QStringLiteral("Processed ") + when);
    for (const QString& line : contactTemplate(ContactRegistration()))
        QVERIFY(!line.startsWith(QLatin1String("Processed")));
}

void TstRegistrationTemplates::regeneratingOverwritesOnlyProcessedLine()
{
    QTemporaryDir dir;
    FakePlatform later;
    later.clock = m_platform.clock.addSecs(3600);
    const DomainRegistration record = sampleDomain();
    QStringList first;
    QStringList second;
    QString error;
    QVERIFY(writeRegistrationFiles(registrationDocument(record, processed()), dir.path(), &first, &error));
    QVERIFY(writeRegistrationFiles(registrationDocument(record, later.shortDateLongTime(later.now())), dir.path(),
                                   &second, &error));
    QCOMPARE(first.size(), second.size());
    QVERIFY(first.first() != second.first());
    QCOMPARE(first.mid(1), second.mid(1));
    QCOMPARE(QDir(dir.filePath(QStringLiteral("domains"))).entryList(QDir::Files),
             QStringList({QStringLiteral("example.com.ini"), QStringLiteral("example.com.txt")}));
}

QTEST_GUILESS_MAIN(TstRegistrationTemplates)
#include "tst_registrationtemplates.moc"
