#pragma once

#include "session/zonecontext.h"
#include "zone/recordkind.h"

#include <QList>
#include <QString>
#include <optional>

struct DependentRecord;
class RecordList;
class ZoneModel;

enum class EditStatus
{
    Stored,     // the model took the change and the zone was saved
    Refused,    // a check failed (its message was shown): neither the model nor the file changed
    NoRecord,   // the edit index names no record: nothing changed
    SaveFailed, // the model took the change, the zone file could not be written (reported by the save)
};

// What an editor's save or delete did, and the text its tree node shows.
struct EditResult
{
    EditStatus status = EditStatus::Refused;
    QString treeText;

    bool stored() const { return status == EditStatus::Stored; }
};

// The origin names are completed against: the loaded zone's name without a trailing dot.
QString zoneOrigin(const AppState& state);

// Shows the refusal and returns the result that says nothing changed.
EditResult refuse(Prompter& prompter, const QString& caption, const QString& text);

// Puts the record at the list's edit index (appends it while the index is -1) and saves the zone; the history
// names the record added or changed.
EditResult storeRecord(ZoneContext& context, RecordList& records, const QString& line, const QString& display,
                       const QString& treeText);

// A name of the zone, relative ("@" too) or absolute as stored, in one absolute lower-case form for comparing:
// the name server compares names without regard to case.
QString absoluteName(const QString& name, const QString& origin);

// Whether a record of the list other than the one at except has the name as its owner, compared as absolute
// names.
bool ownsRecordIn(const RecordList& records, const QString& name, const QString& origin, int except = -1);

// Whether one of the zone's other records stands at the name; with aliasOnly, an alias (CNAME) of them.
bool otherRecordAt(const ZoneModel& zone, const QString& name, const QString& origin, bool aliasOnly);

// An editor's Delete: the record at the kind's edit index leaves the zone (a responsible person with its text
// record, a host with its reverse-ignore entries) and the zone is saved. No question is asked unless records point
// to the host or alias deleted: then whether they go too (or the deletion is cancelled). The zone's last name
// server record, and the last host record of a name server inside the zone, are refused (reported): without them
// the name server refuses the zone.
EditResult deleteRecord(ZoneContext& context, RecordKind kind);

// Deletes the record at the position with the records that point to it (those of the zone leave it before it is
// saved, the pointers of reverse zones after), as one revision of the history.
EditResult deleteWithDependents(ZoneContext& context, RecordKind kind, int index,
                                const QList<DependentRecord>& dependents);

// The zone was changed in the model: save it, with the change named in the history by its description, and say
// how that went.
EditResult saveChanged(ZoneContext& context, const QString& treeText, const QString& description);

// The history's description of a change of the loaded zone's records, from the lines removed and added.
QString recordChangeDescription(const AppState& state, const QStringList& removedLines, const QStringList& addedLines);

// The stored line of the record at the position a tree node or the command line names: for hosts a position of
// the "Host Addresses" list (both families); empty when there is none.
QString recordLineAt(const ZoneModel& zone, RecordKind kind, int index);

// The record line at the edit index, as a list for recordChangeDescription: empty while a record is added.
QStringList lineAtEditIndex(const RecordList& records);
