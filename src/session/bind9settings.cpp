#include "session/bind9settings.h"

#include "platform/installlayout.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace {

const QString kMode = QStringLiteral("Mode");
const QString kAddress = QStringLiteral("Address");
const QString kPort = QStringLiteral("Port");
const QString kControlPort = QStringLiteral("Control Port");
const QString kExtraOptions = QStringLiteral("Extra Options");
const QString kNamedProgram = QStringLiteral("Named Program");
const QString kRndcProgram = QStringLiteral("Rndc Program");
const QString kZonesFile = QStringLiteral("Zones File");
const QString kRndcKey = QStringLiteral("Rndc Key");
const QString kSystemConfig = QStringLiteral("System Config");
const QString kCatalogZone = QStringLiteral("Catalog Zone");

QString refusedPrefix(const QString& name)
{
    return name + QStringLiteral(" \"");
}

bool namesFolder(const QString& program)
{
    return program.contains(QLatin1Char('/'));
}

} // namespace

bool Bind9Settings::listensOnAll() const
{
    const QString text = address.trimmed();
    return text.isEmpty() || text.compare(allAddresses(), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("any"), Qt::CaseInsensitive) == 0;
}

QString Bind9Settings::queryAddress() const
{
    return listensOnAll() ? QStringLiteral("127.0.0.1") : address.trimmed();
}

QStringList Bind9Settings::permittedDataFolders() const
{
    if (mode != Mode::System)
        return {};
    return {QStringLiteral("/etc/bind"), QStringLiteral("/var/lib/bind"), QStringLiteral("/var/cache/bind")};
}

bool Bind9Settings::isRefused(const QString& name) const
{
    const QString prefix = refusedPrefix(name);
    return std::any_of(refusedValues.cbegin(), refusedValues.cend(),
                       [&prefix](const QString& value) { return value.startsWith(prefix); });
}

void Bind9Settings::acceptValue(const QString& name)
{
    const QString prefix = refusedPrefix(name);
    refusedValues.removeIf([&prefix](const QString& value) { return value.startsWith(prefix); });
}

QString Bind9Settings::modeName(Mode mode)
{
    return mode == Mode::System ? QStringLiteral("system") : QStringLiteral("own");
}

Bind9Settings::Mode Bind9Settings::modeFromName(const QString& name)
{
    return name.trimmed().compare(QLatin1String("system"), Qt::CaseInsensitive) == 0 ? Mode::System : Mode::Own;
}

Bind9Settings Bind9Settings::load(const SettingsStore& store)
{
    return load(store, QString());
}

Bind9Settings Bind9Settings::load(const SettingsStore& store, const QString& serverName)
{
    const Bind9Settings defaults;
    Bind9Settings settings;
    const QString global = sectionName();
    const QString own = serverName.isEmpty() ? QString() : serverSectionName(serverName);
    // A value of the server's own section wins; an empty one there leaves the default.
    const auto raw = [&](const QString& name) {
        if (!own.isEmpty()) {
            const QString value = store.text(own, name);
            if (!value.trimmed().isEmpty()) {
                settings.ownValues.insert(name);
                return value;
            }
        }
        return store.text(global, name);
    };
    const auto text = [&](const QString& name, const QString& fallback) {
        const QString value = raw(name);
        return value.trimmed().isEmpty() ? fallback : value;
    };
    const auto port = [&](const QString& name, int fallback) {
        const QString text = raw(name).trimmed();
        bool ok = false;
        const int number = text.toInt(&ok);
        if (ok && number > 0 && number < 65536)
            return number;
        // A word is no port: taken for the default it would serve on a port nobody chose.
        if (!text.isEmpty())
            settings.refusedValues << refusedPrefix(name) + text + QLatin1Char('"');
        return fallback;
    };
    settings.mode = modeFromName(raw(kMode));
    settings.address = text(kAddress, defaults.address).trimmed();
    settings.port = port(kPort, defaults.port);
    settings.controlPort = port(kControlPort, defaults.controlPort);
    settings.extraOptions = raw(kExtraOptions);
    settings.namedProgram = text(kNamedProgram, defaults.namedProgram);
    settings.rndcProgram = text(kRndcProgram, defaults.rndcProgram);
    settings.zonesFile = text(kZonesFile, defaults.zonesFile);
    settings.rndcKey = text(kRndcKey, defaults.rndcKey);
    settings.systemConfig = text(kSystemConfig, defaults.systemConfig);
    settings.catalogZone = raw(kCatalogZone).trimmed();
    return settings;
}

void Bind9Settings::save(SettingsStore& store) const
{
    const QString section = sectionName();
    for (const QString& name : valueNames()) {
        // A server's own value stays in its section; a refused port stays stored as written until one is set.
        if (!ownValues.contains(name) && !isRefused(name))
            store.setText(section, name, value(name));
    }
}

QString Bind9Settings::serverSectionName(const QString& serverName)
{
    return QStringLiteral("BIND 9 of %1").arg(serverName);
}

const QStringList& Bind9Settings::valueNames()
{
    static const QStringList names{kMode,        kAddress,   kPort,    kControlPort,  kExtraOptions, kNamedProgram,
                                   kRndcProgram, kZonesFile, kRndcKey, kSystemConfig, kCatalogZone};
    return names;
}

QString Bind9Settings::value(const QString& name) const
{
    const QHash<QString, QString> values{{kMode, modeName(mode)},
                                         {kAddress, address},
                                         {kPort, QString::number(port)},
                                         {kControlPort, QString::number(controlPort)},
                                         {kExtraOptions, extraOptions},
                                         {kNamedProgram, namedProgram},
                                         {kRndcProgram, rndcProgram},
                                         {kZonesFile, zonesFile},
                                         {kRndcKey, rndcKey},
                                         {kSystemConfig, systemConfig},
                                         {kCatalogZone, catalogZone}};
    return values.value(name);
}

bool Bind9Settings::setServerValue(SettingsStore& store, const QString& serverName, const QString& name,
                                   const QString& value, QString* errorText)
{
    const auto refuse = [errorText](const QString& text) {
        if (errorText)
            *errorText = text;
        return false;
    };
    if (!valueNames().contains(name))
        return refuse(QStringLiteral("There is no setting \"%1\"; the settings are: %2.")
                          .arg(name, valueNames().join(QStringLiteral(", "))));
    const QString trimmed = value.trimmed();
    if ((name == kPort || name == kControlPort) && !trimmed.isEmpty()) {
        bool ok = false;
        const int number = trimmed.toInt(&ok);
        if (!ok || number < 1 || number > 65535)
            return refuse(QStringLiteral("%1 must be a number from 1 to 65535, not \"%2\".").arg(name, value));
    }
    if (name == kMode && !trimmed.isEmpty() && trimmed != QLatin1String("own") && trimmed != QLatin1String("system"))
        return refuse(QStringLiteral("Mode must be \"own\" or \"system\", not \"%1\".").arg(value));
    store.setText(serverSectionName(serverName), name, value);
    return true;
}

QString ownControlProgramName()
{
    return QStringLiteral("quorvane-ndc");
}

QString defaultControlProgram()
{
    const QString ndc = QStringLiteral("ndc");
    return QStandardPaths::findExecutable(ndc).isEmpty() ? ownControlProgramName() : ndc;
}

bool isOwnControlProgram(const QString& program)
{
    return QFileInfo(program.trimmed()).fileName() == ownControlProgramName();
}

QString controlProgramPath(const QString& program, const Platform& platform)
{
    if (program != ownControlProgramName())
        return program;
    const QString found = installlayout::helperProgram(platform.programPath(), program);
    return found.isEmpty() ? program : found;
}

QString bind9ToolPath(const QString& program)
{
    const QString name = program.trimmed();
    if (name.isEmpty() || namesFolder(name))
        return name;
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/local/sbin")});
    return found.isEmpty() ? name : found;
}
