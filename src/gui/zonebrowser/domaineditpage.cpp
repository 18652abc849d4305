#include "gui/zonebrowser/domaineditpage.h"

#include "gui/zonebrowser/otherrecordsnode.h"
#include "gui/zonebrowser/zonefileview.h"
#include "gui/zonebrowser/zonefilterbar.h"
#include "gui/zonebrowser/zonetreefilter.h"
#include "gui/zonebrowser/zonetreekeys.h"
#include "platform/prompter.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/zonereader.h"
#include "zone/zoneselect.h"
#include "zonebrowser/browseractions.h"
#include "zonebrowser/zonetree.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The hourglass for the duration of a scope.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QTreeWidget* makeTree(QWidget* parent, const QString& name)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setUniformRowHeights(true);
    return tree;
}

QAction* makeAction(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QString countText(qsizetype count)
{
    return QStringLiteral("(%1)").arg(count);
}

int depthOf(const QTreeWidgetItem* item)
{
    int depth = 0;
    for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        ++depth;
    return depth;
}

// A zone of a view: the view beside its name, and kept with the node (the same name may stand in two views).
void setViewOf(QTreeWidgetItem* zone, const QString& view)
{
    if (view.isEmpty())
        return;
    zone->setData(0, Qt::UserRole, view);
    zone->setText(1, QStringLiteral("view %1").arg(view));
}

QString viewOf(const QTreeWidgetItem* zone)
{
    return zone->data(0, Qt::UserRole).toString();
}

} // namespace

DomainEditPage::DomainEditPage(AppState& state, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_state(state), m_prompter(prompter)
{
    setObjectName(QStringLiteral("domainedit"));
    m_zoneIcon = style()->standardIcon(QStyle::SP_DriveNetIcon);
    m_labelIcon = style()->standardIcon(QStyle::SP_DirIcon);
    m_recordIcon = style()->standardIcon(QStyle::SP_FileIcon);
    buildLayout();
    buildMenus();
    connectControls();
    m_otherRecords = new OtherRecordsNode(
        m_state, m_prompter, [this] { return zoneContext(); }, this);
    m_otherRecords->setZoneChanged([this](QTreeWidgetItem* root) { syncRecordGroups(root); });
    m_openSecondaryEditor = [this](const QString&) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("This editor is not available yet."));
    };
    m_secondaryRows = [this] {
        QList<SecondaryZoneEntry> rows;
        for (qsizetype i = 0; i < m_state.zoneLists.secdns.size(); ++i)
            rows << SecondaryZoneEntry{m_state.zoneLists.secdns.at(i), QString(), m_state.zoneLists.secfiles.value(i)};
        return rows;
    };
}

DomainEditPage::~DomainEditPage() = default;

void DomainEditPage::buildLayout()
{
    primaryTree = makeTree(this, QStringLiteral("TreeView1"));
    secondaryTree = makeTree(this, QStringLiteral("TreeView2"));
    primcount = new QLabel(AppState::notLoaded(), this);
    primcount->setObjectName(QStringLiteral("primcount"));
    seccount = new QLabel(AppState::notLoaded(), this);
    seccount->setObjectName(QStringLiteral("seccount"));
    findprim = makeButton(this, QStringLiteral("findprim"), QStringLiteral("Find"));
    findprimtext = new QLineEdit(this);
    findprimtext->setObjectName(QStringLiteral("findprimtext"));
    sortprim = makeButton(this, QStringLiteral("sortprim"), QStringLiteral("Sort"));
    findsec = makeButton(this, QStringLiteral("findsec"), QStringLiteral("Find"));
    findsectext = new QLineEdit(this);
    findsectext->setObjectName(QStringLiteral("findsectext"));
    sortsec = makeButton(this, QStringLiteral("sortsec"), QStringLiteral("Sort"));
    primaryTree->setColumnCount(2);
    primaryTree->setHeaderHidden(false);
    primaryTree->setHeaderLabels({QStringLiteral("Zone / record"), QStringLiteral("Value")});
    auto* filterbar = new ZoneFilterBar(this);
    filtertext = filterbar->filtertext;
    viewzonefile = filterbar->viewzonefile;
    connect(filterbar, &ZoneFilterBar::filterChanged, this, &DomainEditPage::applyFilter);

    auto* primHeader = new QHBoxLayout;
    primHeader->addWidget(new QLabel(QStringLiteral("Primary Zones"), this));
    primHeader->addWidget(primcount);
    primHeader->addStretch();
    auto* primFind = new QHBoxLayout;
    primFind->addWidget(findprim);
    primFind->addWidget(findprimtext, 1);
    primFind->addWidget(sortprim);
    auto* primColumn = new QVBoxLayout;
    primColumn->addLayout(primHeader);
    primColumn->addLayout(primFind);
    primColumn->addWidget(filterbar);
    primColumn->addWidget(primaryTree, 1);

    auto* secHeader = new QHBoxLayout;
    secHeader->addWidget(new QLabel(QStringLiteral("Secondary Zones"), this));
    secHeader->addWidget(seccount);
    secHeader->addStretch();
    auto* secFind = new QHBoxLayout;
    secFind->addWidget(findsec);
    secFind->addWidget(findsectext, 1);
    secFind->addWidget(sortsec);
    auto* secColumn = new QVBoxLayout;
    secColumn->addLayout(secHeader);
    secColumn->addLayout(secFind);
    secColumn->addWidget(secondaryTree, 1);

    auto* trees = new QHBoxLayout;
    trees->addLayout(primColumn, 1);
    trees->addLayout(secColumn, 1);

    newprimary = makeButton(this, QStringLiteral("newprimary"), QStringLiteral("New Primary"));
    fastadd = makeButton(this, QStringLiteral("fastadd"), QStringLiteral("Fast Add"));
    deleteprimary = makeButton(this, QStringLiteral("deleteprimary"), QStringLiteral("Delete Primary"));
    reversemapping = makeButton(this, QStringLiteral("reversemapping"), QStringLiteral("Reverse Mapping"));
    newsecondary = makeButton(this, QStringLiteral("newsecondary"), QStringLiteral("New Secondary"));
    delsecondary = makeButton(this, QStringLiteral("delsecondary"), QStringLiteral("Del Secondary"));
    updatechanges = makeButton(this, QStringLiteral("updatechanges"), QStringLiteral("Update Changes"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {newprimary, fastadd, deleteprimary, reversemapping, newsecondary, delsecondary, updatechanges})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(trees, 1);
    layout->addLayout(buttons);
}

void DomainEditPage::buildMenus()
{
    primaryMenu = new QMenu(this);
    primaryMenu->setObjectName(QStringLiteral("primmenu"));
    newRecordAction = makeAction(primaryMenu, QStringLiteral("primnew"), QStringLiteral("New"));
    deleteRecordAction = makeAction(primaryMenu, QStringLiteral("primdelete"), QStringLiteral("Delete"));
    editRecordAction = makeAction(primaryMenu, QStringLiteral("primedit"), QStringLiteral("Edit"));
    secondaryMenu = new QMenu(this);
    secondaryMenu->setObjectName(QStringLiteral("secmenu"));
    newSecondaryAction = makeAction(secondaryMenu, QStringLiteral("secnew"), QStringLiteral("New"));
    deleteSecondaryAction = makeAction(secondaryMenu, QStringLiteral("secdelete"), QStringLiteral("Delete"));
    editSecondaryAction = makeAction(secondaryMenu, QStringLiteral("secedit"), QStringLiteral("Edit"));
}

void DomainEditPage::connectControls()
{
    primaryTree->viewport()->installEventFilter(this);
    secondaryTree->viewport()->installEventFilter(this);
    connect(primaryTree, &QTreeWidget::itemExpanded, this, &DomainEditPage::expandPrimaryItem);
    // The names stay readable beside their values as nodes open.
    connect(primaryTree, &QTreeWidget::itemExpanded, this, [this] { primaryTree->resizeColumnToContents(0); });
    connect(primaryTree, &QTreeWidget::itemDoubleClicked, this, &DomainEditPage::openPrimaryItem);
    connect(secondaryTree, &QTreeWidget::itemDoubleClicked, this, &DomainEditPage::openSecondaryItem);
    // The menus pop up without waiting, so that nothing blocks the page while one is open.
    connect(primaryTree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { primaryMenu->popup(primaryTree->viewport()->mapToGlobal(at)); });
    connect(secondaryTree, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { secondaryMenu->popup(secondaryTree->viewport()->mapToGlobal(at)); });
    connect(editRecordAction, &QAction::triggered, this, &DomainEditPage::editRecord);
    connect(newRecordAction, &QAction::triggered, this, &DomainEditPage::newRecord);
    connect(deleteRecordAction, &QAction::triggered, this, &DomainEditPage::deleteRecord);
    connect(newSecondaryAction, &QAction::triggered, newsecondary, &QPushButton::click);
    connect(deleteSecondaryAction, &QAction::triggered, delsecondary, &QPushButton::click);
    connect(editSecondaryAction, &QAction::triggered, this, &DomainEditPage::openSecondaryItem);
    connect(findprim, &QPushButton::clicked, this, &DomainEditPage::findPrimary);
    connect(sortprim, &QPushButton::clicked, this, &DomainEditPage::sortPrimary);
    connect(findsec, &QPushButton::clicked, this, &DomainEditPage::findSecondary);
    connect(sortsec, &QPushButton::clicked, this, &DomainEditPage::sortSecondary);
    connect(deleteprimary, &QPushButton::clicked, this, &DomainEditPage::deleteSelectedZone);
    connect(findprimtext, &QLineEdit::textChanged, this, [this] {
        m_primIndex.reset();
        findprim->setText(QStringLiteral("Find"));
    });
    connect(findsectext, &QLineEdit::textChanged, this, [this] {
        m_secIndex.reset();
        findsec->setText(QStringLiteral("Find"));
    });
    connect(viewzonefile, &QPushButton::clicked, this, &DomainEditPage::viewZoneFile);
    new ZoneTreeKeys(*this);
}

void DomainEditPage::setProgress(Progress* progress)
{
    m_progress = progress ? progress : &m_noProgress;
}

void DomainEditPage::setBootFileSaver(BootFileSaver saver)
{
    m_bootFileSaver = std::move(saver);
}

void DomainEditPage::setSoaStep(SoaDisplayStep step)
{
    m_soaStep = std::move(step);
}

void DomainEditPage::setBootFileDrop(std::function<FileWriteResult(const QString&)> drop)
{
    m_deletionHooks.dropFromBootFile = std::move(drop);
}

void DomainEditPage::setWizardOpen(std::function<bool()> isOpen)
{
    m_wizardOpen = std::move(isOpen);
}

void DomainEditPage::setEditorOpener(std::function<void(const EditorRequest&)> open)
{
    m_openEditor = std::move(open);
}

void DomainEditPage::updateClickedNode(const QString& text, bool adding)
{
    QTreeWidgetItem* node = primaryItemAtClick();
    if (!node)
        return;
    QTreeWidgetItem* root = node;
    while (root->parent())
        root = root->parent();
    // As the tree is built: a record named "@" shows its zone's name.
    const QString shown = text == QLatin1String("@") ? root->text(0) : text;
    if (adding)
        node = new QTreeWidgetItem(node, QStringList{shown});
    else
        node->setText(0, shown);
    node->setIcon(0, m_recordIcon);
    if (node->parent())
        showValues(node->parent());
    syncRecordGroups(root);
}

void DomainEditPage::removeClickedNode()
{
    QTreeWidgetItem* node = primaryItemAtClick();
    QTreeWidgetItem* group = node ? node->parent() : nullptr;
    delete node;
    if (group)
        showValues(group);
    // What went with the record stands under the other labels; the record's own label is as the user left it.
    if (group && group->parent())
        syncRecordGroups(group->parent(), group);
}

void DomainEditPage::syncRecordGroups(QTreeWidgetItem* root, const QTreeWidgetItem* except)
{
    if (!root || root->parent() || root->text(0).compare(m_state.zone.dnsname, Qt::CaseInsensitive) != 0)
        return;
    for (int i = 0; i < root->childCount(); ++i) {
        QTreeWidgetItem* label = root->child(i);
        if (label == except)
            continue;
        if (OtherRecordsNode::isLabel(label)) {
            if (label->childCount() != m_state.zone.otherrecords.count())
                m_otherRecords->showRecords(label);
            continue;
        }
        const std::optional<RecordKind> kind = labelKind(label->text(0));
        if (!kind)
            continue;
        const QStringList texts = recordNodeTexts(m_state.zone, *kind, root->text(0));
        QStringList shown;
        for (int child = 0; child < label->childCount(); ++child)
            shown << label->child(child)->text(0);
        if (shown == texts)
            continue;
        qDeleteAll(label->takeChildren());
        for (const QString& text : texts) {
            auto* node = new QTreeWidgetItem(label, QStringList{text});
            node->setIcon(0, m_recordIcon);
        }
        showValues(label);
    }
}

void DomainEditPage::setSecondaryEditorOpener(std::function<void(const QString&)> open)
{
    m_openSecondaryEditor = std::move(open);
}

void DomainEditPage::setSecondaryRows(std::function<QList<SecondaryZoneEntry>()> rows)
{
    m_secondaryRows = std::move(rows);
}

ZoneContext DomainEditPage::zoneContext()
{
    return ZoneContext{m_state, m_prompter, *m_progress, m_bootFileSaver, m_soaStep};
}

bool DomainEditPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == primaryTree->viewport())
            pressPrimaryTree(mouse->position().toPoint(), mouse->button());
        else if (watched == secondaryTree->viewport())
            pressSecondaryTree(mouse->position().toPoint(), mouse->button());
    }
    return QWidget::eventFilter(watched, event);
}

void DomainEditPage::clearTrees()
{
    primaryTree->clear();
    secondaryTree->clear();
    m_primIndex.rebuild({});
    m_secIndex.rebuild({});
    primcount->setText(AppState::notLoaded());
    seccount->setText(AppState::notLoaded());
}

void DomainEditPage::buildPrimaryTree()
{
    ServerZoneLists& lists = m_state.zoneLists;
    preparePrimaryLists(lists);
    primaryTree->clear();
    QList<QTreeWidgetItem*> roots;
    roots.reserve(lists.primdnssort.size());
    for (qsizetype i = 0; i < lists.primdnssort.size(); ++i) {
        auto* root = new QTreeWidgetItem(QStringList{lists.primdnssort.at(i)});
        root->setIcon(0, m_zoneIcon);
        setViewOf(root, lists.primviewsort.value(i));
        for (const QString& label : primaryLabels()) {
            auto* child = new QTreeWidgetItem(root, QStringList{label});
            child->setIcon(0, m_labelIcon);
        }
        OtherRecordsNode::addLabel(root, m_labelIcon);
        roots << root;
    }
    primaryTree->addTopLevelItems(roots);
    m_primIndex.rebuild(lists.primdnssort);
    primcount->setText(countText(lists.primdnssort.size()));
    primaryTree->resizeColumnToContents(0);
    if (!filtertext->text().isEmpty())
        applyFilter();
}

void DomainEditPage::buildSecondaryTree()
{
    ServerZoneLists& lists = m_state.zoneLists;
    prepareSecondaryLists(lists);
    secondaryTree->clear();
    QList<QTreeWidgetItem*> roots;
    roots.reserve(lists.secdnssort.size());
    for (qsizetype i = 0; i < lists.secdnssort.size(); ++i) {
        auto* root = new QTreeWidgetItem(QStringList{lists.secdnssort.at(i)});
        root->setIcon(0, m_zoneIcon);
        setViewOf(root, lists.secviewsort.value(i));
        auto* child = new QTreeWidgetItem(root, QStringList{secondaryRecordLabel()});
        child->setIcon(0, m_recordIcon);
        roots << root;
    }
    secondaryTree->addTopLevelItems(roots);
    m_secIndex.rebuild(lists.secdnssort);
    seccount->setText(countText(lists.secdnssort.size()));
}

void DomainEditPage::pressPrimaryTree(const QPoint& position, Qt::MouseButton button)
{
    ZoneSelection& selection = m_state.selection;
    selection.xcoord = position.x();
    selection.ycoord = position.y();
    QTreeWidgetItem* item = primaryTree->itemAt(position);
    if (item) {
        const QTreeWidgetItem* zone = item;
        while (zone->parent())
            zone = zone->parent();
        selection.primview = viewOf(zone);
    }
    if (item && !item->parent()) {
        const int index = m_state.zoneLists.primaryIndex(item->text(0), viewOf(item));
        if (selectPrimary(selection, m_state.zoneLists, index))
            deleteprimary->setEnabled(true);
    }
    if (button != Qt::RightButton)
        return;
    const int depth = item ? depthOf(item) : -1;
    const bool timing = depth >= 1 && (depth == 1 ? item : item->parent())->text(0) == updateTimingLabel();
    newRecordAction->setEnabled(depth == 1 && !timing);
    deleteRecordAction->setEnabled(depth == 0 || (depth == 2 && !timing));
    editRecordAction->setEnabled(depth == 2);
}

void DomainEditPage::expandPrimaryItem(QTreeWidgetItem* item)
{
    if (!item || item->parent() || m_filling)
        return;
    fillZoneChildren(item);
}

void DomainEditPage::fillZoneChildren(QTreeWidgetItem* root)
{
    m_filling = true;
    const QString zone = root->text(0);
    const QList<QTreeWidgetItem*> old = root->takeChildren();
    qDeleteAll(old);
    ZoneContext context = zoneContext();
    const int index = m_state.zoneLists.primaryIndex(zone, viewOf(root));
    if (index >= 0)
        loadZone(context, m_state.zoneLists.primfiles.value(index), zone);
    static const std::optional<RecordKind> kinds[] = {std::nullopt,           RecordKind::NameServer,
                                                      RecordKind::MailServer, RecordKind::HostAddress,
                                                      RecordKind::Alias,      RecordKind::ResponsiblePerson};
    for (int at = 0; at < primaryLabels().size(); ++at) {
        auto* label = new QTreeWidgetItem(root, QStringList{primaryLabels().at(at)});
        label->setIcon(0, m_labelIcon);
        const QStringList texts = kinds[at] ? recordNodeTexts(m_state.zone, *kinds[at], zone) : soaFieldNodes();
        for (const QString& text : texts) {
            auto* node = new QTreeWidgetItem(label, QStringList{text});
            node->setIcon(0, m_recordIcon);
        }
        showValues(label);
    }
    m_otherRecords->fill(root, m_labelIcon, m_recordIcon);
    filterZoneNodes(root, filtertext->text());
    m_filling = false;
}

void DomainEditPage::showValues(QTreeWidgetItem* group)
{
    const std::optional<RecordKind> kind = labelKind(group->text(0));
    const QStringList values = kind ? recordValueTexts(m_state.zone, *kind) : soaFieldValues(m_state.zone);
    for (int i = 0; i < group->childCount(); ++i)
        group->child(i)->setText(1, values.value(i));
}

void DomainEditPage::applyFilter()
{
    WaitCursor wait;
    filterPrimaryTree(primaryTree, filtertext->text(), m_state.zoneLists, m_search);
}

QTreeWidgetItem* DomainEditPage::primaryItemAtClick() const
{
    return primaryTree->itemAt(QPoint(m_state.selection.xcoord, m_state.selection.ycoord));
}

void DomainEditPage::openPrimaryItem()
{
    editRecord();
}

void DomainEditPage::editRecord()
{
    QTreeWidgetItem* node = primaryItemAtClick();
    if (!node || depthOf(node) != 2)
        return;
    QTreeWidgetItem* label = node->parent();
    if (OtherRecordsNode::isLabel(label)) {
        m_otherRecords->edit(node);
        return;
    }
    ZoneSelection& selection = m_state.selection;
    selection.fileclick = node->text(0);
    selection.typeclick = label->text(0);
    selection.zoneclick = label->parent()->text(0);
    // Records may share a text (several addresses of one host): the node's own position names its record.
    const int index = label->indexOfChild(node);
    ZoneContext context = zoneContext();
    if (!openZoneForEdit(context, selection.zoneclick))
        return;
    const std::optional<RecordKind> kind = labelKind(selection.typeclick);
    if (!kind) {
        openEditor(EditorRequest{std::nullopt, selection.fileclick, -1});
        return;
    }
    m_state.zone.records(*kind).setEditIndex(index);
    openEditor(EditorRequest{kind, QString(), index});
}

void DomainEditPage::newRecord()
{
    QTreeWidgetItem* label = primaryItemAtClick();
    if (!label || depthOf(label) != 1)
        return;
    if (OtherRecordsNode::isLabel(label)) {
        m_otherRecords->create(label);
        return;
    }
    const std::optional<RecordKind> kind = labelKind(label->text(0));
    if (!kind)
        return;
    ZoneContext context = zoneContext();
    if (!openZoneForChange(context, label->parent()->text(0)))
        return;
    m_state.zone.records(*kind).setEditIndex(RecordList::kNewRecord);
    openEditor(EditorRequest{kind, QString(), RecordList::kNewRecord});
}

void DomainEditPage::deleteRecord()
{
    QTreeWidgetItem* node = primaryItemAtClick();
    if (!node)
        return;
    if (!node->parent()) {
        deleteSelectedZone();
        return;
    }
    if (depthOf(node) != 2)
        return;
    QTreeWidgetItem* label = node->parent();
    if (OtherRecordsNode::isLabel(label)) {
        m_otherRecords->remove(node);
        return;
    }
    const std::optional<RecordKind> kind = labelKind(label->text(0));
    if (!kind)
        return;
    const int index = label->indexOfChild(node);
    ZoneContext context = zoneContext();
    if (deleteRecordFromBrowser(context, label->parent()->text(0), *kind, index) == RecordDeletion::Deleted) {
        delete node;
        // The records deleted with it stand under the other labels.
        syncRecordGroups(label->parent(), label);
    }
}

void DomainEditPage::openEditor(const EditorRequest& request)
{
    if (m_openEditor)
        m_openEditor(request);
}

void DomainEditPage::pressSecondaryTree(const QPoint& position, Qt::MouseButton button)
{
    ZoneSelection& selection = m_state.selection;
    selection.xcoordsec = position.x();
    selection.ycoordsec = position.y();
    QTreeWidgetItem* item = secondaryTree->itemAt(position);
    if (item)
        selection.secview = viewOf(item->parent() ? item->parent() : item);
    if (item && !item->parent()) {
        const QList<SecondaryZoneEntry> rows = m_secondaryRows ? m_secondaryRows() : QList<SecondaryZoneEntry>();
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i).zone.compare(item->text(0), Qt::CaseInsensitive) == 0) {
                if (selectSecondary(selection, rows, i))
                    delsecondary->setEnabled(true);
                break;
            }
        }
    }
    if (button != Qt::RightButton)
        return;
    const bool root = item && !item->parent();
    newSecondaryAction->setEnabled(root);
    deleteSecondaryAction->setEnabled(root);
}

void DomainEditPage::openSecondaryItem()
{
    QTreeWidgetItem* item = secondaryTree->itemAt(QPoint(m_state.selection.xcoordsec, m_state.selection.ycoordsec));
    if (!item)
        return;
    QTreeWidgetItem* root = item->parent() ? item->parent() : item;
    m_state.selection.fileclicksec = item->text(0);
    m_state.selection.zoneclicksec = root->text(0);
    if (item->parent() && m_openSecondaryEditor)
        m_openSecondaryEditor(root->text(0));
}

void DomainEditPage::find(QTreeWidget* tree, FindIndex& index, QPushButton* button, const QString& text, bool primary)
{
    WaitCursor wait;
    if (primary)
        buildPrimaryTree();
    else
        buildSecondaryTree();
    const std::optional<int> hit = index.findNext(text);
    if (!hit) {
        button->setText(QStringLiteral("Find"));
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("No further entries could be found."));
        return;
    }
    QTreeWidgetItem* root = tree->topLevelItem(*hit);
    tree->setCurrentItem(root);
    root->setExpanded(true);
    tree->scrollToItem(root, QAbstractItemView::PositionAtTop);
    button->setText(QStringLiteral("Again"));
}

void DomainEditPage::findPrimary()
{
    find(primaryTree, m_primIndex, findprim, findprimtext->text(), true);
}

void DomainEditPage::findSecondary()
{
    find(secondaryTree, m_secIndex, findsec, findsectext->text(), false);
}

void DomainEditPage::sortPrimary()
{
    WaitCursor wait;
    buildPrimaryTree();
}

void DomainEditPage::sortSecondary()
{
    WaitCursor wait;
    buildSecondaryTree();
}

void DomainEditPage::deleteSelectedZone()
{
    ZoneContext context = zoneContext();
    PrimaryDeletionHooks hooks = m_deletionHooks;
    hooks.rebuildPrimaryTree = [this] {
        if (!m_wizardOpen || !m_wizardOpen())
            buildPrimaryTree();
    };
    hooks.showBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    deletePrimaryZone(context, hooks);
    deleteprimary->setEnabled(!m_state.selection.primdnsname.isEmpty());
}

void DomainEditPage::viewZoneFile()
{
    QString zone = m_state.selection.primdnsname;
    if (const QTreeWidgetItem* item = primaryTree->currentItem()) {
        while (item->parent())
            item = item->parent();
        zone = item->text(0);
    }
    showZoneFile(m_state.zoneLists, zone, m_prompter, window());
}

void DomainEditPage::addZoneMenuItems(const QString& text, const QString& primaryName, const QString& secondaryName,
                                      const std::function<void(const QString&)>& run)
{
    const auto zoneOf = [](const QTreeWidgetItem* item) {
        while (item && item->parent())
            item = item->parent();
        return item ? item->text(0) : QString();
    };
    QAction* primary = primaryMenu->addAction(text);
    primary->setObjectName(primaryName);
    connect(primary, &QAction::triggered, this, [this, run, zoneOf] { run(zoneOf(primaryItemAtClick())); });
    QAction* secondary = secondaryMenu->addAction(text);
    secondary->setObjectName(secondaryName);
    connect(secondary, &QAction::triggered, this, [this, run, zoneOf] { run(zoneOf(secondaryTree->currentItem())); });
}
