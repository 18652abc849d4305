#pragma once

#include "session/bootcontext.h"

#include <QString>
#include <optional>

enum class BootReadStatus
{
    Read,        // read, and written back in the program's layout
    Unreadable,  // the boot file could not be read
    Aborted,     // the user answered Abort to a missing zone file
    Cancelled,   // the user cancelled the folder browser for the data directory
    NoDirectory, // the file has no directory line
    NotWritten,  // read, but the file could not be written back
    Busy,        // another Quorvane is changing the server: nothing was read
};

struct BootReadResult
{
    BootReadStatus status = BootReadStatus::Read;
    QString errorText;

    bool ok() const { return status == BootReadStatus::Read; }
};

// Reads "named.boot" from the folder of the boot file path `pendingBootFilePath` into `BootConfig`, the server's zone
// lists and the grids, resolves the data directory, and writes the file back in the program's layout. With
// skipZoneFileCheck a primary zone is admitted even when its file is missing. Only a successful reading writes.
// Since it writes, the reading holds the server's lock; while another Quorvane holds it nothing is read.
BootReadResult readBootFile(BootContext& context, bool skipZoneFileCheck);

// Reads the boot file as readBootFile does, for a program that only looks at the server: every primary zone is
// admitted without a question, and nothing is written (neither the boot file, nor the root cache file, nor the
// settings).
BootReadResult inspectBootFile(BootContext& context);
