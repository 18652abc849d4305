#include "net/hostlookup.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QTimer>
#include <optional>

namespace {

std::optional<QHostInfo> lookUp(const QString& name, int timeoutMs)
{
    std::optional<QHostInfo> result;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int id = QHostInfo::lookupHost(name, &loop, [&](const QHostInfo& info) {
        result = info;
        loop.quit();
    });
    timer.start(timeoutMs);
    if (!result)
        loop.exec();
    if (!result)
        QHostInfo::abortHostLookup(id);
    return result;
}

} // namespace

ResolvedHost resolveIpv4(const QString& host, int timeoutMs)
{
    ResolvedHost resolved;
    const QString name = host.trimmed();
    if (name.isEmpty()) {
        resolved.error = QStringLiteral("No host given.");
        return resolved;
    }
    QHostAddress literal;
    if (literal.setAddress(name)) {
        bool isIpv4 = false;
        resolved.address = literal.toIPv4Address(&isIpv4);
        if (!isIpv4)
            resolved.error = QStringLiteral("Only IPv4 addresses can be reached: ") + name;
        return resolved;
    }
    const std::optional<QHostInfo> info = lookUp(name, timeoutMs);
    if (!info) {
        resolved.error = QStringLiteral("The name could not be resolved in time: ") + name;
        return resolved;
    }
    if (info->error() != QHostInfo::NoError) {
        resolved.error = info->errorString() + QStringLiteral(": ") + name;
        return resolved;
    }
    for (const QHostAddress& address : info->addresses()) {
        bool isIpv4 = false;
        const quint32 value = address.toIPv4Address(&isIpv4);
        if (isIpv4) {
            resolved.address = value;
            return resolved;
        }
    }
    resolved.error = QStringLiteral("The host has no IPv4 address: ") + name;
    return resolved;
}

QString reverseName(quint32 address, int timeoutMs)
{
    const QString dotted = dottedAddress(address);
    const std::optional<QHostInfo> info = lookUp(dotted, timeoutMs);
    if (!info || info->error() != QHostInfo::NoError || info->hostName().isEmpty())
        return dotted;
    return info->hostName();
}

QString dottedAddress(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xff)
        .arg((address >> 8) & 0xff)
        .arg(address & 0xff);
}
