#pragma once

#include "platform/systemplatform.h"

// The real platform with a fixed clock, version, computer name, locale and data folder, for results that
// depend on them. Everything else (processes, files) is the real thing.
class FakePlatform : public SystemPlatform
{
public:
    explicit FakePlatform(QString dataPath = QString());

    QString platformName() const override { return name; }
    QString versionText() const override { return version; }
    QString computerName() const override { return computer; }
    QDateTime now() const override { return clock; }
    QLocale locale() const override { return QLocale::c(); }
    QString appDataPath() const override;
    // The build's bin/ folder, as if the test were the program: the companions are found from there.
    QString programPath() const override { return programDir; }

    QString name = QStringLiteral("Linux");
    QString version = QStringLiteral("6.1");
    QString computer = QStringLiteral("testhost");
    QDateTime clock = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 15));
    QString dataPath;
    QString programDir = QStringLiteral(QUORVANE_PROGRAM_DIR);
};
