#pragma once

#include "utilities/fingertool.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Finger" tab.
class FingerTab : public QWidget
{
    Q_OBJECT
public:
    FingerTab(Prompter& prompter, QWidget* parent = nullptr);

    FingerTool& tool() { return m_tool; }

private:
    void findClick();

    FingerTool m_tool;
    QLabel* m_label;
    QLineEdit* m_input;
    QPushButton* m_find;
    QPlainTextEdit* m_response;
};
