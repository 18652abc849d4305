#pragma once

#include <QString>

class Progress;
class Prompter;
class TldList;
struct AppState;

// The qualifying rule for a name of an imported zone: "@" and a name ending in "." stay as they are; a name
// ending in a known top-level domain gets its final point; any other name is relative to the zone and gets
// "." + zone + ".".
QString qualifyImportedName(const QString& name, const QString& zone, const TldList& tlds);

// The record lines of an imported zone with their names completed; each is unchanged when its names were
// complete already.
QString qualifiedHostLine(const QString& line, const QString& zone, const TldList& tlds);
QString qualifiedNameServerLine(const QString& line, const QString& zone, const TldList& tlds);
QString qualifiedMailServerLine(const QString& line, const QString& zone, const TldList& tlds);
QString qualifiedAliasLine(const QString& line, const QString& zone, const TldList& tlds);

// Reads every primary zone of the loaded server once, in the order of its primary list, and rewrites in the
// program's layout (serial unchanged) each zone whose start of authority names its owner: the program's own
// files use relative names only under the owner "@", so the relative names of such a zone are completed. A zone
// under "@" is left unwritten. A zone without a whole start of authority ends the pass with the message that it
// must be repaired by hand; the zones already rewritten stay rewritten.
void qualifyImportedZones(AppState& state, Prompter& prompter, Progress& progress);
