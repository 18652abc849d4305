#include "zone/otherrecords.h"

#include "zone/recordfields.h"
#include "zone/zonetext.h"

namespace {

bool isClassName(QStringView word)
{
    static const QStringList classes{QStringLiteral("IN"), QStringLiteral("CH"),   QStringLiteral("HS"),
                                     QStringLiteral("CS"), QStringLiteral("NONE"), QStringLiteral("ANY")};
    return classes.contains(word.toString(), Qt::CaseInsensitive) ||
           word.startsWith(QLatin1String("CLASS"), Qt::CaseInsensitive);
}

} // namespace

bool OtherRecords::storeAtEditIndex(const QString& line)
{
    if (m_editIndex == kNewRecord) {
        m_lines.append(line);
        return true;
    }
    if (!isValidIndex(m_editIndex))
        return false;
    m_lines[m_editIndex] = line;
    return true;
}

bool OtherRecords::removeAt(int index)
{
    if (!isValidIndex(index))
        return false;
    m_lines.removeAt(index);
    return true;
}

OtherRecordFields otherRecordFields(const QString& line)
{
    OtherRecordFields out;
    const QList<RecordField> fields = recordFields(line);
    if (line.isEmpty() || isFieldBlank(line.front()) || line.front() == QLatin1Char(';') ||
        line.front() == QLatin1Char('$') || fields.size() < 3) {
        out.data = line;
        return out;
    }
    const auto word = [&line, &fields](int index) {
        return QStringView(line).sliced(fields.at(index).start, fields.at(index).length);
    };
    out.owner = word(0).toString();
    int at = 1;
    for (; at < fields.size() - 1 && at <= 2; ++at) {
        if (out.ttl.isEmpty() && parseTtl(word(at).toLatin1()))
            out.ttl = word(at).toString();
        else if (out.className.isEmpty() && isClassName(word(at)))
            out.className = word(at).toString();
        else
            break;
    }
    out.type = word(at).toString();
    if (at + 1 < fields.size()) {
        QStringView data = QStringView(line).sliced(fields.at(at + 1).start);
        while (!data.isEmpty() && isFieldBlank(data.back()))
            data.chop(1);
        out.data = data.toString();
    }
    out.record = true;
    return out;
}

QString otherRecordText(const QString& line, const QString& defaultTtl)
{
    const OtherRecordFields fields = otherRecordFields(line);
    if (!fields.record)
        return line;
    const QString ttl = fields.ttl.isEmpty() ? defaultTtl : fields.ttl;
    QStringList parts{fields.owner};
    if (!ttl.isEmpty())
        parts << ttl;
    parts << fields.type << fields.data;
    return parts.join(QLatin1Char(' '));
}
