#pragma once

class QDialog;
class QString;
class QWidget;

// The window a dialog raised now belongs to: the modal window in front (an editor, a wizard, another box), else
// the active ordinary window, else the fallback's window. Never a hidden window, never a tool window such as a
// progress display, so that the dialog opens in front of what the user is working in and can be answered.
QWidget* dialogParent(QWidget* fallback);

// Runs a dialog that lives for the whole run modally in front of the window that raises it, and gives it back to
// its owner afterwards, so that ownership never follows a window that may go away first.
int execInFront(QDialog& dialog);

// The width a window needs for its whole caption to fit in the title bar beside the window buttons.
int captionWidth(const QString& caption);
// Widens a dialog to that width.
void fitCaption(QDialog& dialog);
