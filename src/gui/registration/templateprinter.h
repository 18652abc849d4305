#pragma once

#include <QStringList>

class QFont;
class QPrinter;

// Prints text lines as they stand, one printed line per line, in the given font, starting a new page when
// one is full. False when the printer cannot be used.
bool printTemplateLines(QPrinter& printer, const QStringList& lines, const QFont& font);
