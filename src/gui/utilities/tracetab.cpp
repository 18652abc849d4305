#include "gui/utilities/tracetab.h"

#include "gui/utilities/responseview.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TraceTab::TraceTab(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_tool(prompter), m_status(new QLabel(this)), m_host(new QLineEdit(this)),
      m_result(new QPlainTextEdit(this)), m_trace(new QPushButton(QStringLiteral("Trace"), this)),
      m_stop(new QPushButton(QStringLiteral("Stop"), this))
{
    setObjectName(QStringLiteral("tracetab"));
    m_status->setObjectName(QStringLiteral("tracestatus"));
    m_host->setObjectName(QStringLiteral("tracehost"));
    m_result->setObjectName(QStringLiteral("traceresult"));
    m_trace->setObjectName(QStringLiteral("tracebutton"));
    m_stop->setObjectName(QStringLiteral("tracestop"));
    makeResultArea(m_result, false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_status, 0, 0, 1, 3);
    layout->addWidget(m_host, 1, 0);
    layout->addWidget(m_trace, 1, 1);
    layout->addWidget(m_stop, 1, 2);
    layout->addWidget(m_result, 2, 0, 1, 3);

    bindResponseArea(m_tool.area(), m_result, m_status);
    connect(m_trace, &QPushButton::clicked, this, &TraceTab::traceClick);
    connect(m_stop, &QPushButton::clicked, &m_tool, &TraceTool::stop);
}

void TraceTab::traceClick()
{
    m_tool.trace(m_host->text());
}
