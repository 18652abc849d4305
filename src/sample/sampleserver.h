#pragma once

#include "session/servercontext.h"

#include <QString>

class Stage;

// The sample server: a small server the program makes with its own operations in the per-user data folder, so
// that a first look shows real data. Its boot file lies in a folder "sample" there; it serves three primary
// zones with name servers, mail servers, hosts, aliases and a responsible person with a text record, one
// secondary zone, and the reverse zones generated from the hosts.
QString sampleServerName();
QString sampleServerFolder(const Platform& platform);

struct SampleServerResult
{
    bool ok = false;
    bool created = false; // false when the sample server was there already and has only been loaded
    QString errorText;
};

// Loads the sample server, making it first when the catalog has none or its boot file is gone. What the making
// runs into is collected and given back as the error text instead of being asked; the loading reports as usual.
SampleServerResult openSampleServer(ServerContext& context, Stage& stage);
