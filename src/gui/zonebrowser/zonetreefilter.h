#pragma once

class QString;
class QTreeWidget;
class QTreeWidgetItem;
class ZoneTextSearch;
struct ServerZoneLists;

// The filter of the primary zone tree. A zone stays shown when its name holds the text or one of its records
// does (its file is searched); under a zone shown for its records, only the records whose name or value holds
// the text stay, with their groups. An empty text shows everything.
void filterPrimaryTree(QTreeWidget* tree, const QString& text, const ServerZoneLists& lists, ZoneTextSearch& search);

// The same for the nodes under one zone, after they were built anew.
void filterZoneNodes(QTreeWidgetItem* zone, const QString& text);
