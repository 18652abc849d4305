#pragma once

#include "reverse/hostnamechooser.h"

#include <QDialog>

class Prompter;
class QLabel;
class QListWidget;
class QPushButton;

// The dialog "Hostname for Reverse Mapping": the shared address, the two explanations, the candidate names and
// OK. OK without a selection is answered by the run's "You must select one item to continue.".
class ReverseHostNameDialog : public QDialog, public HostNameChooser
{
    Q_OBJECT
public:
    explicit ReverseHostNameDialog(QWidget* parent = nullptr);

    std::optional<int> chooseHostName(const QString& address, const QStringList& names) override;

    QLabel* ipaddress;
    QLabel* assigned;
    QLabel* selecttext;
    QListWidget* hostlist;
    QPushButton* okbutton;
};
