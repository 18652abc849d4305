#pragma once

#include <QString>
#include <QStringList>

// The zones of the current server, filled when its boot file is read and changed by the zone operations.
// Entry i of each name list belongs to entry i of its file list.
struct ServerZoneLists
{
    QString datapath;      // the server's data directory; zone file names are relative to it
    QStringList primdns;   // primary zone names, lower case
    QStringList primfiles; // their zone files, lower case
    QStringList primdnssort;
    QStringList primfilesort;
    QStringList secdns;   // secondary zone names, lower case
    QStringList secfiles; // their backup files, lower case
    QStringList secdnssort;
    QStringList secfilesort;
    QStringList reverseignore;           // fully qualified host names that get no reverse record
    QString firstzone;                   // the server's own full name with a trailing "."
    bool skipNextDeleteQuestion = false; // one-shot: the next zone deletion asks no question
};

// What the user has selected in the zone trees; empty when nothing is.
struct ZoneSelection
{
    QString primfilename;
    QString primdnsname;
    QString secdnsname;
    QString secipaddr;
    QString typeclick;
    QString fileclick;
    QString zoneclick;
    QString fileclicksec;
    QString zoneclicksec;
    int xcoord = 0;
    int ycoord = 0;
    int xcoordsec = 0;
    int ycoordsec = 0;
};
