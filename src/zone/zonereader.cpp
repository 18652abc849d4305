#include "zone/zonereader.h"

#include "platform/debuglog.h"
#include "platform/prompter.h"
#include "zone/lineshape.h"
#include "zone/recordfields.h"
#include "zone/soavalues.h"
#include "zone/zonefileio.h"
#include "zone/zonemodel.h"
#include "zone/zonenormaliser.h"
#include "zone/zonescanner.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <utility>

namespace {

const QString kInformation = QStringLiteral("Information");
// A message box cannot show a line of several megabytes; what is shown of a rejected line stops here.
constexpr qsizetype kShownLineLength = 512;

// At most this many places are listed in one message; the rest are counted.
constexpr qsizetype kListedPlaces = 20;

QString shownLine(const QString& line)
{
    if (line.size() <= kShownLineLength)
        return line;
    return line.left(kShownLineLength) + QStringLiteral("...");
}

QString listedPlaces(const QStringList& places)
{
    QString text = places.mid(0, kListedPlaces).join(QStringLiteral(", "));
    if (places.size() > kListedPlaces)
        text += QStringLiteral(" and %1 more").arg(places.size() - kListedPlaces);
    return text;
}

// Where the lines a reading examines come from.
enum class Source
{
    OwnLayout,  // a file the program wrote: lines as written, each one context-free
    Normalised, // a file written elsewhere, put in context-free form first
    AsWritten,  // a file whose zone name is no origin to read it against: lines as written, nothing checked
};

enum class Reading
{
    Done,
    SoaMalformed, // a start of authority line had too few fields; the lines after it were not read
    NeedsContext, // a line of a file the program wrote needs the lines before it (hand-edited)
};

enum class LineUse : quint8
{
    Unseen,    // nothing took it yet: an other record, unless a responsible person takes it as its text
    Accounted, // a comment, the start of authority, the "$TTL": no record of the lists or the other records
    Taken,     // a list holds it
    Verbatim,  // a line of the other records section of the program's own layout
};

struct Message
{
    QString caption;
    QString text;
    Prompter::Button buttons;
    Prompter::Icon icon;
};

bool isCommentOrBlank(const QString& line)
{
    for (const QChar c : line) {
        if (isFieldBlank(c))
            continue;
        return c == QLatin1Char(';');
    }
    return true;
}

bool isTtlLine(const QString& line)
{
    return line.startsWith(QLatin1String("$TTL"), Qt::CaseInsensitive) &&
           (line.size() == 4 || isFieldBlank(line.at(4)));
}

// A parenthesis outside quotes and comments continues the record onto other lines.
bool holdsParenthesis(const QString& line)
{
    if (!line.contains(QLatin1Char('(')) && !line.contains(QLatin1Char(')')))
        return false;
    bool quoted = false;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const QChar c = line.at(at);
        if (c == QLatin1Char('\\'))
            ++at;
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char(';'))
            return false;
        else if (!quoted && (c == QLatin1Char('(') || c == QLatin1Char(')')))
            return true;
    }
    return false;
}

// A line that means something only after the lines before it: one without an owner, a directive, or one
// continued by parentheses.
bool dependsOnContext(const QString& line)
{
    return isFieldBlank(line.front()) || line.front() == QLatin1Char('$') || holdsParenthesis(line);
}

class ZoneReading
{
public:
    // A normalised zone comes with the kind of each line.
    ZoneReading(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName,
                const QStringList& lines, Source source, const QList<NormalisedKind>* kinds = nullptr);

    Reading examineAll();
    // Every line nothing took becomes an other record, in file order. A line of the program's own layout is
    // read on its own first; one no scanner can read is kept as a comment.
    void keepTheRest();
    // The messages of the reading, one after the other, then the lines that could not be kept as records.
    void report(const QStringList& unreadable, const QStringList& includesKept);

private:
    Reading examineNormalised();
    bool startOfAuthority(qsizetype index);
    void defaultTtlLine(qsizetype index);
    void examineRecord(qsizetype index, const LineShape& shape);
    void record(RecordList& list, qsizetype index, bool wellFormed, const QString& phrase);
    void responsiblePerson(qsizetype index, bool wellFormed);
    void indexTextRecords();
    void inform(const QString& text);

    const ZoneReadTarget& m_target;
    ZoneModel& m_zone;
    const QString& m_fileName;
    const QString& m_zoneName;
    const QStringList& m_lines;
    const Source m_source;
    const QList<NormalisedKind>* m_kinds;

    QList<LineUse> m_use;
    QList<Message> m_messages;
    // Why a list refused a line of the program's own layout that is then kept as an other record.
    QHash<qsizetype, QString> m_refusals;
    QStringList m_unreadable;
    qsizetype m_otherSection;
    qsizetype m_soaEnd = -1;
    bool m_ttlSeen = false;

    // The record lines of the program's own layout that pair up only once every line has been seen: the RP lines
    // (with whether each is well formed) and the TXT lines they may pair with (likewise), noted in the first pass.
    QList<std::pair<qsizetype, bool>> m_persons;
    QList<std::pair<qsizetype, bool>> m_texts;

    // The TXT lines an RP line may pair with, indexed on the first RP line: the first well-formed TXT line of
    // each owner, and the malformed TXT lines a search from the top meets on its way.
    bool m_textIndexed = false;
    QHash<QString, qsizetype> m_firstText;
    QList<qsizetype> m_malformedText;
};

ZoneReading::ZoneReading(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName,
                         const QStringList& lines, Source source, const QList<NormalisedKind>* kinds)
    : m_target(target), m_zone(target.zone), m_fileName(fileName), m_zoneName(zoneName), m_lines(lines),
      m_source(source), m_kinds(kinds), m_use(lines.size(), LineUse::Unseen)
{
    m_otherSection = source == Source::Normalised ? lines.size() : lines.indexOf(otherRecordsHeading());
    if (m_otherSection < 0)
        m_otherSection = lines.size();
}

void ZoneReading::inform(const QString& text)
{
    m_messages.append({kInformation, text, Prompter::Button::Ok, Prompter::Icon::Information});
}

// A normalised zone says what each line is: its record lines have the layouts the lists take.
Reading ZoneReading::examineNormalised()
{
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        switch (m_kinds->at(index)) {
        case NormalisedKind::DefaultTtl:
            defaultTtlLine(index);
            break;
        case NormalisedKind::StartOfAuthority:
            if (!startOfAuthority(index))
                return Reading::SoaMalformed;
            break;
        case NormalisedKind::NameServer:
            record(m_zone.nameservers, index, true, QString());
            break;
        case NormalisedKind::MailServer:
            record(m_zone.mailservers, index, true, QString());
            break;
        case NormalisedKind::Host:
            record(m_zone.hostaddrs, index, true, QString());
            break;
        case NormalisedKind::Alias:
            record(m_zone.aliases, index, true, QString());
            break;
        case NormalisedKind::Person:
            responsiblePerson(index, true);
            break;
        case NormalisedKind::Text:
        case NormalisedKind::Other:
            break;
        }
    }
    return Reading::Done;
}

void ZoneReading::defaultTtlLine(qsizetype index)
{
    m_ttlSeen = true;
    const QList<RecordField> fields = recordFields(m_lines.at(index));
    m_zone.defaultTtl = fields.size() > 1 ? m_lines.at(index).mid(fields.at(1).start).trimmed() : QString();
    m_use[index] = LineUse::Accounted;
}

Reading ZoneReading::examineAll()
{
    if (m_kinds)
        return examineNormalised();
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const QString& line = m_lines.at(index);
        if (index >= m_otherSection) {
            // The heading and the closing ";" belong to the layout, everything else in the section is kept.
            const bool layout = index == m_otherSection || line == QLatin1String(";") || line.trimmed().isEmpty();
            m_use[index] = layout ? LineUse::Accounted : LineUse::Verbatim;
            continue;
        }
        if (isCommentOrBlank(line)) {
            m_use[index] = LineUse::Accounted;
            continue;
        }
        // The program writes its "$TTL" before the start of authority; one anywhere else governs only the
        // records after it.
        if (isTtlLine(line) && !m_ttlSeen && m_zone.sourceofauth.isEmpty()) {
            defaultTtlLine(index);
            continue;
        }
        const LineShape shape(line);
        if (shape.soa) {
            if (!startOfAuthority(index))
                return Reading::SoaMalformed;
            continue;
        }
        if (index <= m_soaEnd && isSoaValueLine(line)) {
            m_use[index] = LineUse::Accounted;
            continue;
        }
        if (m_source == Source::OwnLayout && dependsOnContext(line))
            return Reading::NeedsContext;
        examineRecord(index, shape);
    }
    for (const auto& [index, wellFormed] : std::as_const(m_persons))
        responsiblePerson(index, wellFormed);
    return Reading::Done;
}

void ZoneReading::examineRecord(qsizetype index, const LineShape& shape)
{
    if (!shape.in)
        return;
    if (shape.ns)
        record(m_zone.nameservers, index, shape.fields == 3,
               QStringLiteral(", a name server entry, has been entered incorrectly."));
    if (shape.mx)
        record(m_zone.mailservers, index, shape.fields == 4,
               QStringLiteral(", a mail entry, has been entered incorrectly."));
    if (shape.a)
        record(m_zone.hostaddrs, index, shape.fields == 3,
               QStringLiteral(", a host address, has been entered incorrectly."));
    if (shape.cname)
        record(m_zone.aliases, index, shape.fields == 3, QStringLiteral(", an alias, has been entered incorrectly."));
    if (shape.rp)
        m_persons.append({index, shape.fields == 4});
    if (shape.txt)
        m_texts.append({index, shape.textFields == 3});
}

bool ZoneReading::startOfAuthority(qsizetype index)
{
    const std::optional<SoaHead> head = parseSoaHead(m_lines.at(index));
    if (!head) {
        inform(QStringLiteral("Start of authority in ") + m_fileName + QStringLiteral(" is entered incorrectly. ") +
               QStringLiteral("Please re-enter."));
        return false;
    }
    const QStringList values = findSoaValues(*head, m_lines, index + 1, &m_soaEnd);
    if (values.size() < kSoaNumberCount)
        m_messages.append({QStringLiteral("Attention!"),
                           QStringLiteral("You have errors in your start of authority. Quorvane could not find all "
                                          "values."),
                           Prompter::Button::Ok, Prompter::Icon::Information});
    m_zone.sourceofauth = SoaRecord(QStringList{head->owner, head->primaryServer, head->mailbox} + values);
    m_zone.soaTtl = head->ttl;
    m_zone.serialAsRead = values.value(0);
    m_zone.dnsname = m_zoneName;
    m_use[index] = LineUse::Accounted;
    return true;
}

void ZoneReading::record(RecordList& list, qsizetype index, bool wellFormed, const QString& phrase)
{
    if (wellFormed) {
        list.appendLine(m_lines.at(index));
        m_use[index] = LineUse::Taken;
    } else if (m_source == Source::OwnLayout) {
        m_refusals.insert(index, shownLine(m_lines.at(index)) + phrase);
    }
}

void ZoneReading::indexTextRecords()
{
    m_textIndexed = true;
    if (m_kinds) {
        for (qsizetype index = 0; index < m_otherSection; ++index) {
            if (m_kinds->at(index) == NormalisedKind::Text && !m_firstText.contains(recordOwner(m_lines.at(index))))
                m_firstText.insert(recordOwner(m_lines.at(index)), index);
        }
        return;
    }
    m_firstText.reserve(m_texts.size());
    for (const auto& [index, wellFormed] : std::as_const(m_texts)) {
        if (!wellFormed)
            m_malformedText.append(index);
        else if (const QString owner = recordOwner(m_lines.at(index)); !m_firstText.contains(owner))
            m_firstText.insert(owner, index);
    }
}

// A person is held with the first text record of its owner; one without is kept as an other record.
void ZoneReading::responsiblePerson(qsizetype index, bool wellFormed)
{
    const QString& line = m_lines.at(index);
    const bool own = m_source == Source::OwnLayout;
    if (!wellFormed) {
        if (own)
            m_refusals.insert(index, shownLine(line) + QStringLiteral(", a responsible person entry, has been entered "
                                                                      "incorrectly."));
        return;
    }
    if (!m_textIndexed)
        indexTextRecords();
    const qsizetype match = m_firstText.value(recordOwner(line), m_lines.size());
    for (const qsizetype malformed : std::as_const(m_malformedText)) {
        if (malformed >= match || !own)
            break;
        m_refusals.insert(malformed, shownLine(m_lines.at(malformed)) +
                                         QStringLiteral(", a text file entry, has been entered incorrectly."));
    }
    if (match == m_lines.size()) {
        if (own)
            m_refusals.insert(index, QStringLiteral("A text file entry could not be found for RP entry: ") +
                                         shownLine(line) + QLatin1Char('.'));
        return;
    }
    m_zone.textfiles.appendLine(m_lines.at(match));
    m_zone.responsible.appendLine(line);
    m_use[match] = LineUse::Taken;
    m_use[index] = LineUse::Taken;
}

void ZoneReading::keepTheRest()
{
    std::optional<RecordLineChecker> checker;
    std::optional<QSet<QString>> taken;
    OtherRecords& others = m_zone.otherrecords;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const LineUse use = m_use.at(index);
        const QString& line = m_lines.at(index);
        if (use == LineUse::Verbatim || (use == LineUse::Unseen && m_source != Source::OwnLayout)) {
            others.append(line);
            continue;
        }
        if (use != LineUse::Unseen)
            continue;
        // Two persons of one owner share its first text record, which the file then holds twice: the copy is
        // that same record, not another.
        if (!taken) {
            taken.emplace();
            for (qsizetype at = 0; at < m_lines.size(); ++at) {
                if (m_use.at(at) == LineUse::Taken)
                    taken->insert(m_lines.at(at));
            }
        }
        if (taken->contains(line))
            continue;
        if (!checker)
            checker.emplace(absoluteName(m_zoneName.toLatin1(), QByteArrayLiteral(".")));
        const ScannedLine scanned = checker->check(line);
        if (!scanned.ok) {
            others.append(unreadableLineComment(QString(), index + 1, line));
            m_unreadable << QStringLiteral("line %1 (%2)").arg(index + 1).arg(scanned.errorText);
            continue;
        }
        others.append(line);
        if (const auto refusal = m_refusals.constFind(index); refusal != m_refusals.constEnd())
            m_target.log.logLine(QStringLiteral("--") + *refusal + QStringLiteral(" Kept under Other Records."));
    }
}

void ZoneReading::report(const QStringList& unreadable, const QStringList& includesKept)
{
    for (const Message& message : std::as_const(m_messages))
        m_target.prompter.message(message.caption, message.text, message.buttons, message.icon);
    const QStringList lines = m_unreadable + unreadable;
    m_zone.unkept = lines;
    if (!lines.isEmpty())
        m_target.prompter.message(QStringLiteral("Attention!"), unreadableLinesText(m_fileName, lines));
    if (!includesKept.isEmpty())
        m_target.prompter.message(QStringLiteral("Attention!"), keptIncludesText(m_fileName, includesKept));
}

std::optional<QByteArray> readZoneBytes(const ZoneReadTarget& target, const QString& fileName)
{
    const QString path = zoneFilePath(target.dataDirectory, fileName);
    // Stamped before it is read: a change made while it is read shows as a change when it is written.
    FileStamp stamp = FileStamp::beforeReading(path);
    QString refusal;
    const std::optional<QByteArray> bytes = readFileBytes(path, &refusal);
    if (bytes)
        stamp.setContent(*bytes);
    else
        stamp = FileStamp::of(path);
    target.zone.fileStamp = stamp;
    if (!bytes) {
        if (!refusal.isEmpty())
            target.prompter.message(QStringLiteral("Error"), refusal, Prompter::Button::Ok, Prompter::Icon::Critical);
        target.prompter.message(kInformation, QStringLiteral("Primary file loading error. Name:") + fileName,
                                Prompter::Button::Ok, Prompter::Icon::Information);
    }
    return bytes;
}

// Reads the lines into the zone; none when a line of the program's own layout needs the lines before it.
std::optional<ZoneLoadStatus> read(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName,
                                   const QStringList& lines, Source source, const NormalisedZone* normalised)
{
    ZoneReading reading(target, fileName, zoneName, lines, source, normalised ? &normalised->kinds : nullptr);
    const Reading outcome = reading.examineAll();
    if (outcome == Reading::NeedsContext)
        return std::nullopt;
    if (outcome == Reading::Done)
        reading.keepTheRest();
    reading.report(normalised ? normalised->unreadable : QStringList(),
                   normalised ? normalised->includesKept : QStringList());
    return outcome == Reading::Done ? ZoneLoadStatus::Loaded : ZoneLoadStatus::SoaMalformed;
}

} // namespace

QString otherRecordsHeading()
{
    return QStringLiteral(";[Other Records]");
}

namespace {

const QByteArray& ownSignature()
{
    static const QByteArray signature = QByteArrayLiteral(";[*-Quorvane-*]");
    return signature;
}

} // namespace

bool isOwnLayoutFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isOwnLayout(file.read(ownSignature().size() + 1));
}

bool isOwnLayout(const QByteArray& bytes)
{
    const QByteArray& signature = ownSignature();
    return bytes.startsWith(signature) && (bytes.size() == signature.size() || bytes.at(signature.size()) == '\r' ||
                                           bytes.at(signature.size()) == '\n');
}

QString unreadableLinesText(const QString& fileName, const QStringList& lines)
{
    return fileName +
           QStringLiteral(" holds lines that could not be read as records. They are kept as comment lines, "
                          "which the name server passes over: ") +
           listedPlaces(lines) + QLatin1Char('.');
}

QString keptIncludesText(const QString& fileName, const QStringList& includes)
{
    return fileName +
           QStringLiteral(" includes files that were not read, as they lie outside the data directory "
                          "or cannot be read; the lines are kept as they stand: ") +
           listedPlaces(includes) + QLatin1Char('.');
}

ZoneLoadStatus readZoneFile(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName)
{
    target.log.logLine(QStringLiteral("--Begin Loading Primary File: ") + fileName);
    if (fileName.isEmpty() || fileName == QLatin1String(" ")) {
        target.prompter.message(QStringLiteral("Error!"),
                                QStringLiteral("File selection error. Please restore your server."));
        return ZoneLoadStatus::NoFileName;
    }
    target.zone.clearRecords();
    std::optional<QByteArray> bytes = readZoneBytes(target, fileName);
    if (!bytes)
        return ZoneLoadStatus::Unreadable;

    std::optional<ZoneLoadStatus> status;
    if (isOwnLayout(*bytes)) {
        // The bytes are let go while the lines are read, which holds a large zone's peak memory to the lines
        // and the records; the rare hand-edited file that needs them again reads them once more.
        const QStringList lines = splitTextLines(*bytes);
        bytes.reset();
        status = read(target, fileName, zoneName, lines, Source::OwnLayout, nullptr);
        if (!status) {
            target.zone.clearRecords();
            bytes = readZoneBytes(target, fileName);
            if (!bytes)
                return ZoneLoadStatus::Unreadable;
        }
    }
    if (!status) {
        const NormalisedZone normalised = normaliseZone(*bytes, zoneName, target.dataDirectory);
        status = normalised.ok ? read(target, fileName, zoneName, normalised.lines, Source::Normalised, &normalised)
                               : read(target, fileName, zoneName, splitTextLines(*bytes), Source::AsWritten, nullptr);
    }
    if (*status == ZoneLoadStatus::SoaMalformed)
        return *status;
    target.log.logLine(QStringLiteral("--End Loading Primary File: ") + fileName);
    return ZoneLoadStatus::Loaded;
}

ZoneLoadStatus readNormalisedZoneFile(const ZoneReadTarget& target, const QString& fileName, const QString& zoneName,
                                      const NormalisedZone& zone)
{
    target.log.logLine(QStringLiteral("--Begin Loading Primary File: ") + fileName);
    target.zone.clearRecords();
    const std::optional<ZoneLoadStatus> status =
        read(target, fileName, zoneName, zone.lines, Source::Normalised, &zone);
    if (status == ZoneLoadStatus::SoaMalformed)
        return *status;
    target.log.logLine(QStringLiteral("--End Loading Primary File: ") + fileName);
    return ZoneLoadStatus::Loaded;
}
