#pragma once

#include "zone/lineshape.h"
#include "zone/zonecontext.h"
#include "zone/zonenormaliser.h"

#include <QString>
#include <QStringView>

enum class ZoneLoadStatus
{
    Loaded,       // every line was examined; lines that could not be kept as records were reported
    NoFileName,   // the file name was empty
    Unreadable,   // the file could not be read
    SoaMalformed, // a start of authority line had too few fields; the lines after it were not read
};

// A file the program wrote itself: its first line is the program's signature line.
bool isOwnLayout(const QByteArray& bytes);

// The heading of the section the other records are written under.
QString otherRecordsHeading();

// The message naming the lines a reading could not read as records, and the one naming the "$INCLUDE" lines it
// kept as they stand.
QString unreadableLinesText(const QString& fileName, const QStringList& lines);
QString keptIncludesText(const QString& fileName, const QStringList& includes);

// Reads a zone file (its name relative to the data directory) into the loaded zone: the start of authority
// and every NS, MX, A, CNAME and RP line with its TXT line that passes its field count, each kept exactly as
// read; every other record as an other record, in file order. A file the program did not write (or one it
// wrote and someone edited into lines that need the lines before them) is put in context-free form first.
// Lines no scanner can read are kept as comments and reported in one message; the three stops are reported
// too. The displays are left to the caller (rebuildDisplays).
ZoneLoadStatus loadZone(ZoneContext& context, const QString& fileName, const QString& zoneName);

// Reads a zone already put in context-free form (from the file of that name) into the loaded zone, as loadZone
// reads a file written elsewhere.
ZoneLoadStatus readNormalisedZone(ZoneContext& context, const QString& fileName, const QString& zoneName,
                                  const NormalisedZone& zone);
