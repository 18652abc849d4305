#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class Prompter;
class QListWidget;
class QPushButton;

// The wizard's host picker: the five host name fields of page 2, in order, empty ones included. The caption
// tells the caller; `number` is the row of the caller's field.
class WizardHostPickerDialog : public QDialog
{
    Q_OBJECT
public:
    WizardHostPickerDialog(Prompter& prompter, QWidget* parent = nullptr);

    QListWidget* hostlist;
    QPushButton* selectit;
    QPushButton* cancelit;
    int number = 0;

    // Shows the names modally; the chosen one, or none when the picker was closed without a choice.
    std::optional<QString> choose(const QString& caption, const QStringList& names, int row);

    void selectitClick();

private:
    Prompter& m_prompter;
    std::optional<QString> m_chosen;
};
