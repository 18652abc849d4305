#include "bind9/bind9folder.h"
#include "bind9/namedconfexport.h"
#include "bootfile/bootconfig.h"
#include "operations/bootoptions.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

const QByteArray kZone = "@ IN SOA ns1.example.com. hostmaster.example.com. ( 1 3600 600 86400 300 )\r\n"
                         "@ IN NS ns1.example.com.\r\n"
                         "ns1 IN A 10.1.2.1\r\n";

struct CheckRun
{
    int exitCode = -1;
    QString output;
};

// named-checkconf over a configuration, loading every primary zone.
CheckRun checkconf(const QString& path)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("named-checkconf"), {QStringLiteral("-z"), path});
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

BootOptions onlyForwarders()
{
    BootOptions options;
    options.forwarders = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")};
    return options;
}

} // namespace

class TstNamedConfExport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void everyOptionLineForm_data();
    void everyOptionLineForm();
    void leftOutWithTheReason_data();
    void leftOutWithTheReason();
    void wholeServer();
    void zonesOnly();
    void extraOptionsWin();
    void listenAddress_data();
    void listenAddress();
    void controlChannelWithTheFoldersKey();
    void zoneDeclaredTwice();
    void reverseZonesOfBothFamiliesAndIpv6Masters();

private:
    QString data(const QString& name = QString()) const { return m_dir->filePath(QStringLiteral("data/") + name); }
    NamedConfRequest request(NamedConfForm form = NamedConfForm::Whole) const;
    // The export written into the test folder and checked by named-checkconf -z.
    void expectAccepted(const NamedConfExport& exported);
    QString withPlaceholders(QString text) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    BootConfig m_boot;
};

void TstNamedConfExport::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("named-checkconf")).isEmpty())
        QSKIP("named-checkconf is not installed");
}

void TstNamedConfExport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir().mkpath(data()));
    // The boot file names the first zone file in another case than the disk holds it.
    for (const QString& file :
         {QStringLiteral("Example.COM.DNS"), QStringLiteral("example.net.DNS"), QStringLiteral("ns1.local.DNS")})
        QVERIFY(writeBytes(data(file), kZone));
    QVERIFY(writeBytes(data(QStringLiteral("cache.dns")), QByteArray()));
    m_boot = BootConfig();
    m_boot.bootDirectory = m_dir->path() + QLatin1Char('/');
    m_boot.bootFileName = BootConfig::fileName();
    m_boot.cacheFile = QStringLiteral("cache.dns");
    m_boot.primaryEntries = {QStringLiteral("example.net     example.net.DNS"),
                             QStringLiteral("example.com     example.com.dns")};
}

NamedConfRequest TstNamedConfExport::request(NamedConfForm form) const
{
    NamedConfRequest request;
    request.form = form;
    request.bootFile = m_dir->filePath(QStringLiteral("named.boot"));
    request.dataDirectory = data().chopped(1);
    request.settings.address = QStringLiteral("127.0.0.1");
    request.settings.port = 5353;
    request.settings.extraOptions = QStringLiteral("dnssec-validation no; notify no;");
    const Bind9Folder folder(m_boot.bootDirectory);
    request.places = folder.places(m_dir->filePath(QStringLiteral("system32/namdump.db")),
                                   m_dir->filePath(QStringLiteral("system32/named.sts")));
    return request;
}

void TstNamedConfExport::expectAccepted(const NamedConfExport& exported)
{
    const QString path = m_dir->filePath(QStringLiteral("named.conf"));
    QVERIFY(writeBytes(path, exported.text.toUtf8()));
    const CheckRun run = checkconf(path);
    QVERIFY2(run.exitCode == 0, qPrintable(run.output + QLatin1Char('\n') + exported.text));
}

QString TstNamedConfExport::withPlaceholders(QString text) const
{
    return text.replace(m_dir->path(), QStringLiteral("@DIR@"));
}

void TstNamedConfExport::everyOptionLineForm_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("statements");

    // Each line exactly as the "Addl Properties" page writes it.
    const auto pageLines = [](const std::function<void(BootOptions&)>& set) {
        BootOptions options;
        set(options);
        return bootOptionLines(options);
    };
    QTest::newRow("forwarders") << pageLines([](BootOptions& o) { o = onlyForwarders(); })
                                << QStringList{"    forwarders { 10.0.0.1; 10.0.0.2; };"};
    QTest::newRow("options forward-only") << pageLines([](BootOptions& o) {
        o = onlyForwarders();
        o.forwardOnly = true;
    }) << QStringList{"    forwarders { 10.0.0.1; 10.0.0.2; };", "    forward only;"};
    QTest::newRow("options no-recursion")
        << pageLines([](BootOptions& o) { o.noRecursion = true; }) << QStringList{"    recursion no;"};
    QTest::newRow("options query-log") << pageLines([](BootOptions& o) { o.queryLog = true; })
                                       << QStringList{"    querylog yes;"};
    QTest::newRow("limit transfers-in") << pageLines([](BootOptions& o) {
        o.limitTransfersIn = true;
        o.transfersIn = QStringLiteral("5");
    }) << QStringList{"    transfers-in 5;"};
    QTest::newRow("limit transfers-per-ns") << pageLines([](BootOptions& o) {
        o.limitTransfersPerNs = true;
        o.transfersPerNs = QStringLiteral("2");
    }) << QStringList{"    transfers-per-ns 2;"};
    QTest::newRow("xfrnets") << pageLines([](BootOptions& o) {
        o.xfrnets = {QStringLiteral("10.1.2.3&255.255.0.0"), QStringLiteral("10.9.9.9"),
                     QStringLiteral("192.168.7.0&255.255.255.0")};
    }) << QStringList{"    allow-transfer { 10.1.0.0/16; 10.9.9.9; 192.168.7.0/24; };"};
    QTest::newRow("bogusns") << pageLines([](BootOptions& o) {
        o.bogusns = {QStringLiteral("192.168.1.1"), QStringLiteral("172.16.0.0&255.240.0.0")};
    }) << QStringList{"server 192.168.1.1 { bogus yes; };", "server 172.16.0.0/12 { bogus yes; };"};
    QTest::newRow("IPv6 forwarders, networks and servers")
        << pageLines([](BootOptions& o) {
               o.forwarders = {QStringLiteral("2001:db8::53"), QStringLiteral("10.0.0.1")};
               o.xfrnets = {QStringLiteral("2001:db8::/32"), QStringLiteral("2001:db8:1::7")};
               o.bogusns = {QStringLiteral("2001:db8::bad")};
           })
        << QStringList{"    forwarders { 2001:db8::53; 10.0.0.1; };",
                       "    allow-transfer { 2001:db8::/32; 2001:db8:1::7; };", "server 2001:db8::bad { bogus yes; };"};
    QTest::newRow("all eight lines of the page") << pageLines([](BootOptions& o) {
        o = onlyForwarders();
        o.forwardOnly = o.noRecursion = o.queryLog = true;
        o.limitTransfersIn = o.limitTransfersPerNs = true;
        o.transfersIn = QStringLiteral("5");
        o.transfersPerNs = QStringLiteral("2");
        o.xfrnets = {QStringLiteral("1.2.3.0&255.255.255.0"), QStringLiteral("10.1.1.1")};
        o.bogusns = {QStringLiteral("192.168.1.1")};
    })
                                                 << QStringList{"    forwarders { 10.0.0.1; 10.0.0.2; };",
                                                                "    forward only;",
                                                                "    recursion no;",
                                                                "    querylog yes;",
                                                                "    transfers-in 5;",
                                                                "    transfers-per-ns 2;",
                                                                "    allow-transfer { 1.2.3.0/24; 10.1.1.1; };",
                                                                "server 192.168.1.1 { bogus yes; };"};
}

void TstNamedConfExport::everyOptionLineForm()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, statements);
    m_boot.parameterLines = lines;
    const NamedConfExport exported = exportNamedConf(m_boot, request());
    QVERIFY2(exported.leftOut.isEmpty(), qPrintable(exported.leftOut.join(QLatin1Char('\n'))));
    const QStringList textLines = exported.text.split(QLatin1Char('\n'));
    for (const QString& statement : statements)
        QVERIFY2(textLines.contains(statement), qPrintable(statement + QStringLiteral(" not in\n") + exported.text));
    expectAccepted(exported);
}

void TstNamedConfExport::leftOutWithTheReason_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("otherLines");
    QTest::addColumn<QStringList>("leftOut");
    QTest::addColumn<QString>("absent");

    QTest::newRow("obsolete option") << QStringList{"options fake-iquery"} << QStringList()
                                     << QStringList{"options fake-iquery: BIND 9 has no such option."} << "fake-iquery";
    QTest::newRow("limit files") << QStringList{"limit files 100"} << QStringList()
                                 << QStringList{"limit files 100: BIND 9 no longer takes this limit."} << "files";
    QTest::newRow("limit datasize") << QStringList{"limit datasize 16M"} << QStringList()
                                    << QStringList{"limit datasize 16M: BIND 9 no longer takes this limit."}
                                    << "datasize";
    QTest::newRow("limit that is no number")
        << QStringList{"limit transfers-in     five "} << QStringList()
        << QStringList{"limit transfers-in five: the limit is no whole number above 0."} << "transfers-in";
    QTest::newRow("mask with a gap")
        << QStringList{"xfrnets      10.0.0.0&255.0.255.0 10.2.0.0&255.255.0.0"} << QStringList()
        << QStringList{"xfrnets 10.0.0.0&255.0.255.0 10.2.0.0&255.255.0.0: entry \"10.0.0.0&255.0.255.0\": the mask "
                       "255.0.255.0 is not a contiguous prefix."}
        << "10.0.0.0";
    QTest::newRow("forwarder with a mask")
        << QStringList{"forwarders      10.0.0.1&255.255.255.0     "} << QStringList()
        << QStringList{"forwarders 10.0.0.1&255.255.255.0: entry \"10.0.0.1&255.255.255.0\": a forwarder takes no "
                       "mask."}
        << "forwarders";
    QTest::newRow("name where an address belongs")
        << QStringList{"bogusns      a.b.c.d     "} << QStringList()
        << QStringList{"bogusns a.b.c.d: entry \"a.b.c.d\": \"a.b.c.d\" is not an address."} << "server";
    QTest::newRow("forward only without forwarders")
        << QStringList{"options forward-only"} << QStringList()
        << QStringList{"options forward-only: there are no forwarders to forward to."} << "forward only";
    QTest::newRow("other entries") << QStringList() << QStringList{"sortlist 10.0.0.0", "slave"}
                                   << QStringList{"sortlist 10.0.0.0: not a statement BIND 9 knows.",
                                                  "slave: not a statement BIND 9 knows."}
                                   << "sortlist";
}

void TstNamedConfExport::leftOutWithTheReason()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, otherLines);
    QFETCH(QStringList, leftOut);
    QFETCH(QString, absent);
    m_boot.parameterLines = lines;
    m_boot.otherLines = otherLines;
    const NamedConfExport exported = exportNamedConf(m_boot, request());
    QCOMPARE(exported.leftOut, leftOut);
    QVERIFY(!exported.complete());
    QVERIFY2(!exported.text.contains(absent), qPrintable(exported.text));
    expectAccepted(exported);
}

void TstNamedConfExport::wholeServer()
{
    m_boot.primaryEntries << QStringLiteral("gone.org     gone.org.DNS");
    m_boot.reversePrimaryLines = {QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ns1.local.DNS ")};
    m_boot.secondaryEntries = {QStringLiteral("sec.example.org     10.1.1.1 10.1.1.2     sec.example.org.DNS")};
    m_boot.secondaryReverseLines = {
        QStringLiteral("secondary     2.1.10.IN-ADDR.ARPA     10.1.1.1     2.1.10.IN-ADDR.ARPA.secondary.reverse.DNS")};
    m_boot.secondaryReverseComments = {QStringLiteral("10.1.2.0")};
    m_boot.parameterLines = bootOptionLines(onlyForwarders());
    const NamedConfExport exported = exportNamedConf(m_boot, request());
    QCOMPARE(withPlaceholders(exported.text),
             QString::fromUtf8(readBytes(testDataPath(QStringLiteral("bind9/whole.conf")))));
    QCOMPARE(withPlaceholders(exported.leftOut.join(QLatin1Char('\n'))),
             QStringLiteral("primary gone.org gone.org.DNS: its zone file @DIR@/data/gone.org.DNS does not exist."));
    QCOMPARE(exported.primaryZones, QStringList({"example.com", "example.net", "0.0.127.IN-ADDR.ARPA"}));
    QCOMPARE(exported.primaryFiles, QStringList({"Example.COM.DNS", "example.net.DNS", "ns1.local.DNS"}));
    expectAccepted(exported);
}

void TstNamedConfExport::zonesOnly()
{
    m_boot.secondaryEntries = {QStringLiteral("sec.example.org     10.1.1.1     sec.example.org.DNS")};
    BootOptions options = onlyForwarders();
    options.xfrnets = {QStringLiteral("10.1.0.0&255.255.0.0")};
    options.bogusns = {QStringLiteral("10.66.0.1")};
    m_boot.parameterLines = bootOptionLines(options);
    const NamedConfExport exported = exportNamedConf(m_boot, request(NamedConfForm::ZonesOnly));
    QCOMPARE(withPlaceholders(exported.text),
             QString::fromUtf8(readBytes(testDataPath(QStringLiteral("bind9/zonesonly.conf")))));
    QCOMPARE(exported.leftOut,
             QStringList({"forwarders 10.0.0.1 10.0.0.2: a server option, which only the name server's own "
                          "configuration sets.",
                          "bogusns 10.66.0.1: a server statement, which only the name server's own configuration "
                          "sets."}));
    QCOMPARE(exported.notes,
             QStringList{"\"cache . cache.dns\": the root hints are left to the name server's own configuration."});
    // The file stands on its own as well as inside a distribution's configuration.
    expectAccepted(exported);
}

void TstNamedConfExport::extraOptionsWin()
{
    BootOptions options;
    options.noRecursion = true;
    options.queryLog = true;
    m_boot.parameterLines = bootOptionLines(options);
    NamedConfRequest wanted = request();
    wanted.settings.extraOptions = QStringLiteral("recursion no; /* recursion yes; */ dnssec-validation no;\n"
                                                  "notify no; # querylog no;\nallow-query { \"localhost\"; };");
    const NamedConfExport exported = exportNamedConf(m_boot, wanted);
    QCOMPARE(exported.text.count(QStringLiteral("recursion no;")), 1);
    QVERIFY(exported.text.contains(QStringLiteral("    querylog yes;\n")));
    QCOMPARE(exported.notes,
             QStringList{"Extra Options set \"recursion\"; \"options no-recursion\" gives way to them."});
    QVERIFY(exported.complete());
    expectAccepted(exported);
}

void TstNamedConfExport::listenAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("v4");
    QTest::addColumn<QString>("v6");
    QTest::newRow("all") << "all"
                         << "listen-on port 5353 { any; };"
                         << "listen-on-v6 port 5353 { any; };";
    QTest::newRow("empty means all") << ""
                                     << "listen-on port 5353 { any; };"
                                     << "listen-on-v6 port 5353 { any; };";
    QTest::newRow("IPv4") << "127.0.0.1"
                          << "listen-on port 5353 { 127.0.0.1; };"
                          << "listen-on-v6 { none; };";
    QTest::newRow("IPv6") << "::1"
                          << "listen-on { none; };"
                          << "listen-on-v6 port 5353 { ::1; };";
}

void TstNamedConfExport::listenAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, v4);
    QFETCH(QString, v6);
    NamedConfRequest wanted = request();
    wanted.settings.address = address;
    const NamedConfExport exported = exportNamedConf(m_boot, wanted);
    QVERIFY2(exported.text.contains(QStringLiteral("\n    ") + v4 + QLatin1Char('\n')), qPrintable(exported.text));
    QVERIFY2(exported.text.contains(QStringLiteral("\n    ") + v6 + QLatin1Char('\n')), qPrintable(exported.text));
    expectAccepted(exported);
}

void TstNamedConfExport::controlChannelWithTheFoldersKey()
{
    const Bind9Folder folder(m_boot.bootDirectory);
    QVERIFY(!folder.controls(953));
    QVERIFY(QDir().mkpath(folder.path()));
    QVERIFY(writeBytes(folder.keyFile(), "key \"quorvane\" {\n\talgorithm hmac-sha256;\n"
                                         "\tsecret \"xViMv1QAdQ6LPnAiCnHkd7nX0POFJMZrNol/aFTBh6A=\";\n};\n"));
    NamedConfRequest wanted = request();
    wanted.controls = folder.controls(5954);
    QVERIFY(wanted.controls);
    const NamedConfExport exported = exportNamedConf(m_boot, wanted);
    QVERIFY2(exported.text.contains(QStringLiteral("include \"%1\";\ncontrols {\n    inet 127.0.0.1 port 5954 allow "
                                                   "{ 127.0.0.1; } keys { \"quorvane\"; };\n};\n")
                                        .arg(folder.keyFile())),
             qPrintable(exported.text));
    expectAccepted(exported);
}

void TstNamedConfExport::zoneDeclaredTwice()
{
    m_boot.secondaryEntries = {QStringLiteral("Example.com.     10.1.1.1     copy.DNS")};
    const NamedConfExport exported = exportNamedConf(m_boot, request());
    QCOMPARE(exported.leftOut, QStringList{"secondary Example.com. 10.1.1.1 copy.DNS: the zone Example.com. is "
                                           "declared before."});
    QVERIFY(!exported.text.contains(QStringLiteral("copy.DNS")));
    expectAccepted(exported);
}

void TstNamedConfExport::reverseZonesOfBothFamiliesAndIpv6Masters()
{
    const QString ipv6Zone = QStringLiteral("0.0.0.0.8.b.d.0.1.0.0.2.IP6.ARPA");
    const QString classless = QStringLiteral("64/26.2.0.192.IN-ADDR.ARPA");
    const QByteArray reverseZone = "@ IN SOA ns1.example.com. hostmaster.example.com. ( 1 3600 600 86400 300 )\r\n"
                                   "@ IN NS ns1.example.com.\r\n";
    QVERIFY(writeBytes(data(ipv6Zone + QStringLiteral(".reverse.DNS")), reverseZone));
    QVERIFY(writeBytes(data(QStringLiteral("64-26.2.0.192.IN-ADDR.ARPA.reverse.DNS")), reverseZone));
    m_boot.reversePrimaryLines = {
        QStringLiteral("primary     ") + ipv6Zone + QStringLiteral("     ") + ipv6Zone + QStringLiteral(".reverse.DNS"),
        QStringLiteral("primary     ") + classless + QStringLiteral("     64-26.2.0.192.IN-ADDR.ARPA.reverse.DNS")};
    m_boot.secondaryEntries = {QStringLiteral("sec.example.org     2001:db8::53 10.1.1.1     sec.example.org.DNS")};
    const NamedConfExport exported = exportNamedConf(m_boot, request());
    QVERIFY2(exported.leftOut.isEmpty(), qPrintable(exported.leftOut.join(QLatin1Char('\n'))));
    QVERIFY(exported.primaryZones.contains(ipv6Zone));
    QVERIFY(exported.primaryZones.contains(classless));
    QVERIFY2(exported.text.contains(QStringLiteral("primaries { 2001:db8::53; 10.1.1.1; }")),
             qPrintable(exported.text));
    expectAccepted(exported);
}

QTEST_GUILESS_MAIN(TstNamedConfExport)
#include "tst_namedconfexport.moc"
