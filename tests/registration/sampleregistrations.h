#pragma once

#include "registration/contactregistration.h"
#include "registration/domainregistration.h"
#include "registration/hostregistration.h"

// Records with every field filled with a value of its own, so that a field written in the wrong place shows.
RegistrationContact sampleContact(const QString& tag);
DomainRegistration sampleDomain();
HostRegistration sampleHost();
ContactRegistration sampleContactRegistration();
