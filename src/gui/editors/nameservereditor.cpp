#include "gui/editors/nameservereditor.h"

#include "editors/servereditors.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLineEdit>
#include <QPushButton>

NameServerEditor::NameServerEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Name Servers"), QStringLiteral("Name Servers"))
{
    setObjectName(QStringLiteral("NameServerEditor"));
    second =
        addField(QStringLiteral("second"), QStringLiteral("Enter a Server Name:"),
                 QStringLiteral("Enter the host name of a name server of this zone, for example ns1.example.com."));
    connect(saveit, &QPushButton::clicked, this, &NameServerEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &NameServerEditor::deleteitClick);
}

void NameServerEditor::open(int editIndex)
{
    if (editIndex >= 0)
        second->setText(nameServerFieldsAt(m_hooks.state.zone, editIndex).second);
    showFor(editIndex);
}

void NameServerEditor::saveitClick()
{
    NameServerFields fields{second->text()};
    const bool adding = m_hooks.state.zone.nameservers.editIndex() < 0;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return saveNameServer(context, fields);
    });
    second->setText(fields.second);
    finishSave(result, adding);
}

void NameServerEditor::deleteitClick()
{
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return deleteRecord(context, RecordKind::NameServer);
    });
    finishDelete(result, true);
}
