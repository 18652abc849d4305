#include "cli/clicontext.h"
#include "cli/cliserver.h"
#include "editors/fastadd.h"
#include "editors/primarywizard.h"
#include "editors/primaryzonecreation.h"
#include "secondary/secondaryzones.h"
#include "server/bootload.h"
#include "server/serverloading.h"
#include "server/zonesave.h"
#include "zone/zoneselect.h"
#include "zonebrowser/primarydeletion.h"
#include "zonebrowser/zonetree.h"

void registerCreationCommands();

namespace {

int usage(const QString& command)
{
    QTextStream(stderr) << "usage: quorvane-cli [options] " << command << Qt::endl;
    return CliUsage;
}

std::function<void()> bootReloader(CliContext& cli)
{
    return [&cli] {
        BootContext boot{cli.state, cli.store, cli.prompter};
        readBootFile(boot, false);
    };
}

PrimaryDeletionHooks deletionHooks(CliContext& cli)
{
    PrimaryDeletionHooks hooks;
    hooks.dropFromBootFile = [&cli](const QString& zone) {
        BootContext boot{cli.state, cli.store, cli.prompter};
        return dropPrimaryFromBootFile(boot, zone);
    };
    return hooks;
}

// Leaving the wizard's pages unfinished deletes the zone again, as closing the wizard's window does.
void abandonZone(CliContext& cli, ZoneContext& context, QString& zone)
{
    abandonWizardZone(cli.state, zone, [&] { deletePrimaryZone(context, deletionHooks(cli)); });
}

ZoneContext zoneContext(CliContext& cli)
{
    return ZoneContext{cli.state, cli.prompter, cli.progress, serverBootFileSaver(), {}};
}

SecondaryContext secondaryContext(CliContext& cli)
{
    return SecondaryContext{cli.state, cli.prompter, cli.progress, bootReloader(cli), {}, {}};
}

// The rows the options fill, each into the next empty field of its page.
struct WizardOptions
{
    QStringList hosts;
    QStringList nameServers;
    QStringList aliases;
    QStringList mailServers;
};

std::optional<WizardOptions> parseWizardOptions(const QStringList& args)
{
    WizardOptions options;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return std::nullopt;
        const QString& option = args.at(i);
        const QString& value = args.at(i + 1);
        if (option == QLatin1String("--host") && value.contains(QLatin1Char('=')))
            options.hosts << value;
        else if (option == QLatin1String("--ns"))
            options.nameServers << value;
        else if (option == QLatin1String("--alias") && value.contains(QLatin1Char('=')))
            options.aliases << value;
        else if (option == QLatin1String("--mx"))
            options.mailServers << value;
        else
            return std::nullopt;
    }
    return options;
}

bool fillRows(const QStringList& values, std::array<QString, 5>& left, std::array<QString, 5>* right)
{
    std::size_t row = 0;
    for (const QString& value : values) {
        while (row < left.size() && !left[row].isEmpty())
            ++row;
        if (row == left.size())
            return false;
        left[row] = right ? value.section(QLatin1Char('='), 0, 0) : value;
        if (right)
            (*right)[row] = value.section(QLatin1Char('='), 1);
    }
    return true;
}

bool runWizardPages(CliContext& cli, WizardFields& fields, ZoneContext& context)
{
    const WizardHostPicker pick = prompterHostPicker(cli.prompter);
    return checkZoneInformation(fields, cli.prompter) && checkHostAddresses(fields, cli.state, cli.prompter) &&
           checkNameServers(fields, cli.state, cli.prompter, pick) &&
           checkAliases(fields, cli.state, cli.prompter, pick) &&
           finishWizard(context, fields, pick, bootReloader(cli)) == WizardFinish::Finished;
}

int zoneCreate(CliContext& cli, const QStringList& args)
{
    const QString usageText = QStringLiteral("zone create SERVER ZONE [--host NAME=ADDR]... [--ns NAME]... "
                                             "[--alias ALIAS=TARGET]... [--mx NAME]...");
    if (args.size() < 2)
        return usage(usageText);
    const std::optional<WizardOptions> options = parseWizardOptions(args.mid(2));
    if (!options)
        return usage(usageText);
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    ZoneContext context = zoneContext(cli);
    QString name = args.at(1);
    if (startPrimaryZone(context, name) != CreationStatus::Created)
        return CliFailure;
    WizardFields fields = prefillWizard(cli.state, name);
    const bool filled = fillRows(options->hosts, fields.names, &fields.ips) &&
                        fillRows(options->nameServers, fields.nameservers, nullptr) &&
                        fillRows(options->aliases, fields.aliases, &fields.actuals) &&
                        fillRows(options->mailServers, fields.mailservers, nullptr);
    bool finished = false;
    try {
        finished = filled && runWizardPages(cli, fields, context);
    } catch (const NoAnswerLeft&) {
        abandonZone(cli, context, name);
        throw;
    }
    if (!finished) {
        if (!filled)
            cli.prompter.inform(QStringLiteral("Error"), QStringLiteral("Each page has five rows."));
        abandonZone(cli, context, name);
        return CliFailure;
    }
    if (!changeRecorded(cli))
        return CliFailure;
    cli.out << "created " << fields.name << ' ' << fields.name << ".DNS serial " << cli.state.setup.runningSerial
            << Qt::endl;
    return CliSuccess;
}

int zoneFastAdd(CliContext& cli, const QStringList& args)
{
    if (args.size() < 2)
        return usage(QStringLiteral("zone fastadd SERVER ZONE..."));
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    QStringList addthem;
    for (const QString& name : args.mid(1)) {
        if (!addFastAddName(cli.state, addthem, name, cli.prompter))
            return CliFailure;
    }
    ZoneContext context = zoneContext(cli);
    FastAddHooks hooks;
    hooks.addTreeNode = [&cli](const QString& zone) { cli.out << "created " << zone << Qt::endl; };
    return runFastAdd(context, addthem, hooks) == addthem.size() ? CliSuccess : CliFailure;
}

int zoneDelete(CliContext& cli, const QStringList& args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("zone delete SERVER ZONE"));
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    ZoneSelection& selection = cli.state.selection;
    const int index = findZoneIndex(cli.state.zoneLists.primdns, args.at(1));
    if (!selectPrimary(selection, cli.state.zoneLists, index)) {
        // Not listed: the deletion says so itself.
        selection.primdnsname = args.at(1);
    }
    ZoneContext context = zoneContext(cli);
    return deletePrimaryZone(context, deletionHooks(cli)) == PrimaryDeletion::Deleted ? CliSuccess : CliFailure;
}

int secondaryAdd(CliContext& cli, const QStringList& args)
{
    if (args.size() != 3)
        return usage(QStringLiteral("secondary add SERVER ZONE MASTER"));
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    if (!checkNewSecondaryName(cli.state, args.at(1), cli.prompter) || !checkSecondaryMaster(args.at(2), cli.prompter))
        return CliFailure;
    SecondaryContext context = secondaryContext(cli);
    return createSecondaryZone(context, args.at(1), args.at(2)) ? CliSuccess : CliFailure;
}

int secondaryModify(CliContext& cli, const QStringList& args)
{
    if (args.size() < 3)
        return usage(QStringLiteral("secondary modify SERVER ZONE MASTER..."));
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    cli.state.selection.secdnsname = args.at(1);
    std::optional<SecondaryEdit> edit = openSecondaryEdit(cli.state, args.at(1), cli.prompter);
    if (!edit) {
        cli.prompter.inform(QStringLiteral("Error"),
                            QStringLiteral("No secondary zone ") + args.at(1) + QStringLiteral(" is served."));
        return CliFailure;
    }
    edit->masters.clear();
    for (const QString& master : args.mid(2)) {
        if (!addSecondaryMaster(edit->masters, master, cli.prompter))
            return CliFailure;
    }
    SecondaryContext context = secondaryContext(cli);
    return saveSecondaryZone(context, *edit) ? CliSuccess : CliFailure;
}

int secondaryDelete(CliContext& cli, const QStringList& args)
{
    if (args.size() != 2)
        return usage(QStringLiteral("secondary delete SERVER ZONE"));
    if (!loadServerForCommand(cli, args.at(0)))
        return CliFailure;
    if (!cli.state.zoneLists.secdns.contains(args.at(1), Qt::CaseInsensitive)) {
        cli.prompter.inform(QStringLiteral("Error"),
                            QStringLiteral("No secondary zone ") + args.at(1) + QStringLiteral(" is served."));
        return CliFailure;
    }
    cli.state.selection.secdnsname = args.at(1);
    SecondaryContext context = secondaryContext(cli);
    return deleteSecondaryZone(context) == SecondaryDeletion::Deleted ? CliSuccess : CliFailure;
}

} // namespace

void registerCreationCommands()
{
    cliCommands()
        << CliCommand{QStringLiteral("zone create"),
                      QStringLiteral("SERVER ZONE [--host NAME=ADDR]... [--ns NAME]... [--alias ALIAS=TARGET]... "
                                     "[--mx NAME]..."),
                      QStringLiteral("Creates a primary zone through the wizard's pages; each option fills the next "
                                     "free row of its page after the Setup page's defaults."),
                      zoneCreate}
        << CliCommand{QStringLiteral("zone fastadd"), QStringLiteral("SERVER ZONE..."),
                      QStringLiteral("Creates empty primary zones with the Setup page's start of authority."),
                      zoneFastAdd}
        << CliCommand{QStringLiteral("zone delete"), QStringLiteral("SERVER ZONE"),
                      QStringLiteral("Deletes a primary zone, its file and its boot file line (asks first)."),
                      zoneDelete}
        << CliCommand{QStringLiteral("secondary add"), QStringLiteral("SERVER ZONE MASTER"),
                      QStringLiteral("Declares a secondary zone with its master."), secondaryAdd}
        << CliCommand{QStringLiteral("secondary modify"), QStringLiteral("SERVER ZONE MASTER..."),
                      QStringLiteral("Gives a secondary zone a new list of masters."), secondaryModify}
        << CliCommand{QStringLiteral("secondary delete"), QStringLiteral("SERVER ZONE"),
                      QStringLiteral("Deletes a secondary zone's declaration (asks first); its backup file stays."),
                      secondaryDelete};
}
