#include "bind9/nameserverprobe.h"

#include "bind9/bind9settings.h"
#include "shell/appstate.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>
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

bool askOnce(const QHostAddress& address, int port, const QString& zone, int timeoutMs)
{
    QUdpSocket socket;
    const quint16 id = quint16(QRandomGenerator::global()->generate());
    socket.connectToHost(address, quint16(port));
    if (!socket.waitForConnected(timeoutMs) || socket.write(soaQuery(id, zone)) < 0)
        return false;
    bool answered = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QUdpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QUdpSocket::readyRead, &loop, [&] {
        // A port nobody listens on comes back as a refusal without a datagram.
        if (!socket.hasPendingDatagrams())
            loop.quit();
        while (socket.hasPendingDatagrams()) {
            if (isReplyTo(socket.receiveDatagram().data(), id)) {
                answered = true;
                loop.quit();
            }
        }
    });
    timer.start(timeoutMs);
    loop.exec();
    return answered;
}

} // namespace

bool nameServerAnswers(const QString& address, int port, const QString& zone, int timeoutMs)
{
    const QHostAddress host(address);
    if (host.isNull() || port <= 0 || port > 65535)
        return false;
    // A lost datagram is not a silent server: ask twice.
    return askOnce(host, port, zone, timeoutMs / 2) || askOnce(host, port, zone, timeoutMs / 2);
}

NameServerStatus loadedNameServerStatus(const AppState& state)
{
    NameServerStatus status;
    status.address = state.bind9.queryAddress();
    status.port = state.bind9.port;
    status.zone = state.boot.primaryGrid.isEmpty() ? QStringLiteral(".") : state.boot.primaryGrid.first().zone;
    status.answering = nameServerAnswers(status.address, status.port, status.zone);
    return status;
}

QString nameServerStatusText(const NameServerStatus& status)
{
    return (status.answering ? QStringLiteral("Answering at %1 port %2.")
                             : QStringLiteral("Not answering at %1 port %2."))
        .arg(status.address)
        .arg(status.port);
}

void observeRunState(AppState& state)
{
    if (!isOwnControlProgram(state.ndcProgram))
        return;
    state.serverRunState = loadedNameServerStatus(state).answering ? QStringLiteral("START") : QStringLiteral("STOP");
}
