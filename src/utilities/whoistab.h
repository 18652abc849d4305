#pragma once

#include "utilities/whoistool.h"

#include <QWidget>

struct AppState;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Who IS?" tab; the server it asks is the one in the settings.
class WhoisTab : public QWidget
{
    Q_OBJECT
public:
    WhoisTab(AppState& state, Prompter& prompter, QWidget* parent = nullptr);

    WhoisTool& tool() { return m_tool; }

private:
    void findClick();

    AppState& m_state;
    WhoisTool m_tool;
    QLabel* m_label;
    QLineEdit* m_input;
    QPushButton* m_find;
    QPlainTextEdit* m_response;
};
