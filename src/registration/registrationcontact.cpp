#include "registration/registrationcontact.h"

#include <QStringList>

QList<QString*> RegistrationContact::fields()
{
    return {&handle, &role, &name, &organization, &address, &city, &state, &postalCode, &country, &phone, &fax, &mail};
}

QStringList RegistrationContact::values() const
{
    return {handle, role, name, organization, address, city, state, postalCode, country, phone, fax, mail};
}
