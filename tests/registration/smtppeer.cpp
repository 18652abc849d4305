#include "smtppeer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

SmtpPeer::~SmtpPeer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

int SmtpPeer::closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}

bool SmtpPeer::start(const QString& folder, QString* problem, const QStringList& options)
{
    m_maildir = QDir(folder).filePath(QStringLiteral("Maildir"));
    m_port = closedPort();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    QStringList{QStringLiteral("-m"), QStringLiteral("aiosmtpd"), QStringLiteral("-n"),
                                QStringLiteral("-l"), address()}
                        << options
                        << QStringList{QStringLiteral("-c"), QStringLiteral("aiosmtpd.handlers.Mailbox"), m_maildir});
    if (!m_process.waitForStarted(5000)) {
        *problem = m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (probe.waitForConnected(200) && probe.waitForReadyRead(2000) && probe.readAll().startsWith("220")) {
            probe.write("QUIT\r\n");
            probe.waitForBytesWritten(1000);
            return true;
        }
        if (m_process.state() == QProcess::NotRunning)
            break;
        QTest::qWait(100);
    }
    *problem = QStringLiteral("the SMTP server did not answer: ") + QString::fromLocal8Bit(m_process.readAll());
    return false;
}

QList<QByteArray> SmtpPeer::messages() const
{
    QList<QByteArray> result;
    const QDir inbox(QDir(m_maildir).filePath(QStringLiteral("new")));
    for (const QString& name : inbox.entryList(QDir::Files, QDir::Name)) {
        QFile file(inbox.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            result << file.readAll();
    }
    return result;
}

bool SmtpPeer::waitForMessages(int count, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    while (messages().size() < count && !deadline.hasExpired())
        QTest::qWait(50);
    return messages().size() >= count;
}

QByteArray headerValue(const QByteArray& message, const QByteArray& name)
{
    const QByteArray normalised = QByteArray(message).replace("\r\n", "\n");
    const qsizetype end = normalised.indexOf("\n\n");
    const QByteArrayList lines = normalised.left(end).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines.at(i).toLower().startsWith(QByteArray(name.toLower() + ':')))
            continue;
        QByteArray value = lines.at(i).mid(name.size() + 1).trimmed();
        while (i + 1 < lines.size() && (lines.at(i + 1).startsWith(' ') || lines.at(i + 1).startsWith('\t')))
            value += ' ' + lines.at(++i).trimmed();
        return value;
    }
    return {};
}

QByteArray messageBody(const QByteArray& message)
{
    const QByteArray normalised = QByteArray(message).replace("\r\n", "\n");
    return normalised.mid(normalised.indexOf("\n\n") + 2);
}
