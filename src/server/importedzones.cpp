#include "server/importedzones.h"

#include "checks/namechecks.h"
#include "platform/prompter.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "zone/recorddisplay.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonenormaliser.h"
#include "zone/zonereader.h"
#include "zone/zoneselect.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Where the field with the 0-based index starts; fields are separated by runs of blanks or tabs, as the zone
// file reader separates them. -1 when the line has no such field.
qsizetype fieldStart(const QString& line, int index)
{
    qsizetype at = 0;
    while (at < line.size() && isBlank(line.at(at)))
        ++at;
    for (int field = 0; field < index; ++field) {
        while (at < line.size() && !isBlank(line.at(at)))
            ++at;
        while (at < line.size() && isBlank(line.at(at)))
            ++at;
    }
    return at < line.size() ? at : -1;
}

// The line with the name that runs from the field with the given index to the end of the line qualified: the
// line as read up to that name, then the qualified name (any trailing blank is dropped with it).
QString withQualifiedTail(const QString& line, int index, const QString& zone, const TldList& tlds)
{
    const qsizetype start = fieldStart(line, index);
    if (start < 0)
        return line;
    const QString name = line.mid(start).trimmed();
    const QString qualified = qualifyImportedName(name, zone, tlds);
    return qualified == name ? line : line.left(start) + qualified;
}

// A zone file written elsewhere is read against this origin first: the names it leaves relative to the zone
// then end in it, apart from names written in full or relative to an "$ORIGIN" of the file.
const QString kRelativeMark = QStringLiteral("relative.quorvane.invalid");

bool endsInMark(QStringView name)
{
    return name == QString(kRelativeMark + QLatin1Char('.')) ||
           name.endsWith(QString(QLatin1Char('.') + kRelativeMark + QLatin1Char('.')));
}

// The names the qualifying rule completes: the owner of a host, the host of a name server and of a mail
// server, both names of an alias. Every other name left relative is completed with the zone, as the name
// server completes it.
bool takesTheRule(NormalisedKind kind, int word, int type)
{
    switch (kind) {
    case NormalisedKind::Host:
        return word == 0;
    case NormalisedKind::NameServer:
        return word == type + 1;
    case NormalisedKind::MailServer:
        return word == type + 2;
    case NormalisedKind::Alias:
        return word == 0 || word == type + 1;
    default:
        return false;
    }
}

// A line of the zone read against the mark, its relative names completed.
QString repairedLine(const QString& line, NormalisedKind kind, const QString& zone, const TldList& tlds)
{
    struct Word
    {
        qsizetype start;
        qsizetype length;
    };
    QList<Word> words;
    for (qsizetype at = 0; at < line.size();) {
        if (isBlank(line.at(at))) {
            ++at;
            continue;
        }
        const qsizetype start = at;
        bool quoted = false;
        while (at < line.size() && (quoted || !isBlank(line.at(at)))) {
            if (line.at(at) == QLatin1Char('\\'))
                ++at;
            else if (line.at(at) == QLatin1Char('"'))
                quoted = !quoted;
            ++at;
        }
        words.append({start, std::min(at, line.size()) - start});
    }
    // The time to live, when the line gives one, stands before the class.
    const int type = words.size() > 1 && line.at(words.at(1).start).isDigit() ? 3 : 2;
    QString out = line;
    for (qsizetype index = words.size() - 1; index >= 0; --index) {
        const Word& word = words.at(index);
        const QStringView name = QStringView(line).sliced(word.start, word.length);
        if (!endsInMark(name))
            continue;
        const QString relative = name.chopped(kRelativeMark.size() + 1).toString();
        QString complete;
        if (relative.isEmpty())
            complete = zone + QLatin1Char('.');
        else if (takesTheRule(kind, int(index), type))
            complete = qualifyImportedName(relative.chopped(1), zone, tlds);
        else
            complete = relative + zone + QLatin1Char('.');
        out.replace(word.start, word.length, complete);
    }
    return out;
}

// Reads a zone file written elsewhere with its names completed by the qualifying rule; none when the file
// cannot be read against the mark. atOwner tells whether its start of authority was written "@".
std::optional<NormalisedZone> repairedZone(const QByteArray& bytes, const QString& zone, const QString& datapath,
                                           const TldList& tlds, bool* atOwner)
{
    NormalisedZone marked = normaliseZone(bytes, kRelativeMark, datapath);
    if (!marked.ok)
        return std::nullopt;
    const QString origin = zone.endsWith(QLatin1Char('.')) ? zone.chopped(1) : zone;
    *atOwner = false;
    for (qsizetype index = 0; index < marked.lines.size(); ++index) {
        QString& line = marked.lines[index];
        if (marked.kinds.at(index) == NormalisedKind::StartOfAuthority && !*atOwner)
            *atOwner = line.startsWith(kRelativeMark + QStringLiteral(". "));
        line = repairedLine(line, marked.kinds.at(index), origin, tlds);
    }
    return marked;
}

bool wholeStartOfAuthority(const SoaRecord& soa)
{
    if (soa.values().size() != SoaRecord::kValueCount)
        return false;
    for (const QString& value : soa.values()) {
        if (value.trimmed().isEmpty())
            return false;
    }
    return true;
}

void qualifyList(RecordList& records, const QString& zone, const TldList& tlds,
                 QString (*qualified)(const QString&, const QString&, const TldList&))
{
    for (int index = 0; index < records.count(); ++index) {
        const QString line = records.line(index);
        const QString changed = qualified(line, zone, tlds);
        if (changed != line)
            records.replaceAt(index, changed, displayText(records.kind(), changed));
    }
}

} // namespace

QString qualifyImportedName(const QString& name, const QString& zone, const TldList& tlds)
{
    if (name == QLatin1String("@") || name.endsWith(QLatin1Char('.')))
        return name;
    if (endsWithKnownTld(name, tlds))
        return name + QLatin1Char('.');
    // A zone named with its final point in the boot file must not give the name two.
    const QString origin = zone.endsWith(QLatin1Char('.')) ? zone.chopped(1) : zone;
    return name + QLatin1Char('.') + origin + QLatin1Char('.');
}

QString qualifiedHostLine(const QString& line, const QString& zone, const TldList& tlds)
{
    // Hand-written files separate their fields with tabs as often as with blanks.
    qsizetype end = 0;
    while (end < line.size() && !isBlank(line.at(end)))
        ++end;
    const QString owner = line.left(end);
    const QString qualified = qualifyImportedName(owner, zone, tlds);
    return qualified == owner ? line : qualified + line.mid(end);
}

QString qualifiedNameServerLine(const QString& line, const QString& zone, const TldList& tlds)
{
    return withQualifiedTail(line, 3, zone, tlds);
}

QString qualifiedMailServerLine(const QString& line, const QString& zone, const TldList& tlds)
{
    // Owner, class, type and priority come first; the mail server is the rest of the line.
    return withQualifiedTail(line, 4, zone, tlds);
}

QString qualifiedAliasLine(const QString& line, const QString& zone, const TldList& tlds)
{
    const qsizetype targetStart = fieldStart(line, 3);
    if (targetStart < 0)
        return line;
    const QString alias = line.left(fieldStart(line, 1)).trimmed();
    const QString target = line.mid(targetStart).trimmed();
    const QString qualifiedAlias = qualifyImportedName(alias, zone, tlds);
    const QString qualifiedTarget = qualifyImportedName(target, zone, tlds);
    if (qualifiedAlias == alias && qualifiedTarget == target)
        return line;
    return qualifiedAlias + QStringLiteral("     IN     CNAME     ") + qualifiedTarget;
}

void qualifyImportedZones(AppState& state, Prompter& prompter, Progress& progress)
{
    ZoneContext context{state, prompter, progress, serverBootFileSaver(), {}};
    const ServerZoneLists lists = state.zoneLists;
    for (int index = 0; index < lists.primdns.size(); ++index) {
        selectPrimary(state.selection, lists, index);
        const QString& file = lists.primfiles.at(index);
        const QString& zone = lists.primdns.at(index);
        // A file written elsewhere has its relative names completed as it is read, by the rule below where the
        // zone left them relative and as the name server reads them where an "$ORIGIN" of the file did.
        const std::optional<QByteArray> bytes = readFileBytes(zoneFilePath(lists.datapath, file));
        bool atOwner = false;
        std::optional<NormalisedZone> repaired;
        if (bytes && !isOwnLayout(*bytes))
            repaired = repairedZone(*bytes, zone, lists.datapath, state.tlds, &atOwner);
        if (repaired)
            readNormalisedZone(context, file, zone, *repaired);
        else
            loadZone(context, file, zone);
        ZoneModel& model = state.zone;
        if (!wholeStartOfAuthority(model.sourceofauth)) {
            prompter.message(QStringLiteral("Information"),
                             QStringLiteral("A serious error was found in zone file: ") + file +
                                 QStringLiteral(". This file must be manually repaired."),
                             Prompter::Button::Ok, Prompter::Icon::Information);
            return;
        }
        if (repaired) {
            if (!atOwner)
                writeZone(context);
            continue;
        }
        if (usesAtOwner(model.sourceofauth.value(SoaRecord::Owner)))
            continue;
        qualifyList(model.hostaddrs, zone, state.tlds, qualifiedHostLine);
        qualifyList(model.nameservers, zone, state.tlds, qualifiedNameServerLine);
        qualifyList(model.mailservers, zone, state.tlds, qualifiedMailServerLine);
        qualifyList(model.aliases, zone, state.tlds, qualifiedAliasLine);
        writeZone(context);
    }
}
