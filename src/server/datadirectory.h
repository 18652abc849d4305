#pragma once

#include "platform/drivetable.h"
#include "session/bootcontext.h"

#include <QString>
#include <QStringList>

#include <optional>

// The data directory a boot file's lines name, as this machine reaches it: its last directory line, with the
// mapped letter (from a "MAPPING:" line after it, or else `settingsLetter`) in place of the server's own drive.
// None when no line names one or its drive has no folder here.
std::optional<QString> dataDirectoryOfBootLines(const QStringList& lines, const QString& bootDirectory,
                                                const QString& settingsLetter, const DriveTable& drives);

// The data directory step of one boot file reading: turns a directory line into the data directory in its
// three forms (`datapath`, `holdpath`, `realpath`) and asks the user for another folder while it does not exist.
class DataDirectoryProcessor
{
public:
    DataDirectoryProcessor(BootContext& context, DriveTable drives);

    // The line "directory NOTTHERE" makes the user choose a new data directory. False when the user cancelled
    // the folder browser: then there is no data directory to go on with.
    bool processDataDirectory(bool mapped, const QString& driveLetter, const QString& directoryLine);

    // A directory line was processed, so the reading ends by writing the boot file.
    bool writeRequested() const { return m_writeRequested; }
    const DriveTable& drives() const { return m_drives; }

private:
    std::optional<QString> localFolder(const QString& form) const;
    QString formOfChosenFolder(const QString& folder, QChar localLetter) const;

    BootContext& m_context;
    DriveTable m_drives;
    std::optional<QString> m_keptFileForm; // the first directory of the reading, as the file wrote it
    bool m_writeRequested = false;
};
