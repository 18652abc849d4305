#include "gui/common/mnemonics.h"

namespace {

bool usable(QChar c)
{
    return c.isLetterOrNumber() && c.unicode() < 0x80;
}

bool initialAt(const QString& text, qsizetype i)
{
    return usable(text.at(i)) && (i == 0 || !text.at(i - 1).isLetterOrNumber());
}

// The position to mark: a free word initial first, then any free character, then (when sharing) the first
// initial; -1 when there is none.
qsizetype markAt(const QString& text, const QString& taken, WhenFull full)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (initialAt(text, i) && !taken.contains(text.at(i).toLower()))
            return i;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (usable(text.at(i)) && !taken.contains(text.at(i).toLower()))
            return i;
    }
    for (qsizetype i = 0; full == WhenFull::Share && i < text.size(); ++i) {
        if (initialAt(text, i))
            return i;
    }
    return -1;
}

} // namespace

QChar mnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            return text.at(i + 1).toLower();
        ++i;
    }
    return QChar();
}

QStringList withMnemonics(const QStringList& texts, QString& taken, WhenFull full)
{
    for (const QString& text : texts) {
        if (const QChar key = mnemonicOf(text); !key.isNull())
            taken += key;
    }
    QStringList result;
    result.reserve(texts.size());
    for (const QString& text : texts) {
        if (!mnemonicOf(text).isNull() || text.contains(QLatin1Char('&'))) {
            result << text;
            continue;
        }
        const qsizetype at = markAt(text, taken, full);
        if (at < 0) {
            result << text;
            continue;
        }
        taken += text.at(at).toLower();
        result << text.left(at) + QLatin1Char('&') + text.mid(at);
    }
    return result;
}
