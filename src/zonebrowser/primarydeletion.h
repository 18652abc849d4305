#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <functional>

// Where deleting a primary zone reaches beyond the zone: the boot file and the tree.
struct PrimaryDeletionHooks
{
    // Takes the zone's primary entry out of the boot-file model, saves the boot file and reads it again.
    std::function<FileWriteResult(const QString& zone)> dropFromBootFile;
    // Builds the primary tree again; left out while the primary zone wizard is open.
    std::function<void()> rebuildPrimaryTree;
    // Shows the busy cursor while the deletion runs (true) and takes it away again (false).
    std::function<void(bool)> showBusy;
};

enum class PrimaryDeletion
{
    Deleted,
    NothingSelected, // reported
    Cancelled,       // the question was answered Cancel
    NotListed,       // the zone is not in the primary list (reported)
    FileMissing,     // the zone file was already gone; the zone stays listed (reported)
    FileNotRemoved,  // the zone file could not be deleted; the zone stays listed (reported)
    BootFileFailed,  // the zone is gone, but the boot file could not be saved (reported)
    Busy,            // another Quorvane is changing the server, or changed it since it was read (reported)
};

struct BootContext;

// What deleting a zone does to the loaded server's boot file: the first primary entry of the zone (its zone
// name compared without regard to case) leaves the boot-file model, the file is saved and read again. Only a
// failed save is returned; the reading reports its own findings.
FileWriteResult dropPrimaryFromBootFile(BootContext& context, const QString& zone);

// "Delete Primary": asks (unless the one-shot switch against it is on), reads the zone, deletes its hosts as the
// host editor does (so that they leave the reverse-ignore list) without writing the zone file for each of
// them, then deletes the zone file, takes the zone off the lists and the boot file and rebuilds the tree.
PrimaryDeletion deletePrimaryZone(ZoneContext& context, const PrimaryDeletionHooks& hooks);
