#pragma once

#include <QDialog>

class Prompter;
class QLabel;
class QLineEdit;
class QPushButton;

// "Specify Your Windows Dir.": the Windows directory typed as a path, for NT 3.x machines that have no folder
// browser. "Import!" closes the dialog only when the directory exists.
class WindowsDirectoryDialog : public QDialog
{
    Q_OBJECT
public:
    WindowsDirectoryDialog(const QString& text, Prompter& prompter, QWidget* parent = nullptr);

    QString directory() const;

    QLabel* windowstext;
    QLineEdit* networkpath;
    QPushButton* importit;
    QPushButton* cancelit;

private:
    void importitClick();

    Prompter& m_prompter;
};
