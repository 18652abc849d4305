#pragma once

#include "zone/recordkind.h"

#include <QString>
#include <QStringList>
#include <functional>

class SoaRecord;
class ZoneModel;

// The short form of a stored record line, as the browser shows it after a zone was read. Lines too short to
// hold a part of the form give that part empty.
QString displayText(RecordKind kind, const QString& line);

// The nine display lines of a start of authority; none for an empty one.
QStringList soaDisplayLines(const SoaRecord& soa);

// What rebuildDisplays runs for the start of authority. The SOA editor supplies one that checks the eight
// values and stores them back (normalising the mailbox) before the display lines are rebuilt.
using SoaDisplayStep = std::function<void(ZoneModel&)>;

// Rebuilds every display list of the zone from its stored lines, after a zone was read and before it is
// browsed or edited. Without a step for the start of authority, its display lines are rebuilt from the
// values as they stand.
void rebuildDisplays(ZoneModel& zone, const SoaDisplayStep& soaStep = {});
