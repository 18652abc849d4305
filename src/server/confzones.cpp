#include "server/confzones.h"

#include "namedconf/confedit.h"
#include "namedconf/confsyntax.h"
#include "platform/prompter.h"
#include "server/bootsave.h"
#include "server/confload.h"
#include "server/confwrite.h"
#include "session/appstate.h"
#include "zone/secondaryzoneentry.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

const QString kAttention = QStringLiteral("Attention!");

struct WantedZone
{
    QString name;
    QString view;
    bool primary = true;
    QString file;
    QStringList primaries;
};

QString zoneStatement(const WantedZone& zone)
{
    QString text = QStringLiteral("zone %1 {\n").arg(confString(zone.name));
    text += zone.primary ? QStringLiteral("\ttype primary;\n") : QStringLiteral("\ttype secondary;\n");
    if (!zone.primary) {
        text += QStringLiteral("\tprimaries {");
        for (const QString& address : zone.primaries)
            text += QLatin1Char(' ') + address + QLatin1Char(';');
        text += QStringLiteral(" };\n");
    }
    text += QStringLiteral("\tfile %1;\n};").arg(confString(zone.file));
    return text;
}

QString primariesStatement(const QStringList& primaries)
{
    QString text = QStringLiteral("primaries {");
    for (const QString& address : primaries)
        text += QLatin1Char(' ') + address + QLatin1Char(';');
    return text + QStringLiteral(" };");
}

// The primaries as the zone lists keep them (one word each, an element with a port or key joined by "_"),
// back as elements of the statement.
QStringList primariesOf(const QString& masters)
{
    QStringList elements = masters.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& element : elements)
        element.replace(QLatin1Char('_'), QLatin1Char(' '));
    return elements;
}

QHash<QString, WantedZone> wantedZones(const AppState& state)
{
    QHash<QString, WantedZone> wanted;
    const ServerZoneLists& lists = state.zoneLists;
    for (qsizetype i = 0; i < lists.primdns.size(); ++i) {
        const WantedZone zone{lists.primdns.at(i), lists.primviews.value(i), true, lists.primfiles.value(i), {}};
        wanted.insert(ConfZone::keyOf(zone.view, zone.name), zone);
    }
    for (qsizetype i = 0; i < lists.secdns.size(); ++i) {
        WantedZone zone{lists.secdns.at(i), lists.secviews.value(i), false, lists.secfiles.value(i), {}};
        for (const QString& text : state.boot.secondaryEntries) {
            const std::optional<SecondaryZoneEntry> entry = SecondaryZoneEntry::parse(text);
            if (entry && entry->zone.compare(zone.name, Qt::CaseInsensitive) == 0) {
                zone.primaries = primariesOf(entry->masters);
                break;
            }
        }
        wanted.insert(ConfZone::keyOf(zone.view, zone.name), zone);
    }
    return wanted;
}

// The statement of the file's parse that begins at the position, at any depth; null when there is none.
const ConfStatement* statementAt(const QList<ConfStatement>& statements, qsizetype begin)
{
    for (const ConfStatement& statement : statements) {
        if (statement.begin == begin)
            return &statement;
        if (begin > statement.begin && begin < statement.end) {
            for (const ConfItem& item : statement.items) {
                if (item.kind == ConfItem::Kind::Block) {
                    if (const ConfStatement* inner = statementAt(item.block, begin))
                        return inner;
                }
            }
        }
    }
    return nullptr;
}

// A text edit of one file at a span; applied from the end so that earlier spans stay right.
struct SpanEdit
{
    qsizetype begin = 0;
    qsizetype end = 0;
    QString replacement; // empty: the span goes (with its lines when they hold nothing else)
};

QString applied(QString text, QList<SpanEdit> edits)
{
    std::sort(edits.begin(), edits.end(), [](const SpanEdit& a, const SpanEdit& b) { return a.begin > b.begin; });
    for (const SpanEdit& edit : std::as_const(edits))
        text = edit.replacement.isEmpty() ? withoutSpan(text, edit.begin, edit.end)
                                          : withSpan(text, edit.begin, edit.end, edit.replacement);
    return text;
}

QString zonesFileHeader(const AppState& state)
{
    return QStringLiteral("// The zones Quorvane keeps for the server %1; the configuration includes this file once.\n")
        .arg(state.servername);
}

} // namespace

BootWriteResult writeConfZones(AppState& state)
{
    ConfServer& conf = state.conf;
    if (!conf.refusal.isEmpty())
        return {false, QStringLiteral("BIND refuses the configuration (%1), so no file of it is written until it is "
                                      "mended.")
                           .arg(conf.refusal)};
    const QHash<QString, WantedZone> wanted = wantedZones(state);
    QHash<QString, QList<SpanEdit>> edits;
    QHash<QString, QStringList> additions; // program file: new zone statements
    QSet<QString> present;
    for (const ConfZone& zone : std::as_const(conf.config.zones)) {
        if ((zone.kind != ConfZoneKind::Primary && zone.kind != ConfZoneKind::Secondary) || zone.file.isEmpty() ||
            !zone.inView.isEmpty())
            continue;
        const QString key = zone.key();
        present.insert(key);
        const ConfPlace* place = conf.files.zonePlace(key);
        if (!place)
            continue;
        const auto found = wanted.constFind(key);
        if (found == wanted.constEnd()) {
            edits[place->file] << SpanEdit{place->begin, place->end, QString()};
            continue;
        }
        if (zone.kind != ConfZoneKind::Secondary || found->primaries == zone.primaries)
            continue;
        const ConfFile* file = conf.files.file(place->file);
        const ConfStatement* statement = file ? statementAt(file->parse.statements, place->begin) : nullptr;
        const ConfStatement* primaries = nullptr;
        if (statement) {
            primaries = statement->child(QStringLiteral("primaries"));
            if (!primaries)
                primaries = statement->child(QStringLiteral("masters"));
        }
        if (primaries)
            edits[place->file] << SpanEdit{primaries->begin, primaries->end, primariesStatement(found->primaries)};
    }
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        if (present.contains(it.key()))
            continue;
        const QString zonesFile = conf.zonesFileOf(it->view);
        if (!conf.files.includes(zonesFile))
            return {false, QStringLiteral("The zone %1 was not added: the configuration does not include %2, which "
                                          "holds the zones Quorvane adds. Select the server again to have it "
                                          "included.")
                               .arg(it->name, QDir::toNativeSeparators(zonesFile))};
        additions[zonesFile] << zoneStatement(*it);
    }
    QMap<QString, QString> changed;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        changed.insert(it.key(), applied(conf.files.file(it.key())->text, it.value()));
    for (auto it = additions.cbegin(); it != additions.cend(); ++it) {
        QString text = changed.contains(it.key())  ? changed.value(it.key())
                       : conf.files.file(it.key()) ? conf.files.file(it.key())->text
                                                   : zonesFileHeader(state);
        for (const QString& statement : it.value())
            text = withLineAdded(text, statement);
        changed.insert(it.key(), text);
    }
    if (changed.isEmpty())
        return {};
    const ConfWriteResult written = writeCheckedConf(conf.files, changed);
    if (!written.ok)
        return {false, written.errorText};
    QString error;
    if (!rereadConfServer(state, &error))
        return {false, error};
    return {};
}

bool prepareConfZoneAddition(AppState& state, const QString& view, Prompter& prompter)
{
    ConfServer& conf = state.conf;
    if (!conf.isLoaded())
        return true;
    if (!conf.refusal.isEmpty()) {
        prompter.message(kAttention, QStringLiteral("BIND refuses the configuration (%1), so no zone can be added "
                                                    "until it is mended.")
                                         .arg(conf.refusal));
        return false;
    }
    // BIND takes no zone outside the views once there are views.
    if (view.isEmpty() && !conf.config.views.isEmpty()) {
        prompter.message(kAttention, QStringLiteral("The configuration keeps its zones in views (%1): select a zone "
                                                    "of the view the new zone belongs to, or name it with --view VIEW.")
                                         .arg(conf.config.views.join(QStringLiteral(", "))));
        return false;
    }
    if (!view.isEmpty() && !conf.config.views.contains(view)) {
        prompter.message(kAttention, QStringLiteral("The configuration has no view %1.").arg(view));
        return false;
    }
    const QString zonesFile = conf.zonesFileOf(view);
    if (conf.files.includes(zonesFile))
        return true;
    const auto [target, after, line] = zonesIncludeAddition(conf, view);
    const QString commented = conf.files.commentedInclude(zonesFile);
    const QString question =
        QStringLiteral("The zones Quorvane adds to this server go into %1, which the configuration does not include "
                       "yet%2.%3 Add the line %4 to %5 as line %6?")
            .arg(QDir::toNativeSeparators(zonesFile),
                 view.isEmpty() ? QString() : QStringLiteral(" in the view %1").arg(view),
                 commented.isEmpty() ? QString() : QStringLiteral(" (%1 names it in a comment)").arg(commented),
                 zonesIncludeLine(zonesFile), QDir::toNativeSeparators(target))
            .arg(line);
    if (prompter.message(QStringLiteral("Question!"), question, Prompter::Button::Yes | Prompter::Button::No,
                         Prompter::Icon::Question) != Prompter::Button::Yes) {
        prompter.message(kAttention, QStringLiteral("No zone was added: the name server would not serve it."));
        return false;
    }
    QMap<QString, QString> changed{{target, after}};
    if (!QFileInfo::exists(zonesFile))
        changed.insert(zonesFile, zonesFileHeader(state));
    const ConfWriteResult written = writeCheckedConf(conf.files, changed);
    QString error = written.errorText;
    if (!written.ok || !rereadConfServer(state, &error)) {
        prompter.message(kAttention, error);
        return false;
    }
    return true;
}

bool confirmConfZoneRemoval(const AppState& state, const QString& zone, const QString& view, Prompter& prompter)
{
    const ConfServer& conf = state.conf;
    if (!conf.isLoaded())
        return true;
    const QString key = ConfZone::keyOf(view, zone);
    const ConfPlace* place = conf.files.zonePlace(key);
    if (!place || conf.ownsZone(key))
        return true;
    const QString question =
        QStringLiteral("The zone %1 is declared in %2 line %3. Take its statement out of that file? Nothing else in "
                       "the file changes.")
            .arg(zone, QDir::toNativeSeparators(place->file))
            .arg(place->line);
    return prompter.message(QStringLiteral("Question!"), question, Prompter::Button::Yes | Prompter::Button::No,
                            Prompter::Icon::Question) == Prompter::Button::Yes;
}

bool zoneNameTaken(const AppState& state, const QString& name, const QString& view)
{
    const ServerZoneLists& lists = state.zoneLists;
    const QString inView = state.conf.config.views.isEmpty() ? QString() : view;
    return lists.primaryIndex(name, inView) >= 0 || lists.secondaryIndex(name, inView) >= 0;
}

QString viewOfZone(const AppState& state, const QString& zone, const QString& given, bool primary)
{
    if (!given.isEmpty() || state.conf.config.views.isEmpty())
        return given;
    const QStringList& names = primary ? state.zoneLists.primdns : state.zoneLists.secdns;
    const QStringList& views = primary ? state.zoneLists.primviews : state.zoneLists.secviews;
    QString found;
    bool seen = false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(zone, Qt::CaseInsensitive) != 0)
            continue;
        // In two views the name alone does not say which is meant.
        if (seen)
            return QString();
        seen = true;
        found = views.value(i);
    }
    return found;
}

QString missingZonesInclude(const ConfServer& conf)
{
    QStringList views{QString()};
    views << conf.config.views;
    for (const QString& view : std::as_const(views)) {
        const QString zonesFile = conf.zonesFileOf(view);
        if (!QFileInfo(zonesFile).isFile() || conf.files.includes(zonesFile))
            continue;
        const QString commented = conf.files.commentedInclude(zonesFile);
        return QStringLiteral("The configuration does not include %1%2, so the name server does not serve the zones "
                              "Quorvane keeps there%3. Select the server to have the include added.")
            .arg(QDir::toNativeSeparators(zonesFile),
                 view.isEmpty() ? QString() : QStringLiteral(" in the view %1").arg(view),
                 commented.isEmpty() ? QString() : QStringLiteral(" (%1 names it in a comment)").arg(commented));
    }
    return QString();
}
