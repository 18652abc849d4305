#include "session/registrationdefaults.h"

const QStringList& RegistrationDefaults::sections()
{
    static const QStringList list = {QStringLiteral("DomainReg"), QStringLiteral("HostReg"),
                                     QStringLiteral("ContactReg")};
    return list;
}

const QStringList& RegistrationDefaults::valueNames(const QString& section)
{
    static const QStringList domain = QStringLiteral(
        "AuthScheme AuthInfo Purpose OrgName OAddr OCity OState OZip OCountry AHandle ARole AName AAOrg AAddr "
        "ACity AState AZip ACountry APhone AFax AMail THandle TRole TName TAOrg TAddr TCity TState TZip TCountry "
        "TPhone TFax TMail BHandle BRole BName BOrg BAddr BCity BState BZip BCountry BPhone BFax BMail PriNS "
        "PriNSIP SecNS SecNSIP ThirdNS ThirdNSIP FourthNS FourthNSIP").split(QLatin1Char(' '));
    static const QStringList host = QStringLiteral("HostAuthScheme AuthInfo HCNicHandle HCRole HCName HCOrg HCAddr "
                                                   "HCCity HCState HCZip HCCountry HCPhone HCFax HCMail")
                                        .split(QLatin1Char(' '));
    static const QStringList contact =
        QStringLiteral("ContactAuthorizationType ContactAuthorizationInfo ContactNotifyUpdates ContactNotifyUse "
                       "ContactAuthenticationType ContactAuthenticationInfo Contactname ContactOrgName ContactAddr "
                       "ContactCity ContactState ContactZip ContactCountry ContactPhone ContactFax ContactMail")
            .split(QLatin1Char(' '));
    static const QStringList none;
    if (section == QLatin1String("DomainReg"))
        return domain;
    if (section == QLatin1String("HostReg"))
        return host;
    if (section == QLatin1String("ContactReg"))
        return contact;
    return none;
}
