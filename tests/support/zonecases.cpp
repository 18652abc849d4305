#include "support/zonecases.h"

#include "support/testfiles.h"

#include <QDir>
#include <QFile>

bool ZoneCase::has(const QString& name) const
{
    return QFile::exists(testDataPath(QStringLiteral("zone/") + file(name)));
}

QList<ZoneCase> zoneCases()
{
    QList<ZoneCase> cases;
    const QDir folder(testDataPath(QStringLiteral("zone/cases")));
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        cases << ZoneCase{name, name.section(QLatin1Char('@'), 1), QStringLiteral("cases/") + name};
    return cases;
}
