#pragma once

#include "registration/registrationaction.h"
#include "registration/registrationcontact.h"

#include <QString>

// The "Host Reg" record: one name server host and its contact.
struct HostRegistration
{
    RegistrationAction action = RegistrationAction::New;
    QString authScheme;
    QString authInfo;
    QString nicHandle;
    QString hostName;
    QString ipAddress;
    RegistrationContact contact;
};
