#pragma once

#include "bind9/bind9folder.h"
#include "bind9/controlresult.h"
#include "session/bind9settings.h"

#include <QStringList>
#include <optional>

// The user a name server started by root runs as, when the system has it; empty otherwise.
QString namedUser();

// Gives a folder to the user the name server runs as, so that it can write its files there.
bool handOverFolder(const QString& path, const QString& user);

// Lets the group of that user write into a folder that stays its owner's: the name server refuses a working
// directory it cannot write, and it writes the secondary zones' copies there.
bool shareFolderWith(const QString& path, const QString& user);

// Runs rndc with the arguments; on failure the message is rndc's own last line.
ControlResult runRndc(const QString& program, const QStringList& arguments);

// Waits, letting events run, until the test holds or the time is up; true when it held.
bool waitUntil(const std::function<bool()>& test, int timeoutMs);

// A name server of the server's own: named started from the server folder's configuration and reached by rndc
// through the folder's key on the loopback address.
class OwnNameServer
{
public:
    OwnNameServer(Bind9Folder folder, Bind9Settings settings);

    // The process of the running name server, from its process file; none when it does not run.
    std::optional<qint64> runningProcess() const;

    // Makes the control key and rndc's configuration at the first start.
    ControlResult ensureKey() const;

    // Starts named with the installed configuration and waits until it answers. Run by root, named gives up root
    // for the user of namedUser(), who is given the server folder and a share of the data directory. A primary zone
    // among `primaryZones` that did not load is reported as a failure; the name server then keeps running.
    ControlResult start(const QStringList& primaryZones, const QString& dataDirectory) const;

    // "rndc stop", then waits until the process is gone.
    ControlResult stop() const;

    ControlResult rndc(const QStringList& arguments) const;

private:
    ControlResult waitForStart(qint64 pid, const QStringList& primaryZones) const;

    Bind9Folder m_folder;
    Bind9Settings m_settings;
};
