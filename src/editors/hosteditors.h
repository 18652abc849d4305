#pragma once

#include "editors/editresult.h"

#include <QString>

class ZoneModel;

// The host editor's fields.
struct HostFields
{
    QString first;  // host name
    QString second; // address
};

// The alias editor's fields.
struct AliasFields
{
    QString first;  // the alias
    QString second; // the name it points to
};

// The responsible person editor's fields.
struct PersonFields
{
    QString first;  // the person's name, without blanks
    QString second; // e-mail address
    QString third;  // contact text
};

// The longest contact text a person's text record can carry: the name server refuses a zone whose text
// string is longer.
constexpr int kMaxContactLength = 255;

// The fields a change opens with, from the stored record; empty for a position that names none.
HostFields hostFieldsAt(const ZoneModel& zone, int index);
AliasFields aliasFieldsAt(const ZoneModel& zone, int index);
PersonFields personFieldsAt(const ZoneModel& zone, int index);

// Save of the host, alias and person editors at their list's edit index. The fields keep the converted text
// (completed names, the picked host, the converted e-mail address, the quoted contact text) even when a later
// check refuses.
EditResult saveHost(ZoneContext& context, HostFields& fields);
EditResult saveAlias(ZoneContext& context, AliasFields& fields);
EditResult savePerson(ZoneContext& context, PersonFields& fields);

// The contact text as its text record holds it: in double quotes, unless it already begins and ends with one.
QString quotedContact(const QString& text);
