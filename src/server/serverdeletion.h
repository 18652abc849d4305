#pragma once

#include "session/servercontext.h"

#include <QString>
#include <QStringList>
#include <optional>

// Removes one server: its boot file and the files of its data directory (files only; links are removed as
// links, links to folders stay like folders), then its catalog entry, and unloads it when it is the loaded one.
// Files another server of the catalog still uses are kept, with a message. With `confirm` the user is first
// shown the files that will go and may say no, which leaves every file and the catalog as they were; the
// command line's delete is an explicit request and does without. False when the user said no, and false, with
// a message and nothing deleted, while another Quorvane is changing the server.
bool deleteServer(ServerContext& context, const QString& bootFilePath, const QString& identifier, bool loaded,
                  bool confirm = false);

// "Delete" of the delete dialog with the selected display name (none without a selection); `boxText` is the
// server selection box's text, which names the loaded server. True when the server was deleted and the dialog
// closes.
bool deleteSelectedServer(ServerContext& context, const std::optional<QString>& selectedName, const QString& boxText,
                          bool confirm = false);

// Back to the not-loaded state: every list the loading filled is emptied and the server commands go off.
void unloadServer(ServerContext& context);

// Deletes the files of a folder, not its subfolders, and never anything a link points to; the files named in
// `keep` (absolute paths) stay. The names that could not be deleted.
QStringList deleteFilesOfFolder(const QString& folder, const QStringList& keep = {});
// The files (absolute paths, by name) that deleteFilesOfFolder would delete.
QStringList filesOfFolderToDelete(const QString& folder, const QStringList& keep = {});
