#include "secondary/dottedaddress.h"

#include "checks/namechecks.h"

#include <QStringList>

bool isDottedIpv4Address(const QString& text)
{
    if (!looksLikeIpAddress(text))
        return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        if (part.toInt() > 255)
            return false;
    }
    return true;
}
