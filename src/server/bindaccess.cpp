#include "server/bindaccess.h"

#include "platform/filereading.h"
#include "session/appstate.h"

#include <QDir>
#include <QFileInfo>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

namespace {

const QStringList& apparmorFolders()
{
    static const QStringList folders{QStringLiteral("/etc/bind"), QStringLiteral("/var/lib/bind"),
                                     QStringLiteral("/var/cache/bind")};
    return folders;
}

bool apparmorEnforcesNamed(const QString& profiles)
{
    for (const QString& line : profiles.split(QLatin1Char('\n'))) {
        if ((line.startsWith(QLatin1String("named ")) || line.startsWith(QLatin1String("/usr/sbin/named "))) &&
            line.contains(QLatin1String("(enforce)")))
            return true;
    }
    return false;
}

bool insideAllowed(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    for (const QString& allowed : apparmorFolders()) {
        if (canonical == allowed || canonical.startsWith(allowed + QLatin1Char('/')))
            return true;
    }
    return false;
}

QString apparmorProfiles()
{
    const FileReadResult read =
        readWholeFile(QStringLiteral("/sys/kernel/security/apparmor/profiles"), ReadLimit::kSmallFile);
    return read.ok() ? QString::fromLatin1(*read.bytes) : QString();
}

} // namespace

QStringList folderAccessProblems(const QString& folder, bool writable, const QString& profiles)
{
    QStringList problems;
    const QByteArray path = QFile::encodeName(folder);
    struct stat info
    {
    };
    if (folder.isEmpty() || ::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return problems;
    const struct group* bindGroup = ::getgrnam("bind");
    const struct passwd* bindUser = ::getpwnam("bind");
    if (bindGroup && bindUser) {
        const bool owner = info.st_uid == bindUser->pw_uid;
        const bool group = info.st_gid == bindGroup->gr_gid;
        const auto may = [&](mode_t user, mode_t grp, mode_t other) {
            return (owner && (info.st_mode & user)) || (group && (info.st_mode & grp)) || (info.st_mode & other);
        };
        if (!may(S_IRUSR, S_IRGRP, S_IROTH) || !may(S_IXUSR, S_IXGRP, S_IXOTH))
            problems << QStringLiteral("The name server (user bind) cannot read the folder %1. Let the group bind read "
                                       "it: chgrp bind %1 && chmod g+rx %1.")
                            .arg(folder);
        else if (writable && !may(S_IWUSR, S_IWGRP, S_IWOTH))
            problems << QStringLiteral("The name server (user bind) cannot keep the secondary zones' copies in %1. "
                                       "Let the group bind write there, as Debian's /var/cache/bind: chgrp bind %1 "
                                       "&& chmod g+w %1.")
                            .arg(folder);
    }
    if (apparmorEnforcesNamed(profiles) && !insideAllowed(folder))
        problems << QStringLiteral("AppArmor lets the name server read only /etc/bind, /var/lib/bind and "
                                   "/var/cache/bind, so it cannot read %1. Keep the zones in /var/lib/bind (dynamic "
                                   "zones) or /var/cache/bind (secondaries), or allow the folder with a line \"%1/** "
                                   "rw,\" in /etc/apparmor.d/local/usr.sbin.named.")
                        .arg(folder);
    return problems;
}

QStringList bindAccessProblems(const AppState& state)
{
    if (!state.conf.isLoaded() && state.bind9.mode != Bind9Settings::Mode::System)
        return {};
    // Only the distribution's name server runs as bind under its profile; it reads its configuration in /etc/bind.
    const QString config = state.conf.isLoaded() ? state.conf.confFile : state.bind9.systemConfig;
    if (!QFileInfo(config).canonicalFilePath().startsWith(QLatin1String("/etc/bind/")))
        return {};
    const bool secondaries = !state.zoneLists.secdns.isEmpty();
    return folderAccessProblems(state.zoneLists.datapath, secondaries, apparmorProfiles());
}
