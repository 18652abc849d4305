#pragma once

#include "platform/filestamp.h"
#include "zone/otherrecords.h"
#include "zone/recordkind.h"
#include "zone/recordlist.h"
#include "zone/soarecord.h"

#include <QString>
#include <QStringList>
#include <array>

// The one primary zone that is loaded at a time. Every record is held as the exact line the zone file gets,
// beside its display text; nothing is parsed into fields and rebuilt on saving.
//
// The remembered "don't ask again" answers that the name checks consult are kept once, in the program state's
// DomainEditDefaults, and not here.
class ZoneModel
{
public:
    QString dnsname; // the loaded zone as the server's primary list has it; empty when none is loaded
    SoaRecord sourceofauth;
    QStringList soadisplay; // nine lines, or none without a start of authority
    // The serial the zone file held when it was read (or last written); a save never writes one that is not
    // greater, so secondary servers always take the change.
    QString serialAsRead;
    // The zone file as it was read or last written, to notice a change made meanwhile by another program.
    FileStamp fileStamp;

    // Each list's display list and edit index are the ones the editors know as nameserversdisplay and
    // nameserverindex, mailserversdisplay and mailserverindex, and so on.
    RecordList nameservers{RecordKind::NameServer};
    RecordList mailservers{RecordKind::MailServer};
    RecordList hostaddrs{RecordKind::HostAddress};
    RecordList aliases{RecordKind::Alias};
    RecordList responsible{RecordKind::ResponsiblePerson};
    RecordList textfiles{RecordKind::TextRecord};
    // Every record the six lists do not take, kept as read and written back after them.
    OtherRecords otherrecords;

    // The zone file's "$TTL" (written first after the header) and the time to live its start of authority
    // carries of its own; empty when it has none. Without a "$TTL" a record that carries no time to live has
    // the start of authority's minimum.
    QString defaultTtl;
    QString soaTtl;
    // The lines the last reading could not keep as records (kept as comments instead), each with its place and
    // the reason.
    QStringList unkept;

    // Working lists of reverse mapping generation; empty outside it.
    QStringList reversesoa;
    QStringList reversens;
    QStringList reverseaddr;
    QStringList reverseaddrtemp;

    RecordList& records(RecordKind kind);
    const RecordList& records(RecordKind kind) const;
    // The six lists in the order the zone file lists them.
    std::array<RecordList*, 6> recordLists();

    // Empties the zone name, the start of authority and every record and display list, and the reverse
    // generation's name server and address lists. Edit indexes stay as they were set.
    void clearZone();
    // What reading a zone file starts from: the start of authority, the record and display lists and the other
    // records emptied, the zone name and the reverse lists untouched.
    void clearRecords();

    // The time to live of a record that carries none: the "$TTL", else the start of authority's minimum.
    QString effectiveDefaultTtl() const;

    // The nine display lines from the start of authority as it stands.
    void rebuildSoaDisplay();

    // A responsible person's RP record and its TXT record are always held at one position of responsible and
    // textfiles, and change together. Stored at the responsible edit index (appended while it is -1); false,
    // changing nothing, when that index names no pair.
    void appendResponsible(const QString& rpLine, const QString& txtLine);
    bool storeResponsible(const QString& rpLine, const QString& rpDisplay, const QString& txtLine,
                          const QString& txtDisplay);
    bool removeResponsible(int index);
    bool removeResponsibleAtEditIndex() { return removeResponsible(responsible.editIndex()); }
};
