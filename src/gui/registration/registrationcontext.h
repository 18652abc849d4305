#pragma once

#include <functional>

struct AppState;
class Platform;
class Prompter;
class QPrinter;
class SettingsStore;
class SmtpClient;

// What the three registration forms share: the program state, the settings store for their defaults, the
// prompter, the platform (data folder and clock), the one mail client, and the printer dialog.
struct RegistrationContext
{
    AppState& state;
    SettingsStore& store;
    Prompter& prompter;
    Platform& platform;
    SmtpClient& smtp;
    // Shows the printer dialog for the printer; false when it was cancelled.
    std::function<bool(QPrinter&)> choosePrinter;
};
