// The history of a server's files: what recording adds to saving a one-record change in a zone of 100,000
// records (target: under 100 ms), and how large the history of a year of daily changes to a server of 10,000
// zones grows against the size of its files (target: under two copies of them).
// Usage: historybench [RECORDS] [ZONES] [DAYS] (100000, 10000 and 365 by default)

#include "bootfile/bootconfig.h"
#include "platform/filereplacement.h"
#include "server/history/serverhistory.h"
#include "server/serverchange.h"
#include "session/appstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace {

QByteArray zoneText(const QString& zone, int serial, int hosts, int extra)
{
    QByteArray text = ";[*-Quorvane-*]\r\n;[SOA]\r\n" + zone.toLatin1() + ". IN     SOA     ns1." + zone.toLatin1() +
                      ". hostmaster." + zone.toLatin1() + ". (\r\n" + QByteArray::number(serial) +
                      "\r\n1080\r\n3600\r\n604800\r\n86400 )\r\n;\r\n;[Name Servers]\r\n" + zone.toLatin1() +
                      ".     IN     NS     ns1." + zone.toLatin1() + ".\r\n;\r\n;[Host Addresses]\r\n";
    for (int i = 0; i < hosts + extra; ++i)
        text += "host" + QByteArray::number(i) + '.' + zone.toLatin1() + ".     IN     A     10." +
                QByteArray::number(i / 65536 % 256) + '.' + QByteArray::number(i / 256 % 256) + '.' +
                QByteArray::number(i % 256) + " \r\n";
    return text + ";\r\n";
}

// A server of the zones in a folder of its own: the boot file beside the data directory.
AppState serverState(const QString& root, const QStringList& zones)
{
    AppState state;
    state.servername = QStringLiteral("ns1");
    state.boot.bootDirectory = root;
    state.zoneLists.datapath = QDir(root).filePath(QStringLiteral("data"));
    QDir().mkpath(state.zoneLists.datapath);
    for (const QString& zone : zones) {
        state.zoneLists.primdns << zone;
        state.zoneLists.primfiles << zone + QStringLiteral(".dns");
    }
    return state;
}

QByteArray bootText(const AppState& state)
{
    QByteArray text = "directory " + state.zoneLists.datapath.toLatin1() + "\r\ncache . cache.dns\r\n";
    for (qsizetype i = 0; i < state.zoneLists.primdns.size(); ++i)
        text += "primary     " + state.zoneLists.primdns.at(i).toLatin1() + "     " +
                state.zoneLists.primfiles.at(i).toLatin1() + "\r\n";
    return text;
}

bool write(const QString& path, const QByteArray& bytes)
{
    const FileWriteResult result = replaceFile(path, bytes);
    if (!result.ok)
        std::fprintf(stderr, "%s\n", qPrintable(result.errorText));
    return result.ok;
}

// Bytes as the files say, and bytes the disk gives them.
struct Size
{
    qint64 apparent = 0;
    qint64 allocated = 0;
};

Size sizeOf(const QString& folder, const QString& skip = QString())
{
    Size size;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!skip.isEmpty() && file.startsWith(skip))
            continue;
        struct stat info;
        if (::stat(QFile::encodeName(file).constData(), &info) == 0) {
            size.apparent += info.st_size;
            size.allocated += qint64(info.st_blocks) * 512;
        }
    }
    return size;
}

// Milliseconds of processor time this process has used: the wall clock of a machine shared with other work
// also counts the waits for its disk.
double cpuMs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int largeZone(const QString& root, int records)
{
    const QString zone = QStringLiteral("big.example");
    const AppState state = serverState(root, {zone});
    const QString boot = QDir(root).filePath(BootConfig::fileName());
    const QString file = QDir(state.zoneLists.datapath).filePath(zone + QStringLiteral(".dns"));
    if (!write(boot, bootText(state)) || !write(file, zoneText(zone, 1, records, 0)))
        return 1;
    {
        // The first hold makes the history with the files as found.
        const ServerChange change(state);
        if (!write(file, zoneText(zone, 2, records, 0)))
            return 1;
    }
    constexpr int kRounds = 9;
    std::vector<double> plain;
    std::vector<double> recorded;
    std::vector<double> plainCpu;
    std::vector<double> recordedCpu;
    QElapsedTimer timer;
    for (int round = 0; round < kRounds; ++round) {
        // The save alone, as before the history: one record more, the serial raised.
        const QByteArray saved = zoneText(zone, 3 + 2 * round, records, 1 + 2 * round);
        const QByteArray changed = zoneText(zone, 4 + 2 * round, records, 2 + 2 * round);
        double cpu = cpuMs();
        timer.start();
        if (!write(file, saved))
            return 1;
        plain.push_back(double(timer.nsecsElapsed()) / 1e6);
        plainCpu.push_back(cpuMs() - cpu);
        cpu = cpuMs();
        timer.start();
        {
            const ServerChange change(state);
            if (!write(file, changed))
                return 1;
        }
        recorded.push_back(double(timer.nsecsElapsed()) / 1e6);
        recordedCpu.push_back(cpuMs() - cpu);
    }
    ServerHistory history(root, state.zoneLists.datapath);
    const std::optional<QList<Revision>> revisions = history.revisions();
    const double added = median(recorded) - median(plain);
    const double addedCpu = median(recordedCpu) - median(plainCpu);
    std::printf("one-record change in a zone of %d records (%.1f MB): save %.1f ms, save and record %.1f ms, "
                "recording adds %.1f ms (%.1f ms of processor time) (target < 100 ms): %s; %lld revisions\n",
                records, double(QFileInfo(file).size()) / 1e6, median(plain), median(recorded), added, addedCpu,
                added < 100 ? "met" : "MISSED", revisions ? qlonglong(revisions->size()) : -1LL);
    return revisions ? 0 : 1;
}

int yearOfChanges(const QString& root, int zones, int days)
{
    QStringList names;
    for (int i = 0; i < zones; ++i)
        names << QStringLiteral("zone%1.example").arg(i, 5, 10, QLatin1Char('0'));
    const AppState state = serverState(root, names);
    const QString boot = QDir(root).filePath(BootConfig::fileName());
    const QByteArray bootBytes = bootText(state);
    if (!write(boot, bootBytes) ||
        !write(QDir(state.zoneLists.datapath).filePath(QStringLiteral("cache.dns")), ". IN NS a.root-servers.net.\r\n"))
        return 1;
    std::vector<int> extra(size_t(zones), 0);
    for (int i = 0; i < zones; ++i) {
        if (!write(QDir(state.zoneLists.datapath).filePath(state.zoneLists.primfiles.at(i)),
                   zoneText(names.at(i), 1, 8, 0)))
            return 1;
    }
    QElapsedTimer timer;
    timer.start();
    std::vector<double> daily;
    std::srand(20261207);
    for (int day = 0; day < days; ++day) {
        const int zone = std::rand() % zones;
        QElapsedTimer one;
        one.start();
        // A day's change as a save makes it: the zone with one host more, then the boot file.
        const ServerChange change(state);
        ++extra[size_t(zone)];
        if (!write(QDir(state.zoneLists.datapath).filePath(state.zoneLists.primfiles.at(zone)),
                   zoneText(names.at(zone), 2 + day, 8, extra[size_t(zone)])) ||
            !write(boot, bootBytes))
            return 1;
        if (day > 0)
            daily.push_back(double(one.nsecsElapsed()) / 1e6);
    }
    const double seconds = double(timer.elapsed()) / 1000;
    const QString gitDir = ServerHistory::gitDirectory(state.zoneLists.datapath);
    const Size files =
        sizeOf(state.zoneLists.datapath, QDir(state.zoneLists.datapath).filePath(QStringLiteral("dnsbackup")));
    const Size bootSize = sizeOf(root, state.zoneLists.datapath);
    const Size history = sizeOf(gitDir);
    const qint64 filesApparent = files.apparent + bootSize.apparent;
    const qint64 filesAllocated = files.allocated + bootSize.allocated;
    ServerHistory reader(root, state.zoneLists.datapath);
    const std::optional<QList<Revision>> revisions = reader.revisions();
    std::printf("a year of daily changes to %d zones (%d days, %.1f s, %.1f ms a day): files %.1f MB (%.1f MB on "
                "disk), history %.1f MB (%.1f MB on disk) = %.2f (%.2f on disk) copies of the files (target < 2): "
                "%s; %lld revisions\n",
                zones, days, seconds, median(daily), double(filesApparent) / 1e6, double(filesAllocated) / 1e6,
                double(history.apparent) / 1e6, double(history.allocated) / 1e6,
                double(history.apparent) / double(filesApparent), double(history.allocated) / double(filesAllocated),
                history.apparent < 2 * filesApparent && history.allocated < 2 * filesAllocated ? "met" : "MISSED",
                revisions ? qlonglong(revisions->size()) : -1LL);
    return revisions ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int zones = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int days = argc > 3 ? std::atoi(argv[3]) : 365;
    QTemporaryDir dir;
    const QString large = QDir(dir.path()).filePath(QStringLiteral("large"));
    const QString many = QDir(dir.path()).filePath(QStringLiteral("many"));
    QDir().mkpath(large);
    QDir().mkpath(many);
    if (largeZone(large, records) != 0)
        return 1;
    return yearOfChanges(many, zones, days);
}
