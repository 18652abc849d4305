#pragma once

#include "checks/ipaddress.h"

#include <QList>
#include <QString>

struct AppState;
class SettingsStore;

// The reverse zones a server's administrator has chosen beside the ones reverse generation makes by itself (one
// per /24 network and per IPv6 /64 that hold hosts): IPv4 /8, /16 and classless blocks, IPv6 prefixes of any
// length that is a multiple of four. Kept per server in the settings section "Reverse Mapping", as a value
// "Prefixes of " followed by the server's identifier, the prefixes separated by blanks.
QList<IpPrefix> reversePrefixes(const SettingsStore& store, const AppState& state);

// Stores the prefixes for the loaded server (none empties the value) and writes the store; false with the reason
// when it cannot be written.
bool setReversePrefixes(SettingsStore& store, const AppState& state, const QList<IpPrefix>& prefixes,
                        QString* errorText);

// The prefixes of a text such as "2001:db8::/48, 10.1.0.0/16" (blanks or commas between them); none, with the
// reason, when one of them is no prefix a reverse zone can be made for.
std::optional<QList<IpPrefix>> parseReversePrefixes(const QString& text, QString* why);

// The prefixes as the value holds them.
QString reversePrefixesText(const QList<IpPrefix>& prefixes);
