#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <QStringList>

class ZoneModel;

// The zone tree's seventh label under each zone, and what its commands do without the tree.

QString otherRecordsLabel();

// The columns of each other record's node, in list order, as the other records' nodes show theirs: the owner,
// and beside it the value, "type data  (TTL n)", the time to live being the record's own or else the zone's
// default. A comment or directive line stands whole in the first column.
QList<QStringList> otherRecordNodeColumns(const ZoneModel& zone);

// The question asked before an other record is deleted from the tree.
QString deleteOtherRecordQuestion();

// "Delete" on an other record's node: the zone is read anew, the question asked, and the record at the
// position deleted and the zone saved. True when it went.
bool deleteOtherRecordFromBrowser(ZoneContext& context, const QString& zone, int index);
