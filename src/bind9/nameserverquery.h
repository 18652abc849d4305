#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

// One query for the SOA record of a zone, sent to a name server over UDP and sent again once when half the time
// passed without a reply. Any reply counts, a refusal of the zone too; a port nobody listens on, or silence until
// the time is up, does not. Nothing waits: the answer comes as a signal.
class NameServerQuery : public QObject
{
    Q_OBJECT
public:
    explicit NameServerQuery(QObject* parent = nullptr);

    void ask(const QString& address, int port, const QString& zone, int timeoutMs);

Q_SIGNALS:
    void finished(bool answered);

private:
    void send();
    void readReplies();
    void finish(bool answered);

    QUdpSocket m_socket;
    QTimer m_timer;
    QByteArray m_query;
    quint16 m_id = 0;
    int m_sent = 0;
    bool m_done = false;
};
