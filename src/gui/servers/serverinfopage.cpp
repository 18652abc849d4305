#include "gui/servers/serverinfopage.h"

#include "bootfile/bootconfig.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* makeGrid(QWidget* parent, const QString& name, const QStringList& headings)
{
    auto* grid = new QTableWidget(0, int(headings.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(headings);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return grid;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

void fillGrid(QTableWidget* grid, const QList<ZoneGridRow>& rows, bool withMasters)
{
    grid->setUpdatesEnabled(false);
    grid->clearContents();
    grid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const ZoneGridRow& entry = rows.at(row);
        int column = 0;
        grid->setItem(row, column++, new QTableWidgetItem(entry.zone));
        if (withMasters)
            grid->setItem(row, column++, new QTableWidgetItem(entry.masters));
        grid->setItem(row, column, new QTableWidgetItem(entry.file));
    }
    grid->setUpdatesEnabled(true);
}

} // namespace

ServerInfoPage::ServerInfoPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("serverinfo"));

    serverbox = new QComboBox(this);
    serverbox->setObjectName(QStringLiteral("serverbox"));
    serverbox->setEditable(true);
    serverbox->setInsertPolicy(QComboBox::NoInsert);
    serverbox->setEditText(QStringLiteral("Select A Server"));

    pathlabel = new QLabel(this);
    pathlabel->setObjectName(QStringLiteral("pathlabel"));
    servernamelabel = new QLabel(QStringLiteral("Not Loaded"), this);
    servernamelabel->setObjectName(QStringLiteral("servernamelabel"));
    bootFileLabel = new QLabel(QStringLiteral("Not Loaded"), this);
    bootFileLabel->setObjectName(QStringLiteral("inifilelabel"));

    nameserverstatus = new QLabel(QStringLiteral("Not Loaded"), this);
    nameserverstatus->setObjectName(QStringLiteral("nameserverstatus"));

    auto* info = new QFormLayout;
    info->addRow(serverbox);
    info->addRow(QStringLiteral("Current Path:"), pathlabel);
    info->addRow(QStringLiteral("Server Name:"), servernamelabel);
    info->addRow(QStringLiteral("Boot File:"), bootFileLabel);
    info->addRow(QStringLiteral("Name Server:"), nameserverstatus);

    primgrid = makeGrid(this, QStringLiteral("primgrid"),
                        {QStringLiteral("Serving Primary for"), QStringLiteral("Forward Mapping File")});
    secgrid = makeGrid(this, QStringLiteral("secgrid"),
                       {QStringLiteral("Serving Secondary for"), QStringLiteral("Primary Server IP#"),
                        QStringLiteral("Forward Mapping File")});

    secgridfull = makeGrid(this, QStringLiteral("secgridfull"),
                           {QStringLiteral("Serving Secondary for"), QStringLiteral("Primary Server IP#"),
                            QStringLiteral("Forward Mapping File")});
    secgridfull->hide();

    addserver = makeButton(this, QStringLiteral("addserver"), QStringLiteral("Add New Server"));
    deleteserver = makeButton(this, QStringLiteral("deleteserver"), QStringLiteral("Delete Server"));
    deleteserver->setToolTip(QStringLiteral("Delete the selected DNS Server.  This cannot be undone."));
    stopserver = makeButton(this, QStringLiteral("stopserver"), QStringLiteral("Stop Server"));
    startserver = makeButton(this, QStringLiteral("startserver"), QStringLiteral("Start Server"));
    reloaddb = makeButton(this, QStringLiteral("reloaddb"), QStringLiteral("Reload Database"));
    restartserver = makeButton(this, QStringLiteral("restartserver"), QStringLiteral("Restart Server"));
    viewdb = makeButton(this, QStringLiteral("viewdb"), QStringLiteral("View Database"));
    viewstats = makeButton(this, QStringLiteral("viewstats"), QStringLiteral("View Statistics"));

    auto* buttons = new QGridLayout;
    const QList<QPushButton*> all = {addserver, deleteserver, stopserver,    startserver,
                                     reloaddb,  restartserver, viewdb,       viewstats};
    for (int i = 0; i < all.size(); ++i)
        buttons->addWidget(all.at(i), i / 4, i % 4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(info);
    layout->addWidget(primgrid, 1);
    layout->addWidget(secgrid, 1);
    layout->addLayout(buttons);
}

void ServerInfoPage::showGrids(const BootConfig& boot)
{
    fillGrid(primgrid, boot.primaryGrid, false);
    fillGrid(secgrid, boot.secondaryGrid, true);
    fillGrid(secgridfull, boot.secondaryFullGrid, true);
}
