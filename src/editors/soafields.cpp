#include "editors/soafields.h"

#include "checks/namechecks.h"
#include "checks/numberchecks.h"
#include "platform/prompter.h"
#include "server/history/changesummary.h"
#include "session/appstate.h"
#include "zone/soarecord.h"
#include "zone/zonemodel.h"

#include <array>

namespace {

const QString kAttention = QStringLiteral("Attention!");

bool refused(Prompter& prompter, const QString& text)
{
    prompter.message(kAttention, text);
    return false;
}

// The origin the mailbox is completed against: the zone's name without a trailing dot.
QString originOf(const ZoneModel& zone)
{
    return zone.dnsname.endsWith(QLatin1Char('.')) ? zone.dnsname.chopped(1) : zone.dnsname;
}

bool checkSoaFields(const ZoneModel& zone, SoaFields& fields, Prompter& prompter)
{
    QString mailbox = fields.user;
    mailbox.replace(QLatin1Char('@'), QLatin1Char('.'));
    if (!mailbox.isEmpty())
        mailbox = qualifyWithOrigin(mailbox, originOf(zone));
    if (hasIllegalCharacters(mailbox))
        return refused(prompter, QStringLiteral("User name contains invalid character(s). Re-Enter"));
    fields.user = mailbox;

    const std::array<std::pair<const QString*, const char*>, 5> numbers = {{
        {&fields.serial, "Serial"},
        {&fields.refresh, "Refresh"},
        {&fields.retry, "Retry"},
        {&fields.expire, "Expire"},
        {&fields.minimum, "Minimum"},
    }};
    for (const auto& [value, name] : numbers) {
        if (hasIllegalCharacters(*value))
            return refused(prompter, QLatin1String(name) + QStringLiteral(" contains invalid character(s). Re-Enter"));
    }
    return true;
}

void storeSoaFields(ZoneModel& zone, const SoaFields& fields)
{
    zone.sourceofauth = SoaRecord({fields.soa, fields.source2, fields.user, fields.serial, fields.refresh, fields.retry,
                                   fields.expire, fields.minimum});
    zone.rebuildSoaDisplay();
}

QString emptyFieldMessage(const QString& field)
{
    return QStringLiteral("You must enter something in the ") + field +
           QStringLiteral(" field before saving. Re-Enter");
}

} // namespace

SoaFields soaFieldsOf(const SoaRecord& soa)
{
    return SoaFields{soa.value(SoaRecord::Owner),  soa.value(SoaRecord::PrimaryServer), soa.value(SoaRecord::Mailbox),
                     soa.value(SoaRecord::Serial), soa.value(SoaRecord::Refresh),       soa.value(SoaRecord::Retry),
                     soa.value(SoaRecord::Expire), soa.value(SoaRecord::Minimum)};
}

QStringList soaFieldNames()
{
    return {QStringLiteral("User"),  QStringLiteral("Serial"), QStringLiteral("Refresh"),
            QStringLiteral("Retry"), QStringLiteral("Expire"), QStringLiteral("Minimum")};
}

QString soaFieldObjectName(const QString& fieldName)
{
    return soaFieldNames().contains(fieldName) ? fieldName.toLower() : QString();
}

QString soaFieldHint(const QString& objectName)
{
    if (objectName == QLatin1String("user"))
        return QStringLiteral("Enter the E-Mail address of the DNS Server Administrator");
    if (objectName == QLatin1String("serial"))
        return QStringLiteral("The serial number must be incremented each time you make a change so that secondary "
                              "servers know of the update.");
    if (objectName == QLatin1String("refresh"))
        return QStringLiteral("Refresh tells the secondary how often to update it's files.");
    if (objectName == QLatin1String("retry"))
        return QStringLiteral("How often secondary should try to connect to primary if refresh fails.");
    if (objectName == QLatin1String("expire"))
        return QStringLiteral("If secondary cannot connect to primary for 'expire' seconds, secondary expires its "
                              "data.");
    if (objectName == QLatin1String("minimum"))
        return QStringLiteral("The amount of time that other servers should be allowed to cache data for this "
                              "domain.");
    return QString();
}

bool applySoaFields(ZoneModel& zone, SoaFields& fields, Prompter& prompter)
{
    if (!checkSoaFields(zone, fields, prompter))
        return false;
    storeSoaFields(zone, fields);
    return true;
}

EditResult saveSoa(ZoneContext& context, SoaFields& fields)
{
    ZoneModel& zone = context.state.zone;
    if (!checkSoaFields(zone, fields, context.prompter))
        return EditResult{EditStatus::Refused, QString()};
    const std::array<std::pair<const QString*, const char*>, 6> required = {{
        {&fields.minimum, "minimum"},
        {&fields.refresh, "refresh"},
        {&fields.retry, "retry"},
        {&fields.serial, "serial"},
        {&fields.user, "user"},
        {&fields.expire, "expire"},
    }};
    for (const auto& [value, name] : required) {
        if (value->isEmpty())
            return refuse(context.prompter, kAttention, emptyFieldMessage(QLatin1String(name)));
    }
    if (!isSoaSerial(fields.serial))
        return refuse(context.prompter, kAttention,
                      QStringLiteral("Serial must be ") + soaSerialForm() + QStringLiteral(". Re-Enter"));
    const std::array<std::pair<const QString*, const char*>, 4> times = {{
        {&fields.refresh, "Refresh"},
        {&fields.retry, "Retry"},
        {&fields.expire, "Expire"},
        {&fields.minimum, "Minimum"},
    }};
    for (const auto& [value, name] : times) {
        if (!isSoaTime(*value))
            return refuse(context.prompter, kAttention,
                          QLatin1String(name) + QStringLiteral(" must be ") + soaTimeForm() +
                              QStringLiteral(". Re-Enter"));
    }
    storeSoaFields(zone, fields);
    return saveChanged(context, QString(), startOfAuthorityChange(zoneOrigin(context.state)));
}

SoaDisplayStep soaCheckStep(Prompter& prompter)
{
    return [&prompter](ZoneModel& zone) {
        // A zone without a start of authority keeps none: eight empty values would give it one.
        if (zone.sourceofauth.isEmpty()) {
            zone.rebuildSoaDisplay();
            return;
        }
        SoaFields fields = soaFieldsOf(zone.sourceofauth);
        if (!applySoaFields(zone, fields, prompter))
            zone.rebuildSoaDisplay();
    };
}
