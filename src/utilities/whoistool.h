#pragma once

#include "net/tcplineclient.h"
#include "utilities/responsearea.h"

#include <QObject>

class Prompter;

// The "Who IS?" tab's logic: one name sent to the registry's WHOIS service and every line of its answer.
class WhoisTool : public QObject
{
    Q_OBJECT
public:
    static constexpr quint16 whoisPort = 43;
    static constexpr int connectTimeoutMs = 15000;

    WhoisTool(Prompter& prompter, const QString& server, QObject* parent = nullptr);

    void setServer(const QString& server) { m_server = server; }
    QString server() const { return m_server; }
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
    void onData(const QString& line);
    void onError(int code, const QString& description);
    void finishFind();

    Prompter& m_prompter;
    TcpLineClient m_client;
    ResponseArea m_area;
    QString m_server;
    quint16 m_port = whoisPort;
    int m_timeoutMs = connectTimeoutMs;
    bool m_finding = false;
    bool m_connectFailed = false;
    bool m_reached = false;
};
