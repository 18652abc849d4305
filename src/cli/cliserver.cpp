#include "cli/cliserver.h"

#include "cli/clicontext.h"
#include "servers/serverloading.h"
#include "shell/osdetect.h"
#include "shell/shelloperations.h"

#include <QFileInfo>

namespace {

bool loadBootFilePath(ServerContext& context, CliContext& cli, const QString& target)
{
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

} // namespace

bool loadServerForCommand(CliContext& cli, const QString& target)
{
    cli.state.vertext = cli.platform.platformName();
    cli.state.defaultos = guessDefaultOs(cli.state.defaultos, cli.state.vertext, cli.platform.versionText());
    cli.state.exepath = cli.platform.appDataPath();
    cli.state.rootCacheText = readCacheDownload(cli.state.exepath).value_or(QString());
    ServerContext context{cli.state, cli.store, cli.prompter, cli.platform, cli.progress, ServerHooks()};

    const bool autoBackup = cli.state.autoBackup;
    cli.state.autoBackup = false;
    const bool isCatalogName = !target.contains(QLatin1Char('/')) &&
                               (findServerRow(cli.state.catalog, target) >= 0 || !QFileInfo::exists(target));
    const bool loaded =
        isCatalogName ? selectServer(context, target).boot.ok() : loadBootFilePath(context, cli, target);
    cli.state.autoBackup = autoBackup;
    return loaded;
}
