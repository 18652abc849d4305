#include "net/icmpping.h"

#include "net/hostlookup.h"

#include <QTimer>

IcmpPing::IcmpPing(QObject* parent) : QObject(parent)
{
    connect(&m_socket, &IcmpSocket::replied, this, &IcmpPing::onReply);
}

std::optional<QString> IcmpPing::setHost(const QString& host)
{
    cancel();
    const ResolvedHost resolved = resolveIpv4(host);
    if (!resolved.error.isEmpty())
        return resolved.error;
    if (auto error = m_socket.open())
        return error;
    m_address = resolved.address;
    m_active = true;
    return std::nullopt;
}

void IcmpPing::ping()
{
    if (!m_active)
        return;
    const quint16 sequence = ++m_sequence;
    Pending& pending = m_pending[sequence];
    pending.sent.start();
    pending.timer = new QTimer(this);
    pending.timer->setSingleShot(true);
    connect(pending.timer, &QTimer::timeout, this, [this, sequence] { finish(sequence, TimedOut, m_address); });
    pending.timer->start(m_timeoutMs);
    if (m_socket.sendEcho(m_address, sequence, 64))
        finish(sequence, SendFailed, m_address);
}

void IcmpPing::cancel()
{
    m_active = false;
    for (const Pending& pending : std::as_const(m_pending))
        pending.timer->deleteLater();
    m_pending.clear();
}

void IcmpPing::onReply(const IcmpReply& reply)
{
    if (!m_pending.contains(reply.sequence))
        return;
    if (reply.type == IcmpReply::EchoReply) {
        if (reply.from == m_address)
            finish(reply.sequence, Success, reply.from);
        return;
    }
    finish(reply.sequence, reply.type == IcmpReply::TimeExceeded ? TtlExpired : Unreachable, reply.from);
}

void IcmpPing::finish(quint16 sequence, int status, quint32 from)
{
    const auto found = m_pending.find(sequence);
    if (found == m_pending.end())
        return;
    const int elapsed = int(found->sent.elapsed());
    found->timer->deleteLater();
    m_pending.erase(found);
    Q_EMIT pingEvent(status, elapsed, from);
}
