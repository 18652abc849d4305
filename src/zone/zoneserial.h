#pragma once

#include <QString>
#include <optional>

// The value of a serial written as decimal digits (blanks around them allowed); none for any other text.
std::optional<quint64> serialNumber(const QString& text);

// The serial a zone save writes, from the running serial of the run and the serial the zone held when it was
// read: the running serial plus one, unless that is not greater than the zone's own serial, in which case the
// zone's own serial plus one. The running serial then moves to the value written. None when the running
// serial is not a decimal number or the value would not fit the 32 bits a serial has.
std::optional<quint32> nextZoneSerial(const QString& runningSerial, const QString& serialAsRead);
