#include "gui/utilities/utilitiespage.h"

#include "gui/utilities/linequerytab.h"
#include "gui/utilities/nslookuptab.h"
#include "gui/utilities/pingtab.h"
#include "gui/utilities/tracetab.h"
#include "session/appstate.h"
#include "utilities/fingertool.h"
#include "utilities/whoistool.h"

#include <QTabWidget>
#include <QVBoxLayout>

UtilitiesPage::UtilitiesPage(AppState& state, Prompter& prompter, Platform& platform, QWidget* parent)
    : QWidget(parent), m_tabs(new QTabWidget(this)),
      m_finger(new LineQueryTab(QStringLiteral("finger"), new FingerTool(prompter), false, {}, m_tabs)),
      m_trace(new TraceTab(prompter, m_tabs)), m_nsLookup(new NsLookupTab(prompter, platform, m_tabs)),
      m_ping(new PingTab(prompter, m_tabs))
{
    auto* whois = new WhoisTool(prompter, state.whoisserver);
    // The settings may have named another server since the tab was made.
    m_whois = new LineQueryTab(
        QStringLiteral("whois"), whois, true, [&state, whois] { whois->setServer(state.whoisserver); }, m_tabs);
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
