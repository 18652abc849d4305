#include "editors/otherrecordeditor.h"

#include "platform/prompter.h"
#include "session/appstate.h"
#include "zone/otherrecords.h"
#include "zone/recordfields.h"
#include "zone/zonenormaliser.h"
#include "zone/zonescanner.h"
#include "zone/zonetext.h"

namespace {

const QString kReEnter = QStringLiteral("Re-Enter.");
// A name server reads a time to live beyond this as 0.
constexpr quint32 kLargestTtl = 2147483647;
constexpr int kLongestString = 255;

QString escapedText(QString text)
{
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
}

// The escaped text in pieces of at most 255 bytes; an escape ("\X" or "\DDD") is one byte and is never cut.
QStringList pieces(const QString& escaped)
{
    QStringList out;
    QString current;
    int bytes = 0;
    for (qsizetype at = 0; at < escaped.size();) {
        qsizetype length = 1;
        if (escaped.at(at) == QLatin1Char('\\') && at + 1 < escaped.size()) {
            const bool decimal = at + 3 < escaped.size() && escaped.at(at + 1).isDigit() &&
                                 escaped.at(at + 2).isDigit() && escaped.at(at + 3).isDigit();
            length = decimal ? 4 : 2;
        }
        if (bytes == kLongestString) {
            out << current;
            current.clear();
            bytes = 0;
        }
        current += escaped.mid(at, length);
        ++bytes;
        at += length;
    }
    out << current;
    return out;
}

// The strings of a text in zone file form: quoted strings with their escapes as written, and bare words.
QStringList textStrings(const QString& text)
{
    QStringList strings;
    qsizetype at = 0;
    while (at < text.size()) {
        if (isFieldBlank(text.at(at))) {
            ++at;
            continue;
        }
        QString string;
        if (text.at(at) == QLatin1Char('"')) {
            for (++at; at < text.size() && text.at(at) != QLatin1Char('"'); ++at) {
                if (text.at(at) == QLatin1Char('\\') && at + 1 < text.size())
                    string += text.at(at++);
                string += text.at(at);
            }
            ++at;
        } else {
            while (at < text.size() && !isFieldBlank(text.at(at)))
                string += text.at(at++);
        }
        strings << string;
    }
    return strings;
}

QByteArray originOf(const AppState& state)
{
    return absoluteName(zoneOrigin(state).toLatin1(), QByteArrayLiteral("."));
}

bool insideZone(const QString& name, const QByteArray& origin)
{
    const QString zone = QString::fromLatin1(origin);
    return zone == QLatin1String(".") || name.compare(zone, Qt::CaseInsensitive) == 0 ||
           name.endsWith(QLatin1Char('.') + zone, Qt::CaseInsensitive);
}

// What the zone holds at each name, apart from the record being replaced: a name with an alias can hold
// nothing else.
struct NameUse
{
    bool alias = false;
    bool other = false;
};

NameUse useOf(const ZoneModel& zone, const QString& name, const QByteArray& origin)
{
    NameUse use;
    const auto look = [&](const QString& line, bool alias) {
        const QByteArray owner = absoluteName(recordOwner(line).toLatin1(), origin);
        if (QString::fromLatin1(owner).compare(name, Qt::CaseInsensitive) != 0)
            return;
        (alias ? use.alias : use.other) = true;
    };
    for (const RecordList* list :
         {&zone.nameservers, &zone.mailservers, &zone.hostaddrs, &zone.aliases, &zone.textfiles, &zone.responsible}) {
        for (const QString& line : list->lines())
            look(line, list == &zone.aliases);
    }
    const OtherRecords& others = zone.otherrecords;
    for (int index = 0; index < others.count(); ++index) {
        const OtherRecordFields fields = otherRecordFields(others.line(index));
        if (index != others.editIndex() && fields.record)
            look(others.line(index), fields.type.compare(QLatin1String("CNAME"), Qt::CaseInsensitive) == 0);
    }
    return use;
}

bool isLatin1(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

} // namespace

const QStringList& genericRecordTypes()
{
    static const QStringList types{
        "A",     "AAAA",  "AFSDB",      "APL",        "CAA",   "CDNSKEY", "CDS",   "CERT",  "CNAME",    "CSYNC",
        "DHCID", "DNAME", "DNSKEY",     "DS",         "EUI48", "EUI64",   "HINFO", "HTTPS", "IPSECKEY", "KEY",
        "KX",    "L32",   "L64",        "LOC",        "LP",    "MINFO",   "MX",    "NAPTR", "NID",      "NS",
        "NSEC",  "NSEC3", "NSEC3PARAM", "OPENPGPKEY", "PTR",   "RP",      "RRSIG", "RT",    "SMIMEA",   "SPF",
        "SRV",   "SSHFP", "SVCB",       "TLSA",       "TXT",   "URI",     "ZONEMD"};
    return types;
}

GenericRecordFields genericFieldsAt(const ZoneModel& zone, int index)
{
    const OtherRecordFields fields = otherRecordFields(zone.otherrecords.line(index));
    return {fields.owner, fields.ttl, fields.type.toUpper(), fields.data};
}

QString splitTextData(const QString& data)
{
    const QString text = data.trimmed();
    const QStringList strings = text.startsWith(QLatin1Char('"')) ? textStrings(text) : QStringList{escapedText(text)};
    QStringList quoted;
    for (const QString& string : strings) {
        for (const QString& piece : pieces(string))
            quoted << QLatin1Char('"') + piece + QLatin1Char('"');
    }
    return quoted.join(QLatin1Char(' '));
}

EditResult saveOtherRecord(ZoneContext& context, const GenericRecordFields& fields)
{
    Prompter& prompter = context.prompter;
    ZoneModel& zone = context.state.zone;
    const QString owner = fields.owner.trimmed();
    const QString ttl = fields.ttl.trimmed();
    const QString type = fields.type.trimmed().toUpper();
    const QString data = fields.data.trimmed();
    if (owner.isEmpty() || owner.contains(QLatin1Char(' ')) || owner.contains(QLatin1Char('\t')))
        return refuse(prompter, kReEnter,
                      QStringLiteral("Please enter the name the record belongs to, without blanks (\"@\" for the "
                                     "zone itself)."));
    if (!genericRecordTypes().contains(type))
        return refuse(prompter, kReEnter, QStringLiteral("Please choose the record's type from the list."));
    if (data.isEmpty())
        return refuse(prompter, kReEnter, QStringLiteral("Please enter the record's data."));
    std::optional<quint32> seconds;
    if (!ttl.isEmpty()) {
        seconds = parseTtl(ttl.toLatin1());
        if (!seconds || *seconds > kLargestTtl)
            return refuse(prompter, kReEnter,
                          QStringLiteral("The time to live must be a number of seconds up to 2147483647, or a time "
                                         "such as 1h or 2d; leave it empty for the zone's default."));
    }
    if (!isLatin1(owner + data))
        return refuse(prompter, kReEnter,
                      QStringLiteral("A zone file holds single bytes only: write other characters as \\DDD, the "
                                     "decimal value of each byte."));

    const QString written = type == QLatin1String("TXT") || type == QLatin1String("SPF") ? splitTextData(data) : data;
    const QByteArray origin = originOf(context.state);
    const QString ttlField = seconds ? QString::number(*seconds) : QString();
    const ScannedLine scanned = scanRecordLine(
        owner + QLatin1Char(' ') + ttlField + QStringLiteral(" IN ") + type + QLatin1Char(' ') + written, origin);
    if (!scanned.ok)
        return refuse(prompter, kReEnter, QStringLiteral("The record cannot be read: %1.").arg(scanned.errorText));
    if (!insideZone(scanned.owner, origin))
        return refuse(prompter, kReEnter,
                      QStringLiteral("%1 lies outside the zone %2.").arg(scanned.owner, zoneOrigin(context.state)));
    const NameUse use = useOf(zone, scanned.owner, origin);
    if (use.alias)
        return refuse(prompter, kReEnter,
                      QStringLiteral("%1 has an alias (CNAME), which cannot stand beside other records of its name.")
                          .arg(scanned.owner));
    if (type == QLatin1String("CNAME") && use.other)
        return refuse(
            prompter, kReEnter,
            QStringLiteral("%1 has other records, which an alias (CNAME) cannot stand beside.").arg(scanned.owner));

    const QString line = contextFreeLine(scanned.owner, ttlField, scanned.className, scanned.type, scanned.data);
    OtherRecords& others = zone.otherrecords;
    const QStringList before =
        others.isValidIndex(others.editIndex()) ? QStringList{others.line(others.editIndex())} : QStringList();
    const QString description = recordChangeDescription(context.state, before, {line});
    if (!others.storeAtEditIndex(line))
        return EditResult{EditStatus::NoRecord, QString()};
    return saveChanged(context, otherRecordText(line, zone.effectiveDefaultTtl()), description);
}

EditResult deleteOtherRecord(ZoneContext& context)
{
    OtherRecords& others = context.state.zone.otherrecords;
    const QString description = recordChangeDescription(context.state, {others.line(others.editIndex())}, {});
    if (!others.removeAt(others.editIndex()))
        return EditResult{EditStatus::NoRecord, QString()};
    return saveChanged(context, QString(), description);
}
