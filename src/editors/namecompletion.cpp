#include "editors/namecompletion.h"

#include "checks/namechecks.h"
#include "platform/prompter.h"
#include "zone/recordlist.h"

namespace {

std::optional<QString> fail(Prompter& prompter)
{
    prompter.message(QStringLiteral("Attention!"), QStringLiteral("Server has an incorrect address. Re-Enter."));
    return std::nullopt;
}

// The question with the box against further questions; the remembered answer skips it.
std::optional<QString> confirmCompletion(const QString& question, const QString& completed, bool& askBeforeCompleting,
                                         Prompter& prompter)
{
    if (!askBeforeCompleting)
        return completed;
    switch (prompter.askQuestion(question, true)) {
    case Prompter::Button::All:
        askBeforeCompleting = false;
        return completed;
    case Prompter::Button::Ok:
        return completed;
    default:
        return fail(prompter);
    }
}

QString willReference(const QString& name, const QString& field, const QString& completed)
{
    return QStringLiteral("You entered \"") + name + QStringLiteral("\" in the ") + field +
           QStringLiteral(" field. This will reference ") + completed +
           QStringLiteral(" Click \"OK\" to accept this, or \"Cancel\" to modify your entry.");
}

} // namespace

HostRecordCheck proceedWithoutHost(const QString& name, ServerKind kind, Prompter& prompter)
{
    // A mail server without an address is only a warning to the name server; a name server inside the zone
    // without one makes it refuse the whole zone.
    if (kind == ServerKind::MailServer)
        return {};
    prompter.message(QStringLiteral("Attention!"),
                     QStringLiteral("The name server does not load a zone whose name server inside it has no host "
                                    "address. Add a host address for ") +
                         name + QStringLiteral(" first. Re-Enter"));
    return {false, std::nullopt};
}

std::optional<QString> checkServerName(const QString& name, const QString& origin, const TldList& tlds,
                                       bool& askBeforeCompleting, Prompter& prompter)
{
    if (name == QLatin1String("@"))
        return name;
    if (endsWithKnownTld(name, tlds))
        return name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.');
    const QString completed = qualifyWithOrigin(name, origin);
    if (!hasAtLeastThreeDots(completed))
        return fail(prompter);
    return confirmCompletion(willReference(name, QStringLiteral("first name"), completed), completed,
                             askBeforeCompleting, prompter);
}

std::optional<QString> completeZoneName(const QString& name, const QString& origin, const TldList& tlds,
                                        bool& askBeforeCompleting, Prompter& prompter)
{
    if (name == QLatin1String("@"))
        return name;
    const QString completed = qualifyWithOrigin(name, origin);
    const bool tld = endsWithKnownTld(name, tlds);
    const bool inside = name.contains(origin);
    const bool contained = origin.contains(name);

    if (!hasAtLeastThreeDots(completed)) {
        if (tld && (inside || contained))
            return completed;
        return fail(prompter);
    }
    if (!tld)
        return confirmCompletion(willReference(name, QStringLiteral("name"), completed), completed, askBeforeCompleting,
                                 prompter);
    if (inside)
        return completed;
    const QString question =
        QStringLiteral("The name you have entered in the name field appears to be invalid because it does not "
                       "include the domain name you are working with, and we have detected a period in the name. "
                       "Click \"OK\" if you would like ") +
        name + QStringLiteral(" to be changed to ") + completed +
        QStringLiteral(" or cancel to re-enter the information.");
    if (prompter.askQuestion(question, false) == Prompter::Button::Ok || contained)
        return completed;
    return fail(prompter);
}

HostRecordCheck checkHostRecord(const QString& name, ServerKind kind, const QString& origin,
                                const RecordList& hostaddrs, Prompter& prompter)
{
    if (!name.contains(origin))
        return {};
    if (hostaddrs.containsOwner(name))
        return {};

    if (hostaddrs.isEmpty()) {
        const Prompter::Button answer = prompter.message(
            QStringLiteral("Information"),
            QStringLiteral("You have not defined a host address record for this name. You have not created any host "
                           "addresses to choose from. Click \"OK\" to proceed anyways, or \"CANCEL\" to re-enter."),
            Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
        return answer == Prompter::Button::Ok ? proceedWithoutHost(name, kind, prompter) : HostRecordCheck{false, {}};
    }

    const Prompter::Button answer = prompter.message(
        QStringLiteral("Information"),
        QStringLiteral("You have not defined a host address record for this name. Press \"YES\" to select from the "
                       "list of already defined host addresses, \"OK\" to proceed anyways, or \"CANCEL\" to "
                       "re-enter."),
        Prompter::Button::Yes | Prompter::Button::Ok | Prompter::Button::Cancel, Prompter::Icon::Information);
    // The name server compares names without regard to case: a host spelt otherwise is still the address.
    if (answer == Prompter::Button::Ok)
        return hostaddrs.owners().contains(name, Qt::CaseInsensitive) ? HostRecordCheck{}
                                                                      : proceedWithoutHost(name, kind, prompter);
    if (answer != Prompter::Button::Yes)
        return {false, std::nullopt};

    const QString caption = kind == ServerKind::NameServer ? QStringLiteral("Select host for name server...")
                                                           : QStringLiteral("Select host for mail server...");
    const QStringList hosts = hostaddrs.owners();
    const std::optional<int> chosen = prompter.pick(caption, hosts);
    if (chosen && *chosen >= 0 && *chosen < hosts.size())
        return {true, hosts.at(*chosen)};
    return {};
}
