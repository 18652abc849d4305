#pragma once

#include "bind9/namedconfexport.h"

#include <QString>

// The files a name server of the server's own keeps in the server's folder (the folder of its boot file), in a
// folder "bind9" of their own: the exported configuration, the control key, the process number and the log.
class Bind9Folder
{
public:
    explicit Bind9Folder(const QString& bootDirectory);

    static QString keyName() { return QStringLiteral("quorvane"); }

    QString path() const { return m_path; }
    QString configFile() const { return file(QStringLiteral("named.conf")); }
    // The configuration being checked before it replaces the one in use.
    QString candidateFile() const { return file(QStringLiteral("named.conf.new")); }
    QString keyFile() const { return file(QStringLiteral("rndc.key")); }
    QString rndcConfigFile() const { return file(QStringLiteral("rndc.conf")); }
    QString pidFile() const { return file(QStringLiteral("named.pid")); }
    QString logFile() const { return file(QStringLiteral("named.log")); }

    // The places of the whole configuration; the dump and statistics files are where the operations page reads
    // them.
    NamedConfPlaces places(const QString& dumpFile, const QString& statisticsFile) const;
    // The control channel with the folder's key; none until the key was made at the first start.
    std::optional<NamedConfControls> controls(int port) const;

private:
    QString file(const QString& name) const;

    QString m_path;
};
