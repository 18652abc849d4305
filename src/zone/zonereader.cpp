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

int blankRuns(QStringView text)
{
    int runs = 0;
    bool inRun = false;
    for (const QChar c : text) {
        const bool blank = isFieldBlank(c);
        if (blank && !inRun)
            ++runs;
        inRun = blank;
    }
    return runs;
}

// The text with everything from its first double quote to its last replaced by a character that is no
// blank, so that a quoted text counts as one field and record words inside it count for nothing. Taking the
// outermost pair keeps whole the texts the person editor stores, which may hold further quotes of their own.
QString maskQuoted(QStringView text)
{
    QString masked = text.toString();
    const qsizetype first = masked.indexOf(QLatin1Char('"'));
    const qsizetype last = masked.lastIndexOf(QLatin1Char('"'));
    for (qsizetype at = first + 1; first >= 0 && at < last; ++at)
        masked[at] = QLatin1Char('x');
    return masked;
}

// A line as the tests see it: tabs are blanks, and what stands inside double quotes is no record word.
class LineProbe
{
public:
    explicit LineProbe(const QString& line)
        : m_line(line), m_hasTab(line.contains(QLatin1Char('\t'))), m_hasQuote(line.contains(QLatin1Char('"')))
    {
        if (m_hasTab) {
            m_blanked = line;
            m_blanked.replace(QLatin1Char('\t'), QLatin1Char(' '));
        }
        if (m_hasQuote)
            m_masked = maskQuoted(blanked());
    }

    QStringView blanked() const { return m_hasTab ? QStringView(m_blanked) : QStringView(m_line); }
    QStringView masked() const { return m_hasQuote ? QStringView(m_masked) : blanked(); }
    bool contains(QLatin1StringView what) const { return masked().contains(what); }

private:
    const QString& m_line;
    bool m_hasTab;
    bool m_hasQuote;
    QString m_blanked;
    QString m_masked;
};

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
    bool startOfAuthority(qsizetype index, const LineProbe& probe);
    void record(RecordList& list, const QString& line, int wanted, const LineProbe& probe, const QString& phrase);
    void responsiblePerson(const QString& line, const LineProbe& probe);
    void indexTextRecords();
    void inform(const QString& text);

    ZoneContext& m_context;
    ZoneModel& m_zone;
    const QString& m_fileName;
    const QString& m_zoneName;
    const QStringList& m_lines;

    // The TXT lines an RP line may pair with, found in one pass over the file on the first RP line: the first
    // well-formed TXT line of each owner, and the malformed TXT lines a search from the top meets on its way.
    bool m_textIndexed = false;
    QHash<QString, qsizetype> m_firstText;
    QList<qsizetype> m_malformedText;
};

void ZoneReading::inform(const QString& text)
{
    m_context.prompter.message(kInformation, text, Prompter::Button::Ok, Prompter::Icon::Information);
}

bool ZoneReading::examineAll()
{
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const QString& line = m_lines.at(index);
        const LineProbe probe(line);
        if (probe.contains(QLatin1StringView("IN ")) && probe.contains(QLatin1StringView("SOA ")) &&
            !startOfAuthority(index, probe))
            return false;
        if (!probe.contains(QLatin1StringView(" IN ")))
            continue;
        if (probe.contains(QLatin1StringView(" NS ")))
            record(m_zone.nameservers, line, 3, probe, QStringLiteral(", a name server entry, has been entered "
                                                                      "incorrectly. Ignoring..."));
        if (probe.contains(QLatin1StringView(" MX ")))
            record(m_zone.mailservers, line, 4, probe,
                   QStringLiteral(", a mail entry, has been entered incorrectly. Ignoring..."));
        if (probe.contains(QLatin1StringView(" A ")))
            record(m_zone.hostaddrs, line, 3, probe,
                   QStringLiteral(", a host address, has been entered incorrectly. Ignoring..."));
        if (probe.contains(QLatin1StringView(" CNAME ")))
            record(m_zone.aliases, line, 3, probe,
                   QStringLiteral(", an alias, has been entered incorrectly. Ignoring..."));
        if (probe.contains(QLatin1StringView(" RP ")))
            responsiblePerson(line, probe);
    }
    return true;
}

bool ZoneReading::startOfAuthority(qsizetype index, const LineProbe& probe)
{
    const std::optional<SoaHead> head = parseSoaHead(probe.blanked());
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

void ZoneReading::record(RecordList& list, const QString& line, int wanted, const LineProbe& probe,
                         const QString& phrase)
{
    if (fieldCount(probe.blanked()) == wanted)
        list.appendLine(line);
    else
        inform(shownLine(line) + phrase);
}

void ZoneReading::indexTextRecords()
{
    m_textIndexed = true;
    for (qsizetype index = 0; index < m_lines.size(); ++index) {
        const QString& line = m_lines.at(index);
        const LineProbe probe(line);
        if (!probe.contains(QLatin1StringView(" IN ")) || !probe.contains(QLatin1StringView(" TXT ")))
            continue;
        if (fieldCount(probe.masked()) != 3)
            m_malformedText.append(index);
        else if (const QString owner = recordOwner(line); !m_firstText.contains(owner))
            m_firstText.insert(owner, index);
    }
}

void ZoneReading::responsiblePerson(const QString& line, const LineProbe& probe)
{
    if (fieldCount(probe.blanked()) != 4) {
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
    return line.isEmpty() ? 0 : blankRuns(line.chopped(1));
}

int textFieldCount(QStringView line)
{
    return fieldCount(maskQuoted(line));
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
    const std::optional<QStringList> lines = readTextFile(QDir(state.zoneLists.datapath).filePath(fileName));
    if (!lines) {
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
