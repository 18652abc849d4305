#pragma once

#include <QString>
#include <QStringList>

struct BootConfig;

// The comment line that names the maker, in both header layouts.
QString generatedByLine();

// The heading of the section that carries over the lines no test recognises, comments of a file written
// elsewhere among them.
QString otherEntriesHeading();

// The lines of the boot file in the program's layout. Primary and secondary entries are sorted without regard
// to case for the file only; the lists keep their order. Lines no test recognised follow the parameters in a
// section of their own, present only when there are such lines.
QStringList bootFileLines(const BootConfig& boot, const QString& operatingSystem);
