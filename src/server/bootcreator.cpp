#include "server/bootcreator.h"

#include "bootfile/bootconfig.h"
#include "bootfile/bootlines.h"
#include "bootfile/bootwriter.h"
#include "bootfile/drivemapping.h"
#include "platform/drivetable.h"
#include "platform/filereplacement.h"
#include "platform/latin1lines.h"
#include "platform/osdetect.h"
#include "platform/prompter.h"
#include "server/serverchange.h"
#include "session/appstate.h"

#include <QDir>
#include <optional>

namespace {

const QString kFive = QStringLiteral("     ");

// The server's own drive letter for a data directory that may lie on a networked computer, with the letter this
// machine reaches it by; none when it is not on a networked computer.
struct ServerDrive
{
    QChar local;
    QChar server;
};

std::optional<ServerDrive> askServerDrive(BootContext& context, const FolderDrive& drive, const DriveMapping& mapping)
{
    if (!asksIfNetworked(drive))
        return std::nullopt;
    const Prompter::Button networked = context.prompter.message(
        QStringLiteral("Information"),
        QStringLiteral("Is ") + drive.shownDrive() + QStringLiteral(" located on a networked computer? "),
        Prompter::Button::Yes | Prompter::Button::No, Prompter::Icon::Information);
    if (networked != Prompter::Button::Yes)
        return std::nullopt;
    const std::optional<QChar> server = askDriveLetter(context.prompter, mapping, drive.shownDrive());
    if (!server)
        return std::nullopt;
    const std::optional<QChar> local = localLetterOf(drive, context.store, context.prompter);
    if (!local)
        return std::nullopt;
    return ServerDrive{*local, *server};
}

} // namespace

QStringList newBootFileLines(const NewBootFile& input, const QString& directory)
{
    QStringList lines;
    lines << QStringLiteral(";[*-Quorvane-*]") << QStringLiteral(";QUORVANE BOOTFILE")
          << QStringLiteral(";QUORVANE File Name :") + BootConfig::fileName() + QLatin1Char(' ')
          << QStringLiteral(";This file holds info on primary servers, secondary, etc.") << generatedByLine()
          << QStringLiteral(";") << QStringLiteral(";[DIRECTORY]")
          << QStringLiteral("directory") + kFive + directory + QLatin1Char(' ')
          << QStringLiteral(";OS: ") +
                 (input.operatingSystem.isEmpty() ? noOperatingSystemChosen() : input.operatingSystem)
          << QStringLiteral(";") << QStringLiteral(";[PRIMARY SERVERS]") << QStringLiteral(";")
          << QStringLiteral(";[SECONDARY SERVERS]") << QStringLiteral(";") << QStringLiteral(";[COMMON ENTRIES]")
          << QStringLiteral("cache       .     cache.dns ")
          << QStringLiteral("primary     0.0.127.IN-ADDR.ARPA     ") + input.computerName +
                 QStringLiteral(".local.DNS ");
    for (qsizetype i = 0; i < input.reverseZones.size(); ++i)
        lines << QStringLiteral("primary     ") + input.reverseZones.at(i) + kFive + input.computerName +
                     QString::number(i) + QStringLiteral(".reverse.DNS ");
    lines << QStringLiteral(";") << QStringLiteral(";[PARAMETERS]") << QStringLiteral(";");
    return lines;
}

BootReadResult createBootFile(BootContext& context, const NewBootFile& input, const DriveMapping& mapping)
{
    // A folder under a drive of the table is named by its letter, as the server's own machine sees it; any
    // other folder keeps its plain path.
    const FolderDrive drive =
        folderDrive(singleBackslashes(input.dataDirectory), DriveTable::load(context.store), mapping.probe);
    QString form = drive.form;
    const std::optional<ServerDrive> serverDrive = askServerDrive(context, drive, mapping);
    if (serverDrive) {
        // A mount folder has just been given its letter: the directory is named through it.
        if (!DriveTable::hasDriveLetter(form))
            form = DriveTable::load(context.store).toDrivePath(drive.localFolder, serverDrive->local).value_or(form);
        form[0] = serverDrive->server;
    }
    const QStringList lines = newBootFileLines(input, doubledBackslashes(form));
    recordMapping(context.store, context.prompter, input.computerName,
                  serverDrive ? QString(serverDrive->local) : QString());

    const QString path = QDir(input.windowsDirectory).filePath(BootConfig::fileName());
    const ServerChange change(input.windowsDirectory, input.computerName);
    if (!change.isHeld()) {
        reportGeneralError(context.prompter, change.errorText());
        return {BootReadStatus::Busy, change.errorText()};
    }
    if (const FileWriteResult written = replaceFile(path, crlfLines(lines)); !written.ok) {
        const QString error = QStringLiteral("The boot file ") + written.errorText;
        reportGeneralError(context.prompter, error);
        return {BootReadStatus::NotWritten, error};
    }
    context.state.pendingBootFilePath = path;
    return readBootFile(context, false);
}
