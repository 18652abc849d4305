#pragma once

#include <QString>

// True for four decimal parts of 0 to 255 joined by dots: an address a name server accepts. The shape test of
// the name checks lets letters and out-of-range parts through, which no name server loads.
bool isDottedIpv4Address(const QString& text);
