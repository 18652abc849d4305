#pragma once

#include "utilities/pingtool.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Ping" tab.
class PingTab : public QWidget
{
    Q_OBJECT
public:
    PingTab(Prompter& prompter, QWidget* parent = nullptr);

    PingTool& tool() { return m_tool; }

private:
    void pingClick();

    PingTool m_tool;
    QLabel* m_status;
    QLineEdit* m_host;
    QLineEdit* m_times;
    QPlainTextEdit* m_result;
    QPushButton* m_ping;
    QPushButton* m_stop;
};
