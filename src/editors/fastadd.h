#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <QStringList>
#include <functional>

struct AppState;
class Prompter;

// "Add" of fast add: the name joins the waiting list as typed when it passes the checks of a new primary zone
// (a name already waiting counts as an existing zone).
bool addFastAddName(const AppState& state, QStringList& addthem, const QString& name, Prompter& prompter);

// Where "GO" reaches the window: the progress text and the new zone's tree node. Both optional.
struct FastAddHooks
{
    std::function<void(const QString&)> showStep;
    std::function<void(const QString&)> addTreeNode;
};

// "GO": creates every waiting zone in order with its start-of-authority-only file, registers it and saves the
// boot file, then says how many were added. Stops at the first zone that could not be created; the zones made
// before it stay. Returns the number of zones created; -1 when the list was empty (reported).
int runFastAdd(ZoneContext& context, const QStringList& addthem, const FastAddHooks& hooks = FastAddHooks());
