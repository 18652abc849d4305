#include "gui/secondary/modifysecondarydialog.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, const QString& hint = QString())
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

} // namespace

ModifySecondaryDialog::ModifySecondaryDialog(std::function<SecondaryContext()> context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context))
{
    setObjectName(QStringLiteral("ModifySecondaryDialog"));
    setWindowTitle(QStringLiteral("Modify Secondary"));
    setModal(true);
    secname = new QLineEdit(this);
    secname->setObjectName(QStringLiteral("secname"));
    secname->setToolTip(QStringLiteral("Enter the domain name you wish to create a secondary service for."));
    masterlist = new QListWidget(this);
    masterlist->setObjectName(QStringLiteral("masterlist"));
    masterlist->setToolTip(QStringLiteral("For added redundancy, you may point to multiple master servers.  This will "
                                          "allow you to get updates even if one Primary Server is down."));
    ipaddress = new QLineEdit(this);
    ipaddress->setObjectName(QStringLiteral("ipaddress"));
    ipaddress->setToolTip(QStringLiteral("Enter the IP number of the Primary or additional master server from which "
                                         "this secondary will receive updates."));
    addit = makeButton(this, QStringLiteral("addit"), QStringLiteral("Add"),
                       QStringLiteral("Add a new master server to the list."));
    deleteit = makeButton(this, QStringLiteral("deleteit"), QStringLiteral("Delete"),
                          QStringLiteral("Delete a master server from the list."));
    saveit = makeButton(this, QStringLiteral("saveit"), QStringLiteral("Save"));
    saveit->setDefault(true);
    closeit = makeButton(this, QStringLiteral("closeit"), QStringLiteral("Close"));
    auto* entry = new QHBoxLayout;
    entry->addWidget(ipaddress, 1);
    entry->addWidget(addit);
    entry->addWidget(deleteit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveit);
    buttons->addWidget(closeit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(secname);
    layout->addWidget(masterlist, 1);
    layout->addLayout(entry);
    layout->addLayout(buttons);
    connect(addit, &QPushButton::clicked, this, &ModifySecondaryDialog::additClick);
    connect(deleteit, &QPushButton::clicked, this, &ModifySecondaryDialog::deleteitClick);
    connect(saveit, &QPushButton::clicked, this, &ModifySecondaryDialog::saveitClick);
    connect(closeit, &QPushButton::clicked, this, &QDialog::reject);
}

void ModifySecondaryDialog::openFor(const QString& zone)
{
    SecondaryContext context = m_context();
    const std::optional<SecondaryEdit> edit = openSecondaryEdit(context.state, zone, context.prompter);
    if (!edit)
        return;
    m_zone = edit->zone;
    QString name = edit->name;
    if (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    secname->setText(name);
    masterlist->clear();
    masterlist->addItems(edit->masters);
    open();
}

QStringList ModifySecondaryDialog::masters() const
{
    QStringList list;
    for (int i = 0; i < masterlist->count(); ++i)
        list << masterlist->item(i)->text();
    return list;
}

void ModifySecondaryDialog::additClick()
{
    QStringList list = masters();
    if (!addSecondaryMaster(list, ipaddress->text(), m_context().prompter))
        return;
    masterlist->addItem(list.last());
    ipaddress->clear();
}

void ModifySecondaryDialog::deleteitClick()
{
    QStringList list = masters();
    const int selected =
        masterlist->currentItem() && masterlist->currentItem()->isSelected() ? masterlist->currentRow() : -1;
    if (deleteSecondaryMaster(list, selected, m_context().prompter))
        delete masterlist->takeItem(selected);
}

void ModifySecondaryDialog::saveitClick()
{
    SecondaryContext context = m_context();
    if (saveSecondaryZone(context, SecondaryEdit{m_zone, secname->text(), masters()}))
        hide();
}

void ModifySecondaryDialog::hideEvent(QHideEvent* event)
{
    secname->clear();
    ipaddress->clear();
    QDialog::hideEvent(event);
}
