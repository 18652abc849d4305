#include "utilities/whoistool.h"

#include "platform/prompter.h"

WhoisTool::WhoisTool(Prompter& prompter, const QString& server, QObject* parent)
    : LineQueryTool(prompter, QStringLiteral("Name to Lookup"), whoisPort, parent), m_server(server)
{
    connect(&m_client, &TcpLineClient::connectedEvent, this, &WhoisTool::onConnected);
    connect(&m_client, &TcpLineClient::dataIn, this, &WhoisTool::onData);
    connect(&m_client, &TcpLineClient::errorEvent, this, &WhoisTool::onError);
}

void WhoisTool::find(const QString& input)
{
    if (!beginFind(input))
        return;
    m_client.setLineDelimiter("\n");
    if (m_client.isOpen())
        m_client.disconnectFromRemote();

    m_area.clear();
    m_area.addLine(QStringLiteral("Looking up host ") + m_server + QStringLiteral("..."));
    m_client.setRemoteHost(m_server);
    m_client.setRemotePort(m_port);
    m_area.addLine(QStringLiteral("Connecting to ") + m_client.remoteHost() + QStringLiteral(" ..."));
    connectAndSend(input.toLatin1() + "\r\n");
}

void WhoisTool::onConnected(int status, const QString& description)
{
    if (status == 0)
        return;
    noteConnectFailure(description);
}

void WhoisTool::onData(const QString& line)
{
    // Lines are split at the line feed; most servers end them with a carriage return as well, which is no part
    // of the text.
    m_area.addLine(line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
}

void WhoisTool::onError(int code, const QString& description)
{
    m_prompter.message(QStringLiteral("Error"),
                       QStringLiteral("TCP line client error ") + QString::number(code) + QStringLiteral(": ") +
                           description,
                       Prompter::Button::Ok, Prompter::Icon::Critical);
}
