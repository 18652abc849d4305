#include "bootfile/bootlines.h"
#include "servedserver.h"
#include "support/loopback.h"
#include "support/namedprocess.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

constexpr int kFollowMs = 30000;

} // namespace

// A served server's zones reaching other name servers: a secondary made by Quorvane from a second server, and a
// secondary configured once with the catalog zone, which follows the zones as they come and go.
class TstBind9Peers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void secondaryTransfersAndKeepsText();
    void catalogSecondaryFollowsTheZones();

private:
    void startPrimary();
    void fastAdd(const QString& zone);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ServedServer> m_primary;
};

void TstBind9Peers::initTestCase()
{
    if (!NamedProcess::available())
        QSKIP("named and dig are not installed");
}

void TstBind9Peers::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_primary = std::make_unique<ServedServer>(m_dir->filePath(QStringLiteral("ns1")), QStringLiteral("ns1"));
    QVERIFY2(m_primary->create(), qPrintable(m_primary->lastError()));
    QVERIFY2(m_primary->createZone(QStringLiteral("example.com"),
                                   {"--host", "www=127.0.0.10", "--host", "ns1=127.0.0.9", "--ns", "ns1"}),
             qPrintable(m_primary->lastError()));
    fastAdd(QStringLiteral("example.net"));
}

void TstBind9Peers::fastAdd(const QString& zone)
{
    const CliRun added = m_primary->cli({"zone", "fastadd", m_primary->bootFile(), zone});
    QVERIFY2(added.status == 0, qPrintable(added.err));
}

void TstBind9Peers::cleanup()
{
    m_primary.reset();
    m_dir.reset();
}

void TstBind9Peers::startPrimary()
{
    const CliRun started = m_primary->cli({"ndc", m_primary->bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));
}

void TstBind9Peers::secondaryTransfersAndKeepsText()
{
    startPrimary();
    // The boot file's masters carry no port: the secondary's name server asks the primary's port by default.
    ServedServer secondary(m_dir->filePath(QStringLiteral("ns2")), QStringLiteral("ns2"));
    QVERIFY2(secondary.create(QStringLiteral(" port %1;").arg(m_primary->port())), qPrintable(secondary.lastError()));
    const CliRun declared = secondary.cli({"secondary", "add", secondary.bootFile(), "example.com", "127.0.0.1"});
    QVERIFY2(declared.status == 0, qPrintable(declared.err));
    const CliRun exported = secondary.cli({"export", secondary.bootFile()});
    QVERIFY(exported.out.contains(QStringLiteral("zone \"example.com\" { type secondary; primaries { 127.0.0.1; }; "
                                                 "file \"example.com.DNS\"; masterfile-format text; };")));
    const CliRun started = secondary.cli({"ndc", secondary.bootFile(), "start"});
    QVERIFY2(started.status == 0, qPrintable(started.err));

    QTRY_COMPARE_WITH_TIMEOUT(digShort(secondary.port(), QStringLiteral("www.example.com"), QStringLiteral("A")),
                              QStringList{"127.0.0.10"}, kFollowMs);
    // The copy is text the program and named-checkzone can read.
    const QString copy = secondary.dataFile(QStringLiteral("example.com.DNS"));
    QTRY_VERIFY_WITH_TIMEOUT(readBytes(copy).contains("127.0.0.10"), kFollowMs);
    const QByteArray text = readBytes(copy);
    QVERIFY2(text.startsWith("$ORIGIN .") && text.contains("$TTL"), text.constData());
    const ZoneCheck check = checkZoneFile(QStringLiteral("example.com"), copy);
    QVERIFY2(check.accepted(), qPrintable(check.output.join(QLatin1Char('\n'))));

    QCOMPARE(secondary.cli({"ndc", secondary.bootFile(), "stop"}).status, 0);
    QCOMPARE(m_primary->cli({"ndc", m_primary->bootFile(), "stop"}).status, 0);
}

void TstBind9Peers::catalogSecondaryFollowsTheZones()
{
    QVERIFY(m_primary->setSetting(QStringLiteral("BIND 9"), QStringLiteral("Catalog Zone"),
                                  QStringLiteral("catalog.invalid")));
    startPrimary();

    // Configured once: the two lines a secondary needs, and nothing about the zones themselves. It asks for the
    // catalog every second, since the primary sends no notifies here.
    const QString folder = m_dir->filePath(QStringLiteral("catalog"));
    QVERIFY(QDir().mkpath(folder));
    const quint16 port = freeLoopbackPort();
    const QString primary = QStringLiteral("127.0.0.1 port %1").arg(m_primary->port());
    const QString config =
        NamedProcess::options(folder, port,
                              QStringLiteral("    min-refresh-time 1;\n    max-refresh-time 1;\n"
                                             "    min-retry-time 1;\n    max-retry-time 1;\n"
                                             "    catalog-zones { zone \"catalog.invalid\" default-primaries { %1; } "
                                             "in-memory no; };\n")
                                  .arg(primary)) +
        QStringLiteral("controls { };\n"
                       "zone \"catalog.invalid\" { type secondary; file \"catalog.db\"; primaries { %1; }; };\n")
            .arg(primary);
    QVERIFY(writeBytes(folder + QStringLiteral("/named.conf"), config.toLatin1()));
    NamedProcess secondary;
    QVERIFY2(secondary.start(folder + QStringLiteral("/named.conf")), qPrintable(secondary.log()));

    const auto serves = [port](const QString& zone) { return !digShort(port, zone, QStringLiteral("SOA")).isEmpty(); };
    QTRY_VERIFY_WITH_TIMEOUT(serves(QStringLiteral("example.com")) && serves(QStringLiteral("example.net")), kFollowMs);
    QCOMPARE(digShort(port, QStringLiteral("www.example.com"), QStringLiteral("A")), QStringList{"127.0.0.10"});

    fastAdd(QStringLiteral("new.example.org"));
    QCOMPARE(m_primary->cli({"ndc", m_primary->bootFile(), "reload"}).status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(serves(QStringLiteral("new.example.org")), kFollowMs);

    const CliRun deleted =
        m_primary->cli({"zone", "delete", m_primary->bootFile(), "example.net"}, QStringLiteral("ok"));
    QVERIFY2(deleted.status == 0, qPrintable(deleted.err));
    QCOMPARE(m_primary->cli({"ndc", m_primary->bootFile(), "reload"}).status, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!serves(QStringLiteral("example.net")), kFollowMs);
    QVERIFY(serves(QStringLiteral("example.com")));

    secondary.stop();
    QCOMPARE(m_primary->cli({"ndc", m_primary->bootFile(), "stop"}).status, 0);
}

QTEST_GUILESS_MAIN(TstBind9Peers)
#include "tst_bind9peers.moc"
