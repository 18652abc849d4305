#include "fakendc.h"

#include <QDir>
#include <QFile>

FakeNdc::FakeNdc(const QString& windowsDirectory)
{
    const QString program = m_bin.filePath(QStringLiteral("ndc"));
    QFile::copy(QStringLiteral(QUORVANE_FAKE_NDC), program);
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_oldPath);
    qputenv("FAKE_NDC_LOG", QFile::encodeName(m_bin.filePath(QStringLiteral("runs.log"))));
    qputenv("FAKE_NDC_WINDIR", QFile::encodeName(windowsDirectory));
    qunsetenv("FAKE_NDC_SLEEP");
    qunsetenv("FAKE_NDC_FAIL");
}

FakeNdc::~FakeNdc()
{
    qputenv("PATH", m_oldPath);
}

QStringList FakeNdc::runs() const
{
    QFile log(m_bin.filePath(QStringLiteral("runs.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void FakeNdc::clearRuns()
{
    QFile::remove(m_bin.filePath(QStringLiteral("runs.log")));
}

void FakeNdc::setDelay(const QString& seconds)
{
    if (seconds.isEmpty())
        qunsetenv("FAKE_NDC_SLEEP");
    else
        qputenv("FAKE_NDC_SLEEP", seconds.toLatin1());
}

QString FakeNdc::environment() const
{
    QFile file(m_bin.filePath(QStringLiteral("runs.log.environment")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll());
}

void FakeNdc::setFailure(const QString& line)
{
    if (line.isEmpty())
        qunsetenv("FAKE_NDC_FAIL");
    else
        qputenv("FAKE_NDC_FAIL", line.toLocal8Bit());
}
