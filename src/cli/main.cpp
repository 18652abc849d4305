#include "cli/clicontext.h"
#include "cli/registrationcommands.h"
#include "platform/notices.h"
#include "server/history/changerecording.h"
#include "session/settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

void registerBootCommands();
void registerServerCommands();
void registerUtilityCommands();
void registerOperationCommands();
void registerReverseCommands();
void registerZoneCommands();
void registerRecordCommands();
void registerCreationCommands();
void registerBind9Commands();
void registerPathCommands();
void registerHistoryCommands();

namespace {

// Each module's commands, once, in the order --help lists them.
void registerAllCommands()
{
    registerBootCommands();
    registerServerCommands();
    registerZoneCommands();
    registerRecordCommands();
    registerCreationCommands();
    registerUtilityCommands();
    registerRegistrationCommands();
    registerOperationCommands();
    registerBind9Commands();
    registerReverseCommands();
    registerPathCommands();
    registerHistoryCommands();
}

QString commandList()
{
    QString text = QStringLiteral("Commands:\n");
    for (const CliCommand& command : cliCommands())
        text += QStringLiteral("  %1 %2\n      %3\n").arg(command.name, command.usage, command.summary);
    return text;
}

// The longest command whose words start the positional arguments.
const CliCommand* findCommand(const QStringList& positional, int* wordCount)
{
    const CliCommand* best = nullptr;
    for (const CliCommand& command : cliCommands()) {
        const QStringList words = command.name.split(QLatin1Char(' '));
        if (words.size() > positional.size() || positional.mid(0, words.size()) != words)
            continue;
        if (!best || words.size() > *wordCount) {
            best = &command;
            *wordCount = int(words.size());
        }
    }
    return best;
}

// Taking apart the model of a zone of a million records costs a tenth of the command and frees nothing the
// process still needs: the model goes to a holder that is never destroyed, and the system takes its memory back
// at exit. Everything else (locks, settings, output) is closed as usual. The holder is volatile so that the
// compiler keeps it although nothing reads it: the leak checker then sees the model held on purpose.
void leaveZoneToExit(AppState& state)
{
    [[maybe_unused]] static ZoneModel* volatile held = nullptr;
    held = new ZoneModel(std::move(state.zone));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));
    registerAllCommands();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane 2.0 from the command line.\n\n") + commandList());
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Prints the version."));
    const QCommandLineOption answers(QStringLiteral("answers"),
                                     QStringLiteral("Answers to the questions, in order (ok, cancel, yes, no, abort, "
                                                    "all, or a picker entry's text or 1-based position)."),
                                     QStringLiteral("A,B,..."));
    const QCommandLineOption serial(QStringLiteral("serial"), QStringLiteral("Sets the running serial."),
                                    QStringLiteral("N"));
    const QCommandLineOption identity(QStringLiteral("identity"),
                                      QStringLiteral("Names the server of a boot file path."),
                                      QStringLiteral("NAME@FULLNAME"));
    const QCommandLineOption email(QStringLiteral("email"), QStringLiteral("Administrator address for this run."),
                                   QStringLiteral("ADDR"));
    parser.addOptions({versionOption, answers, serial, identity, email});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command and its arguments."));
    // Commands take options of their own; unknown options are left for them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    QStringList arguments = app.arguments();
    // Global options come before the command words; everything from the command on belongs to the command.
    QStringList globalPart{arguments.value(0)};
    QStringList commandPart;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (!commandPart.isEmpty() || !arg.startsWith(QLatin1Char('-'))) {
            commandPart << arg;
            continue;
        }
        globalPart << arg;
        const bool takesValue = arg == QLatin1String("--answers") || arg == QLatin1String("--serial") ||
                                arg == QLatin1String("--identity") || arg == QLatin1String("--email");
        if (takesValue && i + 1 < arguments.size())
            globalPart << arguments.at(++i);
    }
    if (!parser.parse(globalPart)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return CliUsage;
    }
    if (parser.isSet(versionOption)) {
        std::printf("Quorvane 2.0\n");
        return CliSuccess;
    }
    if (parser.isSet(helpOption) || commandPart.isEmpty()) {
        std::printf("%s", qPrintable(parser.helpText()));
        return commandPart.isEmpty() && !parser.isSet(helpOption) ? CliUsage : CliSuccess;
    }

    // The view of a zone may be named anywhere among a command's arguments.
    QString view;
    for (qsizetype i = 0; i + 1 < commandPart.size(); ++i) {
        if (commandPart.at(i) == QLatin1String("--view")) {
            view = commandPart.at(i + 1);
            commandPart.remove(i, 2);
            break;
        }
    }
    int wordCount = 0;
    const CliCommand* command = findCommand(commandPart, &wordCount);
    if (!command) {
        std::fprintf(stderr, "Unknown command: %s\n", qPrintable(commandPart.join(QLatin1Char(' '))));
        return CliUsage;
    }

    QStringList answerList;
    if (parser.isSet(answers))
        answerList = parser.value(answers).split(QLatin1Char(','));
    CliContext context(answerList);
    Notices::setHandler(
        [&context](const QString& text) { context.prompter.inform(QStringLiteral("Attention!"), text); });
    // A history grown past its thresholds is packed by a process of its own, which the command does not wait for.
    ChangeRecording::setPacker([](const QString& dataDirectory) {
        QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("history"), QStringLiteral("pack"), dataDirectory});
    });
    context.serialOption = parser.value(serial);
    context.identityOption = parser.value(identity);
    context.emailOption = parser.value(email);
    context.viewOption = view;
    int status = CliSuccess;
    try {
        loadSettings(context.state, context.store, context.prompter, context.platform);
        if (!context.serialOption.isEmpty())
            context.state.setup.runningSerial = context.serialOption;
        if (!context.emailOption.isEmpty())
            context.state.emailaddr = context.emailOption;
        status = command->run(context, commandPart.mid(wordCount));
    } catch (const NoAnswerLeft&) {
        status = CliNoAnswer;
    }
    // The server's lock, and with it the recording of the change, ends here.
    context.serverChange.reset();
    const QStringList failures = ChangeRecording::takeFailures();
    for (const QString& failure : failures)
        context.prompter.inform(QStringLiteral("Attention!"), failure);
    Notices::setHandler(nullptr);
    leaveZoneToExit(context.state);
    return failures.isEmpty() ? status : CliFailure;
}
