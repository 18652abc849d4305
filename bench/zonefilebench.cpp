// Reading and saving one large zone file, as every edit of a record does.
// Usage: zonefilebench DIR RECORDS [RUNS]
// Writes DIR/bench.dns (zone bench.example) with RECORDS records in the program's layout, then reads and saves
// it RUNS times and prints the median time in milliseconds of one reading plus one save.

#include "platform/progress.h"
#include "server/zoneload.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "silentprompter.h"
#include "zone/recordlines.h"
#include "zone/zonefileio.h"
#include "zone/zonereader.h"
#include "zone/zonewriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QString address(int i)
{
    return QStringLiteral("10.%1.%2.%3").arg((i >> 16) & 255).arg((i >> 8) & 255).arg(i & 255);
}

// A tenth of the records are responsible persons with their text records, a fifth aliases, 500 name servers
// and 2,000 mail servers (all owned by the zone itself, whose record sets a name server holds to 64 KB), the
// rest hosts; every name and mail server points at a host of the zone.
ZoneModel generatedZone(int records)
{
    const int pairs = records / 20;
    const int nameServers = 500;
    const int mailServers = 2000;
    const int aliases = records / 5;
    const int hosts = records - 2 * pairs - nameServers - mailServers - aliases;

    ZoneModel zone;
    zone.sourceofauth = SoaRecord(QStringList{"@", "host0.bench.example.", "hostmaster.bench.example.", "2026120701",
                                              "10800", "3600", "604800", "86400"});
    for (int i = 0; i < hosts; ++i)
        zone.hostaddrs.appendLine(hostAddressLine(QStringLiteral("host%1.bench.example.").arg(i), address(i)));
    for (int i = 0; i < nameServers; ++i)
        zone.nameservers.appendLine(nameServerAtLine(QStringLiteral("host%1.bench.example.").arg(i % hosts)));
    for (int i = 0; i < mailServers; ++i)
        zone.mailservers.appendLine(
            mailServerAtLine(QString::number(i), QStringLiteral("host%1.bench.example.").arg(i % hosts)));
    for (int i = 0; i < aliases; ++i)
        zone.aliases.appendLine(aliasLine(QStringLiteral("alias%1.bench.example.").arg(i),
                                          QStringLiteral("host%1.bench.example.").arg(i % hosts)));
    for (int i = 0; i < pairs; ++i) {
        const QString person = QStringLiteral("person%1").arg(i);
        const QString mailbox = person + QStringLiteral(".bench.example");
        zone.appendResponsible(responsiblePersonLine(person, mailbox, mailbox),
                               textRecordLine(person, QStringLiteral("\"Room %1\"").arg(i)));
    }
    return zone;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: zonefilebench DIR RECORDS [RUNS]\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const int records = std::atoi(argv[2]);
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    const QString fileName = QStringLiteral("bench.dns");
    if (!replaceFile(QDir(dir).filePath(fileName), zoneFileBytes(generatedZone(records))).ok)
        return 1;

    AppState state;
    state.zoneLists.datapath = dir;
    state.selection.primfilename = fileName;
    state.setup.runningSerial = QStringLiteral("2026120701");
    SilentPrompter prompter;
    NullProgress progress;
    ZoneContext context{state, prompter, progress, {}, {}};

    QList<qint64> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        if (loadZone(context, fileName, QStringLiteral("bench.example")) != ZoneLoadStatus::Loaded)
            return 1;
        if (!saveZone(context).ok())
            return 1;
        times << timer.nsecsElapsed();
    }
    std::sort(times.begin(), times.end());
    const int kept = state.zone.nameservers.count() + state.zone.mailservers.count() + state.zone.hostaddrs.count() +
                     state.zone.aliases.count() + state.zone.responsible.count() + state.zone.textfiles.count();
    std::printf("records %d read+save %.1f ms\n", kept, times.at(times.size() / 2) / 1e6);
    return kept == records ? 0 : 1;
}
