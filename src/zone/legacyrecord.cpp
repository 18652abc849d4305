#include "zone/legacyrecord.h"

#include "zone/zonescanner.h"
#include "zone/zonetext.h"

#include <QList>

namespace {

struct LegacyType
{
    const char* name;
    // The positions of the data words that are domain names.
    QList<int> names;
};

const QList<LegacyType>& legacyTypes()
{
    static const QList<LegacyType> types = {
        {"WKS", {}},  {"X25", {}},        {"ISDN", {}}, {"NSAP", {}},  {"GPOS", {}}, {"PX", {1, 2}},
        {"MB", {0}},  {"MG", {0}},        {"MR", {0}},  {"MD", {0}},   {"MF", {0}},  {"NSAP-PTR", {0}},
        {"SIG", {7}}, {"TALINK", {0, 1}}, {"AVC", {}},  {"NINFO", {}}, {"EID", {}},  {"NIMLOC", {}},
        {"ATMA", {}}, {"DLV", {}},        {"TA", {}},   {"SINK", {}},  {"RKEY", {}},
    };
    return types;
}

const LegacyType* legacyType(const QByteArray& word)
{
    const QByteArray upper = word.toUpper();
    for (const LegacyType& type : legacyTypes()) {
        if (upper == type.name)
            return &type;
    }
    return nullptr;
}

bool isClassWord(const QByteArray& word)
{
    const QByteArray upper = word.toUpper();
    return upper == "IN" || upper == "CH" || upper == "HS" || upper == "CS";
}

// The words of the line: blanks separate them, quoted text stays one word with its quotes, a semicolon
// outside quotes begins the comment. None when the line holds a parenthesis, which continues the record
// elsewhere.
std::optional<QList<QByteArray>> wordsOf(QByteArrayView line)
{
    QList<QByteArray> words;
    qsizetype at = 0;
    const qsizetype size = line.size();
    while (at < size) {
        const char c = line.at(at);
        if (c == ' ' || c == '\t') {
            ++at;
            continue;
        }
        if (c == ';')
            break;
        if (c == '(' || c == ')')
            return std::nullopt;
        QByteArray word;
        bool quoted = false;
        while (at < size && (quoted || (line.at(at) != ' ' && line.at(at) != '\t' && line.at(at) != ';'))) {
            const char next = line.at(at);
            if (next == '\\' && at + 1 < size) {
                word += next;
                word += line.at(++at);
            } else {
                if (next == '"')
                    quoted = !quoted;
                else if (!quoted && (next == '(' || next == ')'))
                    return std::nullopt;
                word += next;
            }
            ++at;
        }
        words << word;
    }
    return words;
}

} // namespace

std::optional<LegacyRecord> readLegacyRecord(QByteArrayView line, const QByteArray& origin,
                                             const QByteArray& previousOwner)
{
    const std::optional<QList<QByteArray>> words = wordsOf(line);
    if (!words || words->isEmpty())
        return std::nullopt;
    const bool blankOwner = line.front() == ' ' || line.front() == '\t';
    if (blankOwner && previousOwner.isEmpty())
        return std::nullopt;
    LegacyRecord record;
    const QByteArray owner = blankOwner ? previousOwner : absoluteName(words->first(), origin);
    if (!isValidZoneName(owner))
        return std::nullopt;
    record.owner = QString::fromLatin1(owner);
    record.className = QStringLiteral("IN");
    qsizetype at = blankOwner ? 0 : 1;
    for (; at < words->size(); ++at) {
        const QByteArray& word = words->at(at);
        if (record.ttl.isEmpty() && parseTtl(word))
            record.ttl = word;
        else if (isClassWord(word))
            record.className = QString::fromLatin1(word.toUpper());
        else
            break;
    }
    const LegacyType* type = at < words->size() ? legacyType(words->at(at)) : nullptr;
    if (!type || at + 1 >= words->size())
        return std::nullopt;
    record.type = QString::fromLatin1(type->name);
    QList<QByteArray> data = words->mid(at + 1);
    for (const int index : type->names) {
        if (index < data.size())
            data[index] = absoluteName(data.at(index), origin);
    }
    record.data = QString::fromLatin1(data.join(' '));
    return record;
}
