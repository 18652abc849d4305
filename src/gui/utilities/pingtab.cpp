#include "gui/utilities/pingtab.h"

#include "gui/utilities/responseview.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

PingTab::PingTab(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_tool(prompter), m_status(new QLabel(this)), m_host(new QLineEdit(this)),
      m_times(new QLineEdit(QStringLiteral("10"), this)), m_result(new QPlainTextEdit(this)),
      m_ping(new QPushButton(QStringLiteral("Ping"), this)), m_stop(new QPushButton(QStringLiteral("Stop"), this))
{
    setObjectName(QStringLiteral("pingtab"));
    m_status->setObjectName(QStringLiteral("pingstatus"));
    m_host->setObjectName(QStringLiteral("pinghost"));
    m_times->setObjectName(QStringLiteral("timestoping"));
    m_result->setObjectName(QStringLiteral("pingresult"));
    m_ping->setObjectName(QStringLiteral("pingbutton"));
    m_stop->setObjectName(QStringLiteral("pingstop"));
    makeResultArea(m_result, true);

    auto* timesLabel = new QLabel(QStringLiteral("Times to Ping"), this);
    timesLabel->setBuddy(m_times);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_status, 0, 0, 1, 2);
    layout->addWidget(m_host, 1, 0, 1, 2);
    layout->addWidget(timesLabel, 2, 0);
    layout->addWidget(m_times, 2, 1);
    layout->addWidget(m_ping, 1, 2);
    layout->addWidget(m_stop, 2, 2);
    layout->addWidget(m_result, 3, 0, 1, 3);

    bindResponseArea(m_tool.area(), m_result, m_status);
    connect(m_ping, &QPushButton::clicked, this, &PingTab::pingClick);
    connect(m_stop, &QPushButton::clicked, &m_tool, &PingTool::stop);
}

void PingTab::pingClick()
{
    m_tool.ping(m_host->text(), m_times->text());
}
