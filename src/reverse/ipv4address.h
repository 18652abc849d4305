#pragma once

#include <QString>
#include <optional>

// The address in its plain dotted form ("10.1.2.5" for " 10.001.2.5"): four decimal octets from 0 to 255,
// nothing else. None for any other text, since a reverse zone can only be named after a real address.
std::optional<QString> canonicalIpv4(const QString& text);
