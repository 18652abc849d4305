// The "Forward and Reverse" check over a server of 10,000 hosts of both families: 100 primary zones of 100
// hosts each, every other host an IPv6 one, with their reverse zones generated, then 1% of the pointers made to
// name a name that has no address. The time covers the whole check: reading every forward zone and every
// reverse zone and comparing them.
// Usage: forwardreversebench [HOSTS] [RUNS]   (target for 10,000 hosts: under 2 s)

#include "platform/filereplacement.h"
#include "platform/latin1lines.h"
#include "platform/settingsstore.h"
#include "platform/stage.h"
#include "reverse/forwardreversecheck.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "server/bootload.h"
#include "session/appstate.h"
#include "silentprompter.h"
#include "zone/zonefileio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kZones = 100;

QString addressOf(int host)
{
    return QStringLiteral("10.%1.%2.%3").arg(host / 50000).arg(host / 250 % 200).arg(host % 250 + 1);
}

QString ipv6AddressOf(int host)
{
    return QStringLiteral("2001:db8:%1::%2").arg(host / 500, 0, 16).arg(host % 500 + 1, 0, 16);
}

void generate(const QString& root, int hosts)
{
    const QString data = QDir(root).filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    QStringList boot{QStringLiteral("directory     ") + data + QLatin1Char(' '),
                     QStringLiteral("cache       .     cache.dns ")};
    for (int z = 0; z < kZones; ++z) {
        const QString name = QStringLiteral("z%1.com").arg(z);
        QStringList lines{QStringLiteral(";[*-Quorvane-*]"),
                          QStringLiteral("@ IN     SOA     ns1.z0.com. hostmaster.z0.com. ("),
                          QStringLiteral("2026120701"),
                          QStringLiteral("1080"),
                          QStringLiteral("3600"),
                          QStringLiteral("604800"),
                          QStringLiteral("86400 )"),
                          QStringLiteral("@     IN     NS     ns1.z0.com.")};
        if (z == 0)
            lines << QStringLiteral("ns1     IN     A     10.9.0.1 ");
        QStringList others;
        for (int i = z; i < hosts; i += kZones) {
            if (i % 2 == 1)
                others << QStringLiteral("h%1.%2.     IN     AAAA     ").arg(i).arg(name) + ipv6AddressOf(i);
            else
                lines << QStringLiteral("h%1     IN     A     ").arg(i) + addressOf(i) + QLatin1Char(' ');
        }
        lines << QStringLiteral(";[Other Records]") << others << QStringLiteral(";");
        replaceFile(QDir(data).filePath(name + QStringLiteral(".dns")), crlfLines(lines));
        boot << QStringLiteral("primary     ") + name + QStringLiteral("     ") + name + QStringLiteral(".dns");
    }
    replaceFile(QDir(data).filePath(QStringLiteral("cache.dns")), QByteArray());
    replaceFile(QDir(root).filePath(QStringLiteral("named.boot")), crlfLines(boot));
}

// Takes every hundredth pointer line out of the generated files and puts in one that names no host instead.
int plantDefects(const QString& data)
{
    int planted = 0;
    for (const QString& name : QDir(data).entryList({QStringLiteral("*.reverse.DNS")}, QDir::Files)) {
        const QString path = QDir(data).filePath(name);
        QStringList lines = readTextFile(path).value_or(QStringList());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (!lines.at(i).contains(QLatin1String("     IN     PTR     ")) || (i * 7919) % 100 != 0)
                continue;
            lines[i] = lines.at(i).section(QLatin1Char(' '), 0, 0) + QStringLiteral("     IN     PTR     gone.z0.com.");
            ++planted;
        }
        replaceFile(path, crlfLines(lines));
    }
    return planted;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int hosts = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    QTemporaryDir root;
    generate(root.path(), hosts);
    SettingsStore store(root.filePath(QStringLiteral("settings.ini")));
    AppState state;
    SilentPrompter prompter;
    state.pendingServerId = QStringLiteral("ns1@ns1.z0.com.");
    state.pendingBootFilePath = root.filePath(QStringLiteral("named.boot"));
    state.zoneLists.firstzone = QStringLiteral("ns1.z0.com.");
    state.emailaddr = QStringLiteral("hostmaster@z0.com");
    state.setup.runningSerial = QStringLiteral("2026120701");
    BootContext boot{state, store, prompter};
    if (!readBootFile(boot, false).ok()) {
        std::fprintf(stderr, "the boot file could not be read\n");
        return 1;
    }
    NullStage stage;
    PrompterHostNameChooser chooser(prompter);
    ReverseContext reverse{state, store, prompter, stage, chooser};
    if (!generateReverseMapping(reverse).ok) {
        std::fprintf(stderr, "reverse generation failed\n");
        return 1;
    }
    const int planted = plantDefects(state.zoneLists.datapath);
    QList<double> times;
    ConsistencyReport report;
    for (int run = 0; run < runs; ++run) {
        ConsistencyContext context{state, &store, prompter};
        QElapsedTimer timer;
        timer.start();
        report = checkForwardReverse(context);
        times << double(timer.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    const double median = times.at(times.size() / 2);
    // Each planted pointer names another name than the host of its address: one finding each.
    const bool found = report.findings.size() == planted && report.problems.isEmpty();
    std::printf("%d hosts, %d pointers, %d planted defects: %lld findings in %.0f ms\n", report.hostCount,
                report.pointerCount, planted, qsizetype(report.findings.size()), median);
    const bool met = found && median < 2000;
    std::printf("%s\n", met ? "targets met" : "targets NOT met");
    return met ? 0 : 1;
}
