#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <functional>

struct AppState;
class Prompter;
class QWidget;

// What the record editors need of the program around them: the state, the prompter, the context a zone save
// runs with, the main window they are modal to, and the zone tree they update after a change.
struct EditorHooks
{
    AppState& state;
    Prompter& prompter;
    std::function<ZoneContext()> zoneContext;
    QWidget* mainWindow = nullptr;
    // The node at the last click: the group a record is added to (adding) or the record's own node.
    std::function<void(const QString& text, bool adding)> updateClickedNode;
    std::function<void()> removeClickedNode;
};
