#include "zone/serverzonelists.h"

namespace {

int indexOf(const QStringList& names, const QStringList& views, const QString& zone, const QString& view)
{
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(zone, Qt::CaseInsensitive) == 0 && (view.isEmpty() || views.value(i) == view))
            return i;
    }
    return -1;
}

} // namespace

int ServerZoneLists::primaryIndex(const QString& zone, const QString& view) const
{
    return indexOf(primdns, primviews, zone, view);
}

int ServerZoneLists::secondaryIndex(const QString& zone, const QString& view) const
{
    return indexOf(secdns, secviews, zone, view);
}
