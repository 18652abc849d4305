#include "platform/debuglog.h"

#include <QFile>

void DebugLog::logLine(const QString& text)
{
    if (m_on)
        append(text);
}

bool DebugLog::switchOn(const QString& when)
{
    if (!append(QStringLiteral("Quorvane Debug Log Activated At ") + when))
        return false;
    m_on = true;
    return true;
}

bool DebugLog::switchOff(const QString& when)
{
    m_on = false;
    return append(QStringLiteral("Quorvane Debug Log Deactivated At ") + when);
}

bool DebugLog::append(const QString& text)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
        file.write(text.toLatin1() + QByteArrayLiteral("\r\n")) < 0 || !file.flush()) {
        if (m_onError)
            m_onError(QStringLiteral("The debug log %1 could not be written: %2").arg(m_path, file.errorString()));
        return false;
    }
    return true;
}
