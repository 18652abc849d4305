#include "registration/registrationfields.h"

#include <QStringList>

namespace {

struct FieldRef
{
    QString key;
    QString* field;
};

const QStringList kContactSuffixes = {QStringLiteral("Handle"), QStringLiteral("Role"), QStringLiteral("Name"),
                                      QStringLiteral("Org"),    QStringLiteral("Addr"), QStringLiteral("City"),
                                      QStringLiteral("State"),  QStringLiteral("Zip"),  QStringLiteral("Country"),
                                      QStringLiteral("Phone"),  QStringLiteral("Fax"),  QStringLiteral("Mail")};

const QStringList kHostContactSuffixes = {
    QStringLiteral("NicHandle"), QStringLiteral("Role"),  QStringLiteral("Name"),  QStringLiteral("Org"),
    QStringLiteral("Addr"),      QStringLiteral("City"),  QStringLiteral("State"), QStringLiteral("Zip"),
    QStringLiteral("Country"),   QStringLiteral("Phone"), QStringLiteral("Fax"),   QStringLiteral("Mail")};

void addContact(QList<FieldRef>& refs, RegistrationContact& contact, const QStringList& keys)
{
    const QList<QString*> fields = contact.fields();
    for (int i = 0; i < fields.size(); ++i)
        refs.append({keys.at(i), fields.at(i)});
}

QStringList keysOf(const QString& prefix, const QStringList& suffixes, const QString& tail = QString())
{
    QStringList keys;
    for (const QString& suffix : suffixes)
        keys << prefix + suffix + tail;
    return keys;
}

QList<FieldRef> organizationRefs(DomainRegistration::Organization& o, const QStringList& keys)
{
    const QList<QString*> fields = {&o.name, &o.address, &o.city, &o.state, &o.postalCode, &o.country};
    QList<FieldRef> refs;
    for (int i = 0; i < fields.size(); ++i)
        refs.append({keys.at(i), fields.at(i)});
    return refs;
}

QList<FieldRef> nameServerRefs(DomainRegistration& r, const QStringList& keys)
{
    QList<FieldRef> refs;
    for (int i = 0; i < int(r.nameServers.size()); ++i) {
        refs.append({keys.at(2 * i), &r.nameServers[i].host});
        refs.append({keys.at(2 * i + 1), &r.nameServers[i].address});
    }
    return refs;
}

QList<FieldRef> domainProfileRefs(DomainRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("AuthScheme"), &r.authScheme},
                            {QStringLiteral("AuthInfoEdit"), &r.authInfo},
                            {QStringLiteral("PurposeEdit"), &r.purpose}};
    refs << organizationRefs(r.organization,
                             keysOf(QStringLiteral("O"),
                                    {QStringLiteral("OrgName"), QStringLiteral("Addr"), QStringLiteral("City"),
                                     QStringLiteral("State"), QStringLiteral("Zip"), QStringLiteral("Country")},
                                    QStringLiteral("Edit")));
    addContact(refs, r.admin, keysOf(QStringLiteral("A"), kContactSuffixes, QStringLiteral("Edit")));
    addContact(refs, r.technical, keysOf(QStringLiteral("T"), kContactSuffixes, QStringLiteral("Edit")));
    addContact(refs, r.billing, keysOf(QStringLiteral("B"), kContactSuffixes, QStringLiteral("Edit")));
    refs << nameServerRefs(r, {QStringLiteral("PriNSEdit"), QStringLiteral("PriNSIPEdit"), QStringLiteral("SecNSEdit"),
                               QStringLiteral("SecNSIPEdit"), QStringLiteral("ThirdNSEdit"),
                               QStringLiteral("ThirdNSIPEdit"), QStringLiteral("fourthnsedit"),
                               QStringLiteral("fourthnsipedit")});
    return refs;
}

QList<FieldRef> hostProfileRefs(HostRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("HostNicHandle"), &r.nicHandle},
                            {QStringLiteral("HostAuthScheme"), &r.authScheme},
                            {QStringLiteral("HostAuthInfo"), &r.authInfo},
                            {QStringLiteral("HostIPAddress"), &r.ipAddress}};
    addContact(refs, r.contact, keysOf(QStringLiteral("HC"), kHostContactSuffixes));
    return refs;
}

// Without the "Public" letter, which sits between them.
QList<FieldRef> contactNotifyRefs(ContactRegistration& r)
{
    return {{QStringLiteral("NotifyUp"), &r.notifyUpdates},
            {QStringLiteral("NotifyUse"), &r.notifyUse},
            {QStringLiteral("ContactAuthenticationType"), &r.authenticationType}};
}

QList<FieldRef> contactRestRefs(ContactRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("ContactAuthorizationType"), &r.authorizationType},
                            {QStringLiteral("ContactAuthorizationInfo"), &r.authorizationInfo},
                            {QStringLiteral("ContactAuthenticationInfo"), &r.authenticationInfo}};
    addContact(refs, r.contact,
               {QStringLiteral("ContactNicHandle"), QStringLiteral("ContactRole"), QStringLiteral("Contactname"),
                QStringLiteral("ContactOrgName"), QStringLiteral("ContactAddr"), QStringLiteral("ContactCity"),
                QStringLiteral("ContactState"), QStringLiteral("ContactZip"), QStringLiteral("ContactCountry"),
                QStringLiteral("ContactPhone"), QStringLiteral("ContactFax"), QStringLiteral("ContactMail")});
    return refs;
}

FieldValues valuesOf(const QList<FieldRef>& refs)
{
    FieldValues values;
    for (const FieldRef& ref : refs)
        values.append({ref.key, *ref.field});
    return values;
}

// Profile keys compare without regard to case, as in any INI file; the first of equal keys counts.
QHash<QString, QString> byLowerKey(const FieldValues& profile)
{
    QHash<QString, QString> values;
    for (const auto& [key, value] : profile) {
        const QString lower = key.toLower();
        if (!values.contains(lower))
            values.insert(lower, value);
    }
    return values;
}

void applyRefs(const QList<FieldRef>& refs, const QHash<QString, QString>& lowerValues)
{
    for (const FieldRef& ref : refs)
        *ref.field = lowerValues.value(ref.key.toLower());
}

// A radio choice changes only for one of its own letters.
void applyLetter(QString& field, const QString& value, const QString& first, const QString& second)
{
    const QString upper = value.trimmed().toUpper();
    if (upper == first || upper == second)
        field = upper;
}

QList<FieldRef> domainDefaultRefs(DomainRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("Name"), &r.domainName},
                            {QStringLiteral("AuthInfo"), &r.authInfo},
                            {QStringLiteral("AuthScheme"), &r.authScheme},
                            {QStringLiteral("Purpose"), &r.purpose}};
    refs << organizationRefs(r.organization,
                             {QStringLiteral("OrgName"), QStringLiteral("OAddr"), QStringLiteral("OCity"),
                              QStringLiteral("OState"), QStringLiteral("OZip"), QStringLiteral("OCountry")});
    QStringList admin = keysOf(QStringLiteral("A"), kContactSuffixes);
    admin[3] = QStringLiteral("AAOrg");
    QStringList technical = keysOf(QStringLiteral("T"), kContactSuffixes);
    technical[3] = QStringLiteral("TAOrg");
    addContact(refs, r.admin, admin);
    addContact(refs, r.technical, technical);
    addContact(refs, r.billing, keysOf(QStringLiteral("B"), kContactSuffixes));
    refs << nameServerRefs(r, {QStringLiteral("PriNS"), QStringLiteral("PriNSIP"), QStringLiteral("SecNS"),
                               QStringLiteral("SecNSIP"), QStringLiteral("ThirdNS"), QStringLiteral("ThirdNSIP"),
                               QStringLiteral("FourthNS"), QStringLiteral("FourthNSIP")});
    return refs;
}

QList<FieldRef> hostDefaultRefs(HostRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("HostAuthScheme"), &r.authScheme},
                            {QStringLiteral("AuthInfo"), &r.authInfo},
                            {QStringLiteral("HostHandle"), &r.nicHandle},
                            {QStringLiteral("HostName"), &r.hostName},
                            {QStringLiteral("HostIPAddress"), &r.ipAddress}};
    addContact(refs, r.contact, keysOf(QStringLiteral("HC"), kHostContactSuffixes));
    return refs;
}

QList<FieldRef> contactDefaultRefs(ContactRegistration& r)
{
    QList<FieldRef> refs = {{QStringLiteral("ContactNotifyUpdates"), &r.notifyUpdates},
                            {QStringLiteral("ContactNotifyUse"), &r.notifyUse},
                            {QStringLiteral("ContactAuthorizationType"), &r.authorizationType},
                            {QStringLiteral("ContactAuthorizationInfo"), &r.authorizationInfo},
                            {QStringLiteral("ContactAuthenticationType"), &r.authenticationType},
                            {QStringLiteral("ContactAuthenticationInfo"), &r.authenticationInfo}};
    addContact(refs, r.contact,
               {QStringLiteral("ContactNicHandle"), QStringLiteral("ContactRole"), QStringLiteral("Contactname"),
                QStringLiteral("ContactOrgName"), QStringLiteral("ContactAddr"), QStringLiteral("ContactCity"),
                QStringLiteral("ContactState"), QStringLiteral("ContactZip"), QStringLiteral("ContactCountry"),
                QStringLiteral("ContactPhone"), QStringLiteral("ContactFax"), QStringLiteral("ContactMail")});
    return refs;
}

// The defaults restore every value they hold except those named here.
void applyDefaultRefs(const QList<FieldRef>& refs, const QHash<QString, QString>& values, const QStringList& notRead)
{
    for (const FieldRef& ref : refs) {
        if (!notRead.contains(ref.key))
            *ref.field = values.value(ref.key);
    }
}

} // namespace

FieldValues domainProfile(const DomainRegistration& record)
{
    DomainRegistration copy = record;
    FieldValues values = valuesOf(domainProfileRefs(copy));
    values.append({QStringLiteral("Invoice"), record.invoice});
    return values;
}

FieldValues hostProfile(const HostRegistration& record)
{
    HostRegistration copy = record;
    FieldValues values = {{QStringLiteral("HostType"), actionLetter(record.action)}};
    values << valuesOf(hostProfileRefs(copy));
    return values;
}

FieldValues contactProfile(const ContactRegistration& record)
{
    ContactRegistration copy = record;
    FieldValues values = {{QStringLiteral("ContactType"), actionLetter(record.action)}};
    values << valuesOf(contactNotifyRefs(copy));
    values.append({QStringLiteral("Public"), record.publicLetter});
    values << valuesOf(contactRestRefs(copy));
    return values;
}

void applyDomainProfile(DomainRegistration& record, const FieldValues& profile)
{
    const QHash<QString, QString> values = byLowerKey(profile);
    applyRefs(domainProfileRefs(record), values);
    applyLetter(record.invoice, values.value(QStringLiteral("invoice")), QStringLiteral("E"), QStringLiteral("P"));
}

void applyHostProfile(HostRegistration& record, const FieldValues& profile)
{
    applyRefs(hostProfileRefs(record), byLowerKey(profile));
}

void applyContactProfile(ContactRegistration& record, const FieldValues& profile)
{
    const QHash<QString, QString> values = byLowerKey(profile);
    applyRefs(contactNotifyRefs(record), values);
    applyRefs(contactRestRefs(record), values);
    applyLetter(record.publicLetter, values.value(QStringLiteral("public")), QStringLiteral("Y"), QStringLiteral("N"));
}

FieldValues domainDefaults(const DomainRegistration& record)
{
    DomainRegistration copy = record;
    return valuesOf(domainDefaultRefs(copy));
}

FieldValues hostDefaults(const HostRegistration& record)
{
    HostRegistration copy = record;
    return valuesOf(hostDefaultRefs(copy));
}

FieldValues contactDefaults(const ContactRegistration& record)
{
    ContactRegistration copy = record;
    return valuesOf(contactDefaultRefs(copy));
}

void applyDomainDefaults(DomainRegistration& record, const QHash<QString, QString>& values)
{
    applyDefaultRefs(domainDefaultRefs(record), values, {QStringLiteral("Name")});
}

void applyHostDefaults(HostRegistration& record, const QHash<QString, QString>& values)
{
    applyDefaultRefs(hostDefaultRefs(record), values,
                     {QStringLiteral("HostHandle"), QStringLiteral("HostName"), QStringLiteral("HostIPAddress")});
}

void applyContactDefaults(ContactRegistration& record, const QHash<QString, QString>& values)
{
    applyDefaultRefs(contactDefaultRefs(record), values,
                     {QStringLiteral("ContactNicHandle"), QStringLiteral("ContactRole")});
}
