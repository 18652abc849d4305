#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString Platform::shortDateLongTime(const QDateTime& when) const
{
    const QLocale loc = locale();
    return loc.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           loc.toString(when.time(), QLocale::LongFormat);
}

bool isNtFamily(const QString& platformName)
{
    return platformName == QLatin1String("Windows NT") || platformName == QLatin1String("Linux");
}

QString companionProgram(const QString& name, const Platform& platform, const QString& buildPath)
{
    const QString beside = QDir(platform.programPath()).filePath(name);
    if (QFileInfo(beside).isExecutable())
        return beside;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? buildPath : onPath;
}
