#pragma once

#include "session/bootcontext.h"

#include <QString>

#include <functional>

class Platform;
class Progress;

// Where loading and unloading a server reach the windows: the zone trees and the status bar. Each is optional;
// the command line leaves them empty.
struct ServerHooks
{
    std::function<void()> buildPrimaryTree;
    std::function<void()> buildSecondaryTree;
    std::function<void()> clearZoneTrees;
    std::function<void(const QString&)> showStatus;
};

// What the server operations work with.
struct ServerContext
{
    AppState& state;
    SettingsStore& store;
    Prompter& prompter;
    Platform& platform;
    Progress& progress;
    ServerHooks hooks;

    BootContext bootContext() const { return {state, store, prompter}; }
};
