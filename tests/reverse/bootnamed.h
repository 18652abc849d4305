#pragma once

#include "support/namedprocess.h"

#include <QStringList>
#include <QTemporaryDir>

// A name server started on the zones a boot file lists, each primary line a primary zone.
class BootNamed
{
public:
    bool start(const QString& bootFile, const QString& dataPath);

    // The answer section of a query, one record per line in dig's short form.
    QStringList ask(const QString& name, const QString& type) const { return digShort(m_port, name, type); }
    // The answer of a reverse query (dig -x) for the address.
    QStringList askReverse(const QString& address) const;

    QString log() const { return m_named.log(); }

private:
    QTemporaryDir m_dir;
    NamedProcess m_named;
    quint16 m_port = 0;
};
