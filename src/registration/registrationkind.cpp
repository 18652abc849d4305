#include "registration/registrationkind.h"

#include "session/appstate.h"

namespace {

constexpr int kSubjectLimit = 255;

} // namespace

QString RegistrationKindInfo::subject(const QString& name) const
{
    return QString(name + subjectTail).left(kSubjectLimit);
}

const RegistrationKindInfo& kindInfo(RegistrationKind kind)
{
    static const RegistrationKindInfo domain{
        QStringLiteral("domains"),
        QStringLiteral("domains.cbx"),
        QStringLiteral("DomainReg"),
        QStringLiteral("You did not enter a domain name on the TYPE tab."),
        QStringLiteral("You just chose to DELETE a domain.  Is this what you really want to do?"),
        QStringLiteral(" Internic DOMAIN Registration")};
    static const RegistrationKindInfo host{
        QStringLiteral("hosts"),
        QStringLiteral("hosts.cbx"),
        QStringLiteral("HostReg"),
        QStringLiteral("You did not enter a host name on the TYPE tab."),
        QStringLiteral("You just chose to DELETE a host.  Is this what you really want to do?"),
        QStringLiteral(" Internic HOST Registration")};
    static const RegistrationKindInfo contact{
        QStringLiteral("contacts"),
        QStringLiteral("Contacts.cbx"),
        QStringLiteral("ContactReg"),
        QStringLiteral("You did not enter a Contact Name on the Authorization, Notify & Authentication tab."),
        QStringLiteral("You just chose to DELETE a contact.  Is this what you really want to do?"),
        QStringLiteral(" Internic CONTACT Registration")};
    switch (kind) {
    case RegistrationKind::Domain:
        return domain;
    case RegistrationKind::Host:
        return host;
    case RegistrationKind::Contact:
        break;
    }
    return contact;
}

QStringList& nameList(AppState& state, RegistrationKind kind)
{
    switch (kind) {
    case RegistrationKind::Domain:
        return state.domainNames;
    case RegistrationKind::Host:
        return state.hostNames;
    case RegistrationKind::Contact:
        break;
    }
    return state.contactNames;
}
