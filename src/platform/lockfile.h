#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

// A lock file that names its holder from its first byte on: the holder's process number, program, host, machine
// and boot, and the start time of its process are written to a file of their own and only then linked into the
// lock's place, so that a holder killed at any moment leaves either no lock or a whole one. The lines are those
// Qt's lock files hold, so that older versions of the program read them as well.
//
// A lock in the way is judged by what it holds: one of a live process waits; one whose process is gone from this
// machine (or from this boot of it, or whose number another process has taken since) is taken over at once; one
// held on another host is never taken over. A lock that cannot be read as one (empty, cut short, no regular file)
// is taken over once it is older than a few seconds, and takenOver() then says which file it was.
class LockFile
{
public:
    static constexpr int kUnreadableStaleSeconds = 3;

    enum class Error
    {
        None,
        Busy,
        Permission,
        Unknown,
    };
    struct Holder
    {
        qint64 pid = 0;
        QString host;
    };

    explicit LockFile(QString path);
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Tries for up to waitMs milliseconds (at least once).
    bool tryLock(int waitMs);
    void unlock();
    bool isLocked() const { return m_locked; }

    Error error() const { return m_error; }
    // The holder of the lock that was in the way, when it could be read.
    const std::optional<Holder>& holder() const { return m_holder; }
    // What was taken over that the user should hear of; empty when nothing was.
    const QString& takenOver() const { return m_takenOver; }

    // The lines a lock of this process holds.
    static QByteArray content();

private:
    enum class Verdict
    {
        Gone,       // no lock there any more
        Live,       // held by a live process, here or on another host
        Dead,       // its process is gone: taken over without a word
        Unreadable, // not a lock that can be read: taken over once old enough
    };
    bool create();
    // Made as a file without a name, then linked in place; none where the system cannot make one.
    std::optional<bool> createUnnamed(const QByteArray& text);
    QByteArray guardPath() const;
    void clearStaleGuard() const;
    Verdict judge(struct stat* judged);
    bool removeStale(const struct stat& judged);

    QString m_path;
    bool m_locked = false;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QByteArray m_content;
    Error m_error = Error::None;
    std::optional<Holder> m_holder;
    QString m_takenOver;
};
