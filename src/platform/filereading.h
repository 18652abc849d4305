#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The most the program reads of one file into memory. A file that names a device, a pipe or a huge file in the
// place of a zone, a boot file or a profile would otherwise block the program or fill its memory.
namespace ReadLimit {
constexpr qint64 kMegabyte = 1024 * 1024;
constexpr qint64 kZoneFile = 128 * kMegabyte; // zone and reverse files: a few million records
constexpr qint64 kBootFile = 32 * kMegabyte;  // boot files of hundreds of thousands of zones
constexpr qint64 kListing = 64 * kMegabyte;   // name server dumps, statistics, zone listings
constexpr qint64 kSmallFile = 4 * kMegabyte;  // profiles, templates, name lists, the root hints
constexpr qint64 kProcessFile = 64;           // a process number file
constexpr qint64 kKeyFile = 4096;             // a control key
} // namespace ReadLimit

struct FileReadResult
{
    enum class Problem
    {
        None,
        Missing,    // there is no such file
        NotRegular, // a folder, a device, a pipe
        TooLarge,   // larger than the limit
        Unreadable, // the system refused to read it
        Link,       // a symbolic link, which was not to be followed
    };

    std::optional<QByteArray> bytes; // none when the file was not read
    QString errorText;               // why not
    Problem problem = Problem::None;

    bool ok() const { return bytes.has_value(); }
};

// Whether a symbolic link in the file's own place is followed. Files in a folder another user may write (the name
// server's) are read without following one: a link planted there would make this program read what it points to.
enum class FinalLinks
{
    Follow,
    Refuse,
};

// The whole content of a regular file of at most `limit` bytes. Anything else (no file, a folder, a device, a
// pipe, a larger file, and a link when links are refused) is refused with the reason, without blocking; the reason
// names the file, never what it holds.
FileReadResult readWholeFile(const QString& path, qint64 limit, FinalLinks links = FinalLinks::Follow);
