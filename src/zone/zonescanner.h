#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

struct zs_scanner;

// The zone file scanner of the platform's DNS library, one record at a time: every record comes out with its
// absolute owner and its data in the presentation form name servers read back. The scanner is told nothing of
// time-to-live directives; a record written without a time to live reports kNoTtl, so that the caller can
// apply the name server's own rules for it.
class ZoneScanner
{
public:
    static constexpr quint32 kNoTtl = 0xffffffffu;

    enum class Step
    {
        Record,
        Error,
        End,
    };

    // The origin is an absolute name in presentation form.
    explicit ZoneScanner(const QByteArray& origin);
    ~ZoneScanner();
    ZoneScanner(const ZoneScanner&) = delete;
    ZoneScanner& operator=(const ZoneScanner&) = delete;

    // False when the origin is no valid name; such a scanner reads nothing.
    bool isValid() const { return m_valid; }

    // The text to read next, lines ended by line feeds; it must stay alive while it is read. Its first line is
    // counted as firstLine.
    void setInput(const char* text, qsizetype size, qint64 firstLine);
    Step next();
    // After an error: whether the scanner can go on with the text after it.
    bool fatal() const;
    // Whether an open parenthesis continues the current record on the next line.
    bool insideParentheses() const;
    // The line the last record ended on, or where the last error was found.
    qint64 line() const;
    QString errorText() const;

    // The record just read. The views stay valid until the next record is read.
    quint32 ttl() const;
    quint16 type() const;
    quint16 recordClass() const;
    QLatin1StringView owner() const;
    QString ownerText() const { return owner(); }
    QString classText() const;
    QString typeText() const;
    // The data fields separated by single blanks.
    QLatin1StringView data() const;
    QString dataText() const { return data(); }
    // The last number of a start of authority's data.
    quint32 soaMinimum() const;

    // Goes on from the owner another scanner read last, so that a record without an owner after a restart
    // belongs where it did before.
    void takeOwnerFrom(const ZoneScanner& other);

private:
    std::unique_ptr<zs_scanner> m_scanner;
    bool m_valid = false;
    mutable std::vector<char> m_dump;
    mutable std::vector<char> m_owner;
    mutable std::vector<quint8> m_rdata;
};

// Whether the text is a valid domain name in presentation form.
bool isValidZoneName(const QByteArray& name);

// A name made absolute: "@" is the origin itself, a name without a final (unescaped) dot gets the origin
// appended. The origin is absolute.
QByteArray absoluteName(const QByteArray& name, const QByteArray& origin);

// One record line read on its own, as the generic record editor and the reading of hand-edited lines check
// them: exactly one record and nothing else.
struct ScannedLine
{
    bool ok = false;
    QString errorText;
    QString owner;
    quint32 ttl = ZoneScanner::kNoTtl;
    QString className;
    QString type;
    QString data;
};

// Reads the line against the origin (an absolute name) with a scanner of its own.
ScannedLine scanRecordLine(const QString& line, const QByteArray& origin);

// Reads lines one after the other with one scanner, so that checking many lines costs one scanner.
class RecordLineChecker
{
public:
    explicit RecordLineChecker(const QByteArray& origin);
    ~RecordLineChecker();

    bool isValid() const;
    ScannedLine check(const QString& line);

private:
    QByteArray m_origin;
    std::unique_ptr<ZoneScanner> m_scanner;
    QByteArray m_text;
};
