#include "reverse/reversefile.h"

#include "bootfile/bootwriter.h"
#include "checks/namechecks.h"
#include "checks/numberchecks.h"
#include "platform/filereading.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"
#include "server/serverfiles.h"
#include "session/appstate.h"
#include "zone/zonefileio.h"
#include "zone/zoneserial.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kSeparator = QStringLiteral(";");

void fallBack(QString& field, const QString& fallback)
{
    if (!isSoaTime(field))
        field = fallback;
}

} // namespace

void applyReverseSoaDefaults(SetupDefaults& setup)
{
    fallBack(setup.defaultrefresh, QStringLiteral("1080"));
    fallBack(setup.defaultretry, QStringLiteral("3600"));
    fallBack(setup.defaultexpire, QStringLiteral("604800"));
    fallBack(setup.defaultminimum, QStringLiteral("86400"));
}

QStringList reverseSoaLines(const AppState& state)
{
    // A name without its final dot would be taken as relative to the reverse zone.
    QString primary = state.zoneLists.firstzone.trimmed();
    if (!primary.endsWith(QLatin1Char('.')))
        primary += QLatin1Char('.');
    const SetupDefaults& setup = state.setup;
    return {QStringLiteral("@     IN       SOA       ") + primary + QLatin1Char(' ') + mailboxOf(state.emailaddr) +
                QStringLiteral(" ("),
            setup.runningSerial.trimmed(),
            setup.defaultrefresh.trimmed(),
            setup.defaultretry.trimmed(),
            setup.defaultexpire.trimmed(),
            setup.defaultminimum.trimmed() + QStringLiteral(" )")};
}

std::optional<quint64> reverseFileSerial(const QStringList& lines)
{
    // The words after the SOA keyword: the primary server, the mailbox, then the serial, with parentheses and
    // comments set aside.
    bool inSoa = false;
    int wordsSeen = 0;
    for (const QString& line : lines) {
        QString text = line.section(QLatin1Char(';'), 0, 0);
        text.replace(QLatin1Char('('), QLatin1Char(' ')).replace(QLatin1Char(')'), QLatin1Char(' '));
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        QStringList words = text.split(blanks, Qt::SkipEmptyParts);
        if (!inSoa) {
            const qsizetype soaAt = words.indexOf(QStringLiteral("SOA"));
            if (soaAt < 0)
                continue;
            inSoa = true;
            words = words.mid(soaAt + 1);
        }
        for (const QString& word : std::as_const(words)) {
            if (wordsSeen++ < 2)
                continue;
            return serialNumber(word);
        }
    }
    return std::nullopt;
}

QString reverseSerialOver(const QString& runningSerial, std::optional<quint64> previous)
{
    const std::optional<quint64> running = serialNumber(runningSerial);
    if (previous && (!running || *running < *previous))
        return QString::number(*previous + 1);
    return runningSerial.trimmed();
}

QStringList reverseFileLines(const QString& serverName, const ReverseFileContent& content)
{
    QStringList lines;
    lines.reserve(20 + content.nameServers.size() + content.addresses.size());
    lines << QStringLiteral(";[*-Quorvane-*]") << QStringLiteral(";QUORVANE REVERSE MAPPING FILE")
          << QStringLiteral(";Reverse Mapping for :") + serverName << QStringLiteral(";Handles: ") + content.handles
          << generatedByLine() << kSeparator << QStringLiteral(";[SOA]") << content.soa << kSeparator
          << QStringLiteral(";[Name Servers]") << content.nameServers << kSeparator
          << QStringLiteral(";[Addresses to Names]") << content.addresses << kSeparator;
    return lines;
}

FileWriteResult writeReverseFile(const AppState& state, ReverseFileContent content)
{
    const QString path = QDir(state.zoneLists.datapath).filePath(content.fileName);
    // Earlier versions wrote a reverse file under this name first; a run interrupted then left it behind.
    if (const QFileInfo leftover(path + QStringLiteral(".new")); leftover.isFile() && !leftover.isSymLink())
        QFile::remove(leftover.filePath());
    // A link in the file's place is followed only as far as the data directory reaches.
    const FolderConfinement inside = serverDataFolders(state);
    const std::optional<QString> target = inside.resolve(path);
    if (!target)
        return {
            false,
            QStringLiteral("%1 could not be written: %2").arg(path, outsideFolderText(path, state.zoneLists.datapath))};
    const QByteArray old =
        readWholeFile(*target, ReadLimit::kZoneFile, FinalLinks::Refuse).bytes.value_or(QByteArray());
    const std::optional<quint64> previous = old.isEmpty() ? std::nullopt : reverseFileSerial(splitTextLines(old));
    if (content.soa.size() > 1 && previous)
        content.soa[1] = reverseSerialOver(content.soa.at(1), previous);
    QByteArray bytes = crlfLines(reverseFileLines(state.servername, content));
    // A file that would come out as it is needs no new copy; most networks are unchanged from run to run.
    if (bytes == old)
        return {};
    // A changed zone under the serial it had would never reach the secondary servers.
    if (content.soa.size() > 1 && previous && serialNumber(content.soa.at(1)) == previous) {
        content.soa[1] = QString::number(*previous + 1);
        bytes = crlfLines(reverseFileLines(state.servername, content));
    }
    // Reverse files are derived from the zones and made anew by every run, so they are not each forced onto the
    // disk: on a server of thousands of networks that wait alone would make a run take minutes.
    return replaceServerFile(inside, path, bytes, FileReplacement::Durability::Unsynced);
}
