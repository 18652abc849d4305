#pragma once

#include "bind9/bind9folder.h"
#include "bind9/controlresult.h"
#include "session/bind9settings.h"

#include <QStringList>
#include <optional>

// The user a name server started by root runs as, when the system has it; empty otherwise.
QString namedUser();

// Makes a folder one the name server's user may write its own files into while everything this program puts there
// stays out of its reach: the folder stays root's, the user's group may write, and the sticky bit keeps it from
// renaming or removing files that are not its own (the configuration, the key, the log). False when that fails;
// a link in the folder's place is not followed.
bool shareRunFolder(const QString& path, const QString& user);

// Takes back the group write access to the data directory that earlier versions gave the name server's user: it
// writes only into the folders named for it.
void withdrawDataDirectory(const QString& dataDirectory, const QString& user);

// The folder inside the data directory into which a name server started by root writes the secondary zones'
// copies: the one folder of the data directory its user may write. Each copy is reached from the data directory
// through a link of the same name, so that the boot file's names stay true.
QString secondariesFolder(const QString& dataDirectory);
// Makes that folder and the links to the copies, moving a copy an earlier version kept in the data directory
// itself; why not, when it fails.
QString prepareSecondaries(const QString& dataDirectory, const QStringList& secondaryFiles, const QString& user);

// The process number a process file holds; none when there is no such file or it holds no process number. A file
// that is no regular file of a few bytes (a link, a pipe, a device: what another user may have put in its place)
// is not read, and `problem` says so.
std::optional<qint64> processFileNumber(const QString& path, QString* problem = nullptr);

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

    // The process of the running name server, from its process file; none when it does not run. A process file
    // that could not be read as one is named in `problem`.
    std::optional<qint64> runningProcess(QString* problem = nullptr) const;

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
    ControlResult makeKey(const QString& user) const;

    Bind9Folder m_folder;
    Bind9Settings m_settings;
};
