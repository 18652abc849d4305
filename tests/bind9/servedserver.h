#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a run of quorvane-cli printed and how it ended.
struct CliRun
{
    int status = -1;
    QString out;
    QString err;
};

// A server made through the command line in a folder of the test, with settings of its own (its own
// XDG_CONFIG_HOME) that serve it with BIND 9 on 127.0.0.1 at a free port, through Quorvane's control program,
// by a name server that never recurses, validates or notifies. A name server still running when the object goes
// is ended.
class ServedServer
{
public:
    // `folder` must be reachable by the user the name server runs as.
    ServedServer(const QString& folder, const QString& name);
    ~ServedServer();
    ServedServer(const ServedServer&) = delete;
    ServedServer& operator=(const ServedServer&) = delete;

    // Writes the settings and makes the server with "server add NAME example.com FOLDER"; false with the reason
    // in lastError().
    bool create(const QString& extraOptions = QString());
    // One value of the server's settings.
    bool setSetting(const QString& section, const QString& name, const QString& value);

    CliRun cli(const QStringList& arguments, const QString& answers = QString()) const;
    // "zone create" with the wizard's options (--host NAME=ADDR, --ns NAME, ...), every name question answered
    // with OK for all; false with the reason in lastError().
    bool createZone(const QString& zone, const QStringList& options);

    QString bootFile() const { return m_folder + QStringLiteral("/named.boot"); }
    QString dataDirectory() const { return m_folder + QStringLiteral("/quorvane/zones"); }
    QString dataFile(const QString& name) const { return dataDirectory() + QLatin1Char('/') + name; }
    QString configHome() const { return m_folder + QStringLiteral("/config"); }
    QString settingsFile() const { return configHome() + QStringLiteral("/Mervale/Quorvane.conf"); }
    quint16 port() const { return m_port; }
    quint16 controlPort() const { return m_controlPort; }
    // The process of its name server, from the process file; 0 when none runs.
    qint64 namedProcess() const;
    QString lastError() const { return m_error; }

    // The settings every served server of the tests starts with.
    static QString safeOptions() { return QStringLiteral("recursion no; dnssec-validation no; notify no;"); }

private:
    QString m_folder;
    QString m_name;
    quint16 m_port = 0;
    quint16 m_controlPort = 0;
    QString m_error;
};

// Whether a process of that number is alive.
bool processAlive(qint64 pid);

// Makes a test folder and the folders above it reachable for the user a name server started by root runs as.
bool openToNameServer(const QString& folder);
