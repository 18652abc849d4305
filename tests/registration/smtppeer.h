#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

// A real SMTP server on 127.0.0.1 for the mail tests: aiosmtpd with its Maildir handler, on a free port,
// started by the test and stopped with it.
class SmtpPeer
{
public:
    ~SmtpPeer();

    // Starts the server with its mailbox under `folder`, with further server options if given; false (with
    // the reason) when it did not come up.
    bool start(const QString& folder, QString* problem, const QStringList& options = {});
    int port() const { return m_port; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    // The messages received so far, as stored (the server adds X-MailFrom and X-RcptTo).
    QList<QByteArray> messages() const;
    bool waitForMessages(int count, int milliseconds = 10000) const;

    // A port on 127.0.0.1 with nothing listening.
    static int closedPort();

private:
    QProcess m_process;
    QString m_maildir;
    int m_port = 0;
};

// The header of a stored message, and its body after the blank line.
QByteArray headerValue(const QByteArray& message, const QByteArray& name);
QByteArray messageBody(const QByteArray& message);
