#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of the real quorvane-cli, with the user's settings and data folders inside the test's own folder.
struct CliRun
{
    int status = -1; // the exit status; -1 when it did not end in time, -2 when it crashed
    QByteArray out;
    QByteArray err;
};

// The environment of a run whose settings live in home/config and whose data folder is home/share.
QProcessEnvironment cliEnvironment(const QString& home);
// Starts quorvane-cli without waiting for it.
void startCli(QProcess& process, const QStringList& arguments, const QString& home);
// Runs quorvane-cli to its end, letting this process's events run meanwhile.
CliRun runCli(const QStringList& arguments, const QString& home, int timeoutMs = 120000);
// What a started run came to once it has ended.
CliRun finishedRun(QProcess& process);
