#include "editors/hosteditors.h"

#include "checks/ipaddress.h"
#include "checks/ipv4address.h"
#include "checks/ipv6address.h"
#include "checks/namechecks.h"
#include "editors/namecompletion.h"
#include "platform/prompter.h"
#include "session/appstate.h"
#include "zone/hostaddresses.h"
#include "zone/recordfields.h"
#include "zone/recordlines.h"
#include "zone/zonenormaliser.h"

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kReEnter = QStringLiteral("Re-Enter.");
const QString kFive = QStringLiteral("     ");
const QLatin1Char kQuote('"');

QString fieldText(const QString& line, int field)
{
    const QList<RecordField> fields = recordFields(line);
    if (field >= fields.size())
        return QString();
    return line.mid(fields.at(field).start, fields.at(field).length);
}

// The text of a line from its field on to the end, without the one blank that ends the line.
QString restFrom(const QString& line, int field)
{
    const QList<RecordField> fields = recordFields(line);
    if (field >= fields.size())
        return QString();
    QString rest = line.mid(fields.at(field).start);
    if (rest.endsWith(QLatin1Char(' ')))
        rest.chop(1);
    return rest;
}

// The question of an alias whose target has no host record; Yes lets the user pick a host instead.
bool confirmAliasTarget(ZoneContext& context, QString& target)
{
    const RecordList& hosts = context.state.zone.hostaddrs;
    if (hosts.containsOwner(target))
        return true;
    if (hosts.isEmpty()) {
        const Prompter::Button answer = context.prompter.message(
            QStringLiteral("Information"),
            QStringLiteral("You have not defined a host address record for this alias. You also have not created any "
                           "host addresses to choose from. Click \"OK\" to proceed anyways, or \"CANCEL\" to "
                           "re-enter."),
            Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
        return answer == Prompter::Button::Ok;
    }
    const Prompter::Button answer = context.prompter.message(
        QStringLiteral("Information"),
        QStringLiteral("You have not defined a host address record for this alias. Press \"YES\" to select from the "
                       "list of already defined host addresses, \"OK\" to proceed anyways, or \"CANCEL\" to "
                       "re-enter."),
        Prompter::Button::Yes | Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
    if (answer == Prompter::Button::Yes) {
        const QStringList owners = hosts.owners();
        const std::optional<int> chosen = context.prompter.pick(QStringLiteral("Select host..."), owners);
        if (chosen && *chosen >= 0 && *chosen < owners.size())
            target = owners.at(*chosen);
        return true;
    }
    return answer == Prompter::Button::Ok;
}

// Whether an address record other than the one at the position has this owner and address.
bool holdsAddress(const ZoneModel& zone, const QString& origin, const QString& host, const IpAddress& address,
                  int position)
{
    const QString wanted = absoluteName(host, origin);
    const QList<HostAddressEntry> entries = hostAddressEntries(zone);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i == position || absoluteName(entries.at(i).owner, origin) != wanted)
            continue;
        if (IpAddress::fromStored(entries.at(i).address) == address)
            return true;
    }
    return false;
}

// An IPv4 address goes into the host list in its layout, an IPv6 address (and an address record that carries a
// time to live of its own, which the host list cannot) into the other records, as the generic editor writes them.
// A record whose address changes family moves.
EditResult storeHost(ZoneContext& context, const QString& host, const IpAddress& address,
                     const std::optional<HostAddressEntry>& edited)
{
    ZoneModel& zone = context.state.zone;
    const QString text = address.text();
    const QString family = address.isV6() ? QStringLiteral("AAAA") : QStringLiteral("A");
    const QStringList removed = edited ? QStringList{edited->line} : QStringList();
    const bool ownTtl = edited && edited->inOtherRecords && !edited->ttl.isEmpty();
    if (!address.isV6() && !ownTtl) {
        const QString line = hostAddressLine(host, text);
        if (!edited || !edited->inOtherRecords) {
            zone.hostaddrs.setEditIndex(edited ? edited->index : RecordList::kNewRecord);
            return storeRecord(context, zone.hostaddrs, line, host + kFive + text, host);
        }
        const QString description = recordChangeDescription(context.state, removed, {line});
        zone.otherrecords.removeAt(edited->index);
        zone.hostaddrs.append(line, host + kFive + text);
        return saveChanged(context, host, description);
    }
    const QString origin = zoneOrigin(context.state);
    const QString owner = host == QLatin1String("@") ? origin + QLatin1Char('.') : qualifyWithOrigin(host, origin);
    const QString ttl = edited && edited->inOtherRecords ? edited->ttl : QString();
    const QString line = contextFreeLine(owner, ttl, QStringLiteral("IN"), family, text);
    const QString description = recordChangeDescription(context.state, removed, {line});
    if (edited && edited->inOtherRecords) {
        zone.otherrecords.setEditIndex(edited->index);
        if (!zone.otherrecords.storeAtEditIndex(line))
            return EditResult{EditStatus::NoRecord, host};
    } else {
        if (edited)
            zone.hostaddrs.removeAt(edited->index);
        zone.otherrecords.append(line);
    }
    zone.otherrecords.setEditIndex(OtherRecords::kNewRecord);
    return saveChanged(context, host, description);
}

QString withoutFinalDot(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) ? text.chopped(1) : text;
}

QString unquoted(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(kQuote) && text.endsWith(kQuote))
        return text.mid(1, text.size() - 2);
    return text;
}

} // namespace

QString quotedContact(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(kQuote) && text.endsWith(kQuote))
        return text;
    return kQuote + text + kQuote;
}

HostFields hostFieldsAt(const ZoneModel& zone, int index)
{
    const std::optional<HostAddressEntry> entry = hostAddressEntryAt(zone, index);
    if (!entry)
        return HostFields{};
    if (entry->inOtherRecords)
        return HostFields{entry->owner, entry->address};
    return HostFields{fieldText(entry->line, 0), fieldText(entry->line, 3)};
}

AliasFields aliasFieldsAt(const ZoneModel& zone, int index)
{
    const QString line = zone.aliases.line(index);
    return AliasFields{fieldText(line, 0), fieldText(line, 3)};
}

PersonFields personFieldsAt(const ZoneModel& zone, int index)
{
    const QString rp = zone.responsible.line(index);
    return PersonFields{fieldText(rp, 0), fieldText(rp, 3), restFrom(zone.textfiles.line(index), 3)};
}

EditResult saveHost(ZoneContext& context, HostFields& fields)
{
    AppState& state = context.state;
    Prompter& prompter = context.prompter;
    if (fields.first.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the host name field before saving. Re-Enter"));
    if (fields.second.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the IP field before saving. Re-Enter"));
    if (hasIllegalCharacters(fields.first))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in the host name field."));
    // The colons of an IPv6 address are the one sign an address may hold that a name may not.
    if (hasIllegalCharacters(QString(fields.second).remove(QLatin1Char(':'))))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in the IP field."));
    // Checked whatever the owner: a zone with one address the name server cannot read is not loaded at all.
    const QString typed = withoutFinalDot(fields.second);
    const std::optional<IpAddress> address = IpAddress::parse(typed);
    if (!address)
        return refuse(prompter, kAttention,
                      ipAddressRefusal(QStringLiteral("You have entered an invalid IP# in the first IP# field. "
                                                      "Re-Enter."),
                                       typed));
    const int position = state.zone.hostaddrs.editIndex();
    const std::optional<HostAddressEntry> edited = hostAddressEntryAt(state.zone, position);
    if (position != RecordList::kNewRecord && !edited)
        return EditResult{EditStatus::NoRecord, QString()};
    const QString origin = zoneOrigin(state);
    if (!usesAtOwner(state.zone.sourceofauth.value(SoaRecord::Owner))) {
        const std::optional<QString> completed = completeZoneName(
            fields.first.toLower(), origin, state.tlds, state.domainDefaults.askBeforeEachNameServer, prompter);
        if (!completed)
            return EditResult{EditStatus::Refused, QString()};
        fields.first = *completed;
        if (state.zone.aliases.containsOwner(fields.first) || otherRecordAt(state.zone, fields.first, origin, true))
            return refuse(prompter, kReEnter, QStringLiteral("You already have used the host name as an alias."));
        // A host may hold several addresses, of both families; the same address twice is one record.
        if (holdsAddress(state.zone, origin, fields.first, *address, position))
            return refuse(prompter, kReEnter, QStringLiteral("You already have entered this host address."));
    }
    const QString host = stripToNameCharacters(fields.first);
    return storeHost(context, host, *address, edited);
}

EditResult saveAlias(ZoneContext& context, AliasFields& fields)
{
    AppState& state = context.state;
    Prompter& prompter = context.prompter;
    if (fields.first.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the alias field before saving. Re-Enter"));
    if (fields.second.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the name field before saving. Re-Enter"));
    if (hasIllegalCharacters(fields.first))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in the alias field."));
    if (hasIllegalCharacters(fields.second))
        return refuse(prompter, kAttention,
                      QStringLiteral("You have illegal characters in the name to point to field."));
    RecordList& aliases = state.zone.aliases;
    if (!usesAtOwner(state.zone.sourceofauth.value(SoaRecord::Owner))) {
        const QString origin = zoneOrigin(state);
        bool& askBeforeCompleting = state.domainDefaults.askBeforeEachNameServer;
        const std::optional<QString> alias =
            checkServerName(fields.first, origin, state.tlds, askBeforeCompleting, prompter);
        if (!alias)
            return EditResult{EditStatus::Refused, QString()};
        fields.first = *alias;
        if (state.zone.hostaddrs.containsOwner(fields.first))
            return refuse(prompter, kReEnter,
                          QStringLiteral("You already have used this alias name as a host address."));
        const std::optional<QString> target =
            completeZoneName(fields.second.toLower(), origin.toLower(), state.tlds, askBeforeCompleting, prompter);
        if (!target)
            return EditResult{EditStatus::Refused, QString()};
        fields.second = *target;
        if (aliases.containsOwner(fields.first, aliases.editIndex()))
            return refuse(prompter, kReEnter, QStringLiteral("You already have entered this alias."));
        if (!confirmAliasTarget(context, fields.second))
            return EditResult{EditStatus::Refused, QString()};
    }
    // A name with an alias may hold nothing else: the name server refuses a zone where one has both.
    const QString origin = zoneOrigin(state);
    if (absoluteName(fields.first, origin) == absoluteName(QStringLiteral("@"), origin) ||
        ownsRecordIn(state.zone.hostaddrs, fields.first, origin) ||
        ownsRecordIn(state.zone.responsible, fields.first, origin))
        return refuse(prompter, kReEnter,
                      QStringLiteral("This name already holds other records of the zone (the zone's own name, a host "
                                     "or a responsible person), and an alias can share its name with none. "
                                     "Re-Enter."));
    if (otherRecordAt(state.zone, fields.first, origin, false))
        return refuse(prompter, kReEnter,
                      QStringLiteral("This name already holds records listed under Other Records, and an alias can "
                                     "share its name with none. Re-Enter."));
    const QString alias = stripToNameCharacters(fields.first);
    const QString target = stripToNameCharacters(fields.second);
    return storeRecord(context, aliases, aliasLine(alias, target), alias + kFive + target, alias);
}

EditResult savePerson(ZoneContext& context, PersonFields& fields)
{
    ZoneModel& zone = context.state.zone;
    Prompter& prompter = context.prompter;
    if (fields.first.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the name field before saving. Re-Enter"));
    if (fields.second.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the mbox-domain field before saving. Re-Enter"));
    if (fields.third.isEmpty())
        return refuse(prompter, kAttention,
                      QStringLiteral("You must enter something in the text-domain field before saving. Re-Enter"));
    if (hasIllegalCharacters(fields.first))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in field one."));
    QString mailbox = fields.second;
    mailbox.replace(QLatin1Char('@'), QLatin1Char('.'));
    if (hasIllegalCharacters(mailbox))
        return refuse(prompter, kAttention, QStringLiteral("You have illegal characters in field two."));
    fields.second = mailbox;
    if (unquoted(fields.third).size() > kMaxContactLength)
        return refuse(prompter, kAttention,
                      QStringLiteral("Your contact info is longer than 255 characters. Please shorten it and "
                                     "Re-Enter."));
    fields.third = quotedContact(fields.third);
    if (!mailbox.contains(QLatin1Char('.')))
        return refuse(prompter, kAttention, QStringLiteral("Your e-mail address is entered improperly."));

    if (ownsRecordIn(zone.aliases, fields.first, zoneOrigin(context.state)) ||
        otherRecordAt(zone, fields.first, zoneOrigin(context.state), true))
        return refuse(prompter, kReEnter, QStringLiteral("You already have used this name as an alias."));
    // Both names of the record are written absolute: a relative one gets the zone appended by the name
    // server. The second names the text record written beside it, at the person's name in this zone.
    const QString& person = fields.first;
    const QString absoluteMailbox = mailbox.endsWith(QLatin1Char('.')) ? mailbox : mailbox + QLatin1Char('.');
    const QString textName = qualifyWithOrigin(person, zoneOrigin(context.state));
    const QString rpLine = responsiblePersonLine(person, absoluteMailbox, textName);
    const QString txtLine = textRecordLine(person, fields.third);
    const QString description = recordChangeDescription(context.state, lineAtEditIndex(zone.responsible), {rpLine});
    if (!zone.storeResponsible(rpLine, person + kFive + absoluteMailbox + QLatin1Char(' '), txtLine, txtLine))
        return EditResult{EditStatus::NoRecord, person};
    return saveChanged(context, person, description);
}
