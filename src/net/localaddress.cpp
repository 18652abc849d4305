#include "net/localaddress.h"

#include <QNetworkInterface>
#include <functional>

namespace {

// The first address of an interface that is up and running, not the loopback one, that the test takes.
QString firstAddress(const std::function<bool(const QHostAddress&)>& takes)
{
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const QNetworkInterface::InterfaceFlags flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (!address.isLoopback() && takes(address))
                return address.toString();
        }
    }
    return QString();
}

} // namespace

QString localIpv4Address()
{
    const QString address =
        firstAddress([](const QHostAddress& address) { return address.protocol() == QAbstractSocket::IPv4Protocol; });
    return address.isEmpty() ? QStringLiteral("127.0.0.1") : address;
}

QString localServerAddress()
{
    const QString ipv4 =
        firstAddress([](const QHostAddress& address) { return address.protocol() == QAbstractSocket::IPv4Protocol; });
    if (!ipv4.isEmpty())
        return ipv4;
    // Link-local addresses hold only on their own link, and a name server's address must hold everywhere.
    const QString ipv6 = firstAddress([](const QHostAddress& address) {
        return address.protocol() == QAbstractSocket::IPv6Protocol && !address.isLinkLocal() &&
               address.scopeId().isEmpty();
    });
    return ipv6.isEmpty() ? QStringLiteral("127.0.0.1") : ipv6;
}
