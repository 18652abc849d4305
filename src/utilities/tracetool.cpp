#include "utilities/tracetool.h"

#include "net/hostlookup.h"
#include "platform/prompter.h"
#include "utilities/utilityformat.h"

TraceTool::TraceTool(Prompter& prompter, QObject* parent) : QObject(parent), m_prompter(prompter)
{
    m_area.setStatus(readyStatus());
    m_trace.setTimeout(5000);
    connect(&m_trace, &IcmpTrace::routeEvent, this, &TraceTool::onRouteEvent);
}

bool TraceTool::trace(const QString& host)
{
    if (m_trace.isRunning())
        return false;
    m_area.setBusy(true);
    m_area.setStatus(QStringLiteral("Processing..."));
    if (const auto error = m_trace.setHost(host)) {
        m_area.setStatus(readyStatus());
        m_area.setBusy(false);
        m_prompter.message(QStringLiteral("Error"), *error, Prompter::Button::Ok, Prompter::Icon::Critical);
        return false;
    }
    m_trace.run();
    m_area.setStatus(readyStatus());
    m_area.setBusy(false);
    return true;
}

void TraceTool::stop()
{
    m_trace.cancel();
    m_area.setBusy(false);
    m_area.setStatus(readyStatus());
}

void TraceTool::onRouteEvent(int hop, int milliseconds, quint32 address)
{
    const QString dotted = dottedAddress(address);
    m_area.addLine(traceLine(hop, milliseconds, dotted, reverseName(address)));
}
