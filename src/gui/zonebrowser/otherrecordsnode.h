#pragma once

#include "session/zonecontext.h"

#include <QIcon>
#include <QObject>
#include <functional>

struct AppState;
class GenericRecordEditor;
class Prompter;
class QTreeWidgetItem;
class QWidget;

// The "Other Records" label under each zone of the primary tree, its record nodes, and its "New", "Edit" and
// "Delete", which open the generic record editor or delete at once after the question.
class OtherRecordsNode : public QObject
{
    Q_OBJECT
public:
    OtherRecordsNode(AppState& state, Prompter& prompter, std::function<ZoneContext()> zoneContext, QWidget* window);
    ~OtherRecordsNode() override;

    // The label under a zone's root, with no records until the zone is read.
    static void addLabel(QTreeWidgetItem* root, const QIcon& icon);
    static bool isLabel(const QTreeWidgetItem* label);
    // The label with a node per other record of the loaded zone, under a root whose children are being rebuilt.
    void fill(QTreeWidgetItem* root, const QIcon& labelIcon, const QIcon& recordIcon);

    // The commands on the label (New) and on a record node (Edit, Delete).
    void create(QTreeWidgetItem* label);
    void edit(QTreeWidgetItem* node);
    void remove(QTreeWidgetItem* node);

    GenericRecordEditor* editor() const { return m_editor; }

    // The label's nodes anew from the loaded zone.
    void showRecords(QTreeWidgetItem* label);
    // Told after a record of the zone under the root changed, for the other labels that show it (an address
    // record is also a host address).
    void setZoneChanged(std::function<void(QTreeWidgetItem* root)> changed) { m_zoneChanged = std::move(changed); }

private:
    void stored(bool adding);
    void changed(QTreeWidgetItem* label);

    AppState& m_state;
    Prompter& m_prompter;
    std::function<ZoneContext()> m_zoneContext;
    GenericRecordEditor* m_editor;
    QIcon m_recordIcon;
    // The node the editor works for: the label it adds to, or the record it changes or deletes.
    QTreeWidgetItem* m_pending = nullptr;
    std::function<void(QTreeWidgetItem*)> m_zoneChanged;
};
