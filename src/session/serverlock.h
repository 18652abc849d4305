#pragma once

#include <QString>
#include <functional>

struct AppState;

// The lock that keeps two Quorvanes (two windows, or a window and the command line) from changing one server at
// the same time, which would lose the changes of one of them without a word. It is a lock file beside the boot
// file, held for the whole of a changing operation. A lock whose process has died (on this machine) is taken
// over; a live one is waited for a little and then named in the refusal.
//
// Holding is per process: an operation that runs inside another one that holds the lock shares the hold, and
// the lock goes when the outermost holder ends. The outermost hold's beginning and end are told to the hooks, for
// whoever follows the changes a hold makes (the server's history).
class ServerLock
{
public:
    static constexpr int kWaitMs = 5000;

    // The server whose boot file (or named.conf: the server file) lies in the folder; without a folder (none given, or
    // none there) there is no server file to protect and the lock counts as held.
    ServerLock(const QString& bootDirectory, const QString& serverName, int waitMs = kWaitMs,
               const QString& serverFile = QString());
    // The loaded server, for a change of what this program has read of it: refused as well when its boot file
    // was changed by another program since it was read.
    explicit ServerLock(const AppState& state, int waitMs = kWaitMs);
    ServerLock(ServerLock&& other) noexcept;
    ServerLock(const ServerLock&) = delete;
    ServerLock& operator=(const ServerLock&) = delete;
    ServerLock& operator=(ServerLock&&) = delete;
    ~ServerLock();

    bool isHeld() const { return m_held; }
    // Whether this holder took the lock rather than sharing an outer holder's.
    bool isOutermost() const { return m_outermost; }
    // Why the lock could not be taken.
    const QString& errorText() const { return m_error; }

    // The lock file this object holds a share of; empty when it holds none.
    const QString& key() const { return m_key; }

    // The lock file beside the server file: "named.boot.lock" unless another server file is named.
    static QString lockFilePath(const QString& bootDirectory, const QString& serverFile = QString());

    // What an outermost hold tells: that it began (with the lock file and the server's boot directory), and that it
    // is about to end, while the lock is still held and counted. One set for the process.
    struct Hooks
    {
        std::function<void(const QString& key, const QString& bootDirectory)> begun;
        std::function<void(const QString& key)> ending;
    };
    static void setHooks(Hooks hooks);

private:
    void release();

    QString m_key; // the lock file this object holds a share of; empty when none
    bool m_held = false;
    bool m_outermost = false;
    QString m_error;
};
