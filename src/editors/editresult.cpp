#include "editors/editresult.h"

#include "platform/prompter.h"
#include "shell/appstate.h"
#include "zone/recorddeletion.h"
#include "zone/recordlist.h"
#include "zone/zonewriter.h"

QString zoneOrigin(const AppState& state)
{
    QString origin = state.zone.dnsname.isEmpty() ? state.selection.primdnsname : state.zone.dnsname;
    if (origin.endsWith(QLatin1Char('.')))
        origin.chop(1);
    return origin;
}

EditResult refuse(Prompter& prompter, const QString& caption, const QString& text)
{
    prompter.message(caption, text);
    return EditResult{EditStatus::Refused, QString()};
}

EditResult saveChanged(ZoneContext& context, const QString& treeText)
{
    const ZoneSaveResult saved = saveZone(context);
    return EditResult{saved.ok() ? EditStatus::Stored : EditStatus::SaveFailed, treeText};
}

EditResult storeRecord(ZoneContext& context, RecordList& records, const QString& line, const QString& display,
                       const QString& treeText)
{
    if (!records.storeAtEditIndex(line, display))
        return EditResult{EditStatus::NoRecord, treeText};
    return saveChanged(context, treeText);
}

EditResult deleteRecord(ZoneContext& context, RecordKind kind)
{
    AppState& state = context.state;
    const int index = state.zone.records(kind).editIndex();
    if (!deleteRecordAt(state, kind, index))
        return EditResult{EditStatus::NoRecord, QString()};
    return saveChanged(context, QString());
}
