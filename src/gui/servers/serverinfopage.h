#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
struct BootConfig;

// The "Server Info" page: the server selection box, what is loaded, the zone grids and the server buttons.
class ServerInfoPage : public QWidget
{
    Q_OBJECT
public:
    explicit ServerInfoPage(QWidget* parent = nullptr);

    // Fills the three read-only grids from the loaded boot data.
    void showGrids(const BootConfig& boot);

    QComboBox* serverbox;
    QLabel* pathlabel;
    QLabel* servernamelabel;
    QLabel* bootFileLabel;
    QLabel* nameserverstatus; // whether the loaded server's name server answers
    QTableWidget* primgrid;
    QTableWidget* secgrid;
    QTableWidget* secgridfull; // hidden: every master address of each secondary zone
    QPushButton* addserver;
    QPushButton* deleteserver;
    QPushButton* stopserver;
    QPushButton* startserver;
    QPushButton* reloaddb;
    QPushButton* restartserver;
    QPushButton* viewdb;
    QPushButton* viewstats;
};
