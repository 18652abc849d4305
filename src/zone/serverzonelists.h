#pragma once

#include <QString>
#include <QStringList>

// The zones of the current server, filled when its boot file is read and changed by the zone operations.
// Entry i of each name list belongs to entry i of its file list.
struct ServerZoneLists
{
    QString datapath;      // the server's data directory; zone file names are relative to it
    QStringList primdns;   // primary zone names, lower case
    QStringList primfiles; // their zone files, lower case (as the configuration names them for a named.conf)
    QStringList primviews; // the view of each, for a server whose named.conf has views; empty otherwise
    QStringList primdnssort;
    QStringList primviewsort; // the view of each zone of primdnssort, for a named.conf with views
    QStringList primfilesort;
    QStringList secdns;   // secondary zone names, lower case
    QStringList secfiles; // their backup files, lower case (as the configuration names them for a named.conf)
    QStringList secviews; // the view of each, as primviews
    QStringList secdnssort;
    QStringList secviewsort;
    QStringList secfilesort;
    QStringList reverseignore;           // fully qualified host names that get no reverse record
    QString firstzone;                   // the server's own full name with a trailing "."
    bool skipNextDeleteQuestion = false; // one-shot: the next zone deletion asks no question

    // The position of the zone of the name (compared without regard to case) in the view; in any view when no view
    // is given. -1 when there is none.
    int primaryIndex(const QString& zone, const QString& view = QString()) const;
    int secondaryIndex(const QString& zone, const QString& view = QString()) const;
};

// What the user has selected in the zone trees; empty when nothing is.
struct ZoneSelection
{
    QString primfilename;
    QString primdnsname;
    QString primview; // the view of the selected primary zone, for a named.conf with views (and of a new one)
    QString secview;  // the same for the secondary zones
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
