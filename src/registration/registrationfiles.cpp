#include "registration/registrationfiles.h"

#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"

#include <QDir>

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
    const FileWriteResult written = replaceFile(path, crlfLines(lines));
    if (!written.ok && errorText)
        *errorText = QStringLiteral("The file ") + written.errorText;
    return written.ok;
}

std::optional<QStringList> readTextLines(const QString& path, QString* errorText)
{
    const FileReadResult read = readWholeFile(path, ReadLimit::kSmallFile);
    if (!read.ok()) {
        if (errorText && read.problem != FileReadResult::Problem::Missing)
            *errorText = read.errorText;
        return std::nullopt;
    }
    return latin1Lines(*read.bytes);
}

QString nameListPath(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    const QStringList matches = dir.entryList({fileName}, QDir::Files);
    return dir.filePath(matches.isEmpty() ? fileName : matches.first());
}
