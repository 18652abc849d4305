#include "platform/networkfolder.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/statfs.h>

namespace {

// The magic numbers of <linux/magic.h>; spelt out so that the header need not be present to build.
constexpr quint64 kNfs = 0x6969;
constexpr quint64 kSmb = 0x517B;
constexpr quint64 kCifs = 0xFF534D42;
constexpr quint64 kSmb2 = 0xFE534D42;

QString nearestExistingFolder(const QString& folder)
{
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo(path).isDir() && path != QLatin1String("/"))
        path = QFileInfo(path).absolutePath();
    return path;
}

std::optional<dev_t> deviceOf(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return info.st_dev;
}

// The topmost folder above `path` that is still on the same device: where that file system is mounted.
QString mountPointOf(const QString& path, dev_t device)
{
    QString mount = path;
    while (mount != QLatin1String("/")) {
        const QString parent = QFileInfo(mount).absolutePath();
        if (deviceOf(parent) != device)
            break;
        mount = parent;
    }
    return mount;
}

} // namespace

std::optional<FileSystemInfo> fileSystemOf(const QString& folder)
{
    const QString path = nearestExistingFolder(folder);
    struct statfs info = {};
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    const std::optional<dev_t> device = deviceOf(path);
    if (!device)
        return std::nullopt;
    return FileSystemInfo{quint64(info.f_type) & 0xFFFFFFFFu, mountPointOf(path, *device)};
}

bool isNetworkFileSystemType(quint64 type)
{
    return type == kNfs || type == kSmb || type == kCifs || type == kSmb2;
}

FolderLocation folderLocation(const QString& folder, const FileSystemProbe& probe)
{
    const std::optional<FileSystemInfo> info = probe ? probe(folder) : std::nullopt;
    return info && isNetworkFileSystemType(info->type) ? FolderLocation::Network : FolderLocation::Local;
}
