#pragma once

#include "zone/recordkind.h"

#include <QSet>
#include <QString>

struct AppState;

// An editor's delete on the loaded zone, without the save that follows it: the record at the position is
// removed from its storage and display lists (a responsible person together with its text record). Deleting a
// host also takes its name off the reverse-ignore list, every entry of it. False, changing nothing, when the
// position names no record.
bool deleteRecordAt(AppState& state, RecordKind kind, int index);

// Removes every entry of the reverse-ignore list that is one of the host names.
void removeFromReverseIgnore(AppState& state, const QSet<QString>& hostNames);

// Deletes every host of the loaded zone, first record first, as host-by-host deletion does: the host lists are
// emptied and the reverse-ignore list loses every entry naming one of the hosts.
void deleteAllHostRecords(AppState& state);
