#include "utilities/whoistool.h"

#include "platform/prompter.h"

namespace {

const QString kReady = QStringLiteral("Name to Lookup");

} // namespace

WhoisTool::WhoisTool(Prompter& prompter, const QString& server, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_server(server)
{
    m_area.setStatus(kReady);
    connect(&m_client, &TcpLineClient::connectedEvent, this, &WhoisTool::onConnected);
    connect(&m_client, &TcpLineClient::dataIn, this, &WhoisTool::onData);
    connect(&m_client, &TcpLineClient::errorEvent, this, &WhoisTool::onError);
}

void WhoisTool::find(const QString& input)
{
    // A second query while the first still waits for its connection would tear that one down under it.
    if (m_finding)
        return;
    m_finding = true;
    m_reached = false;
    m_area.setBusy(true);
    m_area.setStatus(QStringLiteral("Processing..."));
    if (input.isEmpty()) {
        Q_EMIT beep();
        finishFind();
        return;
    }
    m_client.setLineDelimiter("\n");
    if (m_client.isOpen())
        m_client.disconnectFromRemote();

    m_area.clear();
    m_area.addLine(QStringLiteral("Looking up host ") + m_server + QStringLiteral("..."));
    m_client.setRemoteHost(m_server);
    m_client.setRemotePort(m_port);
    m_area.addLine(QStringLiteral("Connecting to ") + m_client.remoteHost() + QStringLiteral(" ..."));

    m_connectFailed = false;
    if (const auto error = m_client.connectToRemote()) {
        m_area.addLine(QStringLiteral("Exception: ") + *error);
        finishFind();
        return;
    }
    if (m_client.waitForConnection(m_timeoutMs)) {
        m_reached = true;
        if (const auto error = m_client.send(input.toLatin1() + "\r\n"))
            m_area.addLine(QStringLiteral("Exception: ") + *error);
    } else if (!m_connectFailed) {
        // A refused connection has already said so in the response area; only silence ends in the time-out.
        m_client.disconnectFromRemote();
        m_prompter.message(QStringLiteral("Warning"), QStringLiteral("Connection timed out."), Prompter::Button::Ok,
                           Prompter::Icon::Warning);
        m_area.clear();
    }
    finishFind();
}

void WhoisTool::finishFind()
{
    m_area.setStatus(kReady);
    m_area.setBusy(false);
    m_finding = false;
}

void WhoisTool::onConnected(int status, const QString& description)
{
    if (status == 0)
        return;
    m_connectFailed = true;
    m_area.addLine(QStringLiteral("Connection failed: ") + description);
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
