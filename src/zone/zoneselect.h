#pragma once

#include "zone/secondaryzoneentry.h"

#include <QList>

struct ServerZoneLists;
struct ZoneSelection;

// Makes primary zone index the selection (its file and zone name). False, changing nothing, for an index
// outside the lists; true tells the window to enable "Delete Primary".
bool selectPrimary(ZoneSelection& selection, const ServerZoneLists& lists, int index);

// Makes secondary zone index the selection: its zone name and master addresses as the rows of the main
// window's secondary grid hold them. False, changing nothing, for an index outside the rows; true tells the
// window to enable "Del Secondary".
bool selectSecondary(ZoneSelection& selection, const QList<SecondaryZoneEntry>& rows, int index);
