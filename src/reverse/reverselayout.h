#pragma once

#include "checks/ipaddress.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

struct AppState;
class TldList;

// A reverse zone the server serves without generating it: a primary zone of the server's own list whose name is a
// reverse name (kept by hand, in its own zone file), or a secondary reverse zone copied from another server.
struct OtherReverseZone
{
    enum class Kind
    {
        Primary,   // in the server's primary list: its records are edited as any zone's
        Secondary, // served elsewhere: nothing of it is this server's to judge or change
    };

    QString zone; // as the boot file names it
    IpPrefix prefix;
    Kind kind = Kind::Primary;
    QString file; // primary zones only: the zone file, as the server's list names it
};

// Which reverse zone an address of the server's hosts belongs to. Reverse generation makes one zone per chosen
// prefix that holds hosts, and for the addresses no chosen prefix covers one per /24 network and IPv6 /64; the
// loopback network 127.0.0 always has the local zone. An address that lies in a reverse zone the server serves
// otherwise is left to that zone, whatever its size: a generated zone beside it would hide its records.
class ReverseLayout
{
public:
    ReverseLayout(const AppState& state, const QList<IpPrefix>& chosen);

    // The prefix of the generated zone that holds the address; none when another reverse zone of the server does.
    std::optional<IpPrefix> generatedZoneOf(const IpAddress& address) const;
    // The reverse zone served otherwise that holds the address, the most specific one; none when there is none.
    const OtherReverseZone* otherZoneOf(const IpAddress& address) const;
    const QList<OtherReverseZone>& otherZones() const { return m_others; }

    static bool isLoopback(const IpAddress& address);
    static IpPrefix loopbackPrefix();

private:
    QList<IpPrefix> m_chosen; // longest first
    QList<OtherReverseZone> m_others;
};

// The full name, with its final dot, that an address record's owner maps back to: "@" (or any owner holding it)
// is the zone itself, and in a zone whose start of authority's owner is "@" a name without a final dot or a known
// top-level domain is qualified with the zone.
QString mappedHostName(const QString& zone, bool ownerIsAt, const QString& owner, const TldList& tlds);

// The name of the boot file's loopback zone and its file.
QString loopbackZoneName();
QString localFileName(const AppState& state);
