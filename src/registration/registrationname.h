#pragma once

#include <QString>
#include <optional>

// Registration names become file names ("example.com.ini", "example.com.txt"), so a name that could lead
// outside its folder, or that a file system or the Latin-1 name lists cannot hold, is refused. Returns what is
// wrong with the name, or none when it can be used.
std::optional<QString> unsafeNameReason(const QString& name);

// The refusal as the user reads it.
QString unsafeNameMessage(const QString& name, const QString& reason);
