#pragma once

#include <QString>
#include <QStringList>

struct AppState;

// What would keep the system's name server from a loaded server's files: the name server runs as the user "bind"
// (Debian), and where AppArmor enforces the profile of named, it reads only /etc/bind, /var/lib/bind and
// /var/cache/bind. One message per problem, each with its fix; nothing is changed. Only for a server the
// distribution's name server serves (a named.conf in /etc/bind, or a boot-file server in the BIND 9 mode "system"
// whose system configuration is there).
QStringList bindAccessProblems(const AppState& state);

// The same for a folder: `writable` where the name server keeps secondaries' copies in it. `apparmorProfiles` is
// the text of the kernel's list of AppArmor profiles (empty when it cannot be read).
QStringList folderAccessProblems(const QString& folder, bool writable, const QString& apparmorProfiles);
