#pragma once

#include "platform/progress.h"
#include "session/zonecontext.h"
#include "zone/recordkind.h"
#include "zone/secondaryzoneentry.h"
#include "zonebrowser/findindex.h"
#include "zonebrowser/primarydeletion.h"
#include "zonebrowser/zonetextsearch.h"

#include <QIcon>
#include <QList>
#include <QWidget>
#include <functional>
#include <optional>

struct AppState;
class Prompter;
class OtherRecordsNode;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// What the browser asks of an editor: the SOA editor with one of its fields focused (no kind), or the editor
// of a record kind at an edit index (-1 for a new record). The zone is selected, read and its displays
// rebuilt before.
struct EditorRequest
{
    std::optional<RecordKind> kind;
    QString soaField;
    int index = -1;
};

// The "Domain Edit" page: the primary and secondary zone trees with their find and sort controls, their
// context menus, and the zone commands below them. The primary tree shows each record's value beside it and
// can be narrowed with a filter; the selected zone's file can be viewed as written.
class DomainEditPage : public QWidget
{
    Q_OBJECT
public:
    DomainEditPage(AppState& state, Prompter& prompter, QWidget* parent = nullptr);
    ~DomainEditPage() override;

    QTreeWidget* primaryTree;   // primary zones
    QTreeWidget* secondaryTree; // secondary zones
    QLabel* primcount;
    QLabel* seccount;
    QPushButton* findprim;
    QLineEdit* findprimtext;
    QPushButton* sortprim;
    QPushButton* findsec;
    QLineEdit* findsectext;
    QPushButton* sortsec;
    QLineEdit* filtertext;     // narrows the primary tree to zones and records holding the text
    QPushButton* viewzonefile; // shows the selected zone's file
    QPushButton* newprimary;
    QPushButton* fastadd;
    QPushButton* deleteprimary;
    QPushButton* reversemapping;
    QPushButton* newsecondary;
    QPushButton* delsecondary;
    QPushButton* updatechanges;
    QMenu* primaryMenu; // "New", "Delete", "Edit" of the primary tree
    QAction* newRecordAction;
    QAction* deleteRecordAction;
    QAction* editRecordAction;
    QMenu* secondaryMenu; // the same for the secondary tree
    QAction* newSecondaryAction;
    QAction* deleteSecondaryAction;
    QAction* editSecondaryAction;

    // The program's progress window; none shows nothing.
    void setProgress(Progress* progress);
    // What ends every zone save, and the SOA editor's check-and-store step for rebuilding the displays.
    void setBootFileSaver(BootFileSaver saver);
    void setSoaStep(SoaDisplayStep step);
    // Takes a deleted zone's entry out of the boot file, saves it and reads it again.
    void setBootFileDrop(std::function<FileWriteResult(const QString&)> drop);
    // While it answers true the primary zone wizard is open, and a zone deletion leaves the tree alone.
    void setWizardOpen(std::function<bool()> isOpen);
    // The record and SOA editors.
    void setEditorOpener(std::function<void(const EditorRequest&)> open);
    // After an editor's Save: the node at the last click gets a child with the text (adding) or the text
    // itself (changing). After its Delete: that node goes.
    void updateClickedNode(const QString& text, bool adding);
    void removeClickedNode();
    // The record labels of the zone under the root made to show the loaded zone again where they differ from it
    // (a change can move a record between labels, or take records that point to a deleted one with it), all but
    // the one given.
    void syncRecordGroups(QTreeWidgetItem* root, const QTreeWidgetItem* except = nullptr);
    // The secondary zone editor, opened for a secondary zone's name.
    void setSecondaryEditorOpener(std::function<void(const QString&)> open);
    // The rows of the main window's secondary grid, which a click in the secondary tree selects from.
    void setSecondaryRows(std::function<QList<SecondaryZoneEntry>()> rows);

    // The status bar line after an operation of the page that changed files.
    void setStatusReporter(std::function<void(const QString&)> report) { m_reportStatus = std::move(report); }
    void reportStatus(const QString& text) const { m_reportStatus ? m_reportStatus(text) : void(); }

    // The context a zone operation of this page runs with.
    ZoneContext zoneContext();
    // Adds an item (of the object names given) to the context menus of both trees; it runs with the zone of the
    // node the menu was opened on.
    void addZoneMenuItems(const QString& text, const QString& primaryName, const QString& secondaryName,
                          const std::function<void(const QString& zone)>& run);
    // The "Other Records" label of each zone and its editor.
    OtherRecordsNode* otherRecords() const { return m_otherRecords; }

    void buildPrimaryTree();
    void buildSecondaryTree();
    // No server loaded: empty trees and counts that say so.
    void clearTrees();

    // The events and commands of the trees and buttons.
    void pressPrimaryTree(const QPoint& position, Qt::MouseButton button);
    void expandPrimaryItem(QTreeWidgetItem* item);
    void openPrimaryItem();
    void pressSecondaryTree(const QPoint& position, Qt::MouseButton button);
    void openSecondaryItem();
    void editRecord();
    void newRecord();
    void deleteRecord();
    void findPrimary();
    void sortPrimary();
    void findSecondary();
    void sortSecondary();
    void deleteSelectedZone();
    void viewZoneFile();
    // Narrows the primary tree to the filter's text (the tree is built in full, then nodes are hidden).
    void applyFilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void connectControls();
    QTreeWidgetItem* primaryItemAtClick() const;
    void fillZoneChildren(QTreeWidgetItem* root);
    // The values beside a group's record nodes (or the start-of-authority fields), from the loaded zone.
    void showValues(QTreeWidgetItem* group);
    void openEditor(const EditorRequest& request);
    void find(QTreeWidget* tree, FindIndex& index, QPushButton* button, const QString& text, bool primary);

    AppState& m_state;
    Prompter& m_prompter;
    NullProgress m_noProgress;
    Progress* m_progress = &m_noProgress;
    BootFileSaver m_bootFileSaver;
    SoaDisplayStep m_soaStep;
    PrimaryDeletionHooks m_deletionHooks;
    std::function<bool()> m_wizardOpen;
    std::function<void(const EditorRequest&)> m_openEditor;
    std::function<void(const QString&)> m_openSecondaryEditor;
    std::function<QList<SecondaryZoneEntry>()> m_secondaryRows;
    std::function<void(const QString&)> m_reportStatus;
    OtherRecordsNode* m_otherRecords;
    FindIndex m_primIndex;
    FindIndex m_secIndex;
    ZoneTextSearch m_search;
    QIcon m_zoneIcon;
    QIcon m_labelIcon;
    QIcon m_recordIcon;
    bool m_filling = false;
};
