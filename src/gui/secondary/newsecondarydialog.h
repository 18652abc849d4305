#pragma once

#include "secondary/secondaryzones.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QStackedWidget;

// "Create a new Secondary Zone": page "One" takes the zone's name, page "Two" its master's address.
class NewSecondaryDialog : public QDialog
{
    Q_OBJECT
public:
    NewSecondaryDialog(std::function<SecondaryContext()> context, QWidget* parent = nullptr);

    QStackedWidget* pages;
    QLineEdit* zonename;
    QLineEdit* ipaddress;
    QPushButton* zonePageNext;
    QPushButton* zonePageCancel;
    QPushButton* mastersPageDone;
    QPushButton* mastersPageCancel;

    void nextFromZonePage();
    // Shows a page (0 or 1) with its forward button the default and the keyboard in its field.
    void showPage(int page);
    void finishMastersPage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<SecondaryContext()> m_context;
};
