#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs the step on the modal dialog of the given class as soon as it is the active one, as a person answers a
// dialog once it has come up. For window tests only (it needs the widgets).
template <typename Dialog> void whenOpen(const std::function<void(Dialog*)>& step)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            step(dialog);
        }
    });
    poll->start();
}
