#include "net/ftpclient.h"

#include "platform/filereplacement.h"

#include <QCoreApplication>
#include <QUrl>
#include <curl/curl.h>

namespace {

constexpr int kPollMs = 20;
constexpr long kConnectTimeoutS = 30;
constexpr long kStallTimeoutS = 60;

// A download that has received its first byte or its opening reply has begun.
bool opensTransfer(const QByteArray& reply)
{
    return reply.startsWith("150") || reply.startsWith("125");
}

} // namespace

struct FtpClient::Session
{
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Events* events = nullptr;
    FileReplacement* target = nullptr;
    qint64 limit = 0;
    bool overLimit = false;
    bool transferBegun = false;
    qint64 received = 0;
    qint64 lastReported = -1;

    ~Session()
    {
        if (multi && easy)
            curl_multi_remove_handle(multi, easy);
        if (easy)
            curl_easy_cleanup(easy);
        if (multi)
            curl_multi_cleanup(multi);
    }

    void beginTransfer()
    {
        if (transferBegun)
            return;
        transferBegun = true;
        if (events->transferBegin)
            events->transferBegin();
    }

    void reportProgress(qint64 bytes)
    {
        if (bytes <= lastReported)
            return;
        lastReported = bytes;
        if (events->transferProgress)
            events->transferProgress(bytes);
    }

    static int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* user)
    {
        auto* session = static_cast<Session*>(user);
        Direction direction;
        switch (type) {
        case CURLINFO_TEXT:
            direction = Info;
            break;
        case CURLINFO_HEADER_OUT:
            direction = Client;
            break;
        case CURLINFO_HEADER_IN:
            direction = Server;
            break;
        default:
            return 0;
        }
        for (const QString& line : trailLines(QByteArray(data, qsizetype(size)))) {
            if (session->events->trail)
                session->events->trail(direction, line);
            if (direction == Server && session->target && opensTransfer(line.toLatin1()))
                session->beginTransfer();
        }
        return 0;
    }

    static size_t onWrite(char* data, size_t size, size_t count, void* user)
    {
        auto* session = static_cast<Session*>(user);
        const size_t bytes = size * count;
        if (!session->target)
            return bytes;
        session->beginTransfer();
        // Refusing the bytes ends the transfer: a server that sends without end fills neither disk nor memory.
        if (session->limit > 0 && session->received + qint64(bytes) > session->limit) {
            session->overLimit = true;
            return 0;
        }
        if (!session->target->write(data, qint64(bytes)))
            return 0;
        session->received += qint64(bytes);
        session->reportProgress(session->received);
        return bytes;
    }
};

QStringList FtpClient::trailLines(const QByteArray& text)
{
    QStringList lines;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines << QString::fromLatin1(line);
    }
    return lines;
}

FtpClient::FtpClient() = default;

FtpClient::~FtpClient()
{
    logOff();
}

bool FtpClient::loadStack()
{
    if (!m_stackLoaded) {
        const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
        if (code != CURLE_OK) {
            fail(int(code), QString::fromLatin1(curl_easy_strerror(code)));
            return false;
        }
        m_stackLoaded = true;
    }
    return true;
}

QString FtpClient::stackDescription() const
{
    return QStringLiteral("libcurl ") + QString::fromLatin1(curl_version_info(CURLVERSION_NOW)->version) +
           QStringLiteral(": ");
}

QString FtpClient::stackStatus() const
{
    return m_stackLoaded ? QStringLiteral("Ready.") : QStringLiteral("Not loaded.");
}

QString FtpClient::baseUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(host);
    url.setPort(port);
    url.setPath(QStringLiteral("/"));
    return url.toString(QUrl::FullyEncoded);
}

void FtpClient::fail(int code, const QString& description)
{
    m_errorCode = code;
    m_errorDescription = description;
    if (events.error)
        events.error(code, description);
}

bool FtpClient::logOn()
{
    if (!loadStack())
        return false;
    logOff();
    m_session = std::make_unique<Session>();
    m_session->events = &events;
    m_session->multi = curl_multi_init();
    m_session->easy = curl_easy_init();
    if (!m_session->multi || !m_session->easy) {
        m_session.reset();
        fail(int(CURLE_FAILED_INIT), QString::fromLatin1(curl_easy_strerror(CURLE_FAILED_INIT)));
        return false;
    }
    CURL* easy = m_session->easy;
    const QByteArray userBytes = user.toLatin1();
    const QByteArray passwordBytes = password.toLatin1();
    curl_easy_setopt(easy, CURLOPT_USERNAME, userBytes.constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, passwordBytes.constData());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_session->errorBuffer);
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &Session::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, m_session.get());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Session::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, m_session.get());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutS);
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, kStallTimeoutS);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallTimeoutS);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // A directory without a listing: the connection is made and the user logged on, nothing is transferred.
    if (!perform(baseUrl(), true)) {
        m_session.reset();
        return false;
    }
    return true;
}

bool FtpClient::download()
{
    if (!m_session) {
        fail(int(CURLE_FAILED_INIT), QStringLiteral("Not logged on."));
        return false;
    }
    m_overLimit = false;
    m_errorCode = 0;
    FileReplacement target(localFile);
    if (!target.open()) {
        fail(int(CURLE_WRITE_ERROR), target.errorText());
        return false;
    }
    QString path = remotePath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    QUrl url(baseUrl());
    url.setPath(QLatin1Char('/') + path + remoteFile);

    curl_easy_setopt(m_session->easy, CURLOPT_TRANSFERTEXT, ascii ? 1L : 0L);
    // A size the server announces ends the transfer before it begins.
    curl_easy_setopt(m_session->easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(maxBytes));
    m_session->target = &target;
    m_session->limit = maxBytes;
    m_session->overLimit = false;
    m_session->transferBegun = false;
    m_session->received = 0;
    m_session->lastReported = -1;
    const bool done = perform(url.toString(QUrl::FullyEncoded), false);
    m_session->target = nullptr;
    m_overLimit = m_session->overLimit || m_errorCode == int(CURLE_FILESIZE_EXCEEDED);
    if (!done) {
        target.cancel();
        return false;
    }
    // An empty file has begun and ended all the same.
    m_session->beginTransfer();
    m_session->reportProgress(m_session->received);
    if (const FileWriteResult written = target.commit(); !written.ok) {
        fail(int(CURLE_WRITE_ERROR), written.errorText);
        return false;
    }
    if (events.transferEnd)
        events.transferEnd();
    return true;
}

void FtpClient::logOff()
{
    m_session.reset();
}

bool FtpClient::perform(const QString& url, bool noBody)
{
    CURL* easy = m_session->easy;
    const QByteArray urlBytes = url.toLatin1();
    curl_easy_setopt(easy, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(easy, CURLOPT_NOBODY, noBody ? 1L : 0L);
    m_session->errorBuffer[0] = '\0';

    curl_multi_add_handle(m_session->multi, easy);
    int running = 1;
    CURLcode result = CURLE_OK;
    while (running) {
        const CURLMcode multiCode = curl_multi_perform(m_session->multi, &running);
        if (multiCode != CURLM_OK) {
            curl_multi_remove_handle(m_session->multi, easy);
            fail(int(multiCode), QString::fromLatin1(curl_multi_strerror(multiCode)));
            return false;
        }
        if (running) {
            curl_multi_poll(m_session->multi, nullptr, 0, kPollMs, nullptr);
            QCoreApplication::processEvents();
            if (events.cancelRequested && events.cancelRequested()) {
                curl_multi_remove_handle(m_session->multi, easy);
                fail(int(CURLE_ABORTED_BY_CALLBACK), QStringLiteral("Cancelled."));
                return false;
            }
        }
    }
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(m_session->multi, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
            result = message->data.result;
    }
    curl_multi_remove_handle(m_session->multi, easy);
    if (result != CURLE_OK) {
        const QString detail = QString::fromLatin1(m_session->errorBuffer);
        fail(int(result), detail.isEmpty() ? QString::fromLatin1(curl_easy_strerror(result)) : detail);
        return false;
    }
    return true;
}
