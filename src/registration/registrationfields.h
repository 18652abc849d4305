#pragma once

#include "registration/contactregistration.h"
#include "registration/domainregistration.h"
#include "registration/hostregistration.h"

#include <QHash>
#include <QList>
#include <QString>
#include <utility>

// Key and text pairs in the order they are written.
using FieldValues = QList<std::pair<QString, QString>>;

// The profile of a record: the keys of its profile file in their order, each with the field's text.
FieldValues domainProfile(const DomainRegistration& record);
FieldValues hostProfile(const HostRegistration& record);
FieldValues contactProfile(const ContactRegistration& record);

// Sets every field a profile holds from the profile's values (looked up without regard to case); a key the
// profile lacks empties its field. The action is never read back, the radio choices only from a known letter.
void applyDomainProfile(DomainRegistration& record, const FieldValues& profile);
void applyHostProfile(HostRegistration& record, const FieldValues& profile);
void applyContactProfile(ContactRegistration& record, const FieldValues& profile);

// The values "Save as Default" writes into the settings section of the kind, in order.
FieldValues domainDefaults(const DomainRegistration& record);
FieldValues hostDefaults(const HostRegistration& record);
FieldValues contactDefaults(const ContactRegistration& record);

// Fills the fields that the defaults restore at start-up from a section's values (value name to text).
void applyDomainDefaults(DomainRegistration& record, const QHash<QString, QString>& values);
void applyHostDefaults(HostRegistration& record, const QHash<QString, QString>& values);
void applyContactDefaults(ContactRegistration& record, const QHash<QString, QString>& values);
