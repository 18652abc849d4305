#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The sixteen bytes of an IPv6 address, most significant first.
using Ipv6Bytes = std::array<quint8, 16>;

// The address an IPv6 text names, for text a name server loads: eight groups of one to four hexadecimal digits
// joined by colons, one run of groups shortened to "::" at most, and the last two groups optionally written as
// an IPv4 address held to the IPv4 check's rules. Nothing before or after it: no blanks, brackets, zone index
// ("%eth0") or prefix length. None for any other text.
std::optional<Ipv6Bytes> parseIpv6(QStringView text);

// True for text parseIpv6 reads.
bool isIpv6Address(const QString& text);

// The address in the one text every place writes and compares: lower-case digits without leading zeros, the
// longest run of two or more zero groups (the first of equal runs) shortened to "::", and an IPv4-mapped
// address ending in its dotted IPv4 form ("::ffff:192.0.2.1").
QString ipv6Text(const Ipv6Bytes& bytes);

// The same from text; none when parseIpv6 does not read it. Blanks around the text are ignored, as for an
// address that is already stored.
std::optional<QString> canonicalIpv6(const QString& text);

// The sentence a refusal of an IPv6 address ends in, so that the user learns the form expected.
QString ipv6AddressForm();

// The refusal of an address field that takes either family: the field's own message followed by the form of the
// family the text was meant to be: IPv6 for a text with a colon, IPv4 for any other.
QString ipAddressRefusal(const QString& message, const QString& text);
