#include "net/icmptrace.h"

#include "net/hostlookup.h"

#include <QEventLoop>

IcmpTrace::IcmpTrace(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IcmpTrace::onTimeout);
    connect(&m_socket, &IcmpSocket::replied, this, &IcmpTrace::onReply);
}

std::optional<QString> IcmpTrace::setHost(const QString& host)
{
    const ResolvedHost resolved = resolveIpv4(host);
    if (!resolved.error.isEmpty())
        return resolved.error;
    if (auto error = m_socket.open())
        return error;
    m_address = resolved.address;
    return std::nullopt;
}

void IcmpTrace::start()
{
    if (m_running)
        return;
    m_running = true;
    m_hop = 0;
    sendProbe();
}

void IcmpTrace::run()
{
    QEventLoop loop;
    connect(this, &IcmpTrace::finished, &loop, &QEventLoop::quit);
    start();
    if (m_running)
        loop.exec();
}

void IcmpTrace::cancel()
{
    if (m_running)
        stop();
}

void IcmpTrace::sendProbe()
{
    ++m_hop;
    if (m_hop > maxHops) {
        stop();
        return;
    }
    ++m_sequence;
    m_waiting = true;
    m_sent.start();
    m_timer.start(m_timeoutMs);
    // A probe that cannot be sent is a silent hop: the time-out moves on to the next one.
    (void)m_socket.sendEcho(m_address, m_sequence, m_hop);
}

void IcmpTrace::onReply(const IcmpReply& reply)
{
    if (!m_running || !m_waiting || reply.sequence != m_sequence)
        return;
    if (reply.type == IcmpReply::EchoReply && reply.from != m_address)
        return;
    m_waiting = false;
    m_timer.stop();
    const int elapsed = int(m_sent.elapsed());
    Q_EMIT routeEvent(m_hop, elapsed, reply.from);
    if (!m_running)
        return; // cancelled while the event was handled
    // The host has answered, or a router says it cannot be reached: further hops would learn nothing.
    if (reply.type != IcmpReply::TimeExceeded)
        stop();
    else
        sendProbe();
}

void IcmpTrace::onTimeout()
{
    if (!m_running)
        return;
    m_waiting = false;
    sendProbe();
}

void IcmpTrace::stop()
{
    m_running = false;
    m_waiting = false;
    m_timer.stop();
    Q_EMIT finished();
}
