#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "editors/hosteditors.h"
#include "editors/otherrecordeditor.h"
#include "editors/servereditors.h"
#include "editors/soafields.h"
#include "server/serverloading.h"
#include "server/zonesave.h"
#include "zone/hostaddresses.h"
#include "zonebrowser/browseractions.h"

void registerRecordCommands();

namespace {

struct KindInfo
{
    QString name;
    RecordKind kind;
    int fieldCount;
};

const QList<KindInfo>& recordKinds()
{
    static const QList<KindInfo> kinds = {
        {QStringLiteral("ns"), RecordKind::NameServer, 1},
        {QStringLiteral("mx"), RecordKind::MailServer, 2},
        {QStringLiteral("host"), RecordKind::HostAddress, 2},
        {QStringLiteral("alias"), RecordKind::Alias, 2},
        {QStringLiteral("person"), RecordKind::ResponsiblePerson, 3},
    };
    return kinds;
}

std::optional<KindInfo> kindNamed(const QString& name)
{
    for (const KindInfo& info : recordKinds()) {
        if (info.name == name.toLower())
            return info;
    }
    return std::nullopt;
}

int usage(const QString& text)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << text << Qt::endl;
    return CliUsage;
}

ZoneContext recordContext(CliContext& cli)
{
    return ZoneContext{cli.state, cli.prompter, cli.progress, serverBootFileSaver(), soaCheckStep(cli.prompter)};
}

EditResult saveFields(ZoneContext& context, RecordKind kind, const QStringList& values)
{
    switch (kind) {
    case RecordKind::NameServer: {
        NameServerFields fields{values.value(0)};
        return saveNameServer(context, fields);
    }
    case RecordKind::MailServer: {
        MailServerFields fields{values.value(0), values.value(1)};
        return saveMailServer(context, fields);
    }
    case RecordKind::HostAddress: {
        HostFields fields{values.value(0), values.value(1)};
        return saveHost(context, fields);
    }
    case RecordKind::Alias: {
        AliasFields fields{values.value(0), values.value(1)};
        return saveAlias(context, fields);
    }
    case RecordKind::ResponsiblePerson:
    case RecordKind::TextRecord:
        break;
    }
    PersonFields fields{values.value(0), values.value(1), values.value(2)};
    return savePerson(context, fields);
}

EditResult changeSoa(ZoneContext& context, const QString& fieldName, const QString& value)
{
    SoaFields fields = soaFieldsOf(context.state.zone.sourceofauth);
    const QString name = fieldName.toLower();
    QString* target = name == QLatin1String("user")      ? &fields.user
                      : name == QLatin1String("serial")  ? &fields.serial
                      : name == QLatin1String("refresh") ? &fields.refresh
                      : name == QLatin1String("retry")   ? &fields.retry
                      : name == QLatin1String("expire")  ? &fields.expire
                                                         : &fields.minimum;
    *target = value;
    return saveSoa(context, fields);
}

int report(CliContext& cli, const EditResult& result)
{
    if (!result.stored() || !changeRecorded(cli))
        return CliFailure;
    cli.out << "saved " << cli.state.selection.primfilename << " serial " << cli.state.setup.runningSerial << Qt::endl;
    return CliSuccess;
}

// Loads the server and reads the zone as the browser does before an editor opens.
bool openZone(CliContext& cli, ZoneContext& context, const QString& server, const QString& zone)
{
    return loadServerForCommand(cli, server) && openZoneForChange(context, zone);
}

// The 1-based position as "zone read" lists it, made the kind's edit index; false when it names no record.
bool setEditIndex(CliContext& cli, RecordKind kind, const QString& position)
{
    bool ok = false;
    const int index = position.toInt(&ok) - 1;
    RecordList& records = cli.state.zone.records(kind);
    const bool valid = kind == RecordKind::HostAddress ? hostAddressEntryAt(cli.state.zone, index).has_value()
                                                       : records.isValidIndex(index);
    if (!ok || !valid) {
        cli.prompter.inform(QStringLiteral("Error"),
                            QStringLiteral("The zone holds no record %1 of that kind.").arg(position));
        return false;
    }
    records.setEditIndex(index);
    return true;
}

const QString kKinds = QStringLiteral("ns|mx|host|alias|person");
const QString kOther = QStringLiteral("other OWNER TTL TYPE DATA...");

bool isOther(const QString& kind)
{
    return kind.compare(QLatin1String("other"), Qt::CaseInsensitive) == 0;
}

// OWNER TTL TYPE DATA...: a TTL of "-" or "" leaves the zone's default; the data may run over several words.
GenericRecordFields otherFields(const QStringList& values)
{
    const QString ttl = values.value(1) == QLatin1String("-") ? QString() : values.value(1);
    return {values.value(0), ttl, values.value(2), values.mid(3).join(QLatin1Char(' '))};
}

// The 1-based position of an other record as "zone read" lists it; false when it names none.
bool setOtherEditIndex(CliContext& cli, const QString& position)
{
    bool ok = false;
    const int index = position.toInt(&ok) - 1;
    OtherRecords& others = cli.state.zone.otherrecords;
    if (!ok || !others.isValidIndex(index)) {
        cli.prompter.inform(QStringLiteral("Error"),
                            QStringLiteral("The zone holds no other record %1.").arg(position));
        return false;
    }
    others.setEditIndex(index);
    return true;
}

int otherAdd(CliContext& cli, const QStringList& args)
{
    if (args.size() < 7)
        return usage(QStringLiteral("record add SERVER ZONE ") + kOther);
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)))
        return CliFailure;
    cli.state.zone.otherrecords.setEditIndex(OtherRecords::kNewRecord);
    return report(cli, saveOtherRecord(context, otherFields(args.mid(3))));
}

int otherChange(CliContext& cli, const QStringList& args)
{
    if (args.size() < 8)
        return usage(QStringLiteral("record change SERVER ZONE other INDEX OWNER TTL TYPE DATA..."));
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)) || !setOtherEditIndex(cli, args.at(3)))
        return CliFailure;
    return report(cli, saveOtherRecord(context, otherFields(args.mid(4))));
}

int otherDelete(CliContext& cli, const QStringList& args)
{
    if (args.size() != 4)
        return usage(QStringLiteral("record delete SERVER ZONE other INDEX"));
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)) || !setOtherEditIndex(cli, args.at(3)))
        return CliFailure;
    return report(cli, deleteOtherRecord(context));
}

int recordAdd(CliContext& cli, const QStringList& args)
{
    if (isOther(args.value(2)))
        return otherAdd(cli, args);
    const QString text = QStringLiteral("record add SERVER ZONE %1 FIELD...").arg(kKinds);
    const std::optional<KindInfo> kind = kindNamed(args.value(2));
    if (args.size() < 3 || !kind || args.size() != 3 + kind->fieldCount)
        return usage(text);
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)))
        return CliFailure;
    cli.state.zone.records(kind->kind).setEditIndex(RecordList::kNewRecord);
    return report(cli, saveFields(context, kind->kind, args.mid(3)));
}

int recordChange(CliContext& cli, const QStringList& args)
{
    const QString text =
        QStringLiteral("record change SERVER ZONE %1 INDEX FIELD... | record change SERVER ZONE soa FIELD VALUE")
            .arg(kKinds);
    if (args.size() < 3)
        return usage(text);
    if (isOther(args.at(2)))
        return otherChange(cli, args);
    if (args.at(2).toLower() == QLatin1String("soa")) {
        if (args.size() != 5 ||
            soaFieldObjectName(args.at(3).left(1).toUpper() + args.at(3).mid(1).toLower()).isEmpty())
            return usage(text);
        ZoneContext context = recordContext(cli);
        if (!openZone(cli, context, args.at(0), args.at(1)))
            return CliFailure;
        return report(cli, changeSoa(context, args.at(3), args.at(4)));
    }
    const std::optional<KindInfo> kind = kindNamed(args.at(2));
    if (!kind || args.size() != 4 + kind->fieldCount)
        return usage(text);
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)) || !setEditIndex(cli, kind->kind, args.at(3)))
        return CliFailure;
    return report(cli, saveFields(context, kind->kind, args.mid(4)));
}

int recordDelete(CliContext& cli, const QStringList& args)
{
    if (isOther(args.value(2)))
        return otherDelete(cli, args);
    const QString text = QStringLiteral("record delete SERVER ZONE %1 INDEX").arg(kKinds);
    const std::optional<KindInfo> kind = kindNamed(args.value(2));
    if (args.size() != 4 || !kind)
        return usage(text);
    ZoneContext context = recordContext(cli);
    if (!openZone(cli, context, args.at(0), args.at(1)) || !setEditIndex(cli, kind->kind, args.at(3)))
        return CliFailure;
    return report(cli, deleteRecord(context, kind->kind));
}

} // namespace

void registerRecordCommands()
{
    cliCommands() << CliCommand{QStringLiteral("record add"),
                                QStringLiteral("SERVER ZONE ns|mx|host|alias|person FIELD... | SERVER ZONE other OWNER "
                                               "TTL TYPE DATA..."),
                                QStringLiteral("Adds a record through its editor's checks and saves the zone; the "
                                               "fields are the editor's, in its order. \"other\" adds any other "
                                               "record (TTL \"-\" for the zone's default)."),
                                recordAdd}
                  << CliCommand{QStringLiteral("record change"),
                                QStringLiteral("SERVER ZONE ns|mx|host|alias|person|other INDEX FIELD... | SERVER "
                                               "ZONE soa User|Serial|Refresh|Retry|Expire|Minimum VALUE"),
                                QStringLiteral("Replaces record INDEX (1-based, as \"zone read\" lists it), or one "
                                               "value of the start of authority, and saves the zone."),
                                recordChange}
                  << CliCommand{QStringLiteral("record delete"),
                                QStringLiteral("SERVER ZONE ns|mx|host|alias|person|other INDEX"),
                                QStringLiteral("Deletes record INDEX as its editor's Delete does and saves the zone."),
                                recordDelete};
}
