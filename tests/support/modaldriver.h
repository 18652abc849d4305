#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QWidget;

// Answers the program's modal windows as a person does: it watches QApplication::activeModalWidget() and, when
// a new one comes to the front, hands it to the next scripted step, which looks at it and presses keys or
// buttons. A window that never reaches the front (one parented to a disabled window, or stuck behind another)
// is never answered, and the step is reported as missed. It lets the code under test block in exec().
class ModalDriver : public QObject
{
    Q_OBJECT
public:
    using Step = std::function<void(QWidget* modal)>;

    explicit ModalDriver(QObject* parent = nullptr);
    ~ModalDriver() override;

    // Queues a step for the next modal window that comes to the front. Windows in front when the step is queued,
    // and those answered, do not count while they stay open.
    ModalDriver& then(Step step);
    // Steps not reached yet.
    int pending() const { return int(m_steps.size()); }
    // Waits until every step ran; false (with the problems recorded) when one did not within the time.
    bool finish(int timeoutMs = 10000);
    const QStringList& problems() const { return m_problems; }
    // The windows answered so far, in order.
    const QList<QPointer<QWidget>>& answered() const { return m_answered; }

private:
    void poll();

    bool m_polling = false;
    QList<Step> m_steps;
    QList<QPointer<QWidget>> m_answered;
    QList<QPointer<QWidget>> m_seen;
    QStringList m_problems;
};

// The button of a dialog by its object name; fails the running test when there is none.
QAbstractButton* buttonNamed(QWidget* dialog, const QString& name);
// The window keys go to when no window is in front (the main window).
void setKeyboardHome(QWidget* window);
// The widget keys go to: the focus widget of the window in front (the modal one, else the active one, else the
// home window), which is made the active window first, as a window manager does when a dialog closes.
QWidget* keyboardFocus();
// A key pressed where the keyboard is.
void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Text typed where the keyboard is.
void typeText(const QString& text);
// True when the widget is the window or lies inside it.
bool belongsTo(const QWidget* widget, const QWidget* window);
