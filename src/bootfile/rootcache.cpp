#include "bootfile/rootcache.h"

#include "bootfile/bootlines.h"
#include "bootfile/filenameindex.h"

#include <QDir>
#include <QFile>

namespace {

const QString kCacheDns = QStringLiteral("cache.dns");

bool saveBytes(const QString& path, const QByteArray& bytes, QString* errorText)
{
    QString reason;
    if (saveWholeFile(path, bytes, &reason))
        return true;
    if (errorText)
        *errorText = QStringLiteral("The root cache file %1 could not be written: %2").arg(path, reason);
    return false;
}

} // namespace

QByteArray rootCacheBytes(const QString& rootCacheText)
{
    if (rootCacheText.isEmpty())
        return {};
    QString text = rootCacheText;
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return crlfLines(lines);
}

bool ensureRootCache(const FileNameIndex& dataFiles, const QString& namedCacheFile, const QString& rootCacheText,
                     QString* errorText)
{
    const QDir folder(dataFiles.folder());
    const QString target = folder.filePath(kCacheDns);
    if (QFile::exists(target))
        return true;
    if (const std::optional<QString> named = dataFiles.find(namedCacheFile)) {
        QFile source(folder.filePath(*named));
        if (!source.open(QIODevice::ReadOnly)) {
            if (errorText)
                *errorText = QStringLiteral("The root cache file %1 could not be read: %2")
                                 .arg(source.fileName(), source.errorString());
            return false;
        }
        return saveBytes(target, source.readAll(), errorText);
    }
    return saveBytes(target, rootCacheBytes(rootCacheText), errorText);
}
