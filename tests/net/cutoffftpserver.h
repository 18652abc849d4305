#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// An FTP server that stops half way: it logs anyone on, answers the commands a download needs, and after
// sending the first part of the file drops the data and the control connection, as a server that dies in the
// middle of a transfer does. It lives in the test's own thread; the client's waits let it run.
class CutOffFtpServer : public QObject
{
    Q_OBJECT
public:
    CutOffFtpServer(QByteArray file, qsizetype cutAfter, QObject* parent = nullptr);

    bool listen();
    int port() const;
    // The commands received, in order.
    const QStringList& commands() const { return m_commands; }

private:
    void acceptControl();
    void readCommands();
    void acceptData();
    void sendPart();
    void reply(const QByteArray& line);

    QByteArray m_file;
    qsizetype m_cutAfter;
    QTcpServer* m_control;
    QTcpServer* m_data;
    QTcpSocket* m_controlSocket = nullptr;
    QTcpSocket* m_dataSocket = nullptr;
    bool m_retrieving = false;
    QStringList m_commands;
};
