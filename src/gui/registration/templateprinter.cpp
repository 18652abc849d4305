#include "gui/registration/templateprinter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

bool printTemplateLines(QPrinter& printer, const QStringList& lines, const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The font is sized for the printer's resolution, not the screen's.
    const QFont printFont(font, &printer);
    painter.setFont(printFont);
    const QFontMetrics metrics(printFont, &printer);
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int y = metrics.ascent();
    for (const QString& line : lines) {
        if (y + metrics.descent() > pageHeight) {
            if (!printer.newPage())
                return false;
            y = metrics.ascent();
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    return painter.end();
}
