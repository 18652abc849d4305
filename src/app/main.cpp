#include "app/displaycheck.h"
#include "app/screenshottour.h"
#include "gui/common/guiprompter.h"
#include "gui/mainwindow/mainwindow.h"
#include "platform/settingsstore.h"
#include "platform/systemplatform.h"
#include "session/appstate.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

namespace {

struct Options
{
    bool sample = false;
    QString screenshots; // the folder of the hidden --screenshots
};

// Sets the program's names and reads its options.
Options describe(QCoreApplication& app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane 2.0: name server administration."));
    parser.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Prints the version and exits."));
    parser.addOption(version);
    const QCommandLineOption sample(QStringLiteral("sample"),
                                    QStringLiteral("Opens the sample server, making it in your data folder first."));
    parser.addOption(sample);
    QCommandLineOption screenshots(QStringLiteral("screenshots"),
                                   QStringLiteral("Opens the sample server, draws every page and the main dialogs "
                                                  "into PNG files in the folder, and exits."),
                                   QStringLiteral("folder"));
    screenshots.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(screenshots);
    parser.process(app); // answers --help itself, and refuses unknown options
    if (parser.isSet(version)) {
        std::fputs("Quorvane 2.0\n", stdout);
        std::exit(0);
    }
    return Options{parser.isSet(sample), parser.value(screenshots)};
}

// --help and --version print and leave without a window, so they work without a display.
bool onlyPrints(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--version" || arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "-?")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (onlyPrints(argc, argv)) {
        QCoreApplication core(argc, argv);
        describe(core);
    }

    if (!displayAvailable(argc, argv)) {
        std::fputs("quorvane: no display to open its windows on (set DISPLAY); quorvane-cli works without one.\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    // No display name is set: the platform would add it to every caption, and each caption names its window.
    const Options options = describe(app);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.mervale.Quorvane"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quorvane-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);

    AppState state;
    SettingsStore store;
    SystemPlatform platform;
    GuiPrompter prompter;
    MainWindow window(state, store, prompter, platform);
    prompter.setParent(&window);
    if (!options.screenshots.isEmpty()) {
        auto* tour = new ScreenshotTour(window, options.screenshots);
        QObject::connect(&window, &MainWindow::firstShown, tour, &ScreenshotTour::run, Qt::QueuedConnection);
    }
    if (options.sample || !options.screenshots.isEmpty())
        window.openSampleServerAtStart();
    window.show();
    return app.exec();
}
