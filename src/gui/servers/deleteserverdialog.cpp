#include "gui/servers/deleteserverdialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

DeleteServerDialog::DeleteServerDialog(const QStringList& names, DeleteSelected deleteSelected, QWidget* parent)
    : QDialog(parent), m_deleteSelected(std::move(deleteSelected))
{
    setObjectName(QStringLiteral("DeleteServerDialog"));
    setWindowTitle(QStringLiteral("Delete Server"));
    setModal(true);

    serverlist = new QListWidget(this);
    serverlist->setObjectName(QStringLiteral("serverlist"));
    serverlist->addItems(names);
    deleteit = new QPushButton(QStringLiteral("Delete"), this);
    deleteit->setObjectName(QStringLiteral("deleteit"));
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    // Deleting cannot be taken back: Enter cancels.
    cancelit->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(deleteit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(serverlist, 1);
    layout->addLayout(buttons);

    connect(deleteit, &QPushButton::clicked, this, &DeleteServerDialog::deleteitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

void DeleteServerDialog::deleteitClick()
{
    const QListWidgetItem* current = serverlist->currentItem();
    std::optional<QString> selected;
    if (current && current->isSelected())
        selected = current->text();
    if (!m_deleteSelected(selected))
        return;
    delete serverlist->takeItem(serverlist->row(current));
    accept();
}
