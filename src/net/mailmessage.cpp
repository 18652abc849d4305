#include "net/mailmessage.h"

#include <QRegularExpression>

namespace {

constexpr int kMaxLine = 76;
constexpr int kMaxPlainLine = 998;

// A header value never carries a line break of its own: one would start a header of the sender's choosing.
QString flattened(const QString& value)
{
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
    return QString(value).replace(breaks, QStringLiteral(" "));
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7e || (c.unicode() < 0x20 && c != QLatin1Char('\t')))
            return false;
    }
    return true;
}

// Non-ASCII header text as base64 encoded words of UTF-8, none longer than the standard allows, and no
// character split between two words.
QByteArray encodedWords(const QString& text)
{
    QByteArray result;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!result.isEmpty())
            result += "\r\n ";
        result += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray bytes = text.mid(i, length).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
        i += length - 1;
    }
    flush();
    return result;
}

QByteArray headerText(const QString& value)
{
    const QString flat = flattened(value);
    return isAscii(flat) ? flat.toLatin1() : encodedWords(flat);
}

QByteArray mailbox(const QString& name, const QString& address)
{
    const QByteArray addr = flattened(address).trimmed().toUtf8();
    if (name.trimmed().isEmpty())
        return addr;
    const QString flat = flattened(name).trimmed();
    QByteArray display;
    if (isAscii(flat)) {
        QString quoted = flat;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
        display = '"' + quoted.toLatin1() + '"';
    } else {
        display = encodedWords(flat);
    }
    return display + " <" + addr + '>';
}

bool fitsLatin1(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

QByteArray quotedPrintableLine(const QByteArray& line)
{
    QByteArray out;
    int column = 0;
    auto put = [&](const QByteArray& piece) {
        if (column + piece.size() > kMaxLine - 1) {
            out += "=\r\n";
            column = 0;
        }
        out += piece;
        column += int(piece.size());
    };
    for (int i = 0; i < line.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(line.at(i));
        const bool last = i == line.size() - 1;
        const bool plain = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
        if (plain)
            put(QByteArray(1, char(c)));
        else
            put('=' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0'));
    }
    return out;
}

} // namespace

void MailMessage::addRecipient(const QString& address)
{
    m_recipients << address;
}

void MailMessage::setSubject(const QString& subject)
{
    m_subject = subject.left(kSubjectLimit);
}

void MailMessage::setSenderAddress(const QString& address)
{
    m_senderAddress = address.left(kSenderLimit);
}

void MailMessage::setSenderName(const QString& name)
{
    m_senderName = name.left(kSenderLimit);
}

QByteArray MailMessage::toBytes(const QDateTime& date) const
{
    const QString bodyText = m_body.join(QLatin1Char('\n'));
    const bool latin1 = fitsLatin1(bodyText);
    bool plain = isAscii(bodyText.split(QLatin1Char('\n')).join(QString()));
    for (const QString& line : m_body)
        plain = plain && line.size() <= kMaxPlainLine;

    QByteArray out;
    out += "Date: " + date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    out += "From: " + mailbox(m_senderName, m_senderAddress) + "\r\n";
    QByteArrayList to;
    for (const QString& recipient : m_recipients)
        to << mailbox(QString(), recipient);
    out += "To: " + to.join(", ") + "\r\n";
    out += "Subject: " + headerText(m_subject) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: " + contentType().toLatin1() + "; charset=" + (latin1 ? "ISO-8859-1" : "UTF-8") + "\r\n";
    out += QByteArray("Content-Transfer-Encoding: ") + (plain ? "7bit" : "quoted-printable") + "\r\n";
    out += "\r\n";
    for (const QString& line : m_body) {
        QString clean = line;
        clean.remove(QLatin1Char('\r'));
        for (const QString& part : clean.split(QLatin1Char('\n'))) {
            const QByteArray bytes = latin1 ? part.toLatin1() : part.toUtf8();
            out += plain ? bytes : quotedPrintableLine(bytes);
            out += "\r\n";
        }
    }
    return out;
}
