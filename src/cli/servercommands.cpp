#include "bootfile/bootlines.h"
#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "platform/osdetect.h"
#include "platform/stage.h"
#include "server/conftakeover.h"
#include "server/newserversteps.h"
#include "server/serverdeletion.h"
#include "server/serverimport.h"
#include "server/serverloading.h"
#include "session/bind9settings.h"
#include "session/sessionstart.h"

namespace {

int usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
    return CliUsage;
}

ServerContext serverContext(CliContext& cli)
{
    return ServerContext{cli.state, cli.store, cli.prompter, cli.platform, cli.progress, ServerHooks()};
}

// What the windows set up at their first showing and a new server relies on: the guessed operating system and
// the root cache text of the last download.
void prepareServerRun(CliContext& cli)
{
    cli.state.vertext = cli.platform.platformName();
    cli.state.defaultos = guessDefaultOs(cli.state.defaultos, cli.state.vertext, cli.platform.versionText());
    cli.state.rootCacheText = readCacheDownload(cli.platform.appDataPath()).value_or(QString());
}

// The positional arguments and the values of the options a command allows; none on a usage error.
struct ParsedArguments
{
    QStringList positional;
    QMap<QString, QString> options;
};

std::optional<ParsedArguments> parseArguments(const QStringList& args, const QStringList& allowedOptions)
{
    ParsedArguments parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (!arg.startsWith(QLatin1String("--"))) {
            parsed.positional << arg;
            continue;
        }
        if (!allowedOptions.contains(arg) || i + 1 >= args.size() || parsed.options.contains(arg))
            return std::nullopt;
        parsed.options.insert(arg, args.at(++i));
    }
    return parsed;
}

int printServer(CliContext& cli, const QString& name)
{
    const int row = findServerRow(cli.state.catalog, name);
    if (row < 0)
        return CliFailure;
    const ManagedServer& server = cli.state.catalog.rows().at(row);
    cli.out << server.displayName() << '\t' << server.identifier << '\t' << server.bootFilePath << '\n';
    cli.out.flush();
    return CliSuccess;
}

bool applySoaOption(NewServerFields& fields, const QString& option)
{
    const QStringList values = option.split(QLatin1Char(','));
    if (values.size() != 5)
        return false;
    fields.serial = values.at(0);
    fields.refresh = values.at(1);
    fields.retry = values.at(2);
    fields.expire = values.at(3);
    fields.minimum = values.at(4);
    return true;
}

int serverAdd(CliContext& cli, const QStringList& args)
{
    const QString command = QStringLiteral("server add NAME DOMAIN WINDIR [--os TEXT] "
                                           "[--soa SERIAL,REFRESH,RETRY,EXPIRE,MINIMUM]");
    const std::optional<ParsedArguments> parsed =
        parseArguments(args, {QStringLiteral("--os"), QStringLiteral("--soa")});
    if (!parsed || parsed->positional.size() != 3)
        return usage(command);
    prepareServerRun(cli);
    NewServerFields fields = initialWizardFields(cli.state);
    if (const auto os = parsed->options.constFind(QStringLiteral("--os")); os != parsed->options.constEnd()) {
        if (!operatingSystemChoices().contains(*os)) {
            QTextStream(stderr) << "The operating system must be one of: "
                                << operatingSystemChoices().join(QStringLiteral(", ")) << Qt::endl;
            return CliUsage;
        }
        fields.defaultos = *os;
    }
    if (const auto soa = parsed->options.constFind(QStringLiteral("--soa"));
        soa != parsed->options.constEnd() && !applySoaOption(fields, *soa))
        return usage(command);
    fields.name = parsed->positional.at(0);
    fields.firstzone = parsed->positional.at(1);

    ServerContext context = serverContext(cli);
    NullStage stage;
    if (!checkServerPage(fields, cli.state.catalog, cli.prompter))
        return CliFailure;
    const QString name = fields.name;
    chooseWindowsDirectory(fields, parsed->positional.at(2), cli.prompter);
    // The directory named on the command line is the user's choice already; only the overwrite is asked.
    if (!checkDirectoryPage(fields, false, false, cli.prompter) ||
        !finishNewServer(context, stage, fields, WizardHooks()))
        return CliFailure;
    return printServer(cli, name);
}

int serverTakeover(CliContext& cli, const QStringList& args)
{
    if (args.size() != 3)
        return usage(QStringLiteral("server takeover NAME DOMAIN WINDIR"));
    prepareServerRun(cli);
    NewServerFields fields = initialWizardFields(cli.state);
    fields.name = args.at(0);
    fields.firstzone = args.at(1);
    ImportRequest request;
    request.sourceWindowsDirectory = args.at(2);
    ServerContext context = serverContext(cli);
    NullStage stage;
    if (!takeControlOrImport(context, stage, fields, ImportMode::TakeControl, WizardHooks(), request))
        return CliFailure;
    return printServer(cli, args.at(0));
}

int serverImport(CliContext& cli, const QStringList& args)
{
    const std::optional<ParsedArguments> parsed = parseArguments(args, {QStringLiteral("--secondary")});
    if (!parsed || parsed->positional.size() != 4)
        return usage(QStringLiteral("server import NAME DOMAIN SRCWINDIR DESTWINDIR [--secondary MASTER]"));
    prepareServerRun(cli);
    NewServerFields fields = initialWizardFields(cli.state);
    fields.name = parsed->positional.at(0);
    fields.firstzone = parsed->positional.at(1);
    ImportRequest request;
    request.sourceWindowsDirectory = parsed->positional.at(2);
    request.destinationWindowsDirectory = parsed->positional.at(3);
    if (const auto master = parsed->options.constFind(QStringLiteral("--secondary"));
        master != parsed->options.constEnd()) {
        fields.secondary = true;
        request.primaryServerIp = *master;
    }
    ServerContext context = serverContext(cli);
    NullStage stage;
    if (!takeControlOrImport(context, stage, fields, ImportMode::Import, WizardHooks(), request))
        return CliFailure;
    return printServer(cli, fields.name);
}

int serverAddBind9(CliContext& cli, const QStringList& args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("server add-bind9 NAME CONFFILE"));
    prepareServerRun(cli);
    ServerContext context = serverContext(cli);
    if (!takeOverConfServer(context, args.at(0), args.at(1)))
        return CliFailure;
    return printServer(cli, args.at(0));
}

int serverSettings(CliContext& cli, const QStringList& args)
{
    if (args.isEmpty())
        return usage(QStringLiteral("server settings SERVER [NAME=VALUE]..."));
    const QString server = args.first();
    if (findServerRow(cli.state.catalog, server) < 0) {
        cli.prompter.inform(QStringLiteral("Error"), QStringLiteral("Server record not found."));
        return CliFailure;
    }
    for (const QString& assignment : args.mid(1)) {
        const qsizetype equals = assignment.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return usage(QStringLiteral("server settings SERVER [NAME=VALUE]..."));
        QString error;
        if (!Bind9Settings::setServerValue(cli.store, server, assignment.left(equals), assignment.mid(equals + 1),
                                           &error)) {
            cli.prompter.inform(QStringLiteral("Error"), error);
            return CliFailure;
        }
    }
    QString error;
    if (!cli.store.sync(&error)) {
        cli.prompter.inform(QStringLiteral("Error"), error);
        return CliFailure;
    }
    // Each value the server uses, marked where it is the server's own rather than the default.
    const Bind9Settings settings = Bind9Settings::load(cli.store, server);
    for (const QString& name : Bind9Settings::valueNames())
        cli.out << name << '=' << settings.value(name) << (settings.ownValues.contains(name) ? "" : "\t(default)")
                << '\n';
    cli.out.flush();
    return CliSuccess;
}

int serverZones(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("server zones SERVER"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    const AppState& state = cli.state;
    const auto line = [&cli](const QString& view, const QString& zone, const QString& type, const QString& file) {
        cli.out << (view.isEmpty() ? QStringLiteral("-") : view) << '\t' << zone << '\t' << type << '\t'
                << (file.isEmpty() ? QStringLiteral("-") : file) << '\n';
    };
    if (state.conf.isLoaded()) {
        for (const ConfZone& zone : state.conf.config.zones)
            line(zone.view, zone.name, zone.inView.isEmpty() ? zone.type : QStringLiteral("in-view ") + zone.inView,
                 zone.file);
    } else {
        for (qsizetype i = 0; i < state.zoneLists.primdns.size(); ++i)
            line(QString(), state.zoneLists.primdns.at(i), QStringLiteral("primary"),
                 state.zoneLists.primfiles.value(i));
        for (qsizetype i = 0; i < state.zoneLists.secdns.size(); ++i)
            line(QString(), state.zoneLists.secdns.at(i), QStringLiteral("secondary"),
                 state.zoneLists.secfiles.value(i));
    }
    cli.out.flush();
    return CliSuccess;
}

int serverDelete(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("server delete NAME"));
    ServerContext context = serverContext(cli);
    // No server is loaded in a command-line run, so none is unloaded.
    return deleteSelectedServer(context, args.first(), QString()) ? CliSuccess : CliFailure;
}

} // namespace

void registerServerCommands()
{
    cliCommands() << CliCommand{QStringLiteral("server add"),
                                QStringLiteral("NAME DOMAIN WINDIR [--os TEXT] [--soa SERIAL,REFRESH,RETRY,EXPIRE,"
                                               "MINIMUM]"),
                                QStringLiteral("Sets up a new server in WINDIR as the New Server Wizard does: its "
                                               "folders, its boot file and its catalog entry."),
                                serverAdd}
                  << CliCommand{QStringLiteral("server takeover"), QStringLiteral("NAME DOMAIN WINDIR"),
                                QStringLiteral("Takes control of the server whose named.boot lies in WINDIR."),
                                serverTakeover}
                  << CliCommand{QStringLiteral("server import"),
                                QStringLiteral("NAME DOMAIN SRCWINDIR DESTWINDIR [--secondary MASTER]"),
                                QStringLiteral("Copies the server of SRCWINDIR into a new server in DESTWINDIR, or "
                                               "makes its zones secondary zones of MASTER."),
                                serverImport}
                  << CliCommand{QStringLiteral("server add-bind9"), QStringLiteral("NAME CONFFILE"),
                                QStringLiteral("Takes over the BIND 9 server that CONFFILE (its named.conf) "
                                               "describes, as it is, under the name NAME."),
                                serverAddBind9}
                  << CliCommand{QStringLiteral("server zones"), QStringLiteral("SERVER"),
                                QStringLiteral("Lists the server's zones, one a line: view (\"-\" for none), zone, "
                                               "type and file."),
                                serverZones}
                  << CliCommand{QStringLiteral("server settings"), QStringLiteral("SERVER [NAME=VALUE]..."),
                                QStringLiteral("Shows the server's BIND 9 settings, after setting the values given "
                                               "(an empty value gives the default back)."),
                                serverSettings}
                  << CliCommand{QStringLiteral("server delete"), QStringLiteral("NAME"),
                                QStringLiteral("Deletes a managed server with its boot file and data files."),
                                serverDelete};
}
