#include "utilities/pingtool.h"

#include "platform/prompter.h"
#include "utilities/utilityformat.h"

PingTool::PingTool(Prompter& prompter, QObject* parent) : QObject(parent), m_prompter(prompter)
{
    m_area.setStatus(readyStatus());
    m_ping.setTimeout(5000);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, &m_ping, &IcmpPing::ping);
    connect(&m_ping, &IcmpPing::pingEvent, this, &PingTool::onPingEvent);
}

bool PingTool::ping(const QString& host, const QString& timesText)
{
    // The count decides when a run ends; one that is not a whole number would never end.
    const std::optional<int> times = wholeNumber(timesText);
    if (!times) {
        m_prompter.message(QStringLiteral("Attention!"), QStringLiteral("Times to Ping must be a whole number."));
        return false;
    }
    m_timer.stop();
    m_area.setStatus(QStringLiteral("Processing..."));
    if (const auto error = m_ping.setHost(host)) {
        m_area.setStatus(readyStatus());
        m_prompter.message(QStringLiteral("Error"), *error, Prompter::Button::Ok, Prompter::Icon::Critical);
        return false;
    }
    m_host = host;
    m_times = *times;
    m_area.clear();
    m_counter = 0;
    m_timer.start();
    return true;
}

void PingTool::stop()
{
    m_ping.cancel();
    m_timer.stop();
    m_area.setStatus(readyStatus());
    Q_EMIT finished();
}

void PingTool::onPingEvent(int status, int milliseconds, quint32 address)
{
    Q_UNUSED(address);
    ++m_counter;
    if (m_counter == m_times + 1) {
        stop();
        return;
    }
    m_area.addLine(pingLine(m_counter, status, m_host, milliseconds));
}
