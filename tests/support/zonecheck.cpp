#include "support/zonecheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

// The file of the directory named like the given one without regard to case; empty when there is none.
QString findFile(const QDir& directory, const QString& name)
{
    const QStringList entries = directory.entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return directory.filePath(entry);
    }
    return QString();
}

} // namespace

ZoneCheck checkZoneFile(const QString& zone, const QString& path)
{
    ZoneCheck check;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("named-checkzone"), {QStringLiteral("-k"), QStringLiteral("fail"),
                                                      QStringLiteral("-i"), QStringLiteral("local"), zone, path});
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

QStringList servedZoneProblems(const QString& bootFile, const QString& dataDirectory)
{
    QFile boot(bootFile);
    if (!boot.open(QIODevice::ReadOnly))
        return {bootFile + QStringLiteral(": the boot file cannot be read")};
    const QDir directory(dataDirectory);
    QStringList problems;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList lines = QString::fromLatin1(boot.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList words = line.trimmed().split(blanks, Qt::SkipEmptyParts);
        if (words.size() < 3 || words.at(0) != QLatin1String("primary"))
            continue;
        const QString& zone = words.at(1);
        // A file not written yet (the loopback zone of a new server before its first reverse run) is none
        // that a test left behind.
        const QString path = findFile(directory, words.at(2));
        if (path.isEmpty())
            continue;
        const ZoneCheck check = checkZoneFile(zone, path);
        if (!check.ran)
            problems << QStringLiteral("named-checkzone (bind9-utils) could not be run");
        else if (!check.accepted())
            problems << zone + QStringLiteral(" (") + path + QStringLiteral("): ") +
                            check.output.join(QStringLiteral(" | "));
    }
    return problems;
}
