#include "cli/clicontext.h"
#include "utilities/fingertool.h"
#include "utilities/nslookup.h"
#include "utilities/pingtool.h"
#include "utilities/tracetool.h"
#include "utilities/whoistool.h"

#include <QEventLoop>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

// How long a finger or WHOIS server may take in all to send its whole answer and close the connection.
constexpr int kAnswerWaitMs = 60000;

struct ParsedArguments
{
    QStringList positional;
    QHash<QString, QString> options;
    QString error;
};

// Positional arguments and "--name value" options, only those named.
ParsedArguments parseArguments(const QStringList& arguments, const QStringList& optionNames)
{
    ParsedArguments parsed;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1String("--"))) {
            parsed.positional << argument;
            continue;
        }
        const QString name = argument.mid(2);
        if (!optionNames.contains(name) || i + 1 >= arguments.size()) {
            parsed.error = QStringLiteral("Unknown option or missing value: ") + argument;
            return parsed;
        }
        parsed.options.insert(name, arguments.at(++i));
    }
    return parsed;
}

std::optional<quint16> portOption(const ParsedArguments& parsed, quint16 fallback)
{
    if (!parsed.options.contains(QStringLiteral("port")))
        return fallback;
    bool ok = false;
    const int port = parsed.options.value(QStringLiteral("port")).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

int usage(CliContext& context, const QString& text)
{
    context.out.flush();
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return CliUsage;
}

void printLines(CliContext& context, const QStringList& lines)
{
    for (const QString& line : lines)
        context.out << line << Qt::endl;
}

// Seconds from --timeout: how long the connection may take and how long the server may stay silent.
std::optional<int> timeoutOption(const ParsedArguments& parsed)
{
    if (!parsed.options.contains(QStringLiteral("timeout")))
        return LineQueryTool::connectTimeoutMs / 1000;
    bool ok = false;
    const int seconds = parsed.options.value(QStringLiteral("timeout")).toInt(&ok);
    if (!ok || seconds < 1 || seconds > 3600)
        return std::nullopt;
    return seconds;
}

// Sends the query and prints the answer; a server that never answers, or that sends more than an answer can
// be, ends the command in failure with what arrived printed.
int runLineQuery(CliContext& context, LineQueryTool& tool, int timeoutSeconds, const std::function<void()>& find)
{
    tool.setConnectTimeout(timeoutSeconds * 1000);
    find();
    const bool answered =
        tool.reached() && tool.awaitAnswer(timeoutSeconds * 1000, std::max(kAnswerWaitMs, timeoutSeconds * 1000)) ==
                              LineQueryTool::AnswerEnd::Closed;
    printLines(context, tool.area().lines());
    return answered ? CliSuccess : CliFailure;
}

int runFinger(CliContext& context, const QStringList& arguments)
{
    const ParsedArguments parsed = parseArguments(arguments, {QStringLiteral("port"), QStringLiteral("timeout")});
    const std::optional<quint16> port = portOption(parsed, FingerTool::fingerPort);
    const std::optional<int> timeout = timeoutOption(parsed);
    if (!parsed.error.isEmpty() || parsed.positional.size() != 1 || !port || !timeout)
        return usage(context, QStringLiteral("Usage: finger USER@HOST [--port N] [--timeout SECONDS]"));
    FingerTool tool(context.prompter);
    tool.setPort(*port);
    return runLineQuery(context, tool, *timeout, [&] { tool.find(parsed.positional.first()); });
}

int runWhois(CliContext& context, const QStringList& arguments)
{
    const ParsedArguments parsed =
        parseArguments(arguments, {QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("timeout")});
    const std::optional<quint16> port = portOption(parsed, WhoisTool::whoisPort);
    const std::optional<int> timeout = timeoutOption(parsed);
    if (!parsed.error.isEmpty() || parsed.positional.size() != 1 || !port || !timeout)
        return usage(context, QStringLiteral("Usage: whois NAME [--host H] [--port N] [--timeout SECONDS]"));
    WhoisTool tool(context.prompter, parsed.options.value(QStringLiteral("host"), context.state.whoisserver));
    tool.setPort(*port);
    return runLineQuery(context, tool, *timeout, [&] { tool.find(parsed.positional.first()); });
}

int runLookup(CliContext& context, const QStringList& arguments)
{
    const ParsedArguments parsed = parseArguments(arguments, {QStringLiteral("timeout"), QStringLiteral("port")});
    const std::optional<quint16> port = portOption(parsed, 0);
    if (!parsed.error.isEmpty() || parsed.positional.size() != 3 || !port)
        return usage(context, QStringLiteral("Usage: lookup SERVER DOMAIN TYPE [--timeout N] [--port N]"));
    NsLookup lookup(context.prompter, context.platform.appDataPath(), NsLookup::defaultInterpreter(context.platform));
    lookup.setPort(*port);
    bool listed = false;
    QEventLoop loop;
    QObject::connect(&lookup, &NsLookup::finished, &loop, [&](bool result) {
        listed = result;
        loop.quit();
    });
    const QStringList& words = parsed.positional;
    if (!lookup.lookup(words.at(0), words.at(1), words.at(2),
                       parsed.options.value(QStringLiteral("timeout"), QStringLiteral("15"))))
        return CliFailure;
    loop.exec();
    if (!listed)
        return CliFailure;
    printLines(context, lookup.result().split(QLatin1Char('\n')));
    return CliSuccess;
}

int runPing(CliContext& context, const QStringList& arguments)
{
    const ParsedArguments parsed = parseArguments(arguments, {QStringLiteral("count")});
    if (!parsed.error.isEmpty() || parsed.positional.size() != 1)
        return usage(context, QStringLiteral("Usage: ping HOST [--count N]"));
    PingTool tool(context.prompter);
    QObject::connect(&tool.area(), &ResponseArea::lineAdded, &tool,
                     [&context](const QString& line) { context.out << line << Qt::endl; });
    QEventLoop loop;
    QObject::connect(&tool, &PingTool::finished, &loop, &QEventLoop::quit);
    if (!tool.ping(parsed.positional.first(), parsed.options.value(QStringLiteral("count"), QStringLiteral("10"))))
        return CliFailure;
    loop.exec();
    return CliSuccess;
}

int runTrace(CliContext& context, const QStringList& arguments)
{
    const ParsedArguments parsed = parseArguments(arguments, {});
    if (!parsed.error.isEmpty() || parsed.positional.size() != 1)
        return usage(context, QStringLiteral("Usage: trace HOST"));
    TraceTool tool(context.prompter);
    QObject::connect(&tool.area(), &ResponseArea::lineAdded, &tool,
                     [&context](const QString& line) { context.out << line << Qt::endl; });
    return tool.trace(parsed.positional.first()) ? CliSuccess : CliFailure;
}

} // namespace

void registerUtilityCommands()
{
    QList<CliCommand>& commands = cliCommands();
    commands << CliCommand{QStringLiteral("finger"), QStringLiteral("USER@HOST [--port N] [--timeout SECONDS]"),
                           QStringLiteral("Asks a host's finger service about a user and prints its answer."),
                           runFinger};
    commands << CliCommand{QStringLiteral("whois"), QStringLiteral("NAME [--host H] [--port N] [--timeout SECONDS]"),
                           QStringLiteral("Asks the WHOIS service about a name and prints its answer."), runWhois};
    commands << CliCommand{QStringLiteral("lookup"), QStringLiteral("SERVER DOMAIN TYPE [--timeout N] [--port N]"),
                           QStringLiteral("Lists a domain's records of a type as the name server holds them."),
                           runLookup};
    commands << CliCommand{QStringLiteral("ping"), QStringLiteral("HOST [--count N]"),
                           QStringLiteral("Sends echo requests to a host, one a second, and prints the answers."),
                           runPing};
    commands << CliCommand{QStringLiteral("trace"), QStringLiteral("HOST"),
                           QStringLiteral("Lists the routers on the way to a host."), runTrace};
}
