#include "zone/zonefileio.h"

#include "platform/filereading.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>

QStringList splitTextLines(const QByteArray& bytes)
{
    // Each line is widened on its own: a copy of the whole file in wide characters would double what a large
    // zone costs while it is read.
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    QStringList lines;
    lines.reserve(size / 32 + 1);
    qsizetype start = 0;
    while (start < size) {
        const char* const feed = static_cast<const char*>(std::memchr(data + start, '\n', size_t(size - start)));
        const qsizetype end = feed ? feed - data : size;
        // Lone carriage returns inside the line end lines of their own; one just before the feed belongs to it.
        for (const char* cr = static_cast<const char*>(std::memchr(data + start, '\r', size_t(end - start))); cr;
             cr = static_cast<const char*>(std::memchr(data + start, '\r', size_t(end - start)))) {
            const qsizetype at = cr - data;
            if (at == end - 1 && feed)
                break;
            lines.append(QString::fromLatin1(data + start, at - start));
            start = at + 1;
        }
        if (!feed) {
            if (start < size)
                lines.append(QString::fromLatin1(data + start, size - start));
            break;
        }
        const qsizetype stop = end > start && data[end - 1] == '\r' ? end - 1 : end;
        lines.append(QString::fromLatin1(data + start, stop - start));
        start = end + 1;
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
