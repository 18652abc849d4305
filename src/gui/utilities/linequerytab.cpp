#include "gui/utilities/linequerytab.h"

#include "gui/utilities/responseview.h"
#include "utilities/linequerytool.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

LineQueryTab::LineQueryTab(const QString& name, LineQueryTool* tool, bool readOnlyAnswer, std::function<void()> prepare,
                           QWidget* parent)
    : QWidget(parent), m_tool(tool), m_prepare(std::move(prepare)), m_label(new QLabel(this)),
      m_input(new QLineEdit(this)), m_find(new QPushButton(QStringLiteral("Find"), this)),
      m_response(new QPlainTextEdit(this))
{
    m_tool->setParent(this);
    setObjectName(name + QStringLiteral("tab"));
    m_label->setObjectName(name + QStringLiteral("label"));
    m_input->setObjectName(name + QStringLiteral("input"));
    m_find->setObjectName(name + QStringLiteral("find"));
    m_response->setObjectName(name + QStringLiteral("response"));
    makeResultArea(m_response, readOnlyAnswer);
    m_label->setBuddy(m_input);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label, 0, 0);
    layout->addWidget(m_input, 0, 1);
    layout->addWidget(m_find, 0, 2);
    layout->addWidget(m_response, 1, 0, 1, 3);

    bindResponseArea(m_tool->area(), m_response, m_label);
    connect(m_tool, &LineQueryTool::beep, this, [] { QApplication::beep(); });
    connect(m_find, &QPushButton::clicked, this, &LineQueryTab::findClick);
    connect(m_input, &QLineEdit::returnPressed, this, &LineQueryTab::findClick);
}

void LineQueryTab::findClick()
{
    if (m_prepare)
        m_prepare();
    m_tool->find(m_input->text());
}
