#pragma once

#include "editors/fastadd.h"

#include <QDialog>
#include <QStringList>
#include <functional>

struct AppState;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Fast Add": zone names collected in a list, then created in one go.
class FastAddDialog : public QDialog
{
    Q_OBJECT
public:
    // The context of the zone operations, and what shows the zones made in the tree once "GO" ended.
    FastAddDialog(AppState& state, std::function<ZoneContext()> zoneContext, std::function<void()> zonesAdded,
                  QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* newname;
    QListWidget* addthem;
    QPushButton* addit;
    QPushButton* goit;
    QPushButton* cancelit;

    void additClick();
    void goitClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStringList waiting() const;

    AppState& m_state;
    std::function<ZoneContext()> m_zoneContext;
    std::function<void()> m_zonesAdded;
};
