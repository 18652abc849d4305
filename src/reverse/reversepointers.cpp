#include "reverse/reversepointers.h"

#include "checks/reversename.h"
#include "platform/filereading.h"
#include "platform/latin1lines.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonefileio.h"
#include "zone/zonenormaliser.h"
#include "zone/zonereader.h"

namespace {

const QString kAddressHeading = QStringLiteral(";[Addresses to Names]");
const QString kNameServerHeading = QStringLiteral(";[Name Servers]");

QString absoluteIn(const QString& name, const QString& zone)
{
    const QString apex = zone.endsWith(QLatin1Char('.')) ? zone : zone + QLatin1Char('.');
    if (name == QLatin1String("@"))
        return apex;
    if (name.endsWith(QLatin1Char('.')))
        return name;
    return name + QLatin1Char('.') + apex;
}

bool isMappingType(const QString& type)
{
    return type.compare(QLatin1String("PTR"), Qt::CaseInsensitive) == 0 ||
           type.compare(QLatin1String("CNAME"), Qt::CaseInsensitive) == 0;
}

ReverseRecord recordOf(const QString& owner, const QString& type, const QString& target, const QString& zone)
{
    ReverseRecord record{absoluteIn(owner, zone), type.toUpper(), absoluteIn(target, zone), std::nullopt, -1};
    record.address = addressOfReverseName(record.owner);
    return record;
}

// The program's layout: the sections after the start of authority, each line a record of four fields.
void readGeneratedLayout(ReverseFileRead& read, const QStringList& lines, const QString& zone)
{
    read.generatedLayout = true;
    if (lines.size() > 3 && lines.at(3).startsWith(QLatin1String(";Handles: ")))
        read.handles = lines.at(3).mid(10);
    const qsizetype soaAt = lines.indexOf(QStringLiteral(";[SOA]"));
    const qsizetype nameServersAt = lines.indexOf(kNameServerHeading);
    const qsizetype addressesAt = lines.indexOf(kAddressHeading);
    if (soaAt >= 0 && nameServersAt > soaAt)
        read.soa = lines.mid(soaAt + 1, nameServersAt - soaAt - 2);
    if (nameServersAt >= 0 && addressesAt > nameServersAt)
        read.nameServers = lines.mid(nameServersAt + 1, addressesAt - nameServersAt - 2);
    if (addressesAt < 0)
        return;
    for (qsizetype i = addressesAt + 1; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        read.addressLines << line;
        const QList<RecordField> fields = recordFields(line);
        if (fields.size() < 4)
            continue;
        const auto field = [&](int at) { return line.mid(fields.at(at).start, fields.at(at).length); };
        if (!isMappingType(field(2)))
            continue;
        ReverseRecord record = recordOf(field(0), field(2), field(3), zone);
        record.addressLine = int(read.addressLines.size()) - 1;
        read.records << record;
    }
}

// Any other zone file: its records put in context-free form, as the name server would read them.
void readOtherLayout(ReverseFileRead& read, const QByteArray& bytes, const QString& zone, const QString& dataDirectory)
{
    const NormalisedZone normalised = normaliseZone(bytes, zone, dataDirectory);
    if (!normalised.ok) {
        read.ok = false;
        read.errorText = QStringLiteral("%1 is no zone name a file can be read against").arg(zone);
        return;
    }
    for (const QString& line : normalised.lines) {
        const OtherRecordFields fields = otherRecordFields(line);
        if (!fields.record)
            continue;
        if (isMappingType(fields.type))
            read.records << recordOf(fields.owner, fields.type, fields.data.trimmed(), zone);
        else if (fields.type.compare(QLatin1String("NS"), Qt::CaseInsensitive) == 0 &&
                 absoluteIn(fields.owner, zone).compare(absoluteIn(QStringLiteral("@"), zone), Qt::CaseInsensitive) ==
                     0)
            read.nameServers << QStringLiteral("@     IN     NS     ") + absoluteIn(fields.data.trimmed(), zone);
    }
}

} // namespace

ReverseFileRead readReverseFile(const QString& path, const QString& zoneName, const QString& dataDirectory)
{
    ReverseFileRead read;
    const FileReadResult file = readWholeFile(path, ReadLimit::kZoneFile);
    if (!file.ok()) {
        read.errorText = file.errorText;
        return read;
    }
    read.ok = true;
    const QStringList lines = splitTextLines(*file.bytes);
    if (isOwnLayout(*file.bytes) && lines.value(1) == QLatin1String(";QUORVANE REVERSE MAPPING FILE"))
        readGeneratedLayout(read, lines, zoneName);
    else
        readOtherLayout(read, *file.bytes, zoneName, dataDirectory);
    return read;
}

QString reversePointerLine(const IpAddress& address, const IpPrefix& zone, const QString& target)
{
    return reverseOwner(address, zone) + QStringLiteral("     IN     PTR     ") + target;
}
