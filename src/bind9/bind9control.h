#pragma once

#include "bind9/controlresult.h"
#include "operations/servercontrol.h"
#include "platform/filewriteresult.h"

#include <QString>
#include <optional>

struct AppState;
class OwnNameServer;
class Platform;

// The environment through which the operations page names the loaded server to the control program.
QString bootFileVariable(); // the boot file path as this machine reaches it
QString serverVariable();   // the server's identifier, for its "MAPPING" letter

// The environment entries for a control program run for the loaded server.
QStringList controlEnvironment(const QString& bootFile, const QString& identifier);

// The control commands carried out on BIND 9 for a loaded server, in the mode of its settings: a name server of
// its own, or a distribution's name server that only reloads. Every command that applies a configuration exports
// it and checks it first; a configuration that fails the check is not applied and the running name server stays
// as it was.
class Bind9Control
{
public:
    Bind9Control(const AppState& state, const Platform& platform);

    ControlResult run(NdcCommand command);

private:
    ControlResult runOnConfServer(NdcCommand command);
    // In system mode: the zones file is this server's (or no server's) and the system's configuration includes it.
    ControlResult checkSystemZonesFile() const;
    ControlResult applyConfiguration();
    ControlResult start();
    ControlResult launch(const OwnNameServer& server) const;
    ControlResult stop();
    ControlResult reload();
    ControlResult restart();
    ControlResult view(NdcCommand command);
    ControlResult systemView(NdcCommand command, const QString& pageFile);
    ControlResult rndc(const QStringList& arguments) const;
    // The own name server's process; a process file that could not be read as one is the failure.
    ControlResult ownProcess(std::optional<qint64>* pid) const;
    // The secondary zones' files as the boot file names them.
    QStringList secondaryFiles() const;
    FileWriteResult writeConfiguration(const QString& path, const QString& text) const;
    bool systemMode() const;
    QString configTarget() const;

    const AppState& m_state;
    const Platform& m_platform;
    QStringList m_primaryZones;
};
