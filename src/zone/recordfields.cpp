#include "zone/recordfields.h"

QList<RecordField> recordFields(QStringView line, int maxFields)
{
    QList<RecordField> fields;
    fields.reserve(maxFields >= 0 ? maxFields : 8);
    const qsizetype size = line.size();
    qsizetype at = 0;
    bool first = true;
    while (at < size || first) {
        if (maxFields >= 0 && fields.size() >= maxFields)
            break;
        const qsizetype start = at;
        while (at < size && !isFieldBlank(line[at]))
            ++at;
        if (at > start || first)
            fields.append({start, at - start});
        first = false;
        while (at < size && isFieldBlank(line[at]))
            ++at;
    }
    return fields;
}

QString recordOwner(const QString& line)
{
    qsizetype at = 0;
    while (at < line.size() && !isFieldBlank(line[at]))
        ++at;
    return line.left(at);
}
