#include "zonebrowser/otherrecordactions.h"

#include "editors/otherrecordeditor.h"
#include "platform/prompter.h"
#include "session/appstate.h"
#include "zonebrowser/browseractions.h"

QString otherRecordsLabel()
{
    return QStringLiteral("Other Records");
}

QList<QStringList> otherRecordNodeColumns(const ZoneModel& zone)
{
    QList<QStringList> nodes;
    nodes.reserve(zone.otherrecords.count());
    const QString fallback = zone.effectiveDefaultTtl();
    for (const QString& line : zone.otherrecords.lines()) {
        const OtherRecordFields fields = otherRecordFields(line);
        if (!fields.record) {
            nodes << QStringList{line};
            continue;
        }
        QString value = fields.type + QLatin1Char(' ') + fields.data;
        const QString ttl = fields.ttl.isEmpty() ? fallback : fields.ttl;
        if (!ttl.isEmpty())
            value += QStringLiteral("  (TTL ") + ttl + QLatin1Char(')');
        nodes << QStringList{fields.owner, value};
    }
    return nodes;
}

QString deleteOtherRecordQuestion()
{
    return QStringLiteral("Are you sure you want to delete this record?");
}

bool deleteOtherRecordFromBrowser(ZoneContext& context, const QString& zone, int index)
{
    if (!openZoneForChange(context, zone))
        return false;
    const Prompter::Button answer =
        context.prompter.message(QStringLiteral("Question!"), deleteOtherRecordQuestion(),
                                 Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Question);
    if (answer != Prompter::Button::Ok)
        return false;
    context.state.zone.otherrecords.setEditIndex(index);
    return deleteOtherRecord(context).stored();
}
