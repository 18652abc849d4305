#pragma once

#include <QString>

struct AppState;

constexpr int kNameServerQueryMs = 1500;

// Whether a name server answers on an address and port (NameServerQuery), waited for with events running.
bool nameServerAnswers(const QString& address, int port, const QString& zone, int timeoutMs = kNameServerQueryMs);

// The name server of the loaded server as the settings reach it, asked about its first primary zone.
struct NameServerStatus
{
    bool answering = false;
    QString address;
    int port = 0;
    QString zone;
};

// Where the loaded server's name server is asked, not yet asked.
NameServerStatus nameServerTarget(const AppState& state);
NameServerStatus loadedNameServerStatus(const AppState& state);

// The "Server Info" page's line about it.
QString nameServerStatusText(const NameServerStatus& status);

// With Quorvane's own control program, the refusals of the server buttons follow what the name server does, not
// the last button pressed: the run state becomes started when it answers and stopped when it does not. Other
// control programs keep the run state of the buttons.
void observeRunState(AppState& state);
