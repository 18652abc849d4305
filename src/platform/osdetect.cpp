#include "platform/osdetect.h"

#include "platform/platform.h"

const QStringList& operatingSystemChoices()
{
    static const QStringList list = {QStringLiteral("Windows 95"), QStringLiteral("Windows NT 4.X"),
                                     QStringLiteral("Windows NT 3.X"), QStringLiteral("Windows NT 3.X with Shell")};
    return list;
}

QString noOperatingSystemChosen()
{
    return QStringLiteral("Default Operating System");
}

int effectiveWindowsVersion(const QString& defaultos, const QString& versionText)
{
    if (defaultos == QLatin1String("Windows NT 3.X with Shell"))
        return 4;
    if (defaultos == QLatin1String("Windows NT 3.X"))
        return 3;
    // Only the first character counts, so a two-digit major version reads as its first digit.
    if (versionText.isEmpty() || !versionText.at(0).isDigit())
        return 0;
    return versionText.at(0).digitValue();
}

QString guessDefaultOs(const QString& defaultos, const QString& platformName, const QString& versionText)
{
    QString os = defaultos;
    if (effectiveWindowsVersion(os, versionText) < 4 && isNtFamily(platformName))
        os = QStringLiteral("Windows NT 3.X");
    if (effectiveWindowsVersion(os, versionText) > 3 && isNtFamily(platformName))
        os = QStringLiteral("Windows NT 4.X");
    if (effectiveWindowsVersion(os, versionText) > 3 && platformName == QLatin1String("Windows 95"))
        os = QStringLiteral("Windows 95");
    return os;
}
