#include "platform/guiprompter.h"
#include "platform/systemplatform.h"
#include "shell/appstate.h"
#include "shell/mainwindow.h"
#include "shell/settingsstore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

namespace {

void describe(QCoreApplication& app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane 2.0: name server administration."));
    parser.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Prints the version and exits."));
    parser.addOption(version);
    parser.process(app); // answers --help itself, and refuses unknown options
    if (parser.isSet(version)) {
        std::fputs("Quorvane 2.0\n", stdout);
        std::exit(0);
    }
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

    QApplication app(argc, argv);
    describe(app);
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvane"));
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
    window.show();
    return app.exec();
}
