#include "checks/ipv6address.h"

#include "checks/ipv4address.h"

#include <QList>

namespace {

constexpr int kGroups = 8;

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// One group of one to four hexadecimal digits; -1 for anything else.
int groupValue(QStringView part)
{
    if (part.isEmpty() || part.size() > 4)
        return -1;
    int value = 0;
    for (const QChar c : part) {
        const int digit = hexValue(c);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The groups of one side of "::" (or of the whole text), appended to groups; the last part may be an IPv4
// address, which counts as two groups. False for anything that is no such list.
bool readGroups(QStringView text, bool mayEndInIpv4, QList<int>& groups)
{
    if (text.isEmpty())
        return true;
    const QList<QStringView> parts = text.split(QLatin1Char(':'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts.at(i);
        if (mayEndInIpv4 && i + 1 == parts.size() && part.contains(QLatin1Char('.'))) {
            const QString dotted = part.toString();
            if (!isIpv4Address(dotted))
                return false;
            const QList<QStringView> octets = QStringView(dotted).split(QLatin1Char('.'));
            groups << (octets.at(0).toInt() << 8 | octets.at(1).toInt())
                   << (octets.at(2).toInt() << 8 | octets.at(3).toInt());
            continue;
        }
        const int value = groupValue(part);
        if (value < 0)
            return false;
        groups << value;
    }
    return true;
}

bool isIpv4Mapped(const Ipv6Bytes& bytes)
{
    for (int i = 0; i < 10; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    return bytes[10] == 0xff && bytes[11] == 0xff;
}

} // namespace

std::optional<Ipv6Bytes> parseIpv6(QStringView text)
{
    const qsizetype gap = text.indexOf(QLatin1String("::"));
    QList<int> head;
    QList<int> tail;
    if (gap < 0) {
        if (!readGroups(text, true, head) || head.size() != kGroups)
            return std::nullopt;
    } else {
        const QStringView before = text.first(gap);
        const QStringView after = text.sliced(gap + 2);
        // A second "::", or a single colon left at either end ("1:::2", ":1::2", "1::2:").
        if (after.contains(QLatin1String("::")) || after.startsWith(QLatin1Char(':')) ||
            before.endsWith(QLatin1Char(':')))
            return std::nullopt;
        if (!readGroups(before, false, head) || !readGroups(after, true, tail))
            return std::nullopt;
        // "::" stands for at least one group of zeros.
        if (head.size() + tail.size() > kGroups - 1)
            return std::nullopt;
    }
    Ipv6Bytes bytes{};
    const auto put = [&bytes](int group, int value) {
        bytes[2 * group] = quint8(value >> 8);
        bytes[2 * group + 1] = quint8(value & 0xff);
    };
    for (qsizetype i = 0; i < head.size(); ++i)
        put(int(i), head.at(i));
    for (qsizetype i = 0; i < tail.size(); ++i)
        put(int(kGroups - tail.size() + i), tail.at(i));
    return bytes;
}

bool isIpv6Address(const QString& text)
{
    return parseIpv6(text).has_value();
}

QString ipv6Text(const Ipv6Bytes& bytes)
{
    if (isIpv4Mapped(bytes))
        return QStringLiteral("::ffff:%1.%2.%3.%4").arg(bytes[12]).arg(bytes[13]).arg(bytes[14]).arg(bytes[15]);
    int groups[kGroups];
    for (int i = 0; i < kGroups; ++i)
        groups[i] = bytes[2 * i] << 8 | bytes[2 * i + 1];
    // The longest run of zero groups; a single zero group is written out.
    int bestStart = -1;
    int bestLength = 1;
    for (int i = 0; i < kGroups;) {
        if (groups[i] != 0) {
            ++i;
            continue;
        }
        int end = i;
        while (end < kGroups && groups[end] == 0)
            ++end;
        if (end - i > bestLength) {
            bestStart = i;
            bestLength = end - i;
        }
        i = end;
    }
    QString text;
    text.reserve(39);
    for (int i = 0; i < kGroups; ++i) {
        if (i == bestStart) {
            text += QStringLiteral("::");
            i += bestLength - 1;
            continue;
        }
        if (!text.isEmpty() && !text.endsWith(QLatin1Char(':')))
            text += QLatin1Char(':');
        text += QString::number(groups[i], 16);
    }
    return text;
}

std::optional<QString> canonicalIpv6(const QString& text)
{
    const std::optional<Ipv6Bytes> bytes = parseIpv6(QStringView(text).trimmed());
    if (!bytes)
        return std::nullopt;
    return ipv6Text(*bytes);
}

QString ipv6AddressForm()
{
    return QStringLiteral("An IPv6 address is eight groups of one to four hexadecimal digits separated by colons, "
                          "such as 2001:db8:0:0:0:0:0:10, where one run of zero groups may be shortened to \"::\" "
                          "(2001:db8::10).");
}

QString ipAddressRefusal(const QString& message, const QString& text)
{
    if (text.contains(QLatin1Char(':')))
        return message + QLatin1Char(' ') + ipv6AddressForm();
    return ipv4AddressRefusal(message);
}
