#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A zone file written elsewhere, put in a form without context: every record on one line with its absolute
// owner, its class and its type, "$ORIGIN", records without an owner, parentheses and "$GENERATE" resolved,
// "$INCLUDE" followed. The lines read like the program's own, so that the records its lists keep are laid out
// as its editors lay them out:
//
//   owner     [ttl     ]IN     TYPE     data
//
// with five blanks between the fields, the mail priority and host apart by five blanks, the RP names by two,
// and mail, host, alias, RP and TXT lines ending in one blank.
//
// Times to live follow the name servers' rules (the "$TTL" in effect, else the last one given, else the start
// of authority's minimum). The first line is "$TTL n" when the file had one, or when its start of authority
// carries a time to live of its own, which then stands for every record that had it; a record whose time to
// live differs from the default written carries its own. Without a "$TTL" line the default is the start of
// authority's minimum, as the program's own files have it.
// What a normalised line is, so that its reading need not take it apart again. A record with a time to live of
// its own is Other (the lists hold none), except the start of authority.
enum class NormalisedKind : quint8
{
    Other,
    DefaultTtl,
    StartOfAuthority,
    NameServer,
    MailServer,
    Host,
    Alias,
    Person,
    Text,
};

struct NormalisedZone
{
    bool ok = false; // false when the zone name is no valid origin: nothing could be read
    QStringList lines;
    QList<NormalisedKind> kinds; // one per line
    // Lines no scanner could read, each kept as a comment line where it stood and listed here with its
    // number and the reason ("line 12 (invalid IPv4 address)").
    QStringList unreadable;
    // "$INCLUDE" lines that name a file outside the data directory, or one that cannot be read: kept as they
    // stand, and listed here.
    QStringList includesKept;
};

// Relative "$INCLUDE" files are looked for in the data directory, as the name server does, and only files
// inside it are followed.
NormalisedZone normaliseZone(const QByteArray& bytes, const QString& zoneName, const QString& dataDirectory);

// The comment line that keeps a line no scanner could read: the file (when it is not the zone file itself)
// and the line's number, then the line.
QString unreadableLineComment(const QString& fileName, qint64 line, const QString& text);

// One record laid out as the normalised lines are; ttl empty for a record that carries none.
QString contextFreeLine(const QString& owner, const QString& ttl, const QString& className, const QString& type,
                        const QString& data);
