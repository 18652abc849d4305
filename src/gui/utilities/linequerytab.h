#pragma once

#include <QWidget>
#include <functional>

class LineQueryTool;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Finger" and "Who IS?" tabs: a line to type, "Find", and every line of the answer.
class LineQueryTab : public QWidget
{
    Q_OBJECT
public:
    // The name begins the object names of the tab and its controls ("finger": "fingertab", "fingerinput", ...);
    // the tab keeps the tool. What `prepare` does runs before each query.
    LineQueryTab(const QString& name, LineQueryTool* tool, bool readOnlyAnswer, std::function<void()> prepare,
                 QWidget* parent = nullptr);

    LineQueryTool& tool() { return *m_tool; }

private:
    void findClick();

    LineQueryTool* m_tool;
    std::function<void()> m_prepare;
    QLabel* m_label;
    QLineEdit* m_input;
    QPushButton* m_find;
    QPlainTextEdit* m_response;
};
