#include "utilities/utilitiespage.h"

#include "utilities/fingertab.h"
#include "utilities/nslookuptab.h"
#include "utilities/pingtab.h"
#include "utilities/tracetab.h"
#include "utilities/whoistab.h"

#include <QTabWidget>
#include <QVBoxLayout>

UtilitiesPage::UtilitiesPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent)
    : QWidget(parent), m_tabs(new QTabWidget(this)), m_finger(new FingerTab(prompter, m_tabs)),
      m_trace(new TraceTab(prompter, m_tabs)), m_nsLookup(new NsLookupTab(prompter, platform, m_tabs)),
      m_ping(new PingTab(prompter, m_tabs)), m_whois(new WhoisTab(state, prompter, m_tabs))
{
    setObjectName(QStringLiteral("utilities"));
    m_tabs->setObjectName(QStringLiteral("utilitytabs"));
    m_tabs->addTab(m_finger, QStringLiteral("Finger"));
    m_tabs->addTab(m_trace, QStringLiteral("Trace Route"));
    m_tabs->addTab(m_nsLookup, QStringLiteral("NS LookUp"));
    m_tabs->addTab(m_ping, QStringLiteral("Ping"));
    m_tabs->addTab(m_whois, QStringLiteral("Who IS?"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
}
