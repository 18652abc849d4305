#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A catalog zone (version 2): one PTR record per member zone, which a secondary configured once with
// "catalog-zones" follows as zones come and go.

// The file of a catalog zone in the data directory.
QString catalogFileName(const QString& catalogZone);

// The member label of a zone: derived from its name, so that it stays the same from one export to the next.
QString catalogMemberLabel(const QString& zone);

// The zone file text of a catalog with its members, in the order given.
QByteArray catalogZoneText(const QString& catalogZone, const QStringList& members, quint32 serial);

struct CatalogWriteResult
{
    bool ok = true;
    bool changed = false;
    quint32 serial = 0;
    QString errorText;
};

// Writes the catalog zone file with the members. A file that already lists the same members is left alone, so
// its serial stays; otherwise the serial rises above the old one and at least to `clockSerial`.
CatalogWriteResult writeCatalogZone(const QString& path, const QString& catalogZone, const QStringList& members,
                                    quint32 clockSerial);
