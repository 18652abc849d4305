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

// The labels of the twelve contact lines without their number ("NIC Handle (if known)......: " and so on),
// as the domain and host templates print them.
const QStringList& contactLabels();
