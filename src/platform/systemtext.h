#pragma once

#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>

// A path as the system calls take it.
inline QByteArray nativePath(const QString& path)
{
    return QFile::encodeName(path);
}

// A system error number in the words of the user's locale.
inline QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A file system that cannot force data onto a disk (a pipe-like or read-only one) has nothing to lose by it.
inline bool flushIsPointless(int error)
{
    return error == EINVAL || error == EROFS || error == ENOTSUP;
}
