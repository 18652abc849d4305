#include "gui/editors/hostpicker.h"

#include "gui/common/dialogparent.h"
#include "platform/prompter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

HostPicker::HostPicker(Prompter& prompter, const QString& caption, const QString& headingText)
    : QDialog(nullptr), m_prompter(prompter)
{
    setWindowTitle(caption);
    heading = new QLabel(headingText, this);
    heading->setObjectName(QStringLiteral("heading"));
    hostlist = new QListWidget(this);
    hostlist->setObjectName(QStringLiteral("hostlist"));
    selectit = new QPushButton(QStringLiteral("Select"), this);
    selectit->setObjectName(QStringLiteral("selectit"));
    selectit->setDefault(true);
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(selectit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(hostlist);
    layout->addLayout(buttons);
    connect(selectit, &QPushButton::clicked, this, &HostPicker::selectitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int> HostPicker::choose(const QStringList& hosts)
{
    hostlist->clear();
    hostlist->addItems(hosts);
    hostlist->setFocus(Qt::OtherFocusReason);
    if (execInFront(*this) != QDialog::Accepted)
        return std::nullopt;
    return hostlist->currentRow();
}

void HostPicker::selectitClick()
{
    if (hostlist->currentRow() < 0 || hostlist->selectedItems().isEmpty()) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("You must select one item to continue."));
        return;
    }
    accept();
}
