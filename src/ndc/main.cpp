#include "bind9/bind9control.h"
#include "bootfile/bootlines.h"
#include "ndc/ndcprompter.h"
#include "platform/osdetect.h"
#include "platform/settingsstore.h"
#include "platform/systemplatform.h"
#include "server/bootload.h"
#include "session/appstate.h"
#include "session/bind9settings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

enum Status
{
    Success = 0,
    Failure = 1,
    Usage = 2
};

const char* const kDescription =
    "Quorvane's control program for BIND 9. Quorvane runs it for the loaded server with the command lines of the\n"
    "name server buttons; it carries them out with named and rndc.\n"
    "\n"
    "Commands (any case; a computer name in network form, such as \\\\NS1, may follow and is not needed):\n"
    "  START    export the server's configuration, check it, start named and wait until it answers\n"
    "  STOP     rndc stop, and wait until named has ended\n"
    "  RELOAD   export and check the configuration, then rndc reconfig and rndc reload\n"
    "  RESTART  export and check, then stop and start named\n"
    "  DUMPDB   rndc dumpdb -all, and wait until the dump file is complete\n"
    "  STATS    rndc stats, and wait until the statistics file is complete\n"
    "A configuration that fails its check (named-checkconf -z, named-checkzone -k fail -i local) is not applied:\n"
    "the running name server stays as it was.\n"
    "\n"
    "Environment:\n"
    "  QUORVANE_BOOT_FILE  the loaded server's boot file (named.boot); set by Quorvane\n"
    "  QUORVANE_SERVER     the server's identifier (NAME@FULLNAME); set by Quorvane\n"
    "\n"
    "Settings (Quorvane's settings, section \"BIND 9\", also on the Setup page):\n"
    "  Mode           own: a name server of the server's own, whose files are kept in the folder \"bind9\"\n"
    "                 beside the boot file (configuration, control key, process file, log);\n"
    "                 system: a distribution's name server; the zones are written to Zones File, which its\n"
    "                 configuration includes, and rndc asks it to reload; START and STOP are refused\n"
    "  Address        the address named listens on (\"all\": every address)\n"
    "  Port           the port named listens on (53)\n"
    "  Control Port   the port rndc reaches named on, on 127.0.0.1 (953)\n"
    "  Extra Options  text added as it stands inside options { }\n"
    "  Named Program, Rndc Program  named and rndc (found on the search path and in /usr/sbin)\n"
    "  Zones File     system mode: the file of zone statements (/etc/bind/named.conf.quorvane)\n"
    "  Rndc Key       system mode: the system's control key (/etc/bind/rndc.key)\n"
    "  System Config  system mode: the system's configuration, read for where it writes dumps and statistics\n"
    "  Catalog Zone   a catalog zone of the primary zones, served beside them (empty: none)\n"
    "Run as root, named gives up root for the user \"bind\" when the system has one.\n"
    "\n"
    "Exit status: 0 done, 1 failed (one line on standard error says why), 2 usage error.";

int fail(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return Failure;
}

std::optional<NdcCommand> commandOf(const QString& word)
{
    const QString lower = word.toLower();
    return ndcCommandFromName(lower);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Mervale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("START, STOP, RELOAD, RESTART, DUMPDB or STATS."));
    parser.addPositionalArgument(QStringLiteral("computer"), QStringLiteral("The server's computer name (\\\\NAME)."),
                                 QStringLiteral("[computer]"));
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return Usage;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(Success);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    const QStringList positional = parser.positionalArguments();
    const std::optional<NdcCommand> command = commandOf(positional.value(0));
    if (positional.isEmpty() || positional.size() > 2 || !command) {
        std::fprintf(stderr, "usage: quorvane-ndc START|STOP|RELOAD|RESTART|DUMPDB|STATS [\\\\COMPUTER]\n");
        return Usage;
    }

    const QString bootFile = qEnvironmentVariable(qPrintable(bootFileVariable()));
    if (bootFile.isEmpty())
        return fail(QStringLiteral("No server is named: %1 must name the loaded server's boot file (Quorvane sets it "
                                   "when it runs this program).")
                        .arg(bootFileVariable()));

    SystemPlatform platform;
    SettingsStore store;
    AppState state;
    state.pendingBootFilePath = bootFile;
    state.pendingServerId = qEnvironmentVariable(qPrintable(serverVariable()));
    state.bind9 = Bind9Settings::load(store, displayNameOf(state.pendingServerId));
    state.defaultos = guessDefaultOs(QString(), platform.platformName(), platform.versionText());
    NdcPrompter prompter;
    BootContext context{state, store, prompter};
    const BootReadResult read = inspectBootFile(context);
    if (!read.ok())
        return fail(prompter.firstMessage().isEmpty() ? QStringLiteral("The boot file %1 cannot be read.").arg(bootFile)
                                                      : prompter.firstMessage());

    Bind9Control control(state, platform);
    const ControlResult result = control.run(*command);
    return result.ok ? Success : fail(result.message);
}
