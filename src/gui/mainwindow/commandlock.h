#pragma once

#include <QList>
#include <QPointer>

class QAction;
class QWidget;

// Disables the server commands of the main window for its lifetime and gives each back the state it had, so
// that nothing reaches the server while an operation lets window messages run.
class CommandLock
{
public:
    explicit CommandLock(QWidget& window);
    ~CommandLock();
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;

private:
    QList<std::pair<QPointer<QWidget>, bool>> m_widgets;
    QList<std::pair<QPointer<QAction>, bool>> m_actions;
};
