#pragma once

#include <QString>
#include <QStringList>

class Progress;
class Prompter;

// Copies the data files (names of files in the data directory, found in any case) and the boot file into the
// backup folder, over the previous copies; each copy keeps its file's permissions. Only files whose bytes differ
// from their copy are written, and they are forced onto the disk once at the end; the copying lets the window
// go on every few hundredths of a second. The completion box comes only when automatic backup is off; a copy
// that fails is always reported with the names of the files concerned. False when anything failed.
bool backupServer(const QString& dataDirectory, const QStringList& dataFiles, const QString& bootFilePath,
                  bool autoBackup, Progress& progress, Prompter& prompter);

// Copies the zone files ("*.DNS" in any case), "cache.dns" and the boot file back from the backup folder: the
// zone files into the data directory, the boot file into the directory of its registered path, each keeping its
// permissions. As the backup, it writes only files whose bytes differ and lets the window go on. False when
// there is no backup or anything failed.
bool restoreServer(const QString& dataDirectory, const QString& bootFilePath, Progress& progress, Prompter& prompter);
