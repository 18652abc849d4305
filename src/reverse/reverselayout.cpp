#include "reverse/reverselayout.h"

#include "checks/namechecks.h"
#include "checks/reversename.h"
#include "session/appstate.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

QStringList fieldsOf(const QString& line)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    return line.section(QLatin1Char(';'), 0, 0).split(blanks, Qt::SkipEmptyParts);
}

void addOther(QList<OtherReverseZone>& others, const QString& zone, OtherReverseZone::Kind kind, const QString& file)
{
    if (const std::optional<IpPrefix> prefix = prefixOfReverseZone(zone))
        others.append({zone, *prefix, kind, file});
}

} // namespace

ReverseLayout::ReverseLayout(const AppState& state, const QList<IpPrefix>& chosen) : m_chosen(chosen)
{
    std::stable_sort(m_chosen.begin(), m_chosen.end(),
                     [](const IpPrefix& a, const IpPrefix& b) { return a.length > b.length; });
    const ServerZoneLists& lists = state.zoneLists;
    for (qsizetype i = 0; i < lists.primdns.size(); ++i)
        addOther(m_others, lists.primdns.at(i), OtherReverseZone::Kind::Primary, lists.primfiles.value(i));
    for (const QString& zone : lists.secdns)
        addOther(m_others, zone, OtherReverseZone::Kind::Secondary, QString());
    for (const QString& line : state.boot.secondaryReverseLines)
        addOther(m_others, fieldsOf(line).value(1), OtherReverseZone::Kind::Secondary, QString());
    std::stable_sort(m_others.begin(), m_others.end(), [](const OtherReverseZone& a, const OtherReverseZone& b) {
        return a.prefix.length > b.prefix.length;
    });
}

std::optional<IpPrefix> ReverseLayout::generatedZoneOf(const IpAddress& address) const
{
    if (otherZoneOf(address))
        return std::nullopt;
    if (isLoopback(address))
        return loopbackPrefix();
    for (const IpPrefix& prefix : m_chosen) {
        if (prefix.contains(address))
            return prefix;
    }
    const int length = address.isV6() ? 64 : 24;
    return IpPrefix{address.masked(length), length};
}

const OtherReverseZone* ReverseLayout::otherZoneOf(const IpAddress& address) const
{
    for (const OtherReverseZone& zone : m_others) {
        if (zone.prefix.contains(address))
            return &zone;
    }
    return nullptr;
}

bool ReverseLayout::isLoopback(const IpAddress& address)
{
    return loopbackPrefix().contains(address);
}

IpPrefix ReverseLayout::loopbackPrefix()
{
    return IpPrefix{IpAddress::fromIpv4(0x7f000000), 24};
}

QString loopbackZoneName()
{
    return QStringLiteral("0.0.127.IN-ADDR.ARPA");
}

QString localFileName(const AppState& state)
{
    return state.servername + QStringLiteral(".local.DNS");
}

QString mappedHostName(const QString& zone, bool ownerIsAt, const QString& owner, const TldList& tlds)
{
    const auto withFinalDot = [](QString name) {
        if (!name.endsWith(QLatin1Char('.')))
            name += QLatin1Char('.');
        return name;
    };
    QString name = stripToNameCharacters(owner);
    // A name that ends in a dot is complete already; qualifying it again would name another host.
    if (name.contains(QLatin1Char('@')))
        name = zone;
    else if (ownerIsAt && !name.endsWith(QLatin1Char('.')) && !endsWithKnownTld(name, tlds))
        name = withFinalDot(name) + zone + QLatin1Char('.');
    return withFinalDot(stripToNameCharacters(name));
}
