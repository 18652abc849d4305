#include "platform/systemplatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QHostInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>

QString SystemPlatform::platformName() const
{
#if defined(Q_OS_WIN)
    return QStringLiteral("Windows NT");
#else
    return QStringLiteral("Linux");
#endif
}

QString SystemPlatform::versionText() const
{
    // The kernel version reads like "6.1.0-18-amd64"; only major.minor matters.
    const QStringList parts = QSysInfo::kernelVersion().split(QLatin1Char('.'));
    if (parts.size() < 2)
        return parts.value(0, QStringLiteral("0")) + QStringLiteral(".0");
    QString minor;
    for (const QChar c : parts.at(1)) {
        if (!c.isDigit())
            break;
        minor += c;
    }
    return parts.at(0) + QLatin1Char('.') + (minor.isEmpty() ? QStringLiteral("0") : minor);
}

QString SystemPlatform::computerName() const
{
    return QHostInfo::localHostName().section(QLatin1Char('.'), 0, 0);
}

QDateTime SystemPlatform::now() const
{
    return QDateTime::currentDateTime();
}

QLocale SystemPlatform::locale() const
{
    return QLocale::system();
}

QString SystemPlatform::appDataPath() const
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(path);
    return path;
}

QString SystemPlatform::programPath() const
{
    return QCoreApplication::applicationDirPath();
}

Platform::ProcessResult SystemPlatform::runProcess(const QString& program, const QStringList& arguments,
                                                   const QString& workingDirectory, const QStringList& environment)
{
    ProcessResult result;
    QProcess process;
    if (!workingDirectory.isEmpty())
        process.setWorkingDirectory(workingDirectory);
    if (!environment.isEmpty()) {
        QProcessEnvironment inherited = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : environment)
            inherited.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        process.setProcessEnvironment(inherited);
    }
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        result.errorText = process.errorString();
        return result;
    }
    result.started = true;
    if (process.state() != QProcess::NotRunning) {
        // Window messages keep running while the program works, so the window repaints and stays responsive.
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.standardOutput = process.readAllStandardOutput();
    result.standardError = process.readAllStandardError();
    return result;
}
