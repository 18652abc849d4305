#pragma once

#include "session/zonecontext.h"
#include "zone/zonereader.h"

#include <QString>

// Reads a zone file of the loaded server (its name relative to the data directory) into the loaded zone, as
// readZoneFile reads it.
ZoneLoadStatus loadZone(ZoneContext& context, const QString& fileName, const QString& zoneName);

// Reads a zone already put in context-free form (from the file of that name) into the loaded zone, as loadZone
// reads a file written elsewhere.
ZoneLoadStatus readNormalisedZone(ZoneContext& context, const QString& fileName, const QString& zoneName,
                                  const NormalisedZone& zone);
