#include "platform/filestamp.h"

#include "platform/filereading.h"

#include <QFile>
#include <QHashFunctions>

#include <sys/stat.h>

namespace {

// Any file the program stamps is one it reads whole: a zone file is the largest.
constexpr qint64 kLargestStamped = ReadLimit::kZoneFile;

// Any seed but zero lets Qt use the processor's AES instructions where it has them, over twice as fast on a large
// zone; a stamp never leaves the process, so a fixed one does.
constexpr size_t kHashSeed = 0x51ab;

size_t hashOf(const QByteArray& content)
{
    return qHashBits(content.constData(), size_t(content.size()), kHashSeed);
}

FileStamp identityOf(const QString& path)
{
    FileStamp stamp;
    stamp.path = path;
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = quint64(info.st_dev);
    stamp.inode = quint64(info.st_ino);
    stamp.size = qint64(info.st_size);
    stamp.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

bool sameIdentity(const FileStamp& a, const FileStamp& b)
{
    return a.exists == b.exists && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           a.modifiedNs == b.modifiedNs;
}

} // namespace

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp = identityOf(path);
    if (stamp.exists)
        stamp.contentHash = hashOf(readWholeFile(path, kLargestStamped).bytes.value_or(QByteArray()));
    return stamp;
}

FileStamp FileStamp::of(const QString& path, const QByteArray& content)
{
    FileStamp stamp = identityOf(path);
    stamp.contentHash = hashOf(content);
    return stamp;
}

FileStamp FileStamp::beforeReading(const QString& path)
{
    return identityOf(path);
}

void FileStamp::setContent(const QByteArray& content)
{
    contentHash = hashOf(content);
}

bool FileStamp::isCurrent() const
{
    const FileStamp now = identityOf(path);
    if (sameIdentity(now, *this))
        return true;
    if (!now.exists || !exists || now.size != size)
        return false;
    return hashOf(readWholeFile(path, kLargestStamped).bytes.value_or(QByteArray())) == contentHash;
}
