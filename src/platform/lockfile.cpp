#include "platform/lockfile.h"

#include "platform/filereading.h"
#include "platform/systemtext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kLockLimit = 4096;

// The start of a process in clock ticks since the machine's boot: with the process number it names one process,
// while a number alone may be taken again by another. Empty when it cannot be read.
QByteArray startTicks(qint64 pid)
{
    const FileReadResult stat = readWholeFile(QStringLiteral("/proc/%1/stat").arg(pid), kLockLimit);
    if (!stat.ok())
        return {};
    // The program name in parentheses may hold blanks; the fields after it are counted from its end.
    const qsizetype end = stat.bytes->lastIndexOf(')');
    if (end < 0)
        return {};
    const QList<QByteArray> fields = stat.bytes->mid(end + 2).split(' ');
    // Field 22 of the whole line, the 20th after the name.
    return fields.size() > 19 ? fields.at(19) : QByteArray();
}

QByteArray programName()
{
    const QByteArray name = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8();
    return name.isEmpty() ? QByteArray("quorvane") : name;
}

bool processAlive(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

struct LockInfo
{
    qint64 pid = 0;
    QByteArray program;
    QByteArray host;
    QByteArray machine;
    QByteArray boot;
    QByteArray start;
};

std::optional<LockInfo> parse(const QByteArray& bytes)
{
    if (!bytes.endsWith('\n'))
        return std::nullopt;
    const QList<QByteArray> lines = bytes.left(bytes.size() - 1).split('\n');
    if (lines.size() < 3)
        return std::nullopt;
    bool number = false;
    LockInfo info;
    info.pid = lines.at(0).toLongLong(&number);
    if (!number || info.pid <= 0)
        return std::nullopt;
    info.program = lines.at(1);
    info.host = lines.at(2);
    info.machine = lines.value(3);
    info.boot = lines.value(4);
    if (lines.value(5).startsWith("start "))
        info.start = lines.at(5).mid(6);
    return info;
}

} // namespace

LockFile::LockFile(QString path) : m_path(std::move(path)) {}

LockFile::~LockFile()
{
    unlock();
}

QByteArray LockFile::content()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QByteArray::number(pid) + '\n' + programName() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n' +
           QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n' + "start " + startTicks(pid) + '\n';
}

std::optional<bool> LockFile::createUnnamed(const QByteArray& text)
{
    const int fd =
        ::open(nativePath(QFileInfo(m_path).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
            return std::nullopt;
        m_error = errno == EACCES || errno == EPERM || errno == EROFS ? Error::Permission : Error::Unknown;
        return false;
    }
    struct stat info;
    if (::write(fd, text.constData(), size_t(text.size())) != ssize_t(text.size()) || ::fstat(fd, &info) != 0) {
        ::close(fd);
        m_error = Error::Unknown;
        return false;
    }
    // Named only now, whole; a link never replaces a lock that is there.
    const QByteArray unnamed = "/proc/self/fd/" + QByteArray::number(fd);
    const int linked =
        ::linkat(AT_FDCWD, unnamed.constData(), AT_FDCWD, nativePath(m_path).constData(), AT_SYMLINK_FOLLOW);
    const int error = errno;
    ::close(fd);
    if (linked != 0) {
        // Without /proc, or on a file system without links, the lock is made the other way.
        if (error == ENOENT || error == EPERM || error == ENOSYS || error == EOPNOTSUPP)
            return std::nullopt;
        if (error != EEXIST)
            m_error = error == EACCES || error == EROFS ? Error::Permission : Error::Unknown;
        return false;
    }
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_content = text;
    return true;
}

bool LockFile::create()
{
    if (const std::optional<bool> made = createUnnamed(content()))
        return *made;
    const QByteArray lock = nativePath(m_path);
    const QByteArray whole = lock + ".new." + QByteArray::number(QCoreApplication::applicationPid());
    // A file of that name is this process's own, or one a process of the same number left when it was ended.
    ::unlink(whole.constData());
    const int fd = ::open(whole.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error = errno == EACCES || errno == EPERM || errno == EROFS ? Error::Permission : Error::Unknown;
        return false;
    }
    const QByteArray text = content();
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == ssize_t(text.size());
    struct stat info;
    const bool known = ::fstat(fd, &info) == 0;
    if (::close(fd) != 0 || !written || !known) {
        ::unlink(whole.constData());
        m_error = Error::Unknown;
        return false;
    }
    // Linked rather than renamed: a link never replaces a lock that is there.
    int linked = ::link(whole.constData(), lock.constData());
    const int linkError = errno;
    if (linked != 0 && (linkError == EPERM || linkError == ENOSYS || linkError == EOPNOTSUPP)) {
        // A file system without hard links: the lock is made in its place, its lines written at once.
        const int direct = ::open(lock.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        const int directError = errno;
        ::unlink(whole.constData());
        if (direct < 0) {
            if (directError != EEXIST)
                m_error = directError == EACCES || directError == EROFS ? Error::Permission : Error::Unknown;
            return false;
        }
        const bool complete = ::write(direct, text.constData(), size_t(text.size())) == ssize_t(text.size());
        ::fstat(direct, &info);
        ::close(direct);
        if (!complete) {
            ::unlink(lock.constData());
            m_error = Error::Unknown;
            return false;
        }
        linked = 0;
    } else {
        ::unlink(whole.constData());
    }
    if (linked != 0) {
        if (linkError != EEXIST)
            m_error = linkError == EACCES || linkError == EROFS ? Error::Permission : Error::Unknown;
        return false;
    }
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_content = text;
    return true;
}

LockFile::Verdict LockFile::judge(struct stat* judged)
{
    if (::lstat(nativePath(m_path).constData(), judged) != 0)
        return Verdict::Gone;
    const FileReadResult read = readWholeFile(m_path, kLockLimit, FinalLinks::Refuse);
    if (read.problem == FileReadResult::Problem::Missing)
        return Verdict::Gone;
    const std::optional<LockInfo> info = read.ok() ? parse(*read.bytes) : std::nullopt;
    if (!info)
        return Verdict::Unreadable;
    m_holder = Holder{info->pid, QString::fromUtf8(info->host)};
    const bool sameMachine = !info->machine.isEmpty() && info->machine == QSysInfo::machineUniqueId();
    if (!sameMachine && info->host != QSysInfo::machineHostName().toUtf8())
        return Verdict::Live;
    if (!info->boot.isEmpty() && !QSysInfo::bootUniqueId().isEmpty() && info->boot != QSysInfo::bootUniqueId())
        return Verdict::Dead;
    if (!processAlive(info->pid))
        return Verdict::Dead;
    // The number may since have gone to another process.
    if (!info->start.isEmpty()) {
        const QByteArray now = startTicks(info->pid);
        if (!now.isEmpty() && now != info->start)
            return Verdict::Dead;
    }
    return Verdict::Live;
}

QByteArray LockFile::guardPath() const
{
    return nativePath(m_path) + ".rmlock";
}

void LockFile::clearStaleGuard() const
{
    // Left by a process ended while it removed a stale lock: with the lock held, no remover is at work.
    struct stat info;
    const QByteArray guard = guardPath();
    if (::lstat(guard.constData(), &info) == 0 && ::time(nullptr) - info.st_mtime > kUnreadableStaleSeconds)
        ::unlink(guard.constData());
}

bool LockFile::removeStale(const struct stat& judged)
{
    // One remover at a time, so that a lock another process has just made in place of the stale one stays.
    const QByteArray guard = guardPath();
    const int fd = ::open(guard.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        struct stat info;
        if (errno == EEXIST && ::lstat(guard.constData(), &info) == 0 &&
            ::time(nullptr) - info.st_mtime > kUnreadableStaleSeconds)
            ::unlink(guard.constData());
        return false;
    }
    struct stat now;
    bool removed = false;
    // The same file as judged: a file number alone may have been given again to a lock made meanwhile.
    if (::lstat(nativePath(m_path).constData(), &now) == 0 && now.st_dev == judged.st_dev &&
        now.st_ino == judged.st_ino && now.st_mtim.tv_sec == judged.st_mtim.tv_sec &&
        now.st_mtim.tv_nsec == judged.st_mtim.tv_nsec && now.st_size == judged.st_size)
        removed = ::unlink(nativePath(m_path).constData()) == 0;
    ::close(fd);
    ::unlink(guard.constData());
    return removed;
}

bool LockFile::tryLock(int waitMs)
{
    if (m_locked)
        return true;
    QDeadlineTimer deadline(std::max(waitMs, 0));
    int pause = 10;
    for (;;) {
        m_error = Error::None;
        if (create()) {
            m_locked = true;
            m_holder.reset();
            clearStaleGuard();
            return true;
        }
        if (m_error != Error::None)
            return false;
        struct stat judged = {};
        switch (judge(&judged)) {
        case Verdict::Gone:
            if (!deadline.hasExpired())
                continue;
            break;
        case Verdict::Dead:
            if (removeStale(judged))
                continue;
            break;
        case Verdict::Unreadable: {
            const qint64 age = qint64(::time(nullptr)) - qint64(judged.st_mtime);
            if (age > kUnreadableStaleSeconds && removeStale(judged)) {
                m_takenOver =
                    QStringLiteral("The lock file %1 %2 and was %3 seconds old: a Quorvane that was ended left it "
                                   "behind. It has been taken over.")
                        .arg(m_path, judged.st_size == 0 && S_ISREG(judged.st_mode)
                                         ? QStringLiteral("was empty")
                                         : QStringLiteral("could not be read as a lock"))
                        .arg(age);
                m_holder.reset();
                continue;
            }
            break;
        }
        case Verdict::Live:
            break;
        }
        if (deadline.hasExpired()) {
            m_error = Error::Busy;
            return false;
        }
        QThread::msleep(std::min<qint64>(pause, std::max<qint64>(deadline.remainingTime(), 1)));
        pause = std::min(pause * 2, 100);
    }
}

void LockFile::unlock()
{
    if (!m_locked)
        return;
    m_locked = false;
    // Only the lock this object made: one that replaced it after it was taken over is another holder's, even when
    // the file system gave it the same file number again.
    struct stat now;
    if (::lstat(nativePath(m_path).constData(), &now) != 0 || now.st_dev != m_device || now.st_ino != m_inode)
        return;
    if (readWholeFile(m_path, kLockLimit, FinalLinks::Refuse).bytes == m_content)
        ::unlink(nativePath(m_path).constData());
}
