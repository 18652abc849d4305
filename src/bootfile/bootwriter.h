#pragma once

#include <QString>
#include <QStringList>

struct AppState;
struct BootConfig;
class Progress;

struct BootWriteResult
{
    bool ok = true;
    QString errorText; // why the file could not be written
};

// The comment line that names the maker, in both header layouts.
QString generatedByLine();

// The heading of the section that carries over the lines no test recognises, comments of a file written
// elsewhere among them.
QString otherEntriesHeading();

// The lines of the boot file in the program's layout. Primary and secondary entries are sorted without regard
// to case for the file only; the lists keep their order. Lines no test recognised follow the parameters in a
// section of their own, present only when there are such lines.
QStringList bootFileLines(const BootConfig& boot, const QString& operatingSystem);

// Writes the loaded server's "named.boot" into its boot directory under the server's lock, replacing the file
// only when the whole new file could be written, and only when it is still the file that was read. A progress
// window the caller shows is finished and hidden.
BootWriteResult writeBootFile(AppState& state, Progress* shownProgress = nullptr);
