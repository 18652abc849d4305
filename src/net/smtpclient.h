#pragma once

#include <QString>
#include <functional>

class MailMessage;

// Sends one message to an SMTP server through libcurl: connects, sends and disconnects before send()
// returns, upgrading to TLS when the server offers STARTTLS. Window messages keep running while it waits, and
// the stages of the exchange are reported as they come.
class SmtpClient
{
public:
    enum class Event
    {
        Prepare,
        Open,
        Sending,
        MailSent,
        Closing,
        Closed,
        Cancel
    };

    static constexpr int kDefaultPort = 25;

    SmtpClient() = default;

    // "host", "host:port" or "[v6-address]:port"; port 25 unless the text gives one. False when the text
    // names no usable server.
    bool setServer(const QString& server);
    const QString& host() const { return m_host; }
    int port() const { return m_port; }

    void setEventHandler(std::function<void(Event)> handler) { m_onEvent = std::move(handler); }

    // False with the reason when the message could not be sent; after a failure the Cancel event has come
    // and neither MailSent nor Closed. A call made while a message is being sent fails at once, without events.
    bool send(const MailMessage& message, QString* errorText);

private:
    void report(Event event);

    QString m_host;
    int m_port = kDefaultPort;
    std::function<void(Event)> m_onEvent;
    bool m_busy = false;
};
