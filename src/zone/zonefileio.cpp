#include "zone/zonefileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

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

std::optional<QByteArray> readFileBytes(const QString& path)
{
    // A folder opens like a file on some systems and then reads as empty.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QStringList> readTextFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readFileBytes(path);
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

FileWriteResult replaceFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString())};
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        // A file size limit or a full disk lets a write stop short without reporting an error.
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("only %1 of %2 bytes were taken").arg(written).arg(bytes.size());
        file.cancelWriting();
        return {false, QStringLiteral("%1 could not be written: %2").arg(path, reason)};
    }
    if (!file.commit())
        return {false, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString())};
    return {};
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
