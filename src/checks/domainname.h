#pragma once

#include <QString>
#include <optional>

// Whether the text is a domain name as name servers take it: labels of letters, digits, hyphens and underscores,
// each 1 to 63 characters and none starting with a hyphen, at most 253 characters in all, with an optional final
// dot; "." alone is the root. A name that passes cannot carry a line break, a blank or a leading "-" into a
// command line or a command file.
bool isDomainName(const QString& text);

// Why the name server would refuse a zone of that name: over 255 bytes in its wire form, or a label over 63
// characters (or an empty one between dots). None for a name it takes.
std::optional<QString> zoneNameLengthRefusal(const QString& name);
