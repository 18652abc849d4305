#include "gui/reverse/reversehostnamedialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ReverseHostNameDialog::ReverseHostNameDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReverseHostNameDialog"));
    setWindowTitle(caption());
    setModal(true);
    ipaddress = new QLabel(this);
    ipaddress->setObjectName(QStringLiteral("ipaddress"));
    assigned = new QLabel(assignedText(), this);
    assigned->setObjectName(QStringLiteral("assigned"));
    assigned->setWordWrap(true);
    selecttext = new QLabel(selectText(), this);
    selecttext->setObjectName(QStringLiteral("selecttext"));
    selecttext->setWordWrap(true);
    hostlist = new QListWidget(this);
    hostlist->setObjectName(QStringLiteral("hostlist"));
    okbutton = new QPushButton(QStringLiteral("OK"), this);
    okbutton->setObjectName(QStringLiteral("okbutton"));
    okbutton->setDefault(true);
    connect(okbutton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ipaddress);
    layout->addWidget(assigned);
    layout->addWidget(selecttext);
    layout->addWidget(hostlist);
    layout->addWidget(okbutton, 0, Qt::AlignRight);
    resize(420, 300);
}

std::optional<int> ReverseHostNameDialog::chooseHostName(const QString& address, const QStringList& names)
{
    ipaddress->setText(address);
    hostlist->clear();
    hostlist->addItems(names);
    exec();
    const int row = hostlist->currentRow();
    if (row < 0 || !hostlist->currentItem()->isSelected())
        return std::nullopt;
    return row;
}
