#include "bootfile/rootcache.h"

#include "bootfile/bootlines.h"
#include "bootfile/filenameindex.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"

#include <QDir>
#include <QFile>

namespace {

const QString kCacheDns = QStringLiteral("cache.dns");

bool saveBytes(const QString& path, const QByteArray& bytes, QString* errorText)
{
    const FileWriteResult written = replaceFile(path, bytes);
    if (written.ok)
        return true;
    if (errorText)
        *errorText = QStringLiteral("The root cache file ") + written.errorText;
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
        const FileWriteResult copied = copyFileReplacing(folder.filePath(*named), target);
        if (!copied.ok && errorText)
            *errorText = QStringLiteral("The root cache file ") + copied.errorText;
        return copied.ok;
    }
    return saveBytes(target, rootCacheBytes(rootCacheText), errorText);
}
