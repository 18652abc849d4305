#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

// The "Network Drive Mapping" dialog: shows the drive this machine reaches a networked server by and asks on
// which drive of its own computer the server is installed. "OK" copies the chosen letter into `drivetransfer`;
// the caller checks it.
class NetworkDriveDialog : public QDialog
{
    Q_OBJECT
public:
    NetworkDriveDialog(const QString& localDrive, std::function<void()> openHelp, QWidget* parent = nullptr);

    QString drivetransfer;

    QLineEdit* localdrive;
    QComboBox* driveletter;
    QPushButton* okbutton;

protected:
    // F1: "Press F1 for more detailed HELP".
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okbuttonClick();

    std::function<void()> m_openHelp;
};
