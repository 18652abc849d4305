// Start-up of the desktop program as "quorvane --sample" starts it once the sample server exists: the main
// window built and shown, the settings read, the sample server loaded with both zone trees. The first run makes
// the sample server and is reported on its own.
// Usage: startupbench [RUNS]   (target: under 500 ms)

#include "gui/common/guiprompter.h"
#include "gui/mainwindow/mainwindow.h"
#include "platform/settingsstore.h"
#include "platform/systemplatform.h"
#include "session/appstate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kTargetMs = 500.0;

// One start: milliseconds from building the main window to the loaded sample server on the screen.
double startOnce(const QString& settingsFile, bool* loaded)
{
    QElapsedTimer clock;
    clock.start();
    AppState state;
    SettingsStore store(settingsFile);
    SystemPlatform platform;
    GuiPrompter prompter;
    MainWindow window(state, store, prompter, platform);
    prompter.setParent(&window);
    window.openSampleServerAtStart();
    QEventLoop shown;
    QObject::connect(&window, &MainWindow::firstShown, &shown, &QEventLoop::quit, Qt::QueuedConnection);
    window.show();
    shown.exec();
    QApplication::processEvents();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    *loaded = state.serverLoaded;
    return ms;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer process;
    process.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The sample server goes into a data folder of the benchmark's own.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    const double applicationMs = double(process.nsecsElapsed()) / 1e6;
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    const QString settings = home.filePath(QStringLiteral("quorvane.ini"));
    SettingsStore(settings).setText(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address"),
                                    QStringLiteral("hostmaster@example.com"));
    bool loaded = false;
    const double firstMs = startOnce(settings, &loaded);
    if (!loaded) {
        std::fprintf(stderr, "the sample server could not be made\n");
        return 1;
    }
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        times << startOnce(settings, &loaded);
        if (!loaded) {
            std::fprintf(stderr, "the sample server could not be loaded\n");
            return 1;
        }
    }
    const double startMs = median(times);
    std::printf("application object        %8.1f ms\n", applicationMs);
    std::printf("first start (makes sample) %8.1f ms\n", firstMs);
    std::printf("start with sample loaded   %8.1f ms (median of %d; target under %.0f ms): %s\n", startMs, runs,
                kTargetMs, startMs + applicationMs < kTargetMs ? "met" : "NOT met");
    return 0;
}
