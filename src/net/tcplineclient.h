#pragma once

#include "net/linesplitter.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <optional>

// A TCP client for line-oriented text protocols: it connects in the background, delivers what arrives one line at
// a time, split at a delimiter of the caller's choice, and reports the connection's outcome as an event.
// Misuse the caller can get wrong (no host, sending while not connected) comes back as an error value. What a
// peer sends is held to the line splitter's limits: past the answer's limit the connection is dropped.
class TcpLineClient : public QObject
{
    Q_OBJECT
public:
    explicit TcpLineClient(QObject* parent = nullptr);
    ~TcpLineClient() override;

    void setRemoteHost(const QString& host) { m_host = host; }
    QString remoteHost() const { return m_host; }
    void setRemotePort(quint16 port) { m_port = port; }
    quint16 remotePort() const { return m_port; }
    void setLineDelimiter(const QByteArray& delimiter) { m_splitter.setDelimiter(delimiter); }
    QByteArray lineDelimiter() const { return m_splitter.delimiter(); }

    // Starts connecting; the connected event tells how it went.
    std::optional<QString> connectToRemote();
    // Drops the connection, handing on a last line that had no delimiter yet.
    void disconnectFromRemote();
    bool isConnected() const;
    bool isConnecting() const;
    // True while a connection is up or being made.
    bool isOpen() const;

    std::optional<QString> send(const QByteArray& text);

    // Let events run until the connection is up (true), the attempt failed, or the time is over (false).
    bool waitForConnection(int timeoutMs);
    // Let events run until the peer has closed the connection (true) or the time is over (false).
    bool waitForClose(int timeoutMs);

Q_SIGNALS:
    // status 0 on success; otherwise the socket's error code plus one, and its description.
    void connectedEvent(int status, const QString& description);
    void dataIn(const QString& line);
    void errorEvent(int code, const QString& description);
    // The answer reached its limit: the connection was dropped and the rest not read.
    void answerCut(const QString& description);
    void closed();

private:
    void onConnected();
    void onReadyRead();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void onDisconnected();
    void deliver(const QStringList& lines);
    void flushRest();

    QString m_host;
    quint16 m_port = 0;
    LineSplitter m_splitter;
    bool m_wasConnected = false;
    // Last, so that it goes first: its destructor still emits signals, which must find the rest whole.
    QTcpSocket m_socket;
};
