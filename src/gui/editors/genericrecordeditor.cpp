#include "gui/editors/genericrecordeditor.h"

#include "editors/otherrecordeditor.h"
#include "session/appstate.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

GenericRecordEditor::GenericRecordEditor(AppState& state, std::function<ZoneContext(Prompter&)> contextFor,
                                         QWidget* parent)
    : QDialog(parent), m_state(state), m_prompter(this), m_contextFor(std::move(contextFor))
{
    setObjectName(QStringLiteral("GenericRecordEditor"));
    setWindowTitle(QStringLiteral("Other Record"));
    // Modal over the main window, as the other editors are.
    setWindowModality(Qt::WindowModal);
    // Every control carries the name the tests and the help find it by, and says what it takes.
    const auto named = [](auto* widget, const QString& name, const QString& hint) {
        widget->setObjectName(name);
        widget->setToolTip(hint);
        return widget;
    };
    owner = named(new QLineEdit(this), QStringLiteral("owner"),
                  QStringLiteral("The name the record belongs to: relative to the zone, \"@\" for the zone "
                                 "itself, or a full name ending in a dot"));
    ttl = named(new QLineEdit(this), QStringLiteral("ttl"),
                QStringLiteral("Seconds, or a time such as 1h or 2d; empty for the zone's default"));
    type = named(new QComboBox(this), QStringLiteral("type"), QStringLiteral("The record's type"));
    data = named(new QLineEdit(this), QStringLiteral("data"),
                 QStringLiteral("The record's data as a zone file writes it; a TXT text may be given without "
                                "quotes, long texts are split into strings of 255 bytes"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Owner:"), owner);
    form->addRow(QStringLiteral("&TTL:"), ttl);
    form->addRow(QStringLiteral("T&ype:"), type);
    form->addRow(QStringLiteral("&Data:"), data);

    saveit = named(new QPushButton(QStringLiteral("&Save"), this), QStringLiteral("saveit"),
                   QStringLiteral("Checks the record, stores it and saves the zone"));
    deleteit = named(new QPushButton(QStringLiteral("De&lete"), this), QStringLiteral("deleteit"),
                     QStringLiteral("Deletes the record and saves the zone"));
    cancelit = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cancelit"),
                     QStringLiteral("Closes the editor without a change"));
    // Enter saves; Delete, which cannot be undone, is never pressed by Enter.
    for (QPushButton* button : {saveit, deleteit, cancelit})
        button->setAutoDefault(false);
    saveit->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveit);
    buttons->addWidget(deleteit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());

    connect(saveit, &QPushButton::clicked, this, &GenericRecordEditor::saveitClick);
    connect(deleteit, &QPushButton::clicked, this, &GenericRecordEditor::deleteitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

void GenericRecordEditor::openAt(int index)
{
    m_index = index;
    const GenericRecordFields fields = index < 0
                                           ? GenericRecordFields{QString(), QString(), QStringLiteral("A"), QString()}
                                           : genericFieldsAt(m_state.zone, index);
    owner->setText(fields.owner);
    ttl->setText(fields.ttl);
    // A comment line has no type; a record of a kind the list does not offer shows its own.
    type->clear();
    type->addItems(genericRecordTypes());
    if (!fields.type.isEmpty() && type->findText(fields.type) < 0)
        type->addItem(fields.type);
    type->setCurrentIndex(type->findText(fields.type));
    data->setText(fields.data);
    deleteit->setEnabled(index >= 0);
    open();
    owner->setFocus();
}

void GenericRecordEditor::saveitClick()
{
    ZoneContext context = m_contextFor(m_prompter);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const EditResult result =
        saveOtherRecord(context, GenericRecordFields{owner->text(), ttl->text(), type->currentText(), data->text()});
    QApplication::restoreOverrideCursor();
    if (result.status == EditStatus::Refused)
        return;
    if (result.stored())
        Q_EMIT saved(result.treeText, m_index < 0);
    accept();
}

void GenericRecordEditor::deleteitClick()
{
    ZoneContext context = m_contextFor(m_prompter);
    const EditResult result = deleteOtherRecord(context);
    if (result.stored())
        Q_EMIT deleted();
    accept();
}
