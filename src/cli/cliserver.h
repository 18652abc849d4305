#pragma once

#include <QString>

struct CliContext;

// Loads the server a command works on — a catalog name, or a boot file path named by --identity or by the
// catalog row of that path — as selecting it in the window loads it, with the platform values the window sets
// at its first showing. No automatic backup is made: loading is only the way to the server's files here, and
// a backup would overwrite the very copies a restore is about to bring back. The stored setting is kept.
// The server's lock is taken first and held by the context until the command ends; a server that another
// Quorvane is changing is not loaded.
bool loadServerForCommand(CliContext& cli, const QString& target);

// Records what the command has changed so far as its revision, before the command says it is done; false when the
// history could not record it (the failure is told as the command ends, and nothing may pass for saved).
bool changeRecorded(CliContext& cli);
