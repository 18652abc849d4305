#include "support/fakeplatform.h"

#include <QDir>

FakePlatform::FakePlatform(QString dataPath) : dataPath(std::move(dataPath)) {}

QString FakePlatform::appDataPath() const
{
    if (dataPath.isEmpty())
        return SystemPlatform::appDataPath();
    QDir().mkpath(dataPath);
    return dataPath;
}
