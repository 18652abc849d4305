#pragma once

#include <QSet>
#include <QString>
#include <optional>

// Pieces of BIND 9's configuration syntax that the export writes and reads.

// A quoted string of the configuration: the text between double quotes, with quotes and backslashes escaped.
QString confString(const QString& text);

// An address as BIND 9 takes it: a dotted IPv4 address of four numbers, or an IPv6 address.
std::optional<QString> confAddress(const QString& text);

// A boot file network "ADDRESS&MASK", "ADDRESS/LENGTH" (the one form of an IPv6 network) or a lone address as an
// element of an address match list: the network with its prefix length ("10.1.0.0/16"), the address bits outside
// the mask cleared as the mask compared them. None with the reason when the address is not one, the mask is no
// contiguous prefix or a prefix has bits set beyond its length.
std::optional<QString> confNetwork(const QString& text, QString* reason);

// The names of the statements of a text of options ("recursion", "listen-on", ...), at its outer level only;
// comments and quoted strings are skipped.
QSet<QString> confStatementNames(const QString& text);
