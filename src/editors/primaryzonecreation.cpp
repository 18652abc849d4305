#include "editors/primaryzonecreation.h"

#include "checks/domainname.h"
#include "checks/namechecks.h"
#include "checks/numberchecks.h"
#include "editors/newzoneserver.h"
#include "platform/latin1lines.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "server/confzones.h"
#include "server/serverchange.h"
#include "server/zoneload.h"
#include "session/appstate.h"
#include "zone/primaryzoneentry.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonenormaliser.h"
#include "zone/zonereader.h"

#include <QDir>

namespace {

const QString kAttention = QStringLiteral("Attention!");

QString orFallback(const QString& value, const QString& fallback)
{
    return value.isEmpty() ? fallback : value;
}

// A value a start of authority can carry: the reader and the name servers want a number or a time.
QString timeOrFallback(const QString& value, const QString& fallback)
{
    return isSoaTime(value) ? value : fallback;
}

QStringList headerAndSoa(const QString& zone, const NewZoneServer& owner, const SoaTimings& soa)
{
    return {QStringLiteral(";[*-Quorvane-*]"),
            QStringLiteral(";Primary / Forward Mapping File"),
            QStringLiteral(";Origin added to names not ending in a dot :") + zone,
            QStringLiteral(";"),
            QStringLiteral(";[SOA]"),
            zone + QStringLiteral(".     IN       SOA       ") + owner.server + QLatin1Char('.') + zone +
                QStringLiteral(". ") + owner.mailbox + QStringLiteral(" ("),
            soa.serial,
            soa.refresh,
            soa.retry,
            soa.expire,
            soa.minimum,
            QStringLiteral(")"),
            QStringLiteral(";")};
}

bool isIpv6(const QString& address)
{
    return address.contains(QLatin1Char(':'));
}

// The record sections, each heading followed by its lines and a ";": the server's own name server record, and
// its address record when the name lies inside the zone.
QStringList sections(const QString& zone, const NewZoneServer& owner, const QStringList& headers)
{
    QStringList lines;
    for (const QString& header : headers) {
        lines << header;
        if (header == QLatin1String(";[Name Servers]"))
            lines << nameServerZoneLine(zone, owner.nameServer);
        if (header == QLatin1String(";[Host Addresses]") && !owner.address.isEmpty() && !isIpv6(owner.address))
            lines << hostAddressLine(owner.nameServer, owner.address);
        lines << QStringLiteral(";");
    }
    // An IPv6 address is an other record, as the host editor keeps it.
    if (!owner.address.isEmpty() && isIpv6(owner.address))
        lines << otherRecordsHeading()
              << contextFreeLine(owner.nameServer, QString(), QStringLiteral("IN"), QStringLiteral("AAAA"),
                                 owner.address)
              << QStringLiteral(";");
    return lines;
}

bool namedAlready(const QStringList& names, const QString& name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

void reportFailure(Prompter& prompter, const QString& text)
{
    prompter.message(QStringLiteral("Error"), text, Prompter::Button::Ok, Prompter::Icon::Critical);
}

} // namespace

SoaTimings wizardTimings(const SetupDefaults& defaults)
{
    return {defaults.runningSerial, orFallback(defaults.defaultrefresh, QStringLiteral("1080")),
            orFallback(defaults.defaultretry, QStringLiteral("3600")),
            orFallback(defaults.defaultexpire, QStringLiteral("604800")),
            orFallback(defaults.defaultminimum, QStringLiteral("86400"))};
}

SoaTimings fastAddTimings(const SetupDefaults& defaults)
{
    return {defaults.runningSerial, timeOrFallback(defaults.defaultrefresh, QStringLiteral("1080")),
            timeOrFallback(defaults.defaultretry, QStringLiteral("3600")),
            timeOrFallback(defaults.defaultexpire, QStringLiteral("604800")),
            timeOrFallback(defaults.defaultminimum, QStringLiteral("86400"))};
}

QStringList skeletonZoneLines(const QString& zone, const NewZoneServer& owner)
{
    const SoaTimings fixed{QStringLiteral("96110801"), QStringLiteral("1080"), QStringLiteral("3600"),
                           QStringLiteral("604800"), QStringLiteral("86400")};
    return headerAndSoa(zone, owner, fixed) +
           sections(zone, owner,
                    {QStringLiteral(";[Name Servers]"), QStringLiteral(";[Mail Servers]"),
                     QStringLiteral(";[Host Addresses]"), QStringLiteral(";[Aliases]"), QStringLiteral(";[Text Files]"),
                     QStringLiteral(";[Responsible Persons]")});
}

QStringList fastAddZoneLines(const QString& zone, const NewZoneServer& owner, const SoaTimings& timings)
{
    return headerAndSoa(zone, owner, timings) +
           sections(zone, owner,
                    {QStringLiteral(";[Name Servers]"), QStringLiteral(";[Mail Servers]"),
                     QStringLiteral(";[Host Addresses]"), QStringLiteral(";[Aliases]")});
}

bool checkNewPrimaryName(const AppState& state, const QString& name, Prompter& prompter, const QStringList& waiting)
{
    if (!endsWithKnownTld(name, state.tlds)) {
        prompter.message(kAttention, QStringLiteral("You have entered an invalid name for a zone."));
        return false;
    }
    if (hasIllegalCharacters(name)) {
        prompter.message(kAttention, QStringLiteral("You have entered illegal characters. Re-Enter."));
        return false;
    }
    // ".com" or "a..com" would make neither a file name nor a zone.
    if (name.startsWith(QLatin1Char('.')) || name.contains(QLatin1String(".."))) {
        prompter.message(kAttention, QStringLiteral("You have entered an invalid name for a zone."));
        return false;
    }
    if (const std::optional<QString> refusal = zoneNameLengthRefusal(name)) {
        prompter.message(kAttention, *refusal);
        return false;
    }
    if (zoneNameTaken(state, name, state.selection.primview) || namedAlready(waiting, name)) {
        prompter.message(kAttention, QStringLiteral("A Zone by that name already exists."));
        return false;
    }
    return true;
}

CreationStatus createPrimaryZoneFile(ZoneContext& context, const QString& zone, const QStringList& lines,
                                     bool saveBootFile)
{
    AppState& state = context.state;
    const ServerChange change(state, QStringLiteral("Add primary zone %1").arg(zone.toLower()));
    if (!change.isHeld()) {
        reportFailure(context.prompter, change.errorText());
        return CreationStatus::FileFailed;
    }
    // Taken before the configuration may be read again, which starts a new selection.
    const QString view = state.selection.primview;
    if (!prepareConfZoneAddition(state, view, context.prompter))
        return CreationStatus::Refused;
    ServerZoneLists& lists = state.zoneLists;
    const QString name = zone.toLower();
    const QString file = name + QStringLiteral(".DNS");
    state.selection.primfilename = file;
    context.progress.showProgress();
    context.progress.setProgress(20);

    const FileWriteResult written = replaceFile(QDir(lists.datapath).filePath(file), crlfLines(lines));
    if (!written.ok) {
        context.progress.hideProgress();
        reportFailure(context.prompter, written.errorText);
        return CreationStatus::FileFailed;
    }
    state.selection.primdnsname = name;
    lists.primfiles << file;
    lists.primdns << name;
    if (!state.conf.config.views.isEmpty())
        lists.primviews << view;
    state.boot.primaryEntries << PrimaryZoneEntry{name, file}.text();

    BootWriteResult boot = saveBootFile ? writeBootFile(state) : BootWriteResult();
    if (boot.ok) {
        loadZone(context, file, name);
        if (saveBootFile)
            boot = writeBootFile(state);
    }
    context.progress.hideProgress();
    if (!boot.ok) {
        reportFailure(context.prompter, boot.errorText);
        return CreationStatus::BootFileFailed;
    }
    return CreationStatus::Created;
}

CreationStatus startPrimaryZone(ZoneContext& context, QString& name)
{
    if (!checkNewPrimaryName(context.state, name, context.prompter))
        return CreationStatus::Refused;
    name = name.toLower();
    return createPrimaryZoneFile(context, name, skeletonZoneLines(name, newZoneServer(context.state, name)));
}
