#pragma once

#include <QString>

struct AppState;

// Whether a name server answers on an address and port: one query for the SOA record of the zone over UDP
// (asked again once), and any reply counts, a refusal too. False when nothing replied within the time.
bool nameServerAnswers(const QString& address, int port, const QString& zone, int timeoutMs = 1500);

// The name server of the loaded server as the settings reach it, asked about its first primary zone.
struct NameServerStatus
{
    bool answering = false;
    QString address;
    int port = 0;
    QString zone;
};

NameServerStatus loadedNameServerStatus(const AppState& state);

// The "Server Info" page's line about it.
QString nameServerStatusText(const NameServerStatus& status);

// With Quorvane's own control program, the refusals of the server buttons follow what the name server does, not
// the last button pressed: the run state becomes "START" when it answers and "STOP" when it does not. Other
// control programs keep the run state of the buttons.
void observeRunState(AppState& state);
