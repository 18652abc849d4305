#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The registration folders and lists all live in one fixed place, the per-user data folder, whatever folder
// the process happens to be in.

// The folder of a kind's files under the data folder; created when missing. Empty with the reason when it
// cannot be created.
QString kindFolder(const QString& dataPath, const QString& folderName, QString* errorText);

// Writes lines as Latin-1 text with CR LF line ends, replacing the file whole or leaving the old one as it
// was. False with the reason when the file cannot be written.
bool writeTextLines(const QString& path, const QStringList& lines, QString* errorText);

// Reads a text file's lines (CR LF, LF or no final line end alike); none when it cannot be read, with the
// reason when the file is there (no regular file, larger than a profile may be, unreadable).
std::optional<QStringList> readTextLines(const QString& path, QString* errorText = nullptr);

// The path of a name list in a folder: an existing file whose name matches without regard to case, or the
// name as given.
QString nameListPath(const QString& folder, const QString& fileName);
