#pragma once

#include "zone/primaryzoneentry.h"

#include <QString>
#include <optional>

// One secondary zone of a server: its master addresses (dotted IPv4 addresses separated by single spaces) and
// its backup file. The boot-file model keeps it as the text zone, five spaces, masters, five spaces, file.
struct SecondaryZoneEntry
{
    QString zone;
    QString masters;
    QString file;

    QString text() const;
    // The inverse of text(): the zone stands before the first run of five spaces, the file after the last,
    // the masters between them, taken as they stand (a trailing space included). None without two such runs.
    static std::optional<SecondaryZoneEntry> parse(const QString& text);

    bool operator==(const SecondaryZoneEntry&) const = default;
};
