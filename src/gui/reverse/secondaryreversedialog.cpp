#include "gui/reverse/secondaryreversedialog.h"

#include "platform/prompter.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* field(QWidget* parent, const QString& name, const QString& hint)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

} // namespace

SecondaryReverseDialog::SecondaryReverseDialog(Prompter& prompter, Saver save, QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_save(std::move(save))
{
    setObjectName(QStringLiteral("SecondaryReverseDialog"));
    setWindowTitle(QStringLiteral("Specify IPs to be Serviced"));
    setModal(true);
    lowip = field(this, QStringLiteral("lowip"),
                  QStringLiteral("The lowest IP number to be served.  Example: 206.117.30.0"));
    highip = field(this, QStringLiteral("highip"),
                   QStringLiteral("The highest IP number to be served.  Example: 206.117.30.255"));
    masterip = field(this, QStringLiteral("masterip"),
                     QStringLiteral("The IP number of the DNS server from which you will receive updates for your "
                                    "reverse mapping."));
    iplist = new QListWidget(this);
    iplist->setObjectName(QStringLiteral("iplist"));
    addip = new QPushButton(QStringLiteral("Add"), this);
    addip->setObjectName(QStringLiteral("addip"));
    deleteip = new QPushButton(QStringLiteral("Delete"), this);
    deleteip->setObjectName(QStringLiteral("deleteip"));
    saveips = new QPushButton(QStringLiteral("Save"), this);
    saveips->setObjectName(QStringLiteral("saveips"));
    saveips->setDefault(true);

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(QStringLiteral("Enter the lowest IP number in your network block:"), lowip);
    fields->addRow(QStringLiteral("Enter the highest IP number in your network block:"), highip);
    fields->addRow(QStringLiteral("Enter the IP# of the Primary DNS server from which you will receive updates:"),
                   masterip);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addip);
    buttons->addWidget(deleteip);
    buttons->addStretch();
    buttons->addWidget(saveips);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(iplist);
    layout->addLayout(buttons);

    connect(addip, &QPushButton::clicked, this, &SecondaryReverseDialog::addClick);
    connect(deleteip, &QPushButton::clicked, this, &SecondaryReverseDialog::deleteClick);
    connect(saveips, &QPushButton::clicked, this, &SecondaryReverseDialog::saveClick);
    connect(iplist, &QListWidget::itemSelectionChanged, this,
            [this] { deleteip->setEnabled(!iplist->selectedItems().isEmpty()); });
}

void SecondaryReverseDialog::addClick()
{
    const std::optional<SecondaryReverseBlock> block =
        makeSecondaryReverseBlock(lowip->text(), highip->text(), masterip->text(), m_prompter);
    if (!block)
        return;
    clearRange();
    m_blocks << *block;
    iplist->addItem(block->display);
    masterip->clear();
}

void SecondaryReverseDialog::deleteClick()
{
    const int row = iplist->currentRow();
    if (row < 0 || row >= m_blocks.size() || iplist->selectedItems().isEmpty()) {
        m_prompter.message(QStringLiteral("Error"), QStringLiteral("You must first make a selection."));
    } else if (m_prompter.message(
                   QStringLiteral("Question!"),
                   QStringLiteral("Are you sure you want to delete ") + m_blocks.at(row).display + QStringLiteral(" ?"),
                   Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Question) == Prompter::Button::Yes) {
        m_blocks.removeAt(row);
        delete iplist->takeItem(row);
    }
    deleteip->setEnabled(false);
    clearRange();
}

void SecondaryReverseDialog::saveClick()
{
    if (m_save)
        m_save(m_blocks);
    accept();
}

void SecondaryReverseDialog::showEvent(QShowEvent* event)
{
    m_blocks.clear();
    iplist->clear();
    deleteip->setEnabled(false);
    QDialog::showEvent(event);
}

void SecondaryReverseDialog::hideEvent(QHideEvent* event)
{
    clearRange();
    QDialog::hideEvent(event);
}

void SecondaryReverseDialog::clearRange()
{
    lowip->clear();
    highip->clear();
}
