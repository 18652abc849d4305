#pragma once

#include <QString>
#include <optional>

// The five spaces between the parts of a zone entry's text form.
const QString& zoneEntrySeparator();

// One primary zone of a server. The boot-file model keeps it as the text zone, five spaces, file.
struct PrimaryZoneEntry
{
    QString zone;
    QString file;

    QString text() const;
    // The inverse of text(): the zone is what stands before the first run of five spaces, the file what
    // follows it. None without such a run.
    static std::optional<PrimaryZoneEntry> parse(const QString& text);

    bool operator==(const PrimaryZoneEntry&) const = default;
};
