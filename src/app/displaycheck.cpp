#include "app/displaycheck.h"

#include <QByteArray>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool platformNamed(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qgetenv("QT_QPA_PLATFORM").isEmpty();
}

bool connects(const QByteArray& path, bool abstract)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof(address.sun_path)) {
        ::close(fd);
        return false;
    }
    std::memcpy(address.sun_path + offset, path.constData(), std::size_t(path.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + std::size_t(path.size()));
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return ok;
}

// ":N", ":N.S" and "unix:N" name a display of this machine, reached through its socket.
bool xDisplayAnswers(const QByteArray& display)
{
    QByteArray number;
    if (display.startsWith(':'))
        number = display.mid(1);
    else if (display.startsWith("unix:"))
        number = display.mid(5);
    else
        return true;
    number = number.left(number.indexOf('.') < 0 ? number.size() : number.indexOf('.'));
    if (number.isEmpty())
        return false;
    const QByteArray socket = QByteArray("/tmp/.X11-unix/X").append(number);
    return connects(socket, false) || connects(socket, true);
}

} // namespace

bool displayAvailable(int argc, char* argv[])
{
    if (platformNamed(argc, argv) || !qgetenv("WAYLAND_DISPLAY").isEmpty())
        return true;
    const QByteArray display = qgetenv("DISPLAY");
    return !display.isEmpty() && xDisplayAnswers(display);
}
