#include "zone/zonescanner.h"

extern "C" {
#include <libknot/libknot.h>
#include <libzscanner/scanner.h>
}

namespace {

// Room for the presentation form of the largest record data: every byte of a text written as "\DDD".
constexpr size_t kDumpSize = 4 * ZS_MAX_RDATA_LENGTH + 4096;

bool endsWithUnescapedDot(const QByteArray& name)
{
    if (!name.endsWith('.'))
        return false;
    qsizetype backslashes = 0;
    for (qsizetype at = name.size() - 2; at >= 0 && name.at(at) == '\\'; --at)
        ++backslashes;
    return backslashes % 2 == 0;
}

QLatin1StringView trimmedEnd(const char* text, qsizetype length)
{
    while (length > 0 && text[length - 1] == ' ')
        --length;
    return QLatin1StringView(text, length);
}

// The presentation form of the commonest data, written without the library's general formatting, which costs
// a third of the reading of a large zone. Empty for any other type.
qsizetype fastDump(const zs_scanner_t* s, char* out, size_t size)
{
    const quint8* data = s->r_data;
    const quint32 length = s->r_data_length;
    switch (s->r_type) {
    case KNOT_RRTYPE_A: {
        if (length != 4)
            return -1;
        char* at = out;
        for (quint32 part = 0; part < 4; ++part) {
            if (part > 0)
                *at++ = '.';
            const quint8 value = data[part];
            if (value >= 100)
                *at++ = char('0' + value / 100);
            if (value >= 10)
                *at++ = char('0' + value / 10 % 10);
            *at++ = char('0' + value % 10);
        }
        return at - out;
    }
    case KNOT_RRTYPE_NS:
    case KNOT_RRTYPE_CNAME:
    case KNOT_RRTYPE_PTR:
        return knot_dname_to_str(out, data, size) ? qsizetype(strlen(out)) : -1;
    case KNOT_RRTYPE_RP: {
        if (!knot_dname_to_str(out, data, size))
            return -1;
        const size_t first = strlen(out);
        out[first] = ' ';
        const size_t skip = knot_dname_size(data);
        if (skip >= length || !knot_dname_to_str(out + first + 1, data + skip, size - first - 1))
            return -1;
        return qsizetype(strlen(out));
    }
    case KNOT_RRTYPE_MX: {
        if (length < 3)
            return -1;
        const int written = snprintf(out, size, "%u ", unsigned(data[0]) << 8 | data[1]);
        return knot_dname_to_str(out + written, data + 2, size - written) ? qsizetype(strlen(out)) : -1;
    }
    default:
        return -1;
    }
}

} // namespace

ZoneScanner::ZoneScanner(const QByteArray& origin) : m_scanner(std::make_unique<zs_scanner_t>())
{
    m_valid = zs_init(m_scanner.get(), origin.constData(), KNOT_CLASS_IN, kNoTtl) == 0;
}

ZoneScanner::~ZoneScanner()
{
    zs_deinit(m_scanner.get());
}

void ZoneScanner::setInput(const char* text, qsizetype size, qint64 firstLine)
{
    zs_set_input_string(m_scanner.get(), text, size_t(size));
    m_scanner->line_counter = quint64(firstLine);
}

ZoneScanner::Step ZoneScanner::next()
{
    if (!m_valid)
        return Step::End;
    zs_scanner_t* s = m_scanner.get();
    if (zs_parse_record(s) != 0)
        return Step::End;
    switch (s->state) {
    case ZS_STATE_DATA:
        return Step::Record;
    case ZS_STATE_ERROR:
        return Step::Error;
    case ZS_STATE_INCLUDE:
        // Directives never reach the scanner; one that does is no record.
        s->error.code = ZS_BAD_DIRECTIVE;
        return Step::Error;
    default:
        return Step::End;
    }
}

bool ZoneScanner::fatal() const
{
    return m_scanner->error.fatal || m_scanner->state == ZS_STATE_INCLUDE;
}

bool ZoneScanner::insideParentheses() const
{
    return m_scanner->multiline;
}

qint64 ZoneScanner::line() const
{
    return qint64(m_scanner->line_counter);
}

QString ZoneScanner::errorText() const
{
    return QString::fromLatin1(zs_strerror(m_scanner->error.code));
}

quint32 ZoneScanner::ttl() const
{
    return m_scanner->r_ttl;
}

quint16 ZoneScanner::type() const
{
    return m_scanner->r_type;
}

quint16 ZoneScanner::recordClass() const
{
    return m_scanner->r_class;
}

QLatin1StringView ZoneScanner::owner() const
{
    if (m_owner.empty())
        m_owner.resize(sizeof(knot_dname_txt_storage_t));
    if (!knot_dname_to_str(m_owner.data(), m_scanner->r_owner, m_owner.size()))
        return QLatin1StringView(".");
    return QLatin1StringView(m_owner.data());
}

QString ZoneScanner::classText() const
{
    char text[32];
    if (knot_rrclass_to_string(m_scanner->r_class, text, sizeof text) < 0)
        return QStringLiteral("CLASS%1").arg(m_scanner->r_class);
    return QString::fromLatin1(text);
}

QString ZoneScanner::typeText() const
{
    char text[32];
    if (knot_rrtype_to_string(m_scanner->r_type, text, sizeof text) < 0)
        return QStringLiteral("TYPE%1").arg(m_scanner->r_type);
    return QString::fromLatin1(text);
}

QLatin1StringView ZoneScanner::data() const
{
    const zs_scanner_t* s = m_scanner.get();
    if (m_dump.empty())
        m_dump.resize(kDumpSize);
    if (const qsizetype fast = fastDump(s, m_dump.data(), m_dump.size()); fast >= 0)
        return QLatin1StringView(m_dump.data(), fast);
    const auto length = quint16(s->r_data_length);
    m_rdata.resize(knot_rdata_size(length));
    auto* rdata = reinterpret_cast<knot_rdata_t*>(m_rdata.data());
    knot_rdata_init(rdata, length, s->r_data);
    knot_rrset_t rrset;
    knot_rrset_init(&rrset, const_cast<knot_dname_t*>(s->r_owner), s->r_type, s->r_class, s->r_ttl);
    rrset.rrs.count = 1;
    rrset.rrs.size = quint32(m_rdata.size());
    rrset.rrs.rdata = rdata;
    int written = knot_rrset_txt_dump_data(&rrset, 0, m_dump.data(), m_dump.size(), &KNOT_DUMP_STYLE_DEFAULT);
    if (written < 0) {
        // Data the library has no presentation form for is written in the form every name server reads.
        knot_dump_style_t generic = KNOT_DUMP_STYLE_DEFAULT;
        generic.generic = true;
        written = knot_rrset_txt_dump_data(&rrset, 0, m_dump.data(), m_dump.size(), &generic);
    }
    return written < 0 ? QLatin1StringView() : trimmedEnd(m_dump.data(), written);
}

quint32 ZoneScanner::soaMinimum() const
{
    const zs_scanner_t* s = m_scanner.get();
    if (s->r_data_length < 4)
        return 0;
    const quint8* last = s->r_data + s->r_data_length - 4;
    return quint32(last[0]) << 24 | quint32(last[1]) << 16 | quint32(last[2]) << 8 | quint32(last[3]);
}

void ZoneScanner::takeOwnerFrom(const ZoneScanner& other)
{
    m_scanner->r_owner_length = other.m_scanner->r_owner_length;
    memcpy(m_scanner->r_owner, other.m_scanner->r_owner, sizeof m_scanner->r_owner);
}

bool isValidZoneName(const QByteArray& name)
{
    knot_dname_storage_t storage;
    return !name.isEmpty() && knot_dname_from_str(storage, name.constData(), sizeof storage) != nullptr;
}

QByteArray absoluteName(const QByteArray& name, const QByteArray& origin)
{
    if (name == "@")
        return origin;
    if (endsWithUnescapedDot(name))
        return name;
    if (origin == ".")
        return name + '.';
    return name + '.' + origin;
}

ScannedLine scanRecordLine(const QString& line, const QByteArray& origin)
{
    RecordLineChecker checker(origin);
    return checker.check(line);
}

RecordLineChecker::RecordLineChecker(const QByteArray& origin)
    : m_origin(origin), m_scanner(std::make_unique<ZoneScanner>(origin))
{
}

RecordLineChecker::~RecordLineChecker() = default;

bool RecordLineChecker::isValid() const
{
    return m_scanner->isValid();
}

ScannedLine RecordLineChecker::check(const QString& line)
{
    ScannedLine out;
    if (!m_scanner->isValid()) {
        out.errorText = QStringLiteral("invalid zone origin");
        return out;
    }
    m_text = line.toLatin1() + '\n';
    m_scanner->setInput(m_text.constData(), m_text.size(), 1);
    switch (m_scanner->next()) {
    case ZoneScanner::Step::End:
        out.errorText = QStringLiteral("no record");
        return out;
    case ZoneScanner::Step::Error:
        out.errorText = m_scanner->errorText();
        // An error can leave the scanner inside a record; the next line starts afresh.
        m_scanner = std::make_unique<ZoneScanner>(m_origin);
        return out;
    case ZoneScanner::Step::Record:
        break;
    }
    out.owner = m_scanner->ownerText();
    out.ttl = m_scanner->ttl();
    out.className = m_scanner->classText();
    out.type = m_scanner->typeText();
    out.data = m_scanner->dataText();
    if (m_scanner->next() != ZoneScanner::Step::End) {
        out.errorText = QStringLiteral("more than one record");
        m_scanner = std::make_unique<ZoneScanner>(m_origin);
        return out;
    }
    out.ok = true;
    return out;
}
