#include "gui/zonebrowser/zonetreefilter.h"

#include "zone/serverzonelists.h"
#include "zone/zonefileio.h"
#include "zonebrowser/zonetextsearch.h"

#include <QTreeWidget>

namespace {

void showAll(QTreeWidgetItem* item)
{
    item->setHidden(false);
    for (int i = 0; i < item->childCount(); ++i)
        showAll(item->child(i));
}

bool zoneFileHolds(const ServerZoneLists& lists, const QString& zone, const QString& text, ZoneTextSearch& search)
{
    const qsizetype index = lists.primdns.indexOf(zone);
    if (index < 0 || index >= lists.primfiles.size())
        return false;
    return search.fileHolds(zoneFilePath(lists.datapath, lists.primfiles.at(index)), text);
}

} // namespace

void filterZoneNodes(QTreeWidgetItem* zone, const QString& text)
{
    if (text.isEmpty() || zone->text(0).contains(text, Qt::CaseInsensitive)) {
        showAll(zone);
        return;
    }
    for (int i = 0; i < zone->childCount(); ++i) {
        QTreeWidgetItem* group = zone->child(i);
        bool anyShown = false;
        for (int j = 0; j < group->childCount(); ++j) {
            QTreeWidgetItem* node = group->child(j);
            const bool holds = ZoneTextSearch::nodeHolds(node->text(0), node->text(1), text);
            node->setHidden(!holds);
            anyShown = anyShown || holds;
        }
        group->setHidden(!anyShown);
    }
}

void filterPrimaryTree(QTreeWidget* tree, const QString& text, const ServerZoneLists& lists, ZoneTextSearch& search)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* zone = tree->topLevelItem(i);
        const bool byName = text.isEmpty() || zone->text(0).contains(text, Qt::CaseInsensitive);
        zone->setHidden(!byName && !zoneFileHolds(lists, zone->text(0), text, search));
        if (!zone->isHidden())
            filterZoneNodes(zone, text);
    }
}
