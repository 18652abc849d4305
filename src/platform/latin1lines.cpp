#include "platform/latin1lines.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

QStringList latin1Lines(const QByteArray& bytes)
{
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

std::optional<QStringList> readLatin1Lines(const QString& path, qint64 limit, QString* errorText)
{
    const FileReadResult read = readWholeFile(path, limit);
    if (!read.ok()) {
        if (errorText)
            *errorText = read.errorText;
        return std::nullopt;
    }
    return latin1Lines(*read.bytes);
}

QByteArray crlfLines(const QStringList& lines)
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
