#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "server/serverloading.h"
#include "session/settings.h"


void registerReverseCommands();

namespace {

int reverse(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: quorvane-cli [options] reverse SERVER" << Qt::endl;
        return CliUsage;
    }
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
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
    cliCommands() << CliCommand{QStringLiteral("reverse"), QStringLiteral("SERVER"),
                                QStringLiteral("Generates the reverse mapping files of a server (a catalog name, or a "
                                               "boot file path with --identity) and its boot entries; shared "
                                               "addresses are settled from --answers by name or position."),
                                reverse};
}
