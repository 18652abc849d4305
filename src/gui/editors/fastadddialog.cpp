#include "gui/editors/fastadddialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

FastAddDialog::FastAddDialog(AppState& state, std::function<ZoneContext()> zoneContext,
                             std::function<void()> zonesAdded, QWidget* parent)
    : QDialog(parent), m_state(state), m_zoneContext(std::move(zoneContext)), m_zonesAdded(std::move(zonesAdded))
{
    setObjectName(QStringLiteral("FastAddDialog"));
    setWindowTitle(QStringLiteral("Fast Add"));
    Label1 = new QLabel(QStringLiteral("Add Domains to Server"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    newname = new QLineEdit(this);
    newname->setObjectName(QStringLiteral("newname"));
    addthem = new QListWidget(this);
    addthem->setObjectName(QStringLiteral("addthem"));
    addit = new QPushButton(QStringLiteral("Add"), this);
    addit->setObjectName(QStringLiteral("addit"));
    // Enter adds the typed name to the list; "GO" creates them all.
    addit->setDefault(true);
    goit = new QPushButton(QStringLiteral("GO"), this);
    goit->setObjectName(QStringLiteral("goit"));
    cancelit = new QPushButton(QStringLiteral("Cancel"), this);
    cancelit->setObjectName(QStringLiteral("cancelit"));
    auto* entry = new QHBoxLayout;
    entry->addWidget(newname, 1);
    entry->addWidget(addit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(goit);
    buttons->addWidget(cancelit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(entry);
    layout->addWidget(addthem, 1);
    layout->addLayout(buttons);
    connect(addit, &QPushButton::clicked, this, &FastAddDialog::additClick);
    connect(goit, &QPushButton::clicked, this, &FastAddDialog::goitClick);
    connect(cancelit, &QPushButton::clicked, this, &QDialog::reject);
}

void FastAddDialog::showEvent(QShowEvent* event)
{
    addthem->clear();
    newname->clear();
    QDialog::showEvent(event);
    newname->setFocus(Qt::OtherFocusReason);
}

QStringList FastAddDialog::waiting() const
{
    QStringList names;
    for (int i = 0; i < addthem->count(); ++i)
        names << addthem->item(i)->text();
    return names;
}

void FastAddDialog::additClick()
{
    QStringList names = waiting();
    ZoneContext context = m_zoneContext();
    if (!addFastAddName(m_state, names, newname->text(), context.prompter))
        return;
    addthem->addItem(names.last());
    newname->clear();
}

void FastAddDialog::goitClick()
{
    ZoneContext context = m_zoneContext();
    FastAddHooks hooks;
    hooks.showStep = [this](const QString& text) {
        Label1->setText(text);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const int created = runFastAdd(context, waiting(), hooks);
    if (created < 0)
        return;
    // The tree is built once for all the zones made, which also places them in order.
    if (created > 0 && m_zonesAdded)
        m_zonesAdded();
    Label1->setText(QStringLiteral("Add Domains to Server"));
    accept();
}
