#include "namedconf/namedconfig.h"

#include "namedconf/confparser.h"

#include <QDir>
#include <QHash>
#include <functional>

namespace {

QString withoutTrailingDot(const QString& name)
{
    return name.size() > 1 && name.endsWith(QLatin1Char('.')) ? name.chopped(1) : name;
}

// The words and strings of a list block, such as the addresses of "primaries { 10.0.0.1; 10.0.0.2 port 5353; }",
// each element as written.
QStringList listElements(const ConfStatement& statement)
{
    QStringList elements;
    const QList<ConfStatement>* block = statement.block();
    if (!block)
        return elements;
    for (const ConfStatement& element : *block) {
        QStringList words;
        for (const ConfItem& item : element.items) {
            if (item.kind != ConfItem::Kind::Block)
                words << item.text;
        }
        elements << words.join(QLatin1Char(' '));
    }
    return elements;
}

// The text of a statement as printed, without its name and the ";" that ends it, on one line.
QString valueText(const QString& printed, const ConfStatement& statement)
{
    if (statement.items.size() < 2)
        return QString();
    const qsizetype from = statement.items.at(1).begin;
    QString text = printed.sliced(from, statement.end - 1 - from);
    return text.simplified();
}

ConfZone zoneOf(const ConfStatement& statement, const QString& view)
{
    ConfZone zone;
    zone.name = withoutTrailingDot(statement.word(1));
    zone.view = view;
    if (statement.items.size() > 2 && statement.items.at(2).kind != ConfItem::Kind::Block)
        zone.className = statement.word(2);
    const QList<ConfStatement>* block = statement.block();
    if (!block)
        return zone;
    for (const ConfStatement& option : *block) {
        const QString name = option.keyword();
        if (name == QLatin1String("type")) {
            zone.type = option.word(1);
            zone.kind = zoneKindOf(zone.type);
        } else if (name == QLatin1String("file")) {
            zone.file = option.word(1);
        } else if (name == QLatin1String("primaries") || name == QLatin1String("masters")) {
            zone.primaries = listElements(option);
        } else if (name == QLatin1String("in-view")) {
            zone.inView = option.word(1);
            zone.kind = ConfZoneKind::InView;
        } else if (name == QLatin1String("allow-update")) {
            // "allow-update { none; }" is the default and allows nothing.
            const QStringList who = listElements(option);
            zone.updates = !(who.size() == 1 && who.first() == QLatin1String("none"));
        } else if (name == QLatin1String("update-policy")) {
            zone.updates = true;
        } else if (name == QLatin1String("inline-signing")) {
            const QString value = option.word(1).toLower();
            zone.inlineSigning =
                value == QLatin1String("yes") || value == QLatin1String("true") || value == QLatin1String("1");
        } else if (name == QLatin1String("dnssec-policy")) {
            zone.dnssecPolicy = option.word(1);
        }
    }
    return zone;
}

// The zones named by "catalog-zones { zone "NAME" ...; }" of a block.
QStringList catalogZonesOf(const QList<ConfStatement>& block)
{
    QStringList names;
    for (const ConfStatement& statement : block) {
        if (statement.keyword() != QLatin1String("catalog-zones") || !statement.block())
            continue;
        for (const ConfStatement& member : *statement.block()) {
            if (member.keyword() == QLatin1String("zone"))
                names << withoutTrailingDot(member.word(1)).toLower();
        }
    }
    return names;
}

void readControls(const ConfStatement& statement, ConfControl& control)
{
    control.present = true;
    const QList<ConfStatement>* block = statement.block();
    if (!block || block->isEmpty()) {
        control.disabled = true;
        return;
    }
    for (const ConfStatement& channel : *block) {
        if (channel.keyword() != QLatin1String("inet"))
            continue;
        control.address = channel.word(1);
        if (control.address == QLatin1String("*"))
            control.address = QStringLiteral("127.0.0.1");
        for (qsizetype i = 2; i < channel.items.size(); ++i) {
            const QString word = channel.word(i).toLower();
            if (word == QLatin1String("port")) {
                control.port = channel.word(i + 1).toInt();
            } else if (word == QLatin1String("keys") && i + 1 < channel.items.size() &&
                       channel.items.at(i + 1).kind == ConfItem::Kind::Block) {
                for (const ConfStatement& key : channel.items.at(i + 1).block)
                    control.keys << key.word(0);
            }
        }
        return;
    }
    control.disabled = true;
}

ConfKey keyOf(const ConfStatement& statement)
{
    ConfKey key;
    key.name = statement.word(1);
    if (const ConfStatement* algorithm = statement.child(QStringLiteral("algorithm")))
        key.algorithm = algorithm->word(1);
    if (const ConfStatement* secret = statement.child(QStringLiteral("secret")))
        key.secret = secret->word(1);
    return key;
}

const QStringList& shownOptions()
{
    static const QStringList names{
        QStringLiteral("forwarders"),       QStringLiteral("forward"),          QStringLiteral("recursion"),
        QStringLiteral("allow-transfer"),   QStringLiteral("transfers-in"),     QStringLiteral("transfers-out"),
        QStringLiteral("transfers-per-ns"), QStringLiteral("listen-on"),        QStringLiteral("listen-on-v6"),
        QStringLiteral("allow-query"),      QStringLiteral("allow-recursion"),  QStringLiteral("notify"),
        QStringLiteral("also-notify"),      QStringLiteral("dnssec-validation")};
    return names;
}

} // namespace

QString ConfZone::keyOf(const QString& view, const QString& name)
{
    return view + QLatin1Char('/') + withoutTrailingDot(name).toLower();
}

QString ConfZone::key() const
{
    return keyOf(view, name);
}

ConfZoneKind zoneKindOf(const QString& type)
{
    static const QHash<QString, ConfZoneKind> kinds{
        {QStringLiteral("primary"), ConfZoneKind::Primary},
        {QStringLiteral("master"), ConfZoneKind::Primary},
        {QStringLiteral("secondary"), ConfZoneKind::Secondary},
        {QStringLiteral("slave"), ConfZoneKind::Secondary},
        {QStringLiteral("hint"), ConfZoneKind::Hint},
        {QStringLiteral("stub"), ConfZoneKind::Stub},
        {QStringLiteral("forward"), ConfZoneKind::Forward},
        {QStringLiteral("static-stub"), ConfZoneKind::StaticStub},
        {QStringLiteral("redirect"), ConfZoneKind::Redirect},
        {QStringLiteral("mirror"), ConfZoneKind::Mirror},
    };
    return kinds.value(type.toLower(), ConfZoneKind::Other);
}

bool isPrimaryType(const QString& type)
{
    return zoneKindOf(type) == ConfZoneKind::Primary;
}

const ConfZone* NamedConfig::zone(const QString& key) const
{
    for (const ConfZone& zone : zones) {
        if (zone.key() == key)
            return &zone;
    }
    return nullptr;
}

QString NamedConfig::zonePath(const ConfZone& zone, const QString& workingDirectory) const
{
    const QDir base(QDir(workingDirectory).filePath(directory));
    return QDir::cleanPath(base.filePath(zone.file));
}

const ConfKey* NamedConfig::key(const QString& name) const
{
    for (const ConfKey& key : keys) {
        if (key.name == name)
            return &key;
    }
    return nullptr;
}

namespace {

// Gathers the configuration from statements; the include statements of an administrator's files are followed
// through the callback (the printed configuration has none left).
class Collector
{
public:
    using Includes = std::function<void(const ConfStatement& include, const QString& view, Collector& collector)>;

    Collector(NamedConfig& config, Includes includes) : m_config(config), m_includes(std::move(includes)) {}

    void visit(const QList<ConfStatement>& statements, const QString& text, const QString& view)
    {
        for (const ConfStatement& statement : statements) {
            const QString keyword = statement.keyword();
            if (keyword == QLatin1String("zone")) {
                m_config.zones << zoneOf(statement, view);
            } else if (keyword == QLatin1String("view") && statement.block() && view.isEmpty()) {
                m_config.views << statement.word(1);
                visit(*statement.block(), text, statement.word(1));
                m_catalogs << catalogZonesOf(*statement.block());
            } else if (keyword == QLatin1String("options") && statement.block() && view.isEmpty()) {
                readOptions(*statement.block(), text);
            } else if (keyword == QLatin1String("controls")) {
                readControls(statement, m_config.control);
            } else if (keyword == QLatin1String("key")) {
                m_config.keys << keyOf(statement);
            } else if (keyword == QLatin1String("include") && m_includes) {
                m_includes(statement, view, *this);
            }
        }
    }

    void finish()
    {
        for (ConfZone& zone : m_config.zones)
            zone.catalog = m_catalogs.contains(zone.name.toLower());
    }

private:
    void readOptions(const QList<ConfStatement>& block, const QString& text)
    {
        for (const ConfStatement& option : block) {
            const QString name = option.keyword();
            if (name == QLatin1String("directory"))
                m_config.directory = option.word(1);
            else if (shownOptions().contains(name))
                m_config.options << ConfOption{name, valueText(text, option)};
        }
        m_catalogs << catalogZonesOf(block);
    }

    NamedConfig& m_config;
    Includes m_includes;
    QStringList m_catalogs;
};

} // namespace

bool readPrintedConfig(const QString& printed, NamedConfig& config, QString* errorText)
{
    const ConfParse parse = parseConf(printed);
    if (!parse.ok) {
        if (errorText)
            *errorText = QStringLiteral("line %1: %2").arg(parse.errorLine).arg(parse.errorText);
        return false;
    }
    config = NamedConfig();
    Collector collector(config, {});
    collector.visit(parse.statements, printed, QString());
    collector.finish();
    return true;
}

NamedConfig configOfFiles(const QList<ConfStatement>& top, const QString& topText, const IncludedFile& included)
{
    NamedConfig config;
    QStringList seen;
    Collector collector(config, [&included, &seen](const ConfStatement& include, const QString& view, Collector& into) {
        const QString target = include.word(1);
        const std::optional<std::pair<QList<ConfStatement>, QString>> file = included(target);
        // Each file once: a circle of includes is read once round.
        if (!file || seen.contains(target))
            return;
        seen << target;
        into.visit(file->first, file->second, view);
    });
    collector.visit(top, topText, QString());
    collector.finish();
    return config;
}
