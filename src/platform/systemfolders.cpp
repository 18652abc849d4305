#include "platform/systemfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

QString resolved(const QString& folder)
{
    const QFileInfo info(folder);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool isInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

bool isSystemFolder(const QString& folder)
{
    static const QStringList topLevel = {QStringLiteral("/"),      QStringLiteral("/etc"),   QStringLiteral("/usr"),
                                         QStringLiteral("/bin"),   QStringLiteral("/sbin"),  QStringLiteral("/lib"),
                                         QStringLiteral("/lib32"), QStringLiteral("/lib64"), QStringLiteral("/libx32"),
                                         QStringLiteral("/boot"),  QStringLiteral("/dev"),   QStringLiteral("/proc"),
                                         QStringLiteral("/sys"),   QStringLiteral("/run"),   QStringLiteral("/var"),
                                         QStringLiteral("/home"),  QStringLiteral("/root")};
    static const QStringList virtualFolders = {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev")};
    if (folder.trimmed().isEmpty())
        return false;
    const QString path = resolved(folder);
    for (const QString& system : topLevel) {
        // On a merged system /bin is a link to /usr/bin: both spellings are the system's.
        if (path == system || path == resolved(system))
            return true;
    }
    for (const QString& system : virtualFolders) {
        if (isInside(path, system))
            return true;
    }
    const QString home = resolved(QDir::homePath());
    return path == home || QFileInfo(path).path() == QLatin1String("/home");
}

bool isAllowedDataDirectory(const QString& folder, const QStringList& permitted)
{
    // The system's own trees, at any depth.
    static const QStringList systemTrees = {
        QStringLiteral("/etc"),    QStringLiteral("/usr"),  QStringLiteral("/var"),   QStringLiteral("/bin"),
        QStringLiteral("/sbin"),   QStringLiteral("/lib"),  QStringLiteral("/lib32"), QStringLiteral("/lib64"),
        QStringLiteral("/libx32"), QStringLiteral("/boot"), QStringLiteral("/dev"),   QStringLiteral("/proc"),
        QStringLiteral("/sys"),    QStringLiteral("/run"),  QStringLiteral("/snap")};
    // Folders that hold other folders of every kind, but are none of their own.
    static const QStringList sharedRoots = {QStringLiteral("/tmp"), QStringLiteral("/srv"), QStringLiteral("/opt"),
                                            QStringLiteral("/mnt"), QStringLiteral("/media")};
    if (folder.trimmed().isEmpty())
        return false;
    const QString path = resolved(folder);
    for (const QString& allowed : permitted) {
        if (!allowed.trimmed().isEmpty() && isInside(path, resolved(allowed)))
            return true;
    }
    if (isSystemFolder(path))
        return false;
    for (const QString& tree : systemTrees) {
        if (isInside(path, tree) || isInside(path, resolved(tree)))
            return false;
    }
    for (const QString& shared : sharedRoots) {
        if (path == shared || path == resolved(shared))
            return false;
    }
    return true;
}

QString systemFolderRefusal(const QString& folder)
{
    return QStringLiteral("%1 is a system folder. Quorvane does not keep a server's data files there; please choose "
                          "the server's own data directory.")
        .arg(QDir::toNativeSeparators(folder));
}
