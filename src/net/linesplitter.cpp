#include "net/linesplitter.h"

#include <algorithm>

LineSplitter::LineSplitter(QByteArray delimiter) : m_delimiter(std::move(delimiter))
{
    if (m_delimiter.isEmpty())
        m_delimiter = "\n";
}

void LineSplitter::setDelimiter(const QByteArray& delimiter)
{
    m_delimiter = delimiter.isEmpty() ? QByteArray("\n") : delimiter;
}

QString LineSplitter::cutMark()
{
    return QStringLiteral(" [line cut at %1 KB]").arg(kLongestLine / 1024);
}

void LineSplitter::clear()
{
    m_line.clear();
    m_carry.clear();
    m_cut = false;
    m_cost = 0;
}

void LineSplitter::keep(const char* data, qsizetype size)
{
    const qsizetype room = kLongestLine - m_line.size();
    if (size > room)
        m_cut = true;
    m_line.append(data, std::min(size, std::max<qsizetype>(room, 0)));
}

QString LineSplitter::finishLine()
{
    QString line = QString::fromLatin1(m_line);
    if (m_cut)
        line += cutMark();
    m_cost += kLineCost;
    m_line.clear();
    m_cut = false;
    return line;
}

QStringList LineSplitter::feed(const char* data, qsizetype size)
{
    QStringList lines;
    if (isFull() || size <= 0)
        return lines;
    // Every byte counts, also those of a line cut short, so that a peer sending without end is stopped.
    size = qsizetype(std::min<qint64>(size, kLargestAnswer - m_cost));
    m_cost += size;
    // The carried bytes go in front, so that a delimiter split between two pieces is still found.
    QByteArray work = m_carry;
    work.append(data, size);
    m_carry.clear();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = work.indexOf(m_delimiter, start);
        if (end < 0)
            break;
        keep(work.constData() + start, end - start);
        lines << finishLine();
        start = end + m_delimiter.size();
        if (isFull())
            return lines;
    }
    const qsizetype carried = std::min(work.size() - start, m_delimiter.size() - 1);
    keep(work.constData() + start, work.size() - start - carried);
    m_carry = work.right(carried);
    return lines;
}

std::optional<QString> LineSplitter::takeRest()
{
    keep(m_carry.constData(), m_carry.size());
    m_carry.clear();
    if (m_line.isEmpty() && !m_cut)
        return std::nullopt;
    return finishLine();
}
