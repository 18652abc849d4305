#include "zonecheck.h"

#include <QProcess>
#include <QRegularExpression>

ZoneCheck checkZoneFile(const QString& zone, const QString& path)
{
    ZoneCheck check;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("named-checkzone"), {QStringLiteral("-k"), QStringLiteral("fail"), zone, path});
    if (!process.waitForStarted() || !process.waitForFinished(60000))
        return check;
    check.ran = true;
    check.exitCode = process.exitCode();
    check.output = QString::fromLocal8Bit(process.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression expected(
        QStringLiteral("^(.*:\\d+: no TTL specified; using SOA MINTTL instead|zone .*/IN: loaded serial \\d+|OK)$"));
    for (const QString& line : std::as_const(check.output)) {
        if (!expected.match(line).hasMatch())
            check.complaints << line;
    }
    return check;
}
