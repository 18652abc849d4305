#include "utilities/whoistab.h"

#include "shell/appstate.h"
#include "utilities/responseview.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

WhoisTab::WhoisTab(AppState& state, Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_state(state), m_tool(prompter, state.whoisserver), m_label(new QLabel(this)),
      m_input(new QLineEdit(this)), m_find(new QPushButton(QStringLiteral("Find"), this)),
      m_response(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("whoistab"));
    m_label->setObjectName(QStringLiteral("whoislabel"));
    m_input->setObjectName(QStringLiteral("whoisinput"));
    m_find->setObjectName(QStringLiteral("whoisfind"));
    m_response->setObjectName(QStringLiteral("whoisresponse"));
    makeResultArea(m_response, true);
    m_label->setBuddy(m_input);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_label, 0, 0);
    layout->addWidget(m_input, 0, 1);
    layout->addWidget(m_find, 0, 2);
    layout->addWidget(m_response, 1, 0, 1, 3);

    bindResponseArea(m_tool.area(), m_response, m_label);
    connect(&m_tool, &WhoisTool::beep, this, [] { QApplication::beep(); });
    connect(m_find, &QPushButton::clicked, this, &WhoisTab::findClick);
    connect(m_input, &QLineEdit::returnPressed, this, &WhoisTab::findClick);
}

void WhoisTab::findClick()
{
    // The settings may have named another server since the tab was made.
    m_tool.setServer(m_state.whoisserver);
    m_tool.find(m_input->text());
}
