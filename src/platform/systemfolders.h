#pragma once

#include <QString>

// Whether the folder is one of the operating system's own: the root folder, a top-level system folder (/etc,
// /usr, /var itself, ...), anything inside the kernel's virtual folders (/proc, /sys, /dev), or the root of a
// home folder. A boot file is only a text file; its directory line must not make the program create, copy or
// delete files in such a place. Ordinary data folders below them (/var/named, /srv/dns, /etc/bind) are not
// system folders. Links are followed, so a link to /etc is /etc.
bool isSystemFolder(const QString& folder);

// The refusal of a data directory that is a system folder.
QString systemFolderRefusal(const QString& folder);
