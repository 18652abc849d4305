#pragma once

#include <QString>
#include <QStringList>

// What the name server's own zone checker says about a zone file.
struct ZoneCheck
{
    bool ran = false;
    int exitCode = -1;
    QStringList output;
    // The lines that are neither the checker's success lines nor its one expected warning: the program's files
    // carry no default time to live, for which the checker uses the start of authority's minimum instead.
    QStringList complaints;
};

// Runs named-checkzone as strict about names as the name server is ("-k fail").
ZoneCheck checkZoneFile(const QString& zone, const QString& path);
