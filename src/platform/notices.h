#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Notes for the user that arise deep inside an operation, where no prompter is at hand: a lock left behind by a
// Quorvane that was ended and taken over, a stale lock of a server's history cleared. Whoever shows messages in
// this process installs a handler (on the thread that posts); without one the notes wait for take().
namespace Notices {

void setHandler(std::function<void(const QString& text)> handler);
void post(const QString& text);
QStringList take();

} // namespace Notices
