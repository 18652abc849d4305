#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Splits what a text protocol peer sends into lines at a delimiter, as the bytes arrive: each byte is looked at
// once, however the peer cuts its answer into pieces. A peer decides how much it sends, so both a line and the
// whole answer are held to a limit: a longer line is cut and marked, and past the answer's limit nothing more is
// taken.
class LineSplitter
{
public:
    static constexpr qsizetype kLongestLine = 64 * 1024;
    static constexpr qint64 kLargestAnswer = 16 * 1024 * 1024;
    // What keeping a line costs beyond its bytes; counted against the answer's limit, so that a flood of empty
    // lines is held to it as well.
    static constexpr qint64 kLineCost = 64;

    explicit LineSplitter(QByteArray delimiter = "\r\n");

    void setDelimiter(const QByteArray& delimiter);
    const QByteArray& delimiter() const { return m_delimiter; }

    // The complete lines the bytes end; once the answer's limit is reached the rest is dropped.
    QStringList feed(const char* data, qsizetype size);
    QStringList feed(const QByteArray& bytes) { return feed(bytes.constData(), bytes.size()); }
    // The last line, which had no delimiter yet; none when nothing is waiting.
    std::optional<QString> takeRest();
    // Whether the answer has reached its limit.
    bool isFull() const { return m_cost >= kLargestAnswer; }
    void clear();

    static QString cutMark();

private:
    void keep(const char* data, qsizetype size);
    QString finishLine();

    QByteArray m_delimiter;
    QByteArray m_line;  // the current line, at most kLongestLine bytes
    QByteArray m_carry; // the last bytes seen, which may be the start of a delimiter
    bool m_cut = false;
    qint64 m_cost = 0;
};
