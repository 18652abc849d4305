#pragma once

#include "zone/zonecontext.h"

#include <QString>
#include <QStringList>

class ZoneModel;

// The zone tree's seventh label under each zone, and what its commands do without the tree.

QString otherRecordsLabel();

// The node texts of the other records, "owner TTL type data", in list order.
QStringList otherRecordNodeTexts(const ZoneModel& zone);

// The question asked before an other record is deleted from the tree.
QString deleteOtherRecordQuestion();

// "Delete" on an other record's node: the zone is read anew, the question asked, and the record at the
// position deleted and the zone saved. True when it went.
bool deleteOtherRecordFromBrowser(ZoneContext& context, const QString& zone, int index);
