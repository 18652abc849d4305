#include "shell/helpfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFileName = QStringLiteral("quorvane.html");

} // namespace

QString helpDocumentPath(const QString& programDirectory)
{
    const QDir program(programDirectory);
    for (const QString& candidate :
         {program.filePath(QStringLiteral("../share/quorvane/") + kFileName), program.filePath(kFileName)}) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return QStringLiteral(":/help/") + kFileName;
}

QString readHelpDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool hasHelpTopic(const QString& html, const QString& topic)
{
    return !topic.isEmpty() && html.contains(QStringLiteral(" id=\"") + topic + QLatin1Char('"'));
}

QString gettingStartedTopic()
{
    return QStringLiteral("getting-started");
}
