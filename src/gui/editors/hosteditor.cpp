#include "gui/editors/hosteditor.h"

#include "editors/hosteditors.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLineEdit>
#include <QPushButton>

HostEditor::HostEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Hosts"), QStringLiteral("Add/Modify Hosts"))
{
    setObjectName(QStringLiteral("HostEditor"));
    first = addField(QStringLiteral("first"), QStringLiteral("Host Name"),
                     QStringLiteral("Enter the host name you wish to add."));
    second = addField(QStringLiteral("second"), QStringLiteral("IP Address assigned to Host Name:"),
                      QStringLiteral("Enter the IP number that corresponds to the host you are adding."));
    connect(saveit, &QPushButton::clicked, this, &HostEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &HostEditor::deleteitClick);
}

void HostEditor::load(int editIndex)
{
    const HostFields fields = hostFieldsAt(m_hooks.state.zone, editIndex);
    first->setText(fields.first);
    second->setText(fields.second);
}

void HostEditor::open(int editIndex)
{
    if (editIndex >= 0)
        load(editIndex);
    showFor(editIndex);
}

void HostEditor::saveitClick()
{
    HostFields fields{first->text(), second->text()};
    const bool adding = m_hooks.state.zone.hostaddrs.editIndex() < 0;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return saveHost(context, fields);
    });
    first->setText(fields.first);
    second->setText(fields.second);
    finishSave(result, adding);
}

void HostEditor::deleteitClick()
{
    const bool removeNode = isVisible() || removeNodeWhileHidden;
    removeNodeWhileHidden = false;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return deleteRecord(context, RecordKind::HostAddress);
    });
    finishDelete(result, removeNode);
}
