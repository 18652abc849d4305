#include "utilities/linequerytool.h"

#include "platform/prompter.h"

#include <QEventLoop>
#include <QTimer>

LineQueryTool::LineQueryTool(Prompter& prompter, QString readyText, quint16 port, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_port(port), m_readyText(std::move(readyText))
{
    m_area.setStatus(m_readyText);
    connect(&m_client, &TcpLineClient::answerCut, this, &LineQueryTool::noteCut);
}

void LineQueryTool::noteCut(const QString& description)
{
    m_cut = true;
    m_area.addLine(description);
    m_prompter.message(QStringLiteral("Attention!"), description, Prompter::Button::Ok, Prompter::Icon::Warning);
}

LineQueryTool::AnswerEnd LineQueryTool::awaitAnswer(int idleMs, int totalMs)
{
    QEventLoop loop;
    QTimer idle;
    QTimer total;
    bool timedOut = false;
    for (QTimer* timer : {&idle, &total}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, &loop, [&loop, &timedOut] {
            timedOut = true;
            loop.quit();
        });
    }
    connect(&m_client, &TcpLineClient::dataIn, &idle, [&idle, idleMs] { idle.start(idleMs); });
    connect(&m_client, &TcpLineClient::closed, &loop, &QEventLoop::quit);
    if (m_client.isOpen()) {
        idle.start(idleMs);
        total.start(totalMs);
        loop.exec();
    }
    if (timedOut) {
        m_client.disconnectFromRemote();
        m_prompter.message(QStringLiteral("Warning"), QStringLiteral("Connection timed out."), Prompter::Button::Ok,
                           Prompter::Icon::Warning);
        return AnswerEnd::TimedOut;
    }
    return m_cut ? AnswerEnd::Cut : AnswerEnd::Closed;
}

bool LineQueryTool::beginFind(const QString& input)
{
    // A second query while the first still waits for its connection would tear that one down under it.
    if (m_finding)
        return false;
    m_finding = true;
    m_reached = false;
    m_cut = false;
    m_area.setStatus(QStringLiteral("Processing..."));
    m_area.setBusy(true);
    if (input.isEmpty()) {
        Q_EMIT beep();
        finishFind();
        return false;
    }
    return true;
}

void LineQueryTool::connectAndSend(const QByteArray& query)
{
    m_connectFailed = false;
    if (const auto error = m_client.connectToRemote()) {
        m_area.addLine(QStringLiteral("Exception: ") + *error);
        finishFind();
        return;
    }
    if (m_client.waitForConnection(m_timeoutMs)) {
        m_reached = true;
        if (const auto error = m_client.send(query))
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

void LineQueryTool::noteConnectFailure(const QString& description)
{
    m_connectFailed = true;
    m_area.addLine(QStringLiteral("Connection failed: ") + description);
}

void LineQueryTool::finishFind()
{
    m_area.setStatus(m_readyText);
    m_area.setBusy(false);
    m_finding = false;
}
