#pragma once

#include "platform/filewriteresult.h"
#include "zone/recorddisplay.h"

#include <QString>
#include <functional>

struct AppState;
class Progress;
class Prompter;

// Saves the server's boot file after a zone was written, and finishes the progress display the zone save
// started.
using BootFileSaver = std::function<FileWriteResult(AppState&, Progress&)>;

// The loaded server's boot file writer, which finishes the progress display.
BootFileSaver serverBootFileSaver();

// What a finished zone save wrote, for the status bar: the zone, its file and serial, and the boot file.
QString zoneSavedText(const AppState& state);

// What the zone file operations work with. Without a boot file saver (a data directory given without its
// server, on the command line) a zone save ends with the zone file.
struct ZoneContext
{
    AppState& state;
    Prompter& prompter;
    Progress& progress;
    BootFileSaver saveBootFile;
    // Run by rebuildDisplays for the start of authority; the SOA editor supplies its check-and-store step.
    SoaDisplayStep soaStep;
};
