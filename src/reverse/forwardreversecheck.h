#pragma once

#include "checks/ipaddress.h"

#include <QList>
#include <QString>
#include <QStringList>

struct AppState;
class Prompter;
class SettingsStore;

// What the "Forward and Reverse" check works with. Without a settings store the server's chosen reverse prefixes
// are not known (a generated zone is then taken to be a /24 or /64 one), which only matters where a pointer is
// added.
struct ConsistencyContext
{
    AppState& state;
    SettingsStore* store;
    Prompter& prompter;
};

enum class ConsistencyKind
{
    MissingPointer, // a host's address is mapped back to no name
    StrayPointer,   // a pointer names a name of the server's zones that has no address at all
    WrongPointer,   // a pointer names another name than the host of its address, or a name of other addresses
    SharedAddress,  // several hosts hold the address and the reverse mapping has not settled which one it names
};

// Where a pointer stands, or where a missing one belongs.
struct ReverseZonePlace
{
    enum class Kind
    {
        None,      // no reverse zone of the server holds the address yet: a generated one is made for it
        Generated, // a zone of the boot file's reverse entries, written by reverse generation
        Primary,   // a reverse zone of the server's primary list, kept by hand
    };

    Kind kind = Kind::None;
    QString zone;
    QString file;
};

// One thing the check found, with what its fix does.
struct ConsistencyFinding
{
    ConsistencyKind kind = ConsistencyKind::MissingPointer;
    IpAddress address;
    QString host;      // the host the address maps back to once fixed; empty when a stray pointer just goes
    QString target;    // the name the pointer names (a missing pointer: none; a shared address: the one it names)
    QString owner;     // the pointer's own name (its reverse name)
    QStringList names; // a shared address: the hosts that hold it, in the order of the zones
    int choice = 0;    // a shared address: the host chosen for the fix
    ReverseZonePlace place;

    QString kindText() const;
    QString text() const;
    QString fixText() const;
};

struct ConsistencyReport
{
    QList<ConsistencyFinding> findings;
    QStringList problems; // zone files that could not be read, each with the reason
    int hostCount = 0;    // address records of the forward zones
    int pointerCount = 0; // pointers of the reverse zones
};

// Checks every forward zone of the server against every reverse zone it serves: hosts whose address no pointer
// maps back, pointers without a host or to a name of other addresses, and addresses several hosts hold that the
// ignore list has not settled. Addresses of reverse zones served elsewhere (secondary reverse zones) and pointers
// to names outside the server's zones are left out: nothing here tells whether they are right. Names on the
// ignore list are expected to have no pointer. Nothing is changed and no zone of the program state is loaded.
ConsistencyReport checkForwardReverse(ConsistencyContext& context);

// The pointers of the address in the server's reverse zones that name the host (names compared without regard to
// case), as findings whose fix deletes them. Only the reverse zones that hold the address are read.
QList<ConsistencyFinding> pointersNaming(ConsistencyContext& context, const QString& name, const IpAddress& address);

struct ConsistencyFixResult
{
    bool ok = true;
    QString errorText;
    QStringList filesWritten;
};

// The history's description of fixing the findings.
QString consistencyFixDescription(const QList<ConsistencyFinding>& findings);

// Applies the fixes of the findings as one change of the server: one revision of its history, named by
// consistencyFixDescription, and each zone written once (its serial raised once). Pointers are added to and
// taken out of the zone that holds them (a reverse zone the boot file does not list yet is made and listed),
// and the names a shared address's choice turns down go onto the ignore list.
ConsistencyFixResult fixFindings(ConsistencyContext& context, const QList<ConsistencyFinding>& findings);
