#pragma once

#include "platform/filestamp.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row of the zone grids of the "Server Info" page, lower case; `masters` is empty for primary zones.
struct ZoneGridRow
{
    QString zone;
    QString masters;
    QString file;

    bool operator==(const ZoneGridRow&) const = default;
};

// The loaded server's boot data: emptied and refilled by every reading of its boot file, and turned back into
// the file by the writer.
struct BootConfig
{
    static QString fileName() { return QStringLiteral("named.boot"); }

    QString bootDirectory; // the boot file's folder, with a trailing separator
    QString bootFileName;  // "named.boot" once a reading began
    QString realpath;      // the data directory as the file names it: the server's own drive, doubled backslashes
    QString holdpath;      // the data directory as this machine names it, doubled backslashes
    QString mapdrive;      // the local letter that reaches the server's drive; empty when it is not mapped
    QString cacheFile;     // as the cache line named it; the writer always names "cache.dns"
    FileStamp fileStamp;   // the boot file as this program last read or wrote it

    QStringList primaryEntries;           // zone, five blanks, file
    QStringList secondaryEntries;         // zone, five blanks, masters, five blanks, file
    QStringList reversePrimaryLines;      // whole IN-ADDR.ARPA primary lines, verbatim
    QStringList secondaryReverseLines;    // IN-ADDR.ARPA secondary lines up to their comment
    QStringList secondaryReverseComments; // the comments, shown on the "Addl Properties" page
    QStringList parameterLines;           // option lines, verbatim
    QStringList otherLines;               // lines no test recognised, verbatim, carried over in their order

    // The three grids of the "Server Info" page, in the writer's sorted order.
    QList<ZoneGridRow> primaryGrid;
    QList<ZoneGridRow> secondaryGrid;     // the first master address only
    QList<ZoneGridRow> secondaryFullGrid; // every master address

    void clear();
    // Rebuilds the three grids from the entries.
    void fillGrids();
};

// The entries sorted without regard to case, as the writer and the grids order them; ties keep their order.
QStringList sortedWithoutCase(QStringList entries);
