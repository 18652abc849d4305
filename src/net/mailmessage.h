#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// A plain-text mail: sender, recipients, subject and body, turned into the bytes an SMTP server takes.
class MailMessage
{
public:
    static constexpr int kSubjectLimit = 255;
    static constexpr int kSenderLimit = 255;

    void clearRecipients() { m_recipients.clear(); }
    void addRecipient(const QString& address);
    const QStringList& recipients() const { return m_recipients; }

    // Cut to 255 characters.
    void setSubject(const QString& subject);
    const QString& subject() const { return m_subject; }

    void setSenderAddress(const QString& address);
    const QString& senderAddress() const { return m_senderAddress; }
    void setSenderName(const QString& name);
    const QString& senderName() const { return m_senderName; }

    void setBody(const QStringList& lines) { m_body = lines; }
    const QStringList& body() const { return m_body; }

    QString contentType() const { return QStringLiteral("text/plain"); }

    // The message as sent: headers (non-ASCII text in encoded words, line breaks in header values
    // flattened), then the body with CR LF line ends, as 7-bit text when it is plain ASCII with short
    // lines and as quoted-printable otherwise.
    QByteArray toBytes(const QDateTime& date) const;

private:
    QStringList m_recipients;
    QString m_subject;
    QString m_senderAddress;
    QString m_senderName;
    QStringList m_body;
};
