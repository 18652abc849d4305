#include "zone/zonetext.h"

#include "zone/zonescanner.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The words of a directive line after its name: blanks separate them, a double-quoted word may hold blanks,
// and a semicolon outside quotes begins the comment.
QList<QByteArray> directiveWords(const char* line, qsizetype size)
{
    QList<QByteArray> words;
    qsizetype at = 0;
    while (at < size && !isBlank(line[at]))
        ++at;
    for (;;) {
        while (at < size && isBlank(line[at]))
            ++at;
        if (at >= size || line[at] == ';')
            return words;
        QByteArray word;
        if (line[at] == '"') {
            for (++at; at < size && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < size)
                    word += line[at++];
                word += line[at];
            }
            ++at;
        } else {
            while (at < size && !isBlank(line[at]) && line[at] != ';')
                word += line[at++];
        }
        words << word;
    }
}

ZoneDirective::Kind directiveKind(const QByteArray& name)
{
    const QByteArray upper = name.toUpper();
    if (upper == "$TTL")
        return ZoneDirective::Kind::Ttl;
    if (upper == "$INCLUDE")
        return ZoneDirective::Kind::Include;
    if (upper == "$GENERATE")
        return ZoneDirective::Kind::Generate;
    return ZoneDirective::Kind::Unknown;
}

bool separates(char c)
{
    return isBlank(c) || c == '(' || c == ')' || c == ';';
}

// Most lines need no change and leave the count of parentheses alone.
bool copiesAsItStands(const char* line, qsizetype size)
{
    const QByteArrayView view(line, size);
    return !view.contains('"') && !view.contains('(') && !view.contains(')');
}

// Copies one line of record text and keeps count of the open parentheses that continue a record on the next
// line (quoted text and comments hold none). A quoted text written against a word is taken apart from it, as
// the name servers take it ("x"y is two texts); the scanner would refuse it.
void copyRecordLine(const char* line, qsizetype size, int& depth, QByteArray& out)
{
    if (copiesAsItStands(line, size)) {
        out.append(line, size);
        return;
    }
    bool quoted = false;
    for (qsizetype at = 0; at < size; ++at) {
        const char c = line[at];
        if (c == '\\') {
            out += c;
            if (at + 1 < size)
                out += line[++at];
            continue;
        }
        if (!quoted && c == ';') {
            out.append(line + at, size - at);
            return;
        }
        if (c == '"') {
            if (!quoted && at > 0 && !separates(line[at - 1]))
                out += ' ';
            out += c;
            quoted = !quoted;
            if (!quoted && at + 1 < size && !separates(line[at + 1]))
                out += ' ';
            continue;
        }
        if (!quoted && c == '(')
            ++depth;
        else if (!quoted && c == ')' && depth > 0)
            --depth;
        out += c;
    }
}

class Preparation
{
public:
    Preparation(const QByteArray& raw, const QByteArray& origin) : m_raw(raw), m_origin(origin)
    {
        m_out.origins.append({1, origin});
        m_out.text.reserve(raw.size() + 1);
    }

    PreparedZoneText run();

private:
    void line(const char* text, qsizetype size, bool endedByFeed);
    void directive(const char* text, qsizetype size);

    const QByteArray& m_raw;
    QByteArray m_origin;
    PreparedZoneText m_out;
    qint64 m_line = 1;
    int m_depth = 0;
};

PreparedZoneText Preparation::run()
{
    const char* text = m_raw.constData();
    const qsizetype size = m_raw.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != '\n' && text[end] != '\r')
            ++end;
        line(text + start, end - start, end < size && text[end] == '\n');
        ++m_line;
        if (end < size && text[end] == '\r' && end + 1 < size && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return std::move(m_out);
}

void Preparation::line(const char* text, qsizetype size, bool endedByFeed)
{
    if (m_depth == 0 && size > 0 && text[0] == '$') {
        directive(text, size);
    } else if (endedByFeed && copiesAsItStands(text, size)) {
        m_out.text.append(text, size + 1);
        return;
    } else {
        copyRecordLine(text, size, m_depth, m_out.text);
    }
    m_out.text.append('\n');
}

void Preparation::directive(const char* text, qsizetype size)
{
    ZoneDirective found;
    found.line = m_line;
    found.text = QByteArray(text, size);
    found.words = directiveWords(text, size);
    found.origin = m_origin;
    qsizetype nameEnd = 0;
    while (nameEnd < size && !isBlank(text[nameEnd]) && text[nameEnd] != ';')
        ++nameEnd;
    const QByteArray name(text, nameEnd);
    if (name.toUpper() != "$ORIGIN") {
        found.kind = directiveKind(name);
        m_out.directives << found;
        return;
    }
    const QByteArray origin = found.words.size() == 1 ? absoluteName(found.words.first(), m_origin) : QByteArray();
    if (!isValidZoneName(origin)) {
        found.kind = ZoneDirective::Kind::BadOrigin;
        m_out.directives << found;
        return;
    }
    m_origin = origin;
    m_out.origins.append({m_line, origin});
    m_out.text.append("$ORIGIN ");
    m_out.text.append(origin);
}

} // namespace

QByteArray PreparedZoneText::originAt(qint64 line) const
{
    QByteArray origin = origins.first().second;
    for (const auto& [from, name] : origins) {
        if (from > line)
            break;
        origin = name;
    }
    return origin;
}

PreparedZoneText prepareZoneText(const QByteArray& raw, const QByteArray& origin)
{
    return Preparation(raw, origin).run();
}

std::optional<quint32> parseTtl(const QByteArray& text)
{
    if (text.isEmpty())
        return std::nullopt;
    quint64 total = 0;
    quint64 number = 0;
    bool digits = false;
    bool units = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            number = number * 10 + quint64(c - '0');
            digits = true;
            if (number > 0xffffffffull)
                return std::nullopt;
            continue;
        }
        quint64 factor = 0;
        switch (c) {
        case 'w':
        case 'W':
            factor = 604800;
            break;
        case 'd':
        case 'D':
            factor = 86400;
            break;
        case 'h':
        case 'H':
            factor = 3600;
            break;
        case 'm':
        case 'M':
            factor = 60;
            break;
        case 's':
        case 'S':
            factor = 1;
            break;
        default:
            return std::nullopt;
        }
        if (!digits)
            return std::nullopt;
        total += number * factor;
        number = 0;
        digits = false;
        units = true;
    }
    // Units stand after every number or after none.
    if (digits == units)
        return std::nullopt;
    total += number;
    if (total > 0xffffffffull)
        return std::nullopt;
    return quint32(total);
}
