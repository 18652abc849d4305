#pragma once

#include "server/bootload.h"
#include "session/servercontext.h"

#include <QString>

class ServerCatalog;

struct LoadOutcome
{
    bool attempted = false; // false when no server was chosen, so nothing was read
    BootReadResult boot;
};

// The first catalog row whose identifier's part before "@" is the name (so "ns" never finds "ns1"), or -1.
int findServerRow(const ServerCatalog& catalog, const QString& displayName);

// The user picked a name in the server selection box: find its catalog row and load that server.
LoadOutcome selectServer(ServerContext& context, const QString& boxText);

// Loads the server named by `pendingServerId` and `pendingBootFilePath`: its boot file, the zone trees and the
// automatic backup, under the progress window. The reading's outcome is reported, not acted upon: a server whose boot
// file could not be read shows no zones.
LoadOutcome loadServer(ServerContext& context);
