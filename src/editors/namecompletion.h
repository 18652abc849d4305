#pragma once

#include <QString>
#include <optional>

class Prompter;
class RecordList;
class TldList;

// The checks that complete a typed name and may ask the user about it. Each takes the origin of the zone being
// edited (its name without a trailing dot), the list of known top-level domains and the remembered answer
// askBeforeCompleting (false once the user ticked "don't ask again"; cleared here when they do). The result is
// the completed name, ending in a dot, or "@" unchanged; none on failure, after the failure message was shown.

// For the names of name servers, mail servers and aliases.
std::optional<QString> checkServerName(const QString& name, const QString& origin, const TldList& tlds,
                                       bool& askBeforeCompleting, Prompter& prompter);

// For host names and alias targets.
std::optional<QString> completeZoneName(const QString& name, const QString& origin, const TldList& tlds,
                                        bool& askBeforeCompleting, Prompter& prompter);

enum class ServerKind
{
    NameServer,
    MailServer
};

struct HostRecordCheck
{
    bool proceed = true;               // false: the user chose to re-enter, the save is abandoned
    std::optional<QString> pickedHost; // the host chosen in the picker, for the editor's name field
};

// Run after checkServerName succeeded: a name or mail server inside the zone should have a host record. Asks
// when it has none and lets the user pick one of the zone's hosts instead. A mail server may go on without
// one; a name server may not, since the name server refuses such a zone.
HostRecordCheck checkHostRecord(const QString& name, ServerKind kind, const QString& origin,
                                const RecordList& hostaddrs, Prompter& prompter);

// "Proceed anyways" for a server inside the zone that has no host record: a mail server proceeds; a name server
// is refused with a message naming it.
HostRecordCheck proceedWithoutHost(const QString& name, ServerKind kind, Prompter& prompter);
