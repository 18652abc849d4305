#include "platform/filereading.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileReadResult refused(FileReadResult::Problem problem, const QString& text)
{
    FileReadResult result;
    result.errorText = text;
    result.problem = problem;
    return result;
}

FileReadResult tooLarge(const QString& path, qint64 limit)
{
    const QString size = limit >= ReadLimit::kMegabyte ? QStringLiteral("%1 MB").arg(limit / ReadLimit::kMegabyte)
                                                       : QStringLiteral("%1 bytes").arg(limit);
    return refused(FileReadResult::Problem::TooLarge,
                   QStringLiteral("%1 is larger than %2, so it was not read.").arg(path, size));
}

FileReadResult unreadable(const QString& path, int error)
{
    return refused(FileReadResult::Problem::Unreadable,
                   QStringLiteral("%1 could not be read: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

FileReadResult readWholeFile(const QString& path, qint64 limit, FinalLinks links)
{
    // Opened without blocking, so that a pipe without a writer is seen for what it is instead of waited on.
    const int noFollow = links == FinalLinks::Refuse ? O_NOFOLLOW : 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT)
            return refused(FileReadResult::Problem::Missing, QStringLiteral("%1 does not exist.").arg(path));
        if (error == ELOOP && noFollow)
            return refused(FileReadResult::Problem::Link,
                           QStringLiteral("%1 is a symbolic link, which Quorvane does not follow here, so it was not "
                                          "read.")
                               .arg(path));
        return unreadable(path, error);
    }
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return refused(FileReadResult::Problem::NotRegular,
                       QStringLiteral("%1 is not a regular file, so it was not read.").arg(path));
    }
    if (info.st_size > limit) {
        ::close(fd);
        return tooLarge(path, limit);
    }
    // Read straight into the buffer, sized for the file and one byte more, so that the end is seen without
    // growing it; a file that grows meanwhile grows it in steps.
    constexpr qsizetype kGrowth = 1 << 16;
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(filled + kGrowth);
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return unreadable(path, error);
        }
        if (got == 0)
            break;
        filled += got;
        // A file that grows while it is read is held to the same limit.
        if (filled > limit) {
            ::close(fd);
            return tooLarge(path, limit);
        }
    }
    bytes.truncate(filled);
    ::close(fd);
    FileReadResult result;
    result.bytes = std::move(bytes);
    return result;
}
