#pragma once

#include "editors/editresult.h"

#include <QString>

class ZoneModel;

// The name server editor's one field.
struct NameServerFields
{
    QString second; // the server's name
};

// The mail server editor's fields.
struct MailServerFields
{
    QString second; // the mail host
    QString value;  // its priority
};

// The fields a change opens with, from the record's display text; empty for a position that names none.
NameServerFields nameServerFieldsAt(const ZoneModel& zone, int index);
MailServerFields mailServerFieldsAt(const ZoneModel& zone, int index);

// Save of the name and mail server editors at the list's edit index. The name field keeps the completed name
// (or the host picked instead) even when a later check refuses.
EditResult saveNameServer(ZoneContext& context, NameServerFields& fields);
EditResult saveMailServer(ZoneContext& context, MailServerFields& fields);
