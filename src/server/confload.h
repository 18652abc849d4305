#pragma once

#include "server/bootload.h"

#include <QMap>
#include <QString>
#include <QStringList>

struct AppState;
struct ConfServer;
class ConfFileSet;

// The options BIND 9.18 no longer takes, which configurations of earlier releases still carry.
const QStringList& obsoleteConfOptions();

// The program's include file of a server's zones when its settings name none: "quorvane-zones.conf" beside the
// named.conf.
QString defaultZonesFile(const QString& confFile);

// Reads the server whose named.conf `pendingBootFilePath` names, as reading a boot file reads a boot-file server:
// the configuration as BIND reads it (named-checkconf -p) and the administrator's files, into the zone lists (with
// their views), the grids and the data directory (the options' directory). A configuration BIND refuses is told
// with BIND's own message; its zones are still listed from the files, but nothing of the configuration is written
// until it passes. Known obsolete options are offered for removal, one question each; the program's include file,
// when it holds zones the configuration does not include, is offered to be included. Both go through the checked
// write. With inspectOnly nothing is asked and nothing written, and no lock taken.
BootReadResult readConfServer(BootContext& context, bool inspectOnly);

// Reads the loaded named.conf server's configuration again after a change was written, without a question.
bool rereadConfServer(AppState& state, QString* errorText);

// The line that includes the program's include file, as the administrator's top file gets it.
QString zonesIncludeLine(const QString& zonesFile);

// The include line of the program's zones file for a view (none: outside views), as the last line of that view's
// block or else of the top file: the file it goes into, that file's text with it (over its text in `pending`, when
// that holds a change not yet written) and the number of the new line.
struct ZonesIncludeAddition
{
    QString target;
    QString text;
    int line = 0;
};
ZonesIncludeAddition zonesIncludeAddition(const ConfServer& conf, const QString& view,
                                          const QMap<QString, QString>& pending = {});
