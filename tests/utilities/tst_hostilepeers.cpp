// The finger and WHOIS client against peers that do not play along: one that sends half a line and keeps the
// connection open, one that accepts and never answers, one that sends without end. All are real sockets on
// loopback; the command-line runs are real quorvane-cli processes.
#include "net/linesplitter.h"
#include "net/tcplineclient.h"
#include "support/clirun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

namespace {

// A peer on 127.0.0.1 that answers a query the way it was made to.
class HostilePeer : public QObject
{
public:
    enum class Way
    {
        PartialLineStaysOpen,
        Silent,
        Flood
    };

    explicit HostilePeer(Way way) : m_way(way)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* peer = m_server.nextPendingConnection())
                serve(peer);
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    qint64 sent() const { return m_sent; }

private:
    void serve(QTcpSocket* peer)
    {
        connect(peer, &QTcpSocket::readyRead, peer, [this, peer] {
            peer->readAll();
            if (m_way == Way::PartialLineStaysOpen)
                peer->write("Login: john\r\npartial line without its end");
            if (m_way == Way::Flood)
                flood(peer);
        });
        connect(peer, &QTcpSocket::bytesWritten, peer, [this, peer](qint64 bytes) {
            m_sent += bytes;
            if (m_way == Way::Flood && peer->bytesToWrite() < kChunk.size())
                flood(peer);
        });
    }
    void flood(QTcpSocket* peer) { peer->write(kChunk); }

    static inline const QByteArray kChunk = QByteArray(QByteArray(78, 'f') + "\r\n").repeated(4096);
    Way m_way;
    QTcpServer m_server;
    qint64 m_sent = 0;
};

// What AddressSanitizer holds back of the freed memory before it lets it be used again, by default.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kHeldBackMegabytes = 256;
#else
constexpr qint64 kHeldBackMegabytes = 0;
#endif

qint64 largestChildMegabytes()
{
    struct rusage usage;
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

class TstHostilePeers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void destroyedWhileAHalfLineWaits();
    void endlessAnswerIsCut();
    void commandEndsOnAHalfLineThatStaysOpen_data();
    void commandEndsOnAHalfLineThatStaysOpen();
    void commandEndsWhenThePeerNeverAnswers();
    void commandStaysUnderTheLimitAgainstAnEndlessPeer();

private:
    // The peers live in this process, whose events run while the command does.
    CliRun runWithPeer(const QStringList& arguments) const { return runCli(arguments, m_dir->path()); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstHostilePeers::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TstHostilePeers::destroyedWhileAHalfLineWaits()
{
    // The client goes away (the tab closes, the program ends) while half a line waits in it and the peer keeps
    // the connection open. The socket's own teardown still says that it disconnected.
    HostilePeer peer(HostilePeer::Way::PartialLineStaysOpen);
    auto client = std::make_unique<TcpLineClient>();
    client->setRemoteHost(QStringLiteral("127.0.0.1"));
    client->setRemotePort(peer.port());
    client->setLineDelimiter("\r\n");
    QSignalSpy lines(client.get(), &TcpLineClient::dataIn);
    QVERIFY(!client->connectToRemote());
    QVERIFY(client->waitForConnection(5000));
    QVERIFY(!client->send("john\r\n"));
    QTRY_COMPARE(lines.size(), 1);
    QTest::qWait(200);
    QVERIFY(client->isConnected());
    client.reset();
    QCOMPARE(lines.size(), 1);
}

void TstHostilePeers::endlessAnswerIsCut()
{
    HostilePeer peer(HostilePeer::Way::Flood);
    TcpLineClient client;
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    client.setRemotePort(peer.port());
    qsizetype lines = 0;
    connect(&client, &TcpLineClient::dataIn, this, [&lines] { ++lines; });
    QSignalSpy cut(&client, &TcpLineClient::answerCut);
    QSignalSpy closed(&client, &TcpLineClient::closed);
    QVERIFY(!client.connectToRemote());
    QVERIFY(client.waitForConnection(5000));
    QVERIFY(!client.send("query\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(closed.size(), 1, 60000);
    QCOMPARE(cut.size(), 1);
    QCOMPARE(cut.first().first().toString(),
             QStringLiteral("The answer was longer than 16 MB; the rest was not read."));
    QVERIFY(!client.isOpen());
    QVERIFY(lines > 1000);
    QVERIFY(lines * 80 <= LineSplitter::kLargestAnswer);
}

void TstHostilePeers::commandEndsOnAHalfLineThatStaysOpen_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("finger") << QStringLiteral("finger");
    QTest::newRow("whois") << QStringLiteral("whois");
}

void TstHostilePeers::commandEndsOnAHalfLineThatStaysOpen()
{
    QFETCH(QString, command);
    HostilePeer peer(HostilePeer::Way::PartialLineStaysOpen);
    const QString port = QString::number(peer.port());
    const QStringList arguments = command == QLatin1String("finger")
                                      ? QStringList{command, QStringLiteral("john@127.0.0.1"), QStringLiteral("--port"),
                                                    port,    QStringLiteral("--timeout"),      QStringLiteral("1")}
                                      : QStringList{command,
                                                    QStringLiteral("example.com"),
                                                    QStringLiteral("--host"),
                                                    QStringLiteral("127.0.0.1"),
                                                    QStringLiteral("--port"),
                                                    port,
                                                    QStringLiteral("--timeout"),
                                                    QStringLiteral("1")};
    const CliRun run = runWithPeer(arguments);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QByteArray("Warning: Connection timed out.\n"));
    // What came is kept, the half line with it.
    QVERIFY2(run.out.contains("Login: john\n"), run.out.constData());
    QVERIFY2(run.out.endsWith("partial line without its end\n"), run.out.constData());
}

void TstHostilePeers::commandEndsWhenThePeerNeverAnswers()
{
    HostilePeer peer(HostilePeer::Way::Silent);
    QElapsedTimer clock;
    clock.start();
    const CliRun run =
        runWithPeer({QStringLiteral("finger"), QStringLiteral("john@127.0.0.1"), QStringLiteral("--port"),
                     QString::number(peer.port()), QStringLiteral("--timeout"), QStringLiteral("2")});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QByteArray("Warning: Connection timed out.\n"));
    QVERIFY(clock.elapsed() >= 1900);
    QVERIFY(clock.elapsed() < 30000);
}

void TstHostilePeers::commandStaysUnderTheLimitAgainstAnEndlessPeer()
{
    HostilePeer peer(HostilePeer::Way::Flood);
    const CliRun run = runWithPeer({QStringLiteral("finger"), QStringLiteral("john@127.0.0.1"),
                                    QStringLiteral("--port"), QString::number(peer.port())});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("Attention!: The answer was longer than 16 MB; the rest was not read.\n"),
             run.err.constData());
    QVERIFY(run.out.endsWith("The answer was longer than 16 MB; the rest was not read.\n"));
    // The peer would have gone on for ever; the command read about its limit and stopped.
    QVERIFY(peer.sent() < 64 * 1024 * 1024);
    // The command's whole memory: the program, the answer held as text, and nothing growing beyond it.
    const qint64 megabytes = largestChildMegabytes();
    qInfo("the command read %lld MB of an endless answer in at most %lld MB of memory", peer.sent() >> 20, megabytes);
    QVERIFY2(megabytes < 160 + kHeldBackMegabytes, qPrintable(QStringLiteral("%1 MB").arg(megabytes)));
}

QTEST_GUILESS_MAIN(TstHostilePeers)
#include "tst_hostilepeers.moc"
