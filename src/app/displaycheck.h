#pragma once

// True when the windows have somewhere to appear: a platform named on the command line or in QT_QPA_PLATFORM, a
// Wayland display, or an X display that accepts a connection (a local one is tried; a remote one is left to Qt).
// Asked before the application object is made, since Qt ends the process when it finds no display.
bool displayAvailable(int argc, char* argv[]);
