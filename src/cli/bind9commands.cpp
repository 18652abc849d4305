#include "bind9/configcheck.h"
#include "bind9/serverexport.h"
#include "bootfile/bootlines.h"
#include "checks/namechecks.h"
#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "platform/filereplacement.h"
#include "session/bootcontext.h"

namespace {

int usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
    return CliUsage;
}

struct ExportArguments
{
    QString server;
    NamedConfForm form = NamedConfForm::Whole;
    QString output;
    std::optional<QString> catalog;
};

std::optional<ExportArguments> exportArguments(const QStringList& args)
{
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return std::nullopt;
    ExportArguments parsed;
    parsed.server = args.first();
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--zones-only")) {
            parsed.form = NamedConfForm::ZonesOnly;
            continue;
        }
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString value = args.at(++i);
        if (arg == QLatin1String("--output") && !value.isEmpty())
            parsed.output = value;
        else if (arg == QLatin1String("--catalog") && !value.isEmpty() && !hasIllegalCharacters(value))
            parsed.catalog = value;
        else
            return std::nullopt;
    }
    return parsed;
}

int exportServer(CliContext& cli, const QStringList& args)
{
    const std::optional<ExportArguments> parsed = exportArguments(args);
    if (!parsed)
        return usage(QStringLiteral("export SERVER [--zones-only] [--output FILE] [--catalog NAME]"));
    if (!loadServerForCommand(cli, parsed->server))
        return CliFailure;
    const ServerExport exported = exportLoadedServer(
        cli.state, parsed->form, parsed->catalog.value_or(cli.state.bind9.catalogZone), cli.platform);
    QTextStream err(stderr);
    for (const QString& note : exported.conf.notes)
        err << "Note: " << note << '\n';
    for (const QString& line : exported.conf.leftOut)
        err << "Left out: " << line << '\n';
    err.flush();
    if (!exported.errorText.isEmpty()) {
        reportGeneralError(cli.prompter, exported.errorText);
        return CliFailure;
    }
    if (parsed->output.isEmpty()) {
        cli.out << exported.conf.text;
        cli.out.flush();
    } else {
        if (const FileWriteResult written = replaceFile(parsed->output, exported.conf.text.toUtf8()); !written.ok) {
            reportGeneralError(cli.prompter, QStringLiteral("The file ") + written.errorText);
            return CliFailure;
        }
    }
    return exported.conf.complete() ? CliSuccess : CliFailure;
}

int checkServer(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("check SERVER"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    const ServerCheckReport report = checkLoadedServer(cli.state, cli.platform);
    for (const QString& line : serverCheckLines(report))
        cli.out << line << '\n';
    cli.out.flush();
    return report.check.passed ? CliSuccess : CliFailure;
}

} // namespace

void registerBind9Commands()
{
    cliCommands()
        << CliCommand{QStringLiteral("export"),
                      QStringLiteral("SERVER [--zones-only] [--output FILE] [--catalog NAME]"),
                      QStringLiteral("Prints the server's BIND 9 configuration (named.conf), or only its zone "
                                     "statements for a distribution's name server to include; with a catalog "
                                     "zone, also writes the catalog of its primary zones. What BIND 9 would not "
                                     "take is left out and named on standard error (exit status 1)."),
                      exportServer}
        << CliCommand{QStringLiteral("check"), QStringLiteral("SERVER"),
                      QStringLiteral("Checks the server's BIND 9 configuration with named-checkconf -z and every "
                                     "primary zone file with named-checkzone -k fail; prints one line per "
                                     "problem (exit status 1 when there is one)."),
                      checkServer};
}
