#pragma once

#include "operations/bootoptions.h"

#include <QDialog>

class Prompter;
class QLineEdit;
class QPushButton;

// The "Add..." dialog of the boot option lists: one entry of the kind its button chose, checked before it is
// taken.
class AddOptionDialog : public QDialog
{
    Q_OBJECT
public:
    AddOptionDialog(OptionEntryKind kind, Prompter& prompter, QWidget* parent = nullptr);

    OptionEntryKind kind() const { return m_kind; }
    QString entry() const;

    QLineEdit* optiontext;
    QPushButton* addoption;
    QPushButton* canceloption;

private:
    void addoptionClick();

    OptionEntryKind m_kind;
    Prompter& m_prompter;
};
