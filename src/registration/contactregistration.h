#pragma once

#include "registration/registrationaction.h"
#include "registration/registrationcontact.h"

#include <QString>

// The "Contact Reg" record: a registry contact with its authorization, notification and authentication.
struct ContactRegistration
{
    RegistrationAction action = RegistrationAction::New;
    QString authorizationType;
    QString authorizationInfo;
    QString notifyUpdates;
    QString notifyUse;
    QString authenticationType;
    QString authenticationInfo;
    QString publicLetter = QStringLiteral("N"); // "Y" public, "N" confidential
    RegistrationContact contact;                // contact.name is the name the files are kept under
};
