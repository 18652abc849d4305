#include "namedpeer.h"

#include "support/testfiles.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>

namespace {

const QByteArray kExampleZone = "$TTL 3600\n"
                                "@ IN SOA ns1.example.test. hostmaster.example.test. 2026120701 3600 600 86400 300\n"
                                "@ IN NS ns1.example.test.\n"
                                "@ IN MX 10 mail.example.test.\n"
                                "@ IN MX 20 backup.example.test.\n"
                                "ns1 IN A 127.0.0.53\n"
                                "mail IN A 127.0.0.25\n"
                                "backup IN A 127.0.0.26\n"
                                "www IN CNAME mail.example.test.\n";

const QByteArray kRefusedZone = "$TTL 3600\n"
                                "@ IN SOA ns1.refused.test. hostmaster.refused.test. 1 3600 600 86400 300\n"
                                "@ IN NS ns1.refused.test.\n"
                                "@ IN MX 10 mail.refused.test.\n"
                                "ns1 IN A 127.0.0.53\n"
                                "mail IN A 127.0.0.25\n";

} // namespace

NamedPeer::NamedPeer() = default;

NamedPeer::~NamedPeer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool NamedPeer::available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("named"), {QStringLiteral("/usr/sbin")}).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dig")).isEmpty();
}

bool NamedPeer::addZone(const QString& zone, const QByteArray& text)
{
    const QString file = zone + QStringLiteral(".extra.zone");
    m_extraZones += QStringLiteral("zone \"%1\" { type primary; file \"%2\"; };\n").arg(zone, file);
    return writeBytes(m_dir.filePath(file), text);
}

bool NamedPeer::start()
{
    m_port = freeLoopbackPort();
    const QString dir = m_dir.path();
    const QString conf = QStringLiteral("options {\n"
                                        "    directory \"%1\";\n"
                                        "    pid-file \"%1/named.pid\";\n"
                                        "    session-keyfile \"%1/session.key\";\n"
                                        "    managed-keys-directory \"%1\";\n"
                                        "    listen-on port %2 { 127.0.0.1; };\n"
                                        "    listen-on-v6 { none; };\n"
                                        "    recursion no;\n"
                                        "    dnssec-validation no;\n"
                                        "    notify no;\n"
                                        "    allow-transfer { 127.0.0.0/8; };\n"
                                        "    reuseport no;\n"
                                        "};\n"
                                        "controls { };\n"
                                        "zone \"example.test\" { type primary; file \"example.test.zone\"; };\n"
                                        "zone \"refused.test\" { type primary; file \"refused.test.zone\"; "
                                        "allow-transfer { none; }; };\n")
                             .arg(dir)
                             .arg(m_port) +
                         m_extraZones;
    if (!writeBytes(dir + QStringLiteral("/named.conf"), conf.toLatin1()) ||
        !writeBytes(dir + QStringLiteral("/example.test.zone"), kExampleZone) ||
        !writeBytes(dir + QStringLiteral("/refused.test.zone"), kRefusedZone)) {
        m_error = QStringLiteral("cannot write the configuration");
        return false;
    }
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("/usr/sbin/named"),
                    {QStringLiteral("-g"), QStringLiteral("-c"), dir + QStringLiteral("/named.conf")});
    if (!m_process.waitForStarted(5000)) {
        m_error = m_process.errorString();
        return false;
    }
    QByteArray log;
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(200);
        log += m_process.readAll();
        // The start-up banner says "running on Linux" long before the zones are loaded; the server is ready
        // only at the line that ends in "running".
        if (log.contains(" running\n"))
            return true;
    }
    m_error = QStringLiteral("named did not start: ") + QString::fromLatin1(log.right(2000));
    return false;
}
