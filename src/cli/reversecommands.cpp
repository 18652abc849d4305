#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "platform/stage.h"
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
                                reverse};
}
