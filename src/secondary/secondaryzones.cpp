#include "secondary/secondaryzones.h"

#include "checks/domainname.h"
#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "checks/namechecks.h"
#include "platform/progress.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "server/confzones.h"
#include "server/serverchange.h"
#include "session/appstate.h"
#include "zone/secondaryzoneentry.h"

namespace {

const QString kError = QStringLiteral("Error.");

bool isBlank(const QString& text)
{
    return text.isEmpty() || text == QLatin1String(" ");
}

int findEntry(const QStringList& entries, const QString& zone)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<SecondaryZoneEntry> entry = SecondaryZoneEntry::parse(entries.at(i));
        if (entry && entry->zone.compare(zone, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

// Writes the boot file; a description names the change in the history.
bool saveBootFile(SecondaryContext& context, const QString& description = QString())
{
    const ChangeNote note(description);
    const BootWriteResult written = writeBootFile(context.state);
    if (!written.ok) {
        context.prompter.message(QStringLiteral("Error"), written.errorText, Prompter::Button::Ok,
                                 Prompter::Icon::Critical);
        return false;
    }
    return true;
}

void busy(SecondaryContext& context, bool on)
{
    if (context.showBusy)
        context.showBusy(on);
}

bool checkSecondaryName(const QString& name, Prompter& prompter)
{
    if (hasIllegalCharacters(name)) {
        prompter.message(kError, QStringLiteral("You have entered bad characters in the name field. Re-Enter."));
        return false;
    }
    if (isBlank(name)) {
        prompter.message(kError, QStringLiteral("You must first enter a Zone Name."));
        return false;
    }
    if (const std::optional<QString> refusal = zoneNameLengthRefusal(name)) {
        prompter.message(kError, *refusal);
        return false;
    }
    return true;
}

} // namespace

bool checkNewSecondaryName(const AppState& state, const QString& name, Prompter& prompter)
{
    const ServerZoneLists& lists = state.zoneLists;
    if (zoneNameTaken(state, name, state.selection.secview)) {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("A Zone by that name already exists."));
        return false;
    }
    return checkSecondaryName(name, prompter);
}

bool checkSecondaryMaster(const QString& address, Prompter& prompter)
{
    if (hasIllegalAddressCharacters(address)) {
        prompter.message(kError, QStringLiteral("You have entered bad characters in the name field. Re-Enter."));
        return false;
    }
    if (!isIpAddress(address)) {
        prompter.message(
            kError, ipAddressRefusal(QStringLiteral("You have entered an invalid IP address. Re-Enter."), address));
        return false;
    }
    if (isBlank(address)) {
        prompter.message(kError, QStringLiteral("You must first enter a Zone Name."));
        return false;
    }
    return true;
}

bool createSecondaryZone(SecondaryContext& context, const QString& name, const QString& address)
{
    AppState& state = context.state;
    const QString zone = name.toLower();
    const QString file = zone + QStringLiteral(".DNS");
    // Taken before the configuration may be read again, which starts a new selection.
    const QString view = state.selection.secview;
    if (!prepareConfZoneAddition(state, view, context.prompter))
        return false;
    busy(context, true);
    state.selection.secdnsname = zone;
    state.selection.secipaddr = address;
    state.zoneLists.secdns << zone;
    state.zoneLists.secfiles << file.toLower();
    if (!state.conf.config.views.isEmpty())
        state.zoneLists.secviews << view;
    state.boot.secondaryEntries << SecondaryZoneEntry{zone, address, file}.text();
    const bool saved = saveBootFile(context, QStringLiteral("Add secondary zone %1").arg(zone));
    if (saved && context.reloadBootFile)
        context.reloadBootFile();
    // The reading starts the selection afresh; the new zone stays selected.
    state.selection.secdnsname = zone;
    state.selection.secipaddr = address;
    if (context.rebuildSecondaryTree)
        context.rebuildSecondaryTree();
    busy(context, false);
    return saved;
}

std::optional<SecondaryEdit> openSecondaryEdit(const AppState& state, const QString& zone, Prompter& prompter)
{
    if (isBlank(state.selection.secdnsname) || isBlank(zone)) {
        prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
        return std::nullopt;
    }
    const int index = findEntry(state.boot.secondaryEntries, zone);
    if (index < 0)
        return std::nullopt;
    const std::optional<SecondaryZoneEntry> entry = SecondaryZoneEntry::parse(state.boot.secondaryEntries.at(index));
    return SecondaryEdit{entry->zone, entry->zone, entry->masters.split(QLatin1Char(' '), Qt::SkipEmptyParts)};
}

bool addSecondaryMaster(QStringList& masters, const QString& address, Prompter& prompter)
{
    if (!isIpAddress(address)) {
        prompter.message(
            kError, ipAddressRefusal(QStringLiteral("Your IP address is entered incorrectly. Re-Enter."), address));
        return false;
    }
    masters << address;
    return true;
}

bool deleteSecondaryMaster(QStringList& masters, int selected, Prompter& prompter)
{
    if (selected < 0 || selected >= masters.size()) {
        prompter.message(QStringLiteral("Attention!"), QStringLiteral("You must first select an IP."));
        return false;
    }
    masters.removeAt(selected);
    return true;
}

QString secondaryMasterText(const QStringList& masters)
{
    QString text;
    for (QString address : masters) {
        if (address.endsWith(QLatin1Char(' ')))
            address.chop(1);
        text += address + QLatin1Char(' ');
    }
    return text;
}

bool saveSecondaryZone(SecondaryContext& context, const SecondaryEdit& edit)
{
    if (edit.masters.isEmpty()) {
        context.prompter.message(QStringLiteral("Attention!"),
                                 QStringLiteral("You must have at least one corresponding IP."));
        return false;
    }
    QString name = edit.name.trimmed().toLower();
    // A renamed zone must still be a name the boot file can carry.
    if (!checkSecondaryName(name, context.prompter))
        return false;
    AppState& state = context.state;
    const int index = findEntry(state.boot.secondaryEntries, edit.zone);
    if (index < 0)
        return false;
    busy(context, true);
    ServerZoneLists& lists = state.zoneLists;
    const qsizetype listed = lists.secdns.indexOf(edit.zone.toLower());
    // A named.conf names the zone's file itself; it stays while the zone keeps its name.
    const QString file = state.conf.isLoaded() && listed >= 0 && name == edit.zone.toLower()
                             ? lists.secfiles.at(listed)
                             : name + QStringLiteral(".DNS");
    state.boot.secondaryEntries[index] = SecondaryZoneEntry{name, secondaryMasterText(edit.masters), file}.text();
    if (listed >= 0) {
        lists.secdns[listed] = name;
        lists.secfiles[listed] = state.conf.isLoaded() ? file : file.toLower();
    }
    state.boot.fillGrids();
    const bool saved = saveBootFile(context);
    // The tree shows the zone under its new name.
    if (context.rebuildSecondaryTree)
        context.rebuildSecondaryTree();
    busy(context, false);
    return saved;
}

SecondaryDeletion deleteSecondaryZone(SecondaryContext& context)
{
    AppState& state = context.state;
    const QString zone = state.selection.secdnsname;
    if (isBlank(zone)) {
        context.prompter.message(QStringLiteral("Error"), QStringLiteral("You must first select a Zone."));
        return SecondaryDeletion::NothingSelected;
    }
    ServerZoneLists& lists = state.zoneLists;
    if (lists.skipNextDeleteQuestion) {
        lists.skipNextDeleteQuestion = false;
    } else if (context.prompter.message(QStringLiteral("Question!"),
                                        QStringLiteral("Are you sure you want to delete ") + zone + QLatin1Char('?'),
                                        Prompter::Button::Ok | Prompter::Button::Cancel,
                                        Prompter::Icon::Question) != Prompter::Button::Ok) {
        return SecondaryDeletion::Cancelled;
    }
    if (!confirmConfZoneRemoval(state, zone, state.selection.secview, context.prompter))
        return SecondaryDeletion::Cancelled;
    busy(context, true);
    context.progress.showProgress();
    context.progress.setProgress(50);
    state.debugLog.logLine(QStringLiteral("--Begin Deleting Secondary: ") + zone);

    state.selection.secdnsname.clear();
    state.selection.secipaddr.clear();
    const int index = lists.secondaryIndex(zone, state.selection.secview);
    // A server with views keeps an entry per zone of each view, in the order of the lists.
    const bool entriesByIndex = !lists.secviews.isEmpty() && state.boot.secondaryEntries.size() == lists.secdns.size();
    if (index >= 0) {
        lists.secdns.removeAt(index);
        if (index < lists.secfiles.size())
            lists.secfiles.removeAt(index);
        if (index < lists.secviews.size())
            lists.secviews.removeAt(index);
    }
    const int entry = entriesByIndex ? index : findEntry(state.boot.secondaryEntries, zone);
    if (entry >= 0)
        state.boot.secondaryEntries.removeAt(entry);
    const bool saved = saveBootFile(context, QStringLiteral("Delete secondary zone %1").arg(zone));
    if (saved && context.reloadBootFile)
        context.reloadBootFile();
    state.debugLog.logLine(QStringLiteral("--End Deleting Secondary: ") + zone);

    context.progress.setProgress(75);
    if (context.rebuildSecondaryTree)
        context.rebuildSecondaryTree();
    context.progress.setProgress(100);
    context.progress.hideProgress();
    busy(context, false);
    return saved ? SecondaryDeletion::Deleted : SecondaryDeletion::BootFileFailed;
}
