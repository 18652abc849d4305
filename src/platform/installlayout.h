#pragma once

#include <QString>

// Where the program's companions lie, found from the folder of the running program. The build tree is laid out
// like an installed tree (bin/, libexec/quorvane/, share/quorvane/), so one rule serves both, and an installed
// tree may be moved as a whole (a DESTDIR staging folder, a relocated prefix).
namespace installlayout {

// A helper program: libexec/quorvane beside the program's bin/, else beside the program itself, else on PATH.
// Empty when none is found.
QString helperProgram(const QString& programDir, const QString& name);

// A file of the program's shared data (share/quorvane/RELATIVE); empty when it is not there.
QString dataFile(const QString& programDir, const QString& relative);

} // namespace installlayout
