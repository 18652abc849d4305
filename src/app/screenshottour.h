#pragma once

#include <QObject>
#include <QString>
#include <functional>

class MainWindow;
class QWidget;

// The hidden "--screenshots FOLDER" of the desktop program: once the main window shows the sample server, every
// page and the main dialogs are drawn into PNG files in the folder (QWidget::grab, so that no window manager is
// needed), and the program ends. The dialogs are shown as the user opens them and closed again without a change.
class ScreenshotTour : public QObject
{
    Q_OBJECT
public:
    ScreenshotTour(MainWindow& window, QString folder);

    // Takes the pictures and ends the program; the exit status is 1 when a picture could not be saved.
    void run();

private:
    void shoot(QWidget* widget, const QString& name);
    void shootPages();
    void shootEditors();
    void shootWizards();
    void shootOtherDialogs();
    // Draws the modal dialog that `open` brings up, and closes it.
    void shootModal(const QString& name, const std::function<void()>& open);

    MainWindow& m_window;
    QString m_folder;
    int m_count = 0;
    bool m_failed = false;
};
