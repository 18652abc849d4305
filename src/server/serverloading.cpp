#include "server/serverloading.h"

#include "bootfile/bootlines.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/bindaccess.h"
#include "server/loadedserver.h"
#include "session/appstate.h"
#include "session/bind9settings.h"
#include "session/servercatalog.h"

#include <QSet>

namespace {

bool nothingChosen(const QString& text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

void call(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

} // namespace

int findServerRow(const ServerCatalog& catalog, const QString& displayName)
{
    const QList<ManagedServer>& rows = catalog.rows();
    for (int row = 0; row < rows.size(); ++row) {
        if (!rows.at(row).identifier.isEmpty() && rows.at(row).displayName() == displayName)
            return row;
    }
    return -1;
}

LoadOutcome selectServer(ServerContext& context, const QString& boxText)
{
    if (nothingChosen(boxText)) {
        context.prompter.message(QStringLiteral("Attention."), QStringLiteral("You must first select a server."));
        return {};
    }
    const int row = findServerRow(context.state.catalog, boxText);
    if (row < 0) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("Server record not found."));
        return {};
    }
    const ManagedServer& server = context.state.catalog.rows().at(row);
    context.state.zoneLists.firstzone = server.identifier.section(QLatin1Char('@'), 1);
    context.state.pendingBootFilePath = server.bootFilePath;
    context.state.pendingServerId = server.identifier;
    return loadServer(context);
}

LoadOutcome loadServer(ServerContext& context)
{
    AppState& state = context.state;
    Progress& progress = context.progress;
    state.debugLog.logLine(QStringLiteral("--Begin LoadServer Main"));
    if (nothingChosen(state.pendingServerId)) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a server."));
        return {};
    }

    progress.setProgressCaption(QStringLiteral("Loading Data Files..."));
    progress.showProgress();
    progress.setProgress(20);

    // The server's own BIND 9 settings, over the defaults.
    state.bind9 = Bind9Settings::load(context.store, displayNameOf(state.pendingServerId));
    BootContext boot = context.bootContext();
    LoadOutcome outcome{true, readBootFile(boot, false)};

    // Told once a run for each server: it does not change while the program runs.
    static QSet<QString> told;
    if (outcome.boot.ok() && !told.contains(state.pendingServerId)) {
        if (const QStringList problems = bindAccessProblems(state); !problems.isEmpty()) {
            told.insert(state.pendingServerId);
            context.prompter.message(QStringLiteral("Attention!"), problems.join(QLatin1Char(' ')));
        }
    }
    progress.setProgress(40);
    progress.setProgress(60);
    call(context.hooks.buildPrimaryTree);
    progress.setProgress(80);
    call(context.hooks.buildSecondaryTree);
    progress.setProgress(90);

    // A boot file that could not be read leaves no data directory to copy.
    if (state.autoBackup && outcome.boot.ok()) {
        if (context.hooks.showStatus)
            context.hooks.showStatus(QStringLiteral("Data files have been saved."));
        backupLoadedServer(state, context.store, progress, context.prompter);
    }

    progress.setProgress(100);
    progress.setProgressCaption(QStringLiteral("Progress..."));
    progress.hideProgress();
    state.debugLog.logLine(QStringLiteral("--End LoadServer Main"));
    return outcome;
}
