#include "registration/registrationtemplates.h"

#include "registration/registrationagreement.h"

#include <QRegularExpression>

namespace {

// The labels of the twelve contact lines without their number, as the domain and host templates print them.
const QStringList& contactLabels()
{
    static const QStringList labels = {
        QStringLiteral("NIC Handle (if known)......: "), QStringLiteral("(I)ndividual (R)ole........: "),
        QStringLiteral("Name.......................: "), QStringLiteral("Organization Name..........: "),
        QStringLiteral("Street Address.............: "), QStringLiteral("City.......................: "),
        QStringLiteral("State......................: "), QStringLiteral("Postal Code................: "),
        QStringLiteral("Country Code...............: "), QStringLiteral("Phone Number...............: "),
        QStringLiteral("Fax Number.................: "), QStringLiteral("E-Mailbox..................: ")};
    return labels;
}

// A label and its value; a value of several lines continues on lines of its own.
void addLine(QStringList& lines, const QString& label, const QString& value)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    const QStringList parts = value.split(lineBreak);
    lines << label + parts.first();
    lines << parts.mid(1);
}

void addContactLines(QStringList& lines, const QString& number, const RegistrationContact& contact)
{
    const QStringList values = contact.values();
    const QStringList& labels = contactLabels();
    for (int i = 0; i < labels.size(); ++i)
        addLine(lines, number + QChar(u'a' + i) + QStringLiteral(". ") + labels.at(i), values.at(i));
}

} // namespace

QStringList domainTemplate(const DomainRegistration& r, const QString& processed)
{
    QStringList lines;
    lines << QStringLiteral("Processed ") + processed << QString();
    lines << QStringLiteral("Domain Version Number: 3.5") << QString();
    lines << QStringLiteral("NETWORK SOLUTIONS, INC.") << QStringLiteral("DOMAIN NAME REGISTRATION AGREEMENT");
    lines << registrationAgreementLines();

    lines << QStringLiteral("Authorization");
    addLine(lines, QStringLiteral("0a. (N)ew (M)odify (D)elete....: "), actionLetter(r.action));
    addLine(lines, QStringLiteral("0b. Auth Scheme................: "), r.authScheme);
    addLine(lines, QStringLiteral("0c. Auth Info..................: "), r.authInfo);
    lines << QString();
    addLine(lines, QStringLiteral("1.  Purpose/Description........: "), r.purpose);
    lines << QString();
    addLine(lines, QStringLiteral("2.  Complete Domain Name.......: "), r.domainName);
    lines << QString();

    lines << QStringLiteral("Organization Using Domain Name");
    const DomainRegistration::Organization& o = r.organization;
    addLine(lines, QStringLiteral("3a. Organization Name..........: "), o.name);
    addLine(lines, QStringLiteral("3b. Street Address.............: "), o.address);
    addLine(lines, QStringLiteral("3c. City.......................: "), o.city);
    addLine(lines, QStringLiteral("3d. State......................: "), o.state);
    addLine(lines, QStringLiteral("3e. Postal Code................: "), o.postalCode);
    addLine(lines, QStringLiteral("3f. Country Code...............: "), o.country);
    lines << QString();

    lines << QStringLiteral("Administrative Contact");
    addContactLines(lines, QStringLiteral("4"), r.admin);
    lines << QString();
    lines << QStringLiteral("Technical Contact");
    addContactLines(lines, QStringLiteral("5"), r.technical);
    lines << QString();
    lines << QStringLiteral("Billing Contact");
    addContactLines(lines, QStringLiteral("6"), r.billing);
    lines << QString();

    lines << QStringLiteral("Primary Name Server");
    addLine(lines, QStringLiteral("7a. Primary Server Hostname....: "), r.nameServers[0].host);
    addLine(lines, QStringLiteral("7b. Primary Server Netaddress..: "), r.nameServers[0].address);
    lines << QString();

    lines << QStringLiteral("Secondary Name Server(s)");
    for (int i = 1; i < int(r.nameServers.size()); ++i) {
        addLine(lines, QStringLiteral("8a. Secondary Server Hostname..: "), r.nameServers[i].host);
        addLine(lines, QStringLiteral("8b. Secondary Server Netaddress: "), r.nameServers[i].address);
    }
    lines << QString();
    lines << QStringLiteral("END OF AGREEMENT");
    return lines;
}

QStringList hostTemplate(const HostRegistration& r, const QString& processed)
{
    QStringList lines = {QString(), QStringLiteral("Processed ") + processed, QString(),
                         QStringLiteral("Host Version Number: 1.0"), QString()};
    lines << QStringLiteral("Authorization");
    addLine(lines, QStringLiteral("0a. (N)ew (M)odify (D)elete.....: "), actionLetter(r.action));
    addLine(lines, QStringLiteral("0b. Auth Scheme.................: "), r.authScheme);
    addLine(lines, QStringLiteral("0c. Auth Info...................: "), r.authInfo);
    lines << QString();

    lines << QStringLiteral("Host");
    addLine(lines, QStringLiteral("1a. NIC Handle (if known)......: "), r.nicHandle);
    addLine(lines, QStringLiteral("1b. Host Name..................: "), r.hostName);
    addLine(lines, QStringLiteral("1c. IP Address.................: "), r.ipAddress);
    lines << QString();

    lines << QStringLiteral("Contact");
    addContactLines(lines, QStringLiteral("2"), r.contact);
    return lines;
}

QStringList contactTemplate(const ContactRegistration& r)
{
    QStringList lines = {QStringLiteral("Contact Version Number: 1.0"), QString()};
    lines << QStringLiteral("Authorization");
    addLine(lines, QStringLiteral("0a. (N)ew (M)odify (D)elete.: "), actionLetter(r.action));
    addLine(lines, QStringLiteral("0b. Auth Scheme.............: "), r.authorizationType);
    addLine(lines, QStringLiteral("0c. Auth Info...............: "), r.authorizationInfo);
    lines << QString();

    lines << QStringLiteral("Contact Information");
    const QStringList labels = {
        QStringLiteral("1a. NIC Handle..............: "), QStringLiteral("1b. (I)ndividual (R)ole.....: "),
        QStringLiteral("1c. Name....................: "), QStringLiteral("1d. Organization Name.......: "),
        QStringLiteral("1e. Street Address..........: "), QStringLiteral("1f. City....................: "),
        QStringLiteral("1g. State...................: "), QStringLiteral("1h. Postal Code.............: "),
        QStringLiteral("1i. Country Code............: "), QStringLiteral("1j. Phone Number............: "),
        QStringLiteral("1k. Fax Number..............: "), QStringLiteral("1l. E-Mailbox...............: ")};
    const QStringList values = r.contact.values();
    for (int i = 0; i < labels.size(); ++i)
        addLine(lines, labels.at(i), values.at(i));
    lines << QString();

    lines << QStringLiteral("Notify Information");
    addLine(lines, QStringLiteral("2a. Notify Updates..........: "), r.notifyUpdates);
    addLine(lines, QStringLiteral("2b. Notify Use..............: "), r.notifyUse);
    lines << QString();

    lines << QStringLiteral("Authentication");
    addLine(lines, QStringLiteral("3a. Auth Scheme.............: "), r.authenticationType);
    addLine(lines, QStringLiteral("3b. Auth Info...............: "), r.authenticationInfo);
    addLine(lines, QStringLiteral("3c. Public (Y/N)............: "), r.publicLetter);
    return lines;
}
