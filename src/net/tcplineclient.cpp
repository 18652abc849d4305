#include "net/tcplineclient.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// What is taken from the socket at a time, and the most the socket holds unread: a fast peer waits for the
// program instead of filling its memory.
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kSocketBuffer = 256 * 1024;

} // namespace

TcpLineClient::TcpLineClient(QObject* parent) : QObject(parent)
{
    m_socket.setReadBufferSize(kSocketBuffer);
    connect(&m_socket, &QTcpSocket::connected, this, &TcpLineClient::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpLineClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpLineClient::onErrorOccurred);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpLineClient::onDisconnected);
}

TcpLineClient::~TcpLineClient()
{
    // A socket torn down while open says so through its signals; nobody is left to hear them.
    m_socket.disconnect(this);
    m_socket.abort();
}

std::optional<QString> TcpLineClient::connectToRemote()
{
    if (m_host.trimmed().isEmpty())
        return QStringLiteral("No remote host given.");
    if (m_port == 0)
        return QStringLiteral("No remote port given.");
    if (isOpen())
        return QStringLiteral("Already connected.");
    m_splitter.clear();
    m_wasConnected = false;
    m_socket.connectToHost(m_host, m_port);
    return std::nullopt;
}

void TcpLineClient::disconnectFromRemote()
{
    if (m_socket.state() == QAbstractSocket::UnconnectedState)
        return;
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        onReadyRead();
    m_socket.abort();
    flushRest();
}

bool TcpLineClient::isConnected() const
{
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

bool TcpLineClient::isConnecting() const
{
    return m_socket.state() == QAbstractSocket::HostLookupState || m_socket.state() == QAbstractSocket::ConnectingState;
}

bool TcpLineClient::isOpen() const
{
    return m_socket.state() != QAbstractSocket::UnconnectedState;
}

std::optional<QString> TcpLineClient::send(const QByteArray& text)
{
    if (!isConnected())
        return QStringLiteral("Not connected.");
    if (m_socket.write(text) != text.size())
        return m_socket.errorString();
    return std::nullopt;
}

bool TcpLineClient::waitForConnection(int timeoutMs)
{
    // An attempt that has already failed is over: waiting out the rest of the time would only hide the failure.
    if (isConnected() || !isConnecting())
        return isConnected();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &TcpLineClient::connectedEvent, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
    return isConnected();
}

bool TcpLineClient::waitForClose(int timeoutMs)
{
    if (!isOpen())
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &TcpLineClient::closed, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
    return !isOpen();
}

void TcpLineClient::onConnected()
{
    m_wasConnected = true;
    Q_EMIT connectedEvent(0, QString());
}

void TcpLineClient::onReadyRead()
{
    QByteArray chunk;
    while (m_socket.bytesAvailable() > 0 && !m_splitter.isFull()) {
        chunk = m_socket.read(kChunk);
        if (chunk.isEmpty())
            break;
        deliver(m_splitter.feed(chunk));
    }
    if (!m_splitter.isFull() || m_socket.state() == QAbstractSocket::UnconnectedState)
        return;
    flushRest();
    Q_EMIT answerCut(QStringLiteral("The answer was longer than %1 MB; the rest was not read.")
                         .arg(LineSplitter::kLargestAnswer / (1024 * 1024)));
    // The socket says it has disconnected, which ends the answer as a close by the peer would.
    m_socket.abort();
}

void TcpLineClient::deliver(const QStringList& lines)
{
    for (const QString& line : lines)
        Q_EMIT dataIn(line);
}

void TcpLineClient::flushRest()
{
    // The last line of a reply often comes without a delimiter before the peer closes; it is still part of the
    // answer.
    if (const std::optional<QString> rest = m_splitter.takeRest())
        Q_EMIT dataIn(*rest);
}

void TcpLineClient::onErrorOccurred(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::RemoteHostClosedError)
        return; // the normal end of a reply; disconnected follows
    if (!m_wasConnected) {
        // The socket numbers its errors from 0, which the event keeps for success.
        Q_EMIT connectedEvent(int(error) + 1, m_socket.errorString());
        Q_EMIT closed();
        return;
    }
    Q_EMIT errorEvent(int(error), m_socket.errorString());
}

void TcpLineClient::onDisconnected()
{
    if (m_socket.isOpen())
        onReadyRead();
    flushRest();
    Q_EMIT closed();
}
