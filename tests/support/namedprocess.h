#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A real name server started by a test: named in the foreground on a configuration the test wrote into its own
// folder, listening on 127.0.0.1 only, stopped when the object goes.
class NamedProcess
{
public:
    NamedProcess() = default;
    ~NamedProcess();
    NamedProcess(const NamedProcess&) = delete;
    NamedProcess& operator=(const NamedProcess&) = delete;

    // Whether named and dig are installed.
    static bool available();

    // The options block every test's name server carries: its own files in `folder`, queries only on 127.0.0.1 at
    // `port`, and neither recursion, validation nor notifies, so that it never reaches past this machine. The
    // extra statements go inside the block.
    static QString options(const QString& folder, quint16 port, const QString& extra = QString());

    // Starts named on the configuration file (in the working directory, with the extra arguments) and waits until
    // it has loaded its zones; false when it did not get there (the log says why).
    bool start(const QString& configFile, const QStringList& extraArguments = {},
               const QString& workingDirectory = QString());
    void stop();

    QString log() const { return QString::fromLatin1(m_log); }

private:
    QProcess m_process;
    QByteArray m_log;
};

// dig's short answers to a query of a name server on 127.0.0.1, one record a line.
QStringList digShort(quint16 port, const QString& name, const QString& type);

// dig's whole output for the arguments after the server and port (a zone transfer, for instance).
QString digOutput(quint16 port, const QStringList& arguments);

// Whether a TCP listener could be opened on the loopback port: false while a name server holds it.
bool loopbackPortFree(quint16 port);
