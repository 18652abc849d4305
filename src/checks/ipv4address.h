#pragma once

#include <QString>
#include <optional>

// True for an address a name server loads: four decimal numbers from 0 to 255 joined by dots, each written
// without leading zeros (BIND refuses "010.1.2.3" as a bad dotted quad), nothing before or after them. Every
// field that holds an IPv4 address is checked with this one test.
bool isIpv4Address(const QString& text);

// The sentence every refusal of an address field ends in, so that the user learns the form expected.
QString ipv4AddressForm();

// The refusal of an address field: the field's own message followed by the form expected.
QString ipv4AddressRefusal(const QString& message);

// The address in its plain dotted form ("10.1.2.5" for " 10.001.2.5"): four decimal octets from 0 to 255,
// nothing else. For reading addresses that are already stored, where a leading zero is no reason to lose a
// host; none for any other text, since a reverse zone can only be named after a real address.
std::optional<QString> canonicalIpv4(const QString& text);
