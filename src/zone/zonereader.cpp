#include "zone/zonereader.h"

#include "platform/prompter.h"
#include "shell/appstate.h"
#include "zone/recordfields.h"
#include "zone/soavalues.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QHash>

namespace {

const QString kInformation = QStringLiteral("Information");
// A message box cannot show a line of several megabytes; what is shown of a rejected line stops here.
constexpr qsizetype kShownLineLength = 512;

// What the line tests need of a line, found in one pass: which record words stand in it between blanks, and
// its field counts. Tabs are blanks. What stands between the first and the last double quote is no record
// word and, for the text field count, no blank: a quoted text is one field, and cannot make its line a record
// of another kind. The outermost pair keeps whole the texts the person editor stores, which may hold further
// quotes of their own.
struct LineShape
{
    bool soa = false; // a word ending in "IN" and a word ending in "SOA", each followed by a blank
    bool in = false;  // " IN ": the word between blanks; likewise the others
    bool ns = false;
    bool mx = false;
    bool a = false;
    bool cname = false;
    bool rp = false;
    bool txt = false;
    int fields = 0;     // fieldCount
    int textFields = 0; // textFieldCount

    explicit LineShape(QStringView line);

private:
    void readPlain(QStringView line);
    void readQuoted(QStringView line);
    void noteRecordWord(const char16_t* word, qsizetype length);
};

// Whether the characters spell the text exactly; record words are plain letters.
bool spells(const char16_t* word, qsizetype length, const char* text, qsizetype textLength)
{
    if (length != textLength)
        return false;
    for (qsizetype at = 0; at < length; ++at) {
        if (word[at] != char16_t(text[at]))
            return false;
    }
    return true;
}

bool endsIn(const char16_t* word, qsizetype length, const char* text, qsizetype textLength)
{
    return length >= textLength && spells(word + length - textLength, textLength, text, textLength);
}

void LineShape::noteRecordWord(const char16_t* word, qsizetype length)
{
    switch (length) {
    case 1:
        a = a || word[0] == u'A';
        break;
    case 2:
        in = in || spells(word, 2, "IN", 2);
        ns = ns || spells(word, 2, "NS", 2);
        mx = mx || spells(word, 2, "MX", 2);
        rp = rp || spells(word, 2, "RP", 2);
        break;
    case 3:
        txt = txt || spells(word, 3, "TXT", 3);
        break;
    case 5:
        cname = cname || spells(word, 5, "CNAME", 5);
        break;
    default:
        break;
    }
}

LineShape::LineShape(QStringView line)
{
    if (line.contains(QLatin1Char('"')))
        readQuoted(line);
    else
        readPlain(line);
}

// Word by word; nearly every line of a zone holds no quote and takes this way.
void LineShape::readPlain(QStringView line)
{
    const char16_t* text = line.utf16();
    const qsizetype size = line.size();
    bool endsInIn = false;
    bool endsInSoa = false;
    int runs = 0;
    qsizetype at = 0;
    while (at < size) {
        const qsizetype wordStart = at;
        while (at < size && text[at] != u' ' && text[at] != u'\t')
            ++at;
        if (at == size)
            break;
        if (at > wordStart) {
            endsInIn = endsInIn || endsIn(text + wordStart, at - wordStart, "IN", 2);
            endsInSoa = endsInSoa || endsIn(text + wordStart, at - wordStart, "SOA", 3);
            if (wordStart > 0)
                noteRecordWord(text + wordStart, at - wordStart);
        }
        // A run that only the last character of the line makes is not counted.
        runs += at < size - 1;
        while (at < size && (text[at] == u' ' || text[at] == u'\t'))
            ++at;
    }
    soa = endsInIn && endsInSoa;
    fields = runs;
    textFields = runs;
}

// Character by character, with what stands between the first and the last quote taken as masked.
void LineShape::readQuoted(QStringView line)
{
    const char16_t* text = line.utf16();
    const qsizetype size = line.size();
    const qsizetype firstQuote = line.indexOf(QLatin1Char('"'));
    const qsizetype lastQuote = line.lastIndexOf(QLatin1Char('"'));
    bool endsInIn = false;
    bool endsInSoa = false;
    bool inRun = false;
    bool inMaskedRun = false;
    qsizetype wordStart = 0;
    bool wordMasked = false;
    int runs = 0;
    int maskedRuns = 0;
    for (qsizetype at = 0; at <= size; ++at) {
        const bool plainBlank = at < size && (text[at] == u' ' || text[at] == u'\t');
        const bool masked = at > firstQuote && at < lastQuote;
        const bool blank = plainBlank && !masked;
        if (at < size - 1) {
            runs += plainBlank && !inRun;
            inRun = plainBlank;
            maskedRuns += blank && !inMaskedRun;
            inMaskedRun = blank;
        }
        if (at < size && !blank) {
            wordMasked = wordMasked || masked;
            continue;
        }
        if (at < size && at > wordStart) {
            // Of a word holding masked text only what follows the closing quote can end it in a record word.
            const qsizetype tailStart = wordMasked ? lastQuote : wordStart;
            endsInIn = endsInIn || endsIn(text + tailStart, at - tailStart, "IN", 2);
            endsInSoa = endsInSoa || endsIn(text + tailStart, at - tailStart, "SOA", 3);
            if (wordStart > 0 && !wordMasked)
                noteRecordWord(text + wordStart, at - wordStart);
        }
        wordStart = at + 1;
        wordMasked = false;
    }
    soa = endsInIn && endsInSoa;
    fields = runs;
    textFields = maskedRuns;
}

QString shownLine(const QString& line)
{
    if (line.size() <= kShownLineLength)
        return line;
    return line.left(kShownLineLength) + QStringLiteral("...");
}

class ZoneReading
{
public:
    ZoneReading(ZoneContext& context, const QString& fileName, const QString& zoneName, const QStringList& lines)
        : m_context(context), m_zone(context.state.zone), m_fileName(fileName), m_zoneName(zoneName), m_lines(lines)
    {
    }

    // False when a malformed start of authority ended the reading.
    bool examineAll();

private:
    bool startOfAuthority(qsizetype index);
    void record(RecordList& list, const QString& line, bool wellFormed, const QString& phrase);
    void responsiblePerson(const QString& line, const LineShape& shape);
    void indexTextRecords();
    void inform(const QString& text);
    // Each line is looked at once, however often the tests and the text record search come back to it.
    const LineShape& shapeAt(qsizetype index);

    ZoneContext& m_context;
    ZoneModel& m_zone;
    const QString& m_fileName;
    const QString& m_zoneName;
    const QStringList& m_lines;

    // The TXT lines an RP line may pair with, found in one pass over the file on the first RP line: the first
    // well-formed TXT line of each owner, and the malformed TXT lines a search from the top meets on its way.
    QList<LineShape> m_shapes;
    bool m_textIndexed = false;
    QHash<QString, qsizetype> m_firstText;
    QList<qsizetype> m_malformedText;
};

const LineShape& ZoneReading::shapeAt(qsizetype index)
{
    if (m_shapes.isEmpty())
        m_shapes.reserve(m_lines.size());
    while (m_shapes.size() <= index)
        m_shapes.append(LineShape(m_lines.at(m_shapes.size())));
    return m_shapes.at(index);
}

void ZoneReading::inform(const QString& text)
{
    m_context.prompter.message(kInformation, text, Prompter::Button::Ok, Prompter::Icon::Information);
}

bool ZoneReading::examineAll()
{
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const QString& line = m_lines.at(index);
        const LineShape shape = shapeAt(index);
        if (shape.soa && !startOfAuthority(index))
            return false;
        if (!shape.in)
            continue;
        if (shape.ns)
            record(m_zone.nameservers, line, shape.fields == 3,
                   QStringLiteral(", a name server entry, has been entered incorrectly. Ignoring..."));
        if (shape.mx)
            record(m_zone.mailservers, line, shape.fields == 4,
                   QStringLiteral(", a mail entry, has been entered incorrectly. Ignoring..."));
        if (shape.a)
            record(m_zone.hostaddrs, line, shape.fields == 3,
                   QStringLiteral(", a host address, has been entered incorrectly. Ignoring..."));
        if (shape.cname)
            record(m_zone.aliases, line, shape.fields == 3,
                   QStringLiteral(", an alias, has been entered incorrectly. Ignoring..."));
        if (shape.rp)
            responsiblePerson(line, shape);
    }
    return true;
}

bool ZoneReading::startOfAuthority(qsizetype index)
{
    const std::optional<SoaHead> head = parseSoaHead(m_lines.at(index));
    if (!head) {
        inform(QStringLiteral("Start of authority in ") + m_fileName + QStringLiteral(" is entered incorrectly. ") +
               QStringLiteral("Please re-enter."));
        return false;
    }
    const QStringList values = findSoaValues(*head, m_lines, index + 1);
    if (values.size() < kSoaNumberCount)
        m_context.prompter.message(QStringLiteral("Attention!"),
                                   QStringLiteral("You have errors in your start of authority. Quorvane could not "
                                                  "find all values."));
    m_zone.sourceofauth = SoaRecord(QStringList{head->owner, head->primaryServer, head->mailbox} + values);
    m_zone.serialAsRead = values.value(0);
    m_zone.dnsname = m_zoneName;
    return true;
}

void ZoneReading::record(RecordList& list, const QString& line, bool wellFormed, const QString& phrase)
{
    if (wellFormed)
        list.appendLine(line);
    else
        inform(shownLine(line) + phrase);
}

void ZoneReading::indexTextRecords()
{
    m_textIndexed = true;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const LineShape& shape = shapeAt(index);
        if (!shape.in || !shape.txt)
            continue;
        const QString& line = m_lines.at(index);
        if (shape.textFields != 3)
            m_malformedText.append(index);
        else if (const QString owner = recordOwner(line); !m_firstText.contains(owner))
            m_firstText.insert(owner, index);
    }
}

void ZoneReading::responsiblePerson(const QString& line, const LineShape& shape)
{
    if (shape.fields != 4) {
        inform(shownLine(line) + QStringLiteral(", a responsible person entry, has been entered incorrectly. "
                                                "Ignoring..."));
        return;
    }
    if (!m_textIndexed)
        indexTextRecords();
    const qsizetype match = m_firstText.value(recordOwner(line), m_lines.size());
    for (const qsizetype malformed : std::as_const(m_malformedText)) {
        if (malformed >= match)
            break;
        inform(shownLine(m_lines.at(malformed)) +
               QStringLiteral(", a text file entry, has been entered incorrectly. Ignoring..."));
    }
    if (match == m_lines.size()) {
        inform(QStringLiteral("A text file entry could not be found for RP entry: ") + shownLine(line));
        return;
    }
    m_zone.textfiles.appendLine(m_lines.at(match));
    m_zone.responsible.appendLine(line);
}

} // namespace

int fieldCount(QStringView line)
{
    return LineShape(line).fields;
}

int textFieldCount(QStringView line)
{
    return LineShape(line).textFields;
}

ZoneLoadStatus loadZone(ZoneContext& context, const QString& fileName, const QString& zoneName)
{
    AppState& state = context.state;
    state.debugLog.logLine(QStringLiteral("--Begin Loading Primary File: ") + fileName);
    if (fileName.isEmpty() || fileName == QLatin1String(" ")) {
        context.prompter.message(QStringLiteral("Error!"),
                                 QStringLiteral("File selection error. Please restore your server."));
        return ZoneLoadStatus::NoFileName;
    }
    state.zone.clearRecords();
    const QString path = zoneFilePath(state.zoneLists.datapath, fileName);
    state.zone.fileStamp = FileStamp::of(path);
    QString refusal;
    const std::optional<QStringList> lines = readTextFile(path, &refusal);
    if (!lines) {
        if (!refusal.isEmpty())
            context.prompter.message(QStringLiteral("Error"), refusal, Prompter::Button::Ok, Prompter::Icon::Critical);
        context.prompter.message(kInformation, QStringLiteral("Primary file loading error. Name:") + fileName,
                                 Prompter::Button::Ok, Prompter::Icon::Information);
        return ZoneLoadStatus::Unreadable;
    }
    ZoneReading reading(context, fileName, zoneName, *lines);
    if (!reading.examineAll())
        return ZoneLoadStatus::SoaMalformed;
    state.debugLog.logLine(QStringLiteral("--End Loading Primary File: ") + fileName);
    return ZoneLoadStatus::Loaded;
}
