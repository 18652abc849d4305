#pragma once

#include <QString>
#include <functional>

// Tells whoever keeps the history of a server's files that this process is about to replace or remove a file, so
// that what the file held before can still be kept. There is one listener for the process; without one the
// notice goes nowhere.
using FileChangeListener = std::function<void(const QString& path)>;

void setFileChangeListener(FileChangeListener listener);
void announceFileChange(const QString& path);
