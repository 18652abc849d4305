#include "bind9/namedconfexport.h"

#include "bind9/settingscheck.h"
#include "bootfile/bootconfig.h"
#include "bootfile/bootlines.h"
#include "bootfile/filenameindex.h"
#include "checks/domainname.h"
#include "namedconf/confsyntax.h"
#include "platform/folderconfinement.h"
#include "zone/primaryzoneentry.h"
#include "zone/secondaryzoneentry.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const QString kIndent = QStringLiteral("    ");

// The boot file's options as BIND 9 statements, each with the boot line it came from.
struct OptionStatement
{
    QString name; // the statement's keyword, to give way to Extra Options
    QString text;
    QString line;
};

struct ParsedOptions
{
    QStringList forwarders;
    QString forwardersLine;
    QString forwardOnlyLine;
    QString noRecursionLine;
    QString queryLogLine;
    QString transfersIn, transfersInLine;
    QString transfersPerNs, transfersPerNsLine;
    QStringList xfrnets;
    QString xfrnetsLine;
    QStringList bogusns;
};

struct ZoneFile
{
    QString name; // as the text names it
    QString path; // local path
    bool exists = false;
    bool outside = false; // it leads out of the data directory: never handed to the name server
};

class Exporter
{
public:
    Exporter(const BootConfig& boot, const NamedConfRequest& request)
        : m_boot(boot), m_request(request), m_files(request.dataDirectory),
          m_whole(request.form == NamedConfForm::Whole),
          m_extraNames(confStatementNames(request.settings.extraOptions)),
          m_dataPrefix(QDir::cleanPath(request.dataDirectory) + QLatin1Char('/')),
          m_inside(request.dataDirectory.isEmpty() ? FolderConfinement() : FolderConfinement({request.dataDirectory}))
    {
    }

    NamedConfExport run();

private:
    void leaveOut(const QString& line, const QString& reason);
    void readOptionLines();
    void readOptionWords(const QString& line, const QStringList& fields);
    void readLimit(const QString& line, const QStringList& fields);
    QStringList addressesOf(const QString& line, const QStringList& entries, bool networks);
    QList<OptionStatement> optionStatements();
    void writeOptions();
    void writeControls();
    void writeServers();
    void writeZones();
    void writeHintZone();
    void writePrimary(const QString& zone, const QString& fileName, const QString& line);
    void writeSecondary(const QString& zone, const QStringList& masters, const QString& fileName, const QString& line);
    void writeZone(const QString& zone, const QStringList& body);
    bool claimZone(const QString& zone, const QString& line);
    ZoneFile zoneFile(const QString& name, bool fullPath = false) const;
    bool apartFromData() const { return m_whole && !m_request.workingDirectory.isEmpty(); }
    QString transferClause() const;

    const BootConfig& m_boot;
    const NamedConfRequest& m_request;
    const FileNameIndex m_files;
    const bool m_whole;
    const QSet<QString> m_extraNames;
    const QString m_dataPrefix;
    const FolderConfinement m_inside;
    ParsedOptions m_options;
    QSet<QString> m_zones;
    QString m_text;
    NamedConfExport m_result;
};

void Exporter::leaveOut(const QString& line, const QString& reason)
{
    m_result.leftOut << line.simplified() + QStringLiteral(": ") + reason + QLatin1Char('.');
}

QStringList Exporter::addressesOf(const QString& line, const QStringList& entries, bool networks)
{
    QStringList addresses;
    for (const QString& entry : entries) {
        QString reason;
        std::optional<QString> address;
        if (networks) {
            address = confNetwork(entry, &reason);
        } else {
            address = confAddress(entry);
            if (!address)
                reason = entry.contains(QLatin1Char('&')) ? QStringLiteral("a forwarder takes no mask")
                                                          : QStringLiteral("\"%1\" is not an address").arg(entry);
        }
        if (address)
            addresses << *address;
        else
            leaveOut(line, QStringLiteral("entry \"%1\": %2").arg(entry, reason));
    }
    return addresses;
}

void Exporter::readOptionWords(const QString& line, const QStringList& fields)
{
    for (const QString& word : fields.mid(1)) {
        if (word == QLatin1String("forward-only"))
            m_options.forwardOnlyLine = line;
        else if (word == QLatin1String("no-recursion"))
            m_options.noRecursionLine = line;
        else if (word == QLatin1String("query-log"))
            m_options.queryLogLine = line;
        else
            leaveOut(QStringLiteral("options ") + word, QStringLiteral("BIND 9 has no such option"));
    }
}

void Exporter::readLimit(const QString& line, const QStringList& fields)
{
    const QString what = fields.value(1);
    const QString value = fields.value(2);
    const bool number = !value.isEmpty() && fields.size() == 3 && value.toUInt() > 0;
    if (what != QLatin1String("transfers-in") && what != QLatin1String("transfers-per-ns")) {
        leaveOut(line, QStringLiteral("BIND 9 no longer takes this limit"));
        return;
    }
    if (!number) {
        leaveOut(line, QStringLiteral("the limit is no whole number above 0"));
        return;
    }
    if (what == QLatin1String("transfers-in")) {
        m_options.transfersIn = value;
        m_options.transfersInLine = line;
    } else {
        m_options.transfersPerNs = value;
        m_options.transfersPerNsLine = line;
    }
}

void Exporter::readOptionLines()
{
    for (const QString& line : m_boot.parameterLines) {
        if (line.startsWith(QLatin1Char(';')))
            continue;
        const QStringList fields = fieldsOf(line);
        const QString keyword = fields.value(0);
        if (keyword == QLatin1String("forwarders")) {
            m_options.forwarders << addressesOf(line, fields.mid(1), false);
            m_options.forwardersLine = line;
        } else if (keyword == QLatin1String("options")) {
            readOptionWords(line, fields);
        } else if (keyword == QLatin1String("limit")) {
            readLimit(line, fields);
        } else if (keyword == QLatin1String("xfrnets")) {
            m_options.xfrnets << addressesOf(line, fields.mid(1), true);
            m_options.xfrnetsLine = line;
        } else if (keyword == QLatin1String("bogusns")) {
            m_options.bogusns << addressesOf(line, fields.mid(1), true);
        } else {
            leaveOut(line, QStringLiteral("not an option line BIND 9 knows"));
        }
    }
    if (!m_options.forwardOnlyLine.isEmpty() && m_options.forwarders.isEmpty() &&
        !m_extraNames.contains(QStringLiteral("forwarders"))) {
        leaveOut(m_options.forwardOnlyLine, QStringLiteral("there are no forwarders to forward to"));
        m_options.forwardOnlyLine.clear();
    }
}

QString addressList(const QStringList& addresses)
{
    QString text = QStringLiteral("{");
    for (const QString& address : addresses)
        text += QLatin1Char(' ') + address + QLatin1Char(';');
    return text + QStringLiteral(" }");
}

QList<OptionStatement> Exporter::optionStatements()
{
    const NamedConfPlaces& places = m_request.places;
    const Bind9Settings& settings = m_request.settings;
    const QString port = QString::number(settings.port);
    QList<OptionStatement> statements{
        {QStringLiteral("directory"),
         QStringLiteral("directory ") +
             confString(apartFromData() ? m_request.workingDirectory : m_request.dataDirectory),
         QString()}};
    const QList<std::pair<QString, QString>> files = {
        {QStringLiteral("pid-file"), places.pidFile},
        {QStringLiteral("session-keyfile"), places.sessionKeyFile},
        {QStringLiteral("managed-keys-directory"), places.managedKeysDirectory},
        {QStringLiteral("dump-file"), places.dumpFile},
        {QStringLiteral("statistics-file"), places.statisticsFile}};
    for (const auto& [name, path] : files) {
        if (!path.isEmpty())
            statements << OptionStatement{name, name + QLatin1Char(' ') + confString(path), QString()};
    }
    if (settings.listensOnAll()) {
        statements << OptionStatement{QStringLiteral("listen-on"),
                                      QStringLiteral("listen-on port %1 { any; }").arg(port), QString()}
                   << OptionStatement{QStringLiteral("listen-on-v6"),
                                      QStringLiteral("listen-on-v6 port %1 { any; }").arg(port), QString()};
    } else {
        // The address goes into the text as it stands: anything but an address would be read as configuration.
        QString address = settings.address.trimmed();
        if (!isListenAddress(address)) {
            leaveOut(QStringLiteral("Address ") + address,
                     QStringLiteral("no address; the name server listens on 127.0.0.1 instead"));
            address = QStringLiteral("127.0.0.1");
        }
        const bool v6 = address.contains(QLatin1Char(':'));
        const QString listening = QStringLiteral("port %1 { %2; }").arg(port, address);
        statements << OptionStatement{QStringLiteral("listen-on"),
                                      QStringLiteral("listen-on ") + (v6 ? QStringLiteral("{ none; }") : listening),
                                      QString()}
                   << OptionStatement{QStringLiteral("listen-on-v6"),
                                      QStringLiteral("listen-on-v6 ") + (v6 ? listening : QStringLiteral("{ none; }")),
                                      QString()};
    }
    const ParsedOptions& o = m_options;
    if (!o.forwarders.isEmpty())
        statements << OptionStatement{QStringLiteral("forwarders"),
                                      QStringLiteral("forwarders ") + addressList(o.forwarders), o.forwardersLine};
    if (!o.forwardOnlyLine.isEmpty())
        statements << OptionStatement{QStringLiteral("forward"), QStringLiteral("forward only"), o.forwardOnlyLine};
    if (!o.noRecursionLine.isEmpty())
        statements << OptionStatement{QStringLiteral("recursion"), QStringLiteral("recursion no"), o.noRecursionLine};
    if (!o.queryLogLine.isEmpty())
        statements << OptionStatement{QStringLiteral("querylog"), QStringLiteral("querylog yes"), o.queryLogLine};
    if (!o.transfersInLine.isEmpty())
        statements << OptionStatement{QStringLiteral("transfers-in"), QStringLiteral("transfers-in ") + o.transfersIn,
                                      o.transfersInLine};
    if (!o.transfersPerNsLine.isEmpty())
        statements << OptionStatement{QStringLiteral("transfers-per-ns"),
                                      QStringLiteral("transfers-per-ns ") + o.transfersPerNs, o.transfersPerNsLine};
    if (!o.xfrnets.isEmpty())
        statements << OptionStatement{QStringLiteral("allow-transfer"),
                                      QStringLiteral("allow-transfer ") + addressList(o.xfrnets), o.xfrnetsLine};
    return statements;
}

void Exporter::writeOptions()
{
    m_text += QStringLiteral("options {\n");
    for (const OptionStatement& statement : optionStatements()) {
        if (m_extraNames.contains(statement.name)) {
            const QString source = statement.line.isEmpty()
                                       ? QStringLiteral("the export's own \"%1\"").arg(statement.name)
                                       : QStringLiteral("\"%1\"").arg(statement.line.trimmed());
            m_result.notes
                << QStringLiteral("Extra Options set \"%1\"; %2 gives way to them.").arg(statement.name, source);
            continue;
        }
        m_text += kIndent + statement.text + QStringLiteral(";\n");
    }
    const QString extra = m_request.settings.extraOptions.trimmed();
    if (!extra.isEmpty())
        m_text += kIndent + QStringLiteral("// Extra Options\n") + kIndent + extra + QLatin1Char('\n');
    m_text += QStringLiteral("};\n\n");
}

void Exporter::writeControls()
{
    if (!m_request.controls) {
        m_text += QStringLiteral("controls { };\n\n");
        return;
    }
    const NamedConfControls& controls = *m_request.controls;
    m_text += QStringLiteral("include %1;\n").arg(confString(controls.keyFile)) + QStringLiteral("controls {\n") +
              kIndent +
              QStringLiteral("inet 127.0.0.1 port %1 allow { 127.0.0.1; } keys { %2; };\n")
                  .arg(QString::number(controls.port), confString(controls.keyName)) +
              QStringLiteral("};\n\n");
}

void Exporter::writeServers()
{
    if (m_options.bogusns.isEmpty())
        return;
    for (const QString& address : std::as_const(m_options.bogusns))
        m_text += QStringLiteral("server %1 { bogus yes; };\n").arg(address);
    m_text += QLatin1Char('\n');
}

ZoneFile Exporter::zoneFile(const QString& name, bool fullPath) const
{
    ZoneFile file;
    const std::optional<QString> onDisk = name.contains(QLatin1Char('/')) ? std::nullopt : m_files.find(name);
    if (onDisk) {
        // The common case, thousands of times over: a plain name in the data directory.
        file.name = *onDisk;
        file.exists = true;
        file.path = m_dataPrefix + file.name;
        file.outside = m_files.isLink(*onDisk) && !m_inside.contains(file.path);
    } else {
        file.name = QDir::fromNativeSeparators(singleBackslashes(name));
        const QString given = QDir(m_request.dataDirectory).filePath(file.name);
        file.path = QDir::cleanPath(given);
        file.exists = QFileInfo(file.path).isFile();
        file.outside = !m_inside.contains(given);
    }
    if (!m_whole || fullPath)
        file.name = file.path;
    return file;
}

bool Exporter::claimZone(const QString& zone, const QString& line)
{
    // One over-long name would make BIND refuse the whole file.
    if (const std::optional<QString> refusal = zoneNameLengthRefusal(zone)) {
        QString reason = *refusal;
        reason.chop(1);
        leaveOut(line, reason);
        return false;
    }
    QString key = zone.toLower();
    if (key.size() > 1 && key.endsWith(QLatin1Char('.')))
        key.chop(1);
    if (m_zones.contains(key)) {
        leaveOut(line, QStringLiteral("the zone %1 is declared before").arg(zone));
        return false;
    }
    m_zones.insert(key);
    return true;
}

void Exporter::writeZone(const QString& zone, const QStringList& body)
{
    m_text += QLatin1String("zone ");
    m_text += confString(zone);
    m_text += QLatin1String(" {");
    for (const QString& part : body) {
        m_text += QLatin1Char(' ');
        m_text += part;
        m_text += QLatin1Char(';');
    }
    m_text += QLatin1String(" };\n");
}

QString Exporter::transferClause() const
{
    // An included file cannot set the server's options: the transfer networks go with every zone instead.
    if (m_whole || m_options.xfrnets.isEmpty())
        return QString();
    return QStringLiteral("allow-transfer ") + addressList(m_options.xfrnets);
}

void Exporter::writePrimary(const QString& zone, const QString& fileName, const QString& line)
{
    const ZoneFile file = zoneFile(fileName, apartFromData());
    if (file.outside) {
        leaveOut(line, QStringLiteral("its zone file %1").arg(outsideFolderText(file.path, m_request.dataDirectory)));
        return;
    }
    if (!file.exists) {
        leaveOut(line, QStringLiteral("its zone file %1 does not exist").arg(file.path));
        return;
    }
    if (!claimZone(zone, line))
        return;
    QStringList body{QStringLiteral("type primary"), QStringLiteral("file ") + confString(file.name)};
    if (const QString transfer = transferClause(); !transfer.isEmpty())
        body << transfer;
    writeZone(zone, body);
    m_result.primaryZones << zone;
    m_result.primaryFiles << file.name;
}

void Exporter::writeSecondary(const QString& zone, const QStringList& masters, const QString& fileName,
                              const QString& line)
{
    const QStringList primaries = addressesOf(line, masters, false);
    if (primaries.isEmpty()) {
        leaveOut(line, QStringLiteral("it names no master address"));
        return;
    }
    // The name server writes a secondary's copy: one that leads out of the data directory would be written there.
    const ZoneFile file = zoneFile(fileName);
    if (file.outside) {
        leaveOut(line, QStringLiteral("its zone file %1").arg(outsideFolderText(file.path, m_request.dataDirectory)));
        return;
    }
    if (!claimZone(zone, line))
        return;
    // BIND 9 keeps a secondary's copy in its raw form unless told otherwise; the backup files stay readable text.
    QStringList body{QStringLiteral("type secondary"), QStringLiteral("primaries ") + addressList(primaries),
                     QStringLiteral("file ") + confString(file.name), QStringLiteral("masterfile-format text")};
    if (const QString transfer = transferClause(); !transfer.isEmpty())
        body << transfer;
    writeZone(zone, body);
}

void Exporter::writeHintZone()
{
    const QString cache =
        m_boot.cacheFile.trimmed().isEmpty() ? QStringLiteral("cache.dns") : m_boot.cacheFile.trimmed();
    const QString line = QStringLiteral("cache . ") + cache;
    if (!m_whole) {
        m_result.notes
            << QStringLiteral("\"%1\": the root hints are left to the name server's own configuration.").arg(line);
        return;
    }
    const ZoneFile file = zoneFile(cache, apartFromData());
    if (file.outside) {
        leaveOut(line,
                 QStringLiteral("the root cache file %1").arg(outsideFolderText(file.path, m_request.dataDirectory)));
        return;
    }
    if (!file.exists) {
        leaveOut(line, QStringLiteral("the root cache file %1 does not exist").arg(file.path));
        return;
    }
    m_zones.insert(QStringLiteral("."));
    writeZone(QStringLiteral("."), {QStringLiteral("type hint"), QStringLiteral("file ") + confString(file.name)});
}

void Exporter::writeZones()
{
    writeHintZone();
    for (const QString& entry : sortedWithoutCase(m_boot.primaryEntries)) {
        const std::optional<PrimaryZoneEntry> primary = PrimaryZoneEntry::parse(entry);
        if (primary)
            writePrimary(primary->zone, primary->file, QStringLiteral("primary     ") + entry);
    }
    for (const QString& line : m_boot.reversePrimaryLines) {
        const QStringList fields = fieldsOf(line);
        writePrimary(fields.value(1), textFromField(blanksForTabs(line), 2).trimmed(), line);
    }
    for (const QString& entry : sortedWithoutCase(m_boot.secondaryEntries)) {
        if (const std::optional<SecondaryZoneEntry> secondary = SecondaryZoneEntry::parse(entry))
            writeSecondary(secondary->zone, fieldsOf(secondary->masters), secondary->file,
                           QStringLiteral("secondary     ") + entry);
    }
    for (const QString& line : m_boot.secondaryReverseLines) {
        const QStringList fields = fieldsOf(line.section(QLatin1Char(';'), 0, 0));
        if (fields.size() < 4) {
            leaveOut(line, QStringLiteral("it names no master address and file"));
            continue;
        }
        writeSecondary(fields.at(1), fields.mid(2, fields.size() - 3), fields.last(), line);
    }
    if (!m_request.catalogZone.isEmpty() && claimZone(m_request.catalogZone, m_request.catalogZone)) {
        const QString file = m_whole && !apartFromData()
                                 ? m_request.catalogFile
                                 : QDir::cleanPath(QDir(m_request.dataDirectory).filePath(m_request.catalogFile));
        writeZone(m_request.catalogZone, {QStringLiteral("type primary"), QStringLiteral("file ") + confString(file)});
    }
}

NamedConfExport Exporter::run()
{
    readOptionLines();
    m_text.reserve(1024 + 120 * (m_boot.primaryEntries.size() + m_boot.secondaryEntries.size()));
    m_text += QStringLiteral("// BIND 9 configuration made by Quorvane 2.0 from %1\n").arg(m_request.bootFile);
    if (m_whole) {
        m_text += QLatin1Char('\n');
        writeOptions();
        writeControls();
        writeServers();
    } else {
        m_text += QStringLiteral("// Only the zones: include this file from the name server's own configuration.\n\n");
        const ParsedOptions& o = m_options;
        for (const QString& line : {o.forwardersLine, o.forwardOnlyLine, o.noRecursionLine, o.queryLogLine,
                                    o.transfersInLine, o.transfersPerNsLine}) {
            if (!line.isEmpty())
                leaveOut(line, QStringLiteral("a server option, which only the name server's own configuration sets"));
        }
        if (!o.bogusns.isEmpty())
            leaveOut(QStringLiteral("bogusns ") + o.bogusns.join(QLatin1Char(' ')),
                     QStringLiteral("a server statement, which only the name server's own configuration sets"));
    }
    writeZones();
    for (const QString& line : m_boot.otherLines)
        leaveOut(line, QStringLiteral("not a statement BIND 9 knows"));
    m_result.text = m_text;
    return m_result;
}

} // namespace

NamedConfExport exportNamedConf(const BootConfig& boot, const NamedConfRequest& request)
{
    Exporter exporter(boot, request);
    return exporter.run();
}
