#pragma once

#include "net/icmpsocket.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class QTimer;

// Echo requests to one host, one per call, each answered by a ping event: the reply, an error message from the
// way, or the time-out.
class IcmpPing : public QObject
{
    Q_OBJECT
public:
    enum Status
    {
        Success = 0,
        TimedOut = 1,
        Unreachable = 2,
        TtlExpired = 3,
        SendFailed = 4
    };

    explicit IcmpPing(QObject* parent = nullptr);

    void setTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int timeout() const { return m_timeoutMs; }

    // Resolves the host and opens the socket; a failure comes back as its description.
    std::optional<QString> setHost(const QString& host);
    quint32 address() const { return m_address; }

    void ping();
    // No further request is sent and no further event comes until the next setHost.
    void cancel();

Q_SIGNALS:
    void pingEvent(int status, int milliseconds, quint32 address);

private:
    struct Pending
    {
        QElapsedTimer sent;
        QTimer* timer = nullptr;
    };

    void onReply(const IcmpReply& reply);
    void finish(quint16 sequence, int status, quint32 from);

    IcmpSocket m_socket;
    quint32 m_address = 0;
    bool m_active = false;
    quint16 m_sequence = 0;
    int m_timeoutMs = 5000;
    QHash<quint16, Pending> m_pending;
};
