#pragma once

class QLabel;
class QPlainTextEdit;
class ResponseArea;

// Shows a utility's lines in its text area and its status in its label, with the hourglass while it works.
void bindResponseArea(ResponseArea& area, QPlainTextEdit* text, QLabel* status);

// The fixed-pitch result area with both scroll bars.
void makeResultArea(QPlainTextEdit* text, bool readOnly);
