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
