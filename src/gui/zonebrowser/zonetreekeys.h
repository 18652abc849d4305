#pragma once

#include <QObject>

class DomainEditPage;
class QTreeWidgetItem;

// The keyboard of the "Domain Edit" page: in the primary tree Insert adds a record to the selected group,
// Enter and F2 edit the selected record (and open or close a zone or
// group), Delete deletes the selected record or zone, F5 reads the selected
// zone's file again; on the page Ctrl+N is "New Primary" and Ctrl+F moves to the filter. Each key does what the
// context menu does on the selected node, with the same checks.
class ZoneTreeKeys : public QObject
{
    Q_OBJECT
public:
    explicit ZoneTreeKeys(DomainEditPage& page);

    void newRecord();
    void editRecord();
    void deleteNode();
    void reloadZone();

private:
    // The selected node, made the node "at the click" as a right click on it would; none without a selection.
    QTreeWidgetItem* pointAtCurrent();

    DomainEditPage& m_page;
};
