#pragma once

#include "cli/cliprompter.h"
#include "platform/progress.h"
#include "platform/settingsstore.h"
#include "platform/systemplatform.h"
#include "server/serverchange.h"
#include "session/appstate.h"

#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

// Exit statuses of every command.
enum CliStatus
{
    CliSuccess = 0,
    CliFailure = 1,
    CliUsage = 2,
    CliNoAnswer = 3
};

// What a command works with: the program's state loaded from the user's settings store, the command line's
// prompter, the real platform, and the output stream for results.
struct CliContext
{
    CliContext(QStringList answers) : prompter(std::move(answers)), out(stdout) {}

    AppState state;
    SettingsStore store;
    CliPrompter prompter;
    SystemPlatform platform;
    NullProgress progress;
    QTextStream out;

    // The change of the server the command works on: its lock is held until the command ends.
    std::optional<ServerChange> serverChange;

    QString serialOption;   // --serial
    QString identityOption; // --identity NAME@FULLNAME
    QString emailOption;    // --email
    QString viewOption;     // --view VIEW: the view of the zone a command names, for a named.conf with views
};

struct CliCommand
{
    QString name;  // the command words, such as "boot read"
    QString usage; // the arguments after the command words
    QString summary;
    std::function<int(CliContext&, const QStringList&)> run;
};

// Each module adds its commands to this table.
QList<CliCommand>& cliCommands();
