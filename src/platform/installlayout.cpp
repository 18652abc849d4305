#include "platform/installlayout.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace installlayout {

QString helperProgram(const QString& programDir, const QString& name)
{
    const QDir dir(programDir);
    for (const QString& candidate : {dir.filePath(QStringLiteral("../libexec/quorvane/") + name), dir.filePath(name)}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return QStandardPaths::findExecutable(name);
}

QString dataFile(const QString& programDir, const QString& relative)
{
    const QFileInfo info(QDir(programDir).filePath(QStringLiteral("../share/quorvane/") + relative));
    return info.exists() ? QDir::cleanPath(info.absoluteFilePath()) : QString();
}

} // namespace installlayout
