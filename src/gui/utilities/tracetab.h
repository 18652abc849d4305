#pragma once

#include "utilities/tracetool.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Trace Route" tab.
class TraceTab : public QWidget
{
    Q_OBJECT
public:
    TraceTab(Prompter& prompter, QWidget* parent = nullptr);

    TraceTool& tool() { return m_tool; }

private:
    void traceClick();

    TraceTool m_tool;
    QLabel* m_status;
    QLineEdit* m_host;
    QPlainTextEdit* m_result;
    QPushButton* m_trace;
    QPushButton* m_stop;
};
