#include "net/hostlookup.h"
#include "net/icmpping.h"
#include "net/icmpsocket.h"
#include "net/icmptrace.h"

#include <QSignalSpy>
#include <QTest>
#include <unistd.h>

class TstIcmp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dottedAddressMostSignificantFirst_data();
    void dottedAddressMostSignificantFirst();
    void resolvesLiteralsAndRefusesIpv6();
    void reverseNameOfLoopback();
    void socketKindFollowsPrivilege();
    void pingOfLoopbackAnswers();
    void repliesAreMatchedToTheirRequests();
    void cancelledPingSendsAndReportsNothing();
    void traceOfLoopbackIsOneHop();
    void cancelledTraceEnds();
};

void TstIcmp::dottedAddressMostSignificantFirst_data()
{
    QTest::addColumn<quint32>("address");
    QTest::addColumn<QString>("dotted");
    QTest::newRow("loopback") << quint32(0x7f000001) << QStringLiteral("127.0.0.1");
    QTest::newRow("private") << quint32(0x0a4d0202) << QStringLiteral("10.77.2.2");
    QTest::newRow("all ones") << quint32(0xffffffff) << QStringLiteral("255.255.255.255");
    QTest::newRow("zero") << quint32(0) << QStringLiteral("0.0.0.0");
}

void TstIcmp::dottedAddressMostSignificantFirst()
{
    QFETCH(quint32, address);
    QFETCH(QString, dotted);
    QCOMPARE(dottedAddress(address), dotted);
}

void TstIcmp::resolvesLiteralsAndRefusesIpv6()
{
    const ResolvedHost literal = resolveIpv4(QStringLiteral(" 127.0.0.2 "));
    QCOMPARE(literal.error, QString());
    QCOMPARE(literal.address, quint32(0x7f000002));
    const ResolvedHost name = resolveIpv4(QStringLiteral("localhost"));
    QCOMPARE(name.error, QString());
    QCOMPARE(name.address, quint32(0x7f000001));
    QCOMPARE(resolveIpv4(QStringLiteral("::1")).error, QStringLiteral("Only IPv4 addresses can be reached: ::1"));
    QCOMPARE(resolveIpv4(QString()).error, QStringLiteral("No host given."));
}

void TstIcmp::reverseNameOfLoopback()
{
    // The hosts file names 127.0.0.1. (An address without a name is asked of the name servers, so it is tested
    // only inside a network namespace of the tests' own, where those are on loopback.)
    QCOMPARE(reverseName(0x7f000001), QStringLiteral("localhost"));
}

void TstIcmp::socketKindFollowsPrivilege()
{
    IcmpSocket socket;
    QCOMPARE(socket.kind(), IcmpSocket::Kind::Closed);
    const auto error = socket.open();
    if (::geteuid() == 0) {
        QVERIFY2(!error, qPrintable(error.value_or(QString())));
        QCOMPARE(socket.kind(), IcmpSocket::Kind::Raw);
    } else if (!error) {
        QCOMPARE(socket.kind(), IcmpSocket::Kind::Datagram);
    } else {
        QVERIFY(error->startsWith(QLatin1String("ICMP echo is not available: ")));
    }
}

void TstIcmp::pingOfLoopbackAnswers()
{
    IcmpPing ping;
    const auto error = ping.setHost(QStringLiteral("127.0.0.1"));
    if (error)
        QSKIP(qPrintable(QStringLiteral("No ICMP socket for this user: ") + *error));
    QSignalSpy events(&ping, &IcmpPing::pingEvent);
    ping.ping();
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 1, 6000);
    QCOMPARE(events.first().at(0).toInt(), int(IcmpPing::Success));
    QVERIFY(events.first().at(1).toInt() >= 0);
    QCOMPARE(events.first().at(2).toUInt(), 0x7f000001u);
}

void TstIcmp::repliesAreMatchedToTheirRequests()
{
    // Two components side by side each hear only their own replies, though a raw socket sees them all.
    IcmpPing first;
    IcmpPing second;
    if (const auto error = first.setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(QStringLiteral("No ICMP socket for this user: ") + *error));
    QVERIFY(!second.setHost(QStringLiteral("127.0.0.3")));
    QSignalSpy firstEvents(&first, &IcmpPing::pingEvent);
    QSignalSpy secondEvents(&second, &IcmpPing::pingEvent);
    first.ping();
    first.ping();
    second.ping();
    QTRY_COMPARE_WITH_TIMEOUT(firstEvents.size(), 2, 6000);
    QTRY_COMPARE_WITH_TIMEOUT(secondEvents.size(), 1, 6000);
    QCOMPARE(secondEvents.first().at(2).toUInt(), 0x7f000003u);
    for (const QList<QVariant>& event : std::as_const(firstEvents))
        QCOMPARE(event.at(0).toInt(), int(IcmpPing::Success));
}

void TstIcmp::cancelledPingSendsAndReportsNothing()
{
    IcmpPing ping;
    if (const auto error = ping.setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(QStringLiteral("No ICMP socket for this user: ") + *error));
    QSignalSpy events(&ping, &IcmpPing::pingEvent);
    ping.ping();
    ping.cancel();
    ping.ping();
    // A live control ping on another component shows that replies had time to come back.
    IcmpPing control;
    QVERIFY(!control.setHost(QStringLiteral("127.0.0.1")));
    QSignalSpy controlEvents(&control, &IcmpPing::pingEvent);
    control.ping();
    QTRY_COMPARE_WITH_TIMEOUT(controlEvents.size(), 1, 6000);
    QCoreApplication::processEvents();
    QCOMPARE(events.size(), 0);
}

void TstIcmp::traceOfLoopbackIsOneHop()
{
    IcmpTrace trace;
    if (const auto error = trace.setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(QStringLiteral("No ICMP socket for this user: ") + *error));
    QSignalSpy routes(&trace, &IcmpTrace::routeEvent);
    QSignalSpy finished(&trace, &IcmpTrace::finished);
    trace.run();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!trace.isRunning());
    QCOMPARE(routes.size(), 1);
    QCOMPARE(routes.first().at(0).toInt(), 1);
    QCOMPARE(routes.first().at(2).toUInt(), 0x7f000001u);
}

void TstIcmp::cancelledTraceEnds()
{
    IcmpTrace trace;
    if (const auto error = trace.setHost(QStringLiteral("127.0.0.1")))
        QSKIP(qPrintable(QStringLiteral("No ICMP socket for this user: ") + *error));
    QSignalSpy routes(&trace, &IcmpTrace::routeEvent);
    QSignalSpy finished(&trace, &IcmpTrace::finished);
    trace.start();
    trace.cancel();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!trace.isRunning());
    // A reply to the cancelled probe comes as fast as this control ping's; it must not be reported.
    IcmpPing control;
    QVERIFY(!control.setHost(QStringLiteral("127.0.0.1")));
    QSignalSpy controlEvents(&control, &IcmpPing::pingEvent);
    control.ping();
    QTRY_COMPARE_WITH_TIMEOUT(controlEvents.size(), 1, 6000);
    QCoreApplication::processEvents();
    QCOMPARE(routes.size(), 0);
}

QTEST_GUILESS_MAIN(TstIcmp)
#include "tst_icmp.moc"
