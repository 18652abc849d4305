#include "server/confload.h"

#include "bootfile/bootlines.h"
#include "namedconf/confedit.h"
#include "namedconf/confsyntax.h"
#include "platform/filestamp.h"
#include "platform/prompter.h"
#include "server/confcheck.h"
#include "server/confwrite.h"
#include "server/history/changerecording.h"
#include "server/serverchange.h"
#include "session/appstate.h"
#include "zone/secondaryzoneentry.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kAttention = QStringLiteral("Attention!");
const QString kQuestion = QStringLiteral("Question!");
const QString kFive = QStringLiteral("     ");

struct Obsolete
{
    QString file;
    QString option;
    qsizetype begin = 0;
    qsizetype end = 0;
    int line = 0;
};

void findObsolete(const QString& path, const QList<ConfStatement>& statements, QList<Obsolete>& found)
{
    for (const ConfStatement& statement : statements) {
        if (obsoleteConfOptions().contains(statement.keyword()))
            found << Obsolete{path, statement.keyword(), statement.begin, statement.end, statement.line};
        for (const ConfItem& item : statement.items) {
            if (item.kind == ConfItem::Kind::Block)
                findObsolete(path, item.block, found);
        }
    }
}

// Reads the files and BIND's reading of them into the server's model.
bool readModel(ConfServer& conf, QString* errorText)
{
    const ConfPrint print = printConfiguration(conf.confFile);
    conf.refusal = print.refusal;
    QString fault;
    if (!conf.files.read(conf.confFile, &fault)) {
        // BIND names the line where it noticed; the file's own reading names where the fault is.
        if (errorText)
            *errorText = print.refusal.isEmpty()
                             ? fault
                             : QStringLiteral("BIND says: %1. The fault is in %2").arg(print.refusal, fault);
        return false;
    }
    if (print.ok)
        return readPrintedConfig(print.printed, conf.config, errorText);
    const ConfFileSet& files = conf.files;
    conf.config = configOfFiles(
        files.files().first().parse.statements, files.files().first().text, [&files](const QString& path) {
            const ConfFile* file = files.file(files.includeTarget(QString(), path));
            return file ? std::optional(std::pair(file->parse.statements, file->text)) : std::nullopt;
        });
    return true;
}

// The zones of the model as the zone lists, the grids and the data directory hold a server's zones.
void fillState(AppState& state)
{
    const ConfServer& conf = state.conf;
    const QFileInfo confFile(conf.confFile);
    const QString folder = confFile.absolutePath();
    BootConfig& boot = state.boot;
    boot.clear();
    boot.bootDirectory = folder + QLatin1Char('/');
    boot.bootFileName = confFile.fileName();
    boot.fileStamp = FileStamp::of(conf.confFile);
    ServerZoneLists& lists = state.zoneLists;
    for (QStringList* list :
         {&lists.primdns, &lists.primfiles, &lists.primviews, &lists.primdnssort, &lists.primfilesort, &lists.secdns,
          &lists.secfiles, &lists.secviews, &lists.secdnssort, &lists.secfilesort})
        list->clear();
    lists.datapath = QDir::cleanPath(QDir(folder).absoluteFilePath(conf.config.directory));
    state.selection = ZoneSelection();
    const bool views = !conf.config.views.isEmpty();
    for (const ConfZone& zone : conf.config.zones) {
        if (zone.file.isEmpty() || !zone.inView.isEmpty())
            continue;
        const QString name = zone.name.toLower();
        if (zone.kind == ConfZoneKind::Primary) {
            lists.primdns << name;
            lists.primfiles << zone.file;
            if (views)
                lists.primviews << zone.view;
            boot.primaryEntries << name + kFive + zone.file;
        } else if (zone.kind == ConfZoneKind::Secondary) {
            lists.secdns << name;
            lists.secfiles << zone.file;
            if (views)
                lists.secviews << zone.view;
            QStringList masters = zone.primaries;
            // An element with a port or key is one word of the grid.
            for (QString& master : masters)
                master.replace(QLatin1Char(' '), QLatin1Char('_'));
            boot.secondaryEntries << SecondaryZoneEntry{name, masters.join(QLatin1Char(' ')), zone.file}.text();
        }
    }
    boot.fillGrids();
    state.path = folder;
    state.servername = displayNameOf(state.pendingServerId);
    state.bootFileName = boot.bootFileName;
    state.serverLoaded = true;
}

// One question per obsolete option; what the administrator agrees to goes through the checked write.
// The files the user agreed to change, written through BIND's check and read again. A change BIND refuses is told
// and leaves the files as they were, which is no reason to stop loading the server.
bool writeAccepted(BootContext& context, ConfServer& conf, const QMap<QString, QString>& changed, QString* errorText)
{
    if (changed.isEmpty())
        return true;
    const ConfWriteResult written = writeCheckedConf(conf.files, changed);
    if (!written.ok) {
        context.prompter.message(kAttention, written.errorText);
        return true;
    }
    return readModel(conf, errorText);
}

bool offerObsoleteRemoval(BootContext& context, ConfServer& conf, QString* errorText)
{
    QList<Obsolete> found;
    for (const ConfFile& file : conf.files.files())
        findObsolete(file.path, file.parse.statements, found);
    QList<Obsolete> accepted;
    for (const Obsolete& option : std::as_const(found)) {
        const QString text = QStringLiteral("%1 line %2 holds the option \"%3\", which BIND 9.18 no longer takes, so "
                                            "the name server refuses the configuration. Remove this line?")
                                 .arg(QDir::toNativeSeparators(option.file))
                                 .arg(option.line)
                                 .arg(option.option);
        if (context.prompter.message(kQuestion, text, Prompter::Button::Yes | Prompter::Button::No,
                                     Prompter::Icon::Question) == Prompter::Button::Yes)
            accepted << option;
    }
    QMap<QString, QString> changed;
    // From the end of each file, so that earlier positions stay right.
    for (auto it = accepted.crbegin(); it != accepted.crend(); ++it) {
        const QString before = changed.contains(it->file) ? changed.value(it->file) : conf.files.file(it->file)->text;
        changed.insert(it->file, withoutSpan(before, it->begin, it->end));
    }
    return writeAccepted(context, conf, changed, errorText);
}

// The program's include files that exist but that the configuration does not include, each offered once.
bool offerZonesInclude(BootContext& context, ConfServer& conf, QString* errorText)
{
    QStringList views{QString()};
    views << conf.config.views;
    QMap<QString, QString> changed;
    for (const QString& view : std::as_const(views)) {
        const QString zonesFile = conf.zonesFileOf(view);
        if (!QFileInfo(zonesFile).isFile() || conf.files.includes(zonesFile))
            continue;
        const ConfPlace* viewPlace = view.isEmpty() ? nullptr : conf.files.viewPlace(view);
        if (!view.isEmpty() && !viewPlace)
            continue;
        const auto [target, after, line] = zonesIncludeAddition(conf, view, changed);
        const QString commented = conf.files.commentedInclude(zonesFile);
        const QString text =
            QStringLiteral("The zones Quorvane keeps for this server in %1 are not included by the configuration%2, "
                           "so the name server does not serve them.%3 Add the line %4 to %5 as line %6?")
                .arg(QDir::toNativeSeparators(zonesFile),
                     view.isEmpty() ? QString() : QStringLiteral(" (view %1)").arg(view),
                     commented.isEmpty() ? QString() : QStringLiteral(" (%1 names it in a comment.)").arg(commented),
                     zonesIncludeLine(zonesFile), QDir::toNativeSeparators(target))
                .arg(line);
        if (context.prompter.message(kQuestion, text, Prompter::Button::Yes | Prompter::Button::No,
                                     Prompter::Icon::Question) == Prompter::Button::Yes)
            changed.insert(target, after);
    }
    return writeAccepted(context, conf, changed, errorText);
}

} // namespace

const QStringList& obsoleteConfOptions()
{
    static const QStringList options{QStringLiteral("dnssec-enable"), QStringLiteral("dnssec-lookaside"),
                                     QStringLiteral("additional-from-cache")};
    return options;
}

QString defaultZonesFile(const QString& confFile)
{
    return QFileInfo(confFile).absoluteDir().filePath(QStringLiteral("quorvane-zones.conf"));
}

QString zonesIncludeLine(const QString& zonesFile)
{
    return QStringLiteral("include %1;").arg(confString(zonesFile));
}

ZonesIncludeAddition zonesIncludeAddition(const ConfServer& conf, const QString& view,
                                          const QMap<QString, QString>& pending)
{
    const ConfPlace* viewPlace = view.isEmpty() ? nullptr : conf.files.viewPlace(view);
    ZonesIncludeAddition addition;
    addition.target = viewPlace ? viewPlace->file : conf.files.topFile();
    const QString before =
        pending.contains(addition.target) ? pending.value(addition.target) : conf.files.file(addition.target)->text;
    const QString include = zonesIncludeLine(conf.zonesFileOf(view));
    addition.text = viewPlace ? withLineInBlock(before, viewPlace->end - 1, include, &addition.line)
                              : withLineAdded(before, include, &addition.line);
    return addition;
}

bool rereadConfServer(AppState& state, QString* errorText)
{
    if (!readModel(state.conf, errorText))
        return false;
    // Read again after a change the user made on the selected zone or view, which stays selected.
    const ZoneSelection selection = state.selection;
    fillState(state);
    state.selection = selection;
    return true;
}

BootReadResult readConfServer(BootContext& context, bool inspectOnly)
{
    AppState& state = context.state;
    const QFileInfo confFile(state.pendingBootFilePath);
    const QString serverName = displayNameOf(state.pendingServerId);
    std::optional<ServerChange> change;
    if (!inspectOnly) {
        change.emplace(confFile.absolutePath(), serverName, QString(), ServerLock::kWaitMs, confFile.fileName());
        if (!change->isHeld()) {
            context.prompter.message(kAttention, change->errorText());
            return {BootReadStatus::Busy, change->errorText()};
        }
        if (change->isOutermost())
            change->describe(loadNote(state.pendingServerId));
    }
    state.debugLog.logLine(QStringLiteral("--Begin Reading ") + confFile.absoluteFilePath());
    ConfServer conf;
    conf.confFile = QDir::cleanPath(confFile.absoluteFilePath());
    conf.zonesFile = state.conf.confFile == conf.confFile && !state.conf.zonesFile.isEmpty()
                         ? state.conf.zonesFile
                         : defaultZonesFile(conf.confFile);
    QString error;
    if (!readModel(conf, &error)) {
        state.conf = ConfServer();
        context.prompter.message(kAttention,
                                 QStringLiteral("Fatal Error! The configuration could not be read: ") + error);
        return {BootReadStatus::Unreadable, error};
    }
    if (!inspectOnly && !conf.refusal.isEmpty())
        context.prompter.message(kAttention,
                                 QStringLiteral("BIND refuses the configuration: %1. Its zones are listed and their "
                                                "files may be edited, but no file of the configuration is written "
                                                "until BIND takes it.")
                                     .arg(conf.refusal));
    const bool offersDone =
        inspectOnly || ((!state.offerObsoleteRemoval || offerObsoleteRemoval(context, conf, &error)) &&
                        (!conf.refusal.isEmpty() || offerZonesInclude(context, conf, &error)));
    if (!offersDone) {
        state.conf = ConfServer();
        context.prompter.message(kAttention,
                                 QStringLiteral("Fatal Error! The configuration could not be read: ") + error);
        return {BootReadStatus::Unreadable, error};
    }
    state.conf = std::move(conf);
    fillState(state);
    state.debugLog.logLine(QStringLiteral("--End Reading ") + confFile.absoluteFilePath());
    return {};
}
