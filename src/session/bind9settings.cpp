#include "session/bind9settings.h"

#include "platform/installlayout.h"
#include "platform/platform.h"
#include "platform/settingsstore.h"

#include <QFileInfo>
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

int portValue(const SettingsStore& store, const QString& name, int fallback, QStringList& refused)
{
    const QString text = store.text(Bind9Settings::sectionName(), name).trimmed();
    bool ok = false;
    const int port = text.toInt(&ok);
    if (ok && port > 0 && port < 65536)
        return port;
    // A word is no port: taken for the default it would serve on a port nobody chose.
    if (!text.isEmpty())
        refused << refusedPrefix(name) + text + QLatin1Char('"');
    return fallback;
}

QString textValue(const SettingsStore& store, const QString& name, const QString& fallback)
{
    const QString value = store.text(Bind9Settings::sectionName(), name, fallback);
    return value.trimmed().isEmpty() ? fallback : value;
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
    const Bind9Settings defaults;
    Bind9Settings settings;
    const QString section = sectionName();
    settings.mode = modeFromName(store.text(section, kMode));
    settings.address = textValue(store, kAddress, defaults.address).trimmed();
    settings.port = portValue(store, kPort, defaults.port, settings.refusedValues);
    settings.controlPort = portValue(store, kControlPort, defaults.controlPort, settings.refusedValues);
    settings.extraOptions = store.text(section, kExtraOptions);
    settings.namedProgram = textValue(store, kNamedProgram, defaults.namedProgram);
    settings.rndcProgram = textValue(store, kRndcProgram, defaults.rndcProgram);
    settings.zonesFile = textValue(store, kZonesFile, defaults.zonesFile);
    settings.rndcKey = textValue(store, kRndcKey, defaults.rndcKey);
    settings.systemConfig = textValue(store, kSystemConfig, defaults.systemConfig);
    settings.catalogZone = store.text(section, kCatalogZone).trimmed();
    return settings;
}

void Bind9Settings::save(SettingsStore& store) const
{
    const QString section = sectionName();
    store.setText(section, kMode, modeName(mode));
    store.setText(section, kAddress, address);
    for (const auto& [name, value] : {std::pair{kPort, port}, std::pair{kControlPort, controlPort}}) {
        if (!isRefused(name))
            store.setText(section, name, QString::number(value));
    }
    store.setText(section, kExtraOptions, extraOptions);
    store.setText(section, kNamedProgram, namedProgram);
    store.setText(section, kRndcProgram, rndcProgram);
    store.setText(section, kZonesFile, zonesFile);
    store.setText(section, kRndcKey, rndcKey);
    store.setText(section, kSystemConfig, systemConfig);
    store.setText(section, kCatalogZone, catalogZone);
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
