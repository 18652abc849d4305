// Reading and saving a zone written elsewhere beside one of the program's own layout holding the same records.
// Usage: foreignzonebench DIR RECORDS [RUNS]   (processor time of the reading thread, medians)
// Writes DIR/own.dns in the program's layout and DIR/foreign.db as another tool writes zones ($ORIGIN, $TTL,
// records without an owner or a class, parentheses, times to live of their own), both zone bench.example. Each
// run reads and saves each file once (the foreign file is put back before each of its runs, since its first
// save turns it into the program's layout). Prints the median time of each in milliseconds and their ratio;
// exits 1 when the ratio is above 1.5 or the zones do not hold the same records.

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
#include <ctime>

namespace {

QString address(int i)
{
    return QStringLiteral("10.%1.%2.%3").arg((i >> 16) & 255).arg((i >> 8) & 255).arg(i & 255);
}

// The record mix of the zone file benchmark: a tenth persons with their texts, a fifth aliases, 500 name
// servers and 2,000 mail servers, the rest hosts; a twentieth of the hosts carry a time to live of their own,
// which the program's layout keeps under "Other Records".
struct Mix
{
    explicit Mix(int records)
        : pairs(records / 20), aliases(records / 5), hosts(records - 2 * pairs - nameServers - mailServers - aliases)
    {
    }
    const int nameServers = 500;
    const int mailServers = 2000;
    const int pairs;
    const int aliases;
    const int hosts;
};

bool ownTtl(int host)
{
    return host % 20 == 7;
}

QByteArray ownLayout(const Mix& mix)
{
    ZoneModel zone;
    zone.defaultTtl = QStringLiteral("86400");
    zone.sourceofauth = SoaRecord(QStringList{"bench.example.", "host0.bench.example.", "hostmaster.bench.example.",
                                              "2026120701", "10800", "3600", "604800", "86400"});
    for (int i = 0; i < mix.hosts; ++i) {
        const QString host = QStringLiteral("host%1.bench.example.").arg(i);
        if (ownTtl(i))
            zone.otherrecords.append(host + QStringLiteral("     300     IN     A     ") + address(i) +
                                     QLatin1Char(' '));
        else
            zone.hostaddrs.appendLine(hostAddressLine(host, address(i)));
    }
    for (int i = 0; i < mix.nameServers; ++i)
        zone.nameservers.appendLine(nameServerZoneLine(QStringLiteral("bench.example"),
                                                       QStringLiteral("host%1.bench.example.").arg(i % mix.hosts)));
    for (int i = 0; i < mix.mailServers; ++i)
        zone.mailservers.appendLine(mailServerZoneLine(QStringLiteral("bench.example"), QString::number(i),
                                                       QStringLiteral("host%1.bench.example.").arg(i % mix.hosts)));
    for (int i = 0; i < mix.aliases; ++i)
        zone.aliases.appendLine(aliasLine(QStringLiteral("alias%1.bench.example.").arg(i),
                                          QStringLiteral("host%1.bench.example.").arg(i % mix.hosts)));
    for (int i = 0; i < mix.pairs; ++i) {
        const QString person = QStringLiteral("person%1.bench.example.").arg(i);
        zone.appendResponsible(responsiblePersonLine(person, person, person),
                               textRecordLine(person, QStringLiteral("\"Room %1\"").arg(i)));
    }
    return zoneFileBytes(zone);
}

QByteArray foreignLayout(const Mix& mix)
{
    QByteArray out = "; written by another tool\n$ORIGIN bench.example.\n$TTL 1d\n"
                     "@\tIN\tSOA\thost0 hostmaster (\n\t\t2026120701 ; serial\n\t\t3h 1h 1w 1d )\n";
    for (int i = 0; i < mix.nameServers; ++i)
        out += "\t\tNS\thost" + QByteArray::number(i % mix.hosts) + "\n";
    for (int i = 0; i < mix.mailServers; ++i)
        out += "\t\tMX\t" + QByteArray::number(i) + " host" + QByteArray::number(i % mix.hosts) + "\n";
    out += "$ORIGIN example.\n";
    for (int i = 0; i < mix.hosts; ++i) {
        out += "host" + QByteArray::number(i) + ".bench";
        out += ownTtl(i) ? "\t300\tA\t" : "\tA\t";
        out += address(i).toLatin1() + '\n';
    }
    out += "$ORIGIN bench.example.\n";
    for (int i = 0; i < mix.aliases; ++i)
        out += "alias" + QByteArray::number(i) + "\tIN CNAME\thost" + QByteArray::number(i % mix.hosts) + "\n";
    for (int i = 0; i < mix.pairs; ++i) {
        const QByteArray person = "person" + QByteArray::number(i);
        out += person + "\tRP\t" + person + " " + person + "\n\t\tTXT\t\"Room " + QByteArray::number(i) + "\"\n";
    }
    return out;
}

// The processor time of this thread, which other work on the machine disturbs far less than the clock.
qint64 threadNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// One zone file read and saved again and again, the file put back before each run.
class Subject
{
public:
    Subject(const QString& dir, const QString& fileName, QByteArray bytes)
        : m_path(QDir(dir).filePath(fileName)), m_bytes(std::move(bytes))
    {
        m_state.zoneLists.datapath = dir;
        m_state.selection.primfilename = fileName;
        m_state.setup.runningSerial = QStringLiteral("2026120701");
    }

    void run()
    {
        if (!replaceFile(m_path, m_bytes).ok)
            std::exit(1);
        QElapsedTimer clock;
        clock.start();
        const qint64 start = threadNanoseconds();
        if (loadZone(m_context, m_state.selection.primfilename, QStringLiteral("bench.example")) !=
            ZoneLoadStatus::Loaded)
            std::exit(1);
        if (!saveZone(m_context).ok())
            std::exit(1);
        m_times << threadNanoseconds() - start;
        m_clockTimes << clock.nsecsElapsed();
    }

    // Processor time; the clock's time, which also waits for the disk, with clock true.
    qint64 median(bool clock = false)
    {
        QList<qint64>& times = clock ? m_clockTimes : m_times;
        std::sort(times.begin(), times.end());
        return times.at(times.size() / 2);
    }

    int records() const
    {
        const ZoneModel& zone = m_state.zone;
        return zone.nameservers.count() + zone.mailservers.count() + zone.hostaddrs.count() + zone.aliases.count() +
               zone.responsible.count() + zone.textfiles.count() + zone.otherrecords.count();
    }

private:
    QString m_path;
    QByteArray m_bytes;
    AppState m_state;
    SilentPrompter m_prompter;
    NullProgress m_progress;
    ZoneContext m_context{m_state, m_prompter, m_progress, {}, {}};
    QList<qint64> m_times;
    QList<qint64> m_clockTimes;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: foreignzonebench DIR RECORDS [RUNS]\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const Mix mix(std::atoi(argv[2]));
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    Subject own(dir, QStringLiteral("own.dns"), ownLayout(mix));
    Subject foreign(dir, QStringLiteral("foreign.db"), foreignLayout(mix));
    // One after the other, so that whatever else the machine does weighs on both alike.
    for (int run = 0; run < runs; ++run) {
        own.run();
        foreign.run();
    }
    const qint64 ownTime = own.median();
    const qint64 foreignTime = foreign.median();
    const double ratio = double(foreignTime) / double(ownTime);
    std::printf("records %d, processor time: own layout read+save %.1f ms  foreign read+save %.1f ms  ratio %.2f "
                "(target <= 1.5)\n",
                own.records(), ownTime / 1e6, foreignTime / 1e6, ratio);
    std::printf("clock time, with the disk: own layout %.1f ms  foreign %.1f ms  ratio %.2f\n", own.median(true) / 1e6,
                foreign.median(true) / 1e6, double(foreign.median(true)) / double(own.median(true)));
    if (own.records() != foreign.records()) {
        std::fprintf(stderr, "the foreign zone holds %d records\n", foreign.records());
        return 1;
    }
    return ratio <= 1.5 ? 0 : 1;
}
