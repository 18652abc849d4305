#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class ZoneModel;

// The third line of every zone file the program writes.
QString zoneMakerLine();

// A host address line as the file gets it: an address stored with a trailing dot loses the dot.
QString writtenHostLine(const QString& line);

// The bytes of the zone's file, CR LF after every line: the header and start of authority, then the six
// sections in their fixed order, each present even when empty; the stored lines are copied as they stand.
QByteArray zoneFileBytes(const ZoneModel& zone);
