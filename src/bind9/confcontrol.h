#pragma once

#include "bind9/controlresult.h"

#include <QStringList>

struct AppState;

// The control of a BIND 9 server that its named.conf describes: the name server is the system's (started and
// stopped by the service manager); the program asks it to reload, through the control channel its own
// configuration sets up.

// Before a reload: every include file of the program's zones is included, and the configuration as it stands
// passes named-checkconf -z. The reason when not; the running name server is then left as it is.
ControlResult checkConfServer(const AppState& state);
// Whether the distribution's name server (user bind, under its AppArmor profile) can read the server's data
// folder, and write it where secondaries are kept; the problems and their fixes when not.
ControlResult checkNameServerAccess(const AppState& state);

// Runs rndc with the arguments against the control channel of the configuration (its controls statement and
// key; the default channel 127.0.0.1 port 953 with the key file of the settings when it has no controls). The key
// is handed to rndc in a file of its own that only this user may read, and never shown.
ControlResult confRndc(const AppState& state, const QStringList& arguments);
