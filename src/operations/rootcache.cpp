#include "operations/rootcache.h"

#include "net/ftpclient.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString trailPrefix(FtpClient::Direction direction)
{
    switch (direction) {
    case FtpClient::Client:
        return QStringLiteral("CLIENT: ");
    case FtpClient::Server:
        return QStringLiteral("SERVER: ");
    case FtpClient::Info:
        break;
    }
    return QStringLiteral("INFO: ");
}

bool exchange(FtpClient& client, const RootCacheSource& source, const QString& programFolder,
              const std::function<void(const QString&)>& addLine)
{
    addLine(QStringLiteral("Loading Winsock"));
    if (!client.loadStack())
        return false;
    addLine(client.stackDescription() + client.stackStatus());

    client.user = QStringLiteral("anonymous");
    client.password = source.password;
    client.host = source.host;
    client.port = source.port;
    if (!client.logOn())
        return false;

    client.ascii = true;
    client.remoteFile = QStringLiteral("named.root");
    client.remotePath = QStringLiteral("/domain");
    client.localFile = rootCacheDownload(programFolder);
    if (!client.download())
        return false;
    client.logOff();
    return true;
}

} // namespace

QString rootCacheDownload(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("cache.tmp"));
}

bool fetchRootCache(const RootCacheSource& source, const QString& programFolder,
                    const std::function<void(const QString&)>& addLine, const std::function<void()>& clearLines,
                    Prompter& prompter, const std::function<bool()>& cancelRequested)
{
    clearLines();
    FtpClient client;
    client.events.trail = [&addLine](FtpClient::Direction direction, const QString& text) {
        addLine(trailPrefix(direction) + text);
    };
    client.events.transferBegin = [&addLine] { addLine(QStringLiteral("TRANSFER BEGIN.")); };
    client.events.transferProgress = [&addLine](qint64 bytes) {
        addLine(QStringLiteral("TRANSFER: ") + QString::number(bytes) + QStringLiteral(" Bytes"));
    };
    client.events.transferEnd = [&addLine] { addLine(QStringLiteral("TRANSFER END.")); };
    client.events.error = [&addLine](int code, const QString& description) {
        addLine(QStringLiteral("ERR Event: ") + QString::number(code) + description);
    };
    client.events.cancelRequested = cancelRequested;
    if (exchange(client, source, programFolder, addLine))
        return true;
    client.logOff();
    if (cancelRequested && cancelRequested())
        return false;
    prompter.message(QStringLiteral("Attention!"),
                     QStringLiteral("Error loading Winsock or connecting to InterNIC. Please check your "
                                    "configuration."));
    return false;
}

RootCacheInstall installRootCache(const QString& programFolder, const QString& dataDirectory)
{
    RootCacheInstall result;
    QFile download(rootCacheDownload(programFolder));
    if (!download.open(QIODevice::ReadOnly)) {
        result.errorText = QStringLiteral("Cannot open file \"") + download.fileName() + QStringLiteral("\". ") +
                           download.errorString();
        return result;
    }
    result.text = QString::fromLatin1(download.readAll());
    result.text.remove(QLatin1Char('\r'));
    result.read = true;
    if (dataDirectory.isEmpty() || !QFileInfo(dataDirectory).isDir())
        return result;

    QStringList lines = result.text.split(QLatin1Char('\n'));
    if (result.text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    QByteArray bytes;
    for (const QString& line : std::as_const(lines))
        bytes += line.toLatin1() + "\r\n";
    QSaveFile cache(QDir(dataDirectory).filePath(QStringLiteral("cache.dns")));
    if (!cache.open(QIODevice::WriteOnly) || cache.write(bytes) != bytes.size() || !cache.commit()) {
        result.errorText =
            QStringLiteral("Cannot write file \"") + cache.fileName() + QStringLiteral("\". ") + cache.errorString();
        return result;
    }
    result.installed = true;
    return result;
}
