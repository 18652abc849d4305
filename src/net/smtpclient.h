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
    enum class Event { Prepare, Open, Sending, MailSent, Closing, Closed, Cancel };

    static constexpr int kDefaultPort = 25;

    SmtpClient();

    // "host", "host:port" or "[v6-address]:port"; port 25 unless the text gives one. False when the text
    // names no usable server.
    bool setServer(const QString& server);
    const QString& host() const { return m_host; }
    int port() const { return m_port; }

    void setEventHandler(std::function<void(Event)> handler) { m_onEvent = std::move(handler); }
    // Seconds allowed for connecting, and for the whole exchange.
    void setTimeouts(int connectSeconds, int totalSeconds);

    // False with the reason when the message could not be sent; after a failure the Cancel event has come
    // and neither MailSent nor Closed.
    bool send(const MailMessage& message, QString* errorText);

    // Stops a send under way (from a window message handled while it waits).
    void cancel() { m_cancelled = true; }
    bool isBusy() const { return m_busy; }

private:
    void report(Event event);

    QString m_host;
    int m_port = kDefaultPort;
    int m_connectSeconds = 30;
    int m_totalSeconds = 300;
    std::function<void(Event)> m_onEvent;
    bool m_cancelled = false;
    bool m_busy = false;
};
