#include "platform/platform.h"

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
