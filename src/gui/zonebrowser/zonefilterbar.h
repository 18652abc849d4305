#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTimer;

// The row above the primary zone tree: "Filter:" with its field, and "View Zone File". The filter speaks once the
// typing pauses, since filtering may read every zone file.
class ZoneFilterBar : public QWidget
{
    Q_OBJECT
public:
    explicit ZoneFilterBar(QWidget* parent = nullptr);

    QLineEdit* filtertext;
    QPushButton* viewzonefile;

Q_SIGNALS:
    void filterChanged(const QString& text);

private:
    QTimer* m_pause;
};
