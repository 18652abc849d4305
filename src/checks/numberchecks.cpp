#include "checks/numberchecks.h"

#include <limits>
#include <optional>

namespace {

constexpr quint64 kMaxUnsigned32 = std::numeric_limits<quint32>::max();

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The decimal number at the start of the text up to the first non-digit, or none when there is no digit or
// it exceeds the limit. at is moved past the digits.
std::optional<quint64> leadingNumber(const QString& text, qsizetype& at, quint64 limit)
{
    const qsizetype start = at;
    quint64 value = 0;
    while (at < text.size() && isDigit(text.at(at))) {
        value = value * 10 + quint64(text.at(at).unicode() - '0');
        if (value > limit)
            return std::nullopt;
        ++at;
    }
    if (at == start)
        return std::nullopt;
    return value;
}

bool isWholeNumberUpTo(const QString& text, quint64 limit)
{
    qsizetype at = 0;
    return leadingNumber(text, at, limit).has_value() && at == text.size();
}

quint64 unitSeconds(QChar unit)
{
    switch (unit.toLower().unicode()) {
    case u'w':
        return 7 * 24 * 3600;
    case u'd':
        return 24 * 3600;
    case u'h':
        return 3600;
    case u'm':
        return 60;
    case u's':
        return 1;
    default:
        return 0;
    }
}

} // namespace

bool isMailPriority(const QString& text)
{
    return isWholeNumberUpTo(text, std::numeric_limits<quint16>::max());
}

bool isSoaSerial(const QString& text)
{
    return isWholeNumberUpTo(text, kMaxUnsigned32);
}

bool isSoaTime(const QString& text)
{
    if (isWholeNumberUpTo(text, kMaxUnsigned32))
        return true;
    quint64 total = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        const std::optional<quint64> count = leadingNumber(text, at, kMaxUnsigned32);
        if (!count || at == text.size())
            return false;
        const quint64 seconds = unitSeconds(text.at(at++));
        if (seconds == 0)
            return false;
        total += *count * seconds;
        if (total > kMaxUnsigned32)
            return false;
    }
    return !text.isEmpty();
}

QString soaSerialForm()
{
    return QStringLiteral("a whole number from 0 to 4294967295");
}

QString soaTimeForm()
{
    return QStringLiteral("a whole number of seconds (such as 3600) or a time such as 1h, 2d or 1w2d");
}
