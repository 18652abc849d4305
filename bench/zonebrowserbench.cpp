// Loading a server of many primary zones as the windows do: the boot file, then both zone trees of the
// "Domain Edit" page; and building the primary tree alone.
// Usage: zonebrowserbench [ZONES] [RUNS]   (targets for 10,000 zones: loading under 1 s, the tree under 300 ms)

#include "gui/zonebrowser/domaineditpage.h"
#include "platform/settingsstore.h"
#include "platform/systemplatform.h"
#include "server/serverloading.h"
#include "session/appstate.h"
#include "silentprompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int zones = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir root;
    const QString dataDir = root.filePath(QStringLiteral("data"));
    QDir().mkpath(dataDir);
    QByteArray boot = "directory " + dataDir.toLatin1() + "\r\ncache . cache.dns\r\n";
    for (int i = 0; i < zones; ++i) {
        const QByteArray file = "zone" + QByteArray::number(i) + ".dns";
        QFile(QDir(dataDir).filePath(QString::fromLatin1(file))).open(QIODevice::WriteOnly);
        boot += "primary zone" + QByteArray::number(i) + ".example.com " + file + "\r\n";
    }
    for (int i = 0; i < zones / 10; ++i)
        boot +=
            "secondary sec" + QByteArray::number(i) + ".example.net 10.0.0.1 sec" + QByteArray::number(i) + ".bak\r\n";
    QFile(QDir(dataDir).filePath(QStringLiteral("cache.dns"))).open(QIODevice::WriteOnly);
    const QString bootFile = root.filePath(QStringLiteral("named.boot"));

    SettingsStore store(root.filePath(QStringLiteral("settings.ini")));
    SilentPrompter prompter;
    SystemPlatform platform;
    NullProgress progress;

    QList<double> loads;
    QList<double> trees;
    for (int run = 0; run < runs; ++run) {
        QFile file(bootFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(boot) != boot.size())
            return 1;
        file.close();
        AppState state;
        state.autoBackup = false;
        state.defaultos = QStringLiteral("Windows NT 4.X");
        state.pendingBootFilePath = bootFile;
        state.pendingServerId = QStringLiteral("ns1@ns1.example.com.");
        DomainEditPage page(state, prompter);
        page.resize(900, 700);
        page.show();
        QCoreApplication::processEvents();

        ServerHooks hooks;
        hooks.buildPrimaryTree = [&page] { page.buildPrimaryTree(); };
        hooks.buildSecondaryTree = [&page] { page.buildSecondaryTree(); };
        ServerContext context{state, store, prompter, platform, progress, hooks};
        QElapsedTimer timer;
        timer.start();
        const LoadOutcome outcome = loadServer(context);
        QCoreApplication::processEvents();
        loads << double(timer.nsecsElapsed()) / 1e6;
        if (!outcome.boot.ok() || page.primaryTree->topLevelItemCount() != zones) {
            std::fprintf(stderr, "loading failed\n");
            return 1;
        }

        timer.restart();
        page.buildPrimaryTree();
        QCoreApplication::processEvents();
        trees << double(timer.nsecsElapsed()) / 1e6;
    }
    const double load = median(loads);
    const double tree = median(trees);
    std::printf("%d primary zones, %d secondary zones, median of %d runs\n", zones, zones / 10, runs);
    std::printf("  load server (boot file and both trees): %8.1f ms (target < 1000)\n", load);
    std::printf("  build the primary tree alone:           %8.1f ms (target < 300)\n", tree);
    return load < 1000 && tree < 300 ? 0 : 1;
}
