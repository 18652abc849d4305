#include "reverse/forwardreversecheck.h"

#include "bootfile/bootlines.h"
#include "bootfile/filenameindex.h"
#include "checks/reversename.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "platform/quietprompter.h"
#include "reverse/reversefile.h"
#include "reverse/reverselayout.h"
#include "reverse/reversepointers.h"
#include "server/bootload.h"
#include "server/bootsave.h"
#include "server/serverchange.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/reverseprefixes.h"
#include "zone/hostaddresses.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonemodel.h"
#include "zone/zonenormaliser.h"
#include "zone/zonereader.h"

#include <QDir>
#include <QHash>
#include <QMap>
#include <QSet>

namespace {

QString withFinalDot(const QString& name)
{
    return name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.');
}

QString keyOf(const QString& name)
{
    return withFinalDot(name).toLower();
}

QString absoluteIn(const QString& name, const QString& zone)
{
    if (name == QLatin1String("@"))
        return withFinalDot(zone);
    return name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.') + withFinalDot(zone);
}

// The text from a field of a stored line to its end, without surrounding blanks.
QString fieldFrom(const QString& line, int field)
{
    const QList<RecordField> fields = recordFields(line, field + 1);
    if (fields.size() <= field)
        return QString();
    return line.mid(fields.at(field).start).trimmed();
}

struct ForwardHost
{
    QString name; // absolute, with its final dot, as the zone writes it
    IpAddress address;
};

struct FoundPointer
{
    ReverseRecord record;
    ReverseZonePlace place;
};

// Everything the check and its fixes look at, read once.
class ServerScan
{
public:
    explicit ServerScan(ConsistencyContext& context)
        : m_context(context), m_state(context.state),
          m_layout(context.state, context.store ? reversePrefixes(*context.store, context.state) : QList<IpPrefix>()),
          m_files(m_state.zoneLists.datapath)
    {
    }

    // Reads the forward zones and the reverse zones, or only the reverse zones (those that hold the address, when
    // one is given).
    void read(bool forwardZones = true, const std::optional<IpAddress>& holding = std::nullopt);
    QList<ConsistencyFinding> findings() const;
    const QList<FoundPointer>& pointers() const { return m_pointers; }

    const ReverseLayout& layout() const { return m_layout; }
    // Where a pointer of the address belongs: the reverse zone of the server that holds it, or the generated one
    // that is to.
    ReverseZonePlace placeFor(const IpAddress& address) const;
    QList<FoundPointer> pointersAt(const IpAddress& address) const;
    // The name server lines a generated zone made now carries: those of the generated zones there are.
    QStringList generatedNameServers() const;
    QString diskFile(const QString& file) const { return m_files.find(file).value_or(file); }
    int pointerCount() const { return int(m_pointers.size()); }

    QStringList problems;
    int hostCount = 0;

private:
    void readForwardZone(const QString& zone, const QString& file);
    void readReverseZone(const ReverseZonePlace& place);
    void note(const ForwardHost& host);
    ConsistencyFinding sharedFinding(const IpAddress& address, const QStringList& names) const;
    void pointerFindings(const IpAddress& address, const QString& decided, QList<ConsistencyFinding>& out) const;
    void orphanFindings(const FoundPointer& pointer, QList<ConsistencyFinding>& out) const;
    bool liesInForwardZones(const QString& key) const;

    ConsistencyContext& m_context;
    AppState& m_state;
    const ReverseLayout m_layout;
    const FileNameIndex m_files;
    QuietPrompter m_quiet;

    QList<IpAddress> m_addresses;                   // in the order the zones give them
    QHash<IpAddress, QStringList> m_namesAt;        // the hosts of each address, in that order
    QHash<QString, QList<IpAddress>> m_addressesOf; // by name in lower case
    QHash<QString, int> m_priority;                 // name servers 2, mail servers 1
    QStringList m_forwardZones;                     // lower case, final dot
    QList<FoundPointer> m_pointers;
    QHash<IpAddress, QList<int>> m_pointersAt;
    QStringList m_generatedNameServers;
    QHash<QString, ReverseZonePlace> m_generatedZones; // by zone in lower case
    std::optional<IpAddress> m_holding;
};

void ServerScan::read(bool forwardZones, const std::optional<IpAddress>& holding)
{
    m_holding = holding;
    const ServerZoneLists& lists = m_state.zoneLists;
    for (qsizetype i = 0; i < lists.primdns.size(); ++i) {
        const QString& zone = lists.primdns.at(i);
        if (isReverseName(zone))
            readReverseZone({ReverseZonePlace::Kind::Primary, zone, diskFile(lists.primfiles.value(i))});
        else if (forwardZones)
            readForwardZone(zone, diskFile(lists.primfiles.value(i)));
    }
    for (const QString& line : m_state.boot.reversePrimaryLines) {
        const QStringList fields = fieldsOf(blanksForTabs(line));
        if (fields.size() < 3)
            continue;
        const ReverseZonePlace place{ReverseZonePlace::Kind::Generated, fields.at(1),
                                     diskFile(textFromField(blanksForTabs(line), 2).trimmed())};
        m_generatedZones.insert(place.zone.toLower(), place);
        readReverseZone(place);
    }
}

void ServerScan::readForwardZone(const QString& zone, const QString& file)
{
    ZoneModel model;
    const ZoneReadTarget target{model, m_quiet, m_state.debugLog, m_state.zoneLists.datapath};
    const ZoneLoadStatus status = readZoneFile(target, file, zone);
    if (status == ZoneLoadStatus::Unreadable || status == ZoneLoadStatus::NoFileName) {
        problems << QStringLiteral("%1: the zone file %2 could not be read.").arg(zone, file);
        return;
    }
    m_forwardZones << keyOf(zone);
    for (const QString& line : model.nameservers.lines())
        m_priority[keyOf(absoluteIn(fieldFrom(line, 3), zone))] = 2;
    for (const QString& line : model.mailservers.lines()) {
        const QString key = keyOf(absoluteIn(fieldFrom(line, 4), zone));
        if (!m_priority.contains(key))
            m_priority.insert(key, 1);
    }
    const bool ownerIsAt = model.sourceofauth.value(SoaRecord::Owner) == QLatin1String("@");
    for (const HostAddressEntry& entry : addressRecords(model)) {
        const std::optional<IpAddress> address = IpAddress::fromStored(entry.address);
        if (address)
            note({mappedHostName(zone, ownerIsAt, entry.owner, m_state.tlds), *address});
    }
}

void ServerScan::note(const ForwardHost& host)
{
    ++hostCount;
    QStringList& names = m_namesAt[host.address];
    if (names.isEmpty())
        m_addresses << host.address;
    const QString key = keyOf(host.name);
    bool known = false;
    for (const QString& name : std::as_const(names))
        known = known || keyOf(name) == key;
    if (!known)
        names << host.name;
    QList<IpAddress>& addresses = m_addressesOf[key];
    if (!addresses.contains(host.address))
        addresses << host.address;
}

void ServerScan::readReverseZone(const ReverseZonePlace& place)
{
    if (m_holding) {
        const std::optional<IpPrefix> prefix = prefixOfReverseZone(place.zone);
        if (!prefix || !prefix->contains(*m_holding))
            return;
    }
    const QString path = QDir(m_state.zoneLists.datapath).filePath(place.file);
    const ReverseFileRead read = readReverseFile(path, place.zone, m_state.zoneLists.datapath);
    if (!read.ok) {
        problems << QStringLiteral("%1: %2").arg(place.zone, read.errorText);
        return;
    }
    if (place.kind == ReverseZonePlace::Kind::Generated && m_generatedNameServers.isEmpty() &&
        place.zone.compare(loopbackZoneName(), Qt::CaseInsensitive) != 0) {
        for (const QString& line : read.nameServers) {
            if (line.startsWith(QLatin1Char('@')))
                m_generatedNameServers << line;
        }
    }
    for (const ReverseRecord& record : read.records) {
        // An alias of a classless zone's address only leads to its pointer, which is checked where it stands.
        if (record.type != QLatin1String("PTR") || !record.address)
            continue;
        m_pointersAt[*record.address] << int(m_pointers.size());
        m_pointers << FoundPointer{record, place};
    }
}

bool ServerScan::liesInForwardZones(const QString& key) const
{
    for (const QString& zone : m_forwardZones) {
        if (key == zone || key.endsWith(QLatin1Char('.') + zone))
            return true;
    }
    return false;
}

ReverseZonePlace ServerScan::placeFor(const IpAddress& address) const
{
    if (const OtherReverseZone* other = m_layout.otherZoneOf(address)) {
        if (other->kind == OtherReverseZone::Kind::Primary)
            return {ReverseZonePlace::Kind::Primary, other->zone, diskFile(other->file)};
        return {};
    }
    const std::optional<IpPrefix> prefix = m_layout.generatedZoneOf(address);
    if (!prefix)
        return {};
    const bool loopback = ReverseLayout::isLoopback(address);
    const QString zone = loopback ? loopbackZoneName() : reverseZoneName(*prefix);
    if (const auto known = m_generatedZones.constFind(zone.toLower()); known != m_generatedZones.constEnd())
        return *known;
    return {ReverseZonePlace::Kind::None, zone, loopback ? localFileName(m_state) : reverseFileName(zone)};
}

QList<FoundPointer> ServerScan::pointersAt(const IpAddress& address) const
{
    QList<FoundPointer> found;
    for (const int index : m_pointersAt.value(address))
        found << m_pointers.at(index);
    return found;
}

QStringList ServerScan::generatedNameServers() const
{
    if (!m_generatedNameServers.isEmpty())
        return m_generatedNameServers;
    return {QStringLiteral("@     IN     NS     ") + withFinalDot(m_state.zoneLists.firstzone.trimmed()).toLower()};
}

ConsistencyFinding ServerScan::sharedFinding(const IpAddress& address, const QStringList& names) const
{
    ConsistencyFinding finding;
    finding.kind = ConsistencyKind::SharedAddress;
    finding.address = address;
    finding.names = names;
    finding.place = placeFor(address);
    // The name a pointer already names stays, then a name server, a mail server, the first of the zones.
    int best = -1;
    for (const FoundPointer& pointer : pointersAt(address)) {
        for (qsizetype i = 0; i < names.size() && best < 0; ++i) {
            if (keyOf(names.at(i)) == keyOf(pointer.record.target)) {
                best = int(i);
                finding.target = pointer.record.target;
                finding.owner = pointer.record.owner;
                finding.place = pointer.place;
            }
        }
    }
    if (best < 0) {
        int bestPriority = -1;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const int priority = m_priority.value(keyOf(names.at(i)), 0);
            if (priority > bestPriority) {
                best = int(i);
                bestPriority = priority;
            }
        }
    }
    finding.choice = std::max(best, 0);
    finding.host = names.value(finding.choice);
    return finding;
}

void ServerScan::pointerFindings(const IpAddress& address, const QString& decided, QList<ConsistencyFinding>& out) const
{
    const QList<FoundPointer> pointers = pointersAt(address);
    bool mapped = false;
    for (const FoundPointer& pointer : pointers)
        mapped = mapped || keyOf(pointer.record.target) == keyOf(decided);
    if (!mapped && pointers.isEmpty()) {
        ConsistencyFinding finding;
        finding.kind = ConsistencyKind::MissingPointer;
        finding.address = address;
        finding.host = decided;
        finding.place = placeFor(address);
        out << finding;
        return;
    }
    for (const FoundPointer& pointer : pointers) {
        if (keyOf(pointer.record.target) == keyOf(decided))
            continue;
        ConsistencyFinding finding;
        finding.kind = ConsistencyKind::WrongPointer;
        finding.address = address;
        // One pointer to the host is enough: the others only go.
        finding.host = mapped ? QString() : decided;
        mapped = true;
        finding.target = pointer.record.target;
        finding.owner = pointer.record.owner;
        finding.place = pointer.place;
        out << finding;
    }
}

void ServerScan::orphanFindings(const FoundPointer& pointer, QList<ConsistencyFinding>& out) const
{
    const QString key = keyOf(pointer.record.target);
    ConsistencyFinding finding;
    finding.address = *pointer.record.address;
    finding.target = pointer.record.target;
    finding.owner = pointer.record.owner;
    finding.place = pointer.place;
    if (m_addressesOf.contains(key)) {
        finding.kind = ConsistencyKind::WrongPointer;
    } else if (liesInForwardZones(key)) {
        finding.kind = ConsistencyKind::StrayPointer;
    } else {
        // A name of another server's zones may well have this address: nothing here says otherwise.
        return;
    }
    out << finding;
}

QList<ConsistencyFinding> ServerScan::findings() const
{
    const QSet<QString> ignored(m_state.zoneLists.reverseignore.cbegin(), m_state.zoneLists.reverseignore.cend());
    QList<ConsistencyFinding> found;
    for (const IpAddress& address : m_addresses) {
        const OtherReverseZone* other = m_layout.otherZoneOf(address);
        if (other && other->kind == OtherReverseZone::Kind::Secondary)
            continue;
        QStringList candidates;
        for (const QString& name : m_namesAt.value(address)) {
            if (!ignored.contains(name))
                candidates << name;
        }
        if (candidates.size() > 1)
            found << sharedFinding(address, candidates);
        else if (candidates.size() == 1)
            pointerFindings(address, candidates.first(), found);
    }
    for (const FoundPointer& pointer : m_pointers) {
        if (!m_namesAt.contains(*pointer.record.address))
            orphanFindings(pointer, found);
    }
    return found;
}

QString placeText(const ReverseZonePlace& place)
{
    return place.kind == ReverseZonePlace::Kind::None ? QStringLiteral("a new reverse zone %1").arg(place.zone)
                                                      : place.zone;
}

} // namespace

QString ConsistencyFinding::kindText() const
{
    switch (kind) {
    case ConsistencyKind::MissingPointer:
        return QStringLiteral("Host without a pointer");
    case ConsistencyKind::StrayPointer:
        return QStringLiteral("Pointer without a host");
    case ConsistencyKind::WrongPointer:
        return QStringLiteral("Pointer to another name");
    case ConsistencyKind::SharedAddress:
        break;
    }
    return QStringLiteral("Address with several hosts");
}

QString ConsistencyFinding::text() const
{
    const QString addressText = address.text();
    switch (kind) {
    case ConsistencyKind::MissingPointer:
        return QStringLiteral("%1: %2 has the address %3, which no pointer maps back.")
            .arg(kindText(), host, addressText);
    case ConsistencyKind::StrayPointer:
        return QStringLiteral("%1: %2 in %3 names %4, which has no address.")
            .arg(kindText(), owner, place.zone, target);
    case ConsistencyKind::WrongPointer:
        return QStringLiteral("%1: %2 in %3 names %4, which does not have the address %5.")
            .arg(kindText(), owner, place.zone, target, addressText);
    case ConsistencyKind::SharedAddress:
        break;
    }
    const QString named = target.isEmpty() ? QStringLiteral("no pointer names any of them")
                                           : QStringLiteral("the pointer names %1").arg(target);
    return QStringLiteral("%1: %2 is held by %3; %4.")
        .arg(kindText(), addressText, names.join(QStringLiteral(", ")), named);
}

QString ConsistencyFinding::fixText() const
{
    switch (kind) {
    case ConsistencyKind::MissingPointer:
        return QStringLiteral("Add a pointer from %1 to %2 in %3.").arg(address.text(), host, placeText(place));
    case ConsistencyKind::StrayPointer:
        return QStringLiteral("Delete the pointer.");
    case ConsistencyKind::WrongPointer:
        return host.isEmpty() ? QStringLiteral("Delete the pointer.")
                              : QStringLiteral("Point it at %1 instead.").arg(host);
    case ConsistencyKind::SharedAddress:
        break;
    }
    return QStringLiteral("Map %1 to %2; the other hosts get no pointer for it.")
        .arg(address.text(), names.value(choice));
}

ConsistencyReport checkForwardReverse(ConsistencyContext& context)
{
    ServerScan scan(context);
    scan.read();
    ConsistencyReport report;
    report.findings = scan.findings();
    report.problems = scan.problems;
    report.hostCount = scan.hostCount;
    report.pointerCount = scan.pointerCount();
    return report;
}

QList<ConsistencyFinding> pointersNaming(ConsistencyContext& context, const QString& name, const IpAddress& address)
{
    ServerScan scan(context);
    scan.read(false, address);
    QList<ConsistencyFinding> found;
    for (const FoundPointer& pointer : scan.pointers()) {
        if (keyOf(pointer.record.target) != keyOf(name) || pointer.record.address != address)
            continue;
        ConsistencyFinding finding;
        finding.kind = ConsistencyKind::StrayPointer;
        finding.address = *pointer.record.address;
        finding.target = pointer.record.target;
        finding.owner = pointer.record.owner;
        finding.place = pointer.place;
        found << finding;
    }
    return found;
}

QString consistencyFixDescription(const QList<ConsistencyFinding>& findings)
{
    int added = 0;
    int removed = 0;
    int settled = 0;
    for (const ConsistencyFinding& finding : findings) {
        switch (finding.kind) {
        case ConsistencyKind::MissingPointer:
            ++added;
            break;
        case ConsistencyKind::StrayPointer:
            ++removed;
            break;
        case ConsistencyKind::WrongPointer:
            finding.host.isEmpty() ? ++removed : ++added;
            break;
        case ConsistencyKind::SharedAddress:
            ++settled;
            break;
        }
    }
    QStringList parts;
    if (added > 0)
        parts << QStringLiteral("%1 pointer%2 added or pointed at their host").arg(added).arg(added == 1 ? "" : "s");
    if (removed > 0)
        parts << QStringLiteral("%1 pointer%2 deleted").arg(removed).arg(removed == 1 ? "" : "s");
    if (settled > 0)
        parts << QStringLiteral("%1 shared address%2 settled").arg(settled).arg(settled == 1 ? "" : "es");
    return QStringLiteral("Fix forward and reverse mapping: ") + parts.join(QStringLiteral(", "));
}

namespace {

// What the fixes do to one reverse zone.
struct ZoneEdit
{
    ReverseZonePlace place;
    QSet<std::pair<QString, QString>> removals; // owner and target in lower case
    QList<std::pair<IpAddress, QString>> additions;

    void remove(const QString& owner, const QString& target) { removals.insert({keyOf(owner), keyOf(target)}); }
    void add(const IpAddress& address, const QString& target)
    {
        for (const auto& [known, name] : std::as_const(additions)) {
            if (known == address && keyOf(name) == keyOf(target))
                return;
        }
        additions.append({address, target});
    }
    bool removes(const ReverseRecord& record) const
    {
        return removals.contains({keyOf(record.owner), keyOf(record.target)});
    }
};

class FixRun
{
public:
    FixRun(ConsistencyContext& context, const ServerScan& scan)
        : m_context(context), m_state(context.state), m_scan(scan)
    {
    }

    void plan(const ConsistencyFinding& finding);
    bool apply();

    ConsistencyFixResult result;

private:
    ZoneEdit& editOf(const ReverseZonePlace& place);
    bool applyGenerated(const ZoneEdit& edit);
    bool applyPrimary(const ZoneEdit& edit);
    QString ownerIn(const IpAddress& address, const QString& zone) const;
    bool fail(const QString& text);

    ConsistencyContext& m_context;
    AppState& m_state;
    const ServerScan& m_scan;
    QMap<QString, ZoneEdit> m_edits; // by zone in lower case, so that zones are written in a steady order
    QStringList m_ignore;
    bool m_bootChanged = false;
};

ZoneEdit& FixRun::editOf(const ReverseZonePlace& place)
{
    ZoneEdit& edit = m_edits[place.zone.toLower()];
    if (edit.place.zone.isEmpty())
        edit.place = place;
    return edit;
}

void FixRun::plan(const ConsistencyFinding& finding)
{
    switch (finding.kind) {
    case ConsistencyKind::MissingPointer:
        if (!finding.place.zone.isEmpty())
            editOf(finding.place).add(finding.address, finding.host);
        return;
    case ConsistencyKind::StrayPointer:
    case ConsistencyKind::WrongPointer:
        editOf(finding.place).remove(finding.owner, finding.target);
        if (!finding.host.isEmpty()) {
            const ReverseZonePlace place = m_scan.placeFor(finding.address);
            if (!place.zone.isEmpty())
                editOf(place).add(finding.address, finding.host);
        }
        return;
    case ConsistencyKind::SharedAddress:
        break;
    }
    const QString chosen = finding.names.value(finding.choice);
    for (qsizetype i = 0; i < finding.names.size(); ++i) {
        if (i != finding.choice && !m_state.zoneLists.reverseignore.contains(finding.names.at(i)))
            m_ignore << finding.names.at(i);
    }
    bool mapped = false;
    for (const FoundPointer& pointer : m_scan.pointersAt(finding.address)) {
        if (keyOf(pointer.record.target) == keyOf(chosen) && !mapped)
            mapped = true;
        else
            editOf(pointer.place).remove(pointer.record.owner, pointer.record.target);
    }
    const ReverseZonePlace place = m_scan.placeFor(finding.address);
    if (!mapped && !place.zone.isEmpty())
        editOf(place).add(finding.address, chosen);
}

QString FixRun::ownerIn(const IpAddress& address, const QString& zone) const
{
    const std::optional<IpPrefix> prefix = prefixOfReverseZone(zone);
    if (!prefix)
        return reverseName(address);
    const QString owner = reverseOwner(address, *prefix);
    return owner == QLatin1String("@") ? withFinalDot(zone) : owner + QLatin1Char('.') + withFinalDot(zone);
}

bool FixRun::applyGenerated(const ZoneEdit& edit)
{
    const QString& zone = edit.place.zone;
    const bool local = zone.compare(loopbackZoneName(), Qt::CaseInsensitive) == 0;
    const std::optional<IpPrefix> prefix = local ? ReverseLayout::loopbackPrefix() : prefixOfReverseZone(zone);
    const QString path = QDir(m_state.zoneLists.datapath).filePath(edit.place.file);
    const ReverseFileRead read = edit.place.kind == ReverseZonePlace::Kind::None
                                     ? ReverseFileRead{}
                                     : readReverseFile(path, zone, m_state.zoneLists.datapath);
    ReverseFileContent content{edit.place.file, local ? QStringLiteral("Local") : zone, {}, {}, {}};
    applyReverseSoaDefaults(m_state.setup);
    content.soa = read.generatedLayout && read.soa.size() == 6 ? read.soa : reverseSoaLines(m_state);
    content.nameServers = read.nameServers.isEmpty() ? m_scan.generatedNameServers() : read.nameServers;
    if (read.generatedLayout) {
        content.handles = read.handles.isEmpty() ? content.handles : read.handles;
        QSet<int> dropped;
        for (const ReverseRecord& record : read.records) {
            if (edit.removes(record))
                dropped.insert(record.addressLine);
        }
        for (qsizetype i = 0; i < read.addressLines.size(); ++i) {
            if (!dropped.contains(int(i)))
                content.addresses << read.addressLines.at(i);
        }
    } else {
        // A file of another layout is written anew in the generated one, as the next generation would.
        for (const ReverseRecord& record : read.records) {
            if (!edit.removes(record))
                content.addresses << record.owner + QStringLiteral("     IN     ") + record.type +
                                         QStringLiteral("     ") + record.target;
        }
    }
    for (const auto& [address, target] : edit.additions) {
        const QString line = prefix ? reversePointerLine(address, *prefix, target)
                                    : reverseName(address) + QStringLiteral("     IN     PTR     ") + target;
        if (!content.addresses.contains(line))
            content.addresses << line;
    }
    const FileWriteResult written = writeReverseFile(m_state, content);
    if (!written.ok)
        return fail(written.errorText);
    result.filesWritten << edit.place.file;
    if (edit.place.kind == ReverseZonePlace::Kind::None) {
        m_state.boot.reversePrimaryLines << QStringLiteral("primary     ") + zone + QStringLiteral("     ") +
                                                edit.place.file;
        m_bootChanged = true;
    }
    return true;
}

bool FixRun::applyPrimary(const ZoneEdit& edit)
{
    NullProgress progress;
    ZoneContext zone{m_state, m_context.prompter, progress, {}, {}};
    m_state.selection.primfilename = edit.place.file;
    m_state.selection.primdnsname = edit.place.zone;
    if (loadZone(zone, edit.place.file, edit.place.zone) != ZoneLoadStatus::Loaded)
        return fail(QStringLiteral("The zone file %1 could not be read.").arg(edit.place.file));
    OtherRecords& others = m_state.zone.otherrecords;
    for (int index = others.count() - 1; index >= 0; --index) {
        const OtherRecordFields fields = otherRecordFields(others.line(index));
        if (!fields.record || fields.type.compare(QLatin1String("PTR"), Qt::CaseInsensitive) != 0)
            continue;
        const ReverseRecord record{absoluteIn(fields.owner, edit.place.zone), QStringLiteral("PTR"),
                                   absoluteIn(fields.data.trimmed(), edit.place.zone), std::nullopt, -1};
        if (edit.removes(record))
            others.removeAt(index);
    }
    for (const auto& [address, target] : edit.additions)
        others.append(contextFreeLine(ownerIn(address, edit.place.zone), QString(), QStringLiteral("IN"),
                                      QStringLiteral("PTR"), target));
    if (!saveZone(zone).ok())
        return fail(QStringLiteral("The zone file %1 could not be written.").arg(edit.place.file));
    result.filesWritten << edit.place.file;
    return true;
}

bool FixRun::apply()
{
    m_state.zoneLists.reverseignore << m_ignore;
    for (const ZoneEdit& edit : std::as_const(m_edits)) {
        const bool applied =
            edit.place.kind == ReverseZonePlace::Kind::Primary ? applyPrimary(edit) : applyGenerated(edit);
        if (!applied)
            return false;
    }
    if (!m_bootChanged)
        return true;
    const BootWriteResult written = writeBootFile(m_state);
    if (!written.ok)
        return fail(written.errorText);
    if (!m_context.store)
        return true;
    BootContext boot{m_state, *m_context.store, m_context.prompter};
    if (!readBootFile(boot, false).ok())
        return fail(QStringLiteral("The boot file could not be read again."));
    return true;
}

bool FixRun::fail(const QString& text)
{
    result.ok = false;
    result.errorText = text;
    return false;
}

} // namespace

ConsistencyFixResult fixFindings(ConsistencyContext& context, const QList<ConsistencyFinding>& findings)
{
    if (findings.isEmpty())
        return {};
    const ServerChange change(context.state, consistencyFixDescription(findings));
    if (!change.isHeld())
        return {false, change.errorText(), {}};
    ServerScan scan(context);
    scan.read();
    FixRun run(context, scan);
    for (const ConsistencyFinding& finding : findings)
        run.plan(finding);
    run.apply();
    return run.result;
}
