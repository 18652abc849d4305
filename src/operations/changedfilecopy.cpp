#include "operations/changedfilecopy.h"

#include "platform/filereplacement.h"

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

QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

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

// The copy gets its file's modification time, so that the next pass knows it at a glance. A file changed just
// now gives its copy a time a second earlier instead: the next pass then compares the bytes, and gives the
// copy the file's own time once the file has settled.
void takeTime(const QString& target, const struct stat& source)
{
    struct timespec modified = source.st_mtim;
    if (modified.tv_sec > std::time(nullptr) - kSettledSeconds)
        modified.tv_sec -= 1;
    const struct timespec times[2] = {{0, UTIME_OMIT}, modified};
    ::utimensat(AT_FDCWD, nativePath(target).constData(), times, 0);
}

// Everything written to the folders' file systems reaches the disk, the renamed entries of the folders too.
QStringList flushFolders(const QStringList& folders)
{
    QStringList failures;
    for (const QString& folder : folders) {
        const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::syncfs(fd) != 0 || (::fsync(fd) != 0 && errno != EINVAL))
            failures << folder + QStringLiteral(": the copies could not be forced onto the disk: ") +
                            systemError(errno);
        ::close(fd);
    }
    return failures;
}

} // namespace

ChangedFileCopy::ChangedFileCopy(QList<File> files, Times times) : m_files(std::move(files)), m_times(times) {}

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
    if (::stat(nativePath(file.source).constData(), &source) != 0) {
        m_failures << file.shownName + QStringLiteral(": ") +
                          QStringLiteral("%1 could not be read: %2").arg(file.source, systemError(errno));
        return;
    }
    struct stat target;
    const bool comparable = S_ISREG(source.st_mode) && ::stat(nativePath(file.target).constData(), &target) == 0 &&
                            S_ISREG(target.st_mode) && target.st_size == source.st_size;
    if (comparable && (sameTime(source, target) || sameBytes(file.source, file.target) == true)) {
        if ((target.st_mode & 07777) != (source.st_mode & 07777))
            ::chmod(nativePath(file.target).constData(), source.st_mode & 07777);
        if (m_times == Times::OfSource && !sameTime(source, target))
            takeTime(file.target, source);
        return;
    }
    const FileWriteResult copied = copyFileReplacing(file.source, file.target, FileReplacement::Durability::Unsynced);
    if (!copied.ok) {
        m_failures << file.shownName + QStringLiteral(": ") + copied.errorText;
        return;
    }
    if (m_times == Times::OfSource)
        takeTime(file.target, source);
    ++m_copied;
    const QString folder = QFileInfo(file.target).path();
    if (!m_folders.contains(folder))
        m_folders << folder;
}

bool ChangedFileCopy::flushed(std::chrono::milliseconds wait)
{
    if (m_flushed || m_folders.isEmpty())
        return true;
    if (!m_flush.valid())
        m_flush = std::async(std::launch::async, flushFolders, m_folders);
    if (m_flush.wait_for(wait) != std::future_status::ready)
        return false;
    m_failures << m_flush.get();
    m_flushed = true;
    return true;
}
