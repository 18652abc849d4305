// The BIND 9 configuration export of a server with 10,000 primary and 1,000 secondary zones (target: under
// 200 ms), beside named-checkconf reading the result.
// Usage: exportbench [PRIMARIES] [SECONDARIES] [RUNS]

#include "bind9/namedconfexport.h"
#include "bootfile/bootconfig.h"
#include "operations/bootoptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

BootConfig generatedServer(const QString& dataDir, int primaries, int secondaries)
{
    BootConfig boot;
    boot.bootDirectory = QFileInfo(dataDir).absolutePath() + QLatin1Char('/');
    boot.bootFileName = BootConfig::fileName();
    boot.cacheFile = QStringLiteral("cache.dns");
    QFile(QDir(dataDir).filePath(QStringLiteral("cache.dns"))).open(QIODevice::WriteOnly);
    for (int i = 0; i < primaries; ++i) {
        // The files lie on disk in capitals, as a boot file written elsewhere may name them in lower case.
        const QString file = QStringLiteral("ZONE%1.EXAMPLE.COM.DNS").arg(i);
        QFile zone(QDir(dataDir).filePath(file));
        zone.open(QIODevice::WriteOnly);
        zone.write("@ IN SOA ns1.example.com. hostmaster.example.com. ( 1 3600 600 86400 300 )\r\n"
                   "@ IN NS ns1.example.com.\r\n");
        boot.primaryEntries << QStringLiteral("zone%1.example.com     %2").arg(i).arg(file.toLower());
    }
    for (int i = 0; i < secondaries; ++i)
        boot.secondaryEntries
            << QStringLiteral("sec%1.example.net     10.0.0.1 10.0.0.2     sec%1.example.net.DNS").arg(i);
    BootOptions options;
    options.forwarders = {QStringLiteral("10.1.1.1"), QStringLiteral("10.1.1.2")};
    options.forwardOnly = options.noRecursion = true;
    options.xfrnets = {QStringLiteral("10.0.0.0&255.0.0.0")};
    options.bogusns = {QStringLiteral("192.0.2.1")};
    boot.parameterLines = bootOptionLines(options);
    return boot;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int primaries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int secondaries = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 9;
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    const BootConfig boot = generatedServer(data, primaries, secondaries);

    NamedConfRequest request;
    request.bootFile = dir.filePath(QStringLiteral("named.boot"));
    request.dataDirectory = data;
    request.settings.extraOptions = QStringLiteral("dnssec-validation no; notify no;");
    QList<double> times;
    NamedConfExport exported;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        exported = exportNamedConf(boot, request);
        times << timer.nsecsElapsed() / 1e6;
    }
    const double exportMs = median(times);
    if (!exported.complete() || exported.primaryZones.size() != primaries) {
        std::fprintf(stderr, "the export is not whole: %s\n", qPrintable(exported.leftOut.value(0)));
        return 1;
    }

    const QString conf = dir.filePath(QStringLiteral("named.conf"));
    QFile out(conf);
    out.open(QIODevice::WriteOnly);
    out.write(exported.text.toUtf8());
    out.close();
    QProcess checkconf;
    QElapsedTimer timer;
    timer.start();
    checkconf.start(QStringLiteral("named-checkconf"), {conf});
    const bool checked = checkconf.waitForFinished(600000) && checkconf.exitCode() == 0;
    const double checkMs = timer.nsecsElapsed() / 1e6;

    std::printf("export of %d primary and %d secondary zones: %.1f ms (median of %d; target under 200 ms: %s)\n",
                primaries, secondaries, exportMs, runs, exportMs < 200 ? "met" : "MISSED");
    std::printf("named-checkconf reading it: %.1f ms (%s), %.2f times the export\n", checkMs,
                checked ? "accepted" : "REFUSED", checkMs / exportMs);
    return exportMs < 200 && checked ? 0 : 1;
}
