#include "editors/recorddeletion.h"

#include "session/appstate.h"
#include "zone/hostaddresses.h"
#include "zone/recordfields.h"

namespace {

// The host editor's name field holds the host as the record names it.
QString hostName(const QString& line)
{
    return recordOwner(line);
}

} // namespace

bool deleteRecordAt(AppState& state, RecordKind kind, int index)
{
    ZoneModel& zone = state.zone;
    switch (kind) {
    case RecordKind::ResponsiblePerson:
    case RecordKind::TextRecord:
        return zone.removeResponsible(index);
    case RecordKind::HostAddress: {
        const std::optional<HostAddressEntry> entry = hostAddressEntryAt(zone, index);
        if (!entry)
            return false;
        if (entry->inOtherRecords)
            zone.otherrecords.removeAt(entry->index);
        else
            zone.hostaddrs.removeAt(entry->index);
        removeFromReverseIgnore(state, {entry->owner});
        return true;
    }
    case RecordKind::NameServer:
    case RecordKind::MailServer:
    case RecordKind::Alias:
        break;
    }
    return zone.records(kind).removeAt(index);
}

void removeFromReverseIgnore(AppState& state, const QSet<QString>& hostNames)
{
    if (hostNames.isEmpty())
        return;
    state.zoneLists.reverseignore.removeIf([&](const QString& entry) { return hostNames.contains(entry); });
}

void deleteAllHostRecords(AppState& state)
{
    QSet<QString> hosts;
    const QStringList& lines = state.zone.hostaddrs.lines();
    hosts.reserve(lines.size());
    for (const QString& line : lines)
        hosts.insert(hostName(line));
    state.zone.hostaddrs.clear();
    removeFromReverseIgnore(state, hosts);
}
