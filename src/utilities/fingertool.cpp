#include "utilities/fingertool.h"

#include "utilities/utilityformat.h"

#include <QCoreApplication>

FingerTool::FingerTool(Prompter& prompter, QObject* parent)
    : LineQueryTool(prompter, QStringLiteral("Username@Host:"), fingerPort, parent)
{
    connect(&m_client, &TcpLineClient::connectedEvent, this, &FingerTool::onConnected);
    connect(&m_client, &TcpLineClient::dataIn, &m_area, &ResponseArea::addLine);
}

void FingerTool::find(const QString& input)
{
    if (!beginFind(input))
        return;
    m_client.setLineDelimiter("\r\n");
    m_client.disconnectFromRemote();

    const FingerTarget target = splitFingerInput(input);
    m_area.addLine(QStringLiteral("Requesting ") + target.host + QStringLiteral("..."));
    QCoreApplication::processEvents();

    m_client.setRemoteHost(target.host);
    m_client.setRemotePort(m_port);
    m_area.addLine(QStringLiteral("Connecting to ") + m_client.remoteHost() +
                   QStringLiteral("...   Will time out in ") + QString::number(connectTimeout() / 1000) +
                   QStringLiteral(" seconds"));
    connectAndSend(target.user.toLatin1() + "\r\n");
}

void FingerTool::onConnected(int status, const QString& description)
{
    m_area.clear();
    if (status == 0) {
        m_area.addLine(QStringLiteral("Connected. Waiting for data..."));
        m_area.addLine(QString());
        return;
    }
    noteConnectFailure(description);
}
