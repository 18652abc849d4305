#pragma once

#include "net/tcplineclient.h"
#include "utilities/responsearea.h"

#include <QObject>

class Prompter;

// The "Finger" tab's logic: one query line to a host's finger service and every line of its answer.
class FingerTool : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 fingerPort = 79;
    static constexpr int connectTimeoutMs = 15000;

    explicit FingerTool(Prompter& prompter, QObject* parent = nullptr);

    // The protocol's port unless a test or an unusual server needs another.
    void setPort(quint16 port) { m_port = port; }
    void setConnectTimeout(int milliseconds) { m_timeoutMs = milliseconds; }

    void find(const QString& input);
    // Whether the last query reached its server.
    bool reached() const { return m_reached; }

    ResponseArea& area() { return m_area; }
    TcpLineClient& client() { return m_client; }

Q_SIGNALS:
    void beep();

private:
    void onConnected(int status, const QString& description);
    void finishFind();

    Prompter& m_prompter;
    TcpLineClient m_client;
    ResponseArea m_area;
    quint16 m_port = fingerPort;
    int m_timeoutMs = connectTimeoutMs;
    bool m_finding = false;
    bool m_connectFailed = false;
    bool m_reached = false;
};
