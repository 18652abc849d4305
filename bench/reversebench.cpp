// Reverse mapping generation over a large server: 1,000 primary zones holding 200,000 hosts in 2,000 networks,
// 1,000 addresses of them shared by two hosts each and settled by a scripted answer; then the same with twice
// the hosts (and twice the shared addresses); then 200,000 hosts of both families, every other one an IPv6
// host (an AAAA record among the other records) in 2,000 /64 networks. The time covers the whole run: reading
// every zone, the questions, writing every reverse file and the boot file, and reading the boot file again.
// Usage: reversebench [HOSTS] [RUNS]   (targets for 200,000 hosts: under 3 s, twice the hosts at most 2.2 times;
// 200,000 hosts of both families under 1.5 s). The server lies under TMPDIR: on a tmpfs the times are the
// program's own; on a disk the file system's creation of the 2,002 files and of the history's objects is added,
// which on a busy shared disk can take longer than the rest together.

#include "platform/latin1lines.h"
#include "platform/prompter.h"
#include "platform/settingsstore.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "server/bootload.h"
#include "session/appstate.h"
#include "zone/zonefileio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kZones = 1000;
constexpr int kNetworks = 2000;

// Answers every host-name question with the first name; any other prompt is a failure of the benchmark.
class ScriptedAnswers : public Prompter
{
public:
    Button message(const QString& caption, const QString& text, Buttons, Icon) override
    {
        std::fprintf(stderr, "unexpected prompt: %s: %s\n", qPrintable(caption), qPrintable(text));
        std::exit(1);
    }
    Button askQuestion(const QString&, bool) override { return Button::Cancel; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> pick(const QString&, const QStringList&) override
    {
        ++picks;
        return 0;
    }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }

    int picks = 0;
};

QString addressOf(int host)
{
    const int network = host % kNetworks;
    return QStringLiteral("10.%1.%2.%3").arg(network / 250).arg(network % 250).arg(host / kNetworks + 1);
}

QString ipv6AddressOf(int host)
{
    const int network = host % kNetworks;
    return QStringLiteral("2001:db8:%1:%2::%3").arg(network / 250).arg(network % 250).arg(host / kNetworks + 1, 0, 16);
}

// Writes the zones and the boot file; the last `shared` hosts take the addresses of the first ones. With mixed,
// every odd host is an IPv6 one, written as the host editor writes it.
void generate(const QString& root, int hosts, int shared, bool mixed = false)
{
    const QString data = QDir(root).filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    QList<QStringList> zones(kZones);
    for (int z = 0; z < kZones; ++z) {
        zones[z] << QStringLiteral("@ IN     SOA     ns1.z0.com. hostmaster.z0.com. (") << QStringLiteral("2026120701")
                 << QStringLiteral("1080") << QStringLiteral("3600") << QStringLiteral("604800")
                 << QStringLiteral("86400 )") << QStringLiteral("@     IN     NS     ns1.z0.com.");
    }
    zones[0] << QStringLiteral("ns1     IN     A     10.9.0.1 ");
    QList<QStringList> others(kZones);
    for (int i = 0; i < hosts; ++i) {
        const int of = i >= hosts - shared ? i - (hosts - shared) : i;
        if (mixed && of % 2 == 1) {
            others[i % kZones] << QStringLiteral("h%1.z%2.com.     IN     AAAA     ").arg(i).arg(i % kZones) +
                                      ipv6AddressOf(of);
            continue;
        }
        zones[i % kZones] << QStringLiteral("h%1     IN     A     ").arg(i) + addressOf(of) + QLatin1Char(' ');
    }
    for (int z = 0; z < kZones; ++z) {
        if (!others.at(z).isEmpty())
            zones[z] << QStringLiteral(";[Other Records]") << others.at(z) << QStringLiteral(";");
    }
    QStringList boot{QStringLiteral("directory     ") + data + QLatin1Char(' '),
                     QStringLiteral("cache       .     cache.dns ")};
    for (int z = 0; z < kZones; ++z) {
        const QString name = QStringLiteral("z%1.com").arg(z);
        replaceFile(QDir(data).filePath(name + QStringLiteral(".dns")), crlfLines(zones.at(z)));
        boot << QStringLiteral("primary     ") + name + QStringLiteral("     ") + name + QStringLiteral(".dns");
    }
    replaceFile(QDir(data).filePath(QStringLiteral("cache.dns")), QByteArray());
    replaceFile(QDir(root).filePath(QStringLiteral("named.boot")), crlfLines(boot));
}

struct Measure
{
    double medianMs = 0;
    int picks = 0;
    int files = 0;
};

Measure measure(int hosts, int shared, int runs, bool mixed = false)
{
    QTemporaryDir root;
    generate(root.path(), hosts, shared, mixed);
    SettingsStore store(root.filePath(QStringLiteral("settings.ini")));
    AppState state;
    ScriptedAnswers prompter;
    state.pendingServerId = QStringLiteral("ns1@ns1.z0.com.");
    state.pendingBootFilePath = root.filePath(QStringLiteral("named.boot"));
    state.zoneLists.firstzone = QStringLiteral("ns1.z0.com.");
    state.emailaddr = QStringLiteral("hostmaster@z0.com");
    BootContext boot{state, store, prompter};
    if (!readBootFile(boot, false).ok()) {
        std::fprintf(stderr, "the boot file could not be read\n");
        std::exit(1);
    }
    QList<double> times;
    Measure result;
    for (int run = 0; run < runs; ++run) {
        // A new serial makes every file new, as after any zone save: every file is written in every run.
        state.zoneLists.reverseignore.clear();
        state.setup.runningSerial = QString::number(2026120701 + run);
        prompter.picks = 0;
        NullStage stage;
        PrompterHostNameChooser chooser(prompter);
        ReverseContext context{state, store, prompter, stage, chooser};
        QElapsedTimer timer;
        timer.start();
        const ReverseResult generated = generateReverseMapping(context);
        times << double(timer.nsecsElapsed()) / 1e6;
        if (!generated.ok) {
            std::fprintf(stderr, "generation failed: %s\n", qPrintable(generated.errorText));
            std::exit(1);
        }
        result.picks = prompter.picks;
        result.files = int(generated.filesWritten.size());
    }
    std::sort(times.begin(), times.end());
    result.medianMs = times.at(times.size() / 2);
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int hosts = argc > 1 ? std::atoi(argv[1]) : 200000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const int shared = 1000 * hosts / 200000;

    const Measure once = measure(hosts, shared, runs);
    std::printf("%d hosts, %d shared: %.0f ms (%d questions, %d files)\n", hosts, shared, once.medianMs, once.picks,
                once.files);
    const Measure twice = measure(2 * hosts, 2 * shared, runs);
    std::printf("%d hosts, %d shared: %.0f ms (%d questions, %d files)\n", 2 * hosts, 2 * shared, twice.medianMs,
                twice.picks, twice.files);
    const double ratio = twice.medianMs / once.medianMs;
    std::printf("ratio %.2f\n", ratio);
    const Measure mixed = measure(hosts, shared, runs, true);
    std::printf("%d hosts of both families, %d shared: %.0f ms (%d questions, %d files)\n", hosts, shared,
                mixed.medianMs, mixed.picks, mixed.files);
    const bool met = once.medianMs < 3000 && ratio <= 2.2 && once.picks == shared && twice.picks == 2 * shared &&
                     mixed.medianMs < 1500 && mixed.picks == shared;
    std::printf("%s\n", met ? "targets met" : "targets NOT met");
    return met ? 0 : 1;
}
