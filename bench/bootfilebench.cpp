// Reading and rewriting the boot file of a server with many primary zones, as loading a server does.
// Usage: bootfilebench [ZONES] [RUNS]

#include "bootfile/bootwriter.h"
#include "platform/settingsstore.h"
#include "server/bootload.h"
#include "session/appstate.h"
#include "silentprompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>

namespace {

// A foreign boot file: tabs and single blanks, zones in random order, a few secondaries and options.
QByteArray foreignBootFile(const QString& dataDir, int zones)
{
    QList<int> order(zones);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
    QByteArray text = "directory\t" + dataDir.toLatin1() + "\r\ncache . cache.dns\r\n;OS: Windows NT 4.X\r\n";
    for (const int i : std::as_const(order))
        text += "primary\tZone" + QByteArray::number(i) + ".example.com\tzone" + QByteArray::number(i) + ".dns\r\n";
    for (int i = 0; i < 100; ++i)
        text += "secondary sec" + QByteArray::number(i) + ".example.net 10.0.0.1 10.0.0.2 sec" + QByteArray::number(i) +
                ".bak\r\n";
    text += "forwarders 10.1.1.1 10.1.1.2\r\noptions forward-only\r\n";
    return text;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int zones = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 7;

    QTemporaryDir root;
    const QString dataDir = root.filePath(QStringLiteral("data"));
    const QString bootDir = root.filePath(QStringLiteral("win"));
    QDir().mkpath(dataDir);
    QDir().mkpath(bootDir);
    for (int i = 0; i < zones; ++i) {
        QFile zone(QDir(dataDir).filePath(QStringLiteral("zone%1.dns").arg(i)));
        if (!zone.open(QIODevice::WriteOnly))
            return 1;
    }
    QFile(QDir(dataDir).filePath(QStringLiteral("cache.dns"))).open(QIODevice::WriteOnly);

    const QString bootFile = QDir(bootDir).filePath(QStringLiteral("named.boot"));
    const QByteArray foreign = foreignBootFile(dataDir, zones);
    SettingsStore store(root.filePath(QStringLiteral("settings.ini")));
    SilentPrompter prompter;

    QList<double> firstLoads;
    QList<double> laterLoads;
    for (int run = 0; run < runs; ++run) {
        QFile file(bootFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(foreign) != foreign.size())
            return 1;
        file.close();
        for (QList<double>* times : {&firstLoads, &laterLoads}) {
            AppState state;
            state.pendingBootFilePath = bootFile;
            state.pendingServerId = QStringLiteral("ns1@ns1.example.com.");
            BootContext context{state, store, prompter};
            QElapsedTimer timer;
            timer.start();
            const BootReadResult result = readBootFile(context, false);
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            if (!result.ok() || state.zoneLists.primdns.size() != zones) {
                std::fprintf(stderr, "reading failed\n");
                return 1;
            }
            times->append(ms);
        }
    }
    std::printf("%d primary zones, median of %d runs\n", zones, runs);
    std::printf("  foreign boot file, read + rewrite:        %8.1f ms\n", median(firstLoads));
    std::printf("  program's own layout, read + rewrite:     %8.1f ms\n", median(laterLoads));
    return 0;
}
