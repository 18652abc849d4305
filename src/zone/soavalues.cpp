#include "zone/soavalues.h"

#include "zone/lineshape.h"
#include "zone/recordfields.h"
#include "zone/zonetext.h"

namespace {

bool endsWord(QChar c)
{
    return isFieldBlank(c) || c == QLatin1Char('(') || c == QLatin1Char(')');
}

QStringView uncommented(QStringView line)
{
    const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
    return (semicolon < 0 ? line : line.first(semicolon)).trimmed();
}

// The words of the text, ended by blanks and parentheses, up to its closing parenthesis.
struct ValueWords
{
    QList<QStringView> words;
    bool closed = false;
};

ValueWords valueWords(QStringView text)
{
    ValueWords out;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at] == QLatin1Char(')')) {
            out.closed = true;
            return out;
        }
        if (endsWord(text[at])) {
            ++at;
            continue;
        }
        const qsizetype start = at;
        while (at < text.size() && !endsWord(text[at]))
            ++at;
        out.words.append(text.sliced(start, at - start));
    }
    return out;
}

bool isValueLine(QStringView line)
{
    for (const QStringView word : valueWords(line).words) {
        if (!word.front().isDigit())
            return false;
    }
    return true;
}

// Adds the numbers of the text; true when it closed the record.
bool takeValues(QStringView text, QStringList& values)
{
    const ValueWords found = valueWords(text);
    for (const QStringView word : found.words) {
        if (values.size() == kSoaNumberCount)
            return true;
        for (qsizetype at = 0; at < word.size(); ++at) {
            if (word[at].isDigit()) {
                values.append(word.sliced(at).toString());
                break;
            }
        }
    }
    return found.closed || values.size() == kSoaNumberCount;
}

QString wordAt(QStringView line, const QList<RecordField>& fields, qsizetype index)
{
    if (index < 0 || index >= fields.size())
        return QString();
    return line.sliced(fields.at(index).start, fields.at(index).length).toString();
}

} // namespace

bool isSoaValueLine(QStringView line)
{
    const QStringView text = uncommented(line);
    return !text.isEmpty() && isValueLine(text);
}

std::optional<SoaHead> parseSoaHead(QStringView line)
{
    const QStringView text = uncommented(line);
    if (fieldCount(text) < 4)
        return std::nullopt;

    const QList<RecordField> fields = recordFields(text);
    const bool blankOwner = !line.isEmpty() && isFieldBlank(line.front());
    const qsizetype first = blankOwner ? 0 : 1;
    qsizetype type = first + 1;
    for (qsizetype index = first; index < fields.size(); ++index) {
        if (wordAt(text, fields, index) == QLatin1String("SOA")) {
            type = index;
            break;
        }
    }

    SoaHead head;
    head.owner = blankOwner ? QStringLiteral("@") : wordAt(text, fields, 0);
    for (qsizetype index = first; index < type; ++index) {
        const QString word = wordAt(text, fields, index);
        if (parseTtl(word.toLatin1()))
            head.ttl = word;
    }
    head.primaryServer = wordAt(text, fields, type + 1);
    qsizetype restAt = text.size();
    if (type + 2 < fields.size()) {
        const RecordField& box = fields.at(type + 2);
        const qsizetype paren = text.sliced(box.start, box.length).indexOf(QLatin1Char('('));
        const qsizetype length = paren < 0 ? box.length : paren;
        head.mailbox = text.sliced(box.start, length).toString();
        restAt = box.start + length;
    }
    head.rest = text.sliced(restAt).toString();
    return head;
}

QStringList findSoaValues(const SoaHead& head, const QStringList& lines, qsizetype from, qsizetype* lastLine)
{
    QStringList values;
    qsizetype last = from - 1;
    // The parentheses the numbers stand in, so that a closing one on a line of its own belongs to them.
    qsizetype open = head.rest.count(QLatin1Char('(')) - head.rest.count(QLatin1Char(')'));
    if (!takeValues(head.rest, values)) {
        for (qsizetype index = from; index < lines.size(); ++index) {
            const QStringView text = uncommented(lines.at(index));
            if (text.isEmpty() || !isValueLine(text))
                continue;
            last = index;
            open += text.count(QLatin1Char('(')) - text.count(QLatin1Char(')'));
            if (takeValues(text, values))
                break;
        }
    }
    for (qsizetype index = last + 1; open > 0 && index < lines.size(); ++index) {
        const QStringView text = uncommented(lines.at(index));
        if (text.isEmpty())
            continue;
        if (text.count(QLatin1Char(')')) != text.size())
            break;
        last = index;
        open -= text.size();
    }
    if (lastLine)
        *lastLine = last;
    return values;
}
