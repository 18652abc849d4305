#include "bind9/nameserverquery.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

constexpr quint16 kSoa = 6;
constexpr quint16 kInternet = 1;

QByteArray soaQuery(quint16 id, const QString& zone)
{
    QByteArray packet;
    const auto put16 = [&packet](quint16 value) {
        packet.append(char(value >> 8));
        packet.append(char(value & 0xff));
    };
    put16(id);
    put16(0); // a plain query, no recursion wanted
    put16(1);
    put16(0);
    put16(0);
    put16(0);
    for (const QString& label : zone.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        const QByteArray bytes = label.toLatin1().left(63);
        packet.append(char(bytes.size()));
        packet.append(bytes);
    }
    packet.append('\0');
    put16(kSoa);
    put16(kInternet);
    return packet;
}

bool isReplyTo(const QByteArray& datagram, quint16 id)
{
    return datagram.size() >= 12 && qFromBigEndian<quint16>(datagram.constData()) == id &&
           (quint8(datagram.at(2)) & 0x80) != 0;
}

} // namespace

NameServerQuery::NameServerQuery(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_sent < 2)
            send();
        else
            finish(false);
    });
    connect(&m_socket, &QUdpSocket::readyRead, this, &NameServerQuery::readReplies);
    connect(&m_socket, &QUdpSocket::errorOccurred, this, [this] { finish(false); });
}

void NameServerQuery::ask(const QString& address, int port, const QString& zone, int timeoutMs)
{
    const QHostAddress host(address);
    if (host.isNull() || port <= 0 || port > 65535) {
        QMetaObject::invokeMethod(
            this, [this] { finish(false); }, Qt::QueuedConnection);
        return;
    }
    m_id = quint16(QRandomGenerator::global()->generate());
    m_query = soaQuery(m_id, zone);
    m_timer.setInterval(std::max(1, timeoutMs / 2));
    m_socket.connectToHost(host, quint16(port));
    send();
}

void NameServerQuery::send()
{
    ++m_sent;
    m_socket.write(m_query);
    m_timer.start();
}

void NameServerQuery::readReplies()
{
    // A port nobody listens on comes back as a refusal without a datagram.
    if (!m_socket.hasPendingDatagrams()) {
        finish(false);
        return;
    }
    while (m_socket.hasPendingDatagrams()) {
        if (isReplyTo(m_socket.receiveDatagram().data(), m_id)) {
            finish(true);
            return;
        }
    }
}

void NameServerQuery::finish(bool answered)
{
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    Q_EMIT finished(answered);
}
