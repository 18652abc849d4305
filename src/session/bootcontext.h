#pragma once

#include <QString>

struct AppState;
class Prompter;
class SettingsStore;

// What the boot file operations work with: the program state, the settings store (for the "MAPPING" letters
// and the drive table) and the prompter for their messages and questions.
struct BootContext
{
    AppState& state;
    SettingsStore& store;
    Prompter& prompter;
};
