#include "loopbackpeers.h"
#include "net/tcplineclient.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class TstTcpLineClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void splitsAtDelimiter_data();
    void splitsAtDelimiter();
    void refusedConnectionIsConnectedEventWithFailure();
    void silentPeerTimesOut();
    void misuseComesBackAsErrorValue();
    void disconnectHandsOnUnfinishedLine();
};

void TstTcpLineClient::splitsAtDelimiter_data()
{
    QTest::addColumn<QByteArray>("delimiter");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("\r\n") << QByteArray("one\r\ntwo\r\n\r\nfour\r\n")
                          << QStringList{"one", "two", "", "four"};
    QTest::newRow("lf") << QByteArray("\n") << QByteArray("one\ntwo\r\nthree\n")
                        << QStringList{"one", "two\r", "three"};
    QTest::newRow("last line without delimiter")
        << QByteArray("\r\n") << QByteArray("one\r\ntail") << QStringList{"one", "tail"};
    QTest::newRow("crlf keeps lone line feeds") << QByteArray("\r\n") << QByteArray("a\nb\r\n") << QStringList{"a\nb"};
    QTest::newRow("latin-1 bytes") << QByteArray("\n") << QByteArray("caf\xe9\n") << QStringList{"caf\u00e9"};
}

void TstTcpLineClient::splitsAtDelimiter()
{
    QFETCH(QByteArray, delimiter);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, lines);

    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QByteArray received;
    connect(&server, &QTcpServer::newConnection, this, [&] {
        QTcpSocket* peer = server.nextPendingConnection();
        connect(peer, &QTcpSocket::readyRead, peer, [peer, &received, sent] {
            received += peer->readAll();
            if (received.endsWith("\r\n")) {
                // Sent in pieces, so the client has to join a line that arrives split.
                peer->write(sent.left(3));
                peer->flush();
                peer->write(sent.mid(3));
                peer->disconnectFromHost();
            }
        });
    });

    TcpLineClient client;
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    client.setRemotePort(server.serverPort());
    client.setLineDelimiter(delimiter);
    QSignalSpy connected(&client, &TcpLineClient::connectedEvent);
    QSignalSpy data(&client, &TcpLineClient::dataIn);
    QVERIFY(!client.connectToRemote());
    QVERIFY(client.waitForConnection(5000));
    QCOMPARE(connected.size(), 1);
    QCOMPARE(connected.first().at(0).toInt(), 0);
    QVERIFY(!client.send("query\r\n"));
    QVERIFY(client.waitForClose(5000));
    QCOMPARE(received, QByteArray("query\r\n"));
    QStringList got;
    for (const QList<QVariant>& args : std::as_const(data))
        got << args.first().toString();
    QCOMPARE(got, lines);
}

void TstTcpLineClient::refusedConnectionIsConnectedEventWithFailure()
{
    const quint16 port = refusingPort();
    TcpLineClient client;
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    client.setRemotePort(port);
    QSignalSpy connected(&client, &TcpLineClient::connectedEvent);
    QSignalSpy errors(&client, &TcpLineClient::errorEvent);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!client.connectToRemote());
    QVERIFY(!client.waitForConnection(15000));
    QVERIFY2(clock.elapsed() < 5000, "a refused connection must not wait out the time-out");
    QCOMPARE(connected.size(), 1);
    QVERIFY(connected.first().at(0).toInt() != 0);
    QCOMPARE(connected.first().at(1).toString(), QStringLiteral("Connection refused"));
    QCOMPARE(errors.size(), 0);
    QVERIFY(!client.isOpen());
}

void TstTcpLineClient::silentPeerTimesOut()
{
    SilentListener listener;
    TcpLineClient client;
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    client.setRemotePort(listener.port());
    QVERIFY(!client.connectToRemote());
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!client.waitForConnection(400));
    QVERIFY(clock.elapsed() >= 390);
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(client.isConnecting());
    client.disconnectFromRemote();
    QVERIFY(!client.isOpen());
}

void TstTcpLineClient::misuseComesBackAsErrorValue()
{
    TcpLineClient client;
    QCOMPARE(client.connectToRemote().value_or(QString()), QStringLiteral("No remote host given."));
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    QCOMPARE(client.connectToRemote().value_or(QString()), QStringLiteral("No remote port given."));
    QCOMPARE(client.send("x").value_or(QString()), QStringLiteral("Not connected."));
}

void TstTcpLineClient::disconnectHandsOnUnfinishedLine()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, this, [&] {
        QTcpSocket* peer = server.nextPendingConnection();
        peer->write("first\r\npartial");
    });
    TcpLineClient client;
    client.setRemoteHost(QStringLiteral("127.0.0.1"));
    client.setRemotePort(server.serverPort());
    QSignalSpy data(&client, &TcpLineClient::dataIn);
    QVERIFY(!client.connectToRemote());
    QVERIFY(client.waitForConnection(5000));
    QTRY_COMPARE(data.size(), 1);
    QCOMPARE(data.first().first().toString(), QStringLiteral("first"));
    // Both parts came in one write, so the unfinished line is waiting in the client; disconnecting must not
    // lose it.
    client.disconnectFromRemote();
    QCOMPARE(data.size(), 2);
    QCOMPARE(data.last().first().toString(), QStringLiteral("partial"));
}

QTEST_GUILESS_MAIN(TstTcpLineClient)
#include "tst_tcplineclient.moc"
