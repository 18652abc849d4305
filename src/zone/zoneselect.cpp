#include "zone/zoneselect.h"

#include "zone/serverzonelists.h"

bool selectPrimary(ZoneSelection& selection, const ServerZoneLists& lists, int index)
{
    if (index < 0 || index >= lists.primfiles.size() || index >= lists.primdns.size())
        return false;
    selection.primfilename = lists.primfiles.at(index);
    selection.primdnsname = lists.primdns.at(index);
    selection.primview = lists.primviews.value(index);
    return true;
}

bool selectSecondary(ZoneSelection& selection, const QList<SecondaryZoneEntry>& rows, int index)
{
    if (index < 0 || index >= rows.size())
        return false;
    selection.secdnsname = rows.at(index).zone;
    selection.secipaddr = rows.at(index).masters;
    return true;
}
