#pragma once

#include <QString>

// The numbers of a zone as the name server reads them. A value it cannot read makes it refuse the whole zone,
// so these are checked before anything is stored.

// A mail server priority: a whole number from 0 to 65535.
bool isMailPriority(const QString& text);

// A start of authority serial: a whole number from 0 to 4294967295.
bool isSoaSerial(const QString& text);

// A start of authority time (refresh, retry, expire, minimum): a whole number of seconds up to 4294967295, or
// the same in units as the name server writes them, a number followed by w, d, h, m or s, repeated ("1h",
// "2d", "1w2d", "1h30m"), in either case.
bool isSoaTime(const QString& text);

// What a refused start of authority value must look like, for the messages that name the field.
QString soaSerialForm();
QString soaTimeForm();
