#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class Platform;
class SettingsStore;

// How Quorvane serves a loaded server with BIND 9: the settings section "BIND 9".
struct Bind9Settings
{
    static QString sectionName() { return QStringLiteral("BIND 9"); }

    enum class Mode
    {
        Own,    // a name server of the server's own, started and stopped by the control program
        System, // a distribution's name server: only its zones are written, and rndc asks it to reload
    };

    Mode mode = Mode::Own;
    QString address = allAddresses(); // the listen address; "all" listens on every address
    int port = 53;
    int controlPort = 953; // where rndc reaches the name server, always on 127.0.0.1
    QString extraOptions;  // added verbatim inside options { }
    QString namedProgram = QStringLiteral("named");
    QString rndcProgram = QStringLiteral("rndc");
    QString zonesFile = QStringLiteral("/etc/bind/named.conf.quorvane");
    QString rndcKey = QStringLiteral("/etc/bind/rndc.key");
    QString systemConfig = QStringLiteral("/etc/bind/named.conf");
    QString catalogZone; // the catalog zone served beside the zones; empty: none
    // Values of the stored section that are no value of their setting ("Port" = "abc"), as "NAME \"TEXT\"": the
    // setting keeps its default here, and nothing is served until they are corrected. Saving the settings keeps
    // such a value in the store as it was written, so that no default takes its place unseen.
    QStringList refusedValues;

    // The names of the values the loaded server sets itself (its own section), which the defaults do not take.
    QSet<QString> ownValues;

    static QString allAddresses() { return QStringLiteral("all"); }
    bool listensOnAll() const;
    // Whether the stored value of the setting (its name in the section) was refused.
    bool isRefused(const QString& name) const;
    // The setting was given a value of its own (on the Setup page): its refused stored value is done with.
    void acceptValue(const QString& name);
    // The address a query or rndc reaches the name server on: the listen address, or the loopback address
    // when it listens on all of them.
    QString queryAddress() const;
    // The folders besides the user's own where a server's data directory may lie: for the distribution's name
    // server, the folders its configuration and security profile give it (/etc/bind, /var/lib/bind,
    // /var/cache/bind); none for a name server of the server's own.
    QStringList permittedDataFolders() const;

    static QString modeName(Mode mode);
    static Mode modeFromName(const QString& name);

    // The defaults: the section "BIND 9".
    static Bind9Settings load(const SettingsStore& store);
    // The settings of one server: the values of its own section ("BIND 9 of NAME") over the defaults.
    static Bind9Settings load(const SettingsStore& store, const QString& serverName);
    // Writes the defaults, but for the values the loaded server sets itself.
    void save(SettingsStore& store) const;

    static QString serverSectionName(const QString& serverName);
    // The names of the values, as the settings file and `quorvane-cli server settings` spell them.
    static const QStringList& valueNames();
    // The value of that name as text; empty for an unknown name.
    QString value(const QString& name) const;
    // Sets the value of that name in the server's own section; false with the reason for an unknown name or a
    // value that is not one (a port that is no number from 1 to 65535, a mode other than own or system).
    static bool setServerValue(SettingsStore& store, const QString& serverName, const QString& name,
                               const QString& value, QString* errorText);

    bool operator==(const Bind9Settings&) const = default;
};

// The control program's file name when no "ndc" is on the search path.
QString ownControlProgramName();

// The control program a new settings store starts with: "ndc" when one is on the search path, as before;
// otherwise Quorvane's own control program for BIND 9.
QString defaultControlProgram();

// True when the control program setting names Quorvane's own control program.
bool isOwnControlProgram(const QString& program);

// The program to run for the control program setting. Quorvane's own control program is looked for beside the
// running program first, then on the search path, then in the build tree; any other name is left to the search
// path.
QString controlProgramPath(const QString& program, const Platform& platform);

// A BIND 9 tool (named, rndc, named-checkconf, ...): the setting as it stands when it names a folder, otherwise
// found on the search path or in the system program folders, which an ordinary user's search path often lacks.
// The name itself when it is found nowhere, so that the failure to start names it.
QString bind9ToolPath(const QString& program);
