#pragma once

#include <QString>
#include <QStringList>

struct AppState;
class HostNameChooser;
class Prompter;
class SettingsStore;
class Stage;

// What a reverse mapping run works with.
struct ReverseContext
{
    AppState& state;
    SettingsStore& store;
    Prompter& prompter;
    Stage& stage;
    HostNameChooser& chooser;
};

struct ReverseResult
{
    bool ok = true;
    QString errorText;        // why the run stopped
    QStringList filesWritten; // in the order they were written
    QStringList skippedHosts; // host names whose addresses cannot be read, each with its address
};

// The text of the one message that lists the hosts a run skipped.
QString skippedHostsMessage(const QStringList& skippedHosts);

// Regenerates every primary reverse zone of the loaded server from the host addresses (IPv4 and IPv6) of all its
// primary zones: one file per reverse zone of ReverseLayout that holds hosts (the server's chosen prefixes, else
// /24 networks and IPv6 /64s), the loopback file always, the reverse primary entries of the boot file replaced,
// and the boot file saved and read again. Names that share an address are settled by the chooser, and the names
// it turns down go onto the ignore list.
ReverseResult generateReverseMapping(ReverseContext& context);
