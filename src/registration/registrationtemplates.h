#pragma once

#include "registration/contactregistration.h"
#include "registration/domainregistration.h"
#include "registration/hostregistration.h"

#include <QString>
#include <QStringList>

// The registry's plain-text templates, one string per line. Every labelled line is there even when its
// field is empty; a value holding line breaks goes on as lines of its own. `processed` is the date and time
// of the "Processed" line.
QStringList domainTemplate(const DomainRegistration& record, const QString& processed);
QStringList hostTemplate(const HostRegistration& record, const QString& processed);
QStringList contactTemplate(const ContactRegistration& record);
