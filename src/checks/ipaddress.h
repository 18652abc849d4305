#pragma once

#include "checks/ipv6address.h"

#include <QString>
#include <QStringView>
#include <optional>

// An address of either family, as the reverse mapping and the consistency check compare them. An IPv4 address
// keeps its four bytes at the front; the rest stays zero.
class IpAddress
{
public:
    enum class Family : quint8
    {
        V4,
        V6,
    };

    IpAddress() = default;
    static IpAddress fromIpv6(const Ipv6Bytes& bytes);
    static IpAddress fromIpv4(quint32 value);

    // Text a name server loads, of either family (the strict checks of both); none for anything else.
    static std::optional<IpAddress> parse(QStringView text);
    // An address that is already stored: blanks around it ignored and, for IPv4, leading zeros taken as they were
    // read before the check was strict (a host is not lost for them).
    static std::optional<IpAddress> fromStored(const QString& text);

    Family family() const { return m_family; }
    bool isV6() const { return m_family == Family::V6; }
    int bitCount() const { return isV6() ? 128 : 32; }
    const Ipv6Bytes& bytes() const { return m_bytes; }
    // The bit at the position (0 is the most significant) and the four bits from a position that is a multiple
    // of four.
    int bit(int position) const { return m_bytes[position / 8] >> (7 - position % 8) & 1; }
    int nibble(int position) const
    {
        return position % 8 == 0 ? m_bytes[position / 8] >> 4 : m_bytes[position / 8] & 15;
    }

    // The canonical text: dotted IPv4, or IPv6 as ipv6Text writes it.
    QString text() const;
    // The address with every bit from the position on cleared.
    IpAddress masked(int length) const;

    bool operator==(const IpAddress& other) const = default;
    bool operator<(const IpAddress& other) const;

private:
    Family m_family = Family::V4;
    Ipv6Bytes m_bytes{};
};

size_t qHash(const IpAddress& address, size_t seed = 0);

// A network: an address and how many of its leading bits the network fixes; the bits after them are zero.
struct IpPrefix
{
    IpAddress network;
    int length = 0;

    // "2001:db8::/48" or "192.0.2.64/26"; none, with the reason in why, for anything else, a length beyond the
    // family's bits, or bits set beyond the length.
    static std::optional<IpPrefix> parse(const QString& text, QString* why = nullptr);
    bool contains(const IpAddress& address) const;
    QString text() const;

    bool operator==(const IpPrefix& other) const = default;
};

size_t qHash(const IpPrefix& prefix, size_t seed = 0);

// Whether the text is an address of either family that a name server loads (the strict checks of both).
bool isIpAddress(const QString& text);

// Whether the text holds a character a name may not hold, apart from the colons of an IPv6 address.
bool hasIllegalAddressCharacters(const QString& text);
