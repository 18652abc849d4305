#pragma once

#include "bind9/namedconfexport.h"

#include <QString>

struct AppState;
class Platform;

// The boot file of the loaded server as this machine reaches it.
QString loadedBootFile(const AppState& state);

// The form the settings' mode serves a server in: the whole configuration for a name server of its own, the
// zones only for a distribution's name server.
NamedConfForm formOfMode(Bind9Settings::Mode mode);

// What the loaded server's configuration is made from: its data directory, the BIND 9 settings, and for the whole
// form the server folder's places and control key. The dump and statistics files are the ones the operations page
// reads.
NamedConfRequest loadedServerRequest(const AppState& state, NamedConfForm form, const QString& catalogZone,
                                     const QString& platformName);

struct ServerExport
{
    NamedConfExport conf;
    QString errorText; // the catalog zone file could not be written
};

// Exports the loaded server; with a catalog zone, also writes the catalog zone file of its primary zones into the
// data directory.
ServerExport exportLoadedServer(const AppState& state, NamedConfForm form, const QString& catalogZone,
                                const Platform& platform);
