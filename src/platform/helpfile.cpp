#include "platform/helpfile.h"

#include "platform/installlayout.h"

#include <QFile>

namespace {

const QString kFileName = QStringLiteral("quorvane.html");

} // namespace

QString helpDocumentPath(const QString& programDirectory)
{
    const QString installed = installlayout::dataFile(programDirectory, QStringLiteral("help/") + kFileName);
    return installed.isEmpty() ? QStringLiteral(":/help/") + kFileName : installed;
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
