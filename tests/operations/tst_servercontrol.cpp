#include "fakendc.h"
#include "operations/servercontrol.h"
#include "platform/settingsstore.h"
#include "server/loadedserver.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QString kStopped = QStringLiteral("Server currently stopped. Cannot execute command.");

NdcTarget targetOf(const QString& identifier, const QString& bootFile, const QString& os)
{
    return NdcTarget{ManagedServer{identifier, bootFile}, os};
}

} // namespace

class TstServerControl : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void commandLines_data();
    void commandLines();
    void refusals_data();
    void refusals();
    void runStateFollowsStartAndStop();
    void viewCommandsDeleteTheirOldFileFirst_data();
    void viewCommandsDeleteTheirOldFileFirst();
    void windows95ServerRefusesDumpAndStatistics();
    void windows95ServerOnAnotherMachineIsRefused_data();
    void windows95ServerOnAnotherMachineIsRefused();
    void outputFiles_data();
    void outputFiles();
    void dumpAndStatisticsAreReadAfterTheRun();
    void missingOutputFileIsReported();
    void controlProgramThatCannotStartIsReported();
    void controlProgramThatFailsIsReportedInItsWords();
    void targetsReachTheBootFileThroughTheDriveTable();
    void commandNames();

private:
    NdcOutcome run(NdcCommand command, const NdcTarget& target, RunState& runState);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeNdc> m_ndc;
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    QString m_windir;
    QString m_bootFile;
    QStringList m_statuses;
};

void TstServerControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_windir = m_dir->filePath(QStringLiteral("winnt"));
    QDir().mkpath(m_windir + QStringLiteral("/system32"));
    QDir().mkpath(m_windir + QStringLiteral("/system"));
    m_bootFile = m_windir + QStringLiteral("/named.boot");
    m_ndc = std::make_unique<FakeNdc>(m_windir);
    m_platform = std::make_unique<FakePlatform>(m_dir->filePath(QStringLiteral("data")));
    m_platform->computer = QStringLiteral("NS1");
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_statuses.clear();
}

void TstServerControl::cleanup()
{
    QCOMPARE(m_prompter->pending(), 0);
    m_ndc.reset();
}

NdcOutcome TstServerControl::run(NdcCommand command, const NdcTarget& target, RunState& runState)
{
    return runNdcCommand(command, target, QStringLiteral("ndc"), runState, *m_prompter, *m_platform,
                         [this](const QString& text) { m_statuses << text; });
}

void TstServerControl::commandLines_data()
{
    QTest::addColumn<NdcCommand>("command");
    QTest::addColumn<QString>("os");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("computer");
    QTest::addColumn<QString>("recorded");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<RunState>("runStateAfter");

    const QString nt4 = QStringLiteral("Windows NT 4.X");
    const QString linux = QStringLiteral("Linux");
    const QString ns1 = QStringLiteral("NS1");
    QTest::newRow("start nt") << NdcCommand::Start << nt4 << linux << ns1 << "[START][\\\\NS1]"
                              << QStringList{"Starting Server...", "Server Started."} << RunState::Started;
    QTest::newRow("stop nt") << NdcCommand::Stop << nt4 << linux << ns1 << "[STOP][\\\\NS1]"
                             << QStringList{"Stopping Server...", "Server Stopped."} << RunState::Stopped;
    QTest::newRow("reload nt") << NdcCommand::Reload << nt4 << linux << ns1 << "[RELOAD][\\\\NS1]"
                               << QStringList{"Reloading Database...", "Database Reloaded."} << RunState::Unknown;
    QTest::newRow("restart nt, lower case") << NdcCommand::Restart << nt4 << linux << ns1 << "[restart][\\\\NS1]"
                                            << QStringList{"Restarting Server...", "Server Restarted."} << RunState::Unknown;
    QTest::newRow("dumpdb nt") << NdcCommand::DumpDb << nt4 << linux << ns1 << "[DUMPDB][\\\\NS1]"
                               << QStringList{"Processing Database...", "Now Displaying Database."} << RunState::Unknown;
    QTest::newRow("stats nt") << NdcCommand::Stats << nt4 << linux << ns1 << "[STATS][\\\\NS1]"
                              << QStringList{"Processing Statistics...", "Now Displaying Statistics."} << RunState::Unknown;
    QTest::newRow("restart nt 3") << NdcCommand::Restart << "Windows NT 3.X" << linux << ns1 << "[restart][\\\\NS1]"
                                  << QStringList{"Restarting Server...", "Server Restarted."} << RunState::Unknown;
    QTest::newRow("start nt 3 shell") << NdcCommand::Start << "Windows NT 3.X with Shell" << linux << ns1
                                      << "[START][\\\\NS1]" << QStringList{"Starting Server...", "Server Started."}
                                      << RunState::Started;
    QTest::newRow("start 95 from nt family") << NdcCommand::Start << "Windows 95" << linux << "other" << "[START]"
                                             << QStringList{"Starting Server...", "Server Started."} << RunState::Started;
    QTest::newRow("restart 95, upper case local form")
        << NdcCommand::Restart << "Windows 95" << linux << "other" << "[RESTART]"
        << QStringList{"Restarting Server...", "Server Restarted."} << RunState::Unknown;
    QTest::newRow("reload 95") << NdcCommand::Reload << "Windows 95" << "Windows NT" << "other" << "[RELOAD]"
                               << QStringList{"Reloading Database...", "Database Reloaded."} << RunState::Unknown;
    QTest::newRow("stop, none chosen") << NdcCommand::Stop << "" << linux << "other" << "[STOP]"
                                       << QStringList{"Stopping Server...", "Server Stopped."} << RunState::Stopped;
    QTest::newRow("95 on 95, same machine in other case")
        << NdcCommand::Start << "Windows 95" << "Windows 95" << "ns1" << "[START]"
        << QStringList{"Starting Server...", "Server Started."} << RunState::Started;
}

void TstServerControl::commandLines()
{
    QFETCH(NdcCommand, command);
    QFETCH(QString, os);
    QFETCH(QString, platform);
    QFETCH(QString, computer);
    QFETCH(QString, recorded);
    QFETCH(QStringList, statuses);
    QFETCH(RunState, runStateAfter);
    m_platform->name = platform;
    m_platform->computer = computer;
    RunState runState = RunState::Unknown;
    const NdcOutcome outcome = run(command, targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, os), runState);
    QCOMPARE(outcome.end, NdcOutcome::End::Done);
    QCOMPARE(m_ndc->runs(), QStringList{recorded});
    QCOMPARE(m_statuses, statuses);
    QCOMPARE(runState, runStateAfter);
    const bool view = command == NdcCommand::DumpDb || command == NdcCommand::Stats;
    QCOMPARE(outcome.clearStatusLater, !view);
    QCOMPARE(outcome.outputFile.isEmpty(), !view);
}

void TstServerControl::refusals_data()
{
    QTest::addColumn<RunState>("runState");
    QTest::addColumn<NdcCommand>("command");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("start after start") << RunState::Started << NdcCommand::Start << "Server already started.";
    QTest::newRow("stop after stop") << RunState::Stopped << NdcCommand::Stop << "Server already stopped.";
    QTest::newRow("reload after stop") << RunState::Stopped << NdcCommand::Reload << kStopped;
    QTest::newRow("restart after stop") << RunState::Stopped << NdcCommand::Restart << kStopped;
    QTest::newRow("dumpdb after stop") << RunState::Stopped << NdcCommand::DumpDb << kStopped;
    QTest::newRow("stats after stop") << RunState::Stopped << NdcCommand::Stats << kStopped;
}

void TstServerControl::refusals()
{
    QFETCH(RunState, runState);
    QFETCH(NdcCommand, command);
    QFETCH(QString, refusal);
    const RunState before = runState;
    const NdcOutcome outcome =
        run(command, targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X")),
            runState);
    QCOMPARE(outcome.end, NdcOutcome::End::Refused);
    QVERIFY(outcome.clearStatusLater);
    QCOMPARE(m_statuses, QStringList{refusal});
    QVERIFY(m_ndc->runs().isEmpty());
    QCOMPARE(runState, before);
}

void TstServerControl::runStateFollowsStartAndStop()
{
    const NdcTarget target =
        targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X"));
    RunState runState = RunState::Unknown;
    QCOMPARE(run(NdcCommand::Stop, target, runState).end, NdcOutcome::End::Done);
    QCOMPARE(runState, RunState::Stopped);
    QCOMPARE(run(NdcCommand::Restart, target, runState).end, NdcOutcome::End::Refused);
    QCOMPARE(run(NdcCommand::Start, target, runState).end, NdcOutcome::End::Done);
    QCOMPARE(runState, RunState::Started);
    QCOMPARE(run(NdcCommand::Start, target, runState).end, NdcOutcome::End::Refused);
    QCOMPARE(run(NdcCommand::Reload, target, runState).end, NdcOutcome::End::Done);
    QCOMPARE(run(NdcCommand::Restart, target, runState).end, NdcOutcome::End::Done);
    QCOMPARE(runState, RunState::Started);
    QCOMPARE(m_ndc->runs(), (QStringList{"[STOP][\\\\NS1]", "[START][\\\\NS1]", "[RELOAD][\\\\NS1]",
                                         "[restart][\\\\NS1]"}));
    QCOMPARE(m_statuses, (QStringList{"Stopping Server...", "Server Stopped.", kStopped, "Starting Server...",
                                      "Server Started.", "Server already started.", "Reloading Database...",
                                      "Database Reloaded.", "Restarting Server...", "Server Restarted."}));
}

void TstServerControl::viewCommandsDeleteTheirOldFileFirst_data()
{
    QTest::addColumn<NdcCommand>("command");
    QTest::addColumn<QString>("file");
    QTest::newRow("dump") << NdcCommand::DumpDb << "system32/namdump.db";
    QTest::newRow("statistics") << NdcCommand::Stats << "system32/named.sts";
}

void TstServerControl::viewCommandsDeleteTheirOldFileFirst()
{
    QFETCH(NdcCommand, command);
    QFETCH(QString, file);
    const QString old = QDir(m_windir).filePath(file);
    QVERIFY(writeBytes(old, "an old file\r\n"));
    RunState runState = RunState::Stopped;
    const NdcOutcome outcome =
        run(command, targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X")),
            runState);
    QCOMPARE(outcome.end, NdcOutcome::End::Refused);
    QCOMPARE(outcome.outputFile, old);
    QVERIFY(!QFile::exists(old));
    QCOMPARE(m_statuses, QStringList{kStopped});
}

void TstServerControl::windows95ServerRefusesDumpAndStatistics()
{
    const QString old = m_windir + QStringLiteral("/system/namdump.db");
    QVERIFY(writeBytes(old, "an old file\r\n"));
    m_prompter->expectMessage(QStringLiteral("Attention!"),
                              QStringLiteral("The server you are attempting to issue this command to is running "
                                             "Windows 95, which does not support this feature."));
    RunState runState = RunState::Unknown;
    const NdcOutcome outcome =
        run(NdcCommand::DumpDb,
            targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows 95")), runState);
    QCOMPARE(outcome.end, NdcOutcome::End::Windows95);
    QVERIFY(!outcome.clearStatusLater);
    QVERIFY(!QFile::exists(old));
    QVERIFY(m_statuses.isEmpty());
    QVERIFY(m_ndc->runs().isEmpty());
}

void TstServerControl::windows95ServerOnAnotherMachineIsRefused_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("os");
    QTest::newRow("95 from 95") << "Windows 95" << "Windows 95";
    QTest::newRow("none chosen from 3.1") << "Windows 3.1" << "";
}

void TstServerControl::windows95ServerOnAnotherMachineIsRefused()
{
    QFETCH(QString, platform);
    QFETCH(QString, os);
    m_platform->name = platform;
    m_platform->computer = QStringLiteral("WORKSTATION");
    m_prompter->expectMessage(QStringLiteral("Error."),
                              QStringLiteral("You can only issue name server commands on your local machine."));
    RunState runState = RunState::Unknown;
    const NdcOutcome outcome =
        run(NdcCommand::Start, targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, os), runState);
    QCOMPARE(outcome.end, NdcOutcome::End::NotLocal);
    QVERIFY(!outcome.clearStatusLater);
    QVERIFY(m_statuses.isEmpty());
    QVERIFY(m_ndc->runs().isEmpty());
    QCOMPARE(runState, RunState::Unknown);
}

void TstServerControl::outputFiles_data()
{
    QTest::addColumn<NdcCommand>("command");
    QTest::addColumn<QString>("bootFile");
    QTest::addColumn<QString>("os");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("expected");
    QTest::newRow("dump of nt server") << NdcCommand::DumpDb << "/srv/ns1/winnt/named.boot" << "Windows NT 4.X"
                                       << "Linux" << "/srv/ns1/winnt/system32/namdump.db";
    QTest::newRow("dump of 95 server") << NdcCommand::DumpDb << "/srv/ns1/windows/named.boot" << "Windows 95"
                                       << "Linux" << "/srv/ns1/windows/system/namdump.db";
    QTest::newRow("dump, drive path") << NdcCommand::DumpDb << "G:\\WINNT\\named.boot" << "Windows NT 3.X"
                                      << "Linux" << "G:\\WINNT\\system32\\namdump.db";
    QTest::newRow("stats follow the nt family machine") << NdcCommand::Stats << "/srv/w/named.boot" << "Windows 95"
                                                        << "Linux" << "/srv/w/system32/named.sts";
    QTest::newRow("stats from a 95 machine") << NdcCommand::Stats << "\\\\NS1\\WINNT\\named.boot"
                                             << "Windows NT 4.X" << "Windows 95" << "\\\\NS1\\WINNT\\system\\named.sts";
    QTest::newRow("start has none") << NdcCommand::Start << "/srv/w/named.boot" << "Windows NT 4.X" << "Linux" << "";
}

void TstServerControl::outputFiles()
{
    QFETCH(NdcCommand, command);
    QFETCH(QString, bootFile);
    QFETCH(QString, os);
    QFETCH(QString, platform);
    QFETCH(QString, expected);
    QCOMPARE(ndcOutputFile(command, targetOf(QStringLiteral("NS1@ns1.example.com"), bootFile, os), platform),
             expected);
}

void TstServerControl::dumpAndStatisticsAreReadAfterTheRun()
{
    const NdcTarget target =
        targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X"));
    RunState runState = RunState::Unknown;
    NdcOutcome outcome = run(NdcCommand::DumpDb, target, runState);
    QCOMPARE(outcome.outputFile, m_windir + QStringLiteral("/system32/namdump.db"));
    QString error;
    QCOMPARE(readDataFile(outcome.outputFile, &error),
             QStringLiteral("; Dumped for \\\\NS1\n$ORIGIN example.com.\nwww\t3600\tIN\tA\t10.0.0.1\n"));
    outcome = run(NdcCommand::Stats, target, runState);
    QCOMPARE(readDataFile(outcome.outputFile, &error),
             QStringLiteral("+++ Statistics Dump +++ (\\\\NS1)\n7\tA queries\n"));
}

void TstServerControl::missingOutputFileIsReported()
{
    QString error;
    const QString path = m_windir + QStringLiteral("/system32/namdump.db");
    QVERIFY(!readDataFile(path, &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ")),
             qPrintable(error));
}

void TstServerControl::controlProgramThatCannotStartIsReported()
{
    m_prompter->answer(Prompter::Button::Ok);
    RunState runState = RunState::Unknown;
    const NdcOutcome outcome =
        runNdcCommand(NdcCommand::Start,
                      targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X")),
                      QStringLiteral("quorvane-no-such-control-program"), runState, *m_prompter, *m_platform,
                      [this](const QString& text) { m_statuses << text; });
    QCOMPARE(outcome.end, NdcOutcome::End::NotRun);
    QVERIFY(outcome.clearStatusLater);
    QCOMPARE(runState, RunState::Unknown);
    QCOMPARE(m_statuses, (QStringList{"Starting Server...", QString()}));
    QCOMPARE(m_prompter->prompts().size(), 1);
    QCOMPARE(m_prompter->prompts().first().caption, QStringLiteral("Error."));
    QVERIFY(m_prompter->prompts().first().text.startsWith(
        QStringLiteral("The name server control program \"quorvane-no-such-control-program\" could not be started: ")));
}

void TstServerControl::controlProgramThatFailsIsReportedInItsWords()
{
    const NdcTarget target =
        targetOf(QStringLiteral("NS1@ns1.example.com"), m_bootFile, QStringLiteral("Windows NT 4.X"));
    RunState runState = RunState::Unknown;
    m_ndc->setFailure(QStringLiteral("The configuration fails its check: example.com.DNS:9: out of range"));
    m_prompter->expectMessage(QStringLiteral("Error."),
                              QStringLiteral("The configuration fails its check: example.com.DNS:9: out of range"));
    const NdcOutcome failed = run(NdcCommand::Start, target, runState);
    QCOMPARE(failed.end, NdcOutcome::End::Failed);
    QCOMPARE(runState, RunState::Unknown);
    QCOMPARE(m_statuses, (QStringList{"Starting Server...", QString()}));
    // The program learnt which server it works on from its environment.
    QCOMPARE(m_ndc->environment(), m_bootFile + QStringLiteral(" NS1@ns1.example.com"));

    // Nothing of the failure stays behind: once the program succeeds, the command is done.
    m_ndc->setFailure(QString());
    QCOMPARE(run(NdcCommand::Start, target, runState).end, NdcOutcome::End::Done);
    QCOMPARE(runState, RunState::Started);
}

void TstServerControl::targetsReachTheBootFileThroughTheDriveTable()
{
    SettingsStore store(m_dir->filePath(QStringLiteral("q.conf")));
    store.setText(QStringLiteral("Drive Table"), QStringLiteral("G"), m_dir->path());
    AppState state;
    state.defaultos = QStringLiteral("Windows NT 3.X");
    state.catalog.add({QStringLiteral("NS2@ns2.example.com"), QStringLiteral("Q:\\WINNT\\named.boot")});
    state.catalog.add({QStringLiteral("NS1@ns1.example.com"), QStringLiteral("G:\\winnt\\named.boot")});
    state.pendingServerId = QStringLiteral("NS1@ns1.example.com");
    state.pendingBootFilePath = QStringLiteral("G:\\winnt\\named.boot");

    const NdcTarget loaded = loadedServerTarget(state, store);
    QCOMPARE(loaded.server.identifier, QStringLiteral("NS1@ns1.example.com"));
    QCOMPARE(loaded.server.bootFilePath, m_bootFile);
    QCOMPARE(loaded.defaultos, QStringLiteral("Windows NT 3.X"));
    QCOMPARE(ndcOutputFile(NdcCommand::DumpDb, loaded, QStringLiteral("Linux")),
             m_windir + QStringLiteral("/system32/namdump.db"));

    const std::optional<NdcTarget> selected = selectedServerTarget(state, store, QStringLiteral("NS1"));
    QVERIFY(selected);
    QCOMPARE(selected->server.bootFilePath, m_bootFile);
    // A drive the table does not name keeps the path as registered, so what fails names it.
    QCOMPARE(selectedServerTarget(state, store, QStringLiteral("NS2"))->server.bootFilePath,
             QStringLiteral("Q:\\WINNT\\named.boot"));
    QVERIFY(!selectedServerTarget(state, store, QStringLiteral("NS")));
}

void TstServerControl::commandNames()
{
    for (const NdcCommand command : {NdcCommand::Start, NdcCommand::Stop, NdcCommand::Reload, NdcCommand::Restart,
                                     NdcCommand::DumpDb, NdcCommand::Stats})
        QCOMPARE(ndcCommandFromName(ndcCommandName(command)), command);
    QCOMPARE(ndcCommandName(NdcCommand::DumpDb), QStringLiteral("dumpdb"));
    QVERIFY(!ndcCommandFromName(QStringLiteral("START")));
}

QTEST_GUILESS_MAIN(TstServerControl)
#include "tst_servercontrol.moc"
