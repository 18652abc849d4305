#include "session/serverlock.h"

#include "bootfile/bootconfig.h"
#include "platform/lockfile.h"
#include "platform/notices.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>
#include <map>
#include <memory>
#include <utility>

namespace {

struct Hold
{
    std::unique_ptr<LockFile> file;
    int count = 0;
};

// A lock file can be taken only once per process: a second one on it would see the process's own lock.
// So the holds of one process are counted here, one entry per lock file.
std::map<QString, Hold>& processHolds()
{
    static std::map<QString, Hold> holds;
    return holds;
}

ServerLock::Hooks& hooks()
{
    static ServerLock::Hooks installed;
    return installed;
}

QString serverWording(const QString& serverName, const QString& bootDirectory)
{
    return serverName.isEmpty() ? QStringLiteral("The server in %1").arg(QDir::toNativeSeparators(bootDirectory))
                                : QStringLiteral("The server %1").arg(serverName);
}

QString busyText(const LockFile& file, const QString& server, const QString& key)
{
    if (!file.holder())
        return QStringLiteral("%1 is being changed by another Quorvane (its lock file %2 is being written). Try "
                              "again when it has finished.")
            .arg(server, QDir::toNativeSeparators(key));
    return QStringLiteral("%1 is being changed by another Quorvane (pid %2 on %3). Try again when it has finished.")
        .arg(server)
        .arg(file.holder()->pid)
        .arg(file.holder()->host);
}

} // namespace

QString ServerLock::lockFilePath(const QString& bootDirectory, const QString& serverFile)
{
    return QDir(bootDirectory)
        .filePath((serverFile.isEmpty() ? BootConfig::fileName() : serverFile) + QStringLiteral(".lock"));
}

ServerLock::ServerLock(const AppState& state, int waitMs)
    : ServerLock(state.boot.bootDirectory, state.servername, waitMs, state.boot.bootFileName)
{
    const FileStamp& read = state.boot.fileStamp;
    const QString bootFile =
        QDir(state.boot.bootDirectory)
            .filePath(state.boot.bootFileName.isEmpty() ? BootConfig::fileName() : state.boot.bootFileName);
    if (!m_held || state.boot.bootDirectory.isEmpty() || read.path != bootFile || read.isCurrent())
        return;
    // What this program holds of the server is older than its boot file: changing it would undo that change.
    release();
    m_error = QStringLiteral("The boot file %1 was changed by another program since it was read, so nothing was "
                             "changed. Select the server again to read it anew.")
                  .arg(QDir::toNativeSeparators(bootFile));
}

ServerLock::ServerLock(const QString& bootDirectory, const QString& serverName, int waitMs, const QString& serverFile)
{
    // One folder reached by two spellings is still one server.
    const QFileInfo folder(bootDirectory);
    // Where there is no folder there is no file to protect either: whatever needs one says so itself.
    if (bootDirectory.isEmpty() || !folder.isDir()) {
        m_held = true;
        return;
    }
    const QString canonical = folder.canonicalFilePath();
    const QString key = lockFilePath(canonical.isEmpty() ? folder.absoluteFilePath() : canonical, serverFile);
    Hold& hold = processHolds()[key];
    if (hold.count > 0) {
        ++hold.count;
        m_key = key;
        m_held = true;
        return;
    }
    // A lock is stale only when its process is gone (or it never got its holder's lines): a long reverse run must
    // not lose it to a clock.
    auto file = std::make_unique<LockFile>(key);
    const bool locked = file->tryLock(waitMs);
    if (!file->takenOver().isEmpty())
        Notices::post(file->takenOver());
    if (locked) {
        hold.file = std::move(file);
        hold.count = 1;
        m_key = key;
        m_held = true;
        m_outermost = true;
        if (hooks().begun)
            hooks().begun(key, folder.absoluteFilePath());
        return;
    }
    processHolds().erase(key);
    const QString server = serverWording(serverName, bootDirectory);
    switch (file->error()) {
    case LockFile::Error::Busy:
        m_error = busyText(*file, server, key);
        break;
    case LockFile::Error::Permission:
        m_error = QStringLiteral("%1 cannot be changed: its lock file %2 could not be made (no permission).")
                      .arg(server, QDir::toNativeSeparators(key));
        break;
    case LockFile::Error::None:
    case LockFile::Error::Unknown:
        m_error = QStringLiteral("%1 cannot be changed: its lock file %2 could not be made.")
                      .arg(server, QDir::toNativeSeparators(key));
        break;
    }
}

void ServerLock::setHooks(Hooks installed)
{
    hooks() = std::move(installed);
}

ServerLock::ServerLock(ServerLock&& other) noexcept
    : m_key(std::move(other.m_key)), m_held(other.m_held), m_outermost(other.m_outermost),
      m_error(std::move(other.m_error))
{
    other.m_key.clear();
    other.m_held = false;
}

ServerLock::~ServerLock()
{
    release();
}

void ServerLock::release()
{
    m_held = false;
    if (m_key.isEmpty())
        return;
    const QString key = std::exchange(m_key, QString());
    auto& holds = processHolds();
    const auto found = holds.find(key);
    if (found == holds.end())
        return;
    if (found->second.count > 1) {
        --found->second.count;
        return;
    }
    // Still under the lock and still counted as held: the revision belongs to the operation that held it, and
    // an operation a timer starts while the window waits for the revision joins this hold rather than taking
    // the lock anew or letting it go.
    if (hooks().ending)
        hooks().ending(key);
    holds.erase(key);
}
