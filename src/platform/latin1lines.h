#pragma once

#include "platform/filereading.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// The program's text files (boot files, zone files, profiles, name lists, command files) are read and written
// as bytes mapped one to one to characters (Latin-1), so that every byte a file holds comes back out unchanged.

// The lines of the bytes: LF ends a line and a CR just before it belongs to the line end, so that CR LF, LF and
// a missing final line end read alike.
QStringList latin1Lines(const QByteArray& bytes);

// The lines of a regular file of at most `limit` bytes (see ReadLimit); none, with the reason, when it is no such
// file or cannot be read.
std::optional<QStringList> readLatin1Lines(const QString& path, qint64 limit, QString* errorText = nullptr);

// The lines, each ended by CR LF. A character beyond Latin-1 cannot be written as one byte; it becomes a question
// mark.
QByteArray crlfLines(const QStringList& lines);

// How many bytes crlfLines makes of the lines.
qsizetype crlfSize(const QStringList& lines);

// Appends the line and its CR LF to bytes, as crlfLines writes it.
void appendCrlfLine(QByteArray& bytes, QStringView line);
