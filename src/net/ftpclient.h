#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// A small anonymous-FTP client over libcurl for the root hints download. Each action completes before it
// returns while window messages keep being processed, so the window stays responsive. Failures are values: the
// action returns false and errorCode()/errorDescription() say why (the error event has said it as well).
class FtpClient
{
public:
    enum Direction
    {
        Client = 0,
        Server = 1,
        Info = 2
    };

    struct Events
    {
        std::function<void(Direction, const QString&)> trail;
        std::function<void()> transferBegin;
        std::function<void(qint64 bytes)> transferProgress;
        std::function<void()> transferEnd;
        std::function<void(int code, const QString& description)> error;
        // Asked while an action waits; true ends the action as failed ("Cancelled.").
        std::function<bool()> cancelRequested;
    };

    FtpClient();
    ~FtpClient();

    // The lines of a piece of the protocol trail as the server or the client sent it, without their line ends and
    // without empty lines.
    static QStringList trailLines(const QByteArray& text);
    FtpClient(const FtpClient&) = delete;
    FtpClient& operator=(const FtpClient&) = delete;

    QString user;
    QString password;
    QString host;
    int port = 21;
    bool ascii = true;
    QString remotePath;
    QString remoteFile;
    // The file the download goes to; it is replaced only by a complete transfer.
    QString localFile;
    // The most a download may bring; 0 for no limit. A larger file is refused whole.
    qint64 maxBytes = 0;
    Events events;

    bool loadStack();
    QString stackDescription() const;
    QString stackStatus() const;

    bool logOn();
    bool download();
    void logOff();

    int errorCode() const { return m_errorCode; }
    // Whether the last download failed because the file was larger than maxBytes.
    bool wasOverLimit() const { return m_overLimit; }
    QString errorDescription() const { return m_errorDescription; }

private:
    struct Session;

    bool perform(const QString& url, bool noBody);
    void fail(int code, const QString& description);
    QString baseUrl() const;

    std::unique_ptr<Session> m_session;
    bool m_stackLoaded = false;
    bool m_overLimit = false;
    int m_errorCode = 0;
    QString m_errorDescription;
};
