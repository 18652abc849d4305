#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <QStringList>
#include <optional>

struct AppState;
struct SetupDefaults;

// The refresh, retry, expire and minimum defaults of the Setup page, each replaced there by its fallback
// ("1080", "3600", "604800", "86400") when the name server cannot read it as a time.
void applyReverseSoaDefaults(SetupDefaults& setup);

// The six start of authority lines of every reverse file: the SOA line with the server's own name and the
// mailbox, the running serial, refresh, retry, expire and minimum with the closing parenthesis.
QStringList reverseSoaLines(const AppState& state);

// The serial a reverse file holds (the first number after its SOA line's mailbox); none when it has none.
std::optional<quint64> reverseFileSerial(const QStringList& lines);

// The serial to write over a file that held `previous`: the running serial, unless it is lower, in which case
// the previous one plus one, so that secondary servers take the new file.
QString reverseSerialOver(const QString& runningSerial, std::optional<quint64> previous);

// What one reverse file holds beside its start of authority.
struct ReverseFileContent
{
    QString fileName; // in the data directory
    QString handles;  // the zone name, or "Local" for the loopback file
    QStringList soa;  // the six start of authority lines
    QStringList nameServers;
    QStringList addresses;
};

// The whole file, line by line.
QStringList reverseFileLines(const QString& serverName, const ReverseFileContent& content);

// Writes the file into the data directory; its serial never falls below the one of the file it replaces, and a
// file whose records changed gets a serial above it.
FileWriteResult writeReverseFile(const AppState& state, ReverseFileContent content);
