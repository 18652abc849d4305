#include "loopbackpeers.h"

#include "namedpeer.h"
#include "support/testfiles.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

LineServer::LineServer(QByteArray reply) : m_reply(std::move(reply))
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* peer = m_server.nextPendingConnection()) {
            ++m_connections;
            connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QTcpSocket::readyRead, peer, [this, peer] {
                m_received += peer->readAll();
                if (!m_received.endsWith("\r\n"))
                    return;
                peer->write(m_reply);
                peer->disconnectFromHost();
            });
        }
    });
}

SilentListener::SilentListener()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_fd, 0);
    socklen_t size = sizeof address;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_filler.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    m_filler.waitForConnected(2000);
}

SilentListener::~SilentListener()
{
    ::close(m_fd);
}

quint16 refusingPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

FingerDaemon::FingerDaemon() = default;

FingerDaemon::~FingerDaemon()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QString FingerDaemon::unavailableReason()
{
    for (const char* program : {"/usr/sbin/inetd", "/usr/sbin/in.fingerd", "/usr/bin/finger"}) {
        if (!QFileInfo(QString::fromLatin1(program)).isExecutable())
            return QStringLiteral("%1 is not installed (packages openbsd-inetd, fingerd, finger)")
                .arg(QString::fromLatin1(program));
    }
    return QString();
}

bool FingerDaemon::start()
{
    m_port = freeLoopbackPort();
    const QString conf = m_dir.filePath(QStringLiteral("inetd.conf"));
    writeBytes(conf, "127.0.0.1:" + QByteArray::number(m_port) +
                         " stream tcp nowait nobody /usr/sbin/in.fingerd in.fingerd\n");
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("/usr/sbin/inetd"), {QStringLiteral("-d"), conf});
    if (!m_process.waitForStarted(5000))
        return false;
    QByteArray log;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(200);
        log += m_process.readAll();
        if (log.contains("ADD:"))
            return true;
    }
    return false;
}

QStringList FingerDaemon::answer(const QByteArray& query)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(query);
    QByteArray bytes;
    while (socket.waitForReadyRead(5000))
        bytes += socket.readAll();
    bytes += socket.readAll();
    QStringList lines;
    for (const QByteArray& line : bytes.split('\n'))
        lines << QString::fromLatin1(line.endsWith('\r') ? line.chopped(1) : line);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
