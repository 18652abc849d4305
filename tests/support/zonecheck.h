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

    // The name server loads the zone; it may still have warned (a mail server without an address, say).
    bool accepted() const { return ran && exitCode == 0; }
};

// Runs named-checkzone as strict about names as the name server is ("-k fail"), looking at nothing outside the
// zone ("-i local": names of other zones are not looked up, so a test sends no query off this machine).
ZoneCheck checkZoneFile(const QString& zone, const QString& path);

// Every zone a test leaves behind for a name server to load: each primary zone (forward and reverse) the boot
// file names whose file is in the data directory, found without regard to case as the program finds it. One
// line per zone the checker refuses, naming the zone, the file and the checker's words; empty when the name
// server would load them all. A boot file that cannot be read is a problem too.
QStringList servedZoneProblems(const QString& bootFile, const QString& dataDirectory);

// Fails the running test, with the checker's words, unless the name server would load every zone of the boot
// file.
#define QUORVANE_VERIFY_ZONES_LOAD(bootFile, dataDirectory)                                                            \
    do {                                                                                                               \
        const QStringList zoneProblems_ = servedZoneProblems((bootFile), (dataDirectory));                             \
        QVERIFY2(zoneProblems_.isEmpty(), qPrintable(zoneProblems_.join(QLatin1Char('\n'))));                          \
    } while (false)
