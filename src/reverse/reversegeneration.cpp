#include "reverse/reversegeneration.h"

#include "bootfile/filenameindex.h"
#include "checks/ipaddress.h"
#include "checks/namechecks.h"
#include "checks/reversename.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversefile.h"
#include "reverse/reverselayout.h"
#include "server/bootload.h"
#include "server/bootsave.h"
#include "server/serverchange.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "session/reverseprefixes.h"
#include "zone/hostaddresses.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonereader.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

const QString kFive = QStringLiteral("     ");
// Setting the item text lets the stage window repaint; once per address would cost more than the work itself.
constexpr int kItemEvery = 1024;

// One host address record: its address, the host's full name and the zone it belongs to.
struct HostPair
{
    IpAddress address;
    QString name;
    int network = 0;
};

// One reverse zone the run makes.
struct GeneratedZone
{
    IpPrefix prefix;
    QString name;
    bool loopback = false;
};

// The text from the fourth field of a stored line to its end, without surrounding blanks.
QString dataOf(const QString& line)
{
    const QList<RecordField> fields = recordFields(line, 4);
    if (fields.size() < 4)
        return QString();
    return line.mid(fields.at(3).start).trimmed();
}

QString withFinalDot(QString name)
{
    if (!name.endsWith(QLatin1Char('.')))
        name += QLatin1Char('.');
    return name;
}

QString primaryLine(const QString& zone, const QString& file)
{
    return QStringLiteral("primary") + kFive + zone + kFive + file;
}

class ReverseRun
{
public:
    explicit ReverseRun(ReverseContext& context)
        : m_context(context), m_state(context.state),
          m_layout(context.state, reversePrefixes(context.store, context.state))
    {
    }

    ReverseResult run();

private:
    void prepareDefaults();
    void readZones();
    void readZone(const QString& zone, const QString& file);
    void addHost(const QString& zone, bool ownerIsAt, const QString& owner, const QString& written, bool checked);
    int networkOf(const IpAddress& address, const IpPrefix& prefix);
    void dropIgnoredHosts();
    void settleSharedAddresses();
    void ignoreNames(const QStringList& names);
    bool writeFiles();
    QStringList nameServerLines() const;
    // One line per name server of the zones, or this server when they have none.
    QStringList localNameServerLines(bool lowerCase = false) const;
    // What a /24 zone holds for the classless zones cut from it: their name servers, and an alias of each of
    // their addresses to its name in them.
    void addClasslessDelegations(QList<QStringList>& nameServers, QList<QStringList>& addresses) const;
    bool writeFile(ReverseFileContent content, const QString& bootEntry);
    bool saveBootFile();
    bool fail(const QString& text);

    ReverseContext& m_context;
    AppState& m_state;
    const ReverseLayout m_layout;
    ReverseResult m_result;

    QStringList m_reversename;
    QSet<QString> m_reversenameLower;
    QList<HostPair> m_pairs;      // realhostip, realhostaddr
    QList<bool> m_live;           // whether the pair is still in realhostiptemp, realhostaddrtemp
    QList<int> m_remaining;       // the pairs left after the ignore list was applied, in order
    QList<GeneratedZone> m_zones; // in order of first appearance
    QHash<IpPrefix, int> m_zoneOfPrefix;
    QSet<QString> m_ignored;
};

ReverseResult ReverseRun::run()
{
    // Every zone is read and every reverse file written under one hold, so that they agree with each other.
    const ServerChange change(m_state);
    if (!change.isHeld()) {
        fail(change.errorText());
        return m_result;
    }
    Stage& stage = m_context.stage;
    stage.showStage(QStringLiteral("Reverse Mapping"));
    stage.setStageProgress(5);
    stage.setStage(QStringLiteral("Preparing Reverse Mapping Defaults"), QStringLiteral("Reverse Mapping"));
    prepareDefaults();

    stage.setStageProgress(15);
    stage.setStage(QStringLiteral("Generating Global Reverse Mapping"), QStringLiteral("Default Preparation Complete"));
    m_state.zone.reversens.clear();
    m_state.zone.reverseaddr.clear();
    m_state.zone.reverseaddrtemp.clear();

    stage.setStageProgress(25);
    readZones();

    stage.setStageProgress(40);
    stage.setStage(QStringLiteral("Global Reverse Mapping Error Checking Phase"), QStringLiteral("Initializing..."));
    dropIgnoredHosts();

    stage.setStageProgress(65);
    stage.setStageText(QStringLiteral("Global Reverse Mapping Error Processing Phase"));
    settleSharedAddresses();

    stage.setStageProgress(80);
    stage.setStageText(QStringLiteral("Saving Reverse Mapping Files..."));
    if (!writeFiles())
        return m_result;

    stage.setStageProgress(95);
    stage.setStage(QStringLiteral("Updating named.boot..."), BootConfig::fileName());
    if (!saveBootFile())
        return m_result;

    stage.setStageProgress(100);
    stage.hideStage();
    if (!m_result.skippedHosts.isEmpty())
        m_context.prompter.message(QStringLiteral("Attention!"), skippedHostsMessage(m_result.skippedHosts));
    return m_result;
}

void ReverseRun::prepareDefaults()
{
    m_state.boot.reversePrimaryLines.clear();
    applyReverseSoaDefaults(m_state.setup);
    m_state.zone.reversesoa = reverseSoaLines(m_state);
}

void ReverseRun::readZones()
{
    const ServerZoneLists& lists = m_state.zoneLists;
    // The server's lists hold file names in lower case; the file on disk may be named in any case.
    const FileNameIndex files(lists.datapath);
    for (qsizetype i = 0; i < lists.primdns.size(); ++i) {
        const QString& file = lists.primfiles.at(i);
        readZone(lists.primdns.at(i), files.find(file).value_or(file));
    }
}

void ReverseRun::readZone(const QString& zone, const QString& file)
{
    m_context.stage.setItemText(zone);
    m_state.selection.primfilename = file;
    m_state.selection.primdnsname = zone;
    NullProgress progress;
    ZoneContext zoneContext{m_state, m_context.prompter, progress, {}, {}};
    // A zone that could be read only in part gives what was read.
    loadZone(zoneContext, file, zone);

    const ZoneModel& model = m_state.zone;
    for (const QString& line : model.nameservers.lines()) {
        const QString name = withFinalDot(dataOf(line));
        if (name == QLatin1String(".") || m_reversename.contains(name))
            continue;
        m_reversename << name;
        m_reversenameLower.insert(name.toLower());
    }
    const bool ownerIsAt = model.sourceofauth.value(SoaRecord::Owner) == QLatin1String("@");
    for (const QString& line : model.hostaddrs.lines())
        addHost(zone, ownerIsAt, recordOwner(line), dataOf(line), false);
    // Address records the host list does not hold: IPv6 ones, and those with a time to live of their own. The
    // zone scanner has read their addresses already.
    for (const QString& line : model.otherrecords.lines()) {
        const OtherRecordFields fields = otherRecordFields(line);
        if (isAddressRecord(fields))
            addHost(zone, ownerIsAt, fields.owner, fields.data.trimmed(), true);
    }
}

void ReverseRun::addHost(const QString& zone, bool ownerIsAt, const QString& owner, const QString& written,
                         bool checked)
{
    const QString name = mappedHostName(zone, ownerIsAt, owner, m_state.tlds);
    const std::optional<IpAddress> address = IpAddress::fromStored(written);
    if (!address) {
        if (!checked)
            m_result.skippedHosts << name + QStringLiteral(" (") + written + QLatin1Char(')');
        return;
    }
    // An address of a reverse zone the server serves otherwise is that zone's to map.
    const std::optional<IpPrefix> prefix = m_layout.generatedZoneOf(*address);
    if (!prefix)
        return;
    m_pairs << HostPair{*address, name, networkOf(*address, *prefix)};
}

int ReverseRun::networkOf(const IpAddress& address, const IpPrefix& prefix)
{
    const auto known = m_zoneOfPrefix.constFind(prefix);
    if (known != m_zoneOfPrefix.constEnd())
        return *known;
    const bool loopback = ReverseLayout::isLoopback(address);
    m_zones << GeneratedZone{prefix, loopback ? loopbackZoneName() : reverseZoneName(prefix), loopback};
    const int index = int(m_zones.size()) - 1;
    m_zoneOfPrefix.insert(prefix, index);
    return index;
}

void ReverseRun::dropIgnoredHosts()
{
    m_ignored = QSet<QString>(m_state.zoneLists.reverseignore.cbegin(), m_state.zoneLists.reverseignore.cend());
    m_live.fill(false, m_pairs.size());
    m_remaining.reserve(m_pairs.size());
    for (qsizetype i = 0; i < m_pairs.size(); ++i) {
        if (m_ignored.contains(m_pairs.at(i).name))
            continue;
        m_live[i] = true;
        m_remaining << int(i);
    }
}

void ReverseRun::settleSharedAddresses()
{
    // The pairs in the order of their addresses, so that each pair meets only the pairs of its own address; a
    // sort costs less than a table of a few hundred thousand lists.
    QList<int> byAddress = m_remaining;
    std::stable_sort(byAddress.begin(), byAddress.end(),
                     [this](int a, int b) { return m_pairs.at(a).address < m_pairs.at(b).address; });
    // Where each pair's address begins and ends in that order.
    QList<std::pair<int, int>> sameAddress(m_pairs.size(), {0, 0});
    for (qsizetype start = 0; start < byAddress.size();) {
        qsizetype end = start + 1;
        while (end < byAddress.size() &&
               m_pairs.at(byAddress.at(end)).address == m_pairs.at(byAddress.at(start)).address)
            ++end;
        for (qsizetype at = start; at < end; ++at)
            sameAddress[byAddress.at(at)] = {int(start), int(end)};
        start = end;
    }

    int counted = 0;
    bool turnedDown = false;
    for (const int i : std::as_const(m_remaining)) {
        const HostPair& pair = m_pairs.at(i);
        if (++counted % kItemEvery == 0)
            m_context.stage.setItemText(pair.address.text());
        const auto [first, last] = sameAddress.at(i);
        // A name an earlier answer turned down is not offered again.
        if (last - first < 2 || m_ignored.contains(pair.name))
            continue;
        QStringList names;
        for (int at = first; at < last; ++at) {
            const int j = byAddress.at(at);
            const QString& other = m_pairs.at(j).name;
            if (j != i && other != pair.name && !m_ignored.contains(other) && !names.contains(other))
                names << other;
        }
        if (names.isEmpty())
            continue;
        names << pair.name;
        const QString address = pair.address.text();
        m_context.stage.setItemText(address);
        const std::optional<int> chosen = m_context.chooser.chooseHostName(address, names);
        if (!chosen || *chosen < 0 || *chosen >= names.size()) {
            m_context.prompter.message(QStringLiteral("Attention!"),
                                       QStringLiteral("You must select one item to continue."));
            continue;
        }
        names.removeAt(*chosen);
        ignoreNames(names);
        turnedDown = true;
    }
    // Every pair of a turned-down name goes, whatever its address.
    if (turnedDown) {
        for (const int i : std::as_const(m_remaining))
            m_live[i] = !m_ignored.contains(m_pairs.at(i).name);
    }
}

void ReverseRun::ignoreNames(const QStringList& names)
{
    for (const QString& name : names) {
        m_state.zoneLists.reverseignore << name;
        m_ignored.insert(name);
    }
}

QStringList ReverseRun::nameServerLines() const
{
    QStringList lines;
    QSet<QString> seen;
    for (qsizetype i = 0; i < m_pairs.size(); ++i) {
        if (!m_live.at(i))
            continue;
        const QString lower = m_pairs.at(i).name.toLower();
        if (!m_reversenameLower.contains(lower) || seen.contains(lower))
            continue;
        seen.insert(lower);
        lines << QString(QStringLiteral("@     IN     NS     ") + lower).trimmed();
    }
    // A zone without a name server is refused by the name server; the zones' own name servers, or else this
    // server, stand in when none of them has an address here.
    if (lines.isEmpty())
        lines = localNameServerLines(true);
    return lines;
}

QStringList ReverseRun::localNameServerLines(bool lowerCase) const
{
    QStringList names = m_reversename;
    if (names.isEmpty())
        names << withFinalDot(m_state.zoneLists.firstzone.trimmed());
    QStringList lines;
    QSet<QString> seen;
    for (const QString& name : std::as_const(names)) {
        const QString line =
            QString(QStringLiteral("@     IN     NS     ") + (lowerCase ? name.toLower() : name)).trimmed();
        if (!seen.contains(line)) {
            seen.insert(line);
            lines << line;
        }
    }
    return lines;
}

void ReverseRun::addClasslessDelegations(QList<QStringList>& nameServers, QList<QStringList>& addresses) const
{
    const QStringList servers = nameServerLines();
    for (const GeneratedZone& zone : m_zones) {
        const IpPrefix& block = zone.prefix;
        if (block.network.isV6() || block.length <= 24 || zone.loopback)
            continue;
        const int parent = m_zoneOfPrefix.value(IpPrefix{block.network.masked(24), 24}, -1);
        if (parent < 0 || m_zones.at(parent).loopback)
            continue;
        const QString label = reverseOwner(block.network, IpPrefix{block.network.masked(24), 24}) + QLatin1Char('/') +
                              QString::number(block.length);
        for (const QString& server : servers)
            nameServers[parent] << label + server.mid(1);
        const int first = block.network.bytes()[3];
        const int count = 1 << (32 - block.length);
        for (int last = first; last < first + count; ++last)
            addresses[parent] << QString::number(last) + QStringLiteral("     IN     CNAME     ") +
                                     QString::number(last) + QLatin1Char('.') + zone.name + QLatin1Char('.');
    }
}

bool ReverseRun::writeFiles()
{
    // The pairs of each zone in their order; the zone decides, so 1.2.3 and 11.2.3 never meet.
    QList<QList<int>> members(m_zones.size());
    for (qsizetype i = 0; i < m_pairs.size(); ++i) {
        if (m_live.at(i))
            members[m_pairs.at(i).network] << int(i);
    }
    const QStringList nameServers = nameServerLines();
    QList<QStringList> extraNameServers(m_zones.size());
    QList<QStringList> extraAddresses(m_zones.size());
    addClasslessDelegations(extraNameServers, extraAddresses);
    const QString localFile = localFileName(m_state);
    bool loopbackMet = false;
    for (qsizetype n = 0; n < m_zones.size(); ++n) {
        const GeneratedZone& zone = m_zones.at(n);
        m_context.stage.setItemText(zone.name);
        QStringList addresses;
        QSet<QString> seen;
        for (const int i : std::as_const(members.at(n))) {
            const HostPair& pair = m_pairs.at(i);
            const QString line =
                QString(reverseOwner(pair.address, zone.prefix) + QStringLiteral("     IN     PTR     ") + pair.name)
                    .trimmed();
            if (!seen.contains(line)) {
                seen.insert(line);
                addresses << line;
            }
        }
        addresses << extraAddresses.at(n);
        loopbackMet = loopbackMet || zone.loopback;
        const QString file = zone.loopback ? localFile : reverseFileName(zone.name);
        const bool written =
            zone.loopback ? writeFile({localFile, QStringLiteral("Local"), {}, localNameServerLines(), addresses},
                                      primaryLine(zone.name, localFile))
                          : writeFile({file, zone.name, {}, nameServers + extraNameServers.at(n), addresses},
                                      primaryLine(zone.name, file));
        if (!written)
            return false;
    }
    if (!loopbackMet)
        return writeFile({localFile, QStringLiteral("Local"), {}, localNameServerLines(), {}},
                         primaryLine(loopbackZoneName(), localFile));
    return true;
}

bool ReverseRun::writeFile(ReverseFileContent content, const QString& bootEntry)
{
    content.soa = m_state.zone.reversesoa;
    m_state.zone.reversens = content.nameServers;
    m_state.zone.reverseaddr = content.addresses;
    const FileWriteResult written = writeReverseFile(m_state, content);
    if (!written.ok)
        return fail(written.errorText);
    m_result.filesWritten << content.fileName;
    if (!m_state.boot.reversePrimaryLines.contains(bootEntry))
        m_state.boot.reversePrimaryLines << bootEntry;
    return true;
}

bool ReverseRun::saveBootFile()
{
    const BootWriteResult written = writeBootFile(m_state);
    if (!written.ok)
        return fail(written.errorText);
    BootContext boot{m_state, m_context.store, m_context.prompter};
    const BootReadResult read = readBootFile(boot, false);
    if (!read.ok())
        return fail(read.errorText.isEmpty() ? QStringLiteral("The boot file could not be read again.")
                                             : read.errorText);
    return true;
}

bool ReverseRun::fail(const QString& text)
{
    m_context.stage.hideStage();
    m_result.ok = false;
    m_result.errorText = text;
    return false;
}

} // namespace

QString skippedHostsMessage(const QStringList& skippedHosts)
{
    return QStringLiteral("These hosts got no reverse mapping because their addresses are not four numbers from 0 to "
                          "255 separated by dots: ") +
           skippedHosts.join(QStringLiteral(", "));
}

ReverseResult generateReverseMapping(ReverseContext& context)
{
    return ReverseRun(context).run();
}
