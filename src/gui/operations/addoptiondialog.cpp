#include "gui/operations/addoptiondialog.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddOptionDialog::AddOptionDialog(OptionEntryKind kind, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_prompter(prompter)
{
    setObjectName(QStringLiteral("AddOptionDialog"));
    setWindowTitle(optionEntryCaption(kind));
    setModal(true);

    optiontext = new QLineEdit(this);
    optiontext->setObjectName(QStringLiteral("optiontext"));
    addoption = new QPushButton(QStringLiteral("Add"), this);
    addoption->setObjectName(QStringLiteral("addoption"));
    addoption->setDefault(true);
    canceloption = new QPushButton(QStringLiteral("Cancel"), this);
    canceloption->setObjectName(QStringLiteral("canceloption"));
    connect(addoption, &QPushButton::clicked, this, &AddOptionDialog::addoptionClick);
    connect(canceloption, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(addoption);
    buttons->addWidget(canceloption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(optiontext);
    layout->addLayout(buttons);
}

QString AddOptionDialog::entry() const
{
    return optiontext->text();
}

void AddOptionDialog::addoptionClick()
{
    if (checkOptionEntry(m_kind, entry(), m_prompter))
        accept();
}
