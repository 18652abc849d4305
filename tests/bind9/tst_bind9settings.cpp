#include "bind9/catalogzone.h"
#include "bind9/nameserverprobe.h"
#include "namedconf/confsyntax.h"
#include "platform/settingsstore.h"
#include "platform/systemfolders.h"
#include "session/appstate.h"
#include "session/bind9settings.h"
#include "session/settings.h"
#include "support/fakeplatform.h"
#include "support/loopback.h"
#include "support/namedprocess.h"
#include "support/scriptedprompter.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The "BIND 9" settings, where the programs are found, the name server's status, the statement names of Extra
// Options and the catalog zone file.
class TstBind9Settings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWhenNothingIsStored();
    void savedSettingsComeBackUnderTheirNames();
    void damagedValuesFallBack();
    void programsAreFound();
    void distributionFoldersOnlyForTheDistributionsNameServer_data();
    void distributionFoldersOnlyForTheDistributionsNameServer();
    void statusOfARealNameServer();
    void statementNames_data();
    void statementNames();
    void networks_data();
    void networks();
    void catalogZoneFile();
    void catalogSerialRisesOnlyWhenMembersChange();
};

void TstBind9Settings::defaultsWhenNothingIsStored()
{
    QTemporaryDir dir;
    const Bind9Settings settings = Bind9Settings::load(SettingsStore(dir.filePath(QStringLiteral("q.conf"))));
    QCOMPARE(settings, Bind9Settings());
    QCOMPARE(settings.mode, Bind9Settings::Mode::Own);
    QVERIFY(settings.listensOnAll());
    QCOMPARE(settings.queryAddress(), QStringLiteral("127.0.0.1"));
    QCOMPARE(settings.port, 53);
    QCOMPARE(settings.controlPort, 953);
    QCOMPARE(settings.namedProgram, QStringLiteral("named"));
    QCOMPARE(settings.rndcProgram, QStringLiteral("rndc"));
    QCOMPARE(settings.zonesFile, QStringLiteral("/etc/bind/named.conf.quorvane"));
    QCOMPARE(settings.rndcKey, QStringLiteral("/etc/bind/rndc.key"));
    QVERIFY(settings.extraOptions.isEmpty());
    QVERIFY(settings.catalogZone.isEmpty());
}

void TstBind9Settings::savedSettingsComeBackUnderTheirNames()
{
    QTemporaryDir dir;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    ScriptedPrompter prompter;
    const QString file = dir.filePath(QStringLiteral("q.conf"));
    {
        SettingsStore store(file);
        AppState state;
        state.bind9.mode = Bind9Settings::Mode::System;
        state.bind9.address = QStringLiteral("192.0.2.53");
        state.bind9.port = 5353;
        state.bind9.controlPort = 5953;
        state.bind9.extraOptions = QStringLiteral("recursion no; notify no;");
        state.bind9.namedProgram = QStringLiteral("/opt/bind/sbin/named");
        state.bind9.rndcProgram = QStringLiteral("/opt/bind/sbin/rndc");
        state.bind9.zonesFile = QStringLiteral("/etc/named/zones.conf");
        state.bind9.rndcKey = QStringLiteral("/etc/named/rndc.key");
        state.bind9.systemConfig = QStringLiteral("/etc/named.conf");
        state.bind9.catalogZone = QStringLiteral("catalog.example.com");
        QVERIFY(saveSettings(state, store));
    }
    SettingsStore store(file);
    const QList<std::pair<QString, QString>> stored = {{"Mode", "system"},
                                                       {"Address", "192.0.2.53"},
                                                       {"Port", "5353"},
                                                       {"Control Port", "5953"},
                                                       {"Extra Options", "recursion no; notify no;"},
                                                       {"Named Program", "/opt/bind/sbin/named"},
                                                       {"Rndc Program", "/opt/bind/sbin/rndc"},
                                                       {"Zones File", "/etc/named/zones.conf"},
                                                       {"Rndc Key", "/etc/named/rndc.key"},
                                                       {"System Config", "/etc/named.conf"},
                                                       {"Catalog Zone", "catalog.example.com"}};
    for (const auto& [name, value] : stored)
        QCOMPARE(store.text(QStringLiteral("BIND 9"), name), value);
    AppState state;
    loadSettings(state, store, prompter, platform);
    QCOMPARE(state.bind9.mode, Bind9Settings::Mode::System);
    QCOMPARE(state.bind9.extraOptions, QStringLiteral("recursion no; notify no;"));
    QCOMPARE(state.bind9.port, 5353);
    QCOMPARE(state.bind9.queryAddress(), QStringLiteral("192.0.2.53"));
    QCOMPARE(state.bind9.catalogZone, QStringLiteral("catalog.example.com"));
}

void TstBind9Settings::damagedValuesFallBack()
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath(QStringLiteral("q.conf")));
    const QString section = QStringLiteral("BIND 9");
    store.setText(section, QStringLiteral("Mode"), QStringLiteral("nonsense"));
    store.setText(section, QStringLiteral("Port"), QStringLiteral("70000"));
    store.setText(section, QStringLiteral("Control Port"), QStringLiteral("x"));
    store.setText(section, QStringLiteral("Named Program"), QStringLiteral("   "));
    store.setText(section, QStringLiteral("Address"), QStringLiteral("ANY"));
    const Bind9Settings settings = Bind9Settings::load(store);
    QCOMPARE(settings.mode, Bind9Settings::Mode::Own);
    QCOMPARE(settings.port, 53);
    QCOMPARE(settings.controlPort, 953);
    QCOMPARE(settings.namedProgram, QStringLiteral("named"));
    QVERIFY(settings.listensOnAll());
    QCOMPARE(settings.refusedValues,
             (QStringList{QStringLiteral("Port \"70000\""), QStringLiteral("Control Port \"x\"")}));

    // Saving the other settings keeps the words as written, rather than the defaults shown in their place.
    Bind9Settings changed = settings;
    changed.catalogZone = QStringLiteral("catalog.invalid");
    changed.save(store);
    QCOMPARE(store.text(section, QStringLiteral("Port")), QStringLiteral("70000"));
    QCOMPARE(store.text(section, QStringLiteral("Control Port")), QStringLiteral("x"));
    QCOMPARE(Bind9Settings::load(store).refusedValues, settings.refusedValues);
    // A port given on the Setup page replaces its word; the other stays refused.
    changed.port = 5300;
    changed.acceptValue(QStringLiteral("Port"));
    changed.save(store);
    QCOMPARE(store.text(section, QStringLiteral("Port")), QStringLiteral("5300"));
    QCOMPARE(Bind9Settings::load(store).refusedValues, QStringList{QStringLiteral("Control Port \"x\"")});
}

void TstBind9Settings::distributionFoldersOnlyForTheDistributionsNameServer_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("own");
    QTest::addColumn<bool>("system");
    QTest::newRow("its zones") << "/var/lib/bind" << false << true;
    QTest::newRow("below its zones") << "/var/lib/bind/quorvane" << false << true;
    QTest::newRow("its configuration") << "/etc/bind" << false << true;
    QTest::newRow("its cache") << "/var/cache/bind" << false << true;
    QTest::newRow("beside its zones") << "/var/lib/dpkg" << false << false;
    QTest::newRow("above its zones") << "/var/lib" << false << false;
    QTest::newRow("another configuration") << "/etc/default" << false << false;
    QTest::newRow("a folder of the user's") << "/srv/dns" << true << true;
}

void TstBind9Settings::distributionFoldersOnlyForTheDistributionsNameServer()
{
    QFETCH(QString, folder);
    QFETCH(bool, own);
    QFETCH(bool, system);
    Bind9Settings settings;
    QCOMPARE(isAllowedDataDirectory(folder, settings.permittedDataFolders()), own);
    settings.mode = Bind9Settings::Mode::System;
    QCOMPARE(isAllowedDataDirectory(folder, settings.permittedDataFolders()), system);
}

void TstBind9Settings::programsAreFound()
{
    QTemporaryDir dir;
    FakePlatform platform(dir.filePath(QStringLiteral("data")));
    // Quorvane's own control program is found even where it is neither beside the program nor on the path.
    const QString own = controlProgramPath(QStringLiteral("quorvane-ndc"), platform);
    QVERIFY2(QFileInfo(own).isExecutable(), qPrintable(own));
    QCOMPARE(controlProgramPath(QStringLiteral("ndc"), platform), QStringLiteral("ndc"));
    QVERIFY(isOwnControlProgram(own));
    QVERIFY(isOwnControlProgram(QStringLiteral("quorvane-ndc")));
    QVERIFY(!isOwnControlProgram(QStringLiteral("ndc")));

    // An ordinary user's search path lacks the system program folders, where named lives.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/usr/bin:/bin");
    const QString named = bind9ToolPath(QStringLiteral("named"));
    const QString absent = bind9ToolPath(QStringLiteral("quorvane-no-such-tool"));
    qputenv("PATH", path);
    QCOMPARE(named, QStringLiteral("/usr/sbin/named"));
    QCOMPARE(absent, QStringLiteral("quorvane-no-such-tool"));
    QCOMPARE(bind9ToolPath(QStringLiteral("/opt/x/named")), QStringLiteral("/opt/x/named"));
}

void TstBind9Settings::statusOfARealNameServer()
{
    if (!NamedProcess::available())
        QSKIP("named is not installed");
    QTemporaryDir dir;
    const quint16 port = freeLoopbackPort();
    QElapsedTimer silent;
    silent.start();
    QVERIFY(!nameServerAnswers(QStringLiteral("127.0.0.1"), port, QStringLiteral("example.com")));
    // Nobody listens on a loopback port: the refusal comes at once, without waiting for the time-out.
    QVERIFY(silent.elapsed() < 500);

    QVERIFY(writeBytes(dir.filePath(QStringLiteral("named.conf")),
                       (NamedProcess::options(dir.path(), port) + QStringLiteral("controls { };\n")).toLatin1()));
    NamedProcess named;
    QVERIFY2(named.start(dir.filePath(QStringLiteral("named.conf"))), qPrintable(named.log()));
    // A name server that serves no such zone still answers (with a refusal): it runs.
    QVERIFY(nameServerAnswers(QStringLiteral("127.0.0.1"), port, QStringLiteral("example.com")));

    AppState state;
    state.bind9.address = QStringLiteral("127.0.0.1");
    state.bind9.port = port;
    state.ndcProgram = QStringLiteral("ndc");
    state.runState = RunState::Stopped;
    observeRunState(state);
    QCOMPARE(state.runState, RunState::Stopped); // another control program: the buttons decide
    state.ndcProgram = QStringLiteral("quorvane-ndc");
    observeRunState(state);
    QCOMPARE(state.runState, RunState::Started);
    const NameServerStatus status = loadedNameServerStatus(state);
    QCOMPARE(nameServerStatusText(status), QStringLiteral("Answering at 127.0.0.1 port %1.").arg(port));
    named.stop();
    observeRunState(state);
    QCOMPARE(state.runState, RunState::Stopped);
    QCOMPARE(nameServerStatusText(loadedNameServerStatus(state)),
             QStringLiteral("Not answering at 127.0.0.1 port %1.").arg(port));
}

void TstBind9Settings::statementNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "recursion no; notify no;" << QStringList{"notify", "recursion"};
    QTest::newRow("comments of all three kinds")
        << "recursion no; # querylog yes;\n// forwarders { 1.2.3.4; };\n/* listen-on { any; }; */ notify no;"
        << QStringList{"notify", "recursion"};
    QTest::newRow("braces and strings hide what is inside")
        << "allow-query { \"localhost\"; 10.0.0.0/8; };\nresponse-policy { zone \"rpz; recursion\"; };"
        << QStringList{"allow-query", "response-policy"};
    QTest::newRow("upper case and no final semicolon") << "Querylog yes" << QStringList{"querylog"};
    QTest::newRow("nothing") << "" << QStringList();
}

void TstBind9Settings::statementNames()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QStringList found = confStatementNames(text).values();
    found.sort();
    QCOMPARE(found, names);
}

void TstBind9Settings::networks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("network");
    QTest::addColumn<QString>("reason");
    QTest::newRow("address") << "10.1.2.3"
                             << "10.1.2.3"
                             << "";
    QTest::newRow("mask of a class C") << "192.168.7.0&255.255.255.0"
                                       << "192.168.7.0/24"
                                       << "";
    QTest::newRow("host bits cleared") << "10.1.2.3&255.255.0.0"
                                       << "10.1.0.0/16"
                                       << "";
    QTest::newRow("all") << "0.0.0.0&0.0.0.0"
                         << "0.0.0.0/0"
                         << "";
    QTest::newRow("single host") << "10.1.2.3&255.255.255.255"
                                 << "10.1.2.3/32"
                                 << "";
    QTest::newRow("IPv6") << "2001:db8::1"
                          << "2001:db8::1"
                          << "";
    QTest::newRow("gap") << "10.0.0.0&255.0.255.0"
                         << ""
                         << "the mask 255.0.255.0 is not a contiguous prefix";
    QTest::newRow("short mask") << "10.0.0.0&255.255"
                                << ""
                                << "the mask \"255.255\" is not a dotted mask";
    QTest::newRow("byte too big") << "10.0.0.256"
                                  << ""
                                  << "\"10.0.0.256\" is not an address";
    QTest::newRow("three parts") << "10.0.0"
                                 << ""
                                 << "\"10.0.0\" is not an address";
    QTest::newRow("letters") << "a.b.c.d&255.0.0.0"
                             << ""
                             << "\"a.b.c.d\" is not an IPv4 address";
}

void TstBind9Settings::networks()
{
    QFETCH(QString, text);
    QFETCH(QString, network);
    QFETCH(QString, reason);
    QString why;
    const std::optional<QString> result = confNetwork(text, &why);
    QCOMPARE(result.value_or(QString()), network);
    QCOMPARE(why, reason);
}

void TstBind9Settings::catalogZoneFile()
{
    QCOMPARE(catalogFileName(QStringLiteral("Catalog.Invalid.")), QStringLiteral("catalog.invalid.catalog"));
    // Labels follow the name only, in any case.
    QCOMPARE(catalogMemberLabel(QStringLiteral("Example.COM.")), catalogMemberLabel(QStringLiteral("example.com")));
    QVERIFY(catalogMemberLabel(QStringLiteral("example.com")) != catalogMemberLabel(QStringLiteral("example.net")));
    const QByteArray text =
        catalogZoneText(QStringLiteral("catalog.invalid"), {"example.com", "0.0.127.IN-ADDR.ARPA"}, 1796600000);
    QCOMPARE(text, "; Catalog zone of the primary zones, made by Quorvane 2.0\r\n"
                   "$ORIGIN catalog.invalid.\r\n"
                   "$TTL 0\r\n"
                   "@ IN SOA invalid. invalid. 1796600000 60 60 86400 0\r\n"
                   "@ IN NS invalid.\r\n"
                   "version IN TXT \"2\"\r\n" +
                       catalogMemberLabel(QStringLiteral("example.com")).toLatin1() + ".zones IN PTR example.com.\r\n" +
                       catalogMemberLabel(QStringLiteral("0.0.127.in-addr.arpa")).toLatin1() +
                       ".zones IN PTR 0.0.127.IN-ADDR.ARPA.\r\n");
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("catalog")), text));
    const ZoneCheck check = checkZoneFile(QStringLiteral("catalog.invalid"), dir.filePath(QStringLiteral("catalog")));
    QVERIFY2(check.accepted() && check.complaints.isEmpty(), qPrintable(check.output.join(QLatin1Char('\n'))));
}

void TstBind9Settings::catalogSerialRisesOnlyWhenMembersChange()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("catalog.invalid.catalog"));
    const QString zone = QStringLiteral("catalog.invalid");
    const CatalogWriteResult first = writeCatalogZone(path, zone, {"a.com", "b.com"}, 1000);
    QVERIFY(first.ok && first.changed);
    QCOMPARE(first.serial, 1000u);
    const QDateTime written = QFileInfo(path).lastModified();
    const CatalogWriteResult same = writeCatalogZone(path, zone, {"a.com", "b.com"}, 5000);
    QVERIFY(same.ok && !same.changed);
    QCOMPARE(same.serial, 1000u);
    QCOMPARE(QFileInfo(path).lastModified(), written);
    // The clock may stand behind the serial: the serial still rises.
    const CatalogWriteResult added = writeCatalogZone(path, zone, {"a.com", "b.com", "c.com"}, 900);
    QVERIFY(added.ok && added.changed);
    QCOMPARE(added.serial, 1001u);
    const CatalogWriteResult removed = writeCatalogZone(path, zone, {"a.com"}, 7000);
    QCOMPARE(removed.serial, 7000u);
    QVERIFY(!readBytes(path).contains("b.com."));
    const CatalogWriteResult unwritable =
        writeCatalogZone(dir.filePath(QStringLiteral("missing/folder/catalog")), zone, {"a.com"}, 1);
    QVERIFY(!unwritable.ok);
    QVERIFY(unwritable.errorText.startsWith(QStringLiteral("The catalog zone file ")));
}

QTEST_GUILESS_MAIN(TstBind9Settings)
#include "tst_bind9settings.moc"
