#pragma once

#include "net/icmpsocket.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

// The routers on the way to a host: echo requests with a hop limit growing from 1, each answering router (and at
// last the host itself) reported by a route event. Hops that stay silent until the time-out report nothing.
class IcmpTrace : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxHops = 255;

    explicit IcmpTrace(QObject* parent = nullptr);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    // Resolves the host and opens the socket; a failure comes back as its description.
    std::optional<QString> setHost(const QString& host);
    quint32 address() const { return m_address; }

    void start();
    // Starts and lets events run until the trace has ended.
    void run();
    void cancel();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void routeEvent(int hop, int milliseconds, quint32 address);
    void finished();

private:
    void sendProbe();
    void onReply(const IcmpReply& reply);
    void onTimeout();
    void stop();

    IcmpSocket m_socket;
    QTimer m_timer;
    QElapsedTimer m_sent;
    quint32 m_address = 0;
    int m_hop = 0;
    quint16 m_sequence = 0;
    bool m_waiting = false;
    bool m_running = false;
    int m_timeoutMs = 5000;
};
