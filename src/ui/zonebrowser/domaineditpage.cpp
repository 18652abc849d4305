#include "ui/zonebrowser/domaineditpage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QTreeWidget* makeTree(QWidget* parent, const QString& name)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    return tree;
}

} // namespace

DomainEditPage::DomainEditPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("domainedit"));

    TreeView1 = makeTree(this, QStringLiteral("TreeView1"));
    TreeView2 = makeTree(this, QStringLiteral("TreeView2"));
    primcount = new QLabel(QStringLiteral("Not Loaded"), this);
    primcount->setObjectName(QStringLiteral("primcount"));
    seccount = new QLabel(QStringLiteral("Not Loaded"), this);
    seccount->setObjectName(QStringLiteral("seccount"));
    findprim = makeButton(this, QStringLiteral("findprim"), QStringLiteral("Find"));
    findprimtext = new QLineEdit(this);
    findprimtext->setObjectName(QStringLiteral("findprimtext"));
    sortprim = makeButton(this, QStringLiteral("sortprim"), QStringLiteral("Sort"));
    findsec = makeButton(this, QStringLiteral("findsec"), QStringLiteral("Find"));
    findsectext = new QLineEdit(this);
    findsectext->setObjectName(QStringLiteral("findsectext"));
    sortsec = makeButton(this, QStringLiteral("sortsec"), QStringLiteral("Sort"));

    auto* primHeader = new QHBoxLayout;
    primHeader->addWidget(new QLabel(QStringLiteral("Primary Zones"), this));
    primHeader->addWidget(primcount);
    primHeader->addStretch();
    auto* primFind = new QHBoxLayout;
    primFind->addWidget(findprim);
    primFind->addWidget(findprimtext, 1);
    primFind->addWidget(sortprim);
    auto* primColumn = new QVBoxLayout;
    primColumn->addLayout(primHeader);
    primColumn->addLayout(primFind);
    primColumn->addWidget(TreeView1, 1);

    auto* secHeader = new QHBoxLayout;
    secHeader->addWidget(new QLabel(QStringLiteral("Secondary Zones"), this));
    secHeader->addWidget(seccount);
    secHeader->addStretch();
    auto* secFind = new QHBoxLayout;
    secFind->addWidget(findsec);
    secFind->addWidget(findsectext, 1);
    secFind->addWidget(sortsec);
    auto* secColumn = new QVBoxLayout;
    secColumn->addLayout(secHeader);
    secColumn->addLayout(secFind);
    secColumn->addWidget(TreeView2, 1);

    auto* trees = new QHBoxLayout;
    trees->addLayout(primColumn, 1);
    trees->addLayout(secColumn, 1);

    newprimary = makeButton(this, QStringLiteral("newprimary"), QStringLiteral("New Primary"));
    fastadd = makeButton(this, QStringLiteral("fastadd"), QStringLiteral("Fast Add"));
    deleteprimary = makeButton(this, QStringLiteral("deleteprimary"), QStringLiteral("Delete Primary"));
    reversemapping = makeButton(this, QStringLiteral("reversemapping"), QStringLiteral("Reverse Mapping"));
    newsecondary = makeButton(this, QStringLiteral("newsecondary"), QStringLiteral("New Secondary"));
    delsecondary = makeButton(this, QStringLiteral("delsecondary"), QStringLiteral("Del Secondary"));
    updatechanges = makeButton(this, QStringLiteral("updatechanges"), QStringLiteral("Update Changes"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button :
         {newprimary, fastadd, deleteprimary, reversemapping, newsecondary, delsecondary, updatechanges})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(trees, 1);
    layout->addLayout(buttons);
}
