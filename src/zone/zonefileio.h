#pragma once

#include "platform/filereplacement.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Zone files are read and written as bytes mapped one to one to characters, so that every byte a file holds
// comes back out unchanged.

// The lines of a text: CR LF, a lone LF and a lone CR each end a line, and a last line without a line end
// counts as a line.
QStringList splitTextLines(const QByteArray& bytes);

// The bytes of a regular file of at most a zone file's size; none when it cannot be read (or is no regular file).
// A file larger than a zone file may be gives the reason in `refusal`.
std::optional<QByteArray> readFileBytes(const QString& path, QString* refusal = nullptr);

// The lines of such a file; none when it cannot be read, as above.
std::optional<QStringList> readTextFile(const QString& path, QString* refusal = nullptr);

// The path of a zone file of the data directory. The server's lists hold file names in lower case, as the boot
// files were written where names match without regard to case; a file on disk in another case is found too.
QString zoneFilePath(const QString& datapath, const QString& fileName);
