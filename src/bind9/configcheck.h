#pragma once

#include <QString>
#include <QStringList>
#include <functional>

struct AppState;
class Platform;

// What BIND 9's own checkers found: one line per problem in the tools' words, which name the file and the line.
struct CheckReport
{
    bool passed = true;
    QStringList problems;
    int zonesChecked = 0;
};

// Checks a configuration as the name server would take it: "named-checkconf -z" over the file (which loads every
// primary zone), then "named-checkzone -k fail" over each primary zone file, several at a time. Like the name
// server, the zone checker looks at names of other zones only inside the zone ("-i local"): it would otherwise
// ask the system's resolver about every outside mail and name server. Zone files are read from the working
// directory, as the name server reads them. The progress goes from 0 to 100.
CheckReport checkConfiguration(const QString& configFile, const QStringList& zones, const QStringList& zoneFiles,
                               const QString& workingDirectory, const std::function<void(int)>& progress = {});

struct ServerCheckReport
{
    CheckReport check;
    QStringList leftOut; // what the export could not carry over; not an error of the check
};

// "Check Server": the loaded server exported in the form of the settings' mode and checked. Nothing is written
// into the server's folders.
ServerCheckReport checkLoadedServer(const AppState& state, const Platform& platform,
                                    const std::function<void(int)>& progress = {});

// The report as the viewer and the command line show it: the problems, then what was left out.
QStringList serverCheckLines(const ServerCheckReport& report);
