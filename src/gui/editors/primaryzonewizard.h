#pragma once

#include "editors/primarywizard.h"

#include <QDialog>
#include <array>
#include <functional>

struct AppState;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class WizardHostPickerDialog;

// What the wizard reaches outside itself.
struct PrimaryWizardHooks
{
    std::function<ZoneContext()> zoneContext;
    std::function<void()> deletePrimary;    // "Delete Primary" for a zone left without "Finish"
    std::function<void()> reloadBootFile;   // after "Finish"
    std::function<void()> showCreateDialog; // "Back" on page 1
    std::function<void()> zoneFinished;     // the tree shows the new zone
};

// The primary zone wizard: five pages over a zone "Start Wizard" made, modal to the main window. Each page opens
// with the keyboard in its first field and "Next" (on the last page "Finish") as the button Enter presses; Escape
// cancels. Leaving it any way but "Finish" deletes that zone again, once.
class PrimaryZoneWizard : public QDialog
{
    Q_OBJECT
public:
    PrimaryZoneWizard(AppState& state, Prompter& prompter, PrimaryWizardHooks hooks, QWidget* parent = nullptr);

    QStackedWidget* notebook;
    QLineEdit* serial;
    QLineEdit* refresh;
    QLineEdit* retry;
    QLineEdit* expire;
    QLineEdit* minimum;
    std::array<QLineEdit*, 5> names;
    std::array<QLineEdit*, 5> ips;
    std::array<QLineEdit*, 5> nameservers;
    std::array<QLineEdit*, 5> aliases;
    std::array<QLineEdit*, 5> actuals;
    std::array<QLineEdit*, 5> mailservers;
    std::array<QPushButton*, 5> backs;
    std::array<QPushButton*, 4> nexts;
    QPushButton* cancelit;
    QPushButton* finishit;
    WizardHostPickerDialog* hostselect;

    // The hidden fields.
    QString name;
    QString user;
    QString finished = QStringLiteral("FALSE");

    // Shows the wizard for the zone "Start Wizard" made.
    void startFor(const QString& zone);

    void nextClick(int page);
    void backClick(int page);
    void cancelClick();
    void finishClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    // Shows a page (0 to 4) with its forward button the default and the keyboard in its first field.
    void showPage(int page);

private:
    QWidget* makePage(const QString& title, const QString& text);
    WizardFields fields() const;
    void showFields(const WizardFields& fields);
    void leave();
    WizardHostPicker picker();

    AppState& m_state;
    Prompter& m_prompter;
    PrimaryWizardHooks m_hooks;
    bool m_leaving = false;
};
