#include "zone/zonefileio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QStringList splitTextLines(const QByteArray& bytes)
{
    const QString text = QString::fromLatin1(bytes);
    const QStringView view(text);
    QStringList lines;
    lines.reserve(text.size() / 32 + 1);
    qsizetype start = 0;
    const qsizetype size = view.size();
    for (qsizetype at = 0; at < size; ++at) {
        const QChar c = view[at];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines.append(view.sliced(start, at - start).toString());
        if (c == QLatin1Char('\r') && at + 1 < size && view[at + 1] == QLatin1Char('\n'))
            ++at;
        start = at + 1;
    }
    if (start < size)
        lines.append(view.sliced(start).toString());
    return lines;
}

std::optional<QStringList> readTextFile(const QString& path)
{
    // A folder opens like a file on some systems and then reads as empty.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return splitTextLines(bytes);
}

QByteArray crlfBytes(const QStringList& lines)
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
