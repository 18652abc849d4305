#include "gui/zonebrowser/zonetreekeys.h"

#include "gui/zonebrowser/domaineditpage.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QAction* addKeys(QWidget* widget, const QString& name, const QList<QKeySequence>& keys, Qt::ShortcutContext context)
{
    auto* action = new QAction(widget);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    widget->addAction(action);
    return action;
}

} // namespace

ZoneTreeKeys::ZoneTreeKeys(DomainEditPage& page) : QObject(&page), m_page(page)
{
    QTreeWidget* tree = page.primaryTree;
    connect(addKeys(tree, QStringLiteral("newrecordkey"), {QKeySequence(Qt::Key_Insert)}, Qt::WidgetShortcut),
            &QAction::triggered, this, &ZoneTreeKeys::newRecord);
    connect(addKeys(tree, QStringLiteral("editrecordkey"),
                    {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_F2)},
                    Qt::WidgetShortcut),
            &QAction::triggered, this, &ZoneTreeKeys::editRecord);
    connect(addKeys(tree, QStringLiteral("deletekey"), {QKeySequence::Delete}, Qt::WidgetShortcut), &QAction::triggered,
            this, &ZoneTreeKeys::deleteNode);
    connect(addKeys(tree, QStringLiteral("reloadzonekey"), {QKeySequence::Refresh}, Qt::WidgetShortcut),
            &QAction::triggered, this, &ZoneTreeKeys::reloadZone);
    connect(addKeys(&page, QStringLiteral("newprimarykey"), {QKeySequence::New}, Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, page.newprimary, &QPushButton::animateClick);
    connect(addKeys(&page, QStringLiteral("filterkey"), {QKeySequence::Find}, Qt::WidgetWithChildrenShortcut),
            &QAction::triggered, this, [this] {
                m_page.filtertext->setFocus(Qt::ShortcutFocusReason);
                m_page.filtertext->selectAll();
            });
}

QTreeWidgetItem* ZoneTreeKeys::pointAtCurrent()
{
    QTreeWidget* tree = m_page.primaryTree;
    QTreeWidgetItem* item = tree->currentItem();
    if (!item || item->isHidden())
        return nullptr;
    tree->scrollToItem(item);
    m_page.pressPrimaryTree(tree->visualItemRect(item).center(), Qt::RightButton);
    return item;
}

void ZoneTreeKeys::newRecord()
{
    if (pointAtCurrent() && m_page.newRecordAction->isEnabled())
        m_page.newRecord();
}

void ZoneTreeKeys::editRecord()
{
    QTreeWidgetItem* item = pointAtCurrent();
    if (!item)
        return;
    if (m_page.editRecordAction->isEnabled())
        m_page.editRecord();
    else if (item->childCount() > 0)
        item->setExpanded(!item->isExpanded());
}

void ZoneTreeKeys::deleteNode()
{
    if (pointAtCurrent() && m_page.deleteRecordAction->isEnabled())
        m_page.deleteRecord();
}

void ZoneTreeKeys::reloadZone()
{
    QTreeWidgetItem* zone = pointAtCurrent();
    while (zone && zone->parent())
        zone = zone->parent();
    if (!zone)
        return;
    m_page.expandPrimaryItem(zone);
    zone->setExpanded(true);
}
