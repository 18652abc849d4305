#pragma once

#include <QList>
#include <QString>

// The twelve fields of a registry contact, in the order the templates list them.
struct RegistrationContact
{
    QString handle;
    QString role; // "I" for an individual, "R" for a role, as the user types it
    QString name;
    QString organization;
    QString address;
    QString city;
    QString state;
    QString postalCode;
    QString country;
    QString phone;
    QString fax;
    QString mail;

    QList<QString*> fields();
    QStringList values() const;
};
