#include "gui/mainwindow/commandlock.h"

#include <QAction>
#include <QWidget>

namespace {

// The controls that reach the loaded server or replace it: the server buttons and the selection box, "Update
// Changes", the page's "Get Latest Cache File" and "Update", and their menu items.
const char* const kWidgets[] = {"serverbox",     "deleteserver",  "stopserver",   "startserver",
                                "reloaddb",      "restartserver", "viewdb",       "viewstats",
                                "updatechanges", "getcache",      "updateoptions"};
const char* const kActions[] = {"deleteservermenu",  "stopservermenu", "startservermenu", "reloaddbmenu",
                                "restartservermenu", "viewdbmenu",     "viewstatsmenu",   "getcachemenu",
                                "backupserver",      "restoreserver"};

} // namespace

CommandLock::CommandLock(QWidget& window)
{
    for (const char* name : kWidgets) {
        if (QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(name))) {
            m_widgets.append({widget, widget->isEnabled()});
            widget->setEnabled(false);
        }
    }
    for (const char* name : kActions) {
        if (QAction* action = window.findChild<QAction*>(QString::fromLatin1(name))) {
            m_actions.append({action, action->isEnabled()});
            action->setEnabled(false);
        }
    }
}

CommandLock::~CommandLock()
{
    for (const auto& [widget, enabled] : std::as_const(m_widgets)) {
        if (widget)
            widget->setEnabled(enabled);
    }
    for (const auto& [action, enabled] : std::as_const(m_actions)) {
        if (action)
            action->setEnabled(enabled);
    }
}
