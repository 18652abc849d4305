#include "zone/zonefileio.h"

#include "platform/filereading.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QStringList splitTextLines(const QByteArray& bytes)
{
    const QString text = QString::fromLatin1(bytes);
    const QStringView view(text);
    const qsizetype size = view.size();
    QStringList lines;
    lines.reserve(size / 32 + 1);
    qsizetype start = 0;
    while (start < size) {
        const qsizetype feed = view.indexOf(QLatin1Char('\n'), start);
        const qsizetype end = feed < 0 ? size : feed;
        // Lone carriage returns inside the line end lines of their own; one just before the feed belongs to it.
        for (qsizetype cr = view.first(end).indexOf(QLatin1Char('\r'), start); cr >= 0;
             cr = view.first(end).indexOf(QLatin1Char('\r'), start)) {
            if (cr == end - 1 && feed >= 0)
                break;
            lines.append(view.sliced(start, cr - start).toString());
            start = cr + 1;
        }
        if (feed < 0) {
            if (start < size)
                lines.append(view.sliced(start).toString());
            break;
        }
        const qsizetype stop = end > start && view[end - 1] == QLatin1Char('\r') ? end - 1 : end;
        lines.append(view.sliced(start, stop - start).toString());
        start = feed + 1;
    }
    return lines;
}

std::optional<QByteArray> readFileBytes(const QString& path, QString* refusal)
{
    FileReadResult read = readWholeFile(path, ReadLimit::kZoneFile);
    if (!read.ok()) {
        // A file too large to hold is the one case the caller's own message would not explain.
        if (refusal && read.problem == FileReadResult::Problem::TooLarge)
            *refusal = read.errorText;
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::optional<QStringList> readTextFile(const QString& path, QString* refusal)
{
    const std::optional<QByteArray> bytes = readFileBytes(path, refusal);
    if (!bytes)
        return std::nullopt;
    return splitTextLines(*bytes);
}

QByteArray crlfBytes(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    QByteArray bytes(total, Qt::Uninitialized);
    char* out = bytes.data();
    for (const QString& line : lines) {
        // A character beyond Latin-1 cannot be written as one byte; it becomes a question mark.
        for (const QChar c : line)
            *out++ = c.unicode() > 0xff ? '?' : char(c.unicode());
        *out++ = '\r';
        *out++ = '\n';
    }
    return bytes;
}

QString zoneFilePath(const QString& datapath, const QString& fileName)
{
    const QDir dir(datapath);
    const QString exact = dir.filePath(fileName);
    static const QRegularExpression wildcard(QStringLiteral("[*?\\[]"));
    if (fileName.isEmpty() || fileName.contains(wildcard) || QFileInfo::exists(exact))
        return exact;
    // Name filters compare without regard to case.
    const QStringList found = dir.entryList({fileName}, QDir::Files);
    return found.isEmpty() ? exact : dir.filePath(found.first());
}
