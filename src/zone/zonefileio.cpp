#include "zone/zonefileio.h"

#include "platform/filereading.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

QByteArray crlfBytes(const QStringList& lines)
{
    QByteArray bytes;
    bytes.reserve(crlfSize(lines));
    for (const QString& line : lines)
        appendCrlfLine(bytes, line);
    return bytes;
}

qsizetype crlfSize(const QStringList& lines)
{
    qsizetype total = 0;
    for (const QString& line : lines)
        total += line.size() + 2;
    return total;
}

void appendCrlfLine(QByteArray& bytes, QStringView line)
{
    const qsizetype at = bytes.size();
    bytes.resize(at + line.size() + 2);
    char* out = bytes.data() + at;
    const char16_t* in = line.utf16();
    const char16_t* const end = in + line.size();
#if defined(__SSE2__)
    // Eight characters at a time while they are all Latin-1, which nearly every line of a zone is: writing a
    // zone of millions of records spends a good part of its time here.
    const __m128i highBytes = _mm_set1_epi16(qint16(0xff00));
    while (end - in >= 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(chars, highBytes), _mm_setzero_si128())) != 0xffff)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(chars, chars));
        in += 8;
        out += 8;
    }
#endif
    for (; in != end; ++in)
        *out++ = *in > 0xff ? '?' : char(*in);
    *out++ = '\r';
    *out = '\n';
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
