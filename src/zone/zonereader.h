#pragma once

#include "zone/zonecontext.h"

#include <QString>
#include <QStringView>

enum class ZoneLoadStatus
{
    Loaded,       // every line was examined; rejected lines were reported
    NoFileName,   // the file name was empty
    Unreadable,   // the file could not be read
    SoaMalformed, // a start of authority line had too few fields; the lines after it were not read
};

// The number of runs of blanks in the line without its last character, so that the one blank that ends most
// record lines is not counted. Tabs separate fields as spaces do, since hand-written files use both.
int fieldCount(QStringView line);

// The field count of a TXT line: the text from the first double quote to the last is one field however many
// blanks it holds, so that every text the person editor quotes reads back as it was written.
int textFieldCount(QStringView line);

// Reads a zone file (its name relative to the data directory) into the loaded zone: the start of authority
// and every NS, MX, A, CNAME and RP line with its TXT line that passes its field count, each kept exactly as
// read. Every rejected line is reported and passed over; the three stops are reported too. The displays are
// left to the caller (rebuildDisplays).
ZoneLoadStatus loadZone(ZoneContext& context, const QString& fileName, const QString& zoneName);
