#include "registration/domainregistration.h"

void copyOrganizationToContact(const DomainRegistration::Organization& organization, RegistrationContact& contact)
{
    contact.organization = organization.name;
    contact.address = organization.address;
    contact.city = organization.city;
    contact.state = organization.state;
    contact.postalCode = organization.postalCode;
    contact.country = organization.country;
}

void copyContactToOrganization(const RegistrationContact& contact, DomainRegistration::Organization& organization)
{
    organization.name = contact.organization;
    organization.address = contact.address;
    organization.city = contact.city;
    organization.state = contact.state;
    organization.postalCode = contact.postalCode;
    organization.country = contact.country;
}
