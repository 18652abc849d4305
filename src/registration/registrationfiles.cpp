#include "registration/registrationfiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QString kindFolder(const QString& dataPath, const QString& folderName, QString* errorText)
{
    const QString path = QDir(dataPath).filePath(folderName);
    if (!QDir().mkpath(path)) {
        if (errorText)
            *errorText = QStringLiteral("The folder %1 could not be created.").arg(QDir::toNativeSeparators(path));
        return QString();
    }
    return path;
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* errorText)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (errorText) {
        *errorText = QStringLiteral("The file %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return false;
}

std::optional<QStringList> readTextLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList lines;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLatin1(line);
    }
    if (bytes.endsWith('\n'))
        lines.removeLast();
    return lines;
}

QString nameListPath(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    const QStringList matches = dir.entryList({fileName}, QDir::Files);
    return dir.filePath(matches.isEmpty() ? fileName : matches.first());
}
