#pragma once

#include <QObject>
#include <functional>

class QWidget;

// What every window of the program keeps to, applied as windows are shown, so that windows added later keep to
// it without doing anything themselves: access keys (Alt+letter) on every button, labelled field, menu and menu
// item; a dialog that opens with the keyboard nowhere in particular gets it in its first field; F1 asks for the
// help about whatever has the keyboard.
class WindowConventions : public QObject
{
    Q_OBJECT
public:
    using HelpOpener = std::function<void(QWidget* from)>;

    // Watches every window of the application for as long as it lives.
    explicit WindowConventions(HelpOpener openHelp, QObject* parent = nullptr);

    // Gives the buttons, labelled fields and menus of a window their access keys now. The pages of a page set
    // (tabs, wizard pages) never show together, so each page may use the letters of another.
    static void assignAccessKeys(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpOpener m_openHelp;
};
