#include "checks/ipv4address.h"

#include <QStringList>

namespace {

// The value of one dotted part, or -1 when it is no decimal number up to 255.
int octetValue(QStringView part)
{
    if (part.isEmpty() || part.size() > 3)
        return -1;
    int value = 0;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value > 255 ? -1 : value;
}

} // namespace

bool isIpv4Address(const QString& text)
{
    const QList<QStringView> parts = QStringView(text).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QStringView part : parts) {
        if (octetValue(part) < 0 || (part.size() > 1 && part.front() == QLatin1Char('0')))
            return false;
    }
    return true;
}

QString ipv4AddressForm()
{
    return QStringLiteral("An IP address is four numbers from 0 to 255 separated by dots, such as 192.168.1.10.");
}

QString ipv4AddressRefusal(const QString& message)
{
    return message + QLatin1Char(' ') + ipv4AddressForm();
}

std::optional<QString> canonicalIpv4(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QList<QStringView> parts = QStringView(trimmed).split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    QStringList octets;
    for (const QStringView part : parts) {
        const int value = octetValue(part);
        if (value < 0)
            return std::nullopt;
        octets << QString::number(value);
    }
    return octets.join(QLatin1Char('.'));
}
