#pragma once

#include "namedconf/conffiles.h"
#include "namedconf/namedconfig.h"

#include <QString>
#include <utility>

// What the program holds of a loaded server that a named.conf describes: the configuration as BIND reads it, the
// administrator's files it comes from, and the program's own include files, which hold the zones the program
// adds. Empty for a server driven by a boot file.
struct ConfServer
{
    QString confFile;   // the named.conf; empty for a boot-file server
    NamedConfig config; // as BIND reads it; as the files say when BIND refuses the configuration
    ConfFileSet files;
    QString zonesFile; // the program's include file for zones outside views
    QString refusal;   // BIND's message about the configuration when named-checkconf refuses it; empty when it passes

    bool isLoaded() const { return !confFile.isEmpty(); }
    // The program's include file for the zones of a view: "NAME-VIEW.conf" beside the one for zones outside views.
    QString zonesFileOf(const QString& view) const;
    // The options the page shows, one a line: the option as BIND reads it, and the file and line that set it.
    QStringList optionLines() const;
    // Where the name server answers queries, as its first listen-on says: the port it names (53 when none) and its
    // first address, or 127.0.0.1 where it listens on every address ("any", an ACL or no listen-on at all).
    std::pair<QString, int> queryTarget() const;
    // Whether the program keeps the zone (it stands in one of the program's include files).
    bool ownsZone(const QString& key) const;
};
