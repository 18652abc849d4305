#include "server/serverchange.h"

#include "server/loadedserver.h"
#include "server/serverfiles.h"
#include "session/appstate.h"

namespace {

// The history follows every hold of a server that a change takes; it is installed before the first one.
void followHolds()
{
    static const bool installed = [] {
        ServerLock::setHooks({ChangeRecording::begin, ChangeRecording::finish});
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

ServerChange::ServerChange(const AppState& state, const QString& description, int waitMs)
    : m_lock((followHolds(), ServerLock(state, waitMs)))
{
    if (m_lock.isHeld() && !m_lock.key().isEmpty())
        ChangeRecording::describeServer(m_lock.key(), state.zoneLists.datapath,
                                        [&state] { return historyFiles(state); });
    if (!description.isEmpty())
        describe(description);
}

ServerChange::ServerChange(const QString& bootDirectory, const QString& serverName, const QString& description,
                           int waitMs, const QString& serverFile)
    : m_lock((followHolds(), ServerLock(bootDirectory, serverName, waitMs, serverFile)))
{
    if (!description.isEmpty())
        describe(description);
}

void ServerChange::describe(const QString& description)
{
    if (m_lock.isHeld())
        m_note.emplace(description);
}

void ServerChange::recordSoFar()
{
    if (m_lock.isHeld() && !m_lock.key().isEmpty())
        ChangeRecording::checkpoint(m_lock.key());
}
