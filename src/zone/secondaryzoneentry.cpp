#include "zone/secondaryzoneentry.h"

QString SecondaryZoneEntry::text() const
{
    return zone + zoneEntrySeparator() + masters + zoneEntrySeparator() + file;
}

std::optional<SecondaryZoneEntry> SecondaryZoneEntry::parse(const QString& text)
{
    const QString& separator = zoneEntrySeparator();
    const qsizetype first = text.indexOf(separator);
    const qsizetype last = text.lastIndexOf(separator);
    if (first < 0 || last < first + separator.size())
        return std::nullopt;
    const qsizetype mastersAt = first + separator.size();
    return SecondaryZoneEntry{text.left(first), text.mid(mastersAt, last - mastersAt),
                              text.mid(last + separator.size())};
}
