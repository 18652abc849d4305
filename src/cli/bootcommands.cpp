#include "bootfile/bootlines.h"
#include "cli/clicontext.h"
#include "platform/osdetect.h"
#include "server/bootload.h"
#include "server/serverdeletion.h"
#include "server/serverloading.h"
#include "session/sessionstart.h"

#include <QFileInfo>

namespace {

void usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
}

ServerContext serverContext(CliContext& cli)
{
    return ServerContext{cli.state, cli.store, cli.prompter, cli.platform, cli.progress, ServerHooks()};
}

// What the windows set up at their first showing and the boot file reading relies on: the guessed operating
// system and the root cache text of the last download.
void prepareReading(CliContext& cli)
{
    cli.state.vertext = cli.platform.platformName();
    cli.state.defaultos = guessDefaultOs(cli.state.defaultos, cli.state.vertext, cli.platform.versionText());
    cli.state.rootCacheText = readCacheDownload(cli.platform.appDataPath()).value_or(QString());
}

QString identifierForPath(const CliContext& cli, const QString& path)
{
    if (!cli.identityOption.isEmpty())
        return cli.identityOption;
    for (const ManagedServer& server : cli.state.catalog.rows()) {
        if (!server.identifier.isEmpty() && QFileInfo(server.bootFilePath) == QFileInfo(path))
            return server.identifier;
    }
    return QString();
}

void printRows(QTextStream& out, const QString& heading, const QList<ZoneGridRow>& rows, bool withMasters)
{
    out << heading << '\n';
    for (const ZoneGridRow& row : rows) {
        out << row.zone << '\t';
        if (withMasters)
            out << row.masters << '\t';
        out << row.file << '\n';
    }
}

void printPairs(QTextStream& out, const QString& heading, const QStringList& names, const QStringList& files)
{
    out << heading << '\n';
    for (qsizetype i = 0; i < names.size(); ++i)
        out << names.at(i) << '\t' << files.value(i) << '\n';
}

void printLoadedServer(CliContext& cli)
{
    const AppState& state = cli.state;
    const BootConfig& boot = state.boot;
    QTextStream& out = cli.out;
    out << "path: " << state.path << '\n'
        << "servername: " << state.servername << '\n'
        << "inifile: " << state.bootFileName << '\n'
        << "datapath: " << state.zoneLists.datapath << '\n'
        << "realpath: " << boot.realpath << '\n'
        << "mapdrive: " << boot.mapdrive << '\n'
        << "defaultos: " << state.defaultos << '\n';
    printPairs(out, QStringLiteral("[primary zones]"), state.zoneLists.primdns, state.zoneLists.primfiles);
    printPairs(out, QStringLiteral("[secondary zones]"), state.zoneLists.secdns, state.zoneLists.secfiles);
    printRows(out, QStringLiteral("[Serving Primary for | Forward Mapping File]"), boot.primaryGrid, false);
    printRows(out, QStringLiteral("[Serving Secondary for | Primary Server IP# | Forward Mapping File]"),
              boot.secondaryGrid, true);
    printRows(out, QStringLiteral("[secondary zones with all masters]"), boot.secondaryFullGrid, true);
    out.flush();
}

int bootRead(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1) {
        usage(QStringLiteral("boot read BOOTFILE|SERVER"));
        return CliUsage;
    }
    prepareReading(cli);
    ServerContext context = serverContext(cli);
    const QString& target = args.first();
    // A server of the catalog goes before a file of the same name ("./ns" names the file); a word that names
    // neither is looked up in the catalog, which says that there is no such server.
    const bool isCatalogName = !target.contains(QLatin1Char('/')) &&
                               (findServerRow(cli.state.catalog, target) >= 0 || !QFileInfo::exists(target));

    BootReadResult result;
    if (isCatalogName) {
        const LoadOutcome outcome = selectServer(context, target);
        if (!outcome.attempted)
            return CliFailure;
        result = outcome.boot;
    } else {
        const QString path = QFileInfo(target).absoluteFilePath();
        const QString identifier = identifierForPath(cli, path);
        cli.state.pendingBootFilePath = path;
        cli.state.pendingServerId = identifier;
        cli.state.zoneLists.firstzone = identifier.section(QLatin1Char('@'), 1);
        if (identifier.isEmpty()) {
            BootContext boot = context.bootContext();
            result = readBootFile(boot, false);
        } else {
            result = loadServer(context).boot;
        }
    }
    printLoadedServer(cli);
    if (result.status == BootReadStatus::Cancelled)
        QTextStream(stderr) << "Cancelled: No data directory was chosen; nothing was written." << Qt::endl;
    return result.ok() ? CliSuccess : CliFailure;
}

int servers(CliContext& cli, const QStringList& args)
{
    if (!args.isEmpty()) {
        usage(QStringLiteral("servers"));
        return CliUsage;
    }
    for (const ManagedServer& server : cli.state.catalog.liveRows())
        cli.out << server.displayName() << '\t' << server.identifier << '\t' << server.bootFilePath << '\n';
    cli.out.flush();
    return CliSuccess;
}

int serversDelete(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1) {
        usage(QStringLiteral("servers delete SERVER"));
        return CliUsage;
    }
    ServerContext context = serverContext(cli);
    // No server is loaded in a command-line run, so none is unloaded.
    return deleteSelectedServer(context, args.first(), QString()) ? CliSuccess : CliFailure;
}

} // namespace

void registerBootCommands()
{
    cliCommands() << CliCommand{QStringLiteral("boot read"), QStringLiteral("BOOTFILE|SERVER"),
                                QStringLiteral("Reads a server's boot file as loading does, writes it back in the "
                                               "program's layout and prints the zone lists and grids."),
                                bootRead}
                  << CliCommand{QStringLiteral("servers"), QString(),
                                QStringLiteral("Lists the managed servers: display name, identifier, boot file."),
                                servers}
                  << CliCommand{QStringLiteral("servers delete"), QStringLiteral("SERVER"),
                                QStringLiteral("Deletes a managed server with its boot file and data files."),
                                serversDelete};
}
