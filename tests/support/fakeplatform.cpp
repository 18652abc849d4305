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

bool FakePlatform::openDocument(const QString& path)
{
    // Tests record the request instead of starting the desktop's viewer, which a headless run does not have.
    openedDocuments << path;
    return true;
}
