#pragma once

#include "bootfile/drivemapping.h"
#include "server/bootload.h"

#include <QString>
#include <QStringList>

// What the new server wizard knows when it creates the server's boot file.
struct NewBootFile
{
    QString windowsDirectory; // the folder that receives "named.boot"
    QString dataDirectory;    // the server's zone folder as this machine reaches it
    QString operatingSystem;
    QString computerName;
    QStringList reverseZones; // reverse networks chosen for the server ("30.117.206.IN-ADDR.ARPA")
};

// The lines of a new boot file; `directory` is the data directory in file form (doubled backslashes).
QStringList newBootFileLines(const NewBootFile& input, const QString& directory);

// Writes the new server's boot file, asking whether a data directory off drive C or on a network file system lies
// on a networked computer and for that computer's own drive letter (the local letter is recorded under
// "MAPPING"); then reads it as loading does, with `pendingBootFilePath` set to the new file. `pendingServerId` names
// the new server.
BootReadResult createBootFile(BootContext& context, const NewBootFile& input,
                              const DriveMapping& mapping = DriveMapping());
