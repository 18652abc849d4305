#include "bootfile/bootlines.h"

#include "platform/filereading.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

} // namespace

QString blanksForTabs(const QString& line)
{
    if (!line.contains(QLatin1Char('\t')))
        return line;
    QString copy = line;
    copy.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return copy;
}

QStringList fieldsOf(const QString& line)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size) {
        while (i < size && isBlank(line.at(i)))
            ++i;
        const qsizetype start = i;
        while (i < size && !isBlank(line.at(i)))
            ++i;
        if (i > start)
            fields.append(line.mid(start, i - start));
    }
    return fields;
}

QString textFromField(const QString& line, int index)
{
    qsizetype i = 0;
    const qsizetype size = line.size();
    for (int field = 0;; ++field) {
        while (i < size && isBlank(line.at(i)))
            ++i;
        if (i >= size)
            return QString();
        if (field == index)
            return line.mid(i);
        while (i < size && !isBlank(line.at(i)))
            ++i;
    }
}

QString textAfterFirstField(const QString& line)
{
    return textFromField(line, 1);
}

QString textAfterFirstBlank(const QString& line)
{
    qsizetype i = 0;
    const qsizetype size = line.size();
    while (i < size && !isBlank(line.at(i)))
        ++i;
    while (i < size && isBlank(line.at(i)))
        ++i;
    return line.mid(i);
}

QString singleBackslashes(QString text)
{
    return text.replace(QStringLiteral("\\\\"), QStringLiteral("\\"));
}

QString doubledBackslashes(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString displayNameOf(const QString& identifier)
{
    return identifier.section(QLatin1Char('@'), 0, 0);
}

std::optional<QStringList> readLatin1Lines(const QString& path, QString* errorText)
{
    const FileReadResult read = readWholeFile(path, ReadLimit::kBootFile);
    if (!read.ok()) {
        if (errorText)
            *errorText = read.errorText;
        return std::nullopt;
    }
    const QByteArray& bytes = *read.bytes;
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype length = end - start;
        if (length > 0 && bytes.at(end - 1) == '\r')
            --length;
        lines.append(QString::fromLatin1(bytes.constData() + start, length));
        start = next;
    }
    return lines;
}

QByteArray crlfLines(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const QString& line : lines) {
        bytes.append(line.toLatin1());
        bytes.append("\r\n", 2);
    }
    return bytes;
}
