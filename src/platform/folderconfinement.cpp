#include "platform/folderconfinement.h"

#include "platform/systemtext.h"

#include <QDir>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Deeper than any real folder; it only ends a walk through a name made to be endless.
constexpr int kDeepest = 256;
// As many links in a row as the system itself follows.
constexpr int kMostLinks = 40;

std::optional<QString> realPath(const QString& path)
{
    char resolved[PATH_MAX];
    if (!::realpath(nativePath(path).constData(), resolved))
        return std::nullopt;
    return QFile::decodeName(resolved);
}

// The path made absolute without taking ".." apart by its letters: after a link, ".." is the link target's parent.
QString absolute(const QString& path)
{
    if (path.startsWith(QLatin1Char('/')))
        return path;
    return QDir::currentPath() + QLatin1Char('/') + path;
}

bool isLink(const QString& path)
{
    struct stat info;
    return ::lstat(nativePath(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool exists(const QString& path)
{
    struct stat info;
    return ::lstat(nativePath(path).constData(), &info) == 0;
}

} // namespace

FolderConfinement::FolderConfinement(const QStringList& folders)
{
    for (const QString& folder : folders) {
        if (folder.trimmed().isEmpty())
            continue;
        const QString path = realPath(folder).value_or(QDir::cleanPath(absolute(folder)));
        if (!m_folders.contains(path))
            m_folders << path;
    }
}

bool FolderConfinement::holds(const QString& resolvedPath) const
{
    for (const QString& folder : m_folders) {
        if (folder == QLatin1String("/") || resolvedPath == folder ||
            (resolvedPath.startsWith(folder) && resolvedPath.at(folder.size()) == QLatin1Char('/')))
            return true;
    }
    return false;
}

std::optional<QString> FolderConfinement::resolvedFolder(const QString& folder, int depth) const
{
    if (const auto cached = m_resolved.constFind(folder); cached != m_resolved.constEnd())
        return *cached;
    std::optional<QString> result = realPath(folder);
    // A folder not made yet lies where its parent lies; a link that leads nowhere, or one it cannot follow, leads
    // nowhere that could be checked.
    if (!result && depth < kDeepest && !exists(folder)) {
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        const QString name = folder.mid(slash + 1);
        const QString parent = slash <= 0 ? QStringLiteral("/") : folder.left(slash);
        if (slash >= 0 && name != QLatin1String("..")) {
            if (const std::optional<QString> above = resolvedFolder(parent, depth + 1)) {
                if (name.isEmpty() || name == QLatin1String("."))
                    result = above;
                else
                    result = (*above == QLatin1String("/") ? QString() : *above) + QLatin1Char('/') + name;
            }
        }
    }
    m_resolved.insert(folder, result);
    return result;
}

std::optional<QString> FolderConfinement::resolve(const QString& path, FinalLink link) const
{
    return resolveLinks(path, link, 0);
}

std::optional<QString> FolderConfinement::resolveLinks(const QString& path, FinalLink link, int depth) const
{
    if (path.isEmpty() || m_folders.isEmpty() || depth > kMostLinks)
        return std::nullopt;
    const QString full = absolute(path);
    const qsizetype slash = full.lastIndexOf(QLatin1Char('/'));
    const QString name = full.mid(slash + 1);
    // A name that stands for a folder names no file.
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return std::nullopt;
    const std::optional<QString> folder = resolvedFolder(slash == 0 ? QStringLiteral("/") : full.left(slash));
    if (!folder)
        return std::nullopt;
    const QString entry = (*folder == QLatin1String("/") ? QString() : *folder) + QLatin1Char('/') + name;
    if (link == FinalLink::Follow && isLink(entry)) {
        if (const std::optional<QString> target = realPath(entry))
            return holds(*target) ? target : std::nullopt;
        // A link to a file not made yet (a secondary zone's copy before its first transfer) leads where its text
        // says, followed the same way.
        char text[PATH_MAX];
        const ssize_t size = ::readlink(nativePath(entry).constData(), text, sizeof text - 1);
        if (size <= 0)
            return std::nullopt;
        const QString target = QFile::decodeName(QByteArray(text, size));
        return resolveLinks(target.startsWith(QLatin1Char('/')) ? target : *folder + QLatin1Char('/') + target,
                            FinalLink::Follow, depth + 1);
    }
    if (!holds(entry))
        return std::nullopt;
    return entry;
}

QString outsideFolderText(const QString& path, const QString& dataDirectory)
{
    return QStringLiteral("%1 lies outside the data directory %2").arg(path, dataDirectory);
}
