#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

// A one-query text server on 127.0.0.1: it records what a client sends and, once a line has come, answers
// with a fixed reply and closes the connection.
class LineServer : public QObject
{
    Q_OBJECT
public:
    explicit LineServer(QByteArray reply);
    quint16 port() const { return m_server.serverPort(); }
    QByteArray received() const { return m_received; }
    int connections() const { return m_connections; }

private:
    QTcpServer m_server;
    QByteArray m_reply;
    QByteArray m_received;
    int m_connections = 0;
};

// A listener whose accept queue is full: further connection attempts get no answer at all.
class SilentListener
{
public:
    SilentListener();
    ~SilentListener();
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    QTcpSocket m_filler;
};

// A port on 127.0.0.1 that refuses connections.
quint16 refusingPort();

// The real finger daemon behind inetd on a loopback port.
class FingerDaemon
{
public:
    FingerDaemon();
    ~FingerDaemon();
    static QString unavailableReason();
    bool start();
    quint16 port() const { return m_port; }
    // What the daemon answers to a query, read with a plain socket and split at its line ends.
    QStringList answer(const QByteArray& query);

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
