#include "bootfile/bootconfig.h"

#include "bootfile/bootlines.h"

#include <algorithm>

void BootConfig::clear()
{
    *this = BootConfig();
}

QStringList sortedWithoutCase(QStringList entries)
{
    // Comparing folded copies once is much cheaper than folding inside every comparison.
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        keys.append({entries.at(i).toLower(), i});
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList sorted;
    sorted.reserve(entries.size());
    for (const auto& key : std::as_const(keys))
        sorted.append(entries.at(key.second));
    return sorted;
}

void BootConfig::fillGrids()
{
    primaryGrid.clear();
    secondaryGrid.clear();
    secondaryFullGrid.clear();
    for (const QString& entry : sortedWithoutCase(primaryEntries)) {
        const qsizetype blank = entry.indexOf(QLatin1Char(' '));
        ZoneGridRow row;
        row.zone = entry.left(blank).toLower();
        row.file = blank < 0 ? QString() : entry.mid(blank).trimmed().toLower();
        primaryGrid.append(row);
    }
    for (const QString& entry : sortedWithoutCase(secondaryEntries)) {
        const QStringList fields = fieldsOf(entry);
        ZoneGridRow row;
        row.zone = fields.value(0).toLower();
        row.file = fields.size() > 1 ? fields.last().toLower() : QString();
        row.masters = fields.mid(1, fields.size() - 2).join(QLatin1Char(' ')).toLower();
        secondaryFullGrid.append(row);
        row.masters = fields.size() > 2 ? fields.at(1).toLower() : QString();
        secondaryGrid.append(row);
    }
}
