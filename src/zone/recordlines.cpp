#include "zone/recordlines.h"

namespace {

const QString kFive = QStringLiteral("     ");
const QLatin1Char kBlank(' ');

QString zoneOwner(const QString& zone)
{
    return zone.endsWith(QLatin1Char('.')) ? zone : zone + QLatin1Char('.');
}

} // namespace

QString nameServerAtLine(const QString& host)
{
    return QStringLiteral("@") + kFive + QStringLiteral("IN") + kFive + QStringLiteral("NS") + kFive + host;
}

QString nameServerZoneLine(const QString& zone, const QString& host)
{
    return zoneOwner(zone) + kFive + QStringLiteral("IN") + kFive + QStringLiteral("NS") + kFive + host;
}

QString mailServerAtLine(const QString& priority, const QString& host)
{
    return QStringLiteral("@") + kFive + QStringLiteral("IN") + kFive + QStringLiteral("MX") + kFive + priority +
           kFive + host + kBlank;
}

QString mailServerZoneLine(const QString& zone, const QString& priority, const QString& host)
{
    return zoneOwner(zone) + kFive + QStringLiteral("IN") + kFive + QStringLiteral("MX") + kFive + priority + kFive +
           host + kBlank;
}

QString wizardNameServerLine(const QString& zone, const QString& host)
{
    return nameServerZoneLine(zone, host) + kBlank;
}

QString wizardMailServerLine(const QString& zone, const QString& priority, const QString& host)
{
    return zoneOwner(zone) + kFive + QStringLiteral("IN") + kFive + QStringLiteral("MX") + kBlank + priority + kFive +
           host + kBlank;
}

QString hostAddressLine(const QString& host, const QString& address)
{
    const QString bare = address.endsWith(QLatin1Char('.')) ? address.chopped(1) : address;
    return host + kFive + QStringLiteral("IN") + kFive + QStringLiteral("A") + kFive + bare + kBlank;
}

QString aliasLine(const QString& alias, const QString& target)
{
    return alias + kFive + QStringLiteral("IN") + kFive + QStringLiteral("CNAME") + kFive + target + kBlank;
}

QString responsiblePersonLine(const QString& owner, const QString& mailbox, const QString& textName)
{
    return owner + kFive + QStringLiteral("IN") + kFive + QStringLiteral("RP") + kFive + mailbox +
           QStringLiteral("  ") + textName + kBlank;
}

QString textRecordLine(const QString& owner, const QString& quotedText)
{
    return owner + kFive + QStringLiteral("IN") + kFive + QStringLiteral("TXT") + kFive + quotedText + kBlank;
}

bool usesAtOwner(const QString& soaOwner)
{
    return soaOwner.trimmed() == QLatin1String("@");
}

QString nameServerLine(const QString& soaOwner, const QString& zone, const QString& host)
{
    return usesAtOwner(soaOwner) ? nameServerAtLine(host) : nameServerZoneLine(zone, host);
}

QString mailServerLine(const QString& soaOwner, const QString& zone, const QString& priority, const QString& host)
{
    return usesAtOwner(soaOwner) ? mailServerAtLine(priority, host) : mailServerZoneLine(zone, priority, host);
}
