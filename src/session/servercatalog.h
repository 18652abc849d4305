#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One managed server: its identifier (computer name, "@", full server name), and its boot file path.
struct ManagedServer
{
    QString identifier;
    QString bootFilePath;

    // The computer name, the part of the identifier before "@"; it is what the selection box shows.
    QString displayName() const { return identifier.section(QLatin1Char('@'), 0, 0); }
    // A BIND 9 server, described by a named.conf (its path ends in ".conf"), rather than by a boot file.
    bool isNamedConf() const;
    // The stored text form: identifier, five spaces, boot file path.
    QString storedForm() const { return identifier + QStringLiteral("     ") + bootFilePath; }
    static ManagedServer fromStoredForm(const QString& text);
};

// The managed servers in catalog order. A deleted server leaves its row with an empty identifier until the
// settings are next written, so that row numbers stay stable while the program runs.
class ServerCatalog
{
public:
    const QList<ManagedServer>& rows() const { return m_rows; }
    const QStringList& displayNames() const { return m_displayNames; }

    void clear();
    void add(const ManagedServer& server);
    // Empties the identifier of the row; the display list loses the row's name.
    void markDeleted(int row);
    // The rows with an identifier, in catalog order: what the settings store keeps.
    QList<ManagedServer> liveRows() const;

private:
    QList<ManagedServer> m_rows;
    QStringList m_displayNames;
};
