#include "gui/editors/soaeditor.h"

#include "editors/soafields.h"
#include "gui/editors/editorhooks.h"
#include "session/appstate.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

SoaFields fieldsOf(const std::array<QLineEdit*, 8>& edits)
{
    return SoaFields{edits[0]->text(), edits[1]->text(), edits[2]->text(), edits[3]->text(),
                     edits[4]->text(), edits[5]->text(), edits[6]->text(), edits[7]->text()};
}

void showFields(const std::array<QLineEdit*, 8>& edits, const SoaFields& fields)
{
    const std::array<QString, 8> values = {fields.soa,     fields.source2, fields.user,   fields.serial,
                                           fields.refresh, fields.retry,   fields.expire, fields.minimum};
    for (size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(values[i]);
}

} // namespace

SoaEditor::SoaEditor(EditorHooks& hooks)
    : EditorWindow(hooks, QStringLiteral("Start of Authority"), QStringLiteral("Start of Authority"))
{
    setObjectName(QStringLiteral("SoaEditor"));
    textdisp = new QLabel(QStringLiteral("E-Mail"), this);
    textdisp->setObjectName(QStringLiteral("textdisp"));
    static_cast<QBoxLayout*>(layout())->insertWidget(1, textdisp);
    auto makeField = [this](const QString& name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setToolTip(soaFieldHint(name));
        field->hide();
        static_cast<QBoxLayout*>(layout())->insertWidget(2, field);
        return field;
    };
    soa = makeField(QStringLiteral("soa"));
    source2 = makeField(QStringLiteral("source2"));
    soa->setReadOnly(true);
    source2->setReadOnly(true);
    user = makeField(QStringLiteral("user"));
    serial = makeField(QStringLiteral("serial"));
    refresh = makeField(QStringLiteral("refresh"));
    retry = makeField(QStringLiteral("retry"));
    expire = makeField(QStringLiteral("expire"));
    minimum = makeField(QStringLiteral("minimum"));
    deleteit->hide();
    connect(saveit, &QPushButton::clicked, this, &SoaEditor::saveitClick);
}

std::array<QLineEdit*, 8> SoaEditor::allFields() const
{
    return {soa, source2, user, serial, refresh, retry, expire, minimum};
}

void SoaEditor::openSoaEditor(const QString& fieldName)
{
    const QString objectName = soaFieldObjectName(fieldName);
    textdisp->setText(fieldName);
    QLineEdit* shown = nullptr;
    for (QLineEdit* field : allFields()) {
        if (!objectName.isEmpty() && field->objectName() == objectName) {
            field->show();
            shown = field;
        }
    }
    // Shown first, so that what the checks below say belongs to the editor.
    present(shown);
    SoaFields fields = soaFieldsOf(m_hooks.state.zone.sourceofauth);
    applySoaFields(m_hooks.state.zone, fields, m_hooks.prompter);
    showFields(allFields(), fields);
}

void SoaEditor::saveitClick()
{
    SoaFields fields = fieldsOf(allFields());
    const EditResult result = withWaitCursor([&] {
        ZoneContext context = zoneContext();
        return saveSoa(context, fields);
    });
    showFields(allFields(), fields);
    if (result.status != EditStatus::Refused)
        hide();
}

void SoaEditor::hideEvent(QHideEvent* event)
{
    for (QLineEdit* field : allFields()) {
        field->clear();
        field->hide();
    }
    EditorWindow::hideEvent(event);
}
