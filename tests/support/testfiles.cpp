#include "support/testfiles.h"

#include <QDir>
#include <QFile>

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString testDataPath(const QString& relative)
{
    return QDir(QStringLiteral(QUORVANE_TEST_DATA)).filePath(relative);
}
