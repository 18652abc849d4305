#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

// The FTP window: the running account of the root hints download, one line per step and event, and "Cancel"
// (also Escape, or closing the window), which asks the download to stop.
class FtpProgressWindow : public QWidget
{
    Q_OBJECT
public:
    explicit FtpProgressWindow(QWidget* parent = nullptr);

    // Shows the window centred on the screen with the list as it starts.
    void showCentred();
    void addLine(const QString& line);
    void clearLines();
    QStringList lines() const;

    QListWidget* ftpprogress;
    QPushButton* cancelit;

Q_SIGNALS:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
