#pragma once

#include "session/servercatalog.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct AppState;
enum class RunState;
class Platform;
class Prompter;
class SettingsStore;

// The six things the name server's control program is asked to do.
enum class NdcCommand { Start, Stop, Reload, Restart, DumpDb, Stats };

// The command's word as the command line spells it ("start", "dumpdb", ...), and back.
QString ndcCommandName(NdcCommand command);
std::optional<NdcCommand> ndcCommandFromName(const QString& name);
// Whether the name server reads the server's files anew for the command (start, reload, restart).
bool loadsFiles(NdcCommand command);

// The server a command is given to: the loaded server's catalog row and its operating system (one of the four
// choices, or empty while none is chosen).
struct NdcTarget
{
    ManagedServer server;
    QString defaultos;
};

// How a control command ended.
struct NdcOutcome
{
    enum class End {
        Refused,   // the run state forbids it; the refusal is in the status panel
        NotLocal,  // a Windows 95 server on another machine, told in a box
        Windows95, // a dump or statistics of a Windows 95 server, told in a box
        NotRun,    // the control program could not be started, told in a box
        Failed,    // the control program said it failed; its last line is told in a box
        Done,      // the control program ran and ended
    };
    End end = End::Done;
    // The dump or statistics file the control program was asked to write (empty for the other commands).
    QString outputFile;
    // Whether the status panel is to be emptied ten seconds from now.
    bool clearStatusLater = false;
};

// The server runs another operating system than the NT family (the first choice, or none chosen).
bool isWindows95Server(const QString& defaultos);

// Where the name server writes the database dump or the statistics for the server; empty for the other
// commands. The statistics follow the machine the program runs on, the dump the server's system.
QString ndcOutputFile(NdcCommand command, const NdcTarget& target, const QString& localPlatformName);

// The arguments of the control program: the command word alone, or the word and the server's computer name in
// network form ("\\NS1").
QStringList ndcArguments(NdcCommand command, const QString& computerName, bool remote);

// Runs one control command for the target, as the server buttons do: the refusals by run state, the choice
// between local and remote form, the status texts before and after, the new run state. The dump and statistics
// file is deleted before anything else; the caller shows it when the outcome is Done. A control program that
// ends with a status other than 0 has failed: the last line of its error stream is shown with the caption
// "Error.", and neither the status texts nor the run state move.
NdcOutcome runNdcCommand(NdcCommand command, const NdcTarget& target, const QString& program, RunState& runState,
                         Prompter& prompter, Platform& platform, const std::function<void(const QString&)>& showStatus);

// The text of a dump or statistics file; the reason when it cannot be read.
std::optional<QString> readDataFile(const QString& path, QString* errorText);

// The loaded server as the control commands see it.
NdcTarget loadedServerTarget(const AppState& state, const SettingsStore& store);

// The server the selection box names, found as selecting a server finds it; none when the catalog has no such
// row.
std::optional<NdcTarget> selectedServerTarget(const AppState& state, const SettingsStore& store,
                                              const QString& boxText);
