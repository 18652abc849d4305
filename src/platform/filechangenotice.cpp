#include "platform/filechangenotice.h"

namespace {

FileChangeListener& listener()
{
    static FileChangeListener current;
    return current;
}

} // namespace

void setFileChangeListener(FileChangeListener newListener)
{
    listener() = std::move(newListener);
}

void announceFileChange(const QString& path)
{
    if (listener())
        listener()(path);
}
