#include "namedconf/confedit.h"

#include "namedconf/conffiles.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The line end the file uses: CR LF when its first line ends so.
QString lineEndOf(const QString& text)
{
    const qsizetype feed = text.indexOf(QLatin1Char('\n'));
    return feed > 0 && text.at(feed - 1) == QLatin1Char('\r') ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

} // namespace

QString withoutSpan(const QString& text, qsizetype begin, qsizetype end)
{
    qsizetype lineStart = begin;
    while (lineStart > 0 && isBlank(text.at(lineStart - 1)))
        --lineStart;
    const bool aloneBefore = lineStart == 0 || text.at(lineStart - 1) == QLatin1Char('\n');
    qsizetype after = end;
    while (after < text.size() && isBlank(text.at(after)))
        ++after;
    const bool aloneAfter =
        after >= text.size() || text.at(after) == QLatin1Char('\n') || text.at(after) == QLatin1Char('\r');
    if (aloneBefore && aloneAfter)
        return text.left(lineStart) + text.mid(endOfLine(text, after));
    return text.left(begin) + text.mid(end);
}

QString withSpan(const QString& text, qsizetype begin, qsizetype end, const QString& replacement)
{
    return text.left(begin) + replacement + text.mid(end);
}

QString withLineAdded(const QString& text, const QString& line, int* lineNumber)
{
    const QString end = lineEndOf(text);
    QString out = text;
    if (!out.isEmpty() && !out.endsWith(QLatin1Char('\n')))
        out += end;
    if (lineNumber)
        *lineNumber = lineAt(out, out.size());
    return out + line + end;
}

QString withLineInBlock(const QString& text, qsizetype blockEnd, const QString& line, int* lineNumber)
{
    const qsizetype close = blockEnd - 1; // the "}"
    qsizetype lineStart = text.lastIndexOf(QLatin1Char('\n'), close) + 1;
    const QString end = lineEndOf(text);
    // Where the "}" stands alone on its line, the new line goes above it; otherwise the "}" gets a line of its own.
    bool alone = true;
    for (qsizetype i = lineStart; i < close; ++i)
        alone = alone && isBlank(text.at(i));
    const QString closeIndent = text.sliced(lineStart, close - lineStart);
    const QString indent = (alone ? closeIndent : QString()) + QLatin1Char('\t');
    if (alone) {
        if (lineNumber)
            *lineNumber = lineAt(text, lineStart);
        return text.left(lineStart) + indent + line + end + text.mid(lineStart);
    }
    if (lineNumber)
        *lineNumber = lineAt(text, close) + 1;
    return text.left(close) + end + indent + line + end + text.mid(close);
}
