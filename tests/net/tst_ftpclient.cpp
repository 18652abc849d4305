#include "cutoffftpserver.h"
#include "ftppeer.h"
#include "net/ftpclient.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A file large enough to arrive in several pieces, in lines as a hints file has them.
QByteArray sampleFile(int lines)
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += "ROOT-SERVER-" + QByteArray::number(i).rightJustified(5, '0') + ".EXAMPLE.     3600000      A     "
                 "127.0.0." + QByteArray::number(i % 250 + 1) + "\n";
    return bytes;
}

// What the client told, in order.
struct Recorder
{
    QStringList events;
    QList<qint64> progress;

    void attach(FtpClient& client)
    {
        client.events.trail = [this](FtpClient::Direction direction, const QString& text) {
            events << QString::number(int(direction)) + QLatin1Char(' ') + text;
        };
        client.events.transferBegin = [this] { events << QStringLiteral("begin"); };
        client.events.transferProgress = [this](qint64 bytes) {
            events << QStringLiteral("progress");
            progress << bytes;
        };
        client.events.transferEnd = [this] { events << QStringLiteral("end"); };
        client.events.error = [this](int code, const QString& text) {
            events << QStringLiteral("error ") + QString::number(code) + QLatin1Char(' ') + text;
        };
    }
    int count(const QString& event) const { return int(events.count(event)); }
    bool hasTrail(FtpClient::Direction direction, const QString& text) const
    {
        return events.contains(QString::number(int(direction)) + QLatin1Char(' ') + text);
    }
    QStringList errors() const { return events.filter(QRegularExpression(QStringLiteral("^error "))); }
};

void setUp(FtpClient& client, int port, const QString& localFile)
{
    client.user = QStringLiteral("anonymous");
    client.password = QStringLiteral("john.doe@example.com");
    client.host = QStringLiteral("127.0.0.1");
    client.port = port;
    client.remotePath = QStringLiteral("/domain");
    client.remoteFile = QStringLiteral("named.root");
    client.localFile = localFile;
}

} // namespace

class TstFtpClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void downloadsInPiecesWithItsTrail();
    void sendsTheAddressAsEnteredAsPassword();
    void unreachableServerFailsAtLogOn();
    void missingFileLeavesTheLocalFile();
    void transferCutOffHalfWayLeavesTheLocalFile();
};

void TstFtpClient::downloadsInPiecesWithItsTrail()
{
    const QByteArray content = sampleFile(1500);
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/named.root"), content}}, &error), qPrintable(error));
    QTemporaryDir dir;
    FtpClient client;
    Recorder recorder;
    recorder.attach(client);
    setUp(client, peer.port(), dir.filePath(QStringLiteral("cache.tmp")));

    QVERIFY(client.loadStack());
    QVERIFY(client.stackDescription().startsWith(QStringLiteral("libcurl ")));
    QCOMPARE(client.stackStatus(), QStringLiteral("Ready."));
    QVERIFY(client.logOn());
    QVERIFY(recorder.hasTrail(FtpClient::Client, QStringLiteral("USER anonymous")));
    QVERIFY(recorder.hasTrail(FtpClient::Server, QStringLiteral("230 Login successful.")));
    QCOMPARE(recorder.count(QStringLiteral("begin")), 0);

    QVERIFY(client.download());
    client.logOff();
    QVERIFY(recorder.hasTrail(FtpClient::Client, QStringLiteral("TYPE A")));
    QVERIFY(recorder.hasTrail(FtpClient::Client, QStringLiteral("CWD domain")));
    QVERIFY(recorder.hasTrail(FtpClient::Client, QStringLiteral("RETR named.root")));
    QVERIFY(!recorder.events.filter(QRegularExpression(QStringLiteral("^2 "))).isEmpty());
    // The log-on was made once; the download went over the same connection.
    QCOMPARE(recorder.events.filter(QStringLiteral("USER anonymous")).size(), 1);
    QVERIFY(recorder.errors().isEmpty());

    QCOMPARE(recorder.count(QStringLiteral("begin")), 1);
    QCOMPARE(recorder.count(QStringLiteral("end")), 1);
    const qsizetype begin = recorder.events.indexOf(QStringLiteral("begin"));
    QVERIFY(begin < recorder.events.indexOf(QStringLiteral("progress")));
    QVERIFY(recorder.events.lastIndexOf(QStringLiteral("progress")) < recorder.events.indexOf(QStringLiteral("end")));
    QVERIFY2(recorder.progress.size() > 1, "the transfer came in one piece");
    for (int i = 1; i < recorder.progress.size(); ++i)
        QVERIFY(recorder.progress.at(i) > recorder.progress.at(i - 1));
    QCOMPARE(recorder.progress.last(), qint64(content.size()));
    QCOMPARE(readBytes(client.localFile), content);
}

void TstFtpClient::sendsTheAddressAsEnteredAsPassword()
{
    VsftpdPeer peer;
    QString error;
    QVERIFY2(
        peer.start({{QStringLiteral("domain/named.root"), QByteArray(". 3600000 NS A.ROOT-SERVERS.NET.\n")}}, &error),
        qPrintable(error));
    QTemporaryDir dir;
    FtpClient client;
    setUp(client, peer.port(), dir.filePath(QStringLiteral("cache.tmp")));
    QVERIFY(client.logOn());
    client.logOff();
    QTRY_VERIFY2(peer.log().contains(QStringLiteral("anon password \"john.doe@example.com\"")), qPrintable(peer.log()));
}

void TstFtpClient::unreachableServerFailsAtLogOn()
{
    QTemporaryDir dir;
    FtpClient client;
    Recorder recorder;
    recorder.attach(client);
    setUp(client, freeLoopbackPort(), dir.filePath(QStringLiteral("cache.tmp")));
    QVERIFY(!client.logOn());
    QCOMPARE(client.errorCode(), 7);
    QCOMPARE(recorder.errors().size(), 1);
    QVERIFY(recorder.errors().first().startsWith(QStringLiteral("error 7 ")));
    QVERIFY(!client.download());
    QCOMPARE(recorder.errors().size(), 2);
}

void TstFtpClient::missingFileLeavesTheLocalFile()
{
    VsftpdPeer peer;
    QString error;
    QVERIFY2(peer.start({{QStringLiteral("domain/other.file"), QByteArray("x\n")}}, &error), qPrintable(error));
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("cache.tmp"));
    QVERIFY(writeBytes(local, "the previous download\r\n"));
    FtpClient client;
    Recorder recorder;
    recorder.attach(client);
    setUp(client, peer.port(), local);
    QVERIFY(client.logOn());
    QVERIFY(!client.download());
    QCOMPARE(client.errorCode(), 78); // the remote file was not found
    QCOMPARE(recorder.count(QStringLiteral("end")), 0);
    QCOMPARE(readBytes(local), QByteArray("the previous download\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cache.tmp")});
}

void TstFtpClient::transferCutOffHalfWayLeavesTheLocalFile()
{
    const QByteArray content = sampleFile(400);
    CutOffFtpServer server(content, content.size() / 2);
    QVERIFY(server.listen());
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("cache.tmp"));
    QVERIFY(writeBytes(local, "the previous download\r\n"));
    FtpClient client;
    Recorder recorder;
    recorder.attach(client);
    setUp(client, server.port(), local);
    QVERIFY(client.logOn());
    QVERIFY(!client.download());
    QVERIFY(server.commands().contains(QStringLiteral("RETR named.root")));
    QCOMPARE(recorder.count(QStringLiteral("begin")), 1);
    QCOMPARE(recorder.count(QStringLiteral("end")), 0);
    QCOMPARE(recorder.errors().size(), 1);
    QVERIFY(!recorder.progress.isEmpty());
    QVERIFY(recorder.progress.last() <= content.size() / 2);
    QCOMPARE(readBytes(local), QByteArray("the previous download\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("cache.tmp")});
}

QTEST_GUILESS_MAIN(TstFtpClient)
#include "tst_ftpclient.moc"
