#pragma once

#include "checks/ipaddress.h"

#include <QString>
#include <QStringView>
#include <optional>

// The names of reverse mapping: "5.2.1.10.in-addr.arpa" for 10.1.2.5, one label per nibble under "ip6.arpa" for
// IPv6 (every group written with its leading zeros, so that 2001:470:d:eb3:: is 3.b.e.0.d.0.0.0.0.7.4.0.1.0.0.2),
// and the names of the zones that hold them.

// Why no reverse zone can be made for the prefix, or nothing when one can: IPv4 zones cover /8, /16 and /24, or a
// block longer than /24 (named as classless zones are, "64/26.2.0.192.IN-ADDR.ARPA"); IPv6 zones any length
// that is a multiple of four.
std::optional<QString> reverseZoneRefusal(const IpPrefix& prefix);

// The zone of a prefix reverseZoneRefusal accepts, in the generated files' style: reversed octets or nibbles
// followed by ".IN-ADDR.ARPA" or ".IP6.ARPA", without a final dot.
QString reverseZoneName(const IpPrefix& prefix);

// The owner of the address's pointer record in the zone of the prefix, relative to it ("@" for the zone itself).
QString reverseOwner(const IpAddress& address, const IpPrefix& zone);

// The address's full reverse name, lower case, with its final dot.
QString reverseName(const IpAddress& address);

// The file a generated reverse zone is written to: the zone's name (with "-" for the "/" of a classless zone)
// followed by ".reverse.DNS".
QString reverseFileName(const QString& zoneName);

// Whether the name lies under in-addr.arpa or ip6.arpa (compared without regard to case, final dot or not).
bool isReverseName(QStringView name);

// The address a full reverse name stands for, with or without its final dot and in either case; labels of a
// classless zone ("64/26", "64-127") are passed over. None for a name that is no full reverse name.
std::optional<IpAddress> addressOfReverseName(QStringView name);

// The prefix a reverse zone covers ("2.1.10.in-addr.arpa" is 10.1.2.0/24, "64/26.2.0.192.in-addr.arpa" is
// 192.0.2.64/26); none for a name that is no reverse zone.
std::optional<IpPrefix> prefixOfReverseZone(QStringView zone);
