#include "registration/registrationdocument.h"

#include "registration/profilefile.h"
#include "registration/registrationtemplates.h"

#include <QFileInfo>

namespace {

RegistrationDocument makeDocument(RegistrationKind kind, const QString& name, RegistrationAction action,
                                  const QString& scheme, const QStringList& lines, const FieldValues& profile)
{
    RegistrationDocument document;
    document.kind = kind;
    document.name = name;
    document.action = action;
    document.scheme = scheme;
    document.templateLines = lines;
    document.profile = profile;
    return document;
}

} // namespace

RegistrationDocument registrationDocument(const DomainRegistration& record, const QString& processed)
{
    return makeDocument(RegistrationKind::Domain, record.domainName, record.action, record.authScheme,
                        domainTemplate(record, processed), domainProfile(record));
}

RegistrationDocument registrationDocument(const HostRegistration& record, const QString& processed)
{
    return makeDocument(RegistrationKind::Host, record.hostName, record.action, record.authScheme,
                        hostTemplate(record, processed), hostProfile(record));
}

RegistrationDocument registrationDocument(const ContactRegistration& record)
{
    return makeDocument(RegistrationKind::Contact, record.contact.name, record.action, record.authorizationType,
                        contactTemplate(record), contactProfile(record));
}

std::optional<RegistrationDocument> documentFromProfileFile(RegistrationKind kind, const QString& path,
                                                            RegistrationAction action, const QString& processed,
                                                            QString* errorText)
{
    const std::optional<FieldValues> profile = readProfile(path, kindInfo(kind).section, errorText);
    if (!profile)
        return std::nullopt;
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
        name.chop(4);
    switch (kind) {
    case RegistrationKind::Domain: {
        DomainRegistration record;
        applyDomainProfile(record, *profile);
        record.action = action;
        record.domainName = name;
        return registrationDocument(record, processed);
    }
    case RegistrationKind::Host: {
        HostRegistration record;
        applyHostProfile(record, *profile);
        record.action = action;
        record.hostName = name;
        return registrationDocument(record, processed);
    }
    case RegistrationKind::Contact:
        break;
    }
    ContactRegistration record;
    applyContactProfile(record, *profile);
    record.action = action;
    if (record.contact.name.isEmpty())
        record.contact.name = name;
    return registrationDocument(record);
}
