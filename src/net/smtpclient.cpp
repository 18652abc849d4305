#include "net/smtpclient.h"

#include "net/curlapi.h"
#include "net/mailmessage.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cstring>
#include <memory>

namespace {

// Seconds allowed for reaching the server, and for the whole exchange.
constexpr long kConnectSeconds = 30;
constexpr long kTotalSeconds = 300;

struct Upload
{
    QByteArray bytes;
    qsizetype offset = 0;
    bool started = false;
    std::function<void()> onStart;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* userData)
{
    auto* upload = static_cast<Upload*>(userData);
    if (!upload->started) {
        upload->started = true;
        if (upload->onStart)
            upload->onStart();
    }
    const size_t room = size * count;
    const size_t left = size_t(upload->bytes.size() - upload->offset);
    const size_t n = std::min(room, left);
    std::memcpy(buffer, upload->bytes.constData() + upload->offset, n);
    upload->offset += qsizetype(n);
    return n;
}

// A handle exists only once the library is loaded.
struct EasyDeleter
{
    void operator()(CURL* handle) const { curlApi()->easyCleanup(handle); }
};
struct MultiDeleter
{
    void operator()(CURLM* handle) const { curlApi()->multiCleanup(handle); }
};
struct ListDeleter
{
    void operator()(curl_slist* list) const { curlApi()->slistFreeAll(list); }
};

QByteArray angleAddress(const QString& address)
{
    return '<' + address.trimmed().toUtf8() + '>';
}

} // namespace

bool SmtpClient::setServer(const QString& server)
{
    static const QRegularExpression bracketed(QStringLiteral("^\\[([^\\]]+)\\](?::(\\d+))?$"));
    static const QRegularExpression named(QStringLiteral("^([^:\\s\\[\\]/]+)(?::(\\d+))?$"));
    const QString text = server.trimmed();
    QRegularExpressionMatch match = bracketed.match(text);
    if (!match.hasMatch())
        match = named.match(text);
    if (!match.hasMatch()) {
        m_host.clear();
        m_port = kDefaultPort;
        return false;
    }
    const int port = match.captured(2).isEmpty() ? kDefaultPort : match.captured(2).toInt();
    if (port < 1 || port > 65535) {
        m_host.clear();
        return false;
    }
    m_host = match.captured(1);
    m_port = port;
    return true;
}

void SmtpClient::report(Event event)
{
    if (m_onEvent)
        m_onEvent(event);
}

bool SmtpClient::send(const MailMessage& message, QString* errorText)
{
    if (m_busy) {
        // The send under way keeps its own progress; this one never started.
        if (errorText)
            *errorText = QStringLiteral("A message is being sent already.");
        return false;
    }
    auto fail = [&](const QString& reason) {
        if (errorText)
            *errorText = reason;
        report(Event::Cancel);
        return false;
    };
    m_busy = true;
    struct BusyGuard
    {
        bool& busy;
        ~BusyGuard() { busy = false; }
    } guard{m_busy};

    report(Event::Prepare);
    if (m_host.isEmpty())
        return fail(QStringLiteral("No SMTP server is set up for the registration mail."));
    if (message.recipients().isEmpty() || message.recipients().first().trimmed().isEmpty())
        return fail(QStringLiteral("No recipient is set up for the registration mail."));
    if (message.senderAddress().trimmed().isEmpty())
        return fail(QStringLiteral("No sender address is set up for the registration mail."));

    Upload upload;
    upload.bytes = message.toBytes(QDateTime::currentDateTime());
    upload.onStart = [this] { report(Event::Sending); };

    QString reason;
    const CurlApi* curl = curlApi(&reason);
    if (!curl)
        return fail(QStringLiteral("The mail client could not be started: %1.").arg(reason));
    std::unique_ptr<CURLM, MultiDeleter> multi(curl->multiInit());
    std::unique_ptr<CURL, EasyDeleter> easy(curl->easyInit());
    if (!multi || !easy)
        return fail(QStringLiteral("The mail client could not be started."));
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const QString& recipient : message.recipients())
        recipients.reset(curl->slistAppend(recipients.release(), angleAddress(recipient).constData()));

    const QString hostPart = m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    const QByteArray url = QStringLiteral("smtp://%1:%2").arg(hostPart).arg(m_port).toUtf8();
    const QByteArray from = angleAddress(message.senderAddress());
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL* handle = easy.get();
    curl->easySetopt(handle, CURLOPT_URL, url.constData());
    curl->easySetopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl->easySetopt(handle, CURLOPT_MAIL_RCPT, recipients.get());
    curl->easySetopt(handle, CURLOPT_UPLOAD, 1L);
    curl->easySetopt(handle, CURLOPT_READFUNCTION, readUpload);
    curl->easySetopt(handle, CURLOPT_READDATA, &upload);
    curl->easySetopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload.bytes.size()));
    curl->easySetopt(handle, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    curl->easySetopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl->easySetopt(handle, CURLOPT_TIMEOUT, kTotalSeconds);
    curl->easySetopt(handle, CURLOPT_ERRORBUFFER, errorBuffer);
    curl->easySetopt(handle, CURLOPT_NOSIGNAL, 1L);

    report(Event::Open);
    curl->multiAddHandle(multi.get(), handle);
    int running = 1;
    CURLcode result = CURLE_OK;
    while (running) {
        if (curl->multiPerform(multi.get(), &running) != CURLM_OK)
            break;
        if (running)
            curl->multiPoll(multi.get(), nullptr, 0, 50, nullptr);
        QCoreApplication::processEvents();
    }
    int queued = 0;
    bool finished = false;
    while (CURLMsg* info = curl->multiInfoRead(multi.get(), &queued)) {
        if (info->msg == CURLMSG_DONE) {
            result = info->data.result;
            finished = true;
        }
    }
    curl->multiRemoveHandle(multi.get(), handle);

    if (!finished || result != CURLE_OK) {
        long response = 0;
        curl->easyGetinfo(handle, CURLINFO_RESPONSE_CODE, &response);
        QString reason = QString::fromUtf8(curl->easyStrerror(finished ? result : CURLE_SEND_ERROR));
        if (errorBuffer[0])
            reason += QStringLiteral(" (") + QString::fromUtf8(errorBuffer).trimmed() + QLatin1Char(')');
        if (response > 0)
            reason += QStringLiteral(", the server answered %1").arg(response);
        return fail(QStringLiteral("The registration mail could not be sent to %1:%2: %3.")
                        .arg(m_host)
                        .arg(m_port)
                        .arg(reason));
    }

    report(Event::MailSent);
    report(Event::Closing);
    easy.reset();
    multi.reset(); // ends the session with QUIT and closes the connection
    report(Event::Closed);
    return true;
}
