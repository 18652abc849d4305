#pragma once

#include <QString>
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
    Events events;

    bool loadStack();
    QString stackDescription() const;
    QString stackStatus() const;

    bool logOn();
    bool download();
    void logOff();

    int errorCode() const { return m_errorCode; }
    QString errorDescription() const { return m_errorDescription; }

private:
    struct Session;

    bool perform(const QString& url, bool noBody);
    void fail(int code, const QString& description);
    QString baseUrl() const;

    std::unique_ptr<Session> m_session;
    bool m_stackLoaded = false;
    int m_errorCode = 0;
    QString m_errorDescription;
};
