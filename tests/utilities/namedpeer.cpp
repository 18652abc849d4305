#include "namedpeer.h"

#include "support/testfiles.h"

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

bool NamedPeer::available()
{
    return NamedProcess::available();
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
    const QString conf = NamedProcess::options(dir, m_port, QStringLiteral("    allow-transfer { 127.0.0.0/8; };\n")) +
                         QStringLiteral("controls { };\n"
                                        "zone \"example.test\" { type primary; file \"example.test.zone\"; };\n"
                                        "zone \"refused.test\" { type primary; file \"refused.test.zone\"; "
                                        "allow-transfer { none; }; };\n") +
                         m_extraZones;
    if (!writeBytes(dir + QStringLiteral("/named.conf"), conf.toLatin1()) ||
        !writeBytes(dir + QStringLiteral("/example.test.zone"), kExampleZone) ||
        !writeBytes(dir + QStringLiteral("/refused.test.zone"), kRefusedZone)) {
        m_error = QStringLiteral("cannot write the configuration");
        return false;
    }
    if (m_named.start(dir + QStringLiteral("/named.conf")))
        return true;
    m_error = QStringLiteral("named did not start: ") + m_named.log().right(2000);
    return false;
}
