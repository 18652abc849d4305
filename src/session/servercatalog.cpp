#include "session/servercatalog.h"

ManagedServer ManagedServer::fromStoredForm(const QString& text)
{
    // The identifier never holds a space; the path after the run of spaces may.
    ManagedServer server;
    const qsizetype firstSpace = text.indexOf(QLatin1Char(' '));
    if (firstSpace < 0) {
        server.identifier = text;
        return server;
    }
    server.identifier = text.left(firstSpace);
    qsizetype pathStart = firstSpace;
    while (pathStart < text.size() && text.at(pathStart) == QLatin1Char(' '))
        ++pathStart;
    server.bootFilePath = text.mid(pathStart);
    return server;
}

void ServerCatalog::clear()
{
    m_rows.clear();
    m_displayNames.clear();
}

void ServerCatalog::add(const ManagedServer& server)
{
    m_rows << server;
    m_displayNames << server.displayName();
}

void ServerCatalog::markDeleted(int row)
{
    if (row < 0 || row >= m_rows.size() || m_rows.at(row).identifier.isEmpty())
        return;
    m_rows[row].identifier.clear();
    m_displayNames.clear();
    for (const ManagedServer& server : std::as_const(m_rows)) {
        if (!server.identifier.isEmpty())
            m_displayNames << server.displayName();
    }
}

QList<ManagedServer> ServerCatalog::liveRows() const
{
    QList<ManagedServer> live;
    for (const ManagedServer& server : m_rows) {
        if (!server.identifier.isEmpty())
            live << server;
    }
    return live;
}

bool ManagedServer::isNamedConf() const
{
    return bootFilePath.endsWith(QLatin1String(".conf"), Qt::CaseInsensitive);
}
