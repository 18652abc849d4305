#pragma once

#include "server/history/serverhistory.h"

#include <QString>
#include <memory>

struct AppState;
class Prompter;

enum class RestoreOutcome
{
    Restored,
    NothingToUndo,
    Cancelled,
    Failed,
};

// The history of the loaded server; none (with the reason told) when no server is loaded or it has no history.
std::unique_ptr<ServerHistory> historyOfLoadedServer(const AppState& state, Prompter& prompter);

// The newest revision that neither undoes another nor was undone itself; empty when only the first one is left.
std::optional<QString> revisionToUndo(ServerHistory& history);

// Puts back the files as they were before the newest change not yet undone, as a revision of its own.
RestoreOutcome undoLastChange(AppState& state, Prompter& prompter);
// Puts back every file as the revision holds it, as a revision of its own.
RestoreOutcome revertToRevision(AppState& state, const QString& revision, Prompter& prompter);

// The zone files and the boot file as they are now against the revision from which the name server last loaded
// them (or, when that is not on record, the first revision); empty when nothing differs.
std::optional<QString> changesSinceLoaded(const AppState& state, QString* error);
// Notes that the name server has just loaded the files of the newest revision; why not, when that fails.
QString markLoaded(const AppState& state);
