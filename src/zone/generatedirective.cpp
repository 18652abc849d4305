#include "zone/generatedirective.h"

#include "zone/zonetext.h"

#include <optional>

namespace {

struct Range
{
    quint32 start = 0;
    quint32 stop = 0;
    quint32 step = 1;
};

std::optional<quint32> number(const QByteArray& text)
{
    bool ok = false;
    const quint32 value = text.toUInt(&ok);
    if (!ok || text.isEmpty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    return value;
}

std::optional<Range> parseRange(const QByteArray& text)
{
    const qsizetype dash = text.indexOf('-');
    if (dash < 0)
        return std::nullopt;
    const qsizetype slash = text.indexOf('/', dash);
    const std::optional<quint32> start = number(text.left(dash));
    const std::optional<quint32> stop = number(text.mid(dash + 1, slash < 0 ? -1 : slash - dash - 1));
    const std::optional<quint32> step = slash < 0 ? std::optional<quint32>(1) : number(text.mid(slash + 1));
    if (!start || !stop || !step || *start > *stop || *step == 0)
        return std::nullopt;
    return Range{*start, *stop, *step};
}

bool isClassWord(const QByteArray& word)
{
    const QByteArray upper = word.toUpper();
    return upper == "IN" || upper == "CH" || upper == "HS" || upper == "CS" ||
           (upper.startsWith("CLASS") && number(upper.mid(5)).has_value());
}

// The nibble form the name servers write: hexadecimal digits from the lowest, each a label followed by a
// dot, as many as the value needs and the width (counted in characters, dots included) asks for.
QByteArray nibbles(quint64 value, int width, bool upper)
{
    static const char lower[] = "0123456789abcdef";
    static const char capital[] = "0123456789ABCDEF";
    QByteArray out;
    do {
        out += (upper ? capital : lower)[value & 0x0f];
        value >>= 4;
        if (width > 0)
            --width;
        if (width > 0 || value != 0) {
            out += '.';
            if (width > 0)
                --width;
        }
    } while (value != 0 || width > 0);
    return out;
}

// "${offset,width,base}" at the value; none when the modifier is malformed or the value falls below zero.
std::optional<QByteArray> modified(const QByteArray& modifier, quint32 value)
{
    const QList<QByteArray> parts = modifier.split(',');
    bool ok = true;
    const qint64 offset = parts.value(0).isEmpty() ? 0 : parts.value(0).toLongLong(&ok);
    if (!ok || parts.size() > 3)
        return std::nullopt;
    const int width = parts.size() > 1 ? parts.at(1).toInt(&ok) : 0;
    if (!ok || width < 0 || width > 255)
        return std::nullopt;
    const QByteArray base = parts.size() > 2 ? parts.at(2) : QByteArray("d");
    const qint64 result = qint64(value) + offset;
    if (result < 0 || base.size() != 1)
        return std::nullopt;
    const char kind = base.front();
    if (kind == 'n' || kind == 'N')
        return nibbles(quint64(result), width, kind == 'N');
    const int radix = kind == 'd' ? 10 : kind == 'o' ? 8 : kind == 'x' || kind == 'X' ? 16 : 0;
    if (radix == 0)
        return std::nullopt;
    QByteArray digits = QByteArray::number(result, radix);
    if (kind == 'X')
        digits = digits.toUpper();
    if (digits.size() < width)
        digits = QByteArray(width - digits.size(), '0') + digits;
    return digits;
}

std::optional<QByteArray> substituted(const QByteArray& pattern, quint32 value)
{
    QByteArray out;
    out.reserve(pattern.size() + 8);
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        const char c = pattern.at(at);
        const char next = at + 1 < pattern.size() ? pattern.at(at + 1) : '\0';
        if (c == '\\' && next != '\0') {
            out += c;
            out += next;
            ++at;
        } else if (c == '$' && next == '$') {
            out += "\\$";
            ++at;
        } else if (c == '$' && next == '{') {
            const qsizetype close = pattern.indexOf('}', at);
            if (close < 0)
                return std::nullopt;
            const std::optional<QByteArray> text = modified(pattern.mid(at + 2, close - at - 2), value);
            if (!text)
                return std::nullopt;
            out += *text;
            at = close;
        } else if (c == '$') {
            out += QByteArray::number(value);
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

GeneratedRecords expandGenerate(const QList<QByteArray>& words)
{
    GeneratedRecords out;
    if (words.size() < 4) {
        out.errorText = QStringLiteral("a $GENERATE needs a range, an owner, a type and data");
        return out;
    }
    const std::optional<Range> range = parseRange(words.at(0));
    if (!range) {
        out.errorText = QStringLiteral("invalid $GENERATE range");
        return out;
    }
    if ((range->stop - range->start) / range->step >= kMostGeneratedRecords) {
        out.errorText = QStringLiteral("a $GENERATE range of more than %1 records").arg(kMostGeneratedRecords);
        return out;
    }
    QByteArray between; // the time to live and the class as written, then the type
    qsizetype at = 2;
    for (; at < words.size() - 1; ++at) {
        const QByteArray& word = words.at(at);
        if (!parseTtl(word) && !isClassWord(word))
            break;
        between += word + ' ';
    }
    if (at >= words.size() - 1) {
        out.errorText = QStringLiteral("a $GENERATE without a type and data");
        return out;
    }
    between += words.at(at) + ' ';
    const QByteArray data = words.mid(at + 1).join(' ');
    for (quint64 value = range->start; value <= range->stop; value += range->step) {
        const std::optional<QByteArray> owner = substituted(words.at(1), quint32(value));
        const std::optional<QByteArray> rdata = substituted(data, quint32(value));
        if (!owner || !rdata) {
            out.errorText = QStringLiteral("invalid $GENERATE modifier");
            out.text.clear();
            return out;
        }
        out.text += *owner + ' ' + between + *rdata + '\n';
    }
    out.ok = true;
    return out;
}
