#include "reversefixture.h"

#include "platform/latin1lines.h"
#include "server/bootload.h"
#include "support/testfiles.h"
#include "zone/zonefileio.h"

#include <QDir>
#include <QTest>

ReverseServer::ReverseServer() : store(QDir(dir.path()).filePath(QStringLiteral("settings.ini")))
{
    QDir().mkpath(dataPath());
    QDir().mkpath(QDir(dir.path()).filePath(QStringLiteral("win")));
    state.pendingServerId = QStringLiteral("ns1@ns1.example.com.");
    state.pendingBootFilePath = bootFile();
    state.zoneLists.firstzone = QStringLiteral("ns1.example.com.");
    state.defaultos = QStringLiteral("Windows NT 4.X");
    state.setup.runningSerial = QStringLiteral("2026120701");
    state.setup.defaultrefresh = QStringLiteral("1080");
    state.setup.defaultretry = QStringLiteral("3600");
    state.setup.defaultexpire = QStringLiteral("604800");
    state.setup.defaultminimum = QStringLiteral("86400");
    state.emailaddr = QStringLiteral("hostmaster@example.com");
}

QString ReverseServer::dataPath() const
{
    return QDir(dir.path()).filePath(QStringLiteral("data"));
}

QString ReverseServer::dataFile(const QString& name) const
{
    return QDir(dataPath()).filePath(name);
}

QString ReverseServer::bootFile() const
{
    return QDir(dir.path()).filePath(QStringLiteral("win/named.boot"));
}

void ReverseServer::zone(const QString& name, const QStringList& nameServers, const QList<TestHost>& hosts,
                         bool ownerIsAt)
{
    // The program's own layout, its signature line first.
    QStringList lines{QStringLiteral(";[*-Quorvane-*]"),
                      QStringLiteral(";[SOA]"),
                      (ownerIsAt ? QStringLiteral("@") : name + QLatin1Char('.')) +
                          QStringLiteral(" IN     SOA     ns1.example.com. hostmaster.example.com. ("),
                      QStringLiteral("2026120701"),
                      QStringLiteral("1080"),
                      QStringLiteral("3600"),
                      QStringLiteral("604800"),
                      QStringLiteral("86400 )"),
                      QStringLiteral(";[Name Servers]")};
    for (const QString& server : nameServers)
        lines << QStringLiteral("@     IN     NS     ") + server;
    lines << QStringLiteral(";[Host Addresses]");
    QStringList ipv6;
    for (const TestHost& host : hosts) {
        if (host.address.contains(QLatin1Char(':')))
            ipv6 << host.owner + QStringLiteral("     IN     AAAA     ") + host.address;
        else
            lines << host.owner + QStringLiteral("     IN     A     ") + host.address + QLatin1Char(' ');
    }
    lines << QStringLiteral(";");
    // The host editor keeps IPv6 addresses among the other records, with absolute owners.
    if (!ipv6.isEmpty())
        lines << QStringLiteral(";[Other Records]") << ipv6 << QStringLiteral(";");
    QVERIFY(writeBytes(dataFile(name + QStringLiteral(".DNS")), crlfLines(lines)));
    if (!zoneNames.contains(name))
        zoneNames << name;
}

void ReverseServer::load()
{
    QStringList lines{QStringLiteral("directory     ") + dataPath() + QLatin1Char(' '),
                      QStringLiteral("cache       .     cache.dns ")};
    for (const QString& name : std::as_const(zoneNames))
        lines << QStringLiteral("primary     ") + name + QStringLiteral("     ") + name + QStringLiteral(".DNS");
    lines << state.boot.reversePrimaryLines;
    QVERIFY(writeBytes(bootFile(), crlfLines(lines)));
    BootContext context{state, store, prompter};
    QVERIFY(readBootFile(context, false).ok());
}

ReverseResult ReverseServer::generate()
{
    ReverseContext context{state, store, prompter, stage, chooser};
    return generateReverseMapping(context);
}
