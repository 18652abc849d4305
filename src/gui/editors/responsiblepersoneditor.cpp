#include "gui/editors/responsiblepersoneditor.h"

#include "editors/hosteditors.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLineEdit>
#include <QPushButton>

ResponsiblePersonEditor::ResponsiblePersonEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Responsible Person"), QStringLiteral("Responsible Person"))
{
    setObjectName(QStringLiteral("ResponsiblePersonEditor"));
    first = addField(QStringLiteral("first"), QStringLiteral("Persons Name with no spaces:"),
                     QStringLiteral("Enter the name of the person who is responsible for this server."));
    second = addField(QStringLiteral("second"), QStringLiteral("E-Mail Address:"),
                      QStringLiteral("Enter the e-mail address."));
    third = addField(QStringLiteral("third"), QStringLiteral("Contact Info:"),
                     QStringLiteral("Enter up to 100 characters of contact or other info that may be important."));
    connect(saveit, &QPushButton::clicked, this, &ResponsiblePersonEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &ResponsiblePersonEditor::deleteitClick);
}

void ResponsiblePersonEditor::open(int editIndex)
{
    if (editIndex >= 0) {
        const PersonFields fields = personFieldsAt(m_hooks.state.zone, editIndex);
        first->setText(fields.first);
        second->setText(fields.second);
        third->setText(fields.third);
    }
    showFor(editIndex);
}

void ResponsiblePersonEditor::saveitClick()
{
    PersonFields fields{first->text(), second->text(), third->text()};
    const bool adding = m_hooks.state.zone.responsible.editIndex() < 0;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return savePerson(context, fields);
    });
    first->setText(fields.first);
    second->setText(fields.second);
    third->setText(fields.third);
    finishSave(result, adding);
}

void ResponsiblePersonEditor::deleteitClick()
{
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return deleteRecord(context, RecordKind::ResponsiblePerson);
    });
    finishDelete(result, true);
}
