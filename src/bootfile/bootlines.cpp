#include "bootfile/bootlines.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    // Only a regular file: a folder cannot be read, and a pipe or a device could block or never end.
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (errorText)
            *errorText = info.exists() ? QStringLiteral("%1 is not a file.").arg(path)
                                       : QStringLiteral("%1 does not exist.").arg(path);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (errorText)
            *errorText = file.errorString();
        return std::nullopt;
    }
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

bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* errorText)
{
    QSaveFile file(path);
    // A short write (a full disk, a size limit) shows only in the count and in the flush, not in the commit.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() && file.commit())
        return true;
    if (errorText)
        *errorText = file.errorString();
    file.cancelWriting();
    return false;
}
