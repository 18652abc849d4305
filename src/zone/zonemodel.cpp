#include "zone/zonemodel.h"

#include "zone/recorddisplay.h"

RecordList& ZoneModel::records(RecordKind kind)
{
    return const_cast<RecordList&>(std::as_const(*this).records(kind));
}

const RecordList& ZoneModel::records(RecordKind kind) const
{
    switch (kind) {
    case RecordKind::NameServer:
        return nameservers;
    case RecordKind::MailServer:
        return mailservers;
    case RecordKind::HostAddress:
        return hostaddrs;
    case RecordKind::Alias:
        return aliases;
    case RecordKind::ResponsiblePerson:
        return responsible;
    case RecordKind::TextRecord:
        break;
    }
    return textfiles;
}

std::array<RecordList*, 6> ZoneModel::recordLists()
{
    return {&nameservers, &mailservers, &hostaddrs, &aliases, &textfiles, &responsible};
}

void ZoneModel::clearZone()
{
    dnsname.clear();
    clearRecords();
    reversens.clear();
    reverseaddr.clear();
}

void ZoneModel::clearRecords()
{
    sourceofauth.clear();
    soadisplay.clear();
    serialAsRead.clear();
    for (RecordList* list : recordLists())
        list->clear();
    otherrecords.clear();
    defaultTtl.clear();
    soaTtl.clear();
    unkept.clear();
}

QString ZoneModel::effectiveDefaultTtl() const
{
    return defaultTtl.isEmpty() ? sourceofauth.value(SoaRecord::Minimum) : defaultTtl;
}

void ZoneModel::rebuildSoaDisplay()
{
    soadisplay = soaDisplayLines(sourceofauth);
}

void ZoneModel::appendResponsible(const QString& rpLine, const QString& txtLine)
{
    responsible.appendLine(rpLine);
    textfiles.appendLine(txtLine);
}

bool ZoneModel::storeResponsible(const QString& rpLine, const QString& rpDisplay, const QString& txtLine,
                                 const QString& txtDisplay)
{
    const int index = responsible.editIndex();
    if (index == RecordList::kNewRecord) {
        responsible.append(rpLine, rpDisplay);
        textfiles.append(txtLine, txtDisplay);
        return true;
    }
    if (!responsible.isValidIndex(index) || !textfiles.isValidIndex(index))
        return false;
    responsible.replaceAt(index, rpLine, rpDisplay);
    textfiles.replaceAt(index, txtLine, txtDisplay);
    return true;
}

bool ZoneModel::removeResponsible(int index)
{
    if (!responsible.isValidIndex(index) || !textfiles.isValidIndex(index))
        return false;
    responsible.removeAt(index);
    textfiles.removeAt(index);
    return true;
}
