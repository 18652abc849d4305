#pragma once

#include "session/bind9settings.h"

#include <QString>
#include <QStringList>
#include <optional>

struct BootConfig;

// A whole configuration for a name server of the server's own, or only the zone statements, meant to be
// included by a distribution's configuration.
enum class NamedConfForm
{
    Whole,
    ZonesOnly
};

// Where a name server of the server's own keeps its own files.
struct NamedConfPlaces
{
    QString pidFile;
    QString sessionKeyFile;
    QString managedKeysDirectory;
    QString dumpFile;
    QString statisticsFile;
};

// How rndc reaches a name server of the server's own: its key and the port on the loopback address.
struct NamedConfControls
{
    QString keyFile;
    QString keyName;
    int port = 953;
};

struct NamedConfRequest
{
    NamedConfForm form = NamedConfForm::Whole;
    QString bootFile;      // named in the heading comment
    QString dataDirectory; // the data directory as this machine reaches it
    // The whole form's working directory when it is not the data directory (a name server that may not write the
    // data directory works in the folder of the secondary zones' copies): the other files are then named by their
    // full paths.
    QString workingDirectory;
    Bind9Settings settings;
    // The rest counts for the whole form only.
    NamedConfPlaces places;
    std::optional<NamedConfControls> controls; // none: no control channel at all
    // A catalog zone served beside the zones; empty: none.
    QString catalogZone;
    QString catalogFile;
};

struct NamedConfExport
{
    QString text;
    // Boot file lines BIND 9 would not take, each with the reason ("LINE: REASON."); they are not in the text.
    QStringList leftOut;
    // What was carried over in another way than its line says.
    QStringList notes;
    // The primary zones in the text and their files as the text names them (relative to the data directory in the
    // whole form), in the text's order.
    QStringList primaryZones;
    QStringList primaryFiles;

    bool complete() const { return leftOut.isEmpty(); }
};

// The BIND 9 configuration of a loaded server's boot data. The files are named as they are on disk in the data
// directory (the boot file may name them in another case); a primary zone whose file is missing is left out,
// since BIND 9 would refuse to load it.
NamedConfExport exportNamedConf(const BootConfig& boot, const NamedConfRequest& request);
