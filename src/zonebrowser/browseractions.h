#pragma once

#include "session/zonecontext.h"
#include "zone/recordkind.h"

#include <QString>

// What the zone browser does to a zone before an editor opens on it, and the deletion of a record from the
// tree, without the tree.

// For "Edit" and a double click: the zone (compared without regard to case) is selected, read anew and its
// displays rebuilt. False when no primary zone has that name, which is reported.
bool openZoneForEdit(ZoneContext& context, const QString& zone);

// For "New" and "Delete": as for "Edit", but the selected file is first set to "*", which stays when no zone
// has that name; that is reported as a processing error. False as well when the zone file cannot be read.
bool openZoneForChange(ZoneContext& context, const QString& zone);

// The question asked before a record of the kind is deleted from the tree.
QString deleteQuestion(RecordKind kind);

enum class RecordDeletion
{
    Deleted,       // removed from the zone, which was saved
    Cancelled,     // the question was answered Cancel
    ZoneMissing,   // no primary zone has the name (reported)
    RecordMissing, // the zone as read anew holds no record at that position
};

// "Delete" on a record node: the zone is read anew, the question for the kind asked, and the record at the
// position deleted as its editor deletes it (a host's name leaves the reverse-ignore list too) and the zone
// saved. A host is named in the question, and what points to a host or an alias is listed there with the choice
// to delete it too or keep it.
// The tree's question: the records that point to what goes, when there are any; otherwise the host named, or
// the kind's question.
struct RecordDeletionPlan;
enum class DependentsChoice;
DependentsChoice askBeforeTreeDeletion(Prompter& prompter, RecordKind kind, const RecordDeletionPlan& plan);

RecordDeletion deleteRecordFromBrowser(ZoneContext& context, const QString& zone, RecordKind kind, int index);
