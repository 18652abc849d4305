#include "gui/utilities/responseview.h"

#include "utilities/responsearea.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>

void bindResponseArea(ResponseArea& area, QPlainTextEdit* text, QLabel* status)
{
    status->setText(area.status());
    QObject::connect(&area, &ResponseArea::lineAdded, text, &QPlainTextEdit::appendPlainText);
    QObject::connect(&area, &ResponseArea::cleared, text, &QPlainTextEdit::clear);
    QObject::connect(&area, &ResponseArea::statusChanged, status, &QLabel::setText);
    QObject::connect(&area, &ResponseArea::busyChanged, text, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

void makeResultArea(QPlainTextEdit* text, bool readOnly)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    text->setFont(font);
    text->setReadOnly(readOnly);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}
