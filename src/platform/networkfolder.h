#pragma once

#include <QString>

#include <functional>
#include <optional>

// What the kernel says about the file system a folder lies on.
struct FileSystemInfo
{
    quint64 type = 0;   // the file system's magic number, as statfs gives it
    QString mountPoint; // the folder that file system is mounted on
};

enum class FolderLocation
{
    Local,
    Network
};

// Asks about the file system of a folder; the tests put a table of their own in place of the kernel.
using FileSystemProbe = std::function<std::optional<FileSystemInfo>(const QString& folder)>;

// The kernel's answer for the folder, or for its nearest existing parent when the folder is not there yet; none
// when not even the root folder can be asked.
std::optional<FileSystemInfo> fileSystemOf(const QString& folder);

// NFS and the SMB family (SMB, CIFS, SMB2/3): the file systems that put another computer's disk under a folder.
bool isNetworkFileSystemType(quint64 type);

// Whether a folder lies on another computer's disk; a folder the probe cannot answer for counts as local.
FolderLocation folderLocation(const QString& folder, const FileSystemProbe& probe = fileSystemOf);
