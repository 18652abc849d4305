#include "cli/cliserver.h"

#include "bootfile/bootlines.h"
#include "cli/clicontext.h"
#include "platform/drivetable.h"
#include "platform/osdetect.h"
#include "server/bootload.h"
#include "server/history/changerecording.h"
#include "server/serverloading.h"
#include "session/sessionstart.h"

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
    cli.state.pendingBootFilePath = path;
    cli.state.pendingServerId = identifier;
    cli.state.zoneLists.firstzone = identifier.section(QLatin1Char('@'), 1);
    return loadServer(context).boot.ok();
}

// The boot file (or named.conf) the command is about to load; empty when it cannot be placed here.
QString serverFileOfTarget(CliContext& cli, const QString& target, bool isCatalogName)
{
    QString path = QFileInfo(target).absoluteFilePath();
    if (isCatalogName) {
        const int row = findServerRow(cli.state.catalog, target);
        if (row < 0)
            return QString();
        path = cli.state.catalog.rows().at(row).bootFilePath;
    }
    return localBootFilePath(path, DriveTable::load(cli.store)).value_or(QString());
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
    // Loading writes the boot file back, and a command changes the server from its first step to its last.
    const QString serverFile = serverFileOfTarget(cli, target, isCatalogName);
    const bool namedConf = ManagedServer{QString(), serverFile}.isNamedConf();
    cli.serverChange.emplace(serverFile.isEmpty() ? QString() : QFileInfo(serverFile).absolutePath(),
                             isCatalogName ? target : displayNameOf(cli.identityOption), QString(), ServerLock::kWaitMs,
                             namedConf ? QFileInfo(serverFile).fileName() : QString());
    if (!cli.serverChange->isHeld()) {
        cli.prompter.inform(QStringLiteral("Attention!"), cli.serverChange->errorText());
        return false;
    }
    bool loaded = false;
    {
        const ChangeNote note(loadNote(isCatalogName ? target : cli.identityOption));
        loaded = isCatalogName ? selectServer(context, target).boot.ok() : loadBootFilePath(context, cli, target);
    }
    cli.state.autoBackup = autoBackup;
    cli.state.selection.primview = cli.viewOption;
    cli.state.selection.secview = cli.viewOption;
    // What loading changed (the boot file in the program's layout, a root cache made) is no part of the command.
    if (loaded)
        cli.serverChange->recordSoFar();
    return loaded;
}

bool changeRecorded(CliContext& cli)
{
    if (cli.serverChange && cli.serverChange->isHeld())
        cli.serverChange->recordSoFar();
    return !ChangeRecording::hasFailures();
}
