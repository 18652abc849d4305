#include "cli/clicontext.h"
#include "platform/installlayout.h"

namespace {

// Where this installation finds what it relies on; an empty value is something missing from it.
int runPaths(CliContext& cli, const QStringList&)
{
    const QString programDir = cli.platform.programPath();
    cli.out << "programs\t" << programDir << '\n';
    cli.out << "help\t" << installlayout::dataFile(programDir, QStringLiteral("help")) << '\n';
    for (const QString& helper : {QStringLiteral("quorvane-ndc"), QStringLiteral("quorvane-nsbatch")})
        cli.out << helper << '\t' << installlayout::helperProgram(programDir, helper) << '\n';
    cli.out << "settings\t" << cli.store.fileName() << '\n';
    cli.out << "data\t" << cli.platform.appDataPath() << '\n';
    return CliSuccess;
}

} // namespace

void registerPathCommands()
{
    cliCommands().append({QStringLiteral("paths"), QString(),
                          QStringLiteral("Prints where this installation finds its help, its helper programs, the "
                                         "settings and the per-user data folder."),
                          runPaths});
}
