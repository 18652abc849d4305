#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Text helpers shared by the boot file's reader, writer and the deletion of a server. Boot files written by
// hand separate their fields with tabs as often as with blanks, so every keyword test and field split treats a
// tab as a blank.

// The line with each tab turned into a blank.
QString blanksForTabs(const QString& line);
// The fields of a line, split at runs of blanks or tabs.
QStringList fieldsOf(const QString& line);
// The text from the field with the 0-based index on, to the end of the line; empty when there is no such field.
QString textFromField(const QString& line, int index);
// The text after the first field and the blanks that follow it.
QString textAfterFirstField(const QString& line);
// The text after the first blank and the blanks that follow it.
QString textAfterFirstBlank(const QString& line);
// Paths inside the boot file carry doubled backslashes, paths in memory single ones.
QString singleBackslashes(QString text);
QString doubledBackslashes(QString text);
// The part of a server identifier before "@"; the whole text when it has none.
QString displayNameOf(const QString& identifier);

// The lines of a boot file read as Latin-1, so every byte comes back unchanged; CR LF, LF and a missing final
// line end read alike. None when the path is not a readable regular file of a boot file's size at most.
std::optional<QStringList> readLatin1Lines(const QString& path, QString* errorText = nullptr);
// The lines as Latin-1 bytes, each ended by CR LF.
QByteArray crlfLines(const QStringList& lines);
