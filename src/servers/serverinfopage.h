#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// The "Server Info" page: the server selection box, what is loaded, the zone grids and the server buttons.
class ServerInfoPage : public QWidget
{
    Q_OBJECT
public:
    explicit ServerInfoPage(QWidget* parent = nullptr);

    QComboBox* serverbox;
    QLabel* pathlabel;
    QLabel* servernamelabel;
    QLabel* inifilelabel;
    QTableWidget* primgrid;
    QTableWidget* secgrid;
    QPushButton* addserver;
    QPushButton* deleteserver;
    QPushButton* stopserver;
    QPushButton* startserver;
    QPushButton* reloaddb;
    QPushButton* restartserver;
    QPushButton* viewdb;
    QPushButton* viewstats;
};
