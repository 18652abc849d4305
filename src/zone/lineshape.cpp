#include "zone/lineshape.h"

namespace {

// Whether the characters spell the text exactly; record words are plain letters.
bool spells(const char16_t* word, qsizetype length, const char* text, qsizetype textLength)
{
    if (length != textLength)
        return false;
    for (qsizetype at = 0; at < length; ++at) {
        if (word[at] != char16_t(text[at]))
            return false;
    }
    return true;
}

bool endsIn(const char16_t* word, qsizetype length, const char* text, qsizetype textLength)
{
    return length >= textLength && spells(word + length - textLength, textLength, text, textLength);
}

} // namespace

void LineShape::noteRecordWord(const char16_t* word, qsizetype length)
{
    switch (length) {
    case 1:
        a = a || word[0] == u'A';
        break;
    case 2:
        in = in || spells(word, 2, "IN", 2);
        ns = ns || spells(word, 2, "NS", 2);
        mx = mx || spells(word, 2, "MX", 2);
        rp = rp || spells(word, 2, "RP", 2);
        break;
    case 3:
        txt = txt || spells(word, 3, "TXT", 3);
        break;
    case 5:
        cname = cname || spells(word, 5, "CNAME", 5);
        break;
    default:
        break;
    }
}

LineShape::LineShape(QStringView line)
{
    if (line.contains(QLatin1Char('"')))
        readQuoted(line);
    else
        readPlain(line);
}

// Word by word; nearly every line of a zone holds no quote and takes this way.
void LineShape::readPlain(QStringView line)
{
    const char16_t* text = line.utf16();
    const qsizetype size = line.size();
    bool endsInIn = false;
    bool endsInSoa = false;
    int runs = 0;
    qsizetype at = 0;
    while (at < size) {
        const qsizetype wordStart = at;
        while (at < size && text[at] != u' ' && text[at] != u'\t')
            ++at;
        if (at == size)
            break;
        if (at > wordStart) {
            endsInIn = endsInIn || endsIn(text + wordStart, at - wordStart, "IN", 2);
            endsInSoa = endsInSoa || endsIn(text + wordStart, at - wordStart, "SOA", 3);
            if (wordStart > 0)
                noteRecordWord(text + wordStart, at - wordStart);
        }
        // A run that only the last character of the line makes is not counted.
        runs += at < size - 1;
        while (at < size && (text[at] == u' ' || text[at] == u'\t'))
            ++at;
    }
    soa = endsInIn && endsInSoa;
    fields = runs;
    textFields = runs;
}

// Character by character, with what stands between the first and the last quote taken as masked.
void LineShape::readQuoted(QStringView line)
{
    const char16_t* text = line.utf16();
    const qsizetype size = line.size();
    const qsizetype firstQuote = line.indexOf(QLatin1Char('"'));
    const qsizetype lastQuote = line.lastIndexOf(QLatin1Char('"'));
    bool endsInIn = false;
    bool endsInSoa = false;
    bool inRun = false;
    bool inMaskedRun = false;
    qsizetype wordStart = 0;
    bool wordMasked = false;
    int runs = 0;
    int maskedRuns = 0;
    for (qsizetype at = 0; at <= size; ++at) {
        const bool plainBlank = at < size && (text[at] == u' ' || text[at] == u'\t');
        const bool masked = at > firstQuote && at < lastQuote;
        const bool blank = plainBlank && !masked;
        if (at < size - 1) {
            runs += plainBlank && !inRun;
            inRun = plainBlank;
            maskedRuns += blank && !inMaskedRun;
            inMaskedRun = blank;
        }
        if (at < size && !blank) {
            wordMasked = wordMasked || masked;
            continue;
        }
        if (at < size && at > wordStart) {
            // Of a word holding masked text only what follows the closing quote can end it in a record word.
            const qsizetype tailStart = wordMasked ? lastQuote : wordStart;
            endsInIn = endsInIn || endsIn(text + tailStart, at - tailStart, "IN", 2);
            endsInSoa = endsInSoa || endsIn(text + tailStart, at - tailStart, "SOA", 3);
            if (wordStart > 0 && !wordMasked)
                noteRecordWord(text + wordStart, at - wordStart);
        }
        wordStart = at + 1;
        wordMasked = false;
    }
    soa = endsInIn && endsInSoa;
    fields = runs;
    textFields = maskedRuns;
}

int fieldCount(QStringView line)
{
    return LineShape(line).fields;
}

int textFieldCount(QStringView line)
{
    return LineShape(line).textFields;
}
