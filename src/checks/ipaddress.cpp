#include "checks/ipaddress.h"

#include "checks/ipv4address.h"
#include "checks/namechecks.h"

#include <QHashFunctions>
#include <QList>
#include <algorithm>

IpAddress IpAddress::fromIpv6(const Ipv6Bytes& bytes)
{
    IpAddress address;
    address.m_family = Family::V6;
    address.m_bytes = bytes;
    return address;
}

IpAddress IpAddress::fromIpv4(quint32 value)
{
    IpAddress address;
    address.m_bytes[0] = quint8(value >> 24);
    address.m_bytes[1] = quint8(value >> 16);
    address.m_bytes[2] = quint8(value >> 8);
    address.m_bytes[3] = quint8(value);
    return address;
}

namespace {

// Four dotted decimal octets up to 255, with or without leading zeros.
std::optional<quint32> dottedValue(QStringView text)
{
    quint32 value = 0;
    int parts = 0;
    int digits = 0;
    int octet = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('.')) {
            if (digits == 0 || ++parts > 3)
                return std::nullopt;
            value = value << 8 | quint32(octet);
            digits = 0;
            octet = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || ++digits > 3)
            return std::nullopt;
        octet = octet * 10 + (c.unicode() - u'0');
        if (octet > 255)
            return std::nullopt;
    }
    if (digits == 0 || parts != 3)
        return std::nullopt;
    return value << 8 | quint32(octet);
}

} // namespace

std::optional<IpAddress> IpAddress::parse(QStringView text)
{
    if (text.contains(QLatin1Char(':'))) {
        const std::optional<Ipv6Bytes> bytes = parseIpv6(text);
        return bytes ? std::optional<IpAddress>(fromIpv6(*bytes)) : std::nullopt;
    }
    if (!isIpv4Address(text.toString()))
        return std::nullopt;
    return fromIpv4(*dottedValue(text));
}

std::optional<IpAddress> IpAddress::fromStored(const QString& text)
{
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.contains(QLatin1Char(':'))) {
        const std::optional<Ipv6Bytes> bytes = parseIpv6(trimmed);
        return bytes ? std::optional<IpAddress>(fromIpv6(*bytes)) : std::nullopt;
    }
    const std::optional<quint32> value = dottedValue(trimmed);
    return value ? std::optional<IpAddress>(fromIpv4(*value)) : std::nullopt;
}

QString IpAddress::text() const
{
    if (isV6())
        return ipv6Text(m_bytes);
    return QStringLiteral("%1.%2.%3.%4").arg(m_bytes[0]).arg(m_bytes[1]).arg(m_bytes[2]).arg(m_bytes[3]);
}

IpAddress IpAddress::masked(int length) const
{
    IpAddress result = *this;
    for (int i = 0; i < 16; ++i) {
        const int kept = length - 8 * i;
        if (kept >= 8)
            continue;
        result.m_bytes[i] = kept <= 0 ? 0 : quint8(m_bytes[i] & (0xff << (8 - kept)));
    }
    return result;
}

bool IpAddress::operator<(const IpAddress& other) const
{
    if (m_family != other.m_family)
        return m_family < other.m_family;
    return m_bytes < other.m_bytes;
}

size_t qHash(const IpAddress& address, size_t seed)
{
    return qHashBits(address.bytes().data(), address.bytes().size(), seed ^ size_t(address.family()));
}

std::optional<IpPrefix> IpPrefix::parse(const QString& text, QString* why)
{
    const auto refuse = [why](const QString& reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const QString trimmed = text.trimmed();
    const qsizetype slash = trimmed.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return refuse(QStringLiteral("%1 has no prefix length: write it as an address, \"/\" and the number of "
                                     "leading bits the network fixes, such as 2001:db8::/48 or 192.0.2.64/26.")
                          .arg(trimmed));
    const std::optional<IpAddress> network = IpAddress::parse(QStringView(trimmed).first(slash));
    if (!network)
        return refuse(QStringLiteral("%1 does not begin with an IP address.").arg(trimmed));
    const QStringView lengthText = QStringView(trimmed).sliced(slash + 1);
    bool ok = false;
    const int length = lengthText.toInt(&ok);
    const bool digitsOnly = !lengthText.isEmpty() && lengthText.size() <= 3 &&
                            std::all_of(lengthText.begin(), lengthText.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digitsOnly || length > network->bitCount())
        return refuse(QStringLiteral("The prefix length of %1 must be a number from 0 to %2.")
                          .arg(trimmed)
                          .arg(network->bitCount()));
    if (network->masked(length) != *network)
        return refuse(QStringLiteral("%1 has bits set beyond its length; the network is %2/%3.")
                          .arg(trimmed, network->masked(length).text())
                          .arg(length));
    return IpPrefix{*network, length};
}

bool IpPrefix::contains(const IpAddress& address) const
{
    return address.family() == network.family() && address.masked(length) == network;
}

QString IpPrefix::text() const
{
    return network.text() + QLatin1Char('/') + QString::number(length);
}

size_t qHash(const IpPrefix& prefix, size_t seed)
{
    return qHash(prefix.network, seed) ^ size_t(prefix.length);
}

bool isIpAddress(const QString& text)
{
    return IpAddress::parse(text).has_value();
}

bool hasIllegalAddressCharacters(const QString& text)
{
    return hasIllegalCharacters(QString(text).remove(QLatin1Char(':')));
}
