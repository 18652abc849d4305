#include "support/clirun.h"

#include <QDir>
#include <QTest>

QProcessEnvironment cliEnvironment(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QDir(home).filePath(QStringLiteral("share")));
    return env;
}

void startCli(QProcess& process, const QStringList& arguments, const QString& home)
{
    process.setProcessEnvironment(cliEnvironment(home));
    process.start(QStringLiteral(QUORVANE_CLI), arguments);
}

CliRun finishedRun(QProcess& process)
{
    CliRun run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

CliRun runCli(const QStringList& arguments, const QString& home, int timeoutMs)
{
    QProcess process;
    startCli(process, arguments, home);
    // Events keep running meanwhile, so that peers the test itself serves answer the command.
    if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, timeoutMs)) {
        process.kill();
        process.waitForFinished();
        CliRun run = finishedRun(process);
        run.status = -1;
        return run;
    }
    return finishedRun(process);
}
