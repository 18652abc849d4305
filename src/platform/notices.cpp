#include "platform/notices.h"

#include <utility>

namespace {

std::function<void(const QString&)>& handler()
{
    static std::function<void(const QString&)> installed;
    return installed;
}

QStringList& waiting()
{
    static QStringList notes;
    return notes;
}

} // namespace

namespace Notices {

void setHandler(std::function<void(const QString&)> installed)
{
    handler() = std::move(installed);
}

void post(const QString& text)
{
    if (handler())
        handler()(text);
    else
        waiting() << text;
}

QStringList take()
{
    return std::exchange(waiting(), QStringList());
}

} // namespace Notices
