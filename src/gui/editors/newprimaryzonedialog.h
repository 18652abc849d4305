#pragma once

#include "session/zonecontext.h"

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// "Create a new Primary Zone...": the zone's name, its skeleton file and its registration, then the wizard.
class NewPrimaryZoneDialog : public QDialog
{
    Q_OBJECT
public:
    // The context of the zone operations, and what opens the wizard for the zone made.
    NewPrimaryZoneDialog(std::function<ZoneContext()> zoneContext, std::function<void(const QString&)> openWizard,
                         QWidget* parent = nullptr);

    QLineEdit* newname;
    QPushButton* startwizard;
    QPushButton* cancelit;

    void startwizardClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<ZoneContext()> m_zoneContext;
    std::function<void(const QString&)> m_openWizard;
};
