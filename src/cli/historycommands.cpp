#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "server/history/historyactions.h"
#include "session/appstate.h"

void registerHistoryCommands();

namespace {

int usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
    return CliUsage;
}

// The file of the loaded server's zone (primary or secondary); empty when the server has no such zone.
QString zoneFile(const AppState& state, const QString& zone)
{
    const ServerZoneLists& lists = state.zoneLists;
    for (qsizetype i = 0; i < lists.primdns.size(); ++i) {
        if (lists.primdns.at(i).compare(zone, Qt::CaseInsensitive) == 0)
            return lists.primfiles.value(i);
    }
    for (qsizetype i = 0; i < lists.secdns.size(); ++i) {
        if (lists.secdns.at(i).compare(zone, Qt::CaseInsensitive) == 0)
            return lists.secfiles.value(i);
    }
    return QString();
}

void printRevision(QTextStream& out, const Revision& revision)
{
    out << revision.id.left(8) << "  " << revision.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
        << revision.author << "  " << revision.summary << '\n';
}

int history(CliContext& cli, const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2)
        return usage(QStringLiteral("history SERVER [ZONE]"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    QString file;
    if (args.size() == 2) {
        file = zoneFile(cli.state, args.at(1));
        if (file.isEmpty()) {
            cli.prompter.inform(QStringLiteral("Error"), QStringLiteral("The server has no zone %1.").arg(args.at(1)));
            return CliFailure;
        }
    }
    const std::unique_ptr<ServerHistory> serverHistory = historyOfLoadedServer(cli.state, cli.prompter);
    if (!serverHistory)
        return CliFailure;
    const std::optional<QList<Revision>> revisions = serverHistory->revisions(file);
    if (!revisions) {
        cli.prompter.inform(QStringLiteral("Attention!"), serverHistory->errorText());
        return CliFailure;
    }
    for (const Revision& revision : *revisions)
        printRevision(cli.out, revision);
    cli.out.flush();
    return CliSuccess;
}

int diff(CliContext& cli, const QStringList& args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("diff SERVER REVISION"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    const std::unique_ptr<ServerHistory> serverHistory = historyOfLoadedServer(cli.state, cli.prompter);
    if (!serverHistory)
        return CliFailure;
    const std::optional<Revision> revision = serverHistory->revision(args.at(1));
    const std::optional<QString> patch = revision ? serverHistory->diff(revision->id) : std::nullopt;
    if (!patch) {
        cli.prompter.inform(QStringLiteral("Attention!"), serverHistory->errorText());
        return CliFailure;
    }
    printRevision(cli.out, *revision);
    cli.out << '\n' << *patch;
    cli.out.flush();
    return CliSuccess;
}

int outcomeStatus(RestoreOutcome outcome)
{
    switch (outcome) {
    case RestoreOutcome::Restored:
        return CliSuccess;
    case RestoreOutcome::NothingToUndo:
    case RestoreOutcome::Cancelled:
    case RestoreOutcome::Failed:
        break;
    }
    return CliFailure;
}

int undo(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("undo SERVER"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    return outcomeStatus(undoLastChange(cli.state, cli.prompter));
}

int revert(CliContext& cli, const QStringList& args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("revert SERVER REVISION"));
    if (!loadServerForCommand(cli, args.first()))
        return CliFailure;
    return outcomeStatus(revertToRevision(cli.state, args.at(1), cli.prompter));
}

// Runs beside the commands that record: it takes no lock, and packs only objects already complete.
int pack(CliContext& cli, const QStringList& args)
{
    if (args.size() != 1)
        return usage(QStringLiteral("history pack DATADIR"));
    ServerHistory serverHistory(QString(), args.first());
    if (!serverHistory.exists() || !serverHistory.packLooseObjects()) {
        cli.prompter.inform(QStringLiteral("Attention!"),
                            serverHistory.exists() ? serverHistory.errorText()
                                                   : QStringLiteral("%1 holds no history.").arg(args.first()));
        return CliFailure;
    }
    return CliSuccess;
}

} // namespace

void registerHistoryCommands()
{
    cliCommands() << CliCommand{QStringLiteral("history"), QStringLiteral("SERVER [ZONE]"),
                                QStringLiteral("Lists the revisions of the server's files, newest first: id, time, "
                                               "user@host and what changed; with ZONE only those of its file."),
                                history}
                  << CliCommand{QStringLiteral("history pack"), QStringLiteral("DATADIR"),
                                QStringLiteral("Gathers the loose objects of the history in DATADIR into one pack file "
                                               "(run by itself once they grow past 1,000 or 50 MB)."),
                                pack}
                  << CliCommand{QStringLiteral("diff"), QStringLiteral("SERVER REVISION"),
                                QStringLiteral("Prints what a revision changed, as a patch."), diff}
                  << CliCommand{QStringLiteral("undo"), QStringLiteral("SERVER"),
                                QStringLiteral("Puts the files back as they were before the newest change not yet "
                                               "undone, as a new revision (asks first when they were changed since)."),
                                undo}
                  << CliCommand{QStringLiteral("revert"), QStringLiteral("SERVER REVISION"),
                                QStringLiteral("Puts every file back as the revision holds it, as a new revision "
                                               "(asks first when they were changed since)."),
                                revert};
}
