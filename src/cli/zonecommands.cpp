#include "cli/clicontext.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "zone/hostaddresses.h"
#include "zone/zonereader.h"
#include "zonebrowser/zonetree.h"

#include <QFileInfo>

void registerZoneCommands();

namespace {

struct ZoneArguments
{
    QString datapath;
    QString file;
    QString zone;
};

std::optional<ZoneArguments> zoneArguments(CliContext& cli, const QStringList& args, const QString& command)
{
    if (args.size() != 3) {
        cli.out << "usage: quorvane-cli zone " << command << " DATADIR FILE ZONE" << Qt::endl;
        return std::nullopt;
    }
    return ZoneArguments{QFileInfo(args.at(0)).absoluteFilePath(), args.at(1), args.at(2)};
}

void printList(QTextStream& out, const char* heading, const QStringList& lines)
{
    out << heading << '\n';
    for (const QString& line : lines)
        out << line << '\n';
}

int zoneRead(CliContext& cli, const QStringList& args)
{
    const std::optional<ZoneArguments> given = zoneArguments(cli, args, QStringLiteral("read"));
    if (!given)
        return CliUsage;
    cli.state.zoneLists.datapath = given->datapath;
    ZoneContext context{cli.state, cli.prompter, cli.progress, {}, {}};
    const ZoneLoadStatus status = loadZone(context, given->file, given->zone);
    ZoneModel& zone = cli.state.zone;
    rebuildDisplays(zone);
    printList(cli.out, "[Update Timing]", zone.soadisplay);
    printList(cli.out, "[Name Servers]", zone.nameservers.displays());
    printList(cli.out, "[Mail Servers]", zone.mailservers.displays());
    // Address records the host list does not hold (IPv6, or with a time to live of their own) follow its own, as
    // the browser lists them and "record change" counts them.
    QStringList hosts = zone.hostaddrs.displays();
    for (const HostAddressEntry& entry : hostAddressEntries(zone)) {
        if (entry.inOtherRecords)
            hosts << entry.owner + QStringLiteral("     ") + hostAddressValueText(entry);
    }
    printList(cli.out, "[Host Addresses]", hosts);
    printList(cli.out, "[Aliases]", zone.aliases.displays());
    printList(cli.out, "[Responsible Persons]", zone.responsible.displays());
    printList(cli.out, "[Text Files]", zone.textfiles.displays());
    // Zones with no other records print as they always did.
    if (!zone.otherrecords.isEmpty()) {
        QStringList others;
        for (const QString& line : zone.otherrecords.lines())
            others << otherRecordText(line, zone.effectiveDefaultTtl());
        printList(cli.out, "[Other Records]", others);
    }
    cli.out.flush();
    return status == ZoneLoadStatus::Loaded ? CliSuccess : CliFailure;
}

// A data directory names no server, so no boot file is saved after the zone.
int zoneSave(CliContext& cli, const QStringList& args)
{
    const std::optional<ZoneArguments> given = zoneArguments(cli, args, QStringLiteral("save"));
    if (!given)
        return CliUsage;
    cli.state.zoneLists.datapath = given->datapath;
    ZoneContext context{cli.state, cli.prompter, cli.progress, {}, {}};
    // A reading that stopped holds only part of the zone; saving it would lose the rest.
    if (loadZone(context, given->file, given->zone) != ZoneLoadStatus::Loaded)
        return CliFailure;
    // A save would turn lines the name server may still read into comments: it is the user's to repair them.
    if (!cli.state.zone.unkept.isEmpty()) {
        cli.prompter.inform(
            QStringLiteral("Error"),
            QStringLiteral("%1 was not saved, as it holds lines that could not be kept as records.").arg(given->file));
        return CliFailure;
    }
    cli.state.selection.primfilename = given->file;
    cli.state.selection.primdnsname = given->zone;
    if (!saveZone(context).ok())
        return CliFailure;
    cli.out << "saved " << given->file << " serial " << cli.state.setup.runningSerial << Qt::endl;
    return CliSuccess;
}

} // namespace

void registerZoneCommands()
{
    cliCommands() << CliCommand{QStringLiteral("zone read"), QStringLiteral("DATADIR FILE ZONE"),
                                QStringLiteral("Reads a zone file and prints its start of authority and records as "
                                               "the browser shows them."),
                                zoneRead}
                  << CliCommand{QStringLiteral("zone save"), QStringLiteral("DATADIR FILE ZONE"),
                                QStringLiteral("Reads a zone file and saves it in the program's layout with the next "
                                               "serial (--serial N sets the running serial)."),
                                zoneSave};
}
