#include "zone/zoneserial.h"

#include <limits>

std::optional<quint64> serialNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    // More digits than this cannot be a serial, and would not fit the conversion.
    if (trimmed.isEmpty() || trimmed.size() > 19)
        return std::nullopt;
    for (const QChar c : trimmed) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return trimmed.toULongLong();
}

std::optional<quint32> nextZoneSerial(const QString& runningSerial, const QString& serialAsRead)
{
    const std::optional<quint64> running = serialNumber(runningSerial);
    if (!running)
        return std::nullopt;
    quint64 next = *running + 1;
    if (const std::optional<quint64> own = serialNumber(serialAsRead); own && next <= *own)
        next = *own + 1;
    if (next > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return quint32(next);
}
