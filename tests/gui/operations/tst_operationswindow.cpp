#include "fakendc.h"
#include "ftppeer.h"
#include "gui/common/progresswindow.h"
#include "gui/history/changepreviewdialog.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/operations/addoptiondialog.h"
#include "gui/operations/datafileviewer.h"
#include "gui/operations/ftpprogresswindow.h"
#include "gui/operations/serveroptionsactions.h"
#include "gui/operations/serveroptionspage.h"
#include "gui/servers/serverinfopage.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "support/whenopen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(OptionEntryKind)

namespace {

const QByteArray kZone = "@ IN SOA ns1.example.com. admin.example.com. ( 1 2 3 4 5 )\r\n";

} // namespace

class TstOperationsWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void serverButtonsAndMenuRunTheControlProgram();
    void commandsAreDisabledWhileTheControlProgramRuns();
    void viewDatabaseShowsTheDump();
    void viewStatisticsWithoutFileReportsTheError();
    void addDialogTakesCheckedEntries_data();
    void addDialogTakesCheckedEntries();
    void addDialogCancelAddsNothing();
    void deleteNeedsASelection();
    void pageFillsFromLinesAndUpdateWritesThem();
    void rejectedUpdateWritesNothing();
    void getCacheFromTheRegistryServer();
    void getCacheFromAnUnreachableServer();
    void backupAndRestoreFromTheMenu();
    void restoreAnsweredNoReplacesNothing();
    void getCacheCancelledLeavesTheCacheAlone();
    void unreachableServerWithoutEarlierDownloadIsOneBox();

private:
    ServerOptionsPage* addl() const { return m_window->serverOptions(); }
    ServerInfoPage* info() const { return m_window->serverInfo(); }
    QAction* action(const QString& name) const { return m_window->findChild<QAction*>(name); }
    QString dataDir() const { return m_dir->filePath(QStringLiteral("dns")); }
    QString bootFile() const { return m_windir + QStringLiteral("/named.boot"); }
    // The option lines of the boot file: what follows ";[PARAMETERS]" up to the closing ";".
    QByteArray parameterSection() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<FakeNdc> m_ndc;
    std::unique_ptr<MainWindow> m_window;
    QString m_windir;
};

void TstOperationsWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_windir = m_dir->filePath(QStringLiteral("winnt"));
    QDir().mkpath(m_windir + QStringLiteral("/system32"));
    QDir().mkpath(dataDir());
    QByteArray boot = "directory     " + dataDir().toLatin1() +
                      " \r\ncache       .     cache.dns \r\n"
                      "primary     example.com     example.com.dns \r\n;OS: Windows NT 4.X\r\n";
    boot += readBytes(testDataPath(QStringLiteral("operations/bootoptions-all.lines")));
    QVERIFY(writeBytes(bootFile(), boot));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), kZone));
    m_ndc = std::make_unique<FakeNdc>(m_windir);
    m_platform = std::make_unique<FakePlatform>(m_dir->filePath(QStringLiteral("program")));
    m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("q.conf")));
    m_state = std::make_unique<AppState>();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_window = std::make_unique<MainWindow>(*m_state, *m_store, *m_prompter, *m_platform);

    // The server is loaded as choosing it in the selection box loads it.
    m_state->catalog.add({QStringLiteral("NS1@ns1.example.com"), bootFile()});
    m_state->emailaddr = QStringLiteral("john.doe@example.com");
    m_state->autoBackup = false;
    Q_EMIT info()->serverbox->textActivated(QStringLiteral("NS1"));
    QVERIFY(m_state->serverLoaded);
    QCOMPARE(m_state->defaultos, QStringLiteral("Windows NT 4.X"));
    QCOMPARE(info()->serverbox->currentText(), QStringLiteral("NS1"));
}

QByteArray TstOperationsWindow::parameterSection() const
{
    const QByteArray file = readBytes(bootFile());
    const qsizetype start = file.indexOf(";[PARAMETERS]\r\n");
    if (start < 0 || !file.endsWith("\r\n;\r\n"))
        return "no parameter section";
    const qsizetype from = start + qsizetype(qstrlen(";[PARAMETERS]\r\n"));
    return file.mid(from, file.size() - 3 - from);
}

void TstOperationsWindow::cleanup()
{
    m_window.reset();
    m_ndc.reset();
    QCOMPARE(m_prompter->pending(), 0);
}

void TstOperationsWindow::serverButtonsAndMenuRunTheControlProgram()
{
    info()->startserver->click();
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Started."));
    QVERIFY(m_window->findChild<QTimer*>(QStringLiteral("statustimer"))->isActive());
    action(QStringLiteral("startservermenu"))->trigger();
    QCOMPARE(m_window->statusText(), QStringLiteral("Server already started."));
    action(QStringLiteral("reloaddbmenu"))->trigger();
    QCOMPARE(m_window->statusText(), QStringLiteral("Database Reloaded."));
    // The preview comes first; the reload just now loaded every file there is.
    QString previewHeading;
    whenOpen<ChangePreviewDialog>([&previewHeading](ChangePreviewDialog* preview) {
        previewHeading = preview->heading->text();
        preview->apply->click();
    });
    m_window->domainEdit()->updatechanges->click();
    QCOMPARE(previewHeading, QStringLiteral("No changes since the name server last loaded the files."));
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Restarted."));
    info()->stopserver->click();
    QCOMPARE(m_window->statusText(), QStringLiteral("Server Stopped."));
    info()->restartserver->click();
    QCOMPARE(m_window->statusText(), QStringLiteral("Server currently stopped. Cannot execute command."));
    QCOMPARE(m_state->runState, RunState::Stopped);
    QCOMPARE(m_ndc->runs(),
             (QStringList{"[START][\\\\NS1]", "[RELOAD][\\\\NS1]", "[restart][\\\\NS1]", "[STOP][\\\\NS1]"}));
}

void TstOperationsWindow::commandsAreDisabledWhileTheControlProgramRuns()
{
    m_ndc->setDelay(QStringLiteral("0.6"));
    QList<bool> enabledDuringRun;
    QTimer::singleShot(250, this, [&] {
        enabledDuringRun << info()->startserver->isEnabled() << info()->viewdb->isEnabled()
                         << action(QStringLiteral("restartservermenu"))->isEnabled()
                         << action(QStringLiteral("backupserver"))->isEnabled()
                         << m_window->domainEdit()->updatechanges->isEnabled() << addl()->getcache->isEnabled();
        // A click that comes through anyway starts nothing.
        info()->reloaddb->click();
    });
    info()->startserver->click();
    QCOMPARE(enabledDuringRun, (QList<bool>{false, false, false, false, false, false}));
    QCOMPARE(m_ndc->runs(), QStringList{"[START][\\\\NS1]"});
    QVERIFY(info()->startserver->isEnabled());
    QVERIFY(action(QStringLiteral("restartservermenu"))->isEnabled());
    QVERIFY(m_window->domainEdit()->updatechanges->isEnabled());
}

void TstOperationsWindow::viewDatabaseShowsTheDump()
{
    QString title;
    QString text;
    bool fixedPitch = false;
    whenOpen<DatafileViewer>([&](DatafileViewer* viewer) {
        title = viewer->windowTitle();
        text = viewer->datatext->toPlainText();
        fixedPitch =
            viewer->datatext->font().fixedPitch() && viewer->datatext->font().family() == QLatin1String("Courier New");
        viewer->closeviewer->click();
    });
    info()->viewdb->click();
    QCOMPARE(title, QStringLiteral("Quorvane Datafile Viewer"));
    QCOMPARE(text, QStringLiteral("; Dumped for \\\\NS1\n$ORIGIN example.com.\nwww\t3600\tIN\tA\t10.0.0.1\n"));
    QVERIFY(fixedPitch);
    QCOMPARE(m_window->statusText(), QStringLiteral("Now Displaying Database."));
    QVERIFY(m_window->findChild<QTimer*>(QStringLiteral("statustimer"))->isActive());
    QCOMPARE(m_ndc->runs(), QStringList{"[DUMPDB][\\\\NS1]"});
    QVERIFY(!QApplication::activeModalWidget());
}

void TstOperationsWindow::viewStatisticsWithoutFileReportsTheError()
{
    // The name server writes its statistics somewhere the program does not look.
    qputenv("FAKE_NDC_WINDIR", QFile::encodeName(m_dir->filePath(QStringLiteral("elsewhere"))));
    m_prompter->answer(Prompter::Button::Ok);
    action(QStringLiteral("viewstatsmenu"))->trigger();
    QCOMPARE(m_prompter->prompts().size(), 1);
    QCOMPARE(m_prompter->prompts().first().caption, QStringLiteral("Error"));
    QVERIFY(m_prompter->prompts().first().text.startsWith(QStringLiteral("Cannot open file \"") + m_windir +
                                                          QStringLiteral("/system32/named.sts\".")));
    QCOMPARE(m_ndc->runs(), QStringList{"[STATS][\\\\NS1]"});
    QVERIFY(!m_window->findChild<DatafileViewer*>());
}

void TstOperationsWindow::addDialogTakesCheckedEntries_data()
{
    QTest::addColumn<OptionEntryKind>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("rejection");
    QTest::newRow("xfrnets") << OptionEntryKind::Xfr << "addxfrnet"
                             << "xfrnets"
                             << "Add XFRNET"
                             << "Your xfrnets option is entered incorrectly. An IP address is four numbers from 0 to "
                                "255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("bogusns") << OptionEntryKind::Bogus << "addbogus"
                             << "bogusns"
                             << "Add BOGUS NS"
                             << "Your bogus ns option is entered incorrectly. An IP address is four numbers from 0 to "
                                "255 separated by dots, such as 192.168.1.10.";
    QTest::newRow("forwarders") << OptionEntryKind::Forwarder << "addforwarder"
                                << "forwarders"
                                << "Add FORWARDER"
                                << "Your forwarder option is entered incorrectly. An IP address is four numbers from 0 "
                                   "to 255 separated by dots, such as 192.168.1.10.";
}

void TstOperationsWindow::addDialogTakesCheckedEntries()
{
    QFETCH(OptionEntryKind, kind);
    QFETCH(QString, button);
    QFETCH(QString, list);
    QFETCH(QString, caption);
    QFETCH(QString, rejection);
    m_prompter->expectMessage(QStringLiteral("Re-Enter."), rejection);
    QString seenCaption;
    OptionEntryKind seenKind = OptionEntryKind::Xfr;
    bool openAfterRejection = false;
    QString keptText;
    whenOpen<AddOptionDialog>([&](AddOptionDialog* dialog) {
        seenCaption = dialog->windowTitle();
        seenKind = dialog->kind();
        QVERIFY(dialog->addoption->isDefault());
        QTest::keyClicks(dialog->optiontext, QStringLiteral("1.2.3.0&255.255"));
        dialog->addoption->click();
        openAfterRejection = dialog->isVisible();
        keptText = dialog->optiontext->text();
        dialog->optiontext->setText(QStringLiteral("1.2.3.0&255.255.255.0"));
        dialog->addoption->click();
    });
    auto* entries = m_window->findChild<QListWidget*>(list);
    const int before = entries->count();
    m_window->findChild<QPushButton*>(button)->click();
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenKind, kind);
    QVERIFY(openAfterRejection);
    QCOMPARE(keptText, QStringLiteral("1.2.3.0&255.255"));
    QCOMPARE(entries->count(), before + 1);
    QCOMPARE(entries->item(before)->text(), QStringLiteral("1.2.3.0&255.255.255.0"));
}

void TstOperationsWindow::addDialogCancelAddsNothing()
{
    whenOpen<AddOptionDialog>([](AddOptionDialog* dialog) {
        dialog->optiontext->setText(QStringLiteral("10.0.0.9"));
        dialog->canceloption->click();
    });
    addl()->addforwarder->click();
    QCOMPARE(addl()->forwarders->count(), 2);
    QVERIFY(addl()->forwarders->findItems(QStringLiteral("10.0.0.9"), Qt::MatchExactly).isEmpty());
}

void TstOperationsWindow::deleteNeedsASelection()
{
    m_window->serverOptionsActions()->fillOptions({QStringLiteral("bogusns      10.0.0.1 10.0.0.2     ")});
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("You must first select an entry."));
    addl()->delbogus->click();
    QCOMPARE(addl()->bogusns->count(), 2);
    addl()->bogusns->item(0)->setSelected(true);
    addl()->delbogus->click();
    QCOMPARE(addl()->bogusns->count(), 1);
    QCOMPARE(addl()->bogusns->item(0)->text(), QStringLiteral("10.0.0.2"));
}

void TstOperationsWindow::pageFillsFromLinesAndUpdateWritesThem()
{
    const QByteArray golden = readBytes(testDataPath(QStringLiteral("operations/bootoptions-all.lines")));
    // Loading filled the page from the boot file's option lines.
    QVERIFY(addl()->forwardonly->isChecked());
    QVERIFY(addl()->norecursion->isChecked());
    QVERIFY(addl()->querylog->isChecked());
    QVERIFY(addl()->limittransfers->isChecked());
    QCOMPARE(addl()->limittransfersvalue->text(), QStringLiteral("5"));
    QVERIFY(addl()->limitpername->isChecked());
    QCOMPARE(addl()->limitpernamevalue->text(), QStringLiteral("2"));
    QCOMPARE(addl()->xfrnets->count(), 2);
    QCOMPARE(addl()->forwarders->item(1)->text(), QStringLiteral("10.0.0.2"));
    QCOMPARE(addl()->bogusns->item(0)->text(), QStringLiteral("192.168.1.1"));
    QCOMPARE(parameterSection(), golden);

    addl()->querylog->setChecked(false);
    addl()->forwarders->clear();
    addl()->updateoptions->click();
    QCOMPARE(m_state->boot.parameterLines.size(), 6);
    QByteArray expected = golden;
    expected.remove(0, expected.indexOf("options forward-only"));
    expected.replace("options query-log\r\n", "");
    QCOMPARE(parameterSection(), expected);

    // Everything cleared: the parameter section holds no line.
    for (QCheckBox* box : {addl()->forwardonly, addl()->norecursion, addl()->limittransfers, addl()->limitpername})
        box->setChecked(false);
    addl()->xfrnets->clear();
    addl()->bogusns->clear();
    addl()->updateoptions->click();
    QVERIFY(m_state->boot.parameterLines.isEmpty());
    QCOMPARE(parameterSection(), QByteArray());
    QCOMPARE(m_window->statusText(),
             QStringLiteral("Boot options written: 0 option lines in %1.").arg(QDir::toNativeSeparators(bootFile())));
}

void TstOperationsWindow::rejectedUpdateWritesNothing()
{
    const QByteArray before = readBytes(bootFile());
    const QStringList lines = m_state->boot.parameterLines;
    addl()->limitpernamevalue->setText(QStringLiteral("5/2"));
    m_prompter->expectMessage(QStringLiteral("Re-Enter."),
                              QStringLiteral("Your limit xfers per ns option is entered incorrectly."));
    addl()->updateoptions->click();
    QCOMPARE(readBytes(bootFile()), before);
    QCOMPARE(m_state->boot.parameterLines, lines);
}

void TstOperationsWindow::getCacheFromTheRegistryServer()
{
    const QByteArray hints = readBytes(testDataPath(QStringLiteral("operations/named.root")));
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), hints}}, &error), qPrintable(error));
    m_state->ftpHost = QStringLiteral("127.0.0.1");
    m_state->ftpPort = peer.port();
    FtpProgressWindow* ftp = m_window->serverOptionsActions()->ftpWindow();
    QCOMPARE(ftp->windowTitle(), QStringLiteral("FTP Connection:  This may take a while."));
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Current Cache File"));

    bool visibleDuringExchange = false;
    bool buttonDuringExchange = true;
    QTimer::singleShot(0, this, [&] {
        visibleDuringExchange = ftp->isVisible();
        buttonDuringExchange = addl()->getcache->isEnabled();
    });
    QElapsedTimer clock;
    clock.start();
    action(QStringLiteral("getcachemenu"))->trigger();
    QVERIFY(visibleDuringExchange);
    QVERIFY(!buttonDuringExchange);
    QVERIFY(!ftp->isVisible());
    QVERIFY(addl()->getcache->isEnabled());
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Processing InterNIC Download..."));
    QCOMPARE(ftp->lines().value(0), QStringLiteral("Loading Winsock"));
    QVERIFY(ftp->lines().contains(QStringLiteral("CLIENT: PASS john.doe@example.com")));
    QVERIFY(
        ftp->lines().contains(QStringLiteral("TRANSFER: ") + QString::number(hints.size()) + QStringLiteral(" Bytes")));
    QCOMPARE(ftp->lines().last(), QStringLiteral("TRANSFER END."));
    QVERIFY(m_prompter->prompts().isEmpty());
    QTimer* timer = m_window->serverOptionsActions()->cacheTimer();
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 3000);
    const QString installed = dataDir() + QStringLiteral("/cache.dns");
    const QByteArray expected = readBytes(testDataPath(QStringLiteral("operations/cache.dns.expected")));
    QVERIFY(readBytes(installed) != expected);

    QTRY_COMPARE_WITH_TIMEOUT(readBytes(installed), expected, 6000);
    QVERIFY(clock.elapsed() >= 2900);
    QVERIFY(!timer->isActive());
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Latest InterNIC Download: "));
    QCOMPARE(addl()->cachetext->toPlainText(), QString::fromLatin1(hints));
    QCOMPARE(m_state->rootCacheText, QString::fromLatin1(hints));
}

void TstOperationsWindow::getCacheFromAnUnreachableServer()
{
    const QByteArray old = "; kept from before\r\n.  3600000  NS  A.ROOT-SERVERS.NET.\r\n";
    QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("program/cache.tmp")), old));
    m_state->ftpHost = QStringLiteral("127.0.0.1");
    m_state->ftpPort = freeLoopbackPort();
    m_prompter->expectMessage(
        QStringLiteral("Attention!"),
        QStringLiteral("Error loading Winsock or connecting to InterNIC. Please check your configuration."));
    addl()->getcache->click();
    QVERIFY(!m_window->serverOptionsActions()->ftpWindow()->isVisible());
    QCOMPARE(m_window->serverOptionsActions()->ftpWindow()->lines().filter(QStringLiteral("ERR Event: 7")).size(), 1);
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Processing InterNIC Download..."));
    const QString installed = dataDir() + QStringLiteral("/cache.dns");
    QVERIFY(readBytes(installed) != old);
    QTRY_COMPARE_WITH_TIMEOUT(readBytes(installed), old, 6000);
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Latest InterNIC Download: "));
}

void TstOperationsWindow::backupAndRestoreFromTheMenu()
{
    m_state->autoBackup = false;
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Backup completed successfully."));
    action(QStringLiteral("backupserver"))->trigger();
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/dnsbackup/named.boot")), readBytes(bootFile()));
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/dnsbackup/example.com.dns")), kZone);
    // The data directory's two files and the boot file.
    QCOMPARE(m_window->statusText(), QStringLiteral("Backup made: 3 files copied to %1.")
                                         .arg(QDir::toNativeSeparators(dataDir() + QStringLiteral("/dnsbackup"))));
    QVERIFY(writeBytes(dataDir() + QStringLiteral("/example.com.dns"), "damaged\r\n"));

    // The restore names the backup it takes the files from before it replaces them.
    const QDateTime made = QFileInfo(dataDir() + QStringLiteral("/dnsbackup/named.boot")).lastModified();
    m_prompter->expectMessage(
        QStringLiteral("Question!"),
        QStringLiteral("Restore the backup of NS1 made on %1? The zone files, the cache file and the boot file of the "
                       "server will be replaced by the copies in %2.")
            .arg(made.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                 QDir::toNativeSeparators(dataDir() + QStringLiteral("/dnsbackup"))),
        Prompter::Button::Yes);
    m_prompter->expectMessage(QStringLiteral("Attention!"), QStringLiteral("Restore completed successfully."));
    action(QStringLiteral("restoreserver"))->trigger();
    QCOMPARE(m_prompter->prompts().at(1).buttons, Prompter::Button::Yes | Prompter::Button::No);
    QCOMPARE(readBytes(dataDir() + QStringLiteral("/example.com.dns")), kZone);
    QVERIFY(m_window->statusText().startsWith(QStringLiteral("Backup restored: 3 files as backed up in")));
    QVERIFY(!m_window->progressWindow()->isVisible());
}

void TstOperationsWindow::restoreAnsweredNoReplacesNothing()
{
    m_state->autoBackup = true;
    action(QStringLiteral("backupserver"))->trigger();
    QVERIFY(m_prompter->prompts().isEmpty());
    // A zone file changed since the backup (the boot file is not touched: a boot file changed behind the
    // program's back makes every changing operation refuse until the server is selected again).
    const QString zoneFile = dataDir() + QStringLiteral("/example.com.dns");
    const QByteArray zoneNow = readBytes(zoneFile) + ";changed since\r\n";
    QVERIFY(writeBytes(zoneFile, zoneNow));
    m_prompter->answer(Prompter::Button::No);
    action(QStringLiteral("restoreserver"))->trigger();
    QCOMPARE(m_prompter->prompts().size(), 1);
    QCOMPARE(m_prompter->prompts().first().caption, QStringLiteral("Question!"));
    QCOMPARE(readBytes(zoneFile), zoneNow);

    // Without a backup there is nothing to name: the restore says so, as before.
    QVERIFY(QDir(dataDir() + QStringLiteral("/dnsbackup")).removeRecursively());
    m_prompter->expectMessage(QStringLiteral("Error."),
                              QStringLiteral("You must first execute a backup before attempting to restore."));
    action(QStringLiteral("restoreserver"))->trigger();
    QCOMPARE(m_prompter->prompts().size(), 2);
}

void TstOperationsWindow::getCacheCancelledLeavesTheCacheAlone()
{
    // A server that takes the connection and never answers, as one behind a stalled link does.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QByteArray old = "; kept from before\r\n";
    QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("program/cache.tmp")), old));
    m_state->ftpHost = QStringLiteral("127.0.0.1");
    m_state->ftpPort = silent.serverPort();
    FtpProgressWindow* ftp = m_window->serverOptionsActions()->ftpWindow();
    QTimer::singleShot(300, ftp, [ftp] { QTest::mouseClick(ftp->cancelit, Qt::LeftButton); });
    QElapsedTimer clock;
    clock.start();
    addl()->getcache->click();
    QVERIFY(clock.elapsed() < 10000);
    QVERIFY(m_prompter->prompts().isEmpty());
    QVERIFY(!ftp->isVisible());
    QCOMPARE(m_window->statusText(), QStringLiteral("Root hints download cancelled; the cache file is as it was."));
    QVERIFY(!m_window->serverOptionsActions()->cacheTimer()->isActive());
    QCOMPARE(addl()->cachelabel->text(), QStringLiteral("Current Cache File"));
    QCOMPARE(readBytes(m_dir->filePath(QStringLiteral("program/cache.tmp"))), old);
    QVERIFY(addl()->getcache->isEnabled());
}

void TstOperationsWindow::unreachableServerWithoutEarlierDownloadIsOneBox()
{
    // One failure, one box: with no earlier download there is nothing to install, and nothing more to report.
    m_state->ftpHost = QStringLiteral("127.0.0.1");
    m_state->ftpPort = freeLoopbackPort();
    m_prompter->expectMessage(
        QStringLiteral("Attention!"),
        QStringLiteral("Error loading Winsock or connecting to InterNIC. Please check your configuration."));
    addl()->getcache->click();
    QVERIFY(!m_window->serverOptionsActions()->cacheTimer()->isActive());
    QTest::qWait(200);
    QCOMPARE(m_prompter->prompts().size(), 1);
}

QTEST_MAIN(TstOperationsWindow)
#include "tst_operationswindow.moc"
