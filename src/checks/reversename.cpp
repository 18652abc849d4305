#include "checks/reversename.h"

#include <QList>
#include <QStringList>

namespace {

const QLatin1String kInAddr(".in-addr.arpa");
const QLatin1String kIp6(".ip6.arpa");
constexpr int kNibbles = 32;

QStringView withoutFinalDot(QStringView name)
{
    return name.endsWith(QLatin1Char('.')) ? name.chopped(1) : name;
}

// The labels before the suffix, most significant last; none when the name does not end in it.
std::optional<QList<QStringView>> labelsUnder(QStringView name, QLatin1String suffix)
{
    const QStringView bare = withoutFinalDot(name);
    if (bare.compare(suffix.sliced(1), Qt::CaseInsensitive) == 0)
        return QList<QStringView>();
    if (!bare.endsWith(suffix, Qt::CaseInsensitive))
        return std::nullopt;
    return bare.chopped(suffix.size()).split(QLatin1Char('.'));
}

int octetOf(QStringView label)
{
    if (label.isEmpty() || label.size() > 3 || (label.size() > 1 && label.front() == QLatin1Char('0')))
        return -1;
    int value = 0;
    for (const QChar c : label) {
        if (!c.isDigit())
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value > 255 ? -1 : value;
}

int nibbleOf(QStringView label)
{
    if (label.size() != 1)
        return -1;
    const char16_t c = label.front().toLower().unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

QChar nibbleChar(int value)
{
    return QLatin1Char("0123456789abcdef"[value]);
}

bool isClasslessLabel(QStringView label)
{
    return label.contains(QLatin1Char('/')) || label.contains(QLatin1Char('-'));
}

IpAddress ipv4FromOctets(const QList<int>& octets)
{
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value = value << 8 | quint32(octets.value(i));
    return IpAddress::fromIpv4(value);
}

} // namespace

std::optional<QString> reverseZoneRefusal(const IpPrefix& prefix)
{
    if (prefix.network.isV6()) {
        if (prefix.length % 4 != 0)
            return QStringLiteral("An IPv6 reverse zone covers a prefix whose length is a multiple of 4; %1 is not.")
                .arg(prefix.text());
        return std::nullopt;
    }
    if (prefix.length == 8 || prefix.length == 16 || prefix.length >= 24)
        return std::nullopt;
    return QStringLiteral("An IPv4 reverse zone covers a /8, /16 or /24 network, or a block longer than /24; %1 is "
                          "none of these.")
        .arg(prefix.text());
}

QString reverseZoneName(const IpPrefix& prefix)
{
    const IpAddress& network = prefix.network;
    QStringList labels;
    if (network.isV6()) {
        for (int position = prefix.length - 4; position >= 0; position -= 4)
            labels << QString(nibbleChar(network.nibble(position)));
        labels << QStringLiteral("IP6.ARPA");
        return labels.join(QLatin1Char('.'));
    }
    const int whole = prefix.length > 24 ? 3 : prefix.length / 8;
    if (prefix.length > 24)
        labels << QStringLiteral("%1/%2").arg(network.bytes()[3]).arg(prefix.length);
    for (int octet = whole - 1; octet >= 0; --octet)
        labels << QString::number(network.bytes()[octet]);
    labels << QStringLiteral("IN-ADDR.ARPA");
    return labels.join(QLatin1Char('.'));
}

QString reverseOwner(const IpAddress& address, const IpPrefix& zone)
{
    // Built a character at a time: reverse generation makes one for every host of a server.
    QString owner;
    if (address.isV6()) {
        owner.reserve(64);
        for (int position = 124; position >= zone.length; position -= 4) {
            if (!owner.isEmpty())
                owner += QLatin1Char('.');
            owner += nibbleChar(address.nibble(position));
        }
    } else {
        // A classless zone holds its addresses by their last octet, as the /24 zone it is cut from would.
        const int whole = zone.length > 24 ? 3 : zone.length / 8;
        for (int octet = 3; octet >= whole; --octet) {
            if (!owner.isEmpty())
                owner += QLatin1Char('.');
            owner += QString::number(address.bytes()[octet]);
        }
    }
    return owner.isEmpty() ? QStringLiteral("@") : owner;
}

QString reverseName(const IpAddress& address)
{
    const IpPrefix all{address.masked(0), 0};
    return reverseOwner(address, all) +
           (address.isV6() ? QLatin1String(".ip6.arpa.") : QLatin1String(".in-addr.arpa."));
}

QString reverseFileName(const QString& zoneName)
{
    QString file = zoneName;
    file.replace(QLatin1Char('/'), QLatin1Char('-'));
    return file + QStringLiteral(".reverse.DNS");
}

bool isReverseName(QStringView name)
{
    return labelsUnder(name, kInAddr) || labelsUnder(name, kIp6);
}

std::optional<IpAddress> addressOfReverseName(QStringView name)
{
    if (const std::optional<QList<QStringView>> labels = labelsUnder(name, kIp6)) {
        if (labels->size() != kNibbles)
            return std::nullopt;
        Ipv6Bytes bytes{};
        for (int i = 0; i < kNibbles; ++i) {
            const int value = nibbleOf(labels->at(kNibbles - 1 - i));
            if (value < 0)
                return std::nullopt;
            bytes[i / 2] |= quint8(i % 2 == 0 ? value << 4 : value);
        }
        return IpAddress::fromIpv6(bytes);
    }
    const std::optional<QList<QStringView>> labels = labelsUnder(name, kInAddr);
    if (!labels)
        return std::nullopt;
    QList<int> octets;
    for (auto label = labels->crbegin(); label != labels->crend(); ++label) {
        if (isClasslessLabel(*label))
            continue;
        const int value = octetOf(*label);
        if (value < 0)
            return std::nullopt;
        octets << value;
    }
    if (octets.size() != 4)
        return std::nullopt;
    return ipv4FromOctets(octets);
}

std::optional<IpPrefix> prefixOfReverseZone(QStringView zone)
{
    if (const std::optional<QList<QStringView>> labels = labelsUnder(zone, kIp6)) {
        if (labels->size() > kNibbles)
            return std::nullopt;
        Ipv6Bytes bytes{};
        const int count = int(labels->size());
        for (int i = 0; i < count; ++i) {
            const int value = nibbleOf(labels->at(count - 1 - i));
            if (value < 0)
                return std::nullopt;
            bytes[i / 2] |= quint8(i % 2 == 0 ? value << 4 : value);
        }
        return IpPrefix{IpAddress::fromIpv6(bytes), 4 * count};
    }
    const std::optional<QList<QStringView>> labels = labelsUnder(zone, kInAddr);
    if (!labels || labels->isEmpty() || labels->size() > 4)
        return std::nullopt;
    QList<int> octets;
    int classlessStart = -1;
    int classlessLength = -1;
    for (auto label = labels->crbegin(); label != labels->crend(); ++label) {
        const qsizetype slash = label->indexOf(QLatin1Char('/'));
        if (slash >= 0 && label == labels->crend() - 1 && octets.size() == 3) {
            classlessStart = octetOf(label->first(slash));
            bool ok = false;
            classlessLength = label->sliced(slash + 1).toInt(&ok);
            if (!ok || classlessStart < 0 || classlessLength <= 24 || classlessLength > 32)
                return std::nullopt;
            continue;
        }
        const int value = octetOf(*label);
        if (value < 0)
            return std::nullopt;
        octets << value;
    }
    if (classlessStart >= 0) {
        octets << classlessStart;
        const IpPrefix prefix{ipv4FromOctets(octets), classlessLength};
        if (prefix.network.masked(classlessLength) != prefix.network)
            return std::nullopt;
        return prefix;
    }
    return IpPrefix{ipv4FromOctets(octets), 8 * int(octets.size())};
}
