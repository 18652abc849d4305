#pragma once

#include <QString>
#include <QStringList>

struct AppState;

enum class RegistrationKind
{
    Domain,
    Host,
    Contact
};

// What differs between the three kinds of registration outside their fields: where their files live, the
// section of their profiles, the texts of their boxes and the subject of their mail.
struct RegistrationKindInfo
{
    QString folder;         // under the per-user data folder: "domains", "hosts", "contacts"
    QString listFile;       // the name list: "domains.cbx", "hosts.cbx", "Contacts.cbx"
    QString section;        // of the profile and of the defaults: "DomainReg", "HostReg", "ContactReg"
    QString emptyNameText;  // the box when the name field is empty
    QString deleteQuestion; // asked when the Delete action is chosen
    QString subjectTail;    // what follows the name in the mail subject

    QString subject(const QString& name) const;
};

const RegistrationKindInfo& kindInfo(RegistrationKind kind);

// The drop-down list of known names of the kind, as the program state keeps it.
QStringList& nameList(AppState& state, RegistrationKind kind);
