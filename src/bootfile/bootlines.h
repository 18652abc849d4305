#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class DriveTable;

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

// The local path of a boot file path that may name a drive letter; none when it is blank or its drive has no
// folder here.
std::optional<QString> localBootFilePath(const QString& bootFilePath, const DriveTable& drives);

// The directory of the boot file, with its trailing separator: the server's Windows directory.
QString windowsDirectory(const QString& bootFilePath);
