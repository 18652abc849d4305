#include "utilities/fingertool.h"

#include "platform/prompter.h"
#include "utilities/utilityformat.h"

#include <QCoreApplication>

namespace {

const QString kReady = QStringLiteral("Username@Host:");

} // namespace

FingerTool::FingerTool(Prompter& prompter, QObject* parent) : QObject(parent), m_prompter(prompter)
{
    m_area.setStatus(kReady);
    connect(&m_client, &TcpLineClient::connectedEvent, this, &FingerTool::onConnected);
    connect(&m_client, &TcpLineClient::dataIn, &m_area, &ResponseArea::addLine);
}

void FingerTool::find(const QString& input)
{
    // A second query while the first still waits for its connection would tear that one down under it.
    if (m_finding)
        return;
    m_finding = true;
    m_reached = false;
    m_area.setStatus(QStringLiteral("Processing..."));
    m_area.setBusy(true);
    if (input.isEmpty()) {
        Q_EMIT beep();
        finishFind();
        return;
    }
    m_client.setLineDelimiter("\r\n");
    m_client.disconnectFromRemote();

    const FingerTarget target = splitFingerInput(input);
    m_area.addLine(QStringLiteral("Requesting ") + target.host + QStringLiteral("..."));
    QCoreApplication::processEvents();

    m_client.setRemoteHost(target.host);
    m_client.setRemotePort(m_port);
    m_area.addLine(QStringLiteral("Connecting to ") + m_client.remoteHost() +
                   QStringLiteral("...   Will time out in ") + QString::number(m_timeoutMs / 1000) +
                   QStringLiteral(" seconds"));

    m_connectFailed = false;
    if (const auto error = m_client.connectToRemote()) {
        m_area.addLine(QStringLiteral("Exception: ") + *error);
        finishFind();
        return;
    }
    if (m_client.waitForConnection(m_timeoutMs)) {
        m_reached = true;
        if (const auto error = m_client.send(target.user.toLatin1() + "\r\n"))
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

void FingerTool::finishFind()
{
    m_area.setStatus(kReady);
    m_area.setBusy(false);
    m_finding = false;
}

void FingerTool::onConnected(int status, const QString& description)
{
    m_area.clear();
    if (status == 0) {
        m_area.addLine(QStringLiteral("Connected. Waiting for data..."));
        m_area.addLine(QString());
        return;
    }
    m_connectFailed = true;
    m_area.addLine(QStringLiteral("Connection failed: ") + description);
}
