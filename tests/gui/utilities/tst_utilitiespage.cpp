#include "gui/utilities/linequerytab.h"
#include "gui/utilities/nslookuptab.h"
#include "gui/utilities/pingtab.h"
#include "gui/utilities/tracetab.h"
#include "gui/utilities/utilitiespage.h"
#include "loopbackpeers.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "utilities/linequerytool.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class TstUtilitiesPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void fiveTabsInOrder();
    void controlsStartAsSpecified();
    void fingerTabShowsAnswer();
    void whoisTabAsksServerOfSettings();
    void nsLookupTabRefusesEmptyFields();
    void pingTabListsReplies();
    void traceTabAppendsTraces();

private:
    template <typename T> T* control(const char* name) const
    {
        T* found = m_page->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    QTemporaryDir m_dir;
    AppState m_state;
    ScriptedPrompter* m_prompter = nullptr;
    FakePlatform* m_platform = nullptr;
    UtilitiesPage* m_page = nullptr;
};

void TstUtilitiesPage::init()
{
    m_prompter = new ScriptedPrompter;
    m_platform = new FakePlatform(m_dir.filePath(QStringLiteral("data")));
    m_page = new UtilitiesPage(m_state, *m_prompter, *m_platform);
    m_page->show();
}

void TstUtilitiesPage::cleanup()
{
    delete m_page;
    delete m_platform;
    QCOMPARE(m_prompter->pending(), 0);
    delete m_prompter;
}

void TstUtilitiesPage::fiveTabsInOrder()
{
    auto* tabs = control<QTabWidget>("utilitytabs");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Finger", "Trace Route", "NS LookUp", "Ping", "Who IS?"}));
}

void TstUtilitiesPage::controlsStartAsSpecified()
{
    QCOMPARE(control<QLabel>("fingerlabel")->text(), QStringLiteral("Username@Host:"));
    QCOMPARE(control<QLabel>("whoislabel")->text(), QStringLiteral("Name to Lookup"));
    QVERIFY(control<QPlainTextEdit>("whoisresponse")->isReadOnly());
    QCOMPARE(control<QLabel>("pingstatus")->text(), QStringLiteral("Enter an address to ping."));
    QCOMPARE(control<QLineEdit>("timestoping")->text(), QStringLiteral("10"));
    QVERIFY(control<QPlainTextEdit>("pingresult")->isReadOnly());
    QCOMPARE(control<QLabel>("tracestatus")->text(), QStringLiteral("Enter an address to trace."));
    QCOMPARE(control<QLabel>("timeoutlabel")->text(), QStringLiteral("Timeout in Seconds"));
    QCOMPARE(control<QLineEdit>("timeout")->text(), QStringLiteral("15"));
    auto* type = control<QComboBox>("lookuptype");
    QVERIFY(type->isEditable());
    QCOMPARE(type->currentText(), QStringLiteral("ANY - All records"));
    QCOMPARE(type->count(), 10);
    QCOMPARE(type->itemText(4), QStringLiteral("MX - Mail Exchange"));
    QCOMPARE(control<QPlainTextEdit>("lookupresult")->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(control<QPushButton>("lookupbutton")->text(), QStringLiteral("Lookup"));
}

void TstUtilitiesPage::fingerTabShowsAnswer()
{
    LineServer server("Line one\r\nLine two\r\n");
    m_page->finger()->tool().setPort(server.port());
    control<QLineEdit>("fingerinput")->setText(QStringLiteral("root@127.0.0.1"));
    QTest::mouseClick(control<QPushButton>("fingerfind"), Qt::LeftButton);
    QTRY_COMPARE(control<QPlainTextEdit>("fingerresponse")->toPlainText(),
                 QStringLiteral("Connected. Waiting for data...\n\nLine one\nLine two"));
    QCOMPARE(server.received(), QByteArray("root\r\n"));
    QCOMPARE(control<QLabel>("fingerlabel")->text(), QStringLiteral("Username@Host:"));
    QVERIFY(!QApplication::overrideCursor());
}

void TstUtilitiesPage::whoisTabAsksServerOfSettings()
{
    LineServer server("Domain Name: EXAMPLE.TEST\r\n");
    m_state.whoisserver = QStringLiteral("127.0.0.1");
    m_page->whois()->tool().setPort(server.port());
    control<QLineEdit>("whoisinput")->setText(QStringLiteral("example.test"));
    QTest::mouseClick(control<QPushButton>("whoisfind"), Qt::LeftButton);
    QTRY_COMPARE(control<QPlainTextEdit>("whoisresponse")->toPlainText(),
                 QStringLiteral("Looking up host 127.0.0.1...\nConnecting to 127.0.0.1 ...\n"
                                "Domain Name: EXAMPLE.TEST"));
    QCOMPARE(server.received(), QByteArray("example.test\r\n"));
}

void TstUtilitiesPage::nsLookupTabRefusesEmptyFields()
{
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("You must enter a server and a domain to look up."));
    control<QLineEdit>("nameserver")->setText(QStringLiteral("127.0.0.1"));
    QTest::mouseClick(control<QPushButton>("lookupbutton"), Qt::LeftButton);
    QCOMPARE(m_page->nsLookup()->lookup().folder(), m_platform->appDataPath());

    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must first select a record type."));
    control<QLineEdit>("domain")->setText(QStringLiteral("example.test"));
    control<QComboBox>("lookuptype")->setCurrentText(QStringLiteral("Select a Record Type"));
    QTest::mouseClick(control<QPushButton>("lookupbutton"), Qt::LeftButton);
    QVERIFY(QFile::exists(QDir(m_platform->appDataPath()).filePath(QStringLiteral("nsbatch.bat"))));
}

void TstUtilitiesPage::pingTabListsReplies()
{
    if (auto error = IcmpPing().setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(*error));
    control<QLineEdit>("pinghost")->setText(QStringLiteral("127.0.0.1"));
    control<QLineEdit>("timestoping")->setText(QStringLiteral("2"));
    QTest::mouseClick(control<QPushButton>("pingbutton"), Qt::LeftButton);
    QCOMPARE(control<QLabel>("pingstatus")->text(), QStringLiteral("Processing..."));
    QTRY_COMPARE_WITH_TIMEOUT(control<QLabel>("pingstatus")->text(), QStringLiteral("Enter an address to ping."),
                              10000);
    const QStringList lines = control<QPlainTextEdit>("pingresult")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(QLatin1String("(1)Ping 127.0.0.1  ---> ")));
    QVERIFY(lines.at(1).startsWith(QLatin1String("(2)Ping 127.0.0.1  ---> ")));

    // "Stop" ends a run at once.
    control<QLineEdit>("timestoping")->setText(QStringLiteral("10"));
    QTest::mouseClick(control<QPushButton>("pingbutton"), Qt::LeftButton);
    QCOMPARE(control<QPlainTextEdit>("pingresult")->toPlainText(), QString());
    QTest::mouseClick(control<QPushButton>("pingstop"), Qt::LeftButton);
    QVERIFY(!m_page->ping()->tool().isRunning());
    QCOMPARE(control<QLabel>("pingstatus")->text(), QStringLiteral("Enter an address to ping."));
}

void TstUtilitiesPage::traceTabAppendsTraces()
{
    if (auto error = IcmpPing().setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(*error));
    control<QLineEdit>("tracehost")->setText(QStringLiteral("127.0.0.1"));
    QTest::mouseClick(control<QPushButton>("tracebutton"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("tracebutton"), Qt::LeftButton);
    const QStringList lines = control<QPlainTextEdit>("traceresult")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    for (const QString& line : lines)
        QVERIFY2(line.endsWith(QLatin1String(" milliseconds localhost (127.0.0.1)")), qPrintable(line));
    QCOMPARE(control<QLabel>("tracestatus")->text(), QStringLiteral("Enter an address to trace."));
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TstUtilitiesPage)
#include "tst_utilitiespage.moc"
