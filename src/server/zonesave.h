#pragma once

#include "session/zonecontext.h"

#include <QString>

enum class ZoneSaveStatus
{
    Saved,
    NoFileOpen,         // no zone selected, or its file is gone: nothing written
    NoStartOfAuthority, // the loaded zone has none: nothing written
    BadSerial,          // the running serial is no number, or cannot be raised: nothing written
    WriteFailed,        // the zone file could not be replaced; the old one is whole
    BootFileFailed,     // the zone file was written, the boot file could not be
    Busy,               // another Quorvane is changing the server: nothing written
    ChangedOnDisk,      // another program changed the file since it was read: it was read again, nothing written
};

struct ZoneSaveResult
{
    ZoneSaveStatus status = ZoneSaveStatus::Saved;
    QString errorText;

    bool ok() const { return status == ZoneSaveStatus::Saved; }
};

// Writes the loaded zone into the selected zone file under the server's lock, replacing the file only when the
// whole new file was written, then saves the boot file. A file another program has changed since it was read is
// not overwritten but read again. Every failure is reported through the prompter and returned.
ZoneSaveResult writeZone(ZoneContext& context);

// The save of every confirmed change: raises the running serial, gives it to the zone and writes the zone.
// The serial written is never lower than or equal to the one the zone held when it was read.
ZoneSaveResult saveZone(ZoneContext& context);

// The loaded server's boot file writer, which finishes the progress display.
BootFileSaver serverBootFileSaver();

// What a finished zone save wrote, for the status bar: the zone, its file and serial, and the boot file.
QString zoneSavedText(const AppState& state);
