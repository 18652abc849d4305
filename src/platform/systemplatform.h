#pragma once

#include "platform/platform.h"

class SystemPlatform : public Platform
{
public:
    QString platformName() const override;
    QString versionText() const override;
    QString computerName() const override;
    QDateTime now() const override;
    QLocale locale() const override;
    QString appDataPath() const override;
    QString programPath() const override;
    using Platform::runProcess;
    ProcessResult runProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory,
                             const QStringList& environment) override;
};
