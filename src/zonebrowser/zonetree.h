#pragma once

#include "zone/recordkind.h"

#include <QString>
#include <QStringList>
#include <optional>

class ZoneModel;
struct HostAddressEntry;
struct ServerZoneLists;

// The texts of the zone trees, without the trees themselves.

// A zone name reduced to what a zone name may hold: letters, digits, ".", "-" and "@".
QString reducedZoneName(const QString& name);

// Before the primary tree is built: every primary zone name is reduced and written back, and the sorted
// copies are made. The secondary tree only needs its sorted copies.
void preparePrimaryLists(ServerZoneLists& lists);
void prepareSecondaryLists(ServerZoneLists& lists);

// The six label nodes under each primary zone, and the fields under "Update Timing".
const QStringList& primaryLabels();
QString updateTimingLabel();
const QStringList& soaFieldNodes();
QString secondaryRecordLabel();

// The record kind a label node stands for; none for "Update Timing" and any other text.
std::optional<RecordKind> labelKind(const QString& label);

// The node texts of a kind's records, one per stored line in list order: the host of a name server, the host
// of a mail server, the owner of the others. A name server, mail, host or alias text "@" shows the zone name.
QStringList recordNodeTexts(const ZoneModel& zone, RecordKind kind, const QString& zoneName);

// The value beside each node text of recordNodeTexts, in the same order: what the record says after its type
// (the address, the mail priority and host, the alias target, ...), blanks between fields made single, followed
// by its time to live where the line sets one.
QStringList recordValueTexts(const ZoneModel& zone, RecordKind kind);
// The value beside a host address: the address, an IPv6 one with its family and any time to live of its own.
QString hostAddressValueText(const HostAddressEntry& entry);
// The value of a record line as recordValueTexts gives it.
QString recordValueText(const QString& line);
// The start-of-authority values beside the nodes of soaFieldNodes, in the same order; empty without one.
QStringList soaFieldValues(const ZoneModel& zone);

// The position of the zone in the list, names compared without regard to case; -1 when it is not there.
int findZoneIndex(const QStringList& names, const QString& zone);
