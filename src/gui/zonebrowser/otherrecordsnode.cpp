#include "gui/zonebrowser/otherrecordsnode.h"

#include "gui/editors/genericrecordeditor.h"
#include "session/appstate.h"
#include "zonebrowser/browseractions.h"
#include "zonebrowser/otherrecordactions.h"

#include <QTreeWidget>
#include <QWidget>

namespace {

QString zoneOf(const QTreeWidgetItem* label)
{
    return label->parent() ? label->parent()->text(0) : QString();
}

} // namespace

OtherRecordsNode::OtherRecordsNode(AppState& state, Prompter& prompter, std::function<ZoneContext()> zoneContext,
                                   QWidget* window)
    : QObject(window), m_state(state), m_prompter(prompter), m_zoneContext(std::move(zoneContext))
{
    m_editor = new GenericRecordEditor(
        state,
        [this](Prompter& shown) {
            const ZoneContext from = m_zoneContext();
            return ZoneContext{from.state, shown, from.progress, from.saveBootFile, from.soaStep};
        },
        window->window());
    connect(m_editor, &GenericRecordEditor::saved, this, [this](const QString&, bool adding) { stored(adding); });
    connect(m_editor, &GenericRecordEditor::deleted, this, [this] {
        QTreeWidgetItem* label = m_pending ? m_pending->parent() : nullptr;
        delete m_pending;
        m_pending = nullptr;
        changed(label);
    });
    connect(m_editor, &QDialog::finished, this, [this] { m_pending = nullptr; });
}

OtherRecordsNode::~OtherRecordsNode() = default;

void OtherRecordsNode::addLabel(QTreeWidgetItem* root, const QIcon& icon)
{
    auto* label = new QTreeWidgetItem(root, QStringList{otherRecordsLabel()});
    label->setIcon(0, icon);
}

bool OtherRecordsNode::isLabel(const QTreeWidgetItem* label)
{
    return label && label->parent() && !label->parent()->parent() && label->text(0) == otherRecordsLabel();
}

void OtherRecordsNode::fill(QTreeWidgetItem* root, const QIcon& labelIcon, const QIcon& recordIcon)
{
    m_recordIcon = recordIcon;
    auto* label = new QTreeWidgetItem(root, QStringList{otherRecordsLabel()});
    label->setIcon(0, labelIcon);
    showRecords(label);
}

void OtherRecordsNode::showRecords(QTreeWidgetItem* label)
{
    qDeleteAll(label->takeChildren());
    for (const QStringList& columns : otherRecordNodeColumns(m_state.zone)) {
        auto* node = new QTreeWidgetItem(label, columns);
        node->setIcon(0, m_recordIcon);
    }
}

void OtherRecordsNode::create(QTreeWidgetItem* label)
{
    ZoneContext context = m_zoneContext();
    if (!openZoneForChange(context, zoneOf(label)))
        return;
    m_state.zone.otherrecords.setEditIndex(OtherRecords::kNewRecord);
    m_pending = label;
    m_editor->openAt(OtherRecords::kNewRecord);
}

void OtherRecordsNode::edit(QTreeWidgetItem* node)
{
    QTreeWidgetItem* label = node->parent();
    const int index = label->indexOfChild(node);
    ZoneContext context = m_zoneContext();
    if (!openZoneForEdit(context, zoneOf(label)))
        return;
    m_state.zone.otherrecords.setEditIndex(index);
    m_pending = node;
    m_editor->openAt(index);
}

void OtherRecordsNode::remove(QTreeWidgetItem* node)
{
    QTreeWidgetItem* label = node->parent();
    ZoneContext context = m_zoneContext();
    if (deleteOtherRecordFromBrowser(context, zoneOf(label), label->indexOfChild(node))) {
        delete node;
        changed(label);
    }
}

void OtherRecordsNode::changed(QTreeWidgetItem* label)
{
    if (label && label->parent() && m_zoneChanged)
        m_zoneChanged(label->parent());
}

void OtherRecordsNode::stored(bool adding)
{
    if (!m_pending)
        return;
    // The zone as it was saved, the stored record selected: a new one comes last.
    QTreeWidgetItem* label = adding ? m_pending : m_pending->parent();
    const int index = adding ? label->childCount() : label->indexOfChild(m_pending);
    m_pending = nullptr;
    showRecords(label);
    if (QTreeWidgetItem* node = label->child(index); node && label->treeWidget())
        label->treeWidget()->setCurrentItem(node);
    changed(label);
}
