#include "utilities/fingertab.h"

#include "utilities/responseview.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

FingerTab::FingerTab(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_tool(prompter), m_label(new QLabel(this)), m_input(new QLineEdit(this)),
      m_find(new QPushButton(QStringLiteral("Find"), this)), m_response(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("fingertab"));
    m_label->setObjectName(QStringLiteral("fingerlabel"));
    m_input->setObjectName(QStringLiteral("fingerinput"));
    m_find->setObjectName(QStringLiteral("fingerfind"));
    m_response->setObjectName(QStringLiteral("fingerresponse"));
    makeResultArea(m_response, false);
    m_label->setBuddy(m_input);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label, 0, 0);
    layout->addWidget(m_input, 0, 1);
    layout->addWidget(m_find, 0, 2);
    layout->addWidget(m_response, 1, 0, 1, 3);

    bindResponseArea(m_tool.area(), m_response, m_label);
    connect(&m_tool, &FingerTool::beep, this, [] { QApplication::beep(); });
    connect(m_find, &QPushButton::clicked, this, &FingerTab::findClick);
    connect(m_input, &QLineEdit::returnPressed, this, &FingerTab::findClick);
}

void FingerTab::findClick()
{
    m_tool.find(m_input->text());
}
