#pragma once

#include <QString>

struct AppState;

// What a new zone needs of the loaded server so that the name server loads it as soon as it exists: a start of
// authority with a mailbox it can read, and a name server record.
struct NewZoneServer
{
    QString server;     // the server's name, from which the start of authority's primary server is formed
    QString mailbox;    // the administrator's mailbox, absolute ("hostmaster.example.com.")
    QString nameServer; // the server's own host name, absolute
    // The address the name server record needs when its name lies inside the zone (a zone whose name server
    // inside it has no address is refused), of either family; empty when the name lies outside.
    QString address;
};

// Whether the absolute name is the zone itself or lies below it, compared without regard to case.
bool liesInZone(const QString& absoluteName, const QString& zone);

// For the zone (lower case, no final dot): the loaded server's full name, or its name in the zone when it has
// none; the administrator's mailbox, or the zone's hostmaster when no usable address is set; and this
// machine's address for a name server inside the zone.
NewZoneServer newZoneServer(const AppState& state, const QString& zone);
