#pragma once

#include "zone/zonecontext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Zone files are read and written as bytes mapped one to one to characters, so that every byte a file holds
// comes back out unchanged.

// The lines of a text: CR LF, a lone LF and a lone CR each end a line, and a last line without a line end
// counts as a line.
QStringList splitTextLines(const QByteArray& bytes);

// The bytes of a regular file; none when it cannot be read.
std::optional<QByteArray> readFileBytes(const QString& path);

// The lines of a file; none when it cannot be read.
std::optional<QStringList> readTextFile(const QString& path);

// The path of a zone file of the data directory. The server's lists hold file names in lower case, as the boot
// files were written where names match without regard to case; a file on disk in another case is found too.
QString zoneFilePath(const QString& datapath, const QString& fileName);

// The lines, each ended by CR LF.
QByteArray crlfBytes(const QStringList& lines);

// Replaces the file with the bytes only when all of them could be written, so that a failing write leaves the
// old file whole.
FileWriteResult replaceFile(const QString& path, const QByteArray& bytes);
