#pragma once

#include <QList>
#include <QString>
#include <optional>

struct OtherRecordFields;
class ZoneModel;

// The address records of the loaded zone as the "Host Addresses" list shows them, both families: first the A
// records of the host list, in its order, then the IPv6 (AAAA) records among the other records, in theirs. A
// position in this list is what the host editor, the tree and the command line's "host" positions count. An A
// record with a time to live of its own stays an other record only, as the generic editor keeps it.
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

// Every address record of the zone, whatever holds it: the list's entries and the other records of type A.
// What maps back in reverse and whether a name still has an address are decided over these.
QList<HostAddressEntry> addressRecords(const ZoneModel& zone);

// Whether an other record, taken apart, is an address record (A or AAAA of class IN).
bool isAddressRecord(const OtherRecordFields& fields);

// Whether the entry names the same record as the other.
bool sameRecord(const HostAddressEntry& one, const HostAddressEntry& other);

// The family an entry shows beside its address: "IPv4" or "IPv6".
QString addressFamilyName(bool ipv6);
