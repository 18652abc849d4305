#include "support/modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int kPollMs = 10;

QPointer<QWidget> g_home;

} // namespace

// The offscreen platform of the tests does not give the activation back when a dialog closes, as a window
// manager does: the window in front is activated here before its focus widget is asked for.
QWidget* keyboardFocus()
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window)
        window = QApplication::activeWindow();
    if (!window)
        window = g_home;
    if (!window)
        return QApplication::focusWidget();
    if (QApplication::activeWindow() != window) {
        window->activateWindow();
        if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 2000))
            qWarning("%s could not be made the active window", qPrintable(window->objectName()));
    }
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

ModalDriver::ModalDriver(QObject* parent) : QObject(parent) {}

ModalDriver::~ModalDriver() = default;

ModalDriver& ModalDriver::then(Step step)
{
    if (QWidget* front = QApplication::activeModalWidget())
        m_seen << front;
    m_steps << std::move(step);
    if (!m_polling) {
        m_polling = true;
        QTimer::singleShot(kPollMs, this, &ModalDriver::poll);
    }
    return *this;
}

void ModalDriver::poll()
{
    if (m_steps.isEmpty()) {
        m_polling = false;
        return;
    }
    // A new shot each time: a step may wait in a modal window's loop, where the next poll must still come, and
    // a timer never fires again while its own slot runs.
    QTimer::singleShot(kPollMs, this, &ModalDriver::poll);
    m_seen.removeIf([](const QPointer<QWidget>& window) { return !window || !window->isVisible(); });
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || m_seen.contains(modal))
        return;
    // The step may open further modal windows and wait in them; the next poll comes from their loops.
    m_seen << modal;
    m_answered << modal;
    const Step step = m_steps.takeFirst();
    step(modal);
}

bool ModalDriver::finish(int timeoutMs)
{
    if (!QTest::qWaitFor([this] { return m_steps.isEmpty(); }, timeoutMs)) {
        m_problems << QStringLiteral("%1 modal windows never came to the front").arg(m_steps.size());
        m_steps.clear();
        return false;
    }
    return true;
}

QAbstractButton* buttonNamed(QWidget* dialog, const QString& name)
{
    auto* button = dialog ? dialog->findChild<QAbstractButton*>(name) : nullptr;
    if (!button)
        QTest::qFail(qPrintable(QStringLiteral("no button \"%1\"").arg(name)), __FILE__, __LINE__);
    return button;
}

void setKeyboardHome(QWidget* window)
{
    g_home = window;
}

void pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(keyboardFocus(), Qt::Key(key), modifiers);
}

void typeText(const QString& text)
{
    QTest::keyClicks(keyboardFocus(), text);
}

bool belongsTo(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (w == window)
            return true;
    }
    return false;
}
