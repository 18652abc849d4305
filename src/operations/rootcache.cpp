#include "operations/rootcache.h"

#include "net/ftpclient.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/prompter.h"

#include <QDir>
#include <QFileInfo>

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

// The real root hints are a few kilobytes; a server that sends more is not sending root hints.
constexpr qint64 kRootHintsLimit = ReadLimit::kSmallFile;

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
    client.maxBytes = kRootHintsLimit;
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

RootCacheFetch fetchRootCache(const RootCacheSource& source, const QString& programFolder,
                              const std::function<void(const QString&)>& addLine,
                              const std::function<void()>& clearLines, Prompter& prompter,
                              const std::function<bool()>& cancelRequested)
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
        return RootCacheFetch::Fetched;
    client.logOff();
    if (cancelRequested && cancelRequested())
        return RootCacheFetch::Cancelled;
    if (client.wasOverLimit()) {
        prompter.message(QStringLiteral("Attention!"),
                         QStringLiteral("The root hints file on %1 is larger than %2 MB, so it was not installed.")
                             .arg(source.host)
                             .arg(kRootHintsLimit / ReadLimit::kMegabyte));
        return RootCacheFetch::TooLarge;
    }
    prompter.message(QStringLiteral("Attention!"),
                     QStringLiteral("Error loading Winsock or connecting to InterNIC. Please check your "
                                    "configuration."));
    return RootCacheFetch::Failed;
}

RootCacheInstall installRootCache(const QString& programFolder, const QString& dataDirectory)
{
    RootCacheInstall result;
    const QString download = rootCacheDownload(programFolder);
    const FileReadResult read = readWholeFile(download, kRootHintsLimit);
    if (!read.ok()) {
        result.errorText = QStringLiteral("Cannot open file \"") + download + QStringLiteral("\". ") + read.errorText;
        return result;
    }
    result.text = QString::fromLatin1(*read.bytes);
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
    const QString cache = QDir(dataDirectory).filePath(QStringLiteral("cache.dns"));
    if (const FileWriteResult written = replaceFile(cache, bytes); !written.ok) {
        result.errorText = QStringLiteral("Cannot write file \"") + cache + QStringLiteral("\". ") + written.errorText;
        return result;
    }
    result.installed = true;
    return result;
}
