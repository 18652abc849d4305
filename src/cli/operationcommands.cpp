#include "bind9/nameserverprobe.h"
#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "operations/bootoptions.h"
#include "operations/rootcache.h"
#include "operations/servercontrol.h"
#include "server/bootsave.h"
#include "server/history/historyactions.h"
#include "server/loadedserver.h"
#include "server/serverloading.h"
#include "session/bootcontext.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr int kCacheDelayMs = 3000;

int usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
    return CliUsage;
}

int ndc(CliContext& cli, const QStringList& args)
{
    const QString usageText = QStringLiteral("ndc SERVER start|stop|reload|restart|dumpdb|stats [--preview]");
    const bool preview = args.size() == 3 && args.at(2) == QLatin1String("--preview");
    if (args.size() != 2 && !preview)
        return usage(usageText);
    const std::optional<NdcCommand> command = ndcCommandFromName(args.at(1));
    if (!command)
        return usage(usageText);
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    observeRunState(cli.state);
    if (preview && loadsFiles(*command)) {
        QString error;
        const std::optional<QString> changes = changesSinceLoaded(cli.state, &error);
        if (!changes) {
            cli.prompter.inform(QStringLiteral("Attention!"), error);
            return CliFailure;
        }
        cli.out << (changes->isEmpty() ? QStringLiteral("No changes since the name server last loaded the files.\n")
                                       : *changes);
        cli.out.flush();
        if (cli.prompter.message(QStringLiteral("Question!"), QStringLiteral("Apply these changes?"),
                                 Prompter::Button::Yes | Prompter::Button::No,
                                 Prompter::Icon::Question) != Prompter::Button::Yes)
            return CliFailure;
    }
    const NdcOutcome outcome =
        runNdcCommand(*command, loadedServerTarget(cli.state, cli.store), cli.state.ndcProgram, cli.state.runState,
                      cli.prompter, cli.platform, [&cli](const QString& text) {
                          if (!text.isEmpty())
                              cli.out << text << Qt::endl;
                      });
    if (outcome.end != NdcOutcome::End::Done)
        return CliFailure;
    if (loadsFiles(*command)) {
        if (const QString error = markLoaded(cli.state); !error.isEmpty()) {
            cli.prompter.inform(QStringLiteral("Attention!"), error);
            return CliFailure;
        }
    }
    if (outcome.outputFile.isEmpty())
        return CliSuccess;
    QString error;
    const std::optional<QString> text = readDataFile(outcome.outputFile, &error);
    if (!text) {
        reportGeneralError(cli.prompter, error);
        return CliFailure;
    }
    cli.out << *text;
    cli.out.flush();
    return CliSuccess;
}

int backup(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("backup SERVER"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    return backupLoadedServer(cli.state, cli.store, cli.progress, cli.prompter) ? CliSuccess : CliFailure;
}

int restore(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("restore SERVER"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    return restoreLoadedServer(cli.state, cli.store, cli.progress, cli.prompter) ? CliSuccess : CliFailure;
}

QString tick(bool on)
{
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

void printOptions(QTextStream& out, const BootOptions& options)
{
    out << "Forward Only: " << tick(options.forwardOnly) << '\n'
        << "No Recursion: " << tick(options.noRecursion) << '\n'
        << "Query Log: " << tick(options.queryLog) << '\n'
        << "Limit Transfers-In: " << tick(options.limitTransfersIn) << '\t' << options.transfersIn << '\n'
        << "Limit-Xfers-Per-NS: " << tick(options.limitTransfersPerNs) << '\t' << options.transfersPerNs << '\n'
        << "XFRNets: " << options.xfrnets.join(QLatin1Char('\t')) << '\n'
        << "BogusNS: " << options.bogusns.join(QLatin1Char('\t')) << '\n'
        << "Forwarders: " << options.forwarders.join(QLatin1Char('\t')) << '\n';
    out.flush();
}

// The page's state from the command's options; each list entry passes the "Add..." dialog's test.
std::optional<BootOptions> optionsFromArguments(CliContext& cli, const QStringList& args, bool* usageError)
{
    BootOptions options;
    const QList<std::pair<QString, OptionEntryKind>> lists = {
        {QStringLiteral("--forwarder"), OptionEntryKind::Forwarder},
        {QStringLiteral("--xfrnet"), OptionEntryKind::Xfr},
        {QStringLiteral("--bogusns"), OptionEntryKind::Bogus}};
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--forward-only")) {
            options.forwardOnly = true;
            continue;
        }
        if (arg == QLatin1String("--no-recursion")) {
            options.noRecursion = true;
            continue;
        }
        if (arg == QLatin1String("--query-log")) {
            options.queryLog = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            *usageError = true;
            return std::nullopt;
        }
        const QString value = args.at(++i);
        if (arg == QLatin1String("--transfers-in")) {
            options.limitTransfersIn = true;
            options.transfersIn = value;
            continue;
        }
        if (arg == QLatin1String("--transfers-per-ns")) {
            options.limitTransfersPerNs = true;
            options.transfersPerNs = value;
            continue;
        }
        bool known = false;
        for (const auto& [name, kind] : lists) {
            if (arg != name)
                continue;
            known = true;
            if (!checkOptionEntry(kind, value, cli.prompter))
                return std::nullopt;
            (kind == OptionEntryKind::Forwarder ? options.forwarders
             : kind == OptionEntryKind::Xfr     ? options.xfrnets
                                                : options.bogusns)
                << value;
        }
        if (!known) {
            *usageError = true;
            return std::nullopt;
        }
    }
    return options;
}

int options(CliContext& cli, const QStringList& args)
{
    const QString usageText = QStringLiteral(
        "options SERVER show | options SERVER set [--forwarder A]... [--forward-only] [--no-recursion] [--query-log] "
        "[--transfers-in N] [--transfers-per-ns N] [--xfrnet NET]... [--bogusns A]...");
    if (args.size() < 2 || (args.at(1) != QLatin1String("show") && args.at(1) != QLatin1String("set")) ||
        (args.at(1) == QLatin1String("show") && args.size() != 2))
        return usage(usageText);
    bool usageError = false;
    std::optional<BootOptions> wanted;
    if (args.at(1) == QLatin1String("set")) {
        wanted = optionsFromArguments(cli, args.mid(2), &usageError);
        if (usageError)
            return usage(usageText);
        if (!wanted)
            return CliFailure;
    }
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    if (!wanted) {
        printOptions(cli.out, parseBootOptionLines(cli.state.boot.parameterLines));
        return CliSuccess;
    }
    const bool written = updateBootOptions(*wanted, cli.state.boot.parameterLines, cli.prompter, [&cli] {
        const BootWriteResult result = writeBootFile(cli.state);
        if (!result.ok)
            reportGeneralError(cli.prompter, result.errorText);
        return result.ok;
    });
    return written ? CliSuccess : CliFailure;
}

std::optional<RootCacheSource> sourceFrom(const CliContext& cli, const QStringList& args, bool* usageError)
{
    RootCacheSource source{cli.state.ftpHost, cli.state.ftpPort, cli.state.emailaddr};
    if (args.isEmpty())
        return source;
    if (args.size() != 2 || args.first() != QLatin1String("--ftp")) {
        *usageError = true;
        return std::nullopt;
    }
    const qsizetype colon = args.at(1).lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const int port = colon > 0 ? args.at(1).mid(colon + 1).toInt(&portOk) : 0;
    if (!portOk || port <= 0 || port > 65535) {
        *usageError = true;
        return std::nullopt;
    }
    source.host = args.at(1).left(colon);
    source.port = port;
    return source;
}

int cacheFetch(CliContext& cli, const QStringList& args)
{
    const QString usageText = QStringLiteral("cache fetch SERVER [--ftp HOST:PORT]");
    if (args.isEmpty())
        return usage(usageText);
    bool usageError = false;
    const std::optional<RootCacheSource> source = sourceFrom(cli, args.mid(1), &usageError);
    if (!source)
        return usage(usageText);
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    const RootCacheFetch fetched = fetchRootCache(
        *source, cli.state.exepath, [&cli](const QString& line) { cli.out << line << Qt::endl; }, [] {}, cli.prompter);
    if (fetched == RootCacheFetch::TooLarge)
        return CliFailure;
    cli.out << "Processing InterNIC Download..." << Qt::endl;
    QEventLoop wait;
    QTimer::singleShot(kCacheDelayMs, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec();
    const RootCacheInstall install = installRootCache(cli.state.exepath, cli.state.zoneLists.datapath);
    if (!install.errorText.isEmpty()) {
        reportGeneralError(cli.prompter, install.errorText);
        return CliFailure;
    }
    if (install.installed)
        cli.out << "Latest InterNIC Download: "
                << QDir(cli.state.zoneLists.datapath).filePath(QStringLiteral("cache.dns")) << Qt::endl;
    return fetched == RootCacheFetch::Fetched && install.installed ? CliSuccess : CliFailure;
}

} // namespace

void registerOperationCommands()
{
    cliCommands() << CliCommand{QStringLiteral("ndc"),
                                QStringLiteral("SERVER start|stop|reload|restart|dumpdb|stats [--preview]"),
                                QStringLiteral("Runs the name server's control program for the server; the dump "
                                               "and the statistics are printed. With --preview, start, reload and "
                                               "restart first print the changes since the name server last loaded "
                                               "the files and ask before going on."),
                                ndc}
                  << CliCommand{QStringLiteral("backup"), QStringLiteral("SERVER"),
                                QStringLiteral("Copies the server's data files and boot file into \"dnsbackup\"."),
                                backup}
                  << CliCommand{QStringLiteral("restore"), QStringLiteral("SERVER"),
                                QStringLiteral("Copies the zone files, \"cache.dns\" and the boot file back from "
                                               "\"dnsbackup\"."),
                                restore}
                  << CliCommand{QStringLiteral("options"),
                                QStringLiteral("SERVER show | SERVER set [--forwarder A]... [--forward-only] "
                                               "[--no-recursion] [--query-log] [--transfers-in N] "
                                               "[--transfers-per-ns N] [--xfrnet NET]... [--bogusns A]..."),
                                QStringLiteral("Shows the boot file's advanced options, or sets them all as "
                                               "\"Update\" does."),
                                options}
                  << CliCommand{QStringLiteral("cache fetch"), QStringLiteral("SERVER [--ftp HOST:PORT]"),
                                QStringLiteral("Downloads the root hints and installs them as the server's "
                                               "\"cache.dns\" three seconds later."),
                                cacheFetch};
}
