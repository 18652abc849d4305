#pragma once

#include <QString>

struct AppState;
class Prompter;
struct BootWriteResult;
struct ConfServer;

// The zones of a server that a named.conf describes, written back into its configuration.

// Writes the zone lists into the configuration: a zone the lists gained goes into the program's include file (of
// its view), a zone they lost leaves its statement (in the program's file, or the administrator's: that statement
// alone), a secondary zone whose primaries changed gets the new primaries in its statement. The whole configuration
// with the changes in place must pass named-checkconf -z; nothing is written otherwise. Then the configuration is
// read again. The caller holds the server's change.
BootWriteResult writeConfZones(AppState& state);

// Before a zone is added to the loaded named.conf server: the configuration must be one BIND takes, and the
// program's include file of the view must be included; when it is not, the user is asked to have the include
// line added (the question names the file and the line), which is done at once. False, told, when the zone cannot
// be added. True at once for a boot-file server.
bool prepareConfZoneAddition(AppState& state, const QString& view, Prompter& prompter);

// Before a zone of the loaded named.conf server leaves the configuration: a zone the administrator's files
// declare is only taken out after the user agreed to the question that names the file and line of its statement.
// True at once for a boot-file server or a zone of the program's own include file.
bool confirmConfZoneRemoval(const AppState& state, const QString& zone, const QString& view, Prompter& prompter);

// Whether a primary or secondary zone of the name is already there: in the view, for a server whose named.conf has
// views; anywhere otherwise.
bool zoneNameTaken(const AppState& state, const QString& name, const QString& view);

// The view of the named.conf server's zone the command or the window means: the one given, or the only view that
// has a zone of that name; empty outside views.
QString viewOfZone(const AppState& state, const QString& zone, const QString& given, bool primary);

// Why the name server would not serve the zones the program keeps for the loaded named.conf server: one of the
// program's include files is not included by the configuration (a commented-out include is named). Empty when
// every one that exists is included.
QString missingZonesInclude(const ConfServer& conf);
