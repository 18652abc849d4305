#pragma once

#include "registration/registrationaction.h"
#include "registration/registrationcontact.h"

#include <QString>
#include <array>

// The "Domain Reg" record: a domain, the organization using it, its three contacts and its name servers.
struct DomainRegistration
{
    struct Organization
    {
        QString name;
        QString address;
        QString city;
        QString state;
        QString postalCode;
        QString country;
    };

    struct NameServer
    {
        QString host;
        QString address;
    };

    RegistrationAction action = RegistrationAction::New;
    QString authScheme;
    QString authInfo;
    QString purpose; // may span several lines
    QString domainName;
    Organization organization;
    RegistrationContact admin;
    RegistrationContact technical;
    RegistrationContact billing;
    std::array<NameServer, 4> nameServers; // the primary first, then up to three secondaries
    QString invoice = QStringLiteral("E"); // "E" by e-mail, "P" by postal mail; never in the template
};

// The organization's address fields go into a contact's organization and address fields and back.
void copyOrganizationToContact(const DomainRegistration::Organization& organization, RegistrationContact& contact);
void copyContactToOrganization(const RegistrationContact& contact, DomainRegistration::Organization& organization);
