#pragma once

#include <QString>
#include <QStringList>

class Platform;

// The choices of the server operating system list, in their order.
const QStringList& operatingSystemChoices();
// The list's text while nothing is chosen.
QString noOperatingSystemChosen();

// 4 for "Windows NT 3.X with Shell", 3 for "Windows NT 3.X", otherwise the first digit of the version text.
int effectiveWindowsVersion(const QString& defaultos, const QString& versionText);

// The three-step guess at the first showing of the main window; returns the new defaultos.
QString guessDefaultOs(const QString& defaultos, const QString& platformName, const QString& versionText);
