#pragma once

#include "net/tcplineclient.h"
#include "utilities/responsearea.h"

#include <QObject>

class Prompter;

// What the finger and WHOIS tabs share: one query line sent over a fresh connection, every answer line shown,
// a refused connection said in the response area and a silent one ended by the time-out box.
class LineQueryTool : public QObject
{
    Q_OBJECT
public:
    static constexpr int connectTimeoutMs = 15000;

    // The protocol's port unless a test or an unusual server needs another.
    void setPort(quint16 port) { m_port = port; }
    void setConnectTimeout(int milliseconds) { m_timeoutMs = milliseconds; }
    int connectTimeout() const { return m_timeoutMs; }

    // Sends the typed line to the service and shows its answer.
    virtual void find(const QString& input) = 0;

    // Whether the last query reached its server.
    bool reached() const { return m_reached; }

    enum class AnswerEnd
    {
        Closed,   // the server sent its answer and closed the connection
        TimedOut, // the server fell silent for too long, or took too long in all (the time-out box was shown)
        Cut,      // the answer passed its limit and the rest was not read (said in a box)
    };
    // Lets the answer of a query that reached its server come in until the server closes the connection. The
    // windows leave that to the server; a command that prints the answer must end, so silence for idleMs or
    // more than totalMs in all ends in the time-out, with what arrived kept.
    AnswerEnd awaitAnswer(int idleMs, int totalMs);

    ResponseArea& area() { return m_area; }
    TcpLineClient& client() { return m_client; }

Q_SIGNALS:
    void beep();

protected:
    LineQueryTool(Prompter& prompter, QString readyText, quint16 port, QObject* parent);

    // Starts a query; false when one is still running or there is nothing to ask (which beeps).
    bool beginFind(const QString& input);
    // Connects to the client's remote host, sends the query once connected, and ends the query.
    void connectAndSend(const QByteArray& query);
    void noteConnectFailure(const QString& description);

    Prompter& m_prompter;
    TcpLineClient m_client;
    ResponseArea m_area;
    quint16 m_port;

private:
    void finishFind();
    void noteCut(const QString& description);

    QString m_readyText;
    int m_timeoutMs = connectTimeoutMs;
    bool m_finding = false;
    bool m_connectFailed = false;
    bool m_reached = false;
    bool m_cut = false;
};
