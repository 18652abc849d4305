#include "sampleregistrations.h"

RegistrationContact sampleContact(const QString& tag)
{
    RegistrationContact c;
    c.handle = tag + QStringLiteral("-HANDLE");
    c.role = QStringLiteral("I");
    c.name = tag + QStringLiteral(" M\u00fcller");
    c.organization = tag + QStringLiteral(" Org");
    c.address = tag + QStringLiteral(" 12 Main Street");
    c.city = tag + QStringLiteral(" City");
    c.state = tag + QStringLiteral(" State");
    c.postalCode = tag + QStringLiteral(" 8000");
    c.country = QStringLiteral("CH");
    c.phone = tag + QStringLiteral(" +41 1 234 56 78");
    c.fax = tag + QStringLiteral(" +41 1 234 56 79");
    c.mail = tag.toLower() + QStringLiteral("@example.com");
    return c;
}

DomainRegistration sampleDomain()
{
    DomainRegistration d;
    d.action = RegistrationAction::Modify;
    d.authScheme = QStringLiteral("CRYPT-PW");
    d.authInfo = QStringLiteral("s3cret\\pw");
    d.purpose = QStringLiteral("Web and mail for the example company.\nSecond line of the purpose.");
    d.domainName = QStringLiteral("example.com");
    d.organization = {QStringLiteral("Example Corp"), QStringLiteral("1 Harbour Road"), QStringLiteral("Z\u00fcrich"),
                      QStringLiteral("ZH"),           QStringLiteral("8001"),           QStringLiteral("Switzerland")};
    d.admin = sampleContact(QStringLiteral("Admin"));
    d.technical = sampleContact(QStringLiteral("Tech"));
    d.billing = sampleContact(QStringLiteral("Billing"));
    d.nameServers = {{{QStringLiteral("ns1.example.com"), QStringLiteral("192.0.2.1")},
                      {QStringLiteral("ns2.example.com"), QStringLiteral("192.0.2.2")},
                      {QStringLiteral("ns3.example.net"), QStringLiteral("198.51.100.3")},
                      {QStringLiteral("ns4.example.org"), QStringLiteral("203.0.113.4")}}};
    d.invoice = QStringLiteral("P");
    return d;
}

HostRegistration sampleHost()
{
    HostRegistration h;
    h.action = RegistrationAction::Delete;
    h.authScheme = QStringLiteral("MAIL-FROM");
    h.authInfo = QStringLiteral("hostmaster@example.com");
    h.nicHandle = QStringLiteral("NS1-EXAMPLE");
    h.hostName = QStringLiteral("ns1.example.com");
    h.ipAddress = QStringLiteral("192.0.2.1");
    h.contact = sampleContact(QStringLiteral("Host"));
    return h;
}

ContactRegistration sampleContactRegistration()
{
    ContactRegistration c;
    c.action = RegistrationAction::New;
    c.authorizationType = QStringLiteral("PGP");
    c.authorizationInfo = QStringLiteral("key-0815");
    c.notifyUpdates = QStringLiteral("BEFORE-UPDATE");
    c.notifyUse = QStringLiteral("AFTER-USE");
    c.authenticationType = QStringLiteral("CRYPT-PW");
    c.authenticationInfo = QStringLiteral("pass word");
    c.publicLetter = QStringLiteral("Y");
    c.contact = sampleContact(QStringLiteral("Person"));
    return c;
}
