#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "platform/stage.h"
#include "reverse/forwardreversecheck.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "server/serverloading.h"
#include "session/reverseprefixes.h"
#include "session/settings.h"

void registerReverseCommands();

namespace {

int reverseUsage()
{
    QTextStream(stderr) << "usage: quorvane-cli [options] reverse SERVER [--prefix PREFIX]..." << Qt::endl;
    return CliUsage;
}

// The prefixes of the --prefix options, "none" for none; nothing when no option was given.
std::optional<QStringList> prefixOptions(const QStringList& args, bool* usageError)
{
    std::optional<QStringList> prefixes;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) != QLatin1String("--prefix") || i + 1 == args.size()) {
            *usageError = true;
            return std::nullopt;
        }
        if (!prefixes)
            prefixes.emplace();
        const QString value = args.at(++i);
        if (value != QLatin1String("none"))
            *prefixes << value;
    }
    return prefixes;
}

int reverse(CliContext& cli, const QStringList& args)
{
    bool usageError = args.isEmpty();
    const std::optional<QStringList> prefixes = prefixOptions(args, &usageError);
    if (usageError)
        return reverseUsage();
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    // Chosen prefixes are the server's, as the window's setting keeps them: the next run makes the same zones.
    if (prefixes) {
        QString why;
        const std::optional<QList<IpPrefix>> parsed = parseReversePrefixes(prefixes->join(QLatin1Char(' ')), &why);
        if (!parsed) {
            cli.prompter.inform(QStringLiteral("Re-Enter."), why);
            return CliFailure;
        }
        QString errorText;
        if (!setReversePrefixes(cli.store, cli.state, *parsed, &errorText)) {
            cli.prompter.inform(QStringLiteral("Error"), errorText);
            return CliFailure;
        }
    }
    // The settings keep the answers before anything else can fail, as closing the window would.
    const auto keepAnswers = [&cli] {
        QString errorText;
        if (!saveSettings(cli.state, cli.store, &errorText))
            cli.prompter.inform(QStringLiteral("Error"), errorText);
    };
    NullStage stage;
    PrompterHostNameChooser chooser(cli.prompter);
    ReverseContext context{cli.state, cli.store, cli.prompter, stage, chooser};
    ReverseResult result;
    try {
        result = generateReverseMapping(context);
    } catch (const NoAnswerLeft&) {
        keepAnswers();
        throw;
    }
    keepAnswers();
    for (const QString& file : std::as_const(result.filesWritten))
        cli.out << "wrote " << file << '\n';
    cli.out.flush();
    if (!result.ok) {
        cli.prompter.inform(QStringLiteral("Error"), result.errorText);
        return CliFailure;
    }
    return CliSuccess;
}

void printFindings(CliContext& cli, const ConsistencyReport& report)
{
    for (const QString& problem : report.problems)
        cli.prompter.inform(QStringLiteral("Attention!"), problem);
    for (const ConsistencyFinding& finding : report.findings)
        cli.out << finding.text() << " Fix: " << finding.fixText() << '\n';
    cli.out << report.findings.size() << " findings (" << report.hostCount << " host addresses, " << report.pointerCount
            << " pointers)" << Qt::endl;
}

int checkReverse(CliContext& cli, const QStringList& args)
{
    const bool fix = args.size() == 2 && args.at(1) == QLatin1String("--fix");
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && !fix)) {
        QTextStream(stderr) << "usage: quorvane-cli [options] check-reverse SERVER [--fix]" << Qt::endl;
        return CliUsage;
    }
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    ConsistencyContext context{cli.state, &cli.store, cli.prompter};
    ConsistencyReport report = checkForwardReverse(context);
    printFindings(cli, report);
    if (!fix || report.findings.isEmpty())
        return report.findings.isEmpty() && report.problems.isEmpty() ? CliSuccess : CliFailure;
    const ConsistencyFixResult fixed = fixFindings(context, report.findings);
    QString errorText;
    if (!saveSettings(cli.state, cli.store, &errorText))
        cli.prompter.inform(QStringLiteral("Error"), errorText);
    for (const QString& file : fixed.filesWritten)
        cli.out << "wrote " << file << '\n';
    if (!fixed.ok) {
        cli.prompter.inform(QStringLiteral("Error"), fixed.errorText);
        return CliFailure;
    }
    report = checkForwardReverse(context);
    cli.out << "after the fixes: ";
    printFindings(cli, report);
    return report.findings.isEmpty() && report.problems.isEmpty() ? CliSuccess : CliFailure;
}

} // namespace

void registerReverseCommands()
{
    cliCommands() << CliCommand{QStringLiteral("reverse"), QStringLiteral("SERVER [--prefix PREFIX]..."),
                                QStringLiteral("Generates the reverse mapping files of a server (a catalog name, or a "
                                               "boot file path with --identity) and its boot entries; shared "
                                               "addresses are settled from --answers by name or position. "
                                               "--prefix (IPv6 by fours of bits, IPv4 /8, /16 or longer than /24) "
                                               "chooses the server's reverse zones beside the /24 and /64 ones and "
                                               "keeps the choice in its settings; --prefix none forgets it."),
                                reverse}
                  << CliCommand{QStringLiteral("check-reverse"), QStringLiteral("SERVER [--fix]"),
                                QStringLiteral("Checks that forward and reverse mapping agree: hosts without a "
                                               "pointer, pointers without a host or to another name, addresses of "
                                               "several hosts; one line per finding with its fix (exit status 1 "
                                               "when there is one). --fix applies every fix as one change, a shared "
                                               "address mapped to the name its pointer names, else a name server, "
                                               "a mail server or the first host."),
                                checkReverse};
}
