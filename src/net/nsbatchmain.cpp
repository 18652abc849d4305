#include "net/lookupbatch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

// quorvane-nsbatch [--port N] BATCHFILE: the interpreter that stands for the command shell when the lookup tab
// starts its batch file.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-nsbatch"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs the name server lookup batch of Quorvane."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The name server's port."),
                                  QStringLiteral("N"));
    parser.addOption(port);
    parser.addPositionalArgument(QStringLiteral("batchfile"), QStringLiteral("The batch file to run."));
    parser.process(app);
    const QStringList positional = parser.positionalArguments();
    bool portOk = true;
    const int portNumber = parser.isSet(port) ? parser.value(port).toInt(&portOk) : 0;
    if (positional.size() != 1 || !portOk || portNumber < 0 || portNumber > 65535) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    QTextStream diagnostics(stderr);
    LookupBatch batch(portNumber, diagnostics);
    return batch.runBatchFile(positional.first());
}
