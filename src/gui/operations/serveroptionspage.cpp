#include "gui/operations/serveroptionspage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename W> W* named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A list with its heading and its "Add" and "Delete" buttons.
QVBoxLayout* listColumn(QWidget* parent, const QString& heading, QListWidget* list, QPushButton* add,
                        QPushButton* remove)
{
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(heading, parent));
    column->addWidget(list, 1);
    column->addLayout(buttons);
    return column;
}

} // namespace

ServerOptionsPage::ServerOptionsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("addlproperties"));

    cachelabel = named(new QLabel(QStringLiteral("Current Cache File"), this), QStringLiteral("cachelabel"));
    cachetext = named(new QPlainTextEdit(this), QStringLiteral("cachetext"));
    cachetext->setReadOnly(true);
    cachetext->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    getcache = named(new QPushButton(QStringLiteral("Get Latest Cache File"), this), QStringLiteral("getcache"));
    auto* cacheColumn = new QVBoxLayout;
    cacheColumn->addWidget(cachelabel);
    cacheColumn->addWidget(cachetext, 1);
    cacheColumn->addWidget(getcache);

    auto* options = new QGroupBox(QStringLiteral("Advanced Boot Options:"), this);
    forwardonly = named(new QCheckBox(QStringLiteral("Forward Only"), options), QStringLiteral("forwardonly"));
    norecursion = named(new QCheckBox(QStringLiteral("No Recursion"), options), QStringLiteral("norecursion"));
    querylog = named(new QCheckBox(QStringLiteral("Query Log"), options), QStringLiteral("querylog"));
    limittransfers =
        named(new QCheckBox(QStringLiteral("Limit Transfers-In"), options), QStringLiteral("limittransfers"));
    limittransfersvalue = named(new QLineEdit(options), QStringLiteral("limittransfersvalue"));
    limitpername = named(new QCheckBox(QStringLiteral("Limit-Xfers-Per-NS"), options), QStringLiteral("limitpername"));
    limitpernamevalue = named(new QLineEdit(options), QStringLiteral("limitpernamevalue"));
    xfrnets = named(new QListWidget(options), QStringLiteral("xfrnets"));
    addxfrnet = named(new QPushButton(QStringLiteral("Add"), options), QStringLiteral("addxfrnet"));
    delxfrnet = named(new QPushButton(QStringLiteral("Delete"), options), QStringLiteral("delxfrnet"));
    bogusns = named(new QListWidget(options), QStringLiteral("bogusns"));
    addbogus = named(new QPushButton(QStringLiteral("Add"), options), QStringLiteral("addbogus"));
    delbogus = named(new QPushButton(QStringLiteral("Delete"), options), QStringLiteral("delbogus"));
    forwarders = named(new QListWidget(options), QStringLiteral("forwarders"));
    addforwarder = named(new QPushButton(QStringLiteral("Add"), options), QStringLiteral("addforwarder"));
    delforwarder = named(new QPushButton(QStringLiteral("Delete"), options), QStringLiteral("delforwarder"));
    updateoptions = named(new QPushButton(QStringLiteral("Update"), options), QStringLiteral("updateoptions"));

    auto* checks = new QGridLayout;
    checks->addWidget(forwardonly, 0, 0);
    checks->addWidget(norecursion, 0, 1);
    checks->addWidget(querylog, 0, 2);
    checks->addWidget(limittransfers, 1, 0);
    checks->addWidget(limittransfersvalue, 1, 1);
    checks->addWidget(limitpername, 2, 0);
    checks->addWidget(limitpernamevalue, 2, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(listColumn(options, QStringLiteral("XFRNets"), xfrnets, addxfrnet, delxfrnet));
    lists->addLayout(listColumn(options, QStringLiteral("BogusNS"), bogusns, addbogus, delbogus));
    lists->addLayout(listColumn(options, QStringLiteral("Forwarders"), forwarders, addforwarder, delforwarder));
    bind9options = named(new QPlainTextEdit(options), QStringLiteral("bind9options"));
    bind9options->setReadOnly(true);
    bind9options->setLineWrapMode(QPlainTextEdit::NoWrap);
    bind9options->hide();
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addLayout(checks);
    optionsLayout->addLayout(lists, 1);
    optionsLayout->addWidget(updateoptions);
    optionsLayout->addWidget(bind9options, 1);
    m_optionsBox = options;

    secreverse = named(new QListWidget(this), QStringLiteral("secreverse"));
    addsecreverse = named(new QPushButton(QStringLiteral("Add"), this), QStringLiteral("addsecreverse"));
    delsecreverse = named(new QPushButton(QStringLiteral("Delete "), this), QStringLiteral("delsecreverse"));
    auto* reverseColumn =
        listColumn(this, QStringLiteral("Secondary Reverse Mapping Only:"), secreverse, addsecreverse, delsecreverse);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(cacheColumn, 2);
    layout->addWidget(options, 3);
    layout->addLayout(reverseColumn, 1);

    connect(addsecreverse, &QPushButton::clicked, this, &ServerOptionsPage::addSecondaryReverseRequested);
    connect(delsecreverse, &QPushButton::clicked, this, [this] {
        Q_EMIT deleteSecondaryReverseRequested();
        delsecreverse->setEnabled(false);
    });
    connect(secreverse, &QListWidget::itemSelectionChanged, this,
            [this] { delsecreverse->setEnabled(!secreverse->selectedItems().isEmpty()); });
}

void ServerOptionsPage::showConfOptions(const std::optional<QStringList>& lines)
{
    // A named.conf keeps its own options: editing boot options there would be lost.
    const bool conf = lines.has_value();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{forwardonly, norecursion, querylog, limittransfers, limittransfersvalue,
                                         limitpername, limitpernamevalue, xfrnets, addxfrnet, delxfrnet, bogusns,
                                         addbogus, delbogus, forwarders, addforwarder, delforwarder, updateoptions})
        widget->setVisible(!conf);
    for (QLabel* label : m_optionsBox->findChildren<QLabel*>())
        label->setVisible(!conf);
    m_optionsBox->setTitle(conf ? QStringLiteral("BIND 9 Options (as the configuration sets them):")
                                : QStringLiteral("Advanced Boot Options:"));
    bind9options->setVisible(conf);
    bind9options->setPlainText(conf ? lines->join(QLatin1Char('\n')) : QString());
}

void ServerOptionsPage::showSecondaryReverse(const QStringList& lines)
{
    secreverse->clear();
    secreverse->addItems(lines);
}

int ServerOptionsPage::selectedSecondaryReverseRow() const
{
    return secreverse->selectedItems().isEmpty() ? -1 : secreverse->currentRow();
}
