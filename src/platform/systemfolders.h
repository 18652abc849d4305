#pragma once

#include <QString>
#include <QStringList>

// Whether the folder is one of the operating system's own: the root folder, a top-level system folder (/etc,
// /usr, /var itself, ...), anything inside the kernel's virtual folders (/proc, /sys, /dev), or the root of a
// home folder. A boot file is only a text file; its directory line must not make the program create, copy or
// delete files in such a place. Ordinary data folders below them (/var/named, /srv/dns, /etc/bind) are not
// system folders. Links are followed, so a link to /etc is /etc.
bool isSystemFolder(const QString& folder);

// Whether the folder may be a server's data directory, the one folder the program writes its files into: not a
// system folder, nor anything inside the system's own trees (/etc, /usr, /var, /boot, /run, ...) at any depth,
// nor a folder every user shares (/tmp, /srv) or a home folder itself. Folders that a server's configuration
// rightly keeps in such a place (a distribution's own name server) are named in `permitted`, and they and the
// folders inside them are allowed. Links are followed.
bool isAllowedDataDirectory(const QString& folder, const QStringList& permitted = {});

// The refusal of a data directory that is a system folder.
QString systemFolderRefusal(const QString& folder);
