#include "gui/editors/aliaseditor.h"

#include "editors/hosteditors.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLineEdit>
#include <QPushButton>

AliasEditor::AliasEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Alias Records"), QStringLiteral("Add/Modify Alias"))
{
    setObjectName(QStringLiteral("AliasEditor"));
    first = addField(QStringLiteral("first"), QStringLiteral("Alias"),
                     QStringLiteral("Enter the name of the ailias here.  For example, if you want WWW to actually "
                                    "point to BEDROCK, you would enter WWW here."));
    second = addField(QStringLiteral("second"), QStringLiteral("Name to point Alias to:"),
                      QStringLiteral("Enter the actual name that the alias will point to.  For example, if WWW was "
                                     "to point to BEDROCK, you would enter BEDROCK here."));
    connect(saveit, &QPushButton::clicked, this, &AliasEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &AliasEditor::deleteitClick);
}

void AliasEditor::open(int editIndex)
{
    if (editIndex >= 0) {
        const AliasFields fields = aliasFieldsAt(m_hooks.state.zone, editIndex);
        first->setText(fields.first);
        second->setText(fields.second);
    }
    showFor(editIndex);
}

void AliasEditor::saveitClick()
{
    AliasFields fields{first->text(), second->text()};
    const bool adding = m_hooks.state.zone.aliases.editIndex() < 0;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return saveAlias(context, fields);
    });
    first->setText(fields.first);
    second->setText(fields.second);
    finishSave(result, adding);
}

void AliasEditor::deleteitClick()
{
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return deleteRecord(context, RecordKind::Alias);
    });
    finishDelete(result, true);
}
