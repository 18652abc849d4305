#pragma once

#include "platform/prompter.h"
#include "reverse/forwardreversecheck.h"
#include "session/zonecontext.h"
#include "zone/recordkind.h"

#include <QList>
#include <QString>

class ZoneModel;

// A record that points to a name a deletion takes away, and goes with it when the user says so: a mail server,
// alias, delegation (a name server record below the zone's own name), service or pointer record of the zone whose
// target is the name, or a pointer of the server's reverse zones that maps the address deleted back to it.
struct DependentRecord
{
    enum class Place
    {
        List,    // one of the zone's record lists (kind)
        Other,   // the zone's other records
        Reverse, // a reverse zone of the server (pointer)
    };

    Place place = Place::List;
    RecordKind kind = RecordKind::MailServer;
    QString line; // List and Other: the stored line
    ConsistencyFinding pointer;
    QString text; // as the question lists it: owner, type and data
};

// What a deletion at a position of a kind takes away and what points to it. A host's name goes when the host
// holds no other address, and then everything of the zone that points to the name depends on it; either way the
// pointers of the address deleted that name the host do. An alias's name always goes. Aliases that go with a name
// take what points to them as well. Other kinds have no dependents.
struct RecordDeletionPlan
{
    QString subject; // "the host www.example.com. (10.0.0.5)", "the alias webmail.example.com."
    QList<DependentRecord> dependents;
};

RecordDeletionPlan planRecordDeletion(ZoneContext& context, RecordKind kind, int index);

enum class DependentsChoice
{
    DeleteThemToo,
    KeepThem,
    Cancel,
};

// The question when records point to what a deletion takes: it names what goes and lists them, with "Yes" to
// delete those records as well, "No" to keep them and "Cancel".
DependentsChoice askAboutDependents(Prompter& prompter, const RecordDeletionPlan& plan);
DependentsChoice dependentsChoiceOf(Prompter::Button answer);

// The question of an editor's Delete, which asks nothing when nothing points to what it deletes.
DependentsChoice askBeforeEditorDeletion(Prompter& prompter, const RecordDeletionPlan& plan);

// The question's text when records point to what goes.
QString dependentsQuestion(const RecordDeletionPlan& plan);

// Takes the dependents out of the loaded zone (its save is the caller's), each by its stored line.
void removeZoneDependents(ZoneModel& zone, const QList<DependentRecord>& dependents);

// Takes the dependents' pointers out of the reverse zones, each zone written once; the loaded zone is read again
// afterwards when a reverse zone had to be loaded for it.
ConsistencyFixResult removeReverseDependents(ZoneContext& context, const QList<DependentRecord>& dependents);

// The history's words for the records a deletion takes with it beside the zone's own.
QString dependentsDescription(const QList<DependentRecord>& dependents);
