#include "gui/editors/editorwindow.h"

#include "gui/editors/editorhooks.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

EditorWindow::EditorWindow(EditorHooks& hooks, const QString& caption, const QString& headingText)
    : QDialog(hooks.mainWindow), m_hooks(hooks)
{
    setWindowTitle(caption);
    // Modal to the main window without waiting in a loop of its own, so the browser goes on once it is shown.
    setWindowModality(Qt::WindowModal);
    heading = new QLabel(headingText, this);
    heading->setObjectName(QStringLiteral("heading"));
    m_form = new QFormLayout;
    saveit = new QPushButton(QStringLiteral("Save"), this);
    saveit->setObjectName(QStringLiteral("saveit"));
    saveit->setDefault(true);
    deleteit = new QPushButton(QStringLiteral("Delete"), this);
    deleteit->setObjectName(QStringLiteral("deleteit"));
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveit);
    buttons->addWidget(deleteit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(m_form);
    layout->addLayout(buttons);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, saveit, &QPushButton::click);
}

QLineEdit* EditorWindow::addField(const QString& objectName, const QString& label, const QString& hint)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(objectName);
    field->setToolTip(hint);
    m_form->addRow(label, field);
    m_fields << field;
    return field;
}

void EditorWindow::showFor(int editIndex)
{
    if (editIndex < 0) {
        for (QLineEdit* field : std::as_const(m_fields))
            field->clear();
    }
    deleteit->setEnabled(editIndex >= 0);
    present(m_fields.value(0));
}

void EditorWindow::present(QWidget* focusField)
{
    show();
    raise();
    activateWindow();
    if (focusField)
        focusField->setFocus(Qt::OtherFocusReason);
}

ZoneContext EditorWindow::zoneContext() const
{
    return m_hooks.zoneContext();
}

EditResult EditorWindow::withWaitCursor(const std::function<EditResult()>& change)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EditResult result = change();
    QApplication::restoreOverrideCursor();
    return result;
}

void EditorWindow::finishSave(const EditResult& result, bool adding)
{
    if (result.status == EditStatus::Refused)
        return;
    if (result.stored() && m_hooks.updateClickedNode)
        m_hooks.updateClickedNode(result.treeText, adding);
    hide();
}

void EditorWindow::finishDelete(const EditResult& result, bool removeNode)
{
    if (result.stored() && removeNode && m_hooks.removeClickedNode)
        m_hooks.removeClickedNode();
    hide();
}

void EditorWindow::hideEvent(QHideEvent* event)
{
    for (QLineEdit* field : std::as_const(m_fields))
        field->clear();
    QDialog::hideEvent(event);
}
