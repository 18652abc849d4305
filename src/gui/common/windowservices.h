#pragma once

#include "session/servercontext.h"

#include <QString>

class Progress;
class QWidget;

// What the main window lends the controllers of the features. They reach the window only through this, never
// through its pages' widgets, so that a page can change without its neighbours knowing.
class WindowServices
{
public:
    virtual ~WindowServices() = default;

    // The window itself: the owner of the dialogs a controller opens, and what CommandLock holds still.
    virtual QWidget& window() = 0;

    // A short text in the status bar, emptied ten seconds later.
    virtual void showStatus(const QString& text) = 0;
    // Empties the status bar ten seconds from now.
    virtual void clearStatusLater() = 0;

    // The operations of the servers with this window's prompter, progress window, trees and status bar.
    virtual ServerContext serverContext() = 0;
    // The progress window of the long operations.
    virtual Progress& progress() = 0;

    // Shows what the last boot file reading left: labels, grids, lists and the commands a loaded server enables.
    virtual void showLoadedServer() = 0;
    // Loads the server of that name, as picking it in the selection box does.
    virtual void selectServer(const QString& name) = 0;
    // The name the server selection box holds.
    virtual QString selectedServerName() const = 0;
    // Shows whether the loaded server's name server answers ("Name Server:" on "Server Info").
    virtual void showNameServerStatus(const QString& text) = 0;
    // The settings changed under the "Setup" page: it shows them anew.
    virtual void showSettings() = 0;
};
