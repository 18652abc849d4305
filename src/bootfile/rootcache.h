#pragma once

#include <QString>

class FileNameIndex;

// Makes sure the data directory holds "cache.dns", the root cache file the boot file names after every write.
// An existing "cache.dns" is kept; otherwise the file the cache line named is copied when it exists, so the
// server's root hints survive the rename; otherwise the held root cache text is written. False with the reason
// when the file cannot be made.
bool ensureRootCache(const FileNameIndex& dataFiles, const QString& namedCacheFile, const QString& rootCacheText,
                     QString* errorText);

// The held root cache text as file content: its lines ended by CR LF.
QByteArray rootCacheBytes(const QString& rootCacheText);
