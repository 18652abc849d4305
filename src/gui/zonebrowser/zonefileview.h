#pragma once

class Prompter;
class QString;
class QWidget;
struct ServerZoneLists;

// "View Zone File": the primary zone's file exactly as it is on disk, in a read-only viewer over the window.
// Without such a zone, or when the file cannot be read, the user is told instead.
void showZoneFile(const ServerZoneLists& lists, const QString& zone, Prompter& prompter, QWidget* parent);
