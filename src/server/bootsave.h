#pragma once

#include <QString>

struct AppState;
class Progress;

struct BootWriteResult
{
    bool ok = true;
    QString errorText; // why the file could not be written
};

// Writes the loaded server's "named.boot" into its boot directory under the server's lock, replacing the file
// only when the whole new file could be written, and only when it is still the file that was read. A progress
// window the caller shows is finished and hidden.
BootWriteResult writeBootFile(AppState& state, Progress* shownProgress = nullptr);
