#pragma once

#include <QDialog>

class Prompter;
class QLineEdit;
class QListWidget;
class QPushButton;
class TldList;

// The editor of the known top-level domains and country extensions: a borderless, centred form that shows the
// whole list and lets the user add and delete their own extensions. Changes take effect at once.
class TldListEditor : public QDialog
{
    Q_OBJECT
public:
    TldListEditor(TldList& tlds, Prompter& prompter, QWidget* parent = nullptr);

    QListWidget* toplist;
    QLineEdit* toadd;
    QPushButton* addtld;
    QPushButton* deletetld;
    QPushButton* closeit;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addClick();
    void deleteClick();
    void fillList();

    TldList& m_tlds;
    Prompter& m_prompter;
};
