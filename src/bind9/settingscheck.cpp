#include "bind9/settingscheck.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool isThisMachine(const QHostAddress& address)
{
    // The whole loopback network answers here, not only the one address the interface names.
    return address.isLoopback() || QNetworkInterface::allAddresses().contains(address);
}

// Whether a socket of the kind can be bound to the address and port without sharing it.
bool portFree(const QHostAddress& address, quint16 port, int type)
{
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return true;
    // A connection the name server closed lingers on its port for a while; that does not hold the port.
    const int reuse = 1;
    if (type == SOCK_STREAM)
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    int bound = -1;
    if (v6) {
        sockaddr_in6 where{};
        where.sin6_family = AF_INET6;
        where.sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::copy(std::begin(bytes.c), std::end(bytes.c), where.sin6_addr.s6_addr);
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where);
    } else {
        sockaddr_in where{};
        where.sin_family = AF_INET;
        where.sin_port = htons(port);
        where.sin_addr.s_addr = htonl(address.toIPv4Address());
        bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where);
    }
    const int error = errno;
    ::close(fd);
    // Only a port someone holds counts; a port this user may not bind (below 1024) is named's to try.
    return bound == 0 || error != EADDRINUSE;
}

} // namespace

bool isListenAddress(const QString& address)
{
    const QString text = address.trimmed();
    QHostAddress parsed;
    // Qt takes a few forms BIND does not ("1", "1.2"): an address must read back as it was written.
    return !text.isEmpty() && parsed.setAddress(text) &&
           (parsed.protocol() == QAbstractSocket::IPv6Protocol || parsed.toString() == text) &&
           parsed.scopeId().isEmpty();
}

QString bind9SettingsRefusal(const Bind9Settings& settings)
{
    if (!settings.refusedValues.isEmpty())
        return QStringLiteral("The settings of BIND 9 hold values that are none: %1. A port is a number from 1 to "
                              "65535; please correct them on the Setup page.")
            .arg(settings.refusedValues.join(QStringLiteral(", ")));
    if (settings.listensOnAll())
        return QString();
    const QString address = settings.address.trimmed();
    if (!isListenAddress(address))
        return QStringLiteral("The BIND 9 setting Address \"%1\" is no address. It must be an address of this "
                              "machine, or \"any\".")
            .arg(address);
    if (!isThisMachine(QHostAddress(address)))
        return QStringLiteral("The BIND 9 setting Address %1 is no address of this machine. It must be one of its "
                              "addresses, or \"any\".")
            .arg(address);
    return QString();
}

QString portInUse(const Bind9Settings& settings)
{
    const quint16 port = quint16(settings.port);
    QList<QHostAddress> addresses;
    if (settings.listensOnAll())
        addresses << QHostAddress(QHostAddress::AnyIPv4);
    else
        addresses << QHostAddress(settings.address.trimmed());
    for (const QHostAddress& address : std::as_const(addresses)) {
        if (!portFree(address, port, SOCK_DGRAM) || !portFree(address, port, SOCK_STREAM))
            return QStringLiteral("named does not answer at %1 port %2: address in use by another program")
                .arg(settings.queryAddress())
                .arg(port);
    }
    return QString();
}
