#include "support/smalltmpfs.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const char* kFiller = ".filler";

} // namespace

SmallTmpfs::SmallTmpfs(qint64 sizeBytes)
{
    if (::geteuid() != 0) {
        m_why = QStringLiteral("mounting a small tmpfs needs root");
        return;
    }
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder to mount on");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0755";
    if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                options.constData()) != 0) {
        m_why =
            QStringLiteral("the system refused to mount a tmpfs: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

SmallTmpfs::~SmallTmpfs()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

qint64 SmallTmpfs::pageSize()
{
    return ::sysconf(_SC_PAGESIZE);
}

qint64 SmallTmpfs::freePages() const
{
    struct statvfs info;
    if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize) / pageSize();
}

bool SmallTmpfs::leaveFree(int pages)
{
    release();
    const QByteArray filler = QFile::encodeName(m_dir.filePath(QString::fromLatin1(kFiller)));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray page(int(pageSize()), 'x');
    qint64 size = 0;
    for (;;) {
        const ssize_t written = ::write(fd, page.constData(), size_t(page.size()));
        if (written <= 0)
            break;
        size += written;
    }
    // Only whole pages are taken back, so exactly that many come free.
    size -= size % pageSize();
    const bool cut = ::ftruncate(fd, size - pages * pageSize()) == 0;
    ::close(fd);
    return cut && freePages() == pages;
}

void SmallTmpfs::release()
{
    QFile::remove(m_dir.filePath(QString::fromLatin1(kFiller)));
}
