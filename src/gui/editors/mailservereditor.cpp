#include "gui/editors/mailservereditor.h"

#include "editors/servereditors.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

MailServerEditor::MailServerEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Mail Servers"), QStringLiteral("Add/Modify Mail Server"))
{
    setObjectName(QStringLiteral("MailServerEditor"));
    second = addField(QStringLiteral("second"), QStringLiteral("Name"),
                      QStringLiteral("Enter the host name of the mail server, for example mail.example.com."));
    value = addField(QStringLiteral("value"), QStringLiteral("Priority Level (between 0 and 65535)"),
                     QStringLiteral("Set the priority level.  Lower numbers are higher priority.  Example, 10 is "
                                    "higher priority than 20."));
    auto* note = new QLabel(QStringLiteral("Priortiy level can be any number.  Lower numbers = Higher Priority"), this);
    note->setObjectName(QStringLiteral("note"));
    static_cast<QBoxLayout*>(layout())->insertWidget(2, note);
    connect(saveit, &QPushButton::clicked, this, &MailServerEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &MailServerEditor::deleteitClick);
}

void MailServerEditor::open(int editIndex)
{
    if (editIndex >= 0) {
        const MailServerFields fields = mailServerFieldsAt(m_hooks.state.zone, editIndex);
        second->setText(fields.second);
        value->setText(fields.value);
    }
    showFor(editIndex);
}

void MailServerEditor::saveitClick()
{
    MailServerFields fields{second->text(), value->text()};
    const bool adding = m_hooks.state.zone.mailservers.editIndex() < 0;
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return saveMailServer(context, fields);
    });
    second->setText(fields.second);
    value->setText(fields.value);
    finishSave(result, adding);
}

void MailServerEditor::deleteitClick()
{
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return deleteRecord(context, RecordKind::MailServer);
    });
    finishDelete(result, true);
}
