#include "gui/editors/wizardhostpickerdialog.h"

#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

WizardHostPickerDialog::WizardHostPickerDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setObjectName(QStringLiteral("WizardHostPickerDialog"));
    hostlist = new QListWidget(this);
    hostlist->setObjectName(QStringLiteral("hostlist"));
    selectit = new QPushButton(QStringLiteral("Select"), this);
    selectit->setObjectName(QStringLiteral("selectit"));
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(selectit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hostlist);
    layout->addLayout(buttons);
    connect(selectit, &QPushButton::clicked, this, &WizardHostPickerDialog::selectitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<QString> WizardHostPickerDialog::choose(const QString& caption, const QStringList& names, int row)
{
    setWindowTitle(caption);
    number = row;
    hostlist->clear();
    hostlist->addItems(names);
    m_chosen.reset();
    exec();
    return m_chosen;
}

void WizardHostPickerDialog::selectitClick()
{
    if (hostlist->currentRow() < 0 || !hostlist->currentItem()->isSelected()) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("You must select one item to continue."));
        return;
    }
    m_chosen = hostlist->currentItem()->text();
    accept();
}
