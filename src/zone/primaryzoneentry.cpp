#include "zone/primaryzoneentry.h"

const QString& zoneEntrySeparator()
{
    static const QString separator = QStringLiteral("     ");
    return separator;
}

QString PrimaryZoneEntry::text() const
{
    return zone + zoneEntrySeparator() + file;
}

std::optional<PrimaryZoneEntry> PrimaryZoneEntry::parse(const QString& text)
{
    const qsizetype at = text.indexOf(zoneEntrySeparator());
    if (at < 0)
        return std::nullopt;
    return PrimaryZoneEntry{text.left(at), text.mid(at + zoneEntrySeparator().size())};
}
