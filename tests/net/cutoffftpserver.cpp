#include "cutoffftpserver.h"

#include <QTcpServer>
#include <QTcpSocket>

CutOffFtpServer::CutOffFtpServer(QByteArray file, qsizetype cutAfter, QObject* parent)
    : QObject(parent), m_file(std::move(file)), m_cutAfter(cutAfter), m_control(new QTcpServer(this)),
      m_data(new QTcpServer(this))
{
    connect(m_control, &QTcpServer::newConnection, this, &CutOffFtpServer::acceptControl);
    connect(m_data, &QTcpServer::newConnection, this, &CutOffFtpServer::acceptData);
}

bool CutOffFtpServer::listen()
{
    return m_control->listen(QHostAddress::LocalHost, 0) && m_data->listen(QHostAddress::LocalHost, 0);
}

int CutOffFtpServer::port() const
{
    return m_control->serverPort();
}

void CutOffFtpServer::reply(const QByteArray& line)
{
    if (m_controlSocket)
        m_controlSocket->write(line + "\r\n");
}

void CutOffFtpServer::acceptControl()
{
    m_controlSocket = m_control->nextPendingConnection();
    connect(m_controlSocket, &QTcpSocket::readyRead, this, &CutOffFtpServer::readCommands);
    reply("220 Cut-off test server ready.");
}

void CutOffFtpServer::readCommands()
{
    while (m_controlSocket && m_controlSocket->canReadLine()) {
        const QByteArray line = m_controlSocket->readLine().trimmed();
        m_commands << QString::fromLatin1(line);
        const QByteArray verb = line.split(' ').value(0).toUpper();
        if (verb == "USER")
            reply("331 Please specify the password.");
        else if (verb == "PASS")
            reply("230 Login successful.");
        else if (verb == "PWD")
            reply("257 \"/\" is the current directory");
        else if (verb == "CWD")
            reply("250 Directory successfully changed.");
        else if (verb == "TYPE")
            reply("200 Type set.");
        else if (verb == "SIZE")
            reply("213 " + QByteArray::number(m_file.size()));
        else if (verb == "EPSV")
            reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(m_data->serverPort()) + "|)");
        else if (verb == "RETR") {
            reply("150 Opening ASCII mode data connection for named.root (" + QByteArray::number(m_file.size()) +
                  " bytes).");
            m_retrieving = true;
            sendPart();
        } else
            reply("502 Command not implemented.");
    }
}

void CutOffFtpServer::acceptData()
{
    m_dataSocket = m_data->nextPendingConnection();
    sendPart();
}

void CutOffFtpServer::sendPart()
{
    if (!m_retrieving || !m_dataSocket)
        return;
    m_retrieving = false;
    m_dataSocket->write(m_file.left(m_cutAfter));
    m_dataSocket->flush();
    m_dataSocket->disconnectFromHost();
    m_controlSocket->disconnectFromHost();
}
