#pragma once

#include "server/history/changerecording.h"
#include "session/serverlock.h"

#include <QString>
#include <optional>

struct AppState;

// A changing operation on a server, in one place: while it lives it holds the server's lock, and what the
// process replaces or removes in the server's files meanwhile becomes a revision of the server's history when the
// outermost change ends. The revision is described in the operation's own words when it gives them (the first
// description given in a hold wins); otherwise from the files it changed.
class ServerChange
{
public:
    // The loaded server, for a change of what this program has read of it: refused as well when its boot file was
    // changed by another program since it was read.
    explicit ServerChange(const AppState& state, const QString& description = QString(),
                          int waitMs = ServerLock::kWaitMs);
    // The server whose boot file (or other server file) lies in the folder (see ServerLock).
    ServerChange(const QString& bootDirectory, const QString& serverName, const QString& description = QString(),
                 int waitMs = ServerLock::kWaitMs, const QString& serverFile = QString());
    ServerChange(const ServerChange&) = delete;
    ServerChange& operator=(const ServerChange&) = delete;

    bool isHeld() const { return m_lock.isHeld(); }
    // Whether this change took the lock rather than joining a change already under way.
    bool isOutermost() const { return m_lock.isOutermost(); }
    // Why the lock could not be taken.
    const QString& errorText() const { return m_lock.errorText(); }

    // Names what the operation does, when it is known only after the change began.
    void describe(const QString& description);

    // Records what the operation has changed so far as a revision of its own, before it goes on to a change of
    // another kind.
    void recordSoFar();

private:
    ServerLock m_lock;
    std::optional<ChangeNote> m_note;
};
