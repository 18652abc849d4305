#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <QStringList>

struct AppState;
struct NewZoneServer;
struct SetupDefaults;

// The serial and the four timings a new zone's start of authority starts from.
struct SoaTimings
{
    QString serial;
    QString refresh;
    QString retry;
    QString expire;
    QString minimum;
};

// The timings the wizard offers: the Setup page's defaults, each empty one replaced by its fallback.
SoaTimings wizardTimings(const SetupDefaults& defaults);

// The timings fast add writes: the Setup page's defaults, each one that the name server cannot read as a time
// (an empty one included) replaced by its fallback, since a start of authority without numbers is refused by
// the zone reader and by every name server.
SoaTimings fastAddTimings(const SetupDefaults& defaults);

// The skeleton file "Create a new Primary Zone..." writes, with every section present. Like fast add's, it
// carries the server's own name server record (and its address when the name lies inside the zone), so that
// the name server loads the zone from the start.
QStringList skeletonZoneLines(const QString& zone, const NewZoneServer& owner);

// The file fast add writes: the start of authority and the first four sections only.
QStringList fastAddZoneLines(const QString& zone, const NewZoneServer& owner, const SoaTimings& timings);

// The checks a new primary zone's name passes, in order, each reporting its own refusal: a known top-level
// domain, no illegal characters, no zone of that name yet. Zones are created in lower case, so a name that
// differs from an existing zone (or from one of the names already waiting) only in case is refused too.
bool checkNewPrimaryName(const AppState& state, const QString& name, Prompter& prompter,
                         const QStringList& waiting = QStringList());

enum class CreationStatus
{
    Created,
    Refused,        // the name failed a check (reported)
    FileFailed,     // the zone file could not be written; nothing was registered (reported)
    BootFileFailed, // the zone is registered, but the boot file could not be saved (reported)
};

// Writes the zone's file (zone + ".DNS" in the data directory) with the lines given, registers the zone in the
// primary lists and the boot-file model, saves the boot file, reads the zone and saves the boot file again.
// The zone name is taken in lower case. Without saveBootFile the boot file is left to the caller, who creates
// many zones in a row and saves it once for all of them.
CreationStatus createPrimaryZoneFile(ZoneContext& context, const QString& zone, const QStringList& lines,
                                     bool saveBootFile = true);

// "Start Wizard": the checks, then the skeleton zone. The name is lower-cased in place once it passed.
CreationStatus startPrimaryZone(ZoneContext& context, QString& name);
