#pragma once

#include "zone/lineshape.h"
#include "zone/zonenormaliser.h"

#include <QString>
#include <QStringView>

class DebugLog;
class Prompter;
class ZoneModel;

enum class ZoneLoadStatus
{
    Loaded,       // every line was examined; lines that could not be kept as records were reported
    NoFileName,   // the file name was empty
    Unreadable,   // the file could not be read
    SoaMalformed, // a start of authority line had too few fields; the lines after it were not read
};

// A file the program wrote itself: its first line is the program's signature line.
bool isOwnLayout(const QByteArray& bytes);
// The same for a file on disk, reading no more than the signature line; false when it cannot be read.
bool isOwnLayoutFile(const QString& path);

// The heading of the section the other records are written under.
QString otherRecordsHeading();

// The message naming the lines a reading could not read as records, and the one naming the "$INCLUDE" lines it
// kept as they stand.
QString unreadableLinesText(const QString& fileName, const QStringList& lines);
QString keptIncludesText(const QString& fileName, const QStringList& includes);

// What a reading fills and where it reports: the zone model, the prompter for its messages, the debug log, and the
// data directory the file's name (and its "$INCLUDE" lines) are relative to.
struct ZoneReadTarget
{
    ZoneModel& zone;
    Prompter& prompter;
    DebugLog& log;
    const QString& dataDirectory;
};

// Reads a zone file into the zone: the start of authority and every NS, MX, A, CNAME and RP line with its TXT
// line that passes its field count, each kept exactly as read; every other record as an other record, in file
// order. A file the program did not write (or one it
// wrote and someone edited into lines that need the lines before them) is put in context-free form first.
// Lines no scanner can read are kept as comments and reported in one message; the three stops are reported
// too. The displays are left to the caller (rebuildDisplays).
ZoneLoadStatus readZoneFile(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName);

// Reads a zone already put in context-free form (from the file of that name) into the zone, as readZoneFile
// reads a file written elsewhere.
ZoneLoadStatus readNormalisedZoneFile(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName,
                                      const NormalisedZone& zone);
