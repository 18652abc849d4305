#include "zone/hostaddresses.h"

#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonemodel.h"

bool isAddressRecord(const OtherRecordFields& fields)
{
    return fields.record &&
           (fields.className.isEmpty() || fields.className.compare(QLatin1String("IN"), Qt::CaseInsensitive) == 0) &&
           (fields.type.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0 ||
            fields.type.compare(QLatin1String("AAAA"), Qt::CaseInsensitive) == 0);
}

namespace {

QString hostListAddress(const QString& line)
{
    const QList<RecordField> fields = recordFields(line, 4);
    if (fields.size() < 4)
        return QString();
    return line.mid(fields.at(3).start).trimmed();
}

QList<HostAddressEntry> entriesOf(const ZoneModel& zone, bool everyAddressRecord)
{
    QList<HostAddressEntry> entries;
    const QStringList& hosts = zone.hostaddrs.lines();
    entries.reserve(hosts.size());
    for (qsizetype i = 0; i < hosts.size(); ++i)
        entries.append({false, int(i), hosts.at(i), recordOwner(hosts.at(i)), hostListAddress(hosts.at(i)), {}, false});
    const QStringList& others = zone.otherrecords.lines();
    for (qsizetype i = 0; i < others.size(); ++i) {
        const OtherRecordFields fields = otherRecordFields(others.at(i));
        if (!isAddressRecord(fields))
            continue;
        const bool ipv6 = fields.type.compare(QLatin1String("AAAA"), Qt::CaseInsensitive) == 0;
        if (ipv6 || everyAddressRecord)
            entries.append({true, int(i), others.at(i), fields.owner, fields.data.trimmed(), fields.ttl, ipv6});
    }
    return entries;
}

} // namespace

QList<HostAddressEntry> hostAddressEntries(const ZoneModel& zone)
{
    return entriesOf(zone, false);
}

QList<HostAddressEntry> addressRecords(const ZoneModel& zone)
{
    return entriesOf(zone, true);
}

bool sameRecord(const HostAddressEntry& one, const HostAddressEntry& other)
{
    return one.inOtherRecords == other.inOtherRecords && one.index == other.index;
}

std::optional<HostAddressEntry> hostAddressEntryAt(const ZoneModel& zone, int position)
{
    if (position < 0)
        return std::nullopt;
    if (position < zone.hostaddrs.count()) {
        const QString line = zone.hostaddrs.line(position);
        return HostAddressEntry{false, position, line, recordOwner(line), hostListAddress(line), {}, false};
    }
    const QList<HostAddressEntry> entries = hostAddressEntries(zone);
    if (position >= entries.size())
        return std::nullopt;
    return entries.at(position);
}

QString addressFamilyName(bool ipv6)
{
    return ipv6 ? QStringLiteral("IPv6") : QStringLiteral("IPv4");
}
