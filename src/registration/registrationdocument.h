#pragma once

#include "registration/contactregistration.h"
#include "registration/domainregistration.h"
#include "registration/hostregistration.h"
#include "registration/registrationfields.h"
#include "registration/registrationkind.h"

#include <QString>
#include <QStringList>
#include <optional>

// What showing, keeping and mailing a registration needs of its record, whatever its kind: the name its
// files go by, the action, the scheme that decides about mailing, the generated template and the profile.
struct RegistrationDocument
{
    RegistrationKind kind = RegistrationKind::Domain;
    QString name;
    RegistrationAction action = RegistrationAction::New;
    QString scheme;
    QStringList templateLines;
    FieldValues profile;
};

RegistrationDocument registrationDocument(const DomainRegistration& record, const QString& processed);
RegistrationDocument registrationDocument(const HostRegistration& record, const QString& processed);
RegistrationDocument registrationDocument(const ContactRegistration& record);

// A document from a profile file anywhere: the name is the file's name without ".ini" (for a contact, the
// profile's own name when it holds one), the fields are the profile's. None, with the reason, when the file
// cannot be read.
std::optional<RegistrationDocument> documentFromProfileFile(RegistrationKind kind, const QString& path,
                                                            RegistrationAction action, const QString& processed,
                                                            QString* errorText = nullptr);
