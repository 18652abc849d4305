#pragma once

#include <QList>
#include <QString>
#include <optional>

class ZoneModel;

// The address records of the loaded zone as the "Host Addresses" list shows them, both families: first the A
// records of the host list, in its order, then the other records of type A or AAAA (an IPv6 address, or an
// address record with a time to live of its own), in theirs. A position in this list is what the host editor,
// the tree and the command line's "host" positions count.
struct HostAddressEntry
{
    bool inOtherRecords = false;
    int index = -1;  // in the host list, or in the other records
    QString line;    // the record's line as stored
    QString owner;   // as written
    QString address; // as written
    QString ttl;     // the record's own; other records only
    bool ipv6 = false;
};

QList<HostAddressEntry> hostAddressEntries(const ZoneModel& zone);
std::optional<HostAddressEntry> hostAddressEntryAt(const ZoneModel& zone, int position);

// Whether an other record's line is an address record the list shows.
bool isOtherAddressRecord(const QString& line);

// The family an entry shows beside its address: "IPv4" or "IPv6".
QString addressFamilyName(bool ipv6);
