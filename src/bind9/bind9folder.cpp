#include "bind9/bind9folder.h"

#include <QDir>
#include <QFileInfo>

Bind9Folder::Bind9Folder(const QString& bootDirectory)
    : m_path(QDir::cleanPath(QDir(bootDirectory).filePath(QStringLiteral("bind9"))))
{
}

QString Bind9Folder::file(const QString& name) const
{
    return m_path + QLatin1Char('/') + name;
}

NamedConfPlaces Bind9Folder::places(const QString& dumpFile, const QString& statisticsFile) const
{
    return NamedConfPlaces{pidFile(), file(QStringLiteral("session.key")), m_path, dumpFile, statisticsFile};
}

std::optional<NamedConfControls> Bind9Folder::controls(int port) const
{
    if (!QFileInfo(keyFile()).isFile())
        return std::nullopt;
    return NamedConfControls{keyFile(), keyName(), port};
}
