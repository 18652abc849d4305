#include "bootnamed.h"

#include "support/loopback.h"
#include "support/testfiles.h"
#include "zone/zonefileio.h"

#include <QDir>

bool BootNamed::start(const QString& bootFile, const QString& dataPath)
{
    m_port = freeLoopbackPort();
    QString zones;
    for (const QString& line : readTextFile(bootFile).value_or(QStringList())) {
        if (!line.startsWith(QStringLiteral("primary ")))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        zones += QStringLiteral("zone \"%1\" { type primary; file \"%2\"; };\n")
                     .arg(fields.value(1), QDir(dataPath).filePath(fields.value(2)));
    }
    const QString dir = m_dir.path();
    const QString conf = NamedProcess::options(dir, m_port) + QStringLiteral("controls { };\n") + zones;
    if (m_port == 0 || !writeBytes(dir + QStringLiteral("/named.conf"), conf.toLatin1()))
        return false;
    return m_named.start(dir + QStringLiteral("/named.conf"));
}

QStringList BootNamed::askReverse(const QString& address) const
{
    return digOutput(m_port, {QStringLiteral("+short"), QStringLiteral("+norecurse"), QStringLiteral("-x"), address})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
