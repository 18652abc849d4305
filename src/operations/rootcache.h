#pragma once

#include <QString>
#include <functional>

class Prompter;

// Where the root hints are fetched from, and who asks for them.
struct RootCacheSource
{
    QString host;
    int port = 21;
    // The administrator's address exactly as entered: the anonymous log-on's password.
    QString password;
};

// The download file in the program's own folder.
QString rootCacheDownload(const QString& programFolder);

enum class RootCacheFetch
{
    Fetched,
    Failed,    // the box "Error loading Winsock ..." was shown; the previous download stays
    TooLarge,  // the file was larger than root hints can be: refused with a message, nothing to install
    Cancelled, // the user stopped it: no box; the previous download stays
};

// The FTP exchange of "Get Latest Cache File": "/domain/named.root" by anonymous FTP in ASCII mode into
// "cache.tmp" in the program's folder, streamed to disk and held to a few megabytes, each step and event told
// through addLine (clearLines empties the list first). On any failure the previous "cache.tmp" stays as it was.
// cancelRequested is asked while the exchange waits: once it answers true the exchange stops without a box.
RootCacheFetch fetchRootCache(const RootCacheSource& source, const QString& programFolder,
                              const std::function<void(const QString&)>& addLine,
                              const std::function<void()>& clearLines, Prompter& prompter,
                              const std::function<bool()>& cancelRequested = {});

// What the cache timer found and did.
struct RootCacheInstall
{
    bool read = false; // "cache.tmp" could be read; text holds it
    QString text;
    bool installed = false; // "cache.dns" was written into the data directory
    QString errorText;      // why reading or writing failed
};

// The cache timer's work: reads "cache.tmp" from the program's folder (refused when larger than root hints can
// be) and, when the data directory exists, writes its lines as "cache.dns" there (CR LF line ends), replacing
// what was there. The caller holds the server's lock.
RootCacheInstall installRootCache(const QString& programFolder, const QString& dataDirectory);
