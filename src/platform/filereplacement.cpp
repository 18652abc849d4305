#include "platform/filereplacement.h"

#include "platform/filechangenotice.h"
#include "platform/systemtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kCopyChunk = 1 << 16;

bool syncFailed(int fd)
{
    return ::fsync(fd) != 0 && !flushIsPointless(errno);
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

FileReplacement::FileReplacement(QString path, Durability durability)
    : m_path(std::move(path)), m_temporary(temporaryPath(m_path)), m_durability(durability)
{
}

FileReplacement::~FileReplacement()
{
    if (m_fd >= 0)
        cancel();
}

QString FileReplacement::temporaryPath(const QString& path)
{
    const QFileInfo info(path);
    return QDir(info.path()).filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".quorvane-new"));
}

void FileReplacement::setMode(unsigned mode, std::optional<unsigned> owner, std::optional<unsigned> group)
{
    m_mode = mode & 07777;
    m_owner = owner;
    m_group = group;
}

QString FileReplacement::errorText() const
{
    return m_error;
}

void FileReplacement::fail(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("%1 could not be written: %2").arg(m_path, reason);
    removeTemporary();
}

void FileReplacement::removeTemporary()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(nativePath(m_temporary).constData());
}

bool FileReplacement::open()
{
    const QByteArray temporary = nativePath(m_temporary);
    struct stat old;
    const bool replacesFile = ::lstat(nativePath(m_path).constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacesFile && !m_mode)
        setMode(old.st_mode, old.st_uid, old.st_gid);
    // Until it is complete the new content is the owner's alone, in case the old file was private.
    const mode_t creation = m_mode ? 0600 : 0666;
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, creation);
        if (m_fd >= 0)
            break;
        if (errno != EEXIST) {
            fail(systemError(errno));
            return false;
        }
        // A temporary nobody holds is what a crashed writer left; one that is held is being written right now.
        const int leftover = ::open(temporary.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (leftover >= 0 && ::flock(leftover, LOCK_EX | LOCK_NB) != 0) {
            ::close(leftover);
            fail(QStringLiteral("another program is writing it at this moment"));
            return false;
        }
        ::unlink(temporary.constData());
        if (leftover >= 0)
            ::close(leftover);
    }
    if (m_fd < 0) {
        fail(systemError(EEXIST));
        return false;
    }
    ::flock(m_fd, LOCK_EX | LOCK_NB);
    return true;
}

bool FileReplacement::write(const char* data, qint64 size)
{
    if (m_fd < 0)
        return false;
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error is a full disk all the same.
            fail(written < 0 ? systemError(errno) : systemError(ENOSPC));
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

FileWriteResult FileReplacement::commit()
{
    if (m_fd < 0) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("%1 could not be written: it was not opened").arg(m_path);
        return {false, m_error};
    }
    if (m_mode)
        ::fchmod(m_fd, mode_t(*m_mode));
    // Only a privileged process can give a file away; any other keeps at most the group (one it belongs to), and
    // otherwise the file stays the writer's own.
    if (m_owner || m_group) {
        const uid_t owner = m_owner ? uid_t(*m_owner) : uid_t(-1);
        const gid_t group = m_group ? gid_t(*m_group) : gid_t(-1);
        const bool given = ::fchown(m_fd, owner, group) == 0;
        [[maybe_unused]] const bool grouped = given || !m_group || ::fchown(m_fd, uid_t(-1), group) == 0;
    }
    // After the mode and owner, so that the flush carries them too.
    if (m_durability == Durability::Synced && syncFailed(m_fd)) {
        fail(systemError(errno));
        return {false, m_error};
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(nativePath(m_temporary).constData());
        m_error = QStringLiteral("%1 could not be written: %2").arg(m_path, systemError(error));
        return {false, m_error};
    }
    announceFileChange(m_path);
    if (::rename(nativePath(m_temporary).constData(), nativePath(m_path).constData()) != 0) {
        const int error = errno;
        ::unlink(nativePath(m_temporary).constData());
        m_error = QStringLiteral("%1 could not be written: %2").arg(m_path, systemError(error));
        return {false, m_error};
    }
    if (m_durability == Durability::Synced)
        syncFolder(QFileInfo(m_path).path());
    return {};
}

void FileReplacement::cancel()
{
    removeTemporary();
}

FileWriteResult replaceFile(const QString& path, const QByteArray& bytes, FileReplacement::Durability durability)
{
    FileReplacement file(path, durability);
    if (file.open())
        file.write(bytes);
    return file.commit();
}

FileWriteResult copyFileReplacing(const QString& source, const QString& target, FileReplacement::Durability durability,
                                  FinalLinks sourceLinks)
{
    const auto unreadable = [&source](int error) {
        return FileWriteResult{false, QStringLiteral("%1 could not be read: %2").arg(source, systemError(error))};
    };
    // Not blocking on open: a pipe in place of the file would otherwise wait for a writer for ever.
    const int noFollow = sourceLinks == FinalLinks::Refuse ? O_NOFOLLOW : 0;
    const int in = ::open(nativePath(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow);
    if (in < 0 && errno == ELOOP && noFollow)
        return FileWriteResult{
            false,
            QStringLiteral("%1 could not be read: it is a symbolic link, which is not followed here").arg(source)};
    if (in < 0)
        return unreadable(errno);
    struct stat info;
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
        return FileWriteResult{false, QStringLiteral("%1 could not be read: it is not a file").arg(source)};
    }
    FileReplacement out(target, durability);
    out.setMode(info.st_mode, info.st_uid, info.st_gid);
    if (out.open()) {
        QByteArray chunk(kCopyChunk, Qt::Uninitialized);
        for (;;) {
            ssize_t got;
            do {
                got = ::read(in, chunk.data(), size_t(chunk.size()));
            } while (got < 0 && errno == EINTR);
            if (got < 0) {
                const int error = errno;
                ::close(in);
                out.cancel();
                return unreadable(error);
            }
            if (got == 0 || !out.write(chunk.constData(), got))
                break;
        }
    }
    ::close(in);
    return out.commit();
}
