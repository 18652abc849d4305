#pragma once

#include <QString>

// Changes to the text of a configuration file, one statement at a time; every other byte stays as it was.

// The text without the span from `begin` to `end` (a statement with its ";"). Where the span was all its lines
// held but blanks, the lines go too.
QString withoutSpan(const QString& text, qsizetype begin, qsizetype end);

// The text with the span replaced.
QString withSpan(const QString& text, qsizetype begin, qsizetype end, const QString& replacement);

// The text with a line added at its end (after a line end of the file's own kind, added when the last line has
// none), and the number the new line gets.
QString withLineAdded(const QString& text, const QString& line, int* lineNumber = nullptr);

// The text with a line put before the "}" that closes a block at `blockEnd` (the position after the "}"), indented
// one step deeper than the line the block opens on; the number the new line gets.
QString withLineInBlock(const QString& text, qsizetype blockEnd, const QString& line, int* lineNumber = nullptr);
