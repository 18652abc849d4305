#pragma once

#include "server/newserversteps.h"

#include <QString>
#include <QStringList>
#include <optional>

struct BootConfig;

enum class ImportMode
{
    TakeControl, // the server's boot file and data stay where they are
    Import,      // the server's files are copied into a new server on a chosen Windows directory
};

// What the command line names instead of asking: each value given replaces its folder browser or input box.
struct ImportRequest
{
    std::optional<QString> sourceWindowsDirectory;
    std::optional<QString> destinationWindowsDirectory;
    std::optional<QString> primaryServerIp; // the first answer to the "Primary Server IP" box
};

// "Take Control of a server on a networked computer" and "Import Server from a networked computer" of page 1.
// True when the server entered the catalog and was loaded; every other end has shown its message. An import
// that ends early leaves no catalog entry.
bool takeControlOrImport(ServerContext& context, Stage& stage, NewServerFields& fields, ImportMode mode,
                         const WizardHooks& hooks, const ImportRequest& request = {});

// Copies every file of a folder (hidden ones too; no subfolders) into another, replacing files of the same name;
// a file is never copied onto itself. The names that could not be copied.
QStringList copyFilesOfFolder(const QString& from, const QString& to);

// The boot file of an import: the directory line at `directoryLine` names the new data directory (in its file
// form, doubled backslashes), and every ";MAPPING" line becomes ";".
QStringList importedBootLines(QStringList lines, qsizetype directoryLine, const QString& dataDirectoryForm);

// Every primary entry becomes a secondary entry of the given master: zone, three blanks, master, three blanks,
// file. The earlier secondary entries and the primary entries are gone.
void convertPrimariesToSecondaries(BootConfig& boot, const QString& master);
