#include "server/changedfilecopy.h"

#include "platform/filereplacement.h"
#include "platform/systemtext.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kCompareChunk = 1 << 16;

bool sameTime(const struct stat& a, const struct stat& b)
{
    return a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Whether the two files hold the same bytes; none when either cannot be read.
std::optional<bool> sameBytes(const QString& first, const QString& second)
{
    QFile a(first);
    QFile b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (;;) {
        const QByteArray left = a.read(kCompareChunk);
        const QByteArray right = b.read(kCompareChunk);
        if (a.error() != QFileDevice::NoError || b.error() != QFileDevice::NoError)
            return std::nullopt;
        if (left != right)
            return false;
        if (left.isEmpty())
            return true;
    }
}

// A file changed this recently may change again within the same tick of the file system's clock, keeping its
// size and time.
constexpr time_t kSettledSeconds = 2;

void setModified(const QByteArray& target, const struct timespec& modified)
{
    const struct timespec times[2] = {{0, UTIME_OMIT}, modified};
    ::utimensat(AT_FDCWD, target.constData(), times, 0);
}

// The copy gets its file's modification time, so that the next pass knows it at a glance. A file changed just
// now gives its copy a time a second earlier instead: the next pass then compares the bytes, and gives the
// copy the file's own time once the file has settled. "Now" is the file system's clock (the copy's change
// time), which on a network file system may differ from this machine's.
void takeTime(const QString& target, const struct stat& source)
{
    const QByteArray path = nativePath(target);
    setModified(path, source.st_mtim);
    struct stat copy;
    if (::stat(path.constData(), &copy) != 0 || source.st_mtim.tv_sec > copy.st_ctim.tv_sec - kSettledSeconds) {
        struct timespec earlier = source.st_mtim;
        earlier.tv_sec -= 1;
        setModified(path, earlier);
    }
}

// Owner and group follow the file where this process may give them (as root); otherwise the copy keeps its own.
void takeOwner(const QString& target, const struct stat& source, const struct stat& copy)
{
    if (copy.st_uid == source.st_uid && copy.st_gid == source.st_gid)
        return;
    const QByteArray path = nativePath(target);
    if (::chown(path.constData(), source.st_uid, source.st_gid) == 0)
        return;
    // Anyone may still give a file of theirs a group they belong to.
    [[maybe_unused]] const int grouped = ::chown(path.constData(), uid_t(-1), source.st_gid);
}

// Everything written to the folders' file systems reaches the disk, the renamed entries of the folders too. A
// folder's descriptor was opened before the first copy went into it, so that a failure to write any of them back
// is reported here, not only one after the flush began.
QStringList flushFolders(const QList<std::pair<QString, int>>& folders)
{
    QStringList failures;
    for (const auto& [folder, fd] : folders) {
        if (fd < 0)
            continue;
        if ((::syncfs(fd) != 0 && !flushIsPointless(errno)) || (::fsync(fd) != 0 && !flushIsPointless(errno)))
            failures << folder + QStringLiteral(": the copies could not be forced onto the disk: ") +
                            systemError(errno);
    }
    return failures;
}

} // namespace

ChangedFileCopy::ChangedFileCopy(QList<File> files, Times times) : m_files(std::move(files)), m_times(times) {}

ChangedFileCopy::~ChangedFileCopy()
{
    if (m_flush.valid())
        m_flush.wait();
    for (const auto& folder : std::as_const(m_folders)) {
        if (folder.second >= 0)
            ::close(folder.second);
    }
}

bool ChangedFileCopy::step(std::chrono::milliseconds budget)
{
    QElapsedTimer timer;
    timer.start();
    do {
        if (m_next >= m_files.size())
            return false;
        bringUpToDate(m_files.at(m_next++));
    } while (timer.elapsed() < budget.count());
    return m_next < m_files.size();
}

void ChangedFileCopy::bringUpToDate(const File& file)
{
    struct stat source;
    const bool follow = file.sourceLinks == FinalLinks::Follow;
    if ((follow ? ::stat : ::lstat)(nativePath(file.source).constData(), &source) != 0) {
        m_failures << file.shownName + QStringLiteral(": ") +
                          QStringLiteral("%1 could not be read: %2").arg(file.source, systemError(errno));
        return;
    }
    if (S_ISLNK(source.st_mode)) {
        m_failures << file.shownName + QStringLiteral(": ") +
                          QStringLiteral("%1 could not be read: it is a symbolic link, which is not followed here")
                              .arg(file.source);
        return;
    }
    struct stat target;
    const bool comparable = S_ISREG(source.st_mode) && ::stat(nativePath(file.target).constData(), &target) == 0 &&
                            S_ISREG(target.st_mode) && target.st_size == source.st_size;
    if (comparable && (sameTime(source, target) || sameBytes(file.source, file.target) == true)) {
        if ((target.st_mode & 07777) != (source.st_mode & 07777))
            ::chmod(nativePath(file.target).constData(), source.st_mode & 07777);
        takeOwner(file.target, source, target);
        if (m_times == Times::OfSource && !sameTime(source, target))
            takeTime(file.target, source);
        return;
    }
    // Copies into the backup folder are forced onto the disk together at the end; a restore writes few files,
    // over the ones the name server serves, and forces each before it takes the file's place.
    const bool together = m_times == Times::OfSource;
    if (together)
        watchFolder(QFileInfo(file.target).path());
    const FileWriteResult copied = copyFileReplacing(
        file.source, file.target,
        together ? FileReplacement::Durability::Unsynced : FileReplacement::Durability::Synced, file.sourceLinks);
    if (!copied.ok) {
        m_failures << file.shownName + QStringLiteral(": ") + copied.errorText;
        return;
    }
    if (together) {
        takeTime(file.target, source);
        m_unflushed << file.target;
    }
    ++m_copied;
}

void ChangedFileCopy::watchFolder(const QString& folder)
{
    for (const auto& watched : std::as_const(m_folders)) {
        if (watched.first == folder)
            return;
    }
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        m_failures << folder + QStringLiteral(": the copies could not be forced onto the disk: ") + systemError(errno);
    m_folders.append({folder, fd});
}

bool ChangedFileCopy::flushed(std::chrono::milliseconds wait)
{
    if (m_flushed || m_unflushed.isEmpty())
        return true;
    if (!m_flush.valid())
        m_flush = std::async(std::launch::async, flushFolders, m_folders);
    if (m_flush.wait_for(wait) != std::future_status::ready)
        return false;
    const QStringList failures = m_flush.get();
    // Copies that may not have reached the disk lose the time that lets the next pass skip them unread.
    if (!failures.isEmpty()) {
        for (const QString& target : std::as_const(m_unflushed))
            setModified(nativePath(target), {0, 0});
    }
    m_failures << failures;
    m_flushed = true;
    return true;
}
