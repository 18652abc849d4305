#pragma once

#include <QString>

// The outcome of writing one file: ok, or why it could not be written.
struct FileWriteResult
{
    bool ok = true;
    QString errorText;
};
