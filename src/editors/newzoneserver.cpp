#include "editors/newzoneserver.h"

#include "checks/namechecks.h"
#include "net/localaddress.h"
#include "session/appstate.h"

namespace {

QString withFinalDot(const QString& name)
{
    return name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.');
}

} // namespace

bool liesInZone(const QString& absoluteName, const QString& zone)
{
    const QString name = absoluteName.toLower();
    const QString apex = withFinalDot(zone.toLower());
    return name == apex || name.endsWith(QLatin1Char('.') + apex);
}

NewZoneServer newZoneServer(const AppState& state, const QString& zone)
{
    NewZoneServer server;
    server.server = state.servername;
    const QString email = state.emailaddr.trimmed();
    const QString mailbox = mailboxOf(email);
    server.mailbox = email.isEmpty() || hasIllegalCharacters(mailbox) || !mailbox.contains(QLatin1Char('.'))
                         ? QStringLiteral("hostmaster.") + zone + QLatin1Char('.')
                         : mailbox;
    const QString fullName = state.zoneLists.firstzone.trimmed();
    server.nameServer = fullName.isEmpty() || fullName == QLatin1String(".")
                            ? state.servername + QLatin1Char('.') + zone + QLatin1Char('.')
                            : withFinalDot(fullName);
    if (liesInZone(server.nameServer, zone))
        server.address = localServerAddress();
    return server;
}
