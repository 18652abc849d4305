#include "cli/clicontext.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "servers/serverloading.h"
#include "shell/osdetect.h"
#include "shell/settings.h"
#include "shell/shelloperations.h"

#include <QFileInfo>

void registerReverseCommands();

namespace {

// The server of a catalog name, or of a boot file path named by --identity (or by the catalog row of that
// path), loaded as selecting it in the window loads it, without the automatic backup.
bool loadReverseServer(CliContext& cli, const QString& target)
{
    cli.state.vertext = cli.platform.platformName();
    cli.state.defaultos = guessDefaultOs(cli.state.defaultos, cli.state.vertext, cli.platform.versionText());
    cli.state.exepath = cli.platform.appDataPath();
    cli.state.rootCacheText = readCacheDownload(cli.state.exepath).value_or(QString());
    cli.state.autoBackup = false;
    ServerContext context{cli.state, cli.store, cli.prompter, cli.platform, cli.progress, ServerHooks()};
    const bool isCatalogName = !target.contains(QLatin1Char('/')) &&
                               (findServerRow(cli.state.catalog, target) >= 0 || !QFileInfo::exists(target));
    if (isCatalogName)
        return selectServer(context, target).boot.ok();

    const QString path = QFileInfo(target).absoluteFilePath();
    QString identifier = cli.identityOption;
    for (const ManagedServer& server : cli.state.catalog.rows()) {
        if (identifier.isEmpty() && !server.identifier.isEmpty() && QFileInfo(server.bootFilePath) == QFileInfo(path))
            identifier = server.identifier;
    }
    if (identifier.isEmpty()) {
        cli.prompter.inform(QStringLiteral("Error"),
                            target + QStringLiteral(" is no managed server; name it with --identity."));
        return false;
    }
    cli.state.tobeloaded = path;
    cli.state.tobelname = identifier;
    cli.state.zoneLists.firstzone = identifier.section(QLatin1Char('@'), 1);
    return loadServer(context).boot.ok();
}

int reverse(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1) {
        QTextStream(stderr) << "usage: quorvane-cli [options] reverse SERVER" << Qt::endl;
        return CliUsage;
    }
    if (!loadReverseServer(cli, args.first()))
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
