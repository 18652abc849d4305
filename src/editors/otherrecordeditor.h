#pragma once

#include "editors/editresult.h"

#include <QString>
#include <QStringList>

class ZoneModel;

// The generic record editor's fields, for the records the six lists do not hold.
struct GenericRecordFields
{
    QString owner; // relative to the zone, "@" for the zone itself, or absolute with its final dot
    QString ttl;   // empty: the zone's default
    QString type;
    QString data; // in zone file form; a TXT or SPF text may be given without its quotes
};

// The record types the editor offers: those the name servers accept in a zone file, apart from the start of
// authority, which has its own editor.
const QStringList& genericRecordTypes();

// The fields an other record opens with; an empty owner and type for a comment line, whose text is the data.
GenericRecordFields genericFieldsAt(const ZoneModel& zone, int index);

// A text given for a TXT or SPF record as the zone file wants it: quoted strings of at most 255 bytes each,
// longer ones split (keys and policies run longer). A text not given in quotes is one string, its quotes and
// backslashes escaped.
QString splitTextData(const QString& data);

// Save of the generic editor at the other records' edit index: the fields are checked, the record read with
// the zone scanner as the name server will read it, stored in context-free form and the zone saved. Every
// refusal is shown and changes nothing.
EditResult saveOtherRecord(ZoneContext& context, const GenericRecordFields& fields);

// The editor's Delete: the other record at the edit index leaves the zone, which is saved.
EditResult deleteOtherRecord(ZoneContext& context);
