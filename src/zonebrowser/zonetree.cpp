#include "zonebrowser/zonetree.h"

#include "zone/hostaddresses.h"
#include "zone/recordfields.h"
#include "zone/serverzonelists.h"
#include "zone/zonemodel.h"

namespace {

bool isZoneNameCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'.' || u == u'-' ||
           u == u'@';
}

// The text from the field on to the end of the line, blanks at its end taken off.
QString fromField(const QString& line, int field)
{
    const QList<RecordField> fields = recordFields(line, field + 1);
    if (fields.size() <= field)
        return QString();
    QStringView rest = QStringView(line).sliced(fields.at(field).start);
    while (!rest.isEmpty() && isFieldBlank(rest.back()))
        rest.chop(1);
    return rest.toString();
}

QString nodeText(RecordKind kind, const QString& line)
{
    switch (kind) {
    case RecordKind::NameServer:
        return fromField(line, 3);
    case RecordKind::MailServer:
        return fromField(line, 4);
    case RecordKind::HostAddress:
    case RecordKind::Alias:
    case RecordKind::ResponsiblePerson:
    case RecordKind::TextRecord:
        break;
    }
    return recordOwner(line);
}

bool isTimeToLive(QStringView field)
{
    if (field.isEmpty() || !field.front().isDigit())
        return false;
    for (const QChar c : field) {
        if (!c.isDigit() && !QStringView(u"smhdwSMHDW").contains(c))
            return false;
    }
    return true;
}

bool isClass(QStringView field)
{
    return field.compare(u"IN", Qt::CaseInsensitive) == 0 || field.compare(u"CH", Qt::CaseInsensitive) == 0 ||
           field.compare(u"HS", Qt::CaseInsensitive) == 0;
}

QString simplifiedOutsideQuotes(QStringView text)
{
    QString result;
    result.reserve(text.size());
    bool quoted = false;
    bool blank = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && isFieldBlank(c)) {
            blank = true;
            continue;
        }
        if (blank && !result.isEmpty())
            result += QLatin1Char(' ');
        blank = false;
        result += c;
    }
    return result;
}

} // namespace

QString reducedZoneName(const QString& name)
{
    QString reduced;
    reduced.reserve(name.size());
    for (const QChar c : name) {
        if (isZoneNameCharacter(c))
            reduced += c;
    }
    return reduced;
}

namespace {

// The names in order, and with views, the views in the names' order: by view, then by name.
void sortWithViews(const QStringList& names, const QStringList& views, QStringList& sortedNames,
                   QStringList& sortedViews)
{
    sortedNames = names;
    sortedViews.clear();
    if (views.isEmpty()) {
        sortedNames.sort(Qt::CaseInsensitive);
        return;
    }
    QList<std::pair<QString, QString>> pairs;
    pairs.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        pairs.append({views.value(i), names.at(i)});
    std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        const int view = a.first.compare(b.first, Qt::CaseInsensitive);
        return view != 0 ? view < 0 : a.second.compare(b.second, Qt::CaseInsensitive) < 0;
    });
    sortedNames.clear();
    for (const auto& [view, name] : std::as_const(pairs)) {
        sortedViews << view;
        sortedNames << name;
    }
}

} // namespace

void preparePrimaryLists(ServerZoneLists& lists)
{
    for (QString& name : lists.primdns)
        name = reducedZoneName(name);
    sortWithViews(lists.primdns, lists.primviews, lists.primdnssort, lists.primviewsort);
    lists.primfilesort = lists.primfiles;
    lists.primfilesort.sort(Qt::CaseInsensitive);
}

void prepareSecondaryLists(ServerZoneLists& lists)
{
    sortWithViews(lists.secdns, lists.secviews, lists.secdnssort, lists.secviewsort);
    lists.secfilesort = lists.secfiles;
    lists.secfilesort.sort(Qt::CaseInsensitive);
}

const QStringList& primaryLabels()
{
    static const QStringList labels{QStringLiteral("Update Timing"), QStringLiteral("Name Servers"),
                                    QStringLiteral("Mail Servers"),  QStringLiteral("Host Addresses"),
                                    QStringLiteral("Aliases"),       QStringLiteral("Responsible Persons")};
    return labels;
}

QString updateTimingLabel()
{
    return primaryLabels().first();
}

const QStringList& soaFieldNodes()
{
    static const QStringList fields{QStringLiteral("User"),  QStringLiteral("Serial"), QStringLiteral("Refresh"),
                                    QStringLiteral("Retry"), QStringLiteral("Expire"), QStringLiteral("Minimum")};
    return fields;
}

QString secondaryRecordLabel()
{
    return QStringLiteral("Secondary Record");
}

std::optional<RecordKind> labelKind(const QString& label)
{
    static const RecordKind kinds[] = {RecordKind::NameServer, RecordKind::MailServer, RecordKind::HostAddress,
                                       RecordKind::Alias, RecordKind::ResponsiblePerson};
    const qsizetype at = primaryLabels().indexOf(label);
    if (at < 1)
        return std::nullopt;
    return kinds[at - 1];
}

QStringList recordNodeTexts(const ZoneModel& zone, RecordKind kind, const QString& zoneName)
{
    if (kind == RecordKind::HostAddress) {
        QStringList texts;
        for (const HostAddressEntry& entry : hostAddressEntries(zone))
            texts << (entry.owner == QLatin1String("@") ? zoneName : entry.owner);
        return texts;
    }
    const bool showsZone = kind != RecordKind::ResponsiblePerson && kind != RecordKind::TextRecord;
    QStringList texts;
    const QStringList& lines = zone.records(kind).lines();
    texts.reserve(lines.size());
    for (const QString& line : lines) {
        const QString text = nodeText(kind, line);
        texts << (showsZone && text == QLatin1String("@") ? zoneName : text);
    }
    return texts;
}

QString recordValueText(const QString& line)
{
    const QList<RecordField> fields = recordFields(line);
    QString ttl;
    // The owner comes first; a time to live and a class may stand in either order before the type.
    qsizetype at = 1;
    for (; at < fields.size(); ++at) {
        const QStringView field = QStringView(line).sliced(fields.at(at).start, fields.at(at).length);
        if (isTimeToLive(field))
            ttl = field.toString();
        else if (!isClass(field))
            break;
    }
    if (at + 1 >= fields.size())
        return QString();
    QString value = simplifiedOutsideQuotes(QStringView(line).sliced(fields.at(at + 1).start));
    if (!ttl.isEmpty())
        value += QStringLiteral("  (TTL ") + ttl + QLatin1Char(')');
    return value;
}

QString hostAddressValueText(const HostAddressEntry& entry)
{
    if (!entry.ipv6)
        return recordValueText(entry.line);
    QString family = addressFamilyName(true);
    if (!entry.ttl.isEmpty())
        family += QStringLiteral(", TTL ") + entry.ttl;
    return entry.address + QStringLiteral("  (") + family + QLatin1Char(')');
}

QStringList recordValueTexts(const ZoneModel& zone, RecordKind kind)
{
    if (kind == RecordKind::HostAddress) {
        QStringList values;
        for (const HostAddressEntry& entry : hostAddressEntries(zone))
            values << hostAddressValueText(entry);
        return values;
    }
    QStringList values;
    const QStringList& lines = zone.records(kind).lines();
    values.reserve(lines.size());
    for (const QString& line : lines)
        values << recordValueText(line);
    return values;
}

QStringList soaFieldValues(const ZoneModel& zone)
{
    if (zone.sourceofauth.isEmpty())
        return QStringList();
    const SoaRecord& soa = zone.sourceofauth;
    return {soa.value(SoaRecord::Mailbox), soa.value(SoaRecord::Serial), soa.value(SoaRecord::Refresh),
            soa.value(SoaRecord::Retry),   soa.value(SoaRecord::Expire), soa.value(SoaRecord::Minimum)};
}

int findZoneIndex(const QStringList& names, const QString& zone)
{
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(zone, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
