#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// A zone file's text made ready for the scanner. Line ends become line feeds (CR LF, LF and a lone CR each end
// a line, as everywhere else in the program). "$ORIGIN" lines are made absolute, so that a relative origin
// means what the name servers make of it; every other directive is taken out of the text, its line left empty
// so that line numbers stay those of the file, and handed to the caller to carry out at its place.
struct ZoneDirective
{
    enum class Kind
    {
        Ttl,
        Include,
        Generate,
        BadOrigin, // an "$ORIGIN" without a valid name
        Unknown,
    };

    Kind kind = Kind::Unknown;
    qint64 line = 0;
    QByteArray text;         // the line as written
    QList<QByteArray> words; // the words after the directive's name, quotes taken off, the comment cut
    QByteArray origin;       // the origin in effect on the line
};

struct PreparedZoneText
{
    QByteArray text;
    QList<ZoneDirective> directives; // in line order
    // From which line on each origin is in effect, in line order; the first is the zone's own from line 1.
    QList<std::pair<qint64, QByteArray>> origins;

    QByteArray originAt(qint64 line) const;
};

PreparedZoneText prepareZoneText(const QByteArray& raw, const QByteArray& origin);

// A time to live as the name servers read it: seconds, or numbers with the units w, d, h, m and s (in either
// case); none for anything else or a value beyond 32 bits.
std::optional<quint32> parseTtl(const QByteArray& text);
