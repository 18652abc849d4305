#pragma once

#include "editors/editresult.h"
#include "zone/recorddisplay.h"

#include <QString>
#include <QStringList>

class SoaRecord;
class ZoneModel;

// The eight fields of the SOA editor, in the order of the start of authority's values.
struct SoaFields
{
    QString soa;     // owner, not editable
    QString source2; // primary server, not editable
    QString user;
    QString serial;
    QString refresh;
    QString retry;
    QString expire;
    QString minimum;
};

SoaFields soaFieldsOf(const SoaRecord& soa);

// The names the browser opens the editor with, in the order of the fields they name.
QStringList soaFieldNames();
// The edit field a name opens ("User" opens user); empty for a name that is none of them.
QString soaFieldObjectName(const QString& fieldName);
// The hint of an edit field, by its object name; the Setup page's defaults show the same ones.
QString soaFieldHint(const QString& objectName);

// Checks and normalises the fields (the mailbox made absolute in zone-file form) and, when they pass, makes
// them the zone's start of authority and rebuilds its display lines. False, with the message shown and the
// zone unchanged, when a field holds a character no value may hold.
bool applySoaFields(ZoneModel& zone, SoaFields& fields, Prompter& prompter);

// The editor's Save: every check first, then the start of authority replaced and the zone saved, which puts
// the running serial into it whatever the serial field held.
EditResult saveSoa(ZoneContext& context, SoaFields& fields);

// What rebuilding the displays runs for the start of authority: the values go through the editor's checks
// and are stored back, so that a mailbox read in address form is brought into zone-file form.
SoaDisplayStep soaCheckStep(Prompter& prompter);
