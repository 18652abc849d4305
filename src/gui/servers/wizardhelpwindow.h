#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The help window of one page of the new server wizard: a read-only text and "Close".
class WizardHelpWindow : public QDialog
{
    Q_OBJECT
public:
    // Pages are counted from 1.
    explicit WizardHelpWindow(int page, QWidget* parent = nullptr);

    static QString captionOf(int page);
    static QString textOf(int page);

    QPlainTextEdit* helptext;
    QPushButton* closeit;
};
