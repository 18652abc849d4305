#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

// The operating system's pieces the program relies on. Production code gets SystemPlatform; tests replace
// the clock, the version and the computer name where their results depend on them.
class Platform
{
public:
    struct ProcessResult
    {
        bool started = false;
        int exitCode = -1;
        QString errorText; // why the program could not be started, when it could not
        QByteArray standardOutput;
        QByteArray standardError;
    };

    virtual ~Platform() = default;

    // "Windows 3.1", "Windows 95", "Windows NT" on the platform the program was first written for; "Linux" here.
    virtual QString platformName() const = 0;
    // The version as "major.minor" (the kernel's on Linux).
    virtual QString versionText() const = 0;
    virtual QString computerName() const = 0;
    virtual QDateTime now() const = 0;
    virtual QLocale locale() const = 0;

    // The per-user folder the program writes its own working files into (the download file, the lookup
    // files, the debug log, the registration folders); created on first use.
    virtual QString appDataPath() const = 0;
    // The folder that holds the program's executable and its help file.
    virtual QString programPath() const = 0;

    // Runs a program without a window and without a shell, letting window messages run while it waits. The
    // environment entries ("NAME=value") are added to the program's inherited environment.
    virtual ProcessResult runProcess(const QString& program, const QStringList& arguments,
                                     const QString& workingDirectory, const QStringList& environment) = 0;
    ProcessResult runProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory)
    {
        return runProcess(program, arguments, workingDirectory, QStringList());
    }

    // The date and time in the platform's short date and long time format.
    QString shortDateLongTime(const QDateTime& when) const;
};

// A multi-user networked platform: the NT family, and Linux, which stands where the NT family is tested for.
bool isNtFamily(const QString& platformName);
