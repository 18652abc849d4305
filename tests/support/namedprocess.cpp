#include "support/namedprocess.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTcpServer>

namespace {

QString namedProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("named"), {QStringLiteral("/usr/sbin")});
}

} // namespace

NamedProcess::~NamedProcess()
{
    stop();
}

bool NamedProcess::available()
{
    return !namedProgram().isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("dig")).isEmpty();
}

QString NamedProcess::options(const QString& folder, quint16 port, const QString& extra)
{
    return QStringLiteral("options {\n"
                          "    directory \"%1\";\n"
                          "    pid-file \"%1/named.pid\";\n"
                          "    session-keyfile \"%1/session.key\";\n"
                          "    managed-keys-directory \"%1\";\n"
                          "    listen-on port %2 { 127.0.0.1; };\n"
                          "    listen-on-v6 { none; };\n"
                          "    recursion no;\n"
                          "    dnssec-validation no;\n"
                          "    notify no;\n"
                          "    reuseport no;\n"
                          "%3"
                          "};\n")
        .arg(folder)
        .arg(port)
        .arg(extra);
}

bool NamedProcess::start(const QString& configFile, const QStringList& extraArguments, const QString& workingDirectory)
{
    m_log.clear();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDirectory.isEmpty())
        m_process.setWorkingDirectory(workingDirectory);
    m_process.start(namedProgram(),
                    QStringList{QStringLiteral("-g"), QStringLiteral("-c"), configFile} + extraArguments);
    if (!m_process.waitForStarted(5000)) {
        m_log = m_process.errorString().toLatin1();
        return false;
    }
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(200);
        m_log += m_process.readAll();
        // The start-up banner says "running on Linux" long before the zones are loaded; the server is ready only
        // at the line that ends in "running".
        if (m_log.contains(" running\n"))
            return true;
    }
    m_log += m_process.readAll();
    return false;
}

void NamedProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(2000);
    m_log += m_process.readAll();
}

QStringList digShort(quint16 port, const QString& name, const QString& type)
{
    return digOutput(port, {QStringLiteral("+short"), QStringLiteral("+norecurse"), name, type})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString digOutput(quint16 port, const QStringList& arguments)
{
    QProcess dig;
    dig.start(QStringLiteral("dig"),
              QStringList{QStringLiteral("@127.0.0.1"), QStringLiteral("-p"), QString::number(port)} + arguments);
    if (!dig.waitForFinished(20000))
        return QStringLiteral("<dig did not finish>");
    return QString::fromLatin1(dig.readAllStandardOutput());
}

bool loopbackPortFree(quint16 port)
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, port);
}
