#include "zone/recorddisplay.h"

#include "zone/recordfields.h"
#include "zone/zonemodel.h"

namespace {

const QString kFive = QStringLiteral("     ");

QString fieldText(const QString& line, const QList<RecordField>& fields, int index)
{
    if (index >= fields.size())
        return QString();
    return line.mid(fields.at(index).start, fields.at(index).length);
}

// Everything from the first character of the field to the end of the line, trailing blanks included.
QString fromField(const QString& line, const QList<RecordField>& fields, int index)
{
    if (index >= fields.size())
        return QString();
    return line.mid(fields.at(index).start);
}

// The rest of the line after the field and the one blank that follows it.
QString afterField(const QString& line, const QList<RecordField>& fields, int index)
{
    if (index >= fields.size())
        return QString();
    const qsizetype at = fields.at(index).end() + 1;
    return at < line.size() ? line.mid(at) : QString();
}

} // namespace

QString displayText(RecordKind kind, const QString& line)
{
    const QList<RecordField> fields = recordFields(line, 5);
    const QString owner = fieldText(line, fields, 0);
    switch (kind) {
    case RecordKind::NameServer:
        return fromField(line, fields, 3);
    case RecordKind::MailServer:
        return fromField(line, fields, 4) + QStringLiteral("    ") + fieldText(line, fields, 3);
    case RecordKind::HostAddress:
    case RecordKind::Alias:
        return owner + QLatin1Char(' ') + kFive + fromField(line, fields, 3);
    case RecordKind::TextRecord:
        return owner + kFive + afterField(line, fields, 2);
    case RecordKind::ResponsiblePerson:
        return owner + kFive + fieldText(line, fields, 3) + kFive + afterField(line, fields, 3);
    }
    return QString();
}

QStringList soaDisplayLines(const SoaRecord& soa)
{
    if (soa.isEmpty())
        return {};
    return {
        QStringLiteral("Server Name : ") + soa.value(SoaRecord::Owner),
        QStringLiteral("Machine Name: ") + soa.value(SoaRecord::PrimaryServer),
        QStringLiteral("User Name   : ") + soa.value(SoaRecord::Mailbox),
        QStringLiteral("-------------"),
        QStringLiteral("Serial      : ") + soa.value(SoaRecord::Serial),
        QStringLiteral("Refresh     : ") + soa.value(SoaRecord::Refresh),
        QStringLiteral("Retry       : ") + soa.value(SoaRecord::Retry),
        QStringLiteral("Expire      : ") + soa.value(SoaRecord::Expire),
        QStringLiteral("Minimum     : ") + soa.value(SoaRecord::Minimum),
    };
}

void rebuildDisplays(ZoneModel& zone, const SoaDisplayStep& soaStep)
{
    if (soaStep)
        soaStep(zone);
    else
        zone.rebuildSoaDisplay();
    for (RecordList* list : zone.recordLists())
        list->rebuildDisplays();
}
