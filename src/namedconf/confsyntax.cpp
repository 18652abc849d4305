#include "namedconf/confsyntax.h"

#include "checks/ipaddress.h"

#include <QHostAddress>
#include <QStringList>

namespace {

std::optional<quint32> ipv4Value(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        bool ok = false;
        const uint byte = part.toUInt(&ok);
        if (!ok || byte > 255 || !part.at(0).isDigit())
            return std::nullopt;
        value = (value << 8) | byte;
    }
    return value;
}

QString ipv4Text(quint32 value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xff)
        .arg((value >> 8) & 0xff)
        .arg(value & 0xff);
}

// The prefix length of a mask whose one bits all lead; none for a mask with a gap.
std::optional<int> prefixLength(quint32 mask)
{
    int length = 0;
    while (length < 32 && (mask & (0x80000000u >> length)))
        ++length;
    const quint32 contiguous = length == 0 ? 0 : ~quint32(0) << (32 - length);
    if (mask != contiguous)
        return std::nullopt;
    return length;
}

// Skips a comment starting at `i`; true when there was one.
bool skipComment(const QString& text, qsizetype& i)
{
    const QChar c = text.at(i);
    const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
    if (c == QLatin1Char('#') || (c == QLatin1Char('/') && next == QLatin1Char('/'))) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), i);
        i = end < 0 ? text.size() : end + 1;
        return true;
    }
    if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
        const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
        i = end < 0 ? text.size() : end + 2;
        return true;
    }
    return false;
}

void skipString(const QString& text, qsizetype& i)
{
    for (++i; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        else if (text.at(i) == QLatin1Char('"'))
            break;
    }
    ++i;
}

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
}

} // namespace

QString confString(const QString& text)
{
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return quoted;
}

std::optional<QString> confAddress(const QString& text)
{
    if (const std::optional<quint32> value = ipv4Value(text))
        return ipv4Text(*value);
    if (!text.contains(QLatin1Char(':')))
        return std::nullopt;
    const QHostAddress address(text);
    if (address.protocol() != QAbstractSocket::IPv6Protocol)
        return std::nullopt;
    return address.toString();
}

std::optional<QString> confNetwork(const QString& text, QString* reason)
{
    if (text.contains(QLatin1Char('/'))) {
        const std::optional<IpPrefix> prefix = IpPrefix::parse(text, reason);
        return prefix ? std::optional<QString>(prefix->text()) : std::nullopt;
    }
    const qsizetype amp = text.lastIndexOf(QLatin1Char('&'));
    const QString addressText = amp < 0 ? text : text.left(amp);
    if (amp < 0) {
        if (const std::optional<QString> address = confAddress(addressText))
            return address;
        *reason = QStringLiteral("\"%1\" is not an address").arg(addressText);
        return std::nullopt;
    }
    const std::optional<quint32> address = ipv4Value(addressText);
    if (!address) {
        *reason = QStringLiteral("\"%1\" is not an IPv4 address").arg(addressText);
        return std::nullopt;
    }
    const QString maskText = text.mid(amp + 1);
    const std::optional<quint32> mask = ipv4Value(maskText);
    if (!mask) {
        *reason = QStringLiteral("the mask \"%1\" is not a dotted mask").arg(maskText);
        return std::nullopt;
    }
    const std::optional<int> length = prefixLength(*mask);
    if (!length) {
        *reason = QStringLiteral("the mask %1 is not a contiguous prefix").arg(maskText);
        return std::nullopt;
    }
    return ipv4Text(*address & *mask) + QLatin1Char('/') + QString::number(*length);
}

QSet<QString> confStatementNames(const QString& text)
{
    QSet<QString> names;
    int depth = 0;
    bool atStatementStart = true;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (skipComment(text, i))
            continue;
        if (c == QLatin1Char('"')) {
            skipString(text, i);
            atStatementStart = false;
            continue;
        }
        if (c == QLatin1Char('{') || c == QLatin1Char('}')) {
            depth += c == QLatin1Char('{') ? 1 : -1;
            ++i;
            continue;
        }
        if (c == QLatin1Char(';')) {
            if (depth == 0)
                atStatementStart = true;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && isWordCharacter(text.at(end)))
            ++end;
        if (end == i)
            end = i + 1;
        if (depth == 0 && atStatementStart)
            names.insert(text.mid(i, end - i).toLower());
        atStatementStart = false;
        i = end;
    }
    return names;
}
