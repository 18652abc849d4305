#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// Runs the lookup batch file the program writes: its "type FILE | nslookup" line feeds the commands of FILE to
// a small lookup interpreter that knows "server", "ls [-t TYPE] DOMAIN [> FILE]" and "exit", and lists zones
// with dig's zone transfer, since the name server tools here have no zone listing of their own.
class LookupBatch
{
public:
    // port 0 asks the name server on its usual port.
    LookupBatch(int port, QTextStream& diagnostics);

    // Relative file names in the batch and its commands are taken from the batch file's folder.
    // Returns 0 when every line could be run.
    int runBatchFile(const QString& batchPath);
    int runCommands(const QStringList& commands, const QString& folder);

    // Keeps the records of the listing whose type matches ("ANY" keeps them all); drops the closing repetition
    // of the start of authority that ends every transfer.
    static QStringList filterRecords(const QStringList& transferLines, const QString& type);

private:
    bool list(const QStringList& words, const QString& folder);
    std::optional<QStringList> transfer(const QString& domain);
    bool writeListing(const QString& path, const QStringList& lines);

    int m_port = 0;
    QTextStream& m_diagnostics;
    QString m_server;
};
