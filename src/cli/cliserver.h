#pragma once

#include <QString>

struct CliContext;

// Loads the server a command works on — a catalog name, or a boot file path named by --identity or by the
// catalog row of that path — as selecting it in the window loads it, with the platform values the window sets
// at its first showing. No automatic backup is made: loading is only the way to the server's files here, and
// a backup would overwrite the very copies a restore is about to bring back. The stored setting is kept.
bool loadServerForCommand(CliContext& cli, const QString& target);
