#include "operations/servercontrol.h"

#include "bind9/bind9control.h"
#include "bootfile/bootlines.h"
#include "platform/filereading.h"
#include "platform/platform.h"
#include "platform/prompter.h"
#include "server/loadedserver.h"
#include "server/serverfiles.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "session/bind9settings.h"

#include <QFile>
#include <algorithm>

namespace {

const QString kStoppedRefusal = QStringLiteral("Server currently stopped. Cannot execute command.");

struct CommandTexts
{
    NdcCommand command;
    const char* name;
    const char* word;   // the remote form's command word
    RunState refusedAt; // the run state at which the command refuses itself
    const char* refusal;
    const char* statusBefore;
    const char* statusAfter;
    std::optional<RunState> runStateAfter; // none: unchanged
};

// Restart alone goes in lower case; the control program has always been given it that way.
const CommandTexts kCommands[] = {
    {NdcCommand::Start, "start", "START", RunState::Started, "Server already started.", "Starting Server...",
     "Server Started.", RunState::Started},
    {NdcCommand::Stop, "stop", "STOP", RunState::Stopped, "Server already stopped.", "Stopping Server...",
     "Server Stopped.", RunState::Stopped},
    {NdcCommand::Reload, "reload", "RELOAD", RunState::Stopped, nullptr, "Reloading Database...", "Database Reloaded.",
     std::nullopt},
    {NdcCommand::Restart, "restart", "restart", RunState::Stopped, nullptr, "Restarting Server...", "Server Restarted.",
     std::nullopt},
    {NdcCommand::DumpDb, "dumpdb", "DUMPDB", RunState::Stopped, nullptr, "Processing Database...",
     "Now Displaying Database.", std::nullopt},
    {NdcCommand::Stats, "stats", "STATS", RunState::Stopped, nullptr, "Processing Statistics...",
     "Now Displaying Statistics.", std::nullopt},
};

const CommandTexts& textsOf(NdcCommand command)
{
    for (const CommandTexts& texts : kCommands) {
        if (texts.command == command)
            return texts;
    }
    return kCommands[0];
}

QString refusalOf(const CommandTexts& texts)
{
    return texts.refusal ? QString::fromLatin1(texts.refusal) : kStoppedRefusal;
}

// The local form is the command word alone, and only the four server commands have one.
QString localWord(NdcCommand command)
{
    return command == NdcCommand::Restart ? QStringLiteral("RESTART") : QString::fromLatin1(textsOf(command).word);
}

bool isViewCommand(NdcCommand command)
{
    return command == NdcCommand::DumpDb || command == NdcCommand::Stats;
}

QString notStartedText(const QString& program, const QString& reason)
{
    return QStringLiteral("The name server control program \"") + program +
           QStringLiteral("\" could not be started: ") + reason;
}

// What a control program that failed said last on its error stream: the reason, in one line.
QString failureText(const QString& program, const Platform::ProcessResult& result)
{
    const QStringList lines = QString::fromLocal8Bit(result.standardError).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (!lines.at(i).trimmed().isEmpty())
            return lines.at(i).trimmed();
    }
    return QStringLiteral("The name server control program \"%1\" ended with exit status %2.")
        .arg(program)
        .arg(result.exitCode);
}

} // namespace

QString ndcCommandName(NdcCommand command)
{
    return QString::fromLatin1(textsOf(command).name);
}

bool loadsFiles(NdcCommand command)
{
    return command == NdcCommand::Start || command == NdcCommand::Reload || command == NdcCommand::Restart;
}

std::optional<NdcCommand> ndcCommandFromName(const QString& name)
{
    for (const CommandTexts& texts : kCommands) {
        if (name == QLatin1String(texts.name))
            return texts.command;
    }
    return std::nullopt;
}

bool isWindows95Server(const QString& defaultos)
{
    return defaultos != QLatin1String("Windows NT 4.X") && defaultos != QLatin1String("Windows NT 3.X") &&
           defaultos != QLatin1String("Windows NT 3.X with Shell");
}

QString ndcOutputFile(NdcCommand command, const NdcTarget& target, const QString& localPlatformName)
{
    if (!isViewCommand(command))
        return QString();
    const QString directory = windowsDirectory(target.server.bootFilePath);
    // The system folder is named in the separator the boot file path itself uses.
    const QChar separator = directory.endsWith(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    bool system32 = false;
    QString file;
    if (command == NdcCommand::DumpDb) {
        system32 = !isWindows95Server(target.defaultos);
        file = QStringLiteral("namdump.db");
    } else {
        system32 = isNtFamily(localPlatformName);
        file = QStringLiteral("named.sts");
    }
    return directory + (system32 ? QStringLiteral("system32") : QStringLiteral("system")) + separator + file;
}

QStringList ndcArguments(NdcCommand command, const QString& computerName, bool remote)
{
    if (!remote)
        return {localWord(command)};
    return {QString::fromLatin1(textsOf(command).word), QStringLiteral("\\\\") + computerName};
}

NdcOutcome runNdcCommand(NdcCommand command, const NdcTarget& target, const QString& program, RunState& runState,
                         Prompter& prompter, Platform& platform, const std::function<void(const QString&)>& showStatus)
{
    const CommandTexts& texts = textsOf(command);
    NdcOutcome outcome;
    outcome.outputFile = ndcOutputFile(command, target, platform.platformName());
    if (!outcome.outputFile.isEmpty() && QFile::exists(outcome.outputFile))
        QFile::remove(outcome.outputFile);

    if (runState == texts.refusedAt) {
        showStatus(refusalOf(texts));
        outcome.end = NdcOutcome::End::Refused;
        outcome.clearStatusLater = true;
        return outcome;
    }

    const QString computer = target.server.displayName();
    const bool windows95 = isWindows95Server(target.defaultos);
    bool remote = !windows95;
    if (isViewCommand(command)) {
        if (windows95) {
            prompter.message(QStringLiteral("Attention!"),
                             QStringLiteral("The server you are attempting to issue this command to is running "
                                            "Windows 95, which does not support this feature."));
            outcome.end = NdcOutcome::End::Windows95;
            return outcome;
        }
    } else if (windows95 && !isNtFamily(platform.platformName()) &&
               computer.compare(platform.computerName(), Qt::CaseInsensitive) != 0) {
        prompter.message(QStringLiteral("Error."),
                         QStringLiteral("You can only issue name server commands on your local machine."));
        outcome.end = NdcOutcome::End::NotLocal;
        return outcome;
    }

    showStatus(QString::fromLatin1(texts.statusBefore));
    // The control program learns the server from the environment; any other program ignores it.
    const Platform::ProcessResult result =
        platform.runProcess(controlProgramPath(program, platform), ndcArguments(command, computer, remote), QString(),
                            controlEnvironment(target.server.bootFilePath, target.server.identifier));
    outcome.clearStatusLater = true;
    if (!result.started) {
        // A command that never ran must not read as done, nor move the run state.
        showStatus(QString());
        prompter.message(QStringLiteral("Error."), notStartedText(program, result.errorText));
        outcome.end = NdcOutcome::End::NotRun;
        return outcome;
    }
    if (result.exitCode != 0) {
        showStatus(QString());
        prompter.message(QStringLiteral("Error."), failureText(program, result));
        outcome.end = NdcOutcome::End::Failed;
        return outcome;
    }
    showStatus(QString::fromLatin1(texts.statusAfter));
    if (texts.runStateAfter)
        runState = *texts.runStateAfter;
    outcome.end = NdcOutcome::End::Done;
    // The view commands start the clearing only after their file was shown.
    outcome.clearStatusLater = !isViewCommand(command);
    return outcome;
}

std::optional<QString> readDataFile(const QString& path, QString* errorText)
{
    // The name server writes these files as its own user, who could put a link in their place.
    const FileReadResult read = readWholeFile(path, ReadLimit::kListing, FinalLinks::Refuse);
    if (!read.ok()) {
        if (errorText)
            *errorText = QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". ") + read.errorText;
        return std::nullopt;
    }
    QString text = QString::fromLatin1(*read.bytes);
    text.remove(QLatin1Char('\r'));
    return text;
}

NdcTarget loadedServerTarget(const AppState& state, const SettingsStore& store)
{
    return NdcTarget{ManagedServer{state.pendingServerId, localBootFile(state.pendingBootFilePath, store)},
                     state.defaultos};
}

std::optional<NdcTarget> selectedServerTarget(const AppState& state, const SettingsStore& store, const QString& boxText)
{
    const int row = findServerRow(state.catalog, boxText);
    if (row < 0)
        return std::nullopt;
    const ManagedServer& server = state.catalog.rows().at(row);
    return NdcTarget{ManagedServer{server.identifier, localBootFile(server.bootFilePath, store)}, state.defaultos};
}
