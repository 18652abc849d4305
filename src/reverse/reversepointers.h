#pragma once

#include "checks/ipaddress.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A record of a reverse zone that maps an address back to a name: a PTR, or in a /24 zone the alias (CNAME) of an
// address of a classless zone cut from it.
struct ReverseRecord
{
    QString owner;  // absolute, with its final dot, as written
    QString type;   // "PTR" or "CNAME"
    QString target; // absolute, with its final dot
    std::optional<IpAddress> address;
    int addressLine = -1; // the program's layout: the record's line in the address section
};

// A reverse zone file as the consistency check and its fixes need it.
struct ReverseFileRead
{
    bool ok = false;
    QString errorText;
    // The program's reverse layout: its start of authority lines, what the file handles, and its name server and
    // address sections line by line.
    bool generatedLayout = false;
    QStringList soa;
    QString handles;
    QStringList nameServers;
    QStringList addressLines;
    QList<ReverseRecord> records;
};

// Reads the file of the reverse zone: the program's reverse layout line by line, any other zone file as the
// name server reads it.
ReverseFileRead readReverseFile(const QString& path, const QString& zoneName, const QString& dataDirectory);

// The line of the program's reverse layout that maps the address to the name in the zone of the prefix.
QString reversePointerLine(const IpAddress& address, const IpPrefix& zone, const QString& target);
