#include "zone/zonenormaliser.h"

#include "platform/filereading.h"
#include "zone/generatedirective.h"
#include "zone/legacyrecord.h"
#include "zone/zonescanner.h"
#include "zone/zonetext.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <limits>
#include <memory>
#include <optional>

namespace {

const QString kFive = QStringLiteral("     ");
// Deeper nesting is taken for a file that includes itself.
constexpr int kMostIncludeDepth = 16;
// A larger time to live is read as 0 by the name servers.
constexpr quint32 kLargestTtl = 0x7fffffffu;

quint32 limited(quint32 ttl)
{
    return ttl > kLargestTtl ? 0 : ttl;
}

// The name servers' rules for the time to live of a record written without one: the "$TTL" in effect; before
// any, the last one a record gave; before that, the start of authority's minimum (for that record and all
// after it). A record that finds none of them makes the name servers refuse the zone: it has none.
class TtlRules
{
public:
    void setDefault(quint32 ttl)
    {
        m_default = limited(ttl);
        m_defaultKnown = true;
        m_current = m_default;
    }

    std::optional<quint32> ttlOf(quint32 written, bool startOfAuthority, quint32 minimum)
    {
        if (written != ZoneScanner::kNoTtl) {
            m_current = limited(written);
            m_currentKnown = true;
            return m_current;
        }
        if (!m_currentKnown && !m_defaultKnown) {
            if (!startOfAuthority)
                return std::nullopt;
            setDefault(minimum);
            return m_current;
        }
        if (m_defaultKnown)
            m_current = m_default;
        return m_current;
    }

private:
    quint32 m_default = 0;
    bool m_defaultKnown = false;
    quint32 m_current = 0;
    bool m_currentKnown = false;
};

// One line of the result: a record without its time to live, which goes after the owner when the record
// needs it, or a line kept as it stands (record false).
struct Entry
{
    QString line;
    qsizetype ownerLength = 0;
    quint32 ttl = 0;
    bool ttlKnown = false;
    bool record = false;
    NormalisedKind kind = NormalisedKind::Other;
};

// How the data of a type is laid out in the program's own record lines.
enum class Layout
{
    Plain,
    TrailingBlank, // A, CNAME, TXT
    Mail,          // the priority and the host apart by five blanks, a trailing blank
    Person,        // the mailbox and the text record's name apart by two blanks, a trailing blank
};

struct TypeName
{
    QString name;
    Layout layout = Layout::Plain;
    NormalisedKind kind = NormalisedKind::Other;
};

NormalisedKind kindOf(const QString& type)
{
    static const QList<std::pair<QLatin1String, NormalisedKind>> kinds{
        {QLatin1String("SOA"), NormalisedKind::StartOfAuthority},
        {QLatin1String("NS"), NormalisedKind::NameServer},
        {QLatin1String("MX"), NormalisedKind::MailServer},
        {QLatin1String("A"), NormalisedKind::Host},
        {QLatin1String("CNAME"), NormalisedKind::Alias},
        {QLatin1String("RP"), NormalisedKind::Person},
        {QLatin1String("TXT"), NormalisedKind::Text}};
    for (const auto& [name, kind] : kinds) {
        if (type == name)
            return kind;
    }
    return NormalisedKind::Other;
}

Layout layoutOf(const QString& type)
{
    if (type == QLatin1String("MX"))
        return Layout::Mail;
    if (type == QLatin1String("RP"))
        return Layout::Person;
    if (type == QLatin1String("A") || type == QLatin1String("CNAME") || type == QLatin1String("TXT"))
        return Layout::TrailingBlank;
    return Layout::Plain;
}

void appendData(QString& line, Layout layout, QLatin1StringView data)
{
    if (layout == Layout::Plain) {
        line.append(data);
        return;
    }
    const qsizetype blank = layout == Layout::TrailingBlank ? -1 : data.indexOf(QLatin1Char(' '));
    if (blank > 0) {
        line.append(data.first(blank));
        line.append(layout == Layout::Mail ? kFive : QStringLiteral("  "));
        line.append(data.sliced(blank + 1));
    } else {
        line.append(data);
    }
    line.append(QLatin1Char(' '));
}

// A line that held part of a record: not empty, no comment, and no "$ORIGIN" (which the scanner carried out).
bool isContent(QByteArrayView line)
{
    if (line.startsWith('$'))
        return false;
    for (const char c : line) {
        if (c == ' ' || c == '\t')
            continue;
        return c != ';';
    }
    return false;
}

QString placeOf(const QString& file, qint64 line)
{
    return file.isEmpty() ? QStringLiteral("line %1").arg(line) : QStringLiteral("%1 line %2").arg(file).arg(line);
}

class Normaliser
{
public:
    Normaliser(const QString& dataDirectory, qsizetype size)
        : m_dataDirectory(QFileInfo(dataDirectory).canonicalFilePath())
    {
        // Zone files run to some forty bytes a record.
        m_entries.reserve(size / 40);
    }

    void readFile(const QByteArray& raw, const QString& shownName, const QByteArray& origin, int depth);
    void addRecord(const ZoneScanner& scanner);
    void addLegacyRecord(const LegacyRecord& record, quint32 writtenTtl);
    void addRecord(QLatin1StringView owner, quint32 writtenTtl, const QString& className, const TypeName& type,
                   QLatin1StringView data, quint32 minimum);
    void unreadable(const QString& file, qint64 line, const QString& text, const QString& reason);
    void directive(const ZoneDirective& found, const QString& file, int depth);
    NormalisedZone finish();

private:
    void include(const ZoneDirective& found, const QString& file, int depth);
    void generate(const ZoneDirective& found, const QString& file);
    void keepInclude(const ZoneDirective& found, const QString& file, const QString& why);
    const TypeName& typeName(const ZoneScanner& scanner);
    const QString& className(const ZoneScanner& scanner);
    void keep(const QString& line);

    const QString m_dataDirectory;
    qint64 m_includedBytes = 0; // what the included files came to so far
    QByteArray m_zoneOrigin;
    TtlRules m_ttl;
    std::optional<quint32> m_firstDefault;
    QList<Entry> m_entries;
    qsizetype m_startOfAuthority = -1;
    quint32 m_minimum = 0;
    QHash<quint16, TypeName> m_typeNames;
    QHash<quint16, QString> m_classNames;
    NormalisedZone m_out;
};

// One file of the zone read with one scanner, the directives carried out between the records they stand
// between.
class FileReading
{
public:
    FileReading(Normaliser& normaliser, const QByteArray& raw, const QString& shownName, const QByteArray& origin,
                int depth)
        : m_normaliser(normaliser), m_text(prepareZoneText(raw, origin)), m_shownName(shownName), m_depth(depth)
    {
    }

    void run();

private:
    void directivesUpTo(qint64 line);
    void unreadableThrough(qint64 line, const QString& reason);
    bool keptAsLegacy(qint64 line);
    std::optional<QByteArrayView> lineText(qint64 line);
    void startAt(qint64 line);

    Normaliser& m_normaliser;
    PreparedZoneText m_text;
    const QString& m_shownName;
    const int m_depth;
    std::unique_ptr<ZoneScanner> m_scanner;
    qsizetype m_nextDirective = 0;
    qint64 m_firstLine = 1; // where the scanner started
    qint64 m_lastEnd = 0;
    QList<qsizetype> m_lineStarts;
};

void FileReading::run()
{
    startAt(1);
    while (m_scanner) {
        const ZoneScanner::Step step = m_scanner->next();
        if (step == ZoneScanner::Step::End)
            break;
        qint64 line = m_scanner->line();
        if (step == ZoneScanner::Step::Record) {
            directivesUpTo(line - 1);
            m_normaliser.addRecord(*m_scanner);
            m_lastEnd = line;
            continue;
        }
        // The scanner may place a failure at the end of a line before its first one: it is its first, and the
        // next scanner starts past it, or it would meet the same failure for ever.
        line = std::max(line, m_firstLine);
        unreadableThrough(line, m_scanner->errorText());
        // A record that failed inside parentheses would take the lines after it for its own: they start afresh.
        if (m_scanner->fatal() || m_scanner->insideParentheses())
            startAt(line + 1);
    }
    directivesUpTo(std::numeric_limits<qint64>::max());
}

// A scanner that cannot go on is replaced by a new one from the line after the error, with the origin and the
// owner in effect there.
void FileReading::startAt(qint64 line)
{
    qsizetype offset = 0;
    if (line > 1) {
        const std::optional<QByteArrayView> text = lineText(line);
        if (!text) {
            m_scanner.reset();
            return;
        }
        offset = text->data() - m_text.text.constData();
    }
    auto scanner = std::make_unique<ZoneScanner>(m_text.originAt(line - 1));
    if (m_scanner)
        scanner->takeOwnerFrom(*m_scanner);
    scanner->setInput(m_text.text.constData() + offset, m_text.text.size() - offset, line);
    m_scanner = std::move(scanner);
    m_firstLine = line;
    m_lastEnd = line - 1;
}

void FileReading::directivesUpTo(qint64 line)
{
    while (m_nextDirective < m_text.directives.size() && m_text.directives.at(m_nextDirective).line <= line)
        m_normaliser.directive(m_text.directives.at(m_nextDirective++), m_shownName, m_depth);
}

// Every line of the record that failed, from the end of the last one read, is kept as a comment; a record of
// a type only the name servers know is kept as a record.
void FileReading::unreadableThrough(qint64 line, const QString& reason)
{
    QList<qint64> lines;
    for (qint64 at = m_lastEnd + 1; at <= line; ++at) {
        const std::optional<QByteArrayView> text = lineText(at);
        if (text && isContent(*text))
            lines << at;
    }
    m_lastEnd = std::max(m_lastEnd, line);
    if (lines.size() == 1 && keptAsLegacy(lines.first()))
        return;
    for (const qint64 at : std::as_const(lines)) {
        directivesUpTo(at);
        m_normaliser.unreadable(m_shownName, at, QString::fromLatin1(*lineText(at)), reason);
    }
}

bool FileReading::keptAsLegacy(qint64 line)
{
    const QByteArray previousOwner = QByteArray(m_scanner->owner().data(), m_scanner->owner().size());
    const std::optional<LegacyRecord> record = readLegacyRecord(*lineText(line), m_text.originAt(line), previousOwner);
    if (!record)
        return false;
    directivesUpTo(line);
    const std::optional<quint32> ttl = record->ttl.isEmpty() ? std::nullopt : parseTtl(record->ttl);
    m_normaliser.addLegacyRecord(*record, ttl.value_or(ZoneScanner::kNoTtl));
    return true;
}

// The text of a line of the prepared text, without its line end; none past the last line.
std::optional<QByteArrayView> FileReading::lineText(qint64 line)
{
    const QByteArray& text = m_text.text;
    if (m_lineStarts.isEmpty()) {
        m_lineStarts.append(0);
        for (qsizetype at = 0; at < text.size(); ++at) {
            if (text.at(at) == '\n')
                m_lineStarts.append(at + 1);
        }
    }
    // The last start is the end of the text, after the last line end.
    if (line < 1 || line >= m_lineStarts.size())
        return std::nullopt;
    const qsizetype start = m_lineStarts.at(line - 1);
    return QByteArrayView(text.constData() + start, m_lineStarts.at(line) - 1 - start);
}

void Normaliser::readFile(const QByteArray& raw, const QString& shownName, const QByteArray& origin, int depth)
{
    if (depth == 0)
        m_zoneOrigin = origin;
    FileReading(*this, raw, shownName, origin, depth).run();
}

const TypeName& Normaliser::typeName(const ZoneScanner& scanner)
{
    auto found = m_typeNames.find(scanner.type());
    if (found == m_typeNames.end()) {
        const QString name = scanner.typeText();
        found = m_typeNames.insert(scanner.type(), TypeName{name, layoutOf(name), kindOf(name)});
    }
    return *found;
}

const QString& Normaliser::className(const ZoneScanner& scanner)
{
    auto found = m_classNames.find(scanner.recordClass());
    if (found == m_classNames.end())
        found = m_classNames.insert(scanner.recordClass(), scanner.classText());
    return *found;
}

void Normaliser::addRecord(const ZoneScanner& scanner)
{
    const TypeName& type = typeName(scanner);
    const quint32 minimum = type.name == QLatin1String("SOA") ? scanner.soaMinimum() : 0;
    addRecord(scanner.owner(), scanner.ttl(), className(scanner), type, scanner.data(), minimum);
}

void Normaliser::addRecord(QLatin1StringView owner, quint32 writtenTtl, const QString& className, const TypeName& type,
                           QLatin1StringView data, quint32 minimum)
{
    const bool startOfAuthority = type.name == QLatin1String("SOA");
    const std::optional<quint32> ttl = m_ttl.ttlOf(writtenTtl, startOfAuthority, minimum);
    if (startOfAuthority && m_startOfAuthority < 0) {
        m_startOfAuthority = m_entries.size();
        m_minimum = minimum;
    }
    QString line;
    line.reserve(owner.size() + className.size() + type.name.size() + data.size() + 24);
    line.append(owner).append(kFive).append(className).append(kFive).append(type.name).append(kFive);
    appendData(line, type.layout, data);
    // The lists hold records of the class IN only.
    const NormalisedKind kind = className == QLatin1String("IN") ? type.kind : NormalisedKind::Other;
    m_entries.append(Entry{std::move(line), owner.size(), ttl.value_or(0), ttl.has_value(), true, kind});
}

void Normaliser::addLegacyRecord(const LegacyRecord& record, quint32 writtenTtl)
{
    const QByteArray owner = record.owner.toLatin1();
    const QByteArray data = record.data.toLatin1();
    addRecord(QLatin1StringView(owner), writtenTtl, record.className,
              TypeName{record.type, Layout::Plain, NormalisedKind::Other}, QLatin1StringView(data), 0);
}

void Normaliser::keep(const QString& line)
{
    m_entries.append(Entry{line, 0, 0, false, false, NormalisedKind::Other});
}

void Normaliser::unreadable(const QString& file, qint64 line, const QString& text, const QString& reason)
{
    keep(unreadableLineComment(file, line, text));
    m_out.unreadable << placeOf(file, line) + QStringLiteral(" (") + reason + QLatin1Char(')');
}

void Normaliser::directive(const ZoneDirective& found, const QString& file, int depth)
{
    const QString text = QString::fromLatin1(found.text);
    switch (found.kind) {
    case ZoneDirective::Kind::Ttl:
        if (const std::optional<quint32> ttl = found.words.size() == 1 ? parseTtl(found.words.first()) : std::nullopt) {
            m_ttl.setDefault(*ttl);
            if (!m_firstDefault)
                m_firstDefault = limited(*ttl);
        } else {
            unreadable(file, found.line, text, QStringLiteral("invalid $TTL"));
        }
        return;
    case ZoneDirective::Kind::Include:
        include(found, file, depth);
        return;
    case ZoneDirective::Kind::Generate:
        generate(found, file);
        return;
    case ZoneDirective::Kind::BadOrigin:
        unreadable(file, found.line, text, QStringLiteral("invalid $ORIGIN"));
        return;
    case ZoneDirective::Kind::Unknown:
        break;
    }
    unreadable(file, found.line, text, QStringLiteral("unknown directive"));
}

void Normaliser::include(const ZoneDirective& found, const QString& file, int depth)
{
    const QString text = QString::fromLatin1(found.text);
    if (found.words.isEmpty() || found.words.size() > 2) {
        unreadable(file, found.line, text, QStringLiteral("invalid $INCLUDE"));
        return;
    }
    const QString named = QString::fromLatin1(found.words.first());
    const QString path = QFileInfo(QDir(m_dataDirectory).absoluteFilePath(named)).canonicalFilePath();
    if (path.isEmpty()) {
        keepInclude(found, file, QStringLiteral("not found"));
        return;
    }
    if (m_dataDirectory.isEmpty() || !path.startsWith(m_dataDirectory + QLatin1Char('/'))) {
        keepInclude(found, file, QStringLiteral("outside the data directory"));
        return;
    }
    const QByteArray origin = found.words.size() == 2 ? absoluteName(found.words.at(1), found.origin) : found.origin;
    if (!isValidZoneName(origin)) {
        unreadable(file, found.line, text, QStringLiteral("invalid $INCLUDE origin"));
        return;
    }
    if (depth + 1 > kMostIncludeDepth) {
        unreadable(file, found.line, text, QStringLiteral("$INCLUDE nested too deep"));
        return;
    }
    const FileReadResult included = readWholeFile(path, ReadLimit::kZoneFile - m_includedBytes);
    if (included.problem == FileReadResult::Problem::TooLarge) {
        // Each included file is held to what a zone may come to in all, however often it is included.
        keepInclude(found, file, QStringLiteral("too large"));
        return;
    }
    if (!included.ok()) {
        keepInclude(found, file, QStringLiteral("cannot be read"));
        return;
    }
    const QByteArray& bytes = *included.bytes;
    m_includedBytes += bytes.size();
    readFile(bytes, QDir(m_dataDirectory).relativeFilePath(path), origin, depth + 1);
}

// The line stays as it stands; where the origin in effect was not the zone's own, it is named on the line,
// since the line is read back where no other origin is in effect.
void Normaliser::keepInclude(const ZoneDirective& found, const QString& file, const QString& why)
{
    QString line = QString::fromLatin1(found.text);
    if (found.words.size() == 1 && found.origin != m_zoneOrigin)
        line = QStringLiteral("$INCLUDE ") + QString::fromLatin1(found.words.first()) + QLatin1Char(' ') +
               QString::fromLatin1(found.origin);
    keep(line);
    m_out.includesKept << placeOf(file, found.line) + QStringLiteral(": ") + QString::fromLatin1(found.text) +
                              QStringLiteral(" (") + why + QLatin1Char(')');
}

void Normaliser::generate(const ZoneDirective& found, const QString& file)
{
    const GeneratedRecords records = expandGenerate(found.words);
    if (!records.ok) {
        unreadable(file, found.line, QString::fromLatin1(found.text), records.errorText);
        return;
    }
    ZoneScanner scanner(found.origin);
    scanner.setInput(records.text.constData(), records.text.size(), found.line);
    for (;;) {
        const ZoneScanner::Step step = scanner.next();
        if (step == ZoneScanner::Step::End)
            return;
        if (step == ZoneScanner::Step::Error) {
            unreadable(file, found.line, QString::fromLatin1(found.text), scanner.errorText());
            return;
        }
        addRecord(scanner);
    }
}

NormalisedZone Normaliser::finish()
{
    std::optional<quint32> fallback = m_firstDefault;
    bool written = fallback.has_value();
    if (!fallback && m_startOfAuthority >= 0) {
        const Entry& soa = m_entries.at(m_startOfAuthority);
        fallback = soa.ttl;
        written = soa.ttl != m_minimum;
    }
    m_out.lines.reserve(m_entries.size() + 1);
    m_out.kinds.reserve(m_entries.size() + 1);
    if (written) {
        m_out.lines << QStringLiteral("$TTL ") + QString::number(*fallback);
        m_out.kinds << NormalisedKind::DefaultTtl;
    }
    for (Entry& entry : m_entries) {
        NormalisedKind kind = entry.kind;
        if (entry.record && entry.ttlKnown && entry.ttl != fallback) {
            entry.line.insert(entry.ownerLength, kFive + QString::number(entry.ttl));
            if (kind != NormalisedKind::StartOfAuthority)
                kind = NormalisedKind::Other;
        }
        m_out.lines << std::move(entry.line);
        m_out.kinds << kind;
    }
    m_out.ok = true;
    return std::move(m_out);
}

} // namespace

QString unreadableLineComment(const QString& fileName, qint64 line, const QString& text)
{
    return QStringLiteral(";") + placeOf(fileName, line) + QStringLiteral(" could not be read: ") + text;
}

NormalisedZone normaliseZone(const QByteArray& bytes, const QString& zoneName, const QString& dataDirectory)
{
    const QByteArray origin = absoluteName(zoneName.toLatin1(), QByteArrayLiteral("."));
    if (!isValidZoneName(origin))
        return {};
    Normaliser normaliser(dataDirectory, bytes.size());
    normaliser.readFile(bytes, QString(), origin, 0);
    return normaliser.finish();
}

QString contextFreeLine(const QString& owner, const QString& ttl, const QString& className, const QString& type,
                        const QString& data)
{
    QString line = owner + kFive;
    if (!ttl.isEmpty())
        line += ttl + kFive;
    line += className + kFive + type + kFive;
    const QByteArray bytes = data.toLatin1();
    appendData(line, layoutOf(type), QLatin1StringView(bytes));
    return line;
}
