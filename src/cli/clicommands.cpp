#include "cli/clicontext.h"

QList<CliCommand>& cliCommands()
{
    static QList<CliCommand> commands;
    return commands;
}
